// The textured quad and the filled rectangle, by pixels and GL state read back.
#include "draw/draw.h"

#include "images/image_bank.h"
#include "support/gl_window.h"
#include "support/pictures.h"
#include "video/video.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

GLint get_int(GLenum what) {
  GLint value = 0;
  glGetIntegerv(what, &value);
  return value;
}

bool current_colour_is_opaque_white() {
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  return colour[0] == 1.0f && colour[1] == 1.0f && colour[2] == 1.0f && colour[3] == 1.0f;
}

// Whether every channel of a is within 2 of b's.
bool near(std::uint32_t a, std::uint32_t b) {
  for (int shift = 0; shift <= 16; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 2) return false;
  return true;
}

// Pictures: GRADIENT has red growing with s and green with t; GREY is flat.
constexpr int GRADIENT = 0, GREY = 1;

class Draw : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ensure_video();
    bank = new IMAGE_BANK();
    bank->add_surface(make_surface(64, 64, [](int x, int y) { return (x * 4 << 16) | (y * 4 << 8) | 0xFFu; }),
                      "GRADIENT");
    bank->add_surface(make_surface(64, 64, [](int, int) { return 0x808080u; }), "GREY");
  }
  static void TearDownTestSuite() { delete bank; }

  // A cleared pixel frame with the state start-up leaves.
  void SetUp() override {
    push_ortho(0, 0, 1024, 768);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glColor4ub(255, 255, 255, 255);
  }
  void TearDown() override { pop_ortho(); }

  static void expect_start_up_switches() {
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(current_colour_is_opaque_white());
  }

  static void quad(int texture, float x, float y, int additive, int substractive, int alpha) {
    draw_textured_quad(&texture, x, y, 0.0f, 0.0f, 0.0f, 90.0f, 16.0f, 16.0f, additive, substractive, alpha);
  }

  static IMAGE_BANK* bank;
};

IMAGE_BANK* Draw::bank = nullptr;

}  // namespace

TEST_F(Draw, OpaqueRectangleLiesThirteenRowsDownAndLeavesTheSwitches) {
  draw_filled_rect(0, 0, 10, 10, 0xFF00FF00);
  const Box box = lit_box();
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 9);
  EXPECT_EQ(box.top, 13);
  EXPECT_EQ(box.bottom, 22);
  EXPECT_EQ(count_lit_pixels(), 100);
  EXPECT_EQ(window_pixel(5, 13), 0x00FF00u);
  expect_start_up_switches();

  // A caller's blending stays on around an opaque rectangle.
  glEnable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  draw_filled_rect(0, 0, 10, 10, 0xFF0000FF);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(Draw, TranslucentRectangleBlendsAndThenRestoresTheSwitches) {
  draw_filled_rect(0, 0, 20, 20, 0xFF0000FF);
  draw_filled_rect(0, 0, 20, 20, 0x80FF0000);
  EXPECT_TRUE(near(window_pixel(10, 20), 0x80007F));
  expect_start_up_switches();
  EXPECT_EQ(get_int(GL_BLEND_SRC), GL_SRC_ALPHA);
  EXPECT_EQ(get_int(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(Draw, BothPrimitivesSubtractTheViewOffset) {
  view_offset_x = 5;
  view_offset_y = 3;
  draw_filled_rect(10, 10, 4, 4, 0xFFFFFFFF);
  const Box rect = lit_box();
  glClear(GL_COLOR_BUFFER_BIT);
  quad(GREY, 100, 100, 0, 0, 255);
  const Box square = lit_box();
  view_offset_x = view_offset_y = 0;
  EXPECT_EQ(rect.left, 5);
  EXPECT_EQ(rect.top, 20);
  EXPECT_EQ(square.left, 100 - 16 - 5);
  EXPECT_EQ(square.top, 100 + 15 - 16 - 3);
}

TEST_F(Draw, QuadTurnedNinetyDegreesStandsWithSLeftToRightAndTTopToBottom) {
  const GLint depth = get_int(GL_MODELVIEW_STACK_DEPTH);
  int texture = GRADIENT;
  draw_textured_quad(&texture, 100.0f, 100.0f, 0.0f, 0.0f, 0.0f, 90.0f, 16.0f, 8.0f, 0, 0, 255);
  const Box box = lit_box();
  EXPECT_EQ(box.left, 84);
  EXPECT_EQ(box.right, 115);
  EXPECT_EQ(box.top, 107);
  EXPECT_EQ(box.bottom, 122);
  const auto red = [](int x, int y) { return window_pixel(x, y) >> 16; };
  const auto green = [](int x, int y) { return window_pixel(x, y) >> 8 & 0xFF; };
  EXPECT_LT(red(85, 115), 40u);
  EXPECT_GT(red(114, 115), 200u);
  EXPECT_LT(green(100, 108), 40u);
  EXPECT_GT(green(100, 121), 200u);
  EXPECT_EQ(get_int(GL_MODELVIEW_STACK_DEPTH), depth);
  expect_start_up_switches();
}

// With none of its modes the quad keeps the blending that its caller set,
// as sprites do for their masks.
TEST_F(Draw, OpaqueQuadWithoutModesDrawsUnderTheCallersBlending) {
  draw_filled_rect(0, 0, 200, 200, 0xFF203040);
  glBlendFunc(GL_ONE, GL_ONE);
  glEnable(GL_BLEND);
  quad(GREY, 100, 100, 0, 0, 255);
  EXPECT_TRUE(near(window_pixel(100, 115), 0xA0B0C0));
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(get_int(GL_BLEND_SRC), GL_ONE);
  EXPECT_EQ(get_int(GL_BLEND_DST), GL_ONE);
}

TEST_F(Draw, EachQuadModeBlendsItsWayAndSwitchesBlendingOffAfter) {
  // Over a frame of 0x2060A0, with the flat 0x80 grey picture.
  const struct {
    int additive, substractive, alpha;
    std::uint32_t expected;
    GLenum source, destination;
  } modes[] = {
      {0, 0, 128, 0x507090, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA},  // half of each
      {1, 0, 255, 0x507090, GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR},  // grey * grey + frame * (1 - grey)
      {0, 1, 128, 0x103050, GL_DST_COLOR, GL_ZERO},                 // frame * grey
      {1, 1, 255, 0x103050, GL_DST_COLOR, GL_ZERO},                 // the last mode's function wins
  };
  for (const auto& mode : modes) {
    draw_filled_rect(0, 0, 200, 200, 0xFF2060A0);
    quad(GREY, 100, 100, mode.additive, mode.substractive, mode.alpha);
    EXPECT_TRUE(near(window_pixel(100, 115), mode.expected))
        << std::hex << window_pixel(100, 115) << " for " << mode.additive << mode.substractive << mode.alpha;
    EXPECT_EQ(get_int(GL_BLEND_SRC), GLint(mode.source));
    EXPECT_EQ(get_int(GL_BLEND_DST), GLint(mode.destination));
    expect_start_up_switches();
  }
}
