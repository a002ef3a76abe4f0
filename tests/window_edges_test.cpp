// What a desktop window's SDL hands a program when a drag leaves the window
// by each edge and corner: tests/web/edges.expected, which the browser pages
// must match (tests/web/input_test.js). The screen is larger than the window
// so that the pointer can leave it on every side.
#include "support/process.h"
#include "support/window_program.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sstream>

namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  return lines;
}

// edges.events as one xdotool command: FRAME KIND X Y [BUTTON] lines, the
// positions in window pixels (outside it too), a little apart in time.
std::string xdotool_moves(const std::string& events, ScreenPoint origin) {
  std::string moves;
  for (const std::string& line : lines_of(events)) {
    std::istringstream fields(line);
    std::string frame, kind;
    int x = 0, y = 0, button = 0;
    fields >> frame >> kind >> x >> y >> button;
    if (kind == "motion") moves += " mousemove " + std::to_string(origin.x + x) + " " + std::to_string(origin.y + y);
    else moves += std::string(kind == "down" ? " mousedown " : " mouseup ") + std::to_string(button);
    moves += " sleep 0.03";
  }
  return moves;
}

// The recording's events without their frames, from the first press on.
std::vector<std::string> handled_from_first_press(const std::string& recording) {
  std::vector<std::string> handled;
  for (const std::string& line : lines_of(recording)) {
    const std::string event = line.substr(line.find(' ') + 1);
    if (!handled.empty() || event.rfind("down ", 0) == 0) handled.push_back(event);
  }
  return handled;
}

}  // namespace

TEST(WindowEdges, ADragOutOfEveryEdgeGivesTheEventsThePagesMatch) {
  const std::string dir = make_temp_dir(), recording = dir + "/session.txt";
  auto process = start_window_program("grains_b", {"GRAINS_RECORD=" + recording});
  xdotool(xdotool_moves(read_file(SOURCE_DIR "/tests/web/edges.events"), program_window_origin()).substr(1));
  pause_ms(300);
  const ProcessResult stopped = process->stop(SIGTERM, 5000);
  EXPECT_EQ(stopped.signal_number, SIGTERM) << stopped.err;

  const std::vector<std::string> handled = handled_from_first_press(read_file(recording));
  const std::vector<std::string> expected = lines_of(read_file(SOURCE_DIR "/tests/web/edges.expected"));
  EXPECT_EQ(handled, expected) << read_file(recording);
  std::filesystem::remove_all(dir);
}
