// How the scan draws a cell: a square of points, as draw_square makes it.
#pragma once

#include <cstdint>

class CellPainter {
 public:
  virtual ~CellPainter() = default;
  // A size-by-size square with its top-left point at window pixel (x, y).
  virtual void square(int x, int y, std::uint32_t colour, float size) = 0;
};

// Draws nothing: for runs that only simulate.
class NullPainter final : public CellPainter {
 public:
  void square(int, int, std::uint32_t, float) override {}
};

// Draws through the engine's draw_square, into the current GL frame.
class GlPointPainter final : public CellPainter {
 public:
  void square(int x, int y, std::uint32_t colour, float size) override;
};
