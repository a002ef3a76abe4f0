// Sprites: construction, change detection, drawing by pixels read back, dumps.
#define GL_GLEXT_PROTOTYPES  // occlusion queries
#include "scene/sprite.h"

#include "draw/draw.h"
#include "images/image_bank.h"
#include "support/catalogue_window.h"
#include "support/gl_window.h"
#include "support/pictures.h"
#include "video/video.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

using grains::copy_name;

namespace {

// How many fragments draw rasterizes that pass the depth test.
GLuint fragments_drawn(const std::function<void()>& draw) {
  GLuint query = 0, fragments = 0;
  glGenQueries(1, &query);
  glBeginQuery(GL_SAMPLES_PASSED, query);
  draw();
  glEndQuery(GL_SAMPLES_PASSED);
  glGetQueryObjectuiv(query, GL_QUERY_RESULT, &fragments);
  glDeleteQueries(1, &query);
  return fragments;
}

class Sprite : public CatalogueWindow {
 protected:
  static void SetUpTestSuite() {
    CatalogueWindow::SetUpTestSuite();
    // WIDE: 64x32 white; TALL: 16x64 white; SHAPE: green square in black;
    // SHAPE_MASK: black square in white (the mask keeps what lies outside).
    image_bank->add_surface(make_surface(64, 32, [](int, int) { return 0xFFFFFFu; }), "WIDE");
    image_bank->add_surface(make_surface(16, 64, [](int, int) { return 0xFFFFFFu; }), "TALL");
    const auto inside = [](int x, int y) { return x >= 16 && x < 48 && y >= 16 && y < 48; };
    image_bank->add_surface(make_surface(64, 64, [=](int x, int y) { return inside(x, y) ? 0x00FF00u : 0u; }), "SHAPE");
    image_bank->add_surface(make_surface(64, 64, [=](int x, int y) { return inside(x, y) ? 0u : 0xFFFFFFu; }),
                            "SHAPE_MASK");
  }
};

}  // namespace

TEST_F(Sprite, StartsAsItsPictureWithNoSizeAndReadsItAtTheFirstUpdate) {
  SPRITE sprite("WIDE", 10, 20, 1, 0xFF00FF, 0, 1.0f, 0, 255);
  EXPECT_STREQ(sprite.name, "WIDE");
  EXPECT_STREQ(sprite.image, "WIDE");
  EXPECT_STREQ(sprite.mask, "");
  EXPECT_EQ(sprite.w, 0.0f);
  EXPECT_EQ(sprite.dirty, 1);
  EXPECT_EQ(sprite.changed, 0);
  EXPECT_EQ(sprite.use_transform, 1);
  EXPECT_EQ(sprite.drawn_x, 10);
  sprite.dirty = 0;
  sprite.Update();
  EXPECT_EQ(sprite.dirty, 1) << "the alpha mirror starts at 0";
  EXPECT_EQ(sprite.changed, 1);
  EXPECT_EQ(sprite.w, 64.0f);
  EXPECT_EQ(sprite.h, 32.0f);
}

TEST_F(Sprite, AnImageChangeTakesTwoUpdatesToSizeAndMark) {
  SPRITE sprite("WIDE", 0, 0, 0, 0, 0, 1.0f, 0, 255);
  sprite.Update();
  sprite.Update();
  sprite.dirty = sprite.changed = 0;
  sprite.Update();
  EXPECT_EQ(sprite.dirty, 0) << "nothing changed";

  sprite.Set_image("WIDE");
  EXPECT_EQ(sprite.dirty, 0) << "the same name changes nothing";
  sprite.Set_image("TALL");
  EXPECT_EQ(sprite.dirty, 1);
  EXPECT_EQ(sprite.changed, 1);
  sprite.dirty = sprite.changed = 0;
  sprite.Update();
  EXPECT_EQ(sprite.w, 16.0f) << "the first Update reads the new size";
  EXPECT_EQ(sprite.drawn_w, 64) << "but marks it only at the next";
  sprite.dirty = 0;
  sprite.Update();
  EXPECT_EQ(sprite.drawn_w, 16);
  EXPECT_EQ(sprite.drawn_h, 64);
  EXPECT_EQ(sprite.dirty, 1);
}

TEST_F(Sprite, DrawsCentredOnItsWholePixelCornerScaledByZoom) {
  SPRITE sprite("WIDE", 0, 0, 0, 0, 0, 2.0f, 0, 255);
  sprite.Set_position(10.7f, 20.2f, 0);
  sprite.Update();
  sprite.Draw(0);
  // Centre (10 + 32, 20 + 16 + 15), half extents 64 by 32.
  const Box box = lit_box();
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 105);
  EXPECT_EQ(box.top, 19);
  EXPECT_EQ(box.bottom, 82);
  EXPECT_EQ(sprite.dirty, 0);
  EXPECT_EQ(sprite.drawn_x, 10);
  EXPECT_EQ(sprite.drawn_y, 20);
}

TEST_F(Sprite, MaskCutsTheBackgroundWherePictureShows) {
  draw_filled_rect(0, 0, 200, 200, 0xFF0000FFu);  // blue behind, rows 13 and on
  SPRITE sprite("SHAPE", 50, 50, 0, 0, 0, 1.0f, 0, 255);
  copy_name(sprite.mask, "SHAPE_MASK");
  sprite.Update();
  sprite.Draw(0);
  // The picture spans x 50..113, y 65..128; its square x 66..97, y 81..112.
  EXPECT_EQ(window_pixel(80, 95), 0x00FF00u) << "the mask cleared the blue, the picture was added";
  EXPECT_EQ(window_pixel(55, 70), 0x0000FFu) << "outside the square the background stays";
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(Sprite, MaskZeroDrawsPlainAndAMissingPictureDrawsNothing) {
  SPRITE plain("SHAPE", 0, 100, 0, 0, 0, 1.0f, 0, 255);
  copy_name(plain.mask, "0");
  plain.Update();
  plain.Draw(0);
  EXPECT_EQ(window_pixel(30, 145), 0x00FF00u);
  EXPECT_EQ(window_pixel(5, 120), 0u) << "no mask pass: black stays black";

  glClear(GL_COLOR_BUFFER_BIT);
  SPRITE missing("WIDE", 300, 300, 0, 0, 0, 1.0f, 0, 255);
  missing.Update();
  missing.Set_image("NOWHERE");
  testing::internal::CaptureStdout();
  missing.Draw(0);
  missing.Draw(0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "[NOWHERE] blit image not found \n[NOWHERE] blit image not found \n");
  EXPECT_EQ(count_lit_pixels(), 0);
  EXPECT_EQ(missing.w, 64.0f) << "keeps its previous size";

  // With a mask, a missing picture goes unmentioned (its quad is drawn, see below).
  copy_name(missing.mask, "SHAPE_MASK");
  testing::internal::CaptureStdout();
  missing.Draw(0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

// Fragments are counted, as the colour of the empty texture that name -1
// binds is not the sprite's to choose.
TEST_F(Sprite, AMaskedSpriteDrawsItsPictureQuadEvenWithoutItsPicture) {
  SPRITE sprite("SHAPE", 300, 300, 0, 0, 0, 1.0f, 0, 255);
  sprite.Update();
  const GLuint one_quad = fragments_drawn([&] { sprite.Draw(0); });
  EXPECT_EQ(one_quad, 64u * 64u);
  copy_name(sprite.mask, "SHAPE_MASK");
  EXPECT_EQ(fragments_drawn([&] { sprite.Draw(0); }), 2 * one_quad) << "the mask, then the picture";
  sprite.Set_image("NOWHERE");
  EXPECT_EQ(fragments_drawn([&] { sprite.Draw(0); }), 2 * one_quad) << "the mask, then the missing picture";
  copy_name(sprite.mask, "NO_MASK");
  EXPECT_EQ(fragments_drawn([&] { sprite.Draw(0); }), one_quad) << "no mask pass, the missing picture still";
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(Sprite, WorksBeforeTheBankExists) {
  IMAGE_BANK* bank = image_bank;
  image_bank = nullptr;
  SPRITE early("FOND", 0, 0, 0, 0, 0, 1.0f, 0, 255);
  EXPECT_EQ(early.Get_surface(), nullptr);
  early.Update();
  testing::internal::CaptureStdout();
  early.Draw(0);
  copy_name(early.mask, "FOND_MASK");
  early.Draw(0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "[FOND] blit image not found \n");
  image_bank = bank;
}

TEST_F(Sprite, ContainsZoomedScalesTheSize) {
  SPRITE sprite("WIDE", 10, 10, 0, 0, 0, 2.0f, 0, 255);
  sprite.Update();
  EXPECT_TRUE(sprite.Contains_zoomed(BASE(138, 74, 0)));
  EXPECT_FALSE(sprite.Contains_zoomed(BASE(139, 74, 0)));
  EXPECT_FALSE(sprite.Contains(BASE(138, 74, 0)));
}

TEST_F(Sprite, PrintDumpsFourLines) {
  SPRITE sprite("WIDE", 7, 8, 1, 0xFF00FF, 1, 1.5f, 45, 200);
  sprite.Set_name("NAMED");
  sprite.Update();
  testing::internal::CaptureStdout();
  sprite.Print();
  std::istringstream lines(testing::internal::GetCapturedStdout());
  std::string line;
  const std::vector<std::string> expected{
      "SPRITE:", "-------",
      "NAME[           NAMED]  SPR_NAME[            WIDE]  MASK_NAME [                ] XYWH[  7-  8- 64- 32] "
      "Zoom=1.5000 Angle=45.0000",
      "Is_Key=1 Key=00ff00ff Additive=1 Substractive=0 Alpha=200", std::string(62, '-')};
  for (const std::string& want : expected) {
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line, want);
  }
  EXPECT_FALSE(std::getline(lines, line));
}
