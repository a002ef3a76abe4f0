// engine_showcase in its real window, driven with xdotool as a person
// would. The screenshots that the checks look at are kept in
// SCREENSHOT_DIR for a person to look at too.
#include "engine_showcase/showcase.h"

#include "common/png_file.h"
#include "engine_showcase/panel_places.h"
#include "engine_showcase/picture_browser.h"
#include "scene/layout_file.h"
#include "support/gl_window.h"
#include "support/process.h"
#include "support/window_program.h"
#include "window_close.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>

using grains::cut;
using grains::read_layout;
using grains::TEXTURED_QUAD_DROP;

namespace fs = std::filesystem;

namespace {

// Colours of the button pictures' icons, and of the jacks' collars.
constexpr std::uint32_t ICON_OFF = 0x9098A8, ICON_OVER = 0xE8EEF8, ICON_ON = 0xA8FFB8;
constexpr std::uint32_t PLUGGED_COLLAR = 0xD0A840, UNPLUGGED_COLLAR = 0xC04040;
constexpr std::uint32_t KNOB_HIGHLIGHT = 0xF0F0F8;

// The left of the window: the panel at its first place and the cord below it.
constexpr ScreenBox PANEL_SIDE{0, 0, 560, 768};
// A spot of the panel's background, away from its widgets (panel coordinates).
constexpr int BACKGROUND_X = 446, BACKGROUND_Y = 380;

struct Point {
  int x, y;
  Point moved(int dx, int dy) const { return {x + dx, y + dy}; }
  std::string xdotool() const { return std::to_string(x) + " " + std::to_string(y); }
};

// The shipped layout, read without a window for the places of its children.
class Layout {
 public:
  Layout() {
    std::FILE* file = std::fopen(SOURCE_DIR "/grfx/showcase.lay", "r");
    EXPECT_NE(file, nullptr);
    if (file == nullptr) return;
    read_layout(file, panel_);
    std::fclose(file);
  }

  // Where pixel (i, j) of a child's picture shows, the panel at its first place.
  Point at(const char* child, int i, int j) {
    const SPRITE* element = panel_.Find_child(child);
    EXPECT_NE(element, nullptr) << child;
    if (element == nullptr) return {0, 0};
    return {PANEL_X + cut(element->x) + i, PANEL_Y + cut(element->y) + TEXTURED_QUAD_DROP + j};
  }
  // The line of a label's text.
  ScreenBox label(const char* name) {
    const Point corner = at(name, 0, 0);
    return {corner.x, corner.y - TEXTURED_QUAD_DROP, 200, 28};
  }

 private:
  OBJET panel_{0, 0, "1"};
};

bool same_in(const Screenshot& a, const Screenshot& b, const ScreenBox& box) {
  for (int y = box.top; y < box.top + box.height; ++y)
    for (int x = box.left; x < box.left + box.width; ++x)
      if (a.at(x, y) != b.at(x, y)) return false;
  return true;
}

bool shows(const Screenshot& shot, Point point, std::uint32_t colour) { return shot.at(point.x, point.y) == colour; }

// Saves a screenshot as SCREENSHOT_DIR/name.png.
void keep(const Screenshot& shot, const std::string& name) {
  fs::create_directories(SCREENSHOT_DIR);
  std::vector<std::uint32_t> pixels;
  for (const std::uint32_t pixel : shot.pixels) pixels.push_back(0xFF000000 | pixel);
  std::string error;
  EXPECT_TRUE(
      write_png(std::string(SCREENSHOT_DIR) + "/" + name + ".png", shot.width, shot.height, pixels.data(), error))
      << error;
}

// Takes screenshots until ready holds or 15 s have gone, and keeps the
// last. A steady screen is also the same as the screenshot before it.
Screenshot wait_for_screen(const std::function<bool(const Screenshot&)>& ready, const std::string& name,
                           bool steady = false) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  Screenshot before, shot = take_screenshot();
  const auto done = [&] { return ready(shot) && (!steady || shot.pixels == before.pixels); };
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    pause_ms(50);
    before = shot;
    shot = take_screenshot();
  }
  EXPECT_TRUE(done()) << "waited in vain for " << name;
  keep(shot, name);
  return shot;
}

// Waits for a steady screen on which ready holds.
Screenshot wait_for_steady_screen(const std::function<bool(const Screenshot&)>& ready, const std::string& name) {
  return wait_for_screen(ready, name, true);
}

void click(Point point) { xdotool("mousemove " + point.xdotool() + " sleep 0.1 click 1"); }
void move_away() { xdotool("mousemove 900 700"); }

// A left drag from one point to another in steps, held a moment at the end.
void drag(Point from, int dx, int dy) {
  std::string steps = "mousemove " + from.xdotool() + " mousedown 1";
  for (int step = 1; step <= 4; ++step)
    steps += " sleep 0.1 mousemove " + from.moved(dx * step / 4, dy * step / 4).xdotool();
  xdotool(steps + " sleep 0.3 mouseup 1");
}

// The slider messages the panel traced, in order: ("START", 40) and so on.
std::vector<std::pair<std::string, int>> slider_messages(const std::string& output) {
  std::vector<std::pair<std::string, int>> messages;
  const std::string mark = "MESSAGE Message = [SLD_MVT_";
  for (std::size_t at = output.find(mark); at != std::string::npos; at = output.find(mark, at + 1)) {
    char keyword[16];
    int value = 0;
    if (std::sscanf(output.c_str() + at + mark.size(), "%15[A-Z] %d]->[1_SPEED]", keyword, &value) == 2)
      messages.emplace_back(keyword, value);
  }
  return messages;
}

// The pictures the browser's next steps gave, in order, from their traces.
std::vector<std::string> next_pictures(const std::string& output) {
  std::vector<std::string> pictures;
  const std::string mark = "retour recupere_nom_fichier_suivant[[";
  for (std::size_t at = output.find(mark); at != std::string::npos; at = output.find(mark, at + 1)) {
    const std::size_t start = at + mark.size(), end = output.find("]]", start);
    if (end != std::string::npos) pictures.push_back(output.substr(start, end - start));
  }
  return pictures;
}

// Runs the showcase in a folder of its own holding a copy of grfx/, so that
// the listing and the saved layout land there.
class ShowcaseWindow : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = make_temp_dir();
    fs::copy(SOURCE_DIR "/grfx", dir_ + "/grfx");
    saved_layout_ = dir_ + "/saved.lay";
    showcase_ = std::make_unique<BackgroundProcess>(
        std::vector<std::string>{program_path("engine_showcase"), "--saved-layout", saved_layout_}, dir_);
    ASSERT_TRUE(showcase_->wait_for_output("SDL Video Driver Name:", 10000)) << showcase_->output();
    first_ =
        wait_for_steady_screen([&](const Screenshot& s) { return shows(s, play_icon_, ICON_OFF); }, "showcase_start");
  }
  void TearDown() override {
    showcase_.reset();
    fs::remove_all(dir_);
  }

  // Ends the program with Escape; it must go at once and cleanly.
  void end_with_escape() {
    xdotool("mousemove 900 700 key Escape");
    const ProcessResult result = showcase_->stop(0, 10000);
    EXPECT_EQ(result.exit_status, 0) << result.err;
  }

  Layout layout_;
  const Point play_icon_ = layout_.at("PLAY", 58, 32);
  std::string dir_, saved_layout_;
  std::unique_ptr<BackgroundProcess> showcase_;
  Screenshot first_;
};

}  // namespace

TEST_F(ShowcaseWindow, AButtonShowsItsTouchPictureAndEachClickTogglesItAndItsStateLabel) {
  const ScreenBox state_label = layout_.label("PLAY_STATE");
  const Point stop_icon = layout_.at("STOP", 64, 32);

  xdotool("mousemove " + play_icon_.moved(30, 0).xdotool());
  const Screenshot hovered =
      wait_for_screen([&](const Screenshot& s) { return shows(s, play_icon_, ICON_OVER); }, "showcase_play_hovered");
  EXPECT_TRUE(shows(hovered, stop_icon, ICON_OFF));
  EXPECT_TRUE(same_in(first_, hovered, state_label)) << "touching is not clicking";

  xdotool("click 1");
  wait_for_screen([&](const Screenshot& s) { return !same_in(first_, s, state_label); }, "showcase_play_clicked");
  move_away();
  wait_for_screen([&](const Screenshot& s) { return shows(s, play_icon_, ICON_ON); }, "showcase_play_on");

  click(play_icon_);
  move_away();
  const Screenshot off =
      wait_for_screen([&](const Screenshot& s) { return shows(s, play_icon_, ICON_OFF); }, "showcase_play_off_again");
  EXPECT_TRUE(same_in(first_, off, state_label)) << "the label says off again";
  end_with_escape();
}

TEST_F(ShowcaseWindow, DraggingTheKnobSendsSliderMessagesAndTheLabelsFollow) {
  const Point highlight = layout_.at("SPEED", 11, 11);
  ASSERT_TRUE(shows(first_, highlight, KNOB_HIGHLIGHT));
  drag(layout_.at("SPEED", 16, 16), 80, 0);
  move_away();
  const Screenshot dragged = wait_for_screen(
      [&](const Screenshot& s) { return shows(s, highlight.moved(80, 0), KNOB_HIGHLIGHT); }, "showcase_knob_dragged");
  EXPECT_FALSE(shows(dragged, highlight, KNOB_HIGHLIGHT)) << "the knob left its place";
  EXPECT_FALSE(same_in(first_, dragged, layout_.label("VALUE")));
  EXPECT_FALSE(same_in(first_, dragged, layout_.label("TIME")));

  ASSERT_TRUE(showcase_->wait_for_output("SLD_MVT_STOP", 5000));
  const auto messages = slider_messages(showcase_->output());
  ASSERT_GE(messages.size(), 3u);
  EXPECT_EQ(messages.front(), std::make_pair(std::string("START"), 40));
  EXPECT_EQ(messages.back(), std::make_pair(std::string("STOP"), 71)) << "80 pixels of a 256-pixel rail";
  for (std::size_t i = 1; i + 1 < messages.size(); ++i) {
    EXPECT_EQ(messages[i].first, "CHANGE");
    EXPECT_GT(messages[i].second, messages[i - 1].second);
  }
  end_with_escape();
}

TEST_F(ShowcaseWindow, NextAndPreviousStepThroughThePicturesOfGrfx) {
  const ScreenBox viewer = PictureBrowser::VIEWER;
  ASSERT_EQ(next_pictures(showcase_->output()).size(), 1u) << "the first picture";

  click(layout_.at("NEXT", 32, 32));
  move_away();
  wait_for_screen([&](const Screenshot& s) { return !same_in(first_, s, viewer); }, "showcase_next_picture");
  ASSERT_TRUE(showcase_->wait_for_output("OK-Suivant", 5000));
  const std::vector<std::string> shown = next_pictures(showcase_->output());
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].rfind("grfx/", 0), 0u) << shown[0];
  EXPECT_NE(shown[1], shown[0]);

  click(layout_.at("PREV", 32, 32));
  move_away();
  wait_for_screen([&](const Screenshot& s) { return same_in(first_, s, viewer); }, "showcase_previous_picture");
  end_with_escape();
}

TEST_F(ShowcaseWindow, ASavedLayoutLoadsBackIntoAFreshPanelThatLooksTheSame) {
  const Point second_collar = layout_.at("JACK_OUT", 32, 40);
  click(play_icon_);
  click(layout_.at("JACK_OUT", 32, 16));
  drag(layout_.at("SPEED", 16, 16), 60, 0);
  move_away();
  ASSERT_TRUE(showcase_->wait_for_output("SLD_MVT_STOP", 5000));
  const Screenshot changed = wait_for_steady_screen(
      [&](const Screenshot& s) { return shows(s, play_icon_, ICON_ON) && shows(s, second_collar, UNPLUGGED_COLLAR); },
      "showcase_before_save");

  click(layout_.at("SAVE", 32, 32));
  move_away();
  ASSERT_TRUE(showcase_->wait_for_output("Layout saved to", 5000));
  const Screenshot saved =
      wait_for_steady_screen([&](const Screenshot& s) { return same_in(changed, s, PANEL_SIDE); }, "showcase_saved");
  const std::string file = read_file(saved_layout_);
  EXPECT_NE(file.find("BUTTON\tPLAY\tBTN_PLAY_OFF\tBTN_PLAY_ON\tBTN_PLAY_OVER\t20\t104\t"), std::string::npos) << file;
  EXPECT_NE(file.find("SLIDER\tSPEED\tKNOB\t165\t224\t"), std::string::npos)
      << "60 pixels right of 40 is 63, whose knob is at 165\n"
      << file;

  drag(layout_.at("SPEED", 16 + 60, 16), -100, 0);
  move_away();
  wait_for_screen([&](const Screenshot& s) { return !same_in(saved, s, PANEL_SIDE); }, "showcase_changed_after_save");

  click(layout_.at("LOAD", 32, 32));
  move_away();
  ASSERT_TRUE(showcase_->wait_for_output("Layout loaded from", 5000));
  wait_for_screen([&](const Screenshot& s) { return same_in(saved, s, PANEL_SIDE); }, "showcase_loaded");
  end_with_escape();
}

TEST_F(ShowcaseWindow, ThePanelDragsByItsBackgroundAndTheCordFollows) {
  const Point first_collar = layout_.at("JACK_IN", 32, 40), second_collar = layout_.at("JACK_OUT", 32, 40);
  ASSERT_TRUE(shows(first_, first_collar, PLUGGED_COLLAR));
  ASSERT_TRUE(shows(first_, second_collar, PLUGGED_COLLAR));
  drag({PANEL_X + BACKGROUND_X, PANEL_Y + TEXTURED_QUAD_DROP + BACKGROUND_Y}, 100, 50);
  move_away();
  const Screenshot moved = wait_for_screen(
      [&](const Screenshot& s) { return shows(s, play_icon_.moved(100, 50), ICON_OFF); }, "showcase_panel_moved");
  EXPECT_TRUE(shows(moved, first_collar.moved(100, 50), PLUGGED_COLLAR));
  EXPECT_TRUE(shows(moved, second_collar.moved(100, 50), PLUGGED_COLLAR));
  EXPECT_FALSE(shows(moved, first_collar, PLUGGED_COLLAR));
  end_with_escape();
}

TEST_F(ShowcaseWindow, RandomMouseInputAnywhereLeavesItRunning) {
  std::mt19937 random(20261208);
  // Places past the right and bottom edges too (xdotool takes no negative ones).
  std::uniform_int_distribution<int> x(0, 1100), y(0, 820), what(0, 9);
  for (int round = 0; round < 6; ++round) {
    std::string actions;
    for (int action = 0; action < 40; ++action) {
      const std::string place = std::to_string(x(random)) + " " + std::to_string(y(random));
      switch (what(random)) {
        case 0: actions += " mousedown 1"; break;
        case 1: actions += " mouseup 1"; break;
        case 2: actions += " click 1"; break;
        case 3: actions += " click 3"; break;
        case 4: actions += " mousedown 1 mousemove 0 0 mousemove 1023 767 mouseup 1"; break;
        default: actions += " mousemove " + place; break;
      }
      actions += " sleep 0.02";
    }
    xdotool(actions + " mouseup 1");
    ASSERT_TRUE(showcase_->running()) << showcase_->output().substr(0, 2000);
  }
  keep(take_screenshot(), "showcase_after_random_input");
  end_with_escape();
  EXPECT_EQ(showcase_->output().find("ZZZ"), std::string::npos) << "every message had a widget";
}

TEST_F(ShowcaseWindow, ClosingTheWindowEndsIt) {
  ASSERT_TRUE(ask_window_to_close("engine_showcase"));
  const ProcessResult result = showcase_->stop(0, 10000);
  EXPECT_EQ(result.exit_status, 0) << result.err;
}

TEST_F(ShowcaseWindow, StopSignalsEndIt) {
  const ProcessResult result = showcase_->stop(SIGINT, 5000);
  EXPECT_EQ(result.signal_number, SIGINT);
}
