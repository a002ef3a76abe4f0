// Closing a window from outside its program, under the test's X server.
#pragma once

#include <string>

// Asks the top-level window titled title to close (WM_DELETE_WINDOW), as a
// window manager does when its close box is clicked. False when there is
// no such window.
bool ask_window_to_close(const std::string& title);
