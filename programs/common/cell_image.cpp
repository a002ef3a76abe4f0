#include "common/cell_image.h"

#include <algorithm>

namespace {

// A colour as GL reads its texel: the desktop's GL takes 0xAARRGGBB words;
// the browser's takes bytes red, green, blue, alpha, which a little-endian
// word holds as 0xAABBGGRR.
std::uint32_t texel_of(std::uint32_t colour) {
#ifdef __EMSCRIPTEN__
  return (colour & 0xFF00FF00u) | (colour >> 16 & 0xFFu) | (colour & 0xFFu) << 16;
#else
  return colour;
#endif
}

}  // namespace

CellImage::CellImage() : texels_(COLUMNS * ROWS, 0) {}

void CellImage::clear() {
  for (int y = drawn_.top; y < drawn_.bottom; ++y) std::fill_n(&texels_[y * COLUMNS + drawn_.left], drawn_.width(), 0u);
  drawn_ = PixelBounds{};
  size_ = 0;
}

void CellImage::row(int row, const std::uint32_t* colours, int count, int size) {
  if (size_ == 0) size_ = size;
  if (size != size_ || size <= 0 || row < 0 || row >= ROWS) return;
  // Rows whose squares start below the window, and cells whose squares
  // start right of it, never show.
  if (static_cast<long>(size) * row >= FramePainter::HEIGHT) return;
  const int columns = std::min(count, (COLUMNS + size - 1) / size);
  int left = 0;
  while (left < columns && colours[left] == 0) ++left;
  int right = columns;
  while (right > left && colours[right - 1] == 0) --right;
  if (left == right) return;
  std::uint32_t* const texels = &texels_[row * COLUMNS];
  for (int x = left; x < right; ++x)
    if (colours[x] != 0) texels[x] = texel_of(colours[x]);
  drawn_.include({left, row, right, row + 1});
}
