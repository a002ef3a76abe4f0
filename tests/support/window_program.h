// Running a grain program in its real window under the test's X server.
#pragma once

#include "support/process.h"

#include <memory>
#include <string>
#include <vector>

// Runs xdotool with these arguments; a failure fails the test.
void xdotool(const std::string& arguments);

void pause_ms(int ms);

// Starts a program from the project's folder, with these NAME=VALUE
// settings added to its environment, and waits for its window.
std::unique_ptr<BackgroundProcess> start_window_program(const std::string& program,
                                                        const std::vector<std::string>& environment = {});

// Where the program's 1024x768 window lies on the screen (without a window
// manager SDL centres it, so drags can leave it on a larger screen).
struct ScreenPoint {
  int x = 0;
  int y = 0;
};
ScreenPoint program_window_origin();

// Waits up to 10 s for the screen to show something, then 0.2 s more.
void wait_for_drawing();
// Starts command in directory and waits until its window shows something.
std::unique_ptr<BackgroundProcess> start_window_command(const std::vector<std::string>& command,
                                                        const std::string& directory);
