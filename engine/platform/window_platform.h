// What start_video does on each platform once the window is open
// (window_desktop.cpp, window_browser.cpp: CMake builds the platform's).
#pragma once

namespace grains {

// On the desktop: smooth shading and the nicest perspective correction.
// The browser's GL (WebGL, under Emscripten's GL emulation) has neither
// setting, its shading being always smooth and its texturing always
// perspective-correct, so there they are left out; and the canvas's
// pointer reaches the program from the page (page_pointer.h) rather than
// from the browser's SDL.
void set_up_window_platform();

}  // namespace grains
