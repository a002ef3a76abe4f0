// Rules of grains_b and grains_d on hand-built grids.
#include "colour_grid/colour_grid.h"

#include "common/frame_step.h"
#include "support/recording_painter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <tuple>
#include <vector>

namespace {

template <typename Rules>
std::unique_ptr<Rules> empty_grid(std::uint32_t seed = 1) {
  auto rules = std::make_unique<Rules>();
  rules->random = RandomSource(seed);
  return rules;
}

// The values of draws number first to first + count - 1 from seed.
std::vector<int> draws(std::uint32_t seed, int first, int count, int modulo) {
  RandomSource random(seed);
  for (int i = 0; i < first; ++i) random.next();
  std::vector<int> values;
  for (int i = 0; i < count; ++i) values.push_back(random.below(modulo));
  return values;
}

int grains_in(const CELL_GRID<std::uint32_t>& grid) {
  int count = 0;
  for (int x = 0; x < CELL_GRID<std::uint32_t>::SIDE; ++x)
    for (int y = 0; y < CELL_GRID<std::uint32_t>::SIDE; ++y)
      count += grid.cells[x][y] != 0 && grid.cells[x][y] != colour::WALL;
  return count;
}

}  // namespace

TEST(ColourGrid, GrainsDDiagonalChoiceFollowsTheDraw) {
  // A white grain on a wall with both diagonals open: the gate draw, then
  // rand() % 2 picks DR for 1 and DL for 0.
  bool saw_left = false, saw_right = false;
  for (std::uint32_t seed = 1; seed < 40; ++seed) {
    auto rules = empty_grid<GrainsD>(seed);
    auto& cells = rules->grid.cells;
    cells[50][50] = colour::WHITE;
    cells[50][51] = colour::WALL;
    NullPainter none;
    rules->scan(none);
    const auto d = draws(seed, 0, 2, 2);
    if (d[0] != 1) {
      EXPECT_EQ(cells[50][50], colour::WHITE);
      continue;
    }
    const int to_x = d[1] == 1 ? 51 : 49;
    EXPECT_EQ(cells[to_x][51], colour::WHITE) << "seed " << seed;
    EXPECT_EQ(cells[50][50], colour::EMPTY);
    (d[1] == 1 ? saw_right : saw_left) = true;
  }
  EXPECT_TRUE(saw_left && saw_right);
}

TEST(ColourGrid, GrainsDSpreadsSidewaysWhenBothDiagonalsAreBlocked) {
  bool saw_left = false, saw_right = false;
  for (std::uint32_t seed = 1; seed < 40; ++seed) {
    auto rules = empty_grid<GrainsD>(seed);
    auto& cells = rules->grid.cells;
    cells[50][50] = colour::WHITE;
    for (int x = 40; x <= 60; ++x) cells[x][51] = colour::WALL;
    RecordingPainter painter;
    rules->scan(painter);
    const auto d = draws(seed, 0, 2, 2);
    if (d[0] != 1) continue;
    // 1 moves into L, where the scan finds and draws the grain again; 0
    // moves into R, which the scan has passed.
    std::vector<Square> grain;
    for (const Square& square : painter.squares)
      if (square.colour == colour::WHITE) grain.push_back(square);
    if (d[1] == 1) {
      ASSERT_GE(grain.size(), 2u);
      EXPECT_EQ(grain[1], (Square{196, 200, colour::WHITE, 4.0f})) << "seed " << seed;
      saw_left = true;
    } else {
      EXPECT_EQ(cells[51][50], colour::WHITE) << "seed " << seed;
      EXPECT_EQ(grain.size(), 1u);
      saw_right = true;
    }
  }
  EXPECT_TRUE(saw_left && saw_right);
}

TEST(ColourGrid, OneOpenSideOrDiagonalAlwaysTakesTheGrainAfterOneDraw) {
  // Blocked below and on the right: the order draw is made, and the grain
  // always ends on the open side.
  for (std::uint32_t seed = 1; seed < 20; ++seed) {
    auto rules = empty_grid<GrainsD>(seed);
    auto& cells = rules->grid.cells;
    cells[50][50] = colour::WHITE;
    cells[50][51] = cells[51][51] = colour::WALL;
    NullPainter none;
    rules->scan(none);
    if (draws(seed, 0, 1, 2)[0] != 1) continue;
    EXPECT_EQ(cells[49][51], colour::WHITE);
    RandomSource expected(seed);
    expected.next();
    expected.next();
    EXPECT_EQ(rules->random.next(), expected.next()) << "exactly two draws";
  }
}

TEST(ColourGrid, GrainsBDrawsForEveryCellButWallsEmptyOnesIncluded) {
  auto rules = empty_grid<GrainsB>();
  NullPainter none;
  rules->scan(none);
  RandomSource expected;
  for (int i = 0; i < 321 * 321; ++i) expected.next();
  EXPECT_EQ(rules->random.next(), expected.next());

  auto walls = empty_grid<GrainsB>();
  for (int x = 0; x <= 320; ++x)
    for (int y = 0; y <= 320; ++y) walls->grid.cells[x][y] = colour::WALL;
  walls->scan(none);
  EXPECT_EQ(walls->random.next(), RandomSource().next()) << "walls draw nothing";
  EXPECT_EQ(walls->grid.cells[0][0], colour::WALL);
  EXPECT_EQ(walls->grid.cells[320][320], colour::WALL);
}

TEST(ColourGrid, GrainsBGrainInTheLastRowFallsOutOfSight) {
  auto rules = empty_grid<GrainsB>();
  auto& cells = rules->grid.cells;
  cells[10][320] = colour::PINK;
  RecordingPainter painter;
  for (int frame = 0; frame < 50 && cells[10][320] != colour::EMPTY; ++frame) rules->scan(painter);
  ASSERT_EQ(cells[10][321], colour::PINK);
  painter.squares.clear();
  for (int frame = 0; frame < 20; ++frame) rules->scan(painter);
  EXPECT_TRUE(painter.squares.empty());
  EXPECT_EQ(cells[10][321], colour::PINK) << "cells outside the area never move";
}

TEST(ColourGrid, PinkAndWhiteGrainsMoveAlike) {
  auto pink = empty_grid<GrainsB>(7), white = empty_grid<GrainsB>(7);
  for (int x = 100; x < 110; ++x) {
    pink->grid.cells[x][200] = colour::PINK;
    white->grid.cells[x][200] = colour::WHITE;
  }
  pink->grid.cells[104][201] = white->grid.cells[104][201] = colour::WALL;
  NullPainter none;
  for (int frame = 0; frame < 30; ++frame) {
    pink->scan(none);
    white->scan(none);
  }
  for (int x = 0; x < 641; ++x)
    for (int y = 0; y < 641; ++y)
      ASSERT_EQ(pink->grid.cells[x][y] == colour::PINK, white->grid.cells[x][y] == colour::WHITE) << x << "," << y;
}

TEST(ColourGrid, CellsAreDrawnWhereTheScanFindsThem) {
  auto b = empty_grid<GrainsB>();
  b->grid.cells[3][4] = 0x123456;
  b->grid.cells[5][6] = colour::WALL;
  b->grid.cells[321][0] = colour::WHITE;  // outside the area: never drawn
  RecordingPainter painter;
  b->scan(painter);
  // Bottom row first: the wall at row 6 before the grain at row 4.
  ASSERT_EQ(painter.squares.size(), 2u);
  EXPECT_EQ(painter.squares[0], (Square{10, 12, colour::WALL, 2.0f}));
  EXPECT_EQ(painter.squares[1], (Square{6, 8, 0x123456, 2.0f}));

  auto d = empty_grid<GrainsD>();
  d->grid.cells[160][160] = 0x123456;
  d->grid.cells[0][0] = colour::WALL;
  d->grid.cells[161][0] = colour::WHITE;
  painter.squares.clear();
  d->scan(painter);
  ASSERT_EQ(painter.squares.size(), 2u);
  EXPECT_EQ(painter.squares[0], (Square{640, 640, colour::WHITE, 4.0f})) << "non-red colours show white";
  EXPECT_EQ(painter.squares[1], (Square{0, 0, colour::WALL, 4.0f}));
}

TEST(ColourGrid, GrainsInColumnZeroSeeAWallOnTheirLeft) {
  // Blocked below and below-right: column -1 counts as a wall, so the grain
  // can only spread right, and nothing outside the grid is touched.
  for (std::uint32_t seed = 1; seed < 20; ++seed) {
    auto rules = empty_grid<GrainsD>(seed);
    auto& cells = rules->grid.cells;
    cells[0][100] = colour::WHITE;
    cells[0][101] = cells[1][101] = colour::WALL;
    NullPainter none;
    rules->scan(none);
    if (draws(seed, 0, 1, 2)[0] != 1) continue;
    EXPECT_EQ(cells[1][100], colour::WHITE) << "seed " << seed;
  }
}

TEST(ColourGrid, GrainsMovingLeftCanCrossSeveralCellsInOneFrame) {
  int most_cells = 0;
  for (std::uint32_t seed = 1; seed < 60; ++seed) {
    auto rules = empty_grid<GrainsD>(seed);
    auto& cells = rules->grid.cells;
    for (int x = 0; x <= 160; ++x) cells[x][101] = colour::WALL;
    cells[81][100] = colour::WALL;
    cells[80][100] = colour::WHITE;
    NullPainter none;
    rules->scan(none);
    for (int x = 0; x <= 80; ++x)
      if (cells[x][100] == colour::WHITE) most_cells = std::max(most_cells, 80 - x);
  }
  EXPECT_GE(most_cells, 2);
}

TEST(ColourGrid, SpawnDropsGrainsIntoRowOneOnly) {
  auto b = empty_grid<GrainsB>();
  for (int frame = 0; frame < 200; ++frame) b->spawn();
  int pink = 0, white = 0;
  for (int x = 0; x < 641; ++x)
    for (int y = 0; y < 641; ++y) {
      const std::uint32_t cell = b->grid.cells[x][y];
      if (cell == colour::EMPTY) continue;
      ASSERT_EQ(y, 1);
      if (cell == colour::PINK) {
        EXPECT_TRUE(x >= 40 && x < 80) << x;
        ++pink;
      } else {
        EXPECT_EQ(cell, colour::WHITE);
        EXPECT_TRUE(x >= 180 && x < 220) << x;
        ++white;
      }
    }
  EXPECT_GT(pink, 10);
  EXPECT_GT(white, 10);

  // grains_d: passes while the pass number stays below a fresh rand() % 250.
  auto d = empty_grid<GrainsD>();
  d->spawn();
  RandomSource expected;
  std::vector<int> columns;
  for (int pass = 0; pass < expected.below(250); ++pass) columns.push_back(expected.below(640));
  ASSERT_FALSE(columns.empty());
  for (const int x : columns) EXPECT_EQ(d->grid.cells[x][1], colour::WHITE);
  EXPECT_EQ(d->random.next(), expected.next());
}

TEST(ColourGrid, SpawnReplacesWalls) {
  auto b = empty_grid<GrainsB>();
  for (int x = 0; x < 641; ++x) b->grid.cells[x][1] = colour::WALL;
  for (int frame = 0; frame < 50; ++frame) b->spawn();
  int replaced = 0;
  for (int x = 0; x < 641; ++x) replaced += b->grid.cells[x][1] != colour::WALL;
  EXPECT_GT(replaced, 5);
}

TEST(ColourGrid, WallBrushesPrintThePointerAndClipToTheGrid) {
  MOUSE_STATE mouse;
  mouse.right_held = 1;
  auto b = empty_grid<GrainsB>();
  mouse.x = 1023;
  mouse.y = 767;
  testing::internal::CaptureStdout();
  b->mouse_motion(mouse);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "D 1023 767\n");
  EXPECT_EQ(b->grid.cells[511][383], colour::WALL);
  EXPECT_EQ(b->grid.cells[518][390], colour::WALL);
  EXPECT_EQ(b->grid.cells[519][390], colour::EMPTY);

  auto d = empty_grid<GrainsD>();
  mouse.x = 639;
  mouse.y = 638;
  testing::internal::CaptureStdout();
  d->mouse_motion(mouse);
  mouse.x = mouse.y = 65535;
  d->mouse_motion(mouse);
  mouse.right_held = 0;
  mouse.x = mouse.y = 10;
  d->mouse_motion(mouse);  // button up: nothing
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "D 639 638\nD 65535 65535\n");
  int walls = 0;
  for (int x = 0; x < GrainsD::Grid::SIDE; ++x)
    for (int y = 0; y < GrainsD::Grid::SIDE; ++y) walls += d->grid.cells[x][y] == colour::WALL;
  EXPECT_EQ(walls, 2 * 3);
  EXPECT_EQ(d->grid.cells[640][640], colour::WALL);
  EXPECT_EQ(d->grid.cells[639][638], colour::WALL);
}

TEST(ColourGrid, SameStartSameFrames) {
  auto first = empty_grid<GrainsB>(), second = empty_grid<GrainsB>();
  NullPainter none;
  MOUSE_STATE mouse;
  for (int frame = 0; frame < 300; ++frame) {
    step_frame(*first, mouse, {}, none);
    step_frame(*second, mouse, {}, none);
  }
  EXPECT_GT(grains_in(first->grid), 50);
  EXPECT_EQ(std::memcmp(&first->grid.cells, &second->grid.cells, sizeof first->grid.cells), 0);
}
