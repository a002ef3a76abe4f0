// A CPU picture of the window that cells are painted into exactly as GL
// rasterises draw_square's points under the pixel projection.
#pragma once

#include "common/cell_painter.h"

#include <cstdint>
#include <string>
#include <vector>

class FramePainter final : public CellPainter {
 public:
  static constexpr int WIDTH = 1024;
  static constexpr int HEIGHT = 768;

  FramePainter();
  // Black, as glClear leaves the window.
  void clear();
  void square(int x, int y, std::uint32_t colour, float size) override;

  // Pixel at column x, row y counted from the top, as 0xFFRRGGBB.
  std::uint32_t pixel(int x, int y) const { return pixels_[y * WIDTH + x]; }
  const std::uint32_t* pixels() const { return pixels_.data(); }

 private:
  // A point at integer (x, y) lights column x of row y - 1: pixel centres lie
  // half a pixel inside, and the top of the projection is window row 0.
  void point(int x, int y, std::uint32_t colour) {
    const int row = y - 1;
    if (static_cast<unsigned>(x) < WIDTH && static_cast<unsigned>(row) < HEIGHT)
      pixels_[row * WIDTH + x] = colour;
  }

  std::vector<std::uint32_t> pixels_;
};
