// The work on pictures that the browser's SDL cannot do for the image bank,
// done on pixels in memory as the desktop's SDL and SDL_image do it:
// reading a PNG file into the surface SDL_image makes of it, blitting an
// area of a sheet into a cell, and converting a picture to GL's upload
// layout. Built for the browser (sdl_pixels_browser.cpp, used by
// bank_browser.cpp); the desktop's tests hold it to SDL and SDL_image.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace grains {

// How a surface's pixels lie.
struct PixelFormat {
  int bytes_per_pixel = 0;  // 1 (palette), 3 or 4
  // Red, green, blue and alpha masks of a pixel's value, read as a
  // little-endian number; zeros for a palette.
  std::uint32_t masks[4] = {};
  std::vector<std::array<std::uint8_t, 3>> palette;  // red, green, blue
  bool alpha_blended = false;                        // SDL_SRCALPHA: blits blend by the alpha channel
  bool keyed = false;                                // SDL_SRCCOLORKEY: blits leave out pixels of value key
  std::uint32_t key = 0;
};

// Pixels in memory: width x height, rows pitch bytes apart.
struct PixelRows {
  int width = 0, height = 0, pitch = 0;
  const PixelFormat* format = nullptr;
  std::uint8_t* data = nullptr;
};

// A picture read from a file, laid out as SDL_image lays it out.
struct LoadedPicture {
  int width = 0, height = 0, pitch = 0;
  PixelFormat format;
  std::vector<std::uint8_t> pixels;  // height rows of pitch bytes
};

// The PNG file at path; nothing, with the reason in error, when it cannot
// be read.
std::optional<LoadedPicture> read_png_picture(const char* path, std::string& error);

// An area of pixels: x, y from the top-left corner.
struct PixelArea {
  int x = 0, y = 0, width = 0, height = 0;
};

// Copies area `from` of source to the top-left corner of destination, a
// surface of 3 or 4 bytes a pixel with 8-bit masks, as SDL blits: only what
// lies within both, colours converted, blended by the source's alpha over
// what destination holds when the source is alpha-blended, pixels of its
// key left out when it is keyed.
void blit_area(const PixelRows& source, PixelArea from, const PixelRows& destination);

// The pixels as GL's upload takes them: three bytes a pixel, blue, green,
// red, rows padded to 4 bytes, the colours of every format kept and alpha
// dropped, as SDL_ConvertSurface makes them.
std::vector<std::uint8_t> upload_layout(const PixelRows& source);

}  // namespace grains
