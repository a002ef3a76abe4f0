// A CPU picture of the window that cells are painted into exactly as
// draw_square lights them under the pixel projection: cell (X, Y) of size s
// is the s-by-s square of pixels whose top-left pixel is (s * X, s * Y).
#pragma once

#include "common/cell_painter.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// A rectangle of pixels, right and bottom exclusive; empty when right <= left.
struct PixelBounds {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool empty() const { return right <= left || bottom <= top; }
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  // Grows to hold another rectangle as well.
  void include(const PixelBounds& other) {
    if (empty()) {
      *this = other;
      return;
    }
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
  }
};

class FramePainter final : public CellPainter {
 public:
  static constexpr int WIDTH = 1024;
  static constexpr int HEIGHT = 768;

  FramePainter();
  // Black, as glClear leaves the window.
  void clear();
  void row(int row, const std::uint32_t* colours, int count, int size) override;

  // Pixel at column x, row y counted from the top, as 0xFFRRGGBB.
  std::uint32_t pixel(int x, int y) const { return pixels_[y * WIDTH + x]; }
  const std::uint32_t* pixels() const { return pixels_.data(); }
  // The smallest rectangle holding every pixel painted since the last clear.
  const PixelBounds& painted() const { return painted_; }

 private:
  std::vector<std::uint32_t> pixels_;
  PixelBounds painted_;
};
