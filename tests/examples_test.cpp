// Each example in its real window under the test's X server, run from the
// project's folder as its comment says: what it draws, what the mouse does
// to it, and the three ways it ends.
#include "support/drawn_picture.h"
#include "support/gl_window.h"
#include "support/window_program.h"
#include "window_close.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>

namespace {

const std::string EXAMPLES[] = {"sprite_window", "font_text", "panel_widgets", "patch_cord"};

std::unique_ptr<BackgroundProcess> start_example(const std::string& name) {
  return start_window_command({std::string(EXAMPLES_DIR) + "/grains_example_" + name}, SOURCE_DIR);
}

// A box of window pixels, right and bottom edges outside.
struct Area {
  int left, top, right, bottom;
  bool holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

bool near(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift = 0; shift <= 16; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

// How many pixels of the colour (within tolerance) lie inside and outside area.
struct ColourCount {
  int inside = 0, outside = 0;
};
ColourCount count_colour(const Screenshot& shot, std::uint32_t colour, const Area& area, int tolerance = 24) {
  ColourCount count;
  for (int y = 0; y < shot.height; ++y)
    for (int x = 0; x < shot.width; ++x)
      if (near(shot.at(x, y), colour, tolerance)) ++(area.holds(x, y) ? count.inside : count.outside);
  return count;
}

// Colours of the catalogue's pictures: button icons off and on, the knob's
// highlight, the jacks' collars plugged in and pulled out.
constexpr std::uint32_t ICON_OFF = 0x9098A8, ICON_ON = 0xA8FFB8, KNOB_HIGHLIGHT = 0xF0F0F8;
constexpr std::uint32_t PLUGGED_COLLAR = 0xD0A840, UNPLUGGED_COLLAR = 0xC04040;

}  // namespace

TEST(Examples, SpriteWindowShowsItsPictureFifteenRowsBelowItsPlace) {
  const auto example = start_example("sprite_window");
  expect_sprite_window_drawn(take_screenshot(), std::string(SOURCE_DIR) + "/grfx");
}

// draw_text counts y from the bottom; so does a label built with its
// constructor. Each text shows in its own colour, in its own band only.
TEST(Examples, FontTextDrawsEachTextInItsColourWhereItsYFromTheBottomPutsIt) {
  const auto example = start_example("font_text");
  const Screenshot shot = take_screenshot();
  const ColourCount white = count_colour(shot, 0xFFFFFF, {100, 768 - 640 - 40, 700, 768 - 640 + 60});
  const ColourCount orange = count_colour(shot, 0xFFA030, {100, 768 - 420 - 40, 800, 768 - 420 + 10});
  const ColourCount green = count_colour(shot, 0x60E060, {100, 768 - 200 - 30, 600, 768 - 200 + 10});
  for (const ColourCount& text : {white, orange, green}) {
    EXPECT_GT(text.inside, 100);
    EXPECT_EQ(text.outside, 0);
  }
}

TEST(Examples, PanelWidgetsAnswerAClickAndADragThroughMessages) {
  const auto example = start_example("panel_widgets");
  const Area play{320, 265, 448, 329}, knob_start{304, 377, 336, 409}, knob_end{390, 377, 440, 409};
  Screenshot shot = take_screenshot();
  EXPECT_EQ(shot.at(700, 450), 0x1A1A2Eu) << "the layout's COLOR fills the panel";
  EXPECT_GT(count_colour(shot, ICON_OFF, play, 8).inside, 50);
  EXPECT_GT(count_colour(shot, KNOB_HIGHLIGHT, knob_start, 8).inside, 0);

  xdotool("mousemove 384 297 click 1 sleep 0.3");
  xdotool("mousemove 320 393 mousedown 1 sleep 0.1 mousemove 370 393 sleep 0.1 mousemove 420 393 sleep 0.2 mouseup 1");
  pause_ms(500);
  shot = take_screenshot();
  EXPECT_GT(count_colour(shot, ICON_ON, play, 8).inside, 50) << "the click toggled the button on";
  EXPECT_EQ(count_colour(shot, KNOB_HIGHLIGHT, knob_start, 8).inside, 0);
  EXPECT_GT(count_colour(shot, KNOB_HIGHLIGHT, knob_end, 8).inside, 0) << "the knob follows the value";

  // Standard output reaches its file as the example ends.
  const std::string output = example->stop(SIGTERM, 5000).out;
  EXPECT_NE(output.find("[SLD_MVT_START 0]"), std::string::npos) << output;
  const std::size_t stop = output.find("[SLD_MVT_STOP ");
  ASSERT_NE(stop, std::string::npos) << output;
  EXPECT_NEAR(std::stoi(output.substr(stop + 14)), 100 * 100 / 256, 2) << "100 pixels of a 256-pixel rail";
}

TEST(Examples, PatchCordHangsBetweenItsSocketsAndFollowsTheDraggedOne) {
  const auto example = start_example("patch_cord");
  const Area left_socket{200, 315, 264, 379}, right_socket{700, 315, 764, 379};
  const Area below{264, 379, 700, 768};
  Screenshot shot = take_screenshot();
  EXPECT_GT(count_colour(shot, 0xF08030, below, 8).inside, 200) << "the cable hangs below the sockets";
  EXPECT_GT(count_colour(shot, PLUGGED_COLLAR, left_socket, 8).inside, 0);
  EXPECT_GT(count_colour(shot, PLUGGED_COLLAR, right_socket, 8).inside, 0);

  xdotool("mousemove 232 347 click 1 sleep 0.3");
  xdotool("mousemove 732 347 mousedown 1 sleep 0.1 mousemove 732 447 sleep 0.1 mousemove 732 497 sleep 0.2 mouseup 1");
  pause_ms(500);
  shot = take_screenshot();
  EXPECT_GT(count_colour(shot, UNPLUGGED_COLLAR, left_socket, 8).inside, 0) << "the click pulled the jack out";
  EXPECT_EQ(count_colour(shot, PLUGGED_COLLAR, right_socket, 8).inside, 0) << "the right socket moved away";
  EXPECT_GT(count_colour(shot, PLUGGED_COLLAR, {700, 465, 764, 529}, 8).inside, 0) << "its jack went with it";
}

// Escape, the window's close box and SIGTERM each end every example at
// once, with status 0.
class ExampleEnding : public testing::TestWithParam<std::tuple<std::string, std::string>> {};

TEST_P(ExampleEnding, EndsAtOnce) {
  const auto& [name, way] = GetParam();
  const auto example = start_example(name);
  if (way == "escape") {
    xdotool("mousemove 1000 740 key Escape");
  } else if (way == "close") {
    ASSERT_TRUE(ask_window_to_close(name));
  }
  const ProcessResult ended = example->stop(way == "sigterm" ? SIGTERM : 0, 5000);
  EXPECT_EQ(ended.exit_status, 0) << ended.err;
  EXPECT_EQ(ended.signal_number, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryExample, ExampleEnding,
                         testing::Combine(testing::ValuesIn(EXAMPLES), testing::Values("escape", "close", "sigterm")),
                         [](const auto& info) { return std::get<0>(info.param) + "_" + std::get<1>(info.param); });
