// The cells of a frame at one texel per cell, for the upload path: a grid
// row is one row of texels, ready to be magnified by the cell size onto the
// window in one textured quad.
#pragma once

#include "common/cell_painter.h"
#include "common/frame_painter.h"

#include <cstdint>
#include <vector>

class CellImage final : public CellPainter {
 public:
  // Enough texels for every cell that can reach the window: column x shows
  // while size * x < 1024, row y while size * y < 768.
  static constexpr int COLUMNS = FramePainter::WIDTH;
  static constexpr int ROWS = FramePainter::HEIGHT;

  CellImage();
  // No cells, and no cell size yet.
  void clear();
  // Every row of a frame has the size of its first one (each program draws
  // one size); a row of another size is left out.
  void row(int row, const std::uint32_t* colours, int count, int size) override;

  // The texel of the cell in column x, row y: its colour as given, alpha
  // byte included, or 0 where no cell was drawn (as glClear leaves it).
  std::uint32_t texel(int x, int y) const { return texels_[y * COLUMNS + x]; }
  const std::uint32_t* texels() const { return texels_.data(); }
  // The smallest rectangle of cells holding every drawn one since the last
  // clear, and their side in pixels.
  const PixelBounds& drawn() const { return drawn_; }
  int cell_size() const { return size_; }

 private:
  std::vector<std::uint32_t> texels_;
  PixelBounds drawn_;
  int size_ = 0;
};
