#include "common/frame_painter.h"

#include "video/video.h"

#include <algorithm>

void GlPointPainter::row(int row, const std::uint32_t* colours, int count, int size) {
  for (int x = count - 1; x >= 0; --x)
    if (colours[x] != 0) draw_square(size * x, size * row, colours[x], static_cast<float>(size));
}

FramePainter::FramePainter() : pixels_(WIDTH * HEIGHT, 0xFF000000u) {}

void FramePainter::clear() {
  for (int row = painted_.top; row < painted_.bottom; ++row)
    std::fill_n(&pixels_[row * WIDTH + painted_.left], painted_.width(), 0xFF000000u);
  painted_ = PixelBounds{};
}

// A grid row's squares cover the band of window rows size * row to
// size * row + size - 1, as draw_square lights them.
void FramePainter::row(int row, const std::uint32_t* colours, int count, int size) {
  if (size <= 0 || row < 0) return;
  const long y = static_cast<long>(size) * row;
  if (y >= HEIGHT) return;
  const int top = static_cast<int>(y);
  const int bottom = static_cast<int>(std::min(y + size, static_cast<long>(HEIGHT)));
  const int columns = static_cast<int>(std::min(static_cast<long>(count), (WIDTH + size - 1L) / size));
  int left = WIDTH, right = 0;
  for (int band_row = top; band_row < bottom; ++band_row) {
    std::uint32_t* const pixels = &pixels_[band_row * WIDTH];
    for (int x = 0; x < columns; ++x) {
      if (colours[x] == 0) continue;
      const int from = size * x;
      const int to = std::min(from + size, WIDTH);
      // Blending is off, so the alpha byte never shows.
      std::fill(pixels + from, pixels + to, colours[x] | 0xFF000000u);
      left = std::min(left, from);
      right = to;
    }
  }
  if (right > left) painted_.include({left, top, right, bottom});
}
