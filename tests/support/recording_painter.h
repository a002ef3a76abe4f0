// A painter for rules tests: records every square the scan paints.
#pragma once

#include "common/cell_painter.h"

#include <cstdint>
#include <tuple>
#include <vector>

struct Square {
  int x, y;
  std::uint32_t colour;
  float size;
  bool operator==(const Square& o) const {
    return std::tie(x, y, colour, size) == std::tie(o.x, o.y, o.colour, o.size);
  }
};

class RecordingPainter final : public CellPainter {
 public:
  void square(int x, int y, std::uint32_t colour, float size) override { squares.push_back({x, y, colour, size}); }
  std::vector<Square> squares;
};
