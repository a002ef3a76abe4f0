// Widgets: buttons, labels and sliders with their message queues, and a
// label's text read back from the window.
#include "scene/widgets.h"

#include "support/catalogue_window.h"
#include "support/gl_window.h"
#include "text/font_table.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

MESSAGE text_message(const char* text) { return MESSAGE(0, SDL_Event{}, text, nullptr); }

MESSAGE mouse_message(std::uint8_t type) {
  SDL_Event event{};
  event.type = type;
  event.button.button = SDL_BUTTON_LEFT;
  return MESSAGE(1, event, nullptr, nullptr);
}

BUTTON play_button() { return BUTTON("PLAY", "BTN_PLAY_OFF", "BTN_PLAY_OVER", "BTN_PLAY_ON", nullptr); }

}  // namespace

TEST(Message, CopiesItsTextWithinItsBuffer) {
  EXPECT_STREQ(text_message(nullptr).text, "");
  const std::string long_text(700, 'x');
  EXPECT_EQ(std::string(text_message(long_text.c_str()).text), long_text.substr(0, 639));
  EXPECT_EQ(mouse_message(SDL_MOUSEBUTTONUP).event_type(), SDL_MOUSEBUTTONUP);
}

TEST(Button, ShowsItsOffPictureAndDerivesItsMask) {
  const BUTTON button = play_button();
  EXPECT_STREQ(button.name, "PLAY");
  EXPECT_STREQ(button.image, "BTN_PLAY_OFF");
  EXPECT_STREQ(button.image_on, "BTN_PLAY_ON");
  EXPECT_STREQ(button.mask, "BTN_PLAY_MASK");
  EXPECT_EQ(button.alpha, 0);

  EXPECT_STREQ(BUTTON("B", "PLAIN", "0", "ON", nullptr).mask, "") << "no '_'";
  EXPECT_STREQ(BUTTON("B", "_PLAIN", "0", "ON", nullptr).mask, "") << "a '_' only in front";
  EXPECT_STREQ(BUTTON("B", "A_B_C", "0", "ON", nullptr).mask, "A_B_MASK") << "the last '_'";
  EXPECT_STREQ(BUTTON("B", "A_B", "0", "ON", "OWN").mask, "OWN");
}

TEST(Button, HandlesItsQueueNewestFirstAndTogglesOnEachRelease) {
  BUTTON button = play_button();
  button.Post(mouse_message(SDL_MOUSEBUTTONDOWN));
  button.Post(mouse_message(SDL_MOUSEBUTTONUP));
  button.Post(text_message("TOUCH_OUT"));
  button.Post(text_message("TOUCH_IN"));
  button.Update();
  EXPECT_TRUE(button.queue.empty());
  EXPECT_EQ(button.touched, 0) << "TOUCH_IN, the newest, came first";
  EXPECT_EQ(button.pressed, 1) << "the release came before the press";
  EXPECT_EQ(button.state, 1);
  EXPECT_STREQ(button.image, "BTN_PLAY_ON");

  button.Post(mouse_message(SDL_MOUSEBUTTONUP));
  button.Post(mouse_message(SDL_MOUSEBUTTONUP));
  button.dirty = 0;
  button.Update();
  EXPECT_EQ(button.state, 1) << "two releases toggle twice";
  EXPECT_EQ(button.pressed, 0);
  EXPECT_EQ(button.dirty, 0) << "the same picture is not drawn again";

  button.Post(text_message("TOUCH_IN and TOUCH_OUT"));
  button.Update();
  EXPECT_EQ(button.touched, 0);
  button.Post(text_message("TOUCH_IN"));
  button.Update();
  EXPECT_STREQ(button.image, "BTN_PLAY_OVER");

  BUTTON without_touch("B", "OFF", "0", "ON", nullptr);
  without_touch.Post(text_message("TOUCH_IN"));
  without_touch.Update();
  EXPECT_EQ(without_touch.touched, 1);
  EXPECT_STREQ(without_touch.image, "OFF") << "'0' names no touch picture";
}

TEST(Slider, MasksWithItsPictureAndOnlyTracksPressAndTouch) {
  SLIDER slider("SPEED", "KNOB");
  EXPECT_STREQ(slider.name, "SPEED");
  EXPECT_STREQ(slider.image, "KNOB");
  EXPECT_STREQ(slider.mask, "KNOB_MASK");
  slider.Post(mouse_message(SDL_MOUSEBUTTONUP));
  slider.Post(mouse_message(SDL_MOUSEBUTTONDOWN));
  slider.Post(text_message("TOUCH_IN"));
  slider.Update();
  EXPECT_TRUE(slider.queue.empty());
  EXPECT_EQ(slider.pressed, 0);
  EXPECT_EQ(slider.touched, 1);
  EXPECT_STREQ(slider.image, "KNOB");
}

TEST(Label, LimitsItsFontAndSizesItselfToItsCaption) {
  LABEL label("Grain_speed", 40, 100, 50, 50, 11, 30, 0xFFFFFF);
  EXPECT_EQ(label.font_size, 10);
  EXPECT_EQ(label.font_number, 0);
  const LABEL largest("A", 0, 0, 0, 0, 10, 23, 0);
  EXPECT_EQ(largest.font_number + largest.font_size, 10 + 23);
  EXPECT_STREQ(label.name, "IMG_001");
  EXPECT_EQ(label.x, 40.0f);
  EXPECT_EQ(label.y, 647.0f) << "747 - y";

  label.Post(text_message("TOUCH_IN"));
  label.dirty = 0;
  label.Update();
  EXPECT_EQ(label.w, 55.0f) << "11 characters at size 10, halved";
  EXPECT_EQ(label.h, 10.0f);
  EXPECT_EQ(label.dirty, 1);
  EXPECT_EQ(label.queue.size(), 1u) << "a label leaves its queue alone";
  EXPECT_EQ(label.touched, 0);
}

TEST(Label, PrintsItsDump) {
  LABEL label("Hello", 1, 700, 0, 0, 2, 12, 0xABCDEF);
  testing::internal::CaptureStdout();
  label.Print();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "LABEL:\n-------\nNAME[         IMG_001] XYWH[  1- 47-  0-  0] Zoom=1.0000 Angle=0.0000\n"
            "Font Nr=  2 Size= 12 Col=00abcdef Col2=00000000\nCAPTION [Hello]\n," +
                std::string(62, '-') + "\n");
}

// Its font is built after the catalogue's pictures, as a program builds its fonts.
class LabelDrawing : public CatalogueWindow {
 protected:
  static void SetUpTestSuite() {
    CatalogueWindow::SetUpTestSuite();
    font_table.add_font("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  }
  static void TearDownTestSuite() { font_table.release_all(); }
};

std::vector<GLfloat> current_matrix(GLenum which) {
  std::vector<GLfloat> matrix(16);
  glGetFloatv(which, matrix.data());
  return matrix;
}

// Lit columns of the window in runs: [first, last] pairs.
std::vector<std::pair<int, int>> lit_column_runs(const std::vector<std::uint32_t>& pixels) {
  std::vector<std::pair<int, int>> runs;
  for (int x = 0; x < 1024; ++x) {
    bool lit = false;
    for (int y = 0; y < 768 && !lit; ++y) lit = pixels[y * 1024 + x] != 0;
    if (!lit) continue;
    if (!runs.empty() && runs.back().second == x - 1) runs.back().second = x;
    else runs.push_back({x, x});
  }
  return runs;
}

TEST_F(LabelDrawing, DrawsItsCaptionInItsColourAtItsRowWithBlanksForUnderscores) {
  LABEL label("I_I", 100, 100, 0, 0, 0, 18, 0x00FF00);
  label.dirty = 0;
  label.Draw(0);
  EXPECT_EQ(label.dirty, 1);
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(colour[0] + colour[1] + colour[2] + colour[3], 4.0f) << "white again";

  const std::vector<std::uint32_t> pixels = read_window_pixels();
  const auto runs = lit_column_runs(pixels);
  ASSERT_EQ(runs.size(), 2u) << "two I's and a blank between them";
  EXPECT_GE(runs[0].first, 100);
  EXPECT_LT(runs[1].second, 100 + 40);
  int top = 768, bottom = -1;
  for (int y = 0; y < 768; ++y)
    for (int x = 0; x < 1024; ++x)
      if (const std::uint32_t pixel = pixels[y * 1024 + x]) {
        EXPECT_EQ(pixel & 0xFF00FFu, 0u) << "green only at " << x << "," << y;
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  // Row 100 from the bottom is window row 668; letters of size 18 stand on it.
  EXPECT_LE(bottom, 668);
  EXPECT_GE(bottom, 664);
  EXPECT_GT(top, 668 - 18);
}

// Drawn while the projection matrix is current, as before the first frame,
// a turned label still draws the same, on the model-view matrix, and leaves
// the mode and both matrices as they were.
TEST_F(LabelDrawing, DrawsTheSameWhicheverMatrixModeIsCurrent) {
  LABEL label("Turned", 300, 300, 0, 0, 0, 18, 0xFFFFFF);
  label.angle = 20;
  glTranslatef(50.0f, 0.0f, 0.0f);
  const std::vector<GLfloat> modelview = current_matrix(GL_MODELVIEW_MATRIX);
  const std::vector<GLfloat> projection = current_matrix(GL_PROJECTION_MATRIX);
  label.Draw(0);
  const std::vector<std::uint32_t> drawn = read_window_pixels();
  EXPECT_GT(count_lit_pixels(), 0);

  glClear(GL_COLOR_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  label.Draw(0);
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  glMatrixMode(GL_MODELVIEW);
  EXPECT_EQ(mode, GL_PROJECTION);
  EXPECT_EQ(current_matrix(GL_PROJECTION_MATRIX), projection);
  EXPECT_EQ(current_matrix(GL_MODELVIEW_MATRIX), modelview);
  EXPECT_TRUE(read_window_pixels() == drawn) << "the label's turn and scale were lost";
}
