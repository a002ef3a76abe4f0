#include "common/frame_painter.h"

#include "video/video.h"

#include <algorithm>
#include <cmath>

void GlPointPainter::square(int x, int y, std::uint32_t colour, float size) {
  draw_square(x, y, colour, size);
}

namespace {

// draw_square's loops run while the counter is below the size: a side of
// ceil(size) points, none for sizes of 0 or less. Sides beyond the window
// change nothing once clipped.
long points_per_side(float size) {
  if (!(size > 0.0f)) return 0;
  return static_cast<long>(std::ceil(std::min(size, 4096.0f)));
}

}  // namespace

FramePainter::FramePainter() : pixels_(WIDTH * HEIGHT, 0xFF000000u) {}

void FramePainter::clear() {
  for (int row = painted_.top; row < painted_.bottom; ++row)
    std::fill_n(&pixels_[row * WIDTH + painted_.left], painted_.width(), 0xFF000000u);
  painted_ = PixelBounds{};
}

// A point at integer (x, y) lights column x of row y - 1: pixel centres lie
// half a pixel inside, and the top of the projection is window row 0. So the
// square covers columns x .. x + side - 1 and rows y - 1 .. y + side - 2.
void FramePainter::square(int x, int y, std::uint32_t colour, float size) {
  const long side = points_per_side(size);
  const PixelBounds covered{static_cast<int>(std::max<long>(x, 0)), static_cast<int>(std::max<long>(y - 1L, 0)),
                            static_cast<int>(std::min<long>(x + side, WIDTH)),
                            static_cast<int>(std::min<long>(y - 1L + side, HEIGHT))};
  if (covered.empty()) return;
  // Blending is off, so the alpha byte never shows.
  colour |= 0xFF000000u;
  for (int row = covered.top; row < covered.bottom; ++row)
    std::fill_n(&pixels_[row * WIDTH + covered.left], covered.width(), colour);
  grow_painted(covered);
}

void FramePainter::grow_painted(const PixelBounds& square) {
  if (painted_.empty()) {
    painted_ = square;
    return;
  }
  painted_.left = std::min(painted_.left, square.left);
  painted_.top = std::min(painted_.top, square.top);
  painted_.right = std::max(painted_.right, square.right);
  painted_.bottom = std::max(painted_.bottom, square.bottom);
}
