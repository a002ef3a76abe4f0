#include "common/cell_image.h"

#include <algorithm>

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
    if (colours[x] != 0) texels[x] = colours[x];
  drawn_.include({left, row, right, row + 1});
}
