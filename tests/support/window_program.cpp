#include "support/window_program.h"

#include "support/gl_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <sstream>
#include <thread>

void xdotool(const std::string& arguments) { EXPECT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments; }

void pause_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::unique_ptr<BackgroundProcess> start_window_program(const std::string& program,
                                                        const std::vector<std::string>& environment) {
  std::vector<std::string> command{"/usr/bin/env"};
  command.insert(command.end(), environment.begin(), environment.end());
  command.push_back(program_path(program));
  auto process = std::make_unique<BackgroundProcess>(command, SOURCE_DIR);
  EXPECT_TRUE(process->wait_for_output("SDL Video Driver Name:", 10000)) << process->output();
  wait_for_drawing();
  return process;
}

std::unique_ptr<BackgroundProcess> start_window_command(const std::vector<std::string>& command,
                                                        const std::string& directory) {
  auto process = std::make_unique<BackgroundProcess>(command, directory);
  wait_for_drawing();
  return process;
}

void wait_for_drawing() {
  // The window is up once its first drawing shows; a busy machine may take a
  // while to get there.
  for (int waited = 0; waited < 10000; waited += 100) {
    const Screenshot screen = take_screenshot();
    if (std::any_of(screen.pixels.begin(), screen.pixels.end(), [](std::uint32_t pixel) { return pixel != 0; })) break;
    pause_ms(100);
  }
  pause_ms(200);
}

ScreenPoint program_window_origin() {
  const ProcessResult windows = run_process({"/usr/bin/xdotool", "search", "--onlyvisible", "--name", ""});
  std::istringstream ids(windows.out);
  for (std::string id; ids >> id;) {
    const ProcessResult shape = run_process({"/usr/bin/xdotool", "getwindowgeometry", "--shell", id});
    std::map<std::string, int> value;  // X, Y, WIDTH, HEIGHT
    std::istringstream lines(shape.out);
    for (std::string line; std::getline(lines, line);) {
      const std::size_t equals = line.find('=');
      if (equals != std::string::npos) value[line.substr(0, equals)] = std::atoi(line.c_str() + equals + 1);
    }
    if (value["WIDTH"] == 1024 && value["HEIGHT"] == 768) return {value["X"], value["Y"]};
  }
  ADD_FAILURE() << "no 1024x768 window on the screen";
  return {};
}
