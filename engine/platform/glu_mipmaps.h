// The first level of the mipmap chain that the desktop's GLU
// (gluBuild2DMipmaps) makes of a picture whose sides are not powers of two:
// the picture scaled to GLU's power-of-two sides by its box filter. The
// browser has no GLU; its GL seam builds the same level from these
// (glu_mipmaps_browser.cpp, which the desktop's tests check against GLU).
#pragma once

#include <cstdint>
#include <vector>

namespace grains {

// The power of two GLU scales a side to: the nearest, rounding up when the
// side's two highest bits are set (96 becomes 128, 80 becomes 64).
int glu_power_of_two(int side);

// Texels of width x height pixels of `components` bytes, rows `row_bytes`
// apart, scaled to new_width x new_height as GLU scales them; the rows of
// the result are tight (new_width * components bytes).
std::vector<std::uint8_t> glu_scaled(const std::uint8_t* texels, int width, int height, int components, int row_bytes,
                                     int new_width, int new_height);

}  // namespace grains
