// A GL window for tests that draw and read pixels back. The video starts
// once per test program (SDL 1.2 has one window) without a catalogue.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Starts the 1024x768 window on first use.
void ensure_video();

// The back buffer, rows from the top, as 0xRRGGBB.
std::vector<std::uint32_t> read_window_pixels();

// Pixel at (x, y), y counted from the top, as 0xRRGGBB.
std::uint32_t window_pixel(int x, int y);

// Counts pixels of the whole window that are not black.
int count_lit_pixels();

// The smallest box holding every pixel of the window that is not black;
// left > right when there is none.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
Box lit_box();

// A screenshot of the whole X screen, rows from the top, as 0xRRGGBB.
struct Screenshot {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t at(int x, int y) const { return pixels[y * width + x]; }
};
// Takes it with ImageMagick's import; saves a PNG copy when png_path is set.
Screenshot take_screenshot(const std::string& png_path = "");
