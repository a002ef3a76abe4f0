// The 641 by 641 grid of cells every program simulates a corner of.
#pragma once

#include <cstddef>

template <typename Cell>
struct CELL_GRID {
  static constexpr int SIDE = 641;

  static bool inside(int x, int y) { return static_cast<unsigned>(x) < SIDE && static_cast<unsigned>(y) < SIDE; }

  // Indexed cells[column X][row Y]; X grows to the right, Y downwards. The
  // cells are stored row after row: the scan visits a row at a time, right
  // to left, so it reads memory in order.
  class Cells {
   public:
    template <typename C>
    class Column {
     public:
      explicit Column(C* top) : top_(top) {}
      C& operator[](int y) const { return top_[static_cast<std::ptrdiff_t>(y) * SIDE]; }

     private:
      C* top_;
    };
    Column<Cell> operator[](int x) { return Column<Cell>(storage_ + x); }
    Column<const Cell> operator[](int x) const { return Column<const Cell>(storage_ + x); }

   private:
    Cell storage_[SIDE * SIDE]{};
  };

  Cells cells;
};
