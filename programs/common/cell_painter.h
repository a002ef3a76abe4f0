// How the scan draws its cells: a grid row at a time, each cell a square of
// points as draw_square makes it.
#pragma once

#include <cstdint>

class CellPainter {
 public:
  virtual ~CellPainter() = default;
  // The cells of grid row `row` as the scan saw them: colours[x] for
  // columns 0 to count - 1, where 0 (black, as the window is cleared) is a
  // cell not drawn. Cell x is the size-by-size square of points whose
  // top-left point is at window pixel (size * x, size * row); the squares
  // are drawn right to left, the order the scan visits them.
  virtual void row(int row, const std::uint32_t* colours, int count, int size) = 0;
};

// Draws nothing: for runs that only simulate.
class NullPainter final : public CellPainter {
 public:
  void row(int, const std::uint32_t*, int, int) override {}
};

// Draws through the engine's draw_square, into the current GL frame.
class GlPointPainter final : public CellPainter {
 public:
  void row(int row, const std::uint32_t* colours, int count, int size) override;
};
