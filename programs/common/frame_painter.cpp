#include "common/frame_painter.h"

#include "video/video.h"

#include <algorithm>

void GlPointPainter::square(int x, int y, std::uint32_t colour, float size) {
  draw_square(x, y, colour, size);
}

FramePainter::FramePainter() : pixels_(WIDTH * HEIGHT) { clear(); }

void FramePainter::clear() { std::fill(pixels_.begin(), pixels_.end(), 0xFF000000u); }

void FramePainter::square(int x, int y, std::uint32_t colour, float size) {
  // Blending is off, so the alpha byte never shows.
  colour |= 0xFF000000u;
  if (size == 1.0f) {
    point(x, y, colour);
    return;
  }
  for (int i = 0; i < size; ++i)
    for (int j = 0; j < size; ++j) point(x + j, y + i, colour);
}
