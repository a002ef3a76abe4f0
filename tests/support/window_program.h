// Running a grain program in its real window under the test's X server.
#pragma once

#include "support/process.h"

#include <memory>
#include <string>

// Runs xdotool with these arguments; a failure fails the test.
void xdotool(const std::string& arguments);

void pause_ms(int ms);

// Starts a program from the project's folder and waits for its window.
std::unique_ptr<BackgroundProcess> start_window_program(const std::string& program);
// Waits up to 10 s for the screen to show something, then 0.2 s more.
void wait_for_drawing();
// Starts command in directory and waits until its window shows something.
std::unique_ptr<BackgroundProcess> start_window_command(const std::vector<std::string>& command,
                                                        const std::string& directory);
