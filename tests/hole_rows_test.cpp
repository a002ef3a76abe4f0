// The flow search's hole finder against a plain walk along the row, on
// random rows that fill up the way a scan fills them.
#include "kind_grid/kind_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

namespace {

using Grid = CELL_GRID<CELL_A>;
constexpr int NOT_FOUND = -1;

int walk_right(const Grid& grid, int x, int row) {
  for (int m = x; m <= 319; ++m)
    if (grid.cells[m][row].kind == kind::EMPTY) return m;
  return NOT_FOUND;
}

int walk_left(const Grid& grid, int x, int row) {
  for (int m = std::min(x - 1, 319); m >= 1; --m)
    if (grid.cells[m][row].kind == kind::EMPTY) return m;
  return NOT_FOUND;
}

// Rows 0 to 324 with holes at a density that changes from row to row, from
// none to every cell, so that words of 64 cells are full, empty or mixed.
void fill_randomly(Grid& grid, std::mt19937& random) {
  for (int row = 0; row <= 324; ++row) {
    const double holes = std::uniform_real_distribution<double>(-0.2, 1.2)(random);
    for (int x = 0; x < Grid::SIDE; ++x)
      grid.cells[x][row].kind = std::uniform_real_distribution<double>(0, 1)(random) < holes ? kind::EMPTY : kind::WALL;
  }
}

// grains_c's distance after rows 2 to depth: from the deepest of them with
// a hole on that side, columns times the row's depth.
int weighted_walk(const Grid& grid, int x, int y, int depth, bool right) {
  int distance = NOT_FOUND;
  for (int row = 2; row <= depth; ++row) {
    const int hole = right ? walk_right(grid, x, y + row) : walk_left(grid, x, y + row);
    if (hole != NOT_FOUND) distance = (right ? hole - x : x - hole) * row;
  }
  return distance;
}

// A scan of every row bottom-up, right to left: at each column a few cells
// of the row below fill up, then every depth is searched.
template <bool WEIGHTED>
int mismatches_over_a_scan(std::uint32_t seed) {
  auto grid = std::make_unique<Grid>();
  std::mt19937 random(seed);
  fill_randomly(*grid, random);
  HoleRows<Grid, GrainsA::LAST, WEIGHTED> holes(*grid);
  holes.start_scan();
  int mismatches = 0;
  for (int y = 320; y >= 0; --y) {
    for (int x = 320; x >= 0; --x) {
      for (int column = std::max(x - 1, 0); column <= std::min(x + 1, 320); ++column) {
        if (random() % 8 != 0 || grid->cells[column][y + 1].kind != kind::EMPTY) continue;
        grid->cells[column][y + 1].kind = kind::GRAIN_2;
        holes.filled(column, y + 1);
      }
      holes.look_below(y);
      const auto below = holes.holes_below(x);
      mismatches += below.right != walk_right(*grid, x, y + 1);
      mismatches += below.left != walk_left(*grid, x, y + 1);
      holes.look_deeper();
      for (int depth = 1; depth <= 4; ++depth) {
        mismatches += holes.first_empty_right(x, depth) != walk_right(*grid, x, y + depth);
        mismatches += holes.first_empty_left(x, depth) != walk_left(*grid, x, y + depth);
        if (!WEIGHTED || depth == 1) continue;
        mismatches += holes.deep_right(x, depth) != weighted_walk(*grid, x, y, depth, true);
        mismatches += holes.deep_left(x, depth) != weighted_walk(*grid, x, y, depth, false);
      }
    }
  }
  return mismatches;
}

}  // namespace

TEST(HoleRows, FindTheNearestHolesOfAPlainWalkAsTheRowsBelowFillUp) {
  for (const std::uint32_t seed : {1u, 2u, 3u}) {
    EXPECT_EQ(mismatches_over_a_scan<false>(seed), 0) << "bits only, seed " << seed;
    EXPECT_EQ(mismatches_over_a_scan<true>(seed), 0) << "weighted, seed " << seed;
  }
}
