// A live session in a real window, recorded (GRAINS_RECORD) and stopped with
// SIGTERM, replays headlessly to the very picture it last showed
// (GRAINS_SNAPSHOT), for every program. The screen is larger than the window
// so that drags leave it.
#include "support/picture_files.h"
#include "support/process.h"
#include "support/window_program.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sstream>

namespace {

// Mouse input in window pixels, sent to the screen where the window lies.
class Mouse {
 public:
  explicit Mouse(ScreenPoint origin) : origin_(origin) {}
  // Presses button at the first point, moves through the others (a little
  // apart in time, so that the moves fall on different frames) and lets go.
  void drag(int button, const std::vector<std::pair<int, int>>& points) const {
    std::string moves = at(points[0]) + " mousedown " + std::to_string(button);
    for (std::size_t i = 1; i < points.size(); ++i) moves += " sleep 0.03 " + at(points[i]);
    xdotool(moves + " sleep 0.03 mouseup " + std::to_string(button));
  }
  void click(int button, std::pair<int, int> point) const { xdotool(at(point) + " click " + std::to_string(button)); }

 private:
  std::string at(std::pair<int, int> point) const {
    return "mousemove " + std::to_string(origin_.x + point.first) + " " + std::to_string(origin_.y + point.second);
  }
  ScreenPoint origin_;
};

// Every button: clicks, and drags across the grid's right (x 642) and
// bottom (y 642) edges and out of the window.
void paint_with_every_button(const Mouse& mouse) {
  mouse.drag(3, {{60, 420}, {200, 430}, {400, 440}, {660, 450}, {900, 460}, {1100, 470}});
  mouse.click(1, {300, 100});
  mouse.drag(1, {{150, 200}, {200, 300}, {250, 600}, {260, 660}, {270, 760}, {280, 850}});
  mouse.click(2, {500, 500});
  mouse.drag(2, {{100, 425}, {150, 426}, {190, 428}});
  mouse.click(3, {600, 200});
  mouse.drag(3, {{500, 600}, {520, 700}, {540, 800}});
}

// grains_d takes the pointer's pixels as cells: its grid's edges lie at 160.
void paint_grains_d(const Mouse& mouse) {
  mouse.drag(3, {{10, 100}, {60, 105}, {120, 110}, {170, 115}, {400, 120}, {1100, 130}});
  mouse.drag(3, {{40, 130}, {45, 150}, {50, 170}, {55, 700}, {60, 900}});
  mouse.click(1, {300, 100});
  mouse.drag(1, {{150, 200}, {250, 650}, {270, 800}});
  mouse.drag(2, {{100, 425}, {190, 428}});
}

class SessionReplay : public testing::TestWithParam<std::pair<std::string, std::string>> {
 protected:
  void SetUp() override { dir_ = make_temp_dir(); }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string dir_;
};

}  // namespace

TEST_P(SessionReplay, TheRecordingReplaysToTheLastFrameShown) {
  const auto& [program, drawing] = GetParam();
  const std::string recording = dir_ + "/session.txt", snapshot = dir_ + "/last.png", replay = dir_ + "/replay.png";
  auto process = start_window_program(
      program, {"GRAINS_RECORD=" + recording, "GRAINS_SNAPSHOT=" + snapshot, "GRAINS_DRAW=" + drawing});
  const Mouse mouse(program_window_origin());
  if (program == "grains_d") paint_grains_d(mouse);
  else paint_with_every_button(mouse);
  pause_ms(300);
  const ProcessResult stopped = process->stop(SIGTERM, 5000);
  EXPECT_EQ(stopped.signal_number, SIGTERM) << stopped.err;

  const std::string text = read_file(recording);
  EXPECT_EQ(text.rfind("# " + program + " session", 0), 0u) << text.substr(0, 80);
  for (const char* line : {" down ", " up ", " motion "}) EXPECT_NE(text.find(line), std::string::npos) << line;
  for (const char* button : {" 1\n", " 2\n", " 3\n"}) EXPECT_NE(text.find(button), std::string::npos) << button;
  const std::size_t frames_line = text.rfind("# frames ");
  ASSERT_NE(frames_line, std::string::npos) << "the recording ends with its frame count";
  EXPECT_EQ(text.find('\n', frames_line), text.size() - 1);

  const ProcessResult replayed =
      run_process({program_path("grains_sim"), program, "--events", recording, "--png", replay});
  ASSERT_EQ(replayed.exit_status, 0) << replayed.err;
  const PictureFile shown = read_png_file(snapshot), again = read_png_file(replay);
  ASSERT_EQ(shown.pixels.size(), again.pixels.size());
  int differences = 0, walls = 0;
  for (std::size_t i = 0; i < shown.pixels.size(); ++i) {
    differences += shown.pixels[i] != again.pixels[i];
    walls += shown.pixels[i] == (program == "grains_a" || program == "grains_c" ? 0xFFFFFFu : 0xFF0000u);
  }
  EXPECT_EQ(differences, 0) << program << " by " << drawing << ": " << text.substr(frames_line);
  EXPECT_GE(walls, 256) << "the session painted walls";
}

INSTANTIATE_TEST_SUITE_P(EveryProgram, SessionReplay,
                         testing::Values(std::pair{std::string("grains_a"), std::string("upload")},
                                         std::pair{std::string("grains_b"), std::string("upload")},
                                         std::pair{std::string("grains_c"), std::string("upload")},
                                         std::pair{std::string("grains_d"), std::string("upload")},
                                         std::pair{std::string("grains_c"), std::string("points")}));

TEST(SessionRecording, AFileThatCannotBeWrittenIsSaidOnceAndTheProgramRunsOn) {
  for (const std::string path : {"/nonexistent/folder/session.txt", "/dev/full"}) {
    auto process = start_window_program("grains_b", {"GRAINS_RECORD=" + path});
    pause_ms(300);
    EXPECT_TRUE(process->running()) << path;
    const ProcessResult stopped = process->stop(SIGTERM, 5000);
    EXPECT_EQ(stopped.signal_number, SIGTERM);
    std::istringstream lines(stopped.err);
    int said = 0;
    for (std::string line; std::getline(lines, line);)
      said += line.rfind("GRAINS_RECORD: cannot write " + path, 0) == 0;
    EXPECT_EQ(said, 1) << stopped.err;
  }
}
