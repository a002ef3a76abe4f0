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
  // One square per drawn cell, in the order the points path draws them.
  void row(int row, const std::uint32_t* colours, int count, int size) override {
    for (int x = count - 1; x >= 0; --x)
      if (colours[x] != 0) squares.push_back({size * x, size * row, colours[x], static_cast<float>(size)});
  }
  std::vector<Square> squares;
};
