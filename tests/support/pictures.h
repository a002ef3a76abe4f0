// Pictures for tests of the image bank: surfaces painted pixel by pixel,
// picture files, and texture contents read back from GL.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Colour of pixel (x, y) as 0xRRGGBB.
using PixelPaint = std::function<std::uint32_t(int x, int y)>;

// A 24-bit surface, bytes blue, green, red, as SDL loads 24-bit BMP files.
SDL_Surface* make_surface(int width, int height, const PixelPaint& paint);
// A surface of the given depth and masks (an 8-bit one gets a palette of
// 256 colours, index i being palette_colour(i)) painted with paint, which
// must give palette colours for an 8-bit surface.
SDL_Surface* make_surface_in(int width, int height, int bits, std::uint32_t red_mask, std::uint32_t green_mask,
                             std::uint32_t blue_mask, const PixelPaint& paint);
std::uint32_t palette_colour(int index);

// Writes a 24-bit BMP file and returns its path.
std::string save_bmp(const std::string& path, int width, int height, const PixelPaint& paint);

// Pixel (x, y) of a surface as 0xRRGGBB.
std::uint32_t surface_pixel(SDL_Surface* surface, int x, int y);

// Size of level `level` of texture name `texture` (0 by 0 when it has none).
struct TextureSize {
  int width = 0;
  int height = 0;
};
TextureSize texture_size(int texture, int level = 0);
// Level 0 of a texture, rows from its first (t = 0), as 0xRRGGBB.
std::vector<std::uint32_t> texture_pixels(int texture);
std::uint32_t texture_pixel(int texture, int x, int y);
