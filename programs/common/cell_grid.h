// The 641 by 641 grid of cells every program simulates a corner of.
#pragma once

template <typename Cell>
struct CELL_GRID {
  static constexpr int SIDE = 641;

  static bool inside(int x, int y) {
    return static_cast<unsigned>(x) < SIDE && static_cast<unsigned>(y) < SIDE;
  }

  // Indexed [column X][row Y]; X grows to the right, Y downwards.
  Cell cells[SIDE][SIDE]{};
};
