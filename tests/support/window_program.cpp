#include "support/window_program.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

void xdotool(const std::string& arguments) {
  EXPECT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
}

void pause_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::unique_ptr<BackgroundProcess> start_window_program(const std::string& program) {
  auto process = std::make_unique<BackgroundProcess>(std::vector<std::string>{program_path(program)}, SOURCE_DIR);
  EXPECT_TRUE(process->wait_for_output("SDL Video Driver Name:", 10000)) << process->output();
  pause_ms(500);
  return process;
}
