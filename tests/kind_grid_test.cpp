// Rules of grains_a and grains_c on hand-built scenes in the real grid. Each
// scene's random draws are known: the scan draws a gate for every visited
// cell (one draw in grains_a, two in grains_c), and only grains draw more.
// A test picks the first seed whose draws give the case it wants.
#include "kind_grid/kind_grid.h"

#include "common/frame_step.h"
#include "support/recording_painter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr std::uint32_t RED = 0xFF0000, GREEN = 0x00FF00, BLUE = 0x0000FF, CYAN = 0x00FFFF, WHITE = 0xFFFFFF;

template <typename Rules>
constexpr int DRAWS_PER_CELL = Rules::IS_A ? 1 : 2;

// How many cells the scan visits before (x, y).
long cells_before(int x, int y) { return (320L - y) * 321 + (320 - x); }

// The random source as the scan reaches cell (x, y), when every cell visited
// before made its gate draws and nothing else.
template <typename Rules>
RandomSource source_at(std::uint32_t seed, int x, int y) {
  RandomSource random(seed);
  for (long i = 0; i < cells_before(x, y) * DRAWS_PER_CELL<Rules>; ++i) random.next();
  return random;
}

// Makes one cell's gate draws; true when a grain there tries to move.
template <typename Rules>
bool gate(RandomSource& random) {
  if constexpr (Rules::IS_A) return random.below(2) == 1;
  const int r1 = random.next();
  const int r2 = random.next();
  return r1 % (r2 % 10 + 1) != 1;
}

// The first seed whose draws from cell (x, y) on pass check.
template <typename Rules, typename Check>
std::uint32_t first_seed(int x, int y, Check check) {
  for (std::uint32_t seed = 1; seed < 2000; ++seed) {
    RandomSource random = source_at<Rules>(seed, x, y);
    if (check(random)) return seed;
  }
  ADD_FAILURE() << "no seed found";
  return 1;
}

// A seed with which the grain at (x, y) tries to move and makes no draw of
// its own, and the grain that lands in the next cell (x - 1, y), if any, stays.
template <typename Rules>
std::uint32_t seed_moving_once(int x, int y) {
  return first_seed<Rules>(x, y, [](RandomSource& r) { return gate<Rules>(r) && !gate<Rules>(r); });
}

// A seed with which the grains at these cells, none drawing more than its
// gate, all try to move.
template <typename Rules>
std::uint32_t seed_passing_gates(const std::vector<std::pair<int, int>>& cells) {
  for (std::uint32_t seed = 1; seed < 2000; ++seed) {
    bool all = true;
    for (const auto& [x, y] : cells) {
      RandomSource random = source_at<Rules>(seed, x, y);
      all = all && gate<Rules>(random);
    }
    if (all) return seed;
  }
  ADD_FAILURE() << "no seed found";
  return 1;
}

template <typename Rules>
std::unique_ptr<Rules> rules_with_seed(std::uint32_t seed) {
  auto rules = std::make_unique<Rules>();
  rules->random = RandomSource(seed);
  return rules;
}

// True when the rules' source has made exactly `count` draws from seed.
bool made_draws(RandomSource random, std::uint32_t seed, long count) {
  RandomSource expected(seed);
  for (long i = 0; i < count; ++i) expected.next();
  for (int i = 0; i < 4; ++i)
    if (random.next() != expected.next()) return false;
  return true;
}

MOUSE_STATE mouse_at(int x, int y) {
  MOUSE_STATE mouse;
  mouse.x = x;
  mouse.y = y;
  return mouse;
}

template <typename Rules>
void scan_once(Rules& rules) {
  NullPainter none;
  rules.scan(none);
}

// Walls in rows y + 1 to y + 4 from column first to column last, except the
// holes, given as {column, depth}.
template <typename Rules>
void wall_rows_below(Rules& rules, int y, std::initializer_list<std::pair<int, int>> holes, int first = 0,
                     int last = 320) {
  for (int depth = 1; depth <= 4; ++depth)
    for (int x = first; x <= last; ++x) rules.grid.cells[x][y + depth].kind = kind::WALL;
  for (const auto& [x, depth] : holes) rules.grid.cells[x][y + depth].kind = kind::EMPTY;
}

template <typename Rules>
int count_kind(const Rules& rules, std::int32_t wanted) {
  int count = 0;
  for (int x = 0; x < Rules::Grid::SIDE; ++x)
    for (int y = 0; y < Rules::Grid::SIDE; ++y) count += rules.grid.cells[x][y].kind == wanted;
  return count;
}

template <typename Rules>
class BothVariants : public testing::Test {};
using Variants = testing::Types<GrainsA, GrainsC>;
TYPED_TEST_SUITE(BothVariants, Variants);

// A grain of kind 2, with velocities (and a colour) to follow.
template <typename Rules>
typename Rules::Cell marked_grain() {
  typename Rules::Cell grain;
  grain.kind = kind::GRAIN_2;
  grain.vx = 0.5f;
  grain.vy = 0.25f;
  if constexpr (!Rules::IS_A) grain.colour = CYAN;
  return grain;
}

// In grains_a a move writes kind and the velocities of the table; in grains_c
// it copies the grain's record.
template <typename Rules>
void expect_moved_grain(const typename Rules::Cell& cell, float vx, float vy) {
  EXPECT_EQ(cell.kind, kind::GRAIN_2);
  if constexpr (Rules::IS_A) {
    EXPECT_EQ(cell.vx, vx);
    EXPECT_EQ(cell.vy, vy);
  } else {
    EXPECT_EQ(cell.vx, 0.5f);
    EXPECT_EQ(cell.vy, 0.25f);
    EXPECT_EQ(cell.colour, CYAN);
  }
}

}  // namespace

// ---------------------------------------------------------------- cells

static_assert(sizeof(CELL_A) == 12 && offsetof(CELL_A, vx) == 4 && offsetof(CELL_A, vy) == 8);
static_assert(sizeof(CELL_C) == 16 && offsetof(CELL_C, colour) == 12);

// Static storage, as in the programs.
static GrainsA static_a;
static GrainsC static_c;

TEST(KindGrid, StaticInitialisationGivesEveryCellItsDefaults) {
  for (const auto& [x, y] : {std::pair{0, 0}, {320, 320}, {640, 640}, {0, 640}, {500, 3}}) {
    EXPECT_EQ(static_a.grid.cells[x][y].kind, 0);
    EXPECT_EQ(static_a.grid.cells[x][y].vx, 0.0f);
    EXPECT_EQ(static_a.grid.cells[x][y].vy, 1.0f);
    EXPECT_EQ(static_c.grid.cells[x][y].kind, 0);
    EXPECT_EQ(static_c.grid.cells[x][y].vx, 0.0f);
    EXPECT_EQ(static_c.grid.cells[x][y].vy, 1.0f);
    EXPECT_EQ(static_c.grid.cells[x][y].colour, 0xFF0000u);
  }
}

TYPED_TEST(BothVariants, StartUpClearSetsKindOnlyInTheSimulatedArea) {
  auto rules = rules_with_seed<TypeParam>(1);
  for (int x = 0; x < 641; ++x)
    for (int y = 0; y < 641; ++y) rules->grid.cells[x][y] = marked_grain<TypeParam>();
  rules->clear_grid();
  for (int x = 0; x < 641; ++x)
    for (int y = 0; y < 641; ++y) {
      const auto& cell = rules->grid.cells[x][y];
      ASSERT_EQ(cell.kind, x <= 320 && y <= 320 ? kind::EMPTY : kind::GRAIN_2) << x << "," << y;
      ASSERT_EQ(cell.vx, 0.5f);
      ASSERT_EQ(cell.vy, 0.25f);
      if constexpr (!TypeParam::IS_A) {
        ASSERT_EQ(cell.colour, CYAN);
      }
    }
  EXPECT_TRUE(made_draws(rules->random, 1, 0));
}

// ---------------------------------------------------------------- scan

TYPED_TEST(BothVariants, EveryVisitedCellDrawsItsGateEmptyAndWallCellsIncluded) {
  auto empty = rules_with_seed<TypeParam>(3);
  scan_once(*empty);
  EXPECT_TRUE(made_draws(empty->random, 3, 321L * 321 * DRAWS_PER_CELL<TypeParam>));

  auto walls = rules_with_seed<TypeParam>(3);
  for (int x = 0; x <= 320; ++x)
    for (int y = 0; y <= 320; ++y) walls->grid.cells[x][y].kind = kind::WALL;
  scan_once(*walls);
  EXPECT_TRUE(made_draws(walls->random, 3, 321L * 321 * DRAWS_PER_CELL<TypeParam>));
  EXPECT_EQ(count_kind(*walls, kind::WALL), 321 * 321);
}

TEST(KindGrid, GrainsCMovesUnlessTheFirstDrawModuloTheSecondIsOne) {
  // Seeds where the gate of (100, 100) fails and where it passes.
  const auto fails = [](RandomSource& r) {
    const int r1 = r.next(), r2 = r.next();
    return r1 % (r2 % 10 + 1) == 1;
  };
  for (const bool moves : {false, true}) {
    const std::uint32_t seed = first_seed<GrainsC>(100, 100, [&](RandomSource& r) { return fails(r) != moves; });
    auto rules = rules_with_seed<GrainsC>(seed);
    rules->grid.cells[100][100].kind = kind::GRAIN_4;
    scan_once(*rules);
    EXPECT_EQ(rules->grid.cells[100][101].kind, moves ? kind::GRAIN_4 : kind::EMPTY) << seed;
    EXPECT_EQ(rules->grid.cells[100][100].kind, moves ? kind::EMPTY : kind::GRAIN_4);
  }
}

TEST(KindGrid, CellsArePaintedInTheirKindsColourWhereTheScanFindsThem) {
  auto a = rules_with_seed<GrainsA>(1);
  auto& cells = a->grid.cells;
  cells[10][300].kind = kind::WALL;
  cells[20][300].kind = kind::GRAIN_2;
  cells[30][300].kind = kind::GRAIN_4;
  cells[40][300].kind = kind::GRAIN_6;
  cells[50][300].kind = 3;  // never produced: moves, but is not painted
  cells[60][310].kind = kind::WALL;
  cells[321][0].kind = kind::WALL;  // outside the simulated area: never painted
  cells[0][321].kind = kind::GRAIN_2;
  RecordingPainter painter;
  a->scan(painter);
  EXPECT_EQ(painter.squares, (std::vector<Square>{{120, 620, WHITE, 2.0f},
                                                  {80, 600, BLUE, 2.0f},
                                                  {60, 600, GREEN, 2.0f},
                                                  {40, 600, RED, 2.0f},
                                                  {20, 600, WHITE, 2.0f}}));

  auto c = rules_with_seed<GrainsC>(1);
  c->grid.cells[5][6].kind = kind::GRAIN_2;  // the default colour: red
  c->grid.cells[7][6].kind = kind::GRAIN_2;
  c->grid.cells[7][6].colour = CYAN;
  c->grid.cells[9][6].kind = kind::GRAIN_4;
  c->grid.cells[9][6].colour = CYAN;  // only kind 2 shows its colour
  painter.squares.clear();
  c->scan(painter);
  EXPECT_EQ(painter.squares, (std::vector<Square>{{18, 12, GREEN, 2.0f}, {14, 12, CYAN, 2.0f}, {10, 12, RED, 2.0f}}));
}

// ---------------------------------------------------------------- falling and sliding

TYPED_TEST(BothVariants, GrainInRow319WithAnEmptyCellBelowIsRemoved) {
  const auto gates = [](RandomSource& r) { return gate<TypeParam>(r); };
  auto rules = rules_with_seed<TypeParam>(first_seed<TypeParam>(100, 319, gates));
  rules->grid.cells[100][319] = marked_grain<TypeParam>();
  scan_once(*rules);
  const auto& left = rules->grid.cells[100][319];
  EXPECT_EQ(left.kind, kind::EMPTY);
  EXPECT_EQ(left.vx, 0.0f);
  EXPECT_EQ(left.vy, 0.0f);
  if constexpr (!TypeParam::IS_A) {
    EXPECT_EQ(left.colour, CYAN) << "clearing keeps the colour";
  }
  EXPECT_EQ(count_kind(*rules, kind::GRAIN_2), 0) << "nothing enters row 320";

  // One row higher the grain is in the inner area and falls.
  auto higher = rules_with_seed<TypeParam>(first_seed<TypeParam>(100, 318, gates));
  higher->grid.cells[100][318] = marked_grain<TypeParam>();
  scan_once(*higher);
  EXPECT_EQ(higher->grid.cells[100][318].kind, kind::EMPTY);
  EXPECT_EQ(higher->grid.cells[100][319].kind, kind::GRAIN_2);
}

TYPED_TEST(BothVariants, GrainsOutsideTheInnerAreaThatCouldMoveAreRemoved) {
  // Column 0 with only DR open, column 319 and 320 falling, column 319 with
  // both diagonals open: all removed, and the last makes no side draw.
  const std::vector<std::pair<int, int>> grains{{0, 150}, {319, 200}, {320, 250}, {319, 100}};
  const std::uint32_t chosen = seed_passing_gates<TypeParam>(grains);
  auto rules = rules_with_seed<TypeParam>(chosen);
  auto& cells = rules->grid.cells;
  for (const auto& [x, y] : grains) cells[x][y].kind = kind::GRAIN_6;
  cells[0][151].kind = kind::WALL;
  cells[319][101].kind = kind::WALL;
  scan_once(*rules);
  EXPECT_EQ(count_kind(*rules, kind::GRAIN_6), 0);
  EXPECT_EQ(count_kind(*rules, kind::WALL), 2);
  EXPECT_TRUE(made_draws(rules->random, chosen, 321L * 321 * DRAWS_PER_CELL<TypeParam>));
}

TYPED_TEST(BothVariants, BlockedGrainsOutsideTheInnerAreaStay) {
  // Column 0 blocked below and below-right stays: column -1 reads as a wall.
  // Columns 319 and 320 on full wall rows stay: the flow needs the inner area.
  const std::vector<std::pair<int, int>> grains{{0, 150}, {319, 200}, {320, 250}};
  const std::uint32_t chosen = seed_passing_gates<TypeParam>(grains);
  auto rules = rules_with_seed<TypeParam>(chosen);
  auto& cells = rules->grid.cells;
  for (const auto& [x, y] : grains) cells[x][y].kind = kind::GRAIN_6;
  cells[0][151].kind = cells[1][151].kind = kind::WALL;
  wall_rows_below(*rules, 200, {});
  wall_rows_below(*rules, 250, {}, 0, 321);  // column 321 is DR of column 320
  scan_once(*rules);
  for (const auto& [x, y] : grains) EXPECT_EQ(cells[x][y].kind, kind::GRAIN_6) << x << "," << y;
  EXPECT_TRUE(made_draws(rules->random, chosen, 321L * 321 * DRAWS_PER_CELL<TypeParam>));
}

TYPED_TEST(BothVariants, FallWritesTheGrainIntoTheCellBelow) {
  auto rules = rules_with_seed<TypeParam>(seed_moving_once<TypeParam>(100, 100));
  auto& cells = rules->grid.cells;
  cells[100][100] = marked_grain<TypeParam>();
  cells[100][101].vx = 0.75f;
  cells[100][101].vy = 0.125f;
  scan_once(*rules);
  // grains_a: B keeps its own vx and takes the grain's saved vy.
  expect_moved_grain<TypeParam>(cells[100][101], 0.75f, 0.25f);
  EXPECT_EQ(cells[100][100].kind, kind::EMPTY);
  EXPECT_EQ(cells[100][100].vx, 0.0f);
  EXPECT_EQ(cells[100][100].vy, 0.0f);
}

TYPED_TEST(BothVariants, BothDiagonalsOpenDrawTheSide) {
  for (const int side : {1, 0}) {
    const std::uint32_t seed =
        first_seed<TypeParam>(100, 100, [&](RandomSource& r) { return gate<TypeParam>(r) && r.below(2) == side; });
    auto rules = rules_with_seed<TypeParam>(seed);
    auto& cells = rules->grid.cells;
    cells[100][100] = marked_grain<TypeParam>();
    cells[100][101].kind = kind::WALL;
    scan_once(*rules);
    const int to_x = side == 1 ? 101 : 99;
    expect_moved_grain<TypeParam>(cells[to_x][101], side == 1 ? 1.0f : -1.0f, 1.0f);
    EXPECT_EQ(cells[100][100].kind, kind::EMPTY);
    EXPECT_EQ(cells[100][100].vy, 0.0f);
    EXPECT_EQ(count_kind(*rules, kind::GRAIN_2), 1);
    EXPECT_TRUE(made_draws(rules->random, seed, 321L * 321 * DRAWS_PER_CELL<TypeParam> + 1));
  }
}

TYPED_TEST(BothVariants, OneOpenDiagonalTakesTheGrainWithoutADraw) {
  for (const int open_x : {101, 99}) {
    const std::uint32_t seed = seed_moving_once<TypeParam>(100, 100);
    auto rules = rules_with_seed<TypeParam>(seed);
    auto& cells = rules->grid.cells;
    cells[100][100] = marked_grain<TypeParam>();
    cells[100][101].kind = cells[open_x == 101 ? 99 : 101][101].kind = kind::WALL;
    scan_once(*rules);
    expect_moved_grain<TypeParam>(cells[open_x][101], open_x == 101 ? 1.0f : -1.0f, 1.0f);
    EXPECT_EQ(cells[100][100].kind, kind::EMPTY);
    EXPECT_TRUE(made_draws(rules->random, seed, 321L * 321 * DRAWS_PER_CELL<TypeParam>));
  }
}

// ---------------------------------------------------------------- flow search

// Scene: a grain at (x, 100) with walls in the four rows below, from column
// first to last, but for the holes, and a wall beside it at column side_wall
// when that is set. Returns the rules after one scan with a seed from
// seed_moving_once.
template <typename Rules>
std::unique_ptr<Rules> flow_scene(std::initializer_list<std::pair<int, int>> holes, int x = 100, int first = 0,
                                  int last = 320, int side_wall = -1) {
  auto rules = rules_with_seed<Rules>(seed_moving_once<Rules>(x, 100));
  rules->grid.cells[x][100] = marked_grain<Rules>();
  if (side_wall >= 0) rules->grid.cells[side_wall][100].kind = kind::WALL;
  wall_rows_below(*rules, 100, holes, first, last);
  scan_once(*rules);
  return rules;
}

// A grain at (100, 100) with a wall at (side_wall, 100).
template <typename Rules>
std::unique_ptr<Rules> walled_flow_scene(int side_wall, std::initializer_list<std::pair<int, int>> holes) {
  return flow_scene<Rules>(holes, 100, 0, 320, side_wall);
}

TYPED_TEST(BothVariants, FlowsRightWhenOnlyTheRightSideShowsAHole) {
  auto rules = flow_scene<TypeParam>({{102, 1}});
  auto& cells = rules->grid.cells;
  expect_moved_grain<TypeParam>(cells[101][100], -1.0f, 1.0f);
  // The cell left behind changes kind only.
  EXPECT_EQ(cells[100][100].kind, kind::EMPTY);
  EXPECT_EQ(cells[100][100].vx, 0.5f);
  EXPECT_EQ(cells[100][100].vy, 0.25f);
  if constexpr (!TypeParam::IS_A) {
    EXPECT_EQ(cells[100][100].colour, CYAN);
  }
}

TYPED_TEST(BothVariants, FlowsLeftWhenOnlyTheLeftSideShowsAHole) {
  auto rules = flow_scene<TypeParam>({{98, 1}});
  expect_moved_grain<TypeParam>(rules->grid.cells[99][100], 1.0f, 1.0f);
  EXPECT_EQ(count_kind(*rules, kind::GRAIN_2), 1);
}

TYPED_TEST(BothVariants, FlowsTowardsTheNearerHole) {
  auto left = flow_scene<TypeParam>({{98, 1}, {103, 1}});
  expect_moved_grain<TypeParam>(left->grid.cells[99][100], -1.0f, 1.0f);
  EXPECT_EQ(count_kind(*left, kind::GRAIN_2), 1);

  auto right = flow_scene<TypeParam>({{97, 1}, {102, 1}});
  expect_moved_grain<TypeParam>(right->grid.cells[101][100], -1.0f, 1.0f);
  EXPECT_EQ(count_kind(*right, kind::GRAIN_2), 1);
}

TYPED_TEST(BothVariants, FlowMovesNeedTheGrainInTheInnerAreaAndAnEmptySide) {
  // Row 319: a hole on the left only, but no move from outside the inner area.
  for (const int y : {319, 318}) {
    auto rules = rules_with_seed<TypeParam>(seed_moving_once<TypeParam>(100, y));
    rules->grid.cells[100][y].kind = kind::GRAIN_4;
    wall_rows_below(*rules, y, {{98, 1}});
    scan_once(*rules);
    EXPECT_EQ(rules->grid.cells[y == 319 ? 100 : 99][y].kind, kind::GRAIN_4) << y;
  }
  // The side towards the hole is a wall: no move at any depth.
  auto blocked = walled_flow_scene<TypeParam>(99, {{98, 1}});
  EXPECT_EQ(blocked->grid.cells[100][100].kind, kind::GRAIN_2);
}

TYPED_TEST(BothVariants, FlowingLeftCrossesSeveralCellsInOneFrameRightOnlyOne) {
  // Hole far on the left: the grain lands in the next cell of the scan and,
  // its gate passing again, flows on. Gates pass at 100, 99, 98; fail at 97.
  const std::uint32_t seed = first_seed<TypeParam>(100, 100, [](RandomSource& r) {
    return gate<TypeParam>(r) && gate<TypeParam>(r) && gate<TypeParam>(r) && !gate<TypeParam>(r);
  });
  auto left = rules_with_seed<TypeParam>(seed);
  left->grid.cells[100][100].kind = kind::GRAIN_6;
  wall_rows_below(*left, 100, {{10, 1}});
  RecordingPainter painter;
  left->scan(painter);
  EXPECT_EQ(left->grid.cells[97][100].kind, kind::GRAIN_6);
  EXPECT_EQ(count_kind(*left, kind::GRAIN_6), 1);
  std::vector<Square> grain;
  for (const Square& square : painter.squares)
    if (square.colour == BLUE) grain.push_back(square);
  EXPECT_EQ(grain, (std::vector<Square>{
                       {200, 200, BLUE, 2.0f}, {198, 200, BLUE, 2.0f}, {196, 200, BLUE, 2.0f}, {194, 200, BLUE, 2.0f}}))
      << "painted again in each cell it reaches";

  // Hole far on the right: the grain lands in a cell already passed.
  auto right = rules_with_seed<TypeParam>(seed);
  right->grid.cells[100][100].kind = kind::GRAIN_6;
  wall_rows_below(*right, 100, {{300, 1}});
  scan_once(*right);
  EXPECT_EQ(right->grid.cells[101][100].kind, kind::GRAIN_6);
  EXPECT_EQ(count_kind(*right, kind::GRAIN_6), 1);
}

TYPED_TEST(BothVariants, LeftScanNeverLooksAtColumnZero) {
  // Column 0 is open in every row below; the only other hole is 10 columns
  // to the right, farther than column 0: the grain still flows right.
  auto rules = flow_scene<TypeParam>({{15, 1}}, 5, 1, 320);
  expect_moved_grain<TypeParam>(rules->grid.cells[6][100], -1.0f, 1.0f);
  EXPECT_EQ(count_kind(*rules, kind::GRAIN_2), 1);
}

TEST(KindGrid, RightScanStopsAtColumn319) {
  // Column 320 is open in every row below; a hole at distance 3 on the left.
  // dR stays -1, so grains_a flows left with the velocity of that line.
  auto rules = flow_scene<GrainsA>({{312, 1}}, 315, 0, 319);
  expect_moved_grain<GrainsA>(rules->grid.cells[314][100], 1.0f, 1.0f);
}

TEST(KindGrid, GrainsAKeepsStillAtATieAndLooksDeeper) {
  // Ties at every depth: no move and no draw.
  const std::uint32_t seed = seed_moving_once<GrainsA>(100, 100);
  auto tie = rules_with_seed<GrainsA>(seed);
  tie->grid.cells[100][100].kind = kind::GRAIN_2;
  wall_rows_below(*tie, 100, {{97, 1}, {103, 1}, {97, 2}, {103, 2}, {97, 3}, {103, 3}, {97, 4}, {103, 4}});
  scan_once(*tie);
  EXPECT_EQ(tie->grid.cells[100][100].kind, kind::GRAIN_2);
  EXPECT_TRUE(made_draws(tie->random, seed, 321L * 321));

  // A tie at depth 1, the left hole nearer at depth 2.
  auto deeper = flow_scene<GrainsA>({{97, 1}, {103, 1}, {98, 2}, {103, 2}});
  expect_moved_grain<GrainsA>(deeper->grid.cells[99][100], -1.0f, 1.0f);
}

TEST(KindGrid, GrainsADistancesFoundAtOneDepthHoldAtTheNext) {
  // Depth 1 ties at 3; depth 2 finds a hole only on the left, at 1. dR is
  // still 3, so the move is "dR > dL" (vx -1), not "dR = -1" (vx 1).
  auto rules = flow_scene<GrainsA>({{97, 1}, {103, 1}, {99, 2}});
  expect_moved_grain<GrainsA>(rules->grid.cells[99][100], -1.0f, 1.0f);
}

TEST(KindGrid, GrainsARightScanStartsAtTheGrainsOwnColumn) {
  // Depth 1 ties at 3; depth 2 has a hole right under the grain: dR = 0 and
  // the grain flows right.
  auto rules = flow_scene<GrainsA>({{97, 1}, {103, 1}, {100, 2}});
  expect_moved_grain<GrainsA>(rules->grid.cells[101][100], -1.0f, 1.0f);
}

TEST(KindGrid, GrainsAMovesRightWhenTheLeftShowsNoHoleEvenWithoutOneOnTheRight) {
  auto rules = flow_scene<GrainsA>({});
  expect_moved_grain<GrainsA>(rules->grid.cells[101][100], -1.0f, 1.0f);
  EXPECT_EQ(count_kind(*rules, kind::GRAIN_2), 1);
}

TEST(KindGrid, GrainsCStaysWhenNeitherSideShowsAHole) {
  const std::uint32_t seed = seed_moving_once<GrainsC>(100, 100);
  auto rules = flow_scene<GrainsC>({});
  EXPECT_EQ(rules->grid.cells[100][100].kind, kind::GRAIN_2);
  EXPECT_TRUE(made_draws(rules->random, seed, 2L * 321 * 321)) << "no tie-break draw";
}

TEST(KindGrid, GrainsCDrawsTheSideOfATie) {
  for (const int side : {1, 0}) {
    const std::uint32_t seed = first_seed<GrainsC>(
        100, 100, [&](RandomSource& r) { return gate<GrainsC>(r) && r.below(2) == side && !gate<GrainsC>(r); });
    auto rules = rules_with_seed<GrainsC>(seed);
    rules->grid.cells[100][100] = marked_grain<GrainsC>();
    wall_rows_below(*rules, 100, {{97, 1}, {103, 1}});
    scan_once(*rules);
    expect_moved_grain<GrainsC>(rules->grid.cells[side == 1 ? 101 : 99][100], 0, 0);
    EXPECT_EQ(count_kind(*rules, kind::GRAIN_2), 1);
    EXPECT_TRUE(made_draws(rules->random, seed, 2L * 321 * 321 + 1));
  }
}

TEST(KindGrid, GrainsCDrawsAgainAtEachDepthWhoseTieBreakFindsItsSideBlocked) {
  // R is a wall; ties at every depth (rows 2 to 4 are walls, the distances
  // hold). Draws 1, 1 pick the wall; the third draw, 0, moves the grain left.
  const std::uint32_t seed = first_seed<GrainsC>(100, 100, [](RandomSource& r) {
    return gate<GrainsC>(r) && r.below(2) == 1 && r.below(2) == 1 && r.below(2) == 0 && !gate<GrainsC>(r);
  });
  auto rules = rules_with_seed<GrainsC>(seed);
  rules->grid.cells[100][100].kind = kind::GRAIN_4;
  rules->grid.cells[101][100].kind = kind::WALL;
  wall_rows_below(*rules, 100, {{97, 1}, {103, 1}});
  scan_once(*rules);
  EXPECT_EQ(rules->grid.cells[99][100].kind, kind::GRAIN_4);
  EXPECT_TRUE(made_draws(rules->random, seed, 2L * 321 * 321 + 3));
}

// A grain at (100, 319) on a wall row with holes at 97 and 103.
template <typename Rules>
std::unique_ptr<Rules> tie_in_row_319(std::uint32_t seed) {
  auto rules = rules_with_seed<Rules>(seed);
  rules->grid.cells[100][319].kind = kind::GRAIN_6;
  for (int x = 0; x <= 320; ++x) rules->grid.cells[x][320].kind = kind::WALL;
  rules->grid.cells[97][320].kind = rules->grid.cells[103][320].kind = kind::EMPTY;
  scan_once(*rules);
  return rules;
}

TEST(KindGrid, GrainsCTieBreakMovesOutsideTheInnerArea) {
  // A tie at depth 1. (Rows 321 on are empty: the deeper depths would pick
  // R, which needs the inner area.) grains_a never moves this grain.
  for (const int side : {1, 0}) {
    auto rules = tie_in_row_319<GrainsC>(
        first_seed<GrainsC>(100, 319, [&](RandomSource& r) { return gate<GrainsC>(r) && r.below(2) == side; }));
    EXPECT_EQ(rules->grid.cells[side == 1 ? 101 : 99][319].kind, kind::GRAIN_6) << side;
    EXPECT_EQ(count_kind(*rules, kind::GRAIN_6), 1);
  }
  auto a = tie_in_row_319<GrainsA>(seed_moving_once<GrainsA>(100, 319));
  EXPECT_EQ(a->grid.cells[100][319].kind, kind::GRAIN_6);
}

TEST(KindGrid, GrainsCWeighsDistancesByDepthAndKeepsThemAcrossDepths) {
  // Depth 1: a hole on the right at 3 (dR = 3), none on the left; R is a
  // wall, so no move. Depth 2: a hole on the left at 2 gives dL = 2 x 2 = 4 >
  // dR: the grain would go right, into the wall, and stays. (Unweighted, or
  // with dR forgotten, it would flow left.)
  auto stays = walled_flow_scene<GrainsC>(101, {{103, 1}, {98, 2}});
  EXPECT_EQ(stays->grid.cells[100][100].kind, kind::GRAIN_2);

  // A hole at 1 on the left at depth 2: dL = 2 < dR = 3, so left.
  auto moves = walled_flow_scene<GrainsC>(101, {{103, 1}, {99, 2}});
  EXPECT_EQ(moves->grid.cells[99][100].kind, kind::GRAIN_2);

  // The mirror image: dL = 3 at depth 1 with L a wall; at depth 2 a right
  // hole at 2 gives dR = 4 > dL (left, blocked: stays), one at 1 gives
  // dR = 2 < dL (right).
  auto mirror_stays = walled_flow_scene<GrainsC>(99, {{97, 1}, {102, 2}});
  EXPECT_EQ(mirror_stays->grid.cells[100][100].kind, kind::GRAIN_2);
  auto mirror_moves = walled_flow_scene<GrainsC>(99, {{97, 1}, {101, 2}});
  EXPECT_EQ(mirror_moves->grid.cells[101][100].kind, kind::GRAIN_2);
}

TEST(KindGrid, GrainsCRightScanStartsAtTheGrainsOwnColumn) {
  // Depth 1: only a left hole, at 3, and L is a wall. Depth 2: a hole right
  // under the grain: dR = 0 < dL = 3, so right.
  auto rules = walled_flow_scene<GrainsC>(99, {{97, 1}, {100, 2}});
  EXPECT_EQ(rules->grid.cells[101][100].kind, kind::GRAIN_2);
}

// ---------------------------------------------------------------- spawn

TYPED_TEST(BothVariants, SpawnDropsPassesOfThreeGrainsIntoRowOne) {
  constexpr int RATE = TypeParam::IS_A ? 3 : 30;
  auto rules = rules_with_seed<TypeParam>(1);
  RandomSource expected(1);
  int passes_seen = 0;
  for (int frame = 0; frame < 20; ++frame) {
    rules->spawn();
    for (int pass = 0; pass < expected.below(RATE); ++pass, ++passes_seen) {
      EXPECT_EQ(rules->grid.cells[40 + expected.below(20)][1].kind, kind::GRAIN_2);
      EXPECT_EQ(rules->grid.cells[120 + expected.below(20)][1].kind, kind::GRAIN_4);
      EXPECT_EQ(rules->grid.cells[200 + expected.below(20)][1].kind, kind::GRAIN_6);
    }
  }
  EXPECT_GT(passes_seen, 5);
  EXPECT_EQ(rules->random.next(), expected.next());
  for (int x = 0; x < 641; ++x)
    for (int y = 0; y < 641; ++y) {
      const auto& cell = rules->grid.cells[x][y];
      if (cell.kind == kind::EMPTY) continue;
      ASSERT_EQ(y, 1);
      ASSERT_TRUE((x >= 40 && x < 60) || (x >= 120 && x < 140) || (x >= 200 && x < 220)) << x;
      // Only kind is written.
      ASSERT_EQ(cell.vx, 0.0f);
      ASSERT_EQ(cell.vy, 1.0f);
    }
}

TEST(KindGrid, GrainsASpawnsAtMostTwoPassesAFrame) {
  int most = 0;
  for (std::uint32_t seed = 1; seed < 200; ++seed) {
    auto rules = rules_with_seed<GrainsA>(seed);
    rules->spawn();
    RandomSource replay(seed);
    int passes = 0;
    while (passes < replay.below(3)) {
      for (int i = 0; i < 3; ++i) replay.below(20);
      ++passes;
    }
    most = std::max(most, passes);
    ASSERT_LE(count_kind(*rules, kind::GRAIN_2), passes);
  }
  EXPECT_EQ(most, 2);
}

TYPED_TEST(BothVariants, SpawnReplacesWalls) {
  auto rules = rules_with_seed<TypeParam>(5);
  for (int x = 0; x <= 320; ++x) rules->grid.cells[x][1].kind = kind::WALL;
  for (int frame = 0; frame < 30; ++frame) rules->spawn();
  RandomSource replay(5);
  std::vector<int> spawned(321, 0);
  for (int frame = 0; frame < 30; ++frame)
    for (int pass = 0; pass < replay.below(TypeParam::IS_A ? 3 : 30); ++pass) {
      spawned[40 + replay.below(20)] = kind::GRAIN_2;
      spawned[120 + replay.below(20)] = kind::GRAIN_4;
      spawned[200 + replay.below(20)] = kind::GRAIN_6;
    }
  int replaced = 0;
  for (int x = 0; x <= 320; ++x) {
    EXPECT_EQ(rules->grid.cells[x][1].kind, spawned[x] != 0 ? spawned[x] : kind::WALL) << x;
    replaced += spawned[x] != 0;
  }
  EXPECT_GT(replaced, 10);
}

TEST(KindGrid, GrainsCSpawnedKind2GrainTakesTheColourLeftInItsCell) {
  auto rules = rules_with_seed<GrainsC>(2);
  for (int x = 40; x < 60; ++x) rules->grid.cells[x][1].colour = CYAN;
  for (int frame = 0; frame < 10; ++frame) rules->spawn();
  RecordingPainter painter;
  rules->scan(painter);
  int cyan = 0;
  for (const Square& square : painter.squares) {
    EXPECT_NE(square.colour, RED) << "no default-coloured kind-2 grain";
    cyan += square.colour == CYAN;
  }
  EXPECT_GT(cyan, 3);
}

// ---------------------------------------------------------------- brushes

TEST(KindGrid, LeftClickPlacesOneGrainUnderThePointer) {
  MOUSE_STATE mouse = mouse_at(201, 99);
  auto a = rules_with_seed<GrainsA>(1);
  a->left_click(mouse);
  EXPECT_EQ(a->grid.cells[100][49].kind, kind::GRAIN_2);
  EXPECT_EQ(count_kind(*a, kind::GRAIN_2), 1);
  EXPECT_TRUE(made_draws(a->random, 1, 0));

  auto c = rules_with_seed<GrainsC>(9);
  c->grid.cells[100][49].kind = kind::WALL;  // replaced
  c->left_click(mouse);
  RandomSource expected(9);
  EXPECT_EQ(c->grid.cells[100][49].kind, kind::GRAIN_2);
  EXPECT_EQ(c->grid.cells[100][49].colour, PALETTE[expected.below(6)]);
  EXPECT_TRUE(made_draws(c->random, 9, 1));
}

TYPED_TEST(BothVariants, LeftClickOutsideTheSimulatedAreaPlacesAGrainThatNeverShowsOrMoves) {
  MOUSE_STATE mouse = mouse_at(1023, 767);
  auto rules = rules_with_seed<TypeParam>(1);
  rules->left_click(mouse);
  ASSERT_EQ(rules->grid.cells[511][383].kind, kind::GRAIN_2);
  RecordingPainter painter;
  for (int frame = 0; frame < 5; ++frame) rules->scan(painter);
  EXPECT_TRUE(painter.squares.empty());
  EXPECT_EQ(rules->grid.cells[511][383].kind, kind::GRAIN_2);
  EXPECT_EQ(count_kind(*rules, kind::GRAIN_2), 1);
}

TYPED_TEST(BothVariants, ClicksAndBrushesBeyondTheGridWriteNothingButDrawTheSame) {
  // Every position SDL can report. The draws of the grain brush do not
  // depend on how much of the block is clipped.
  for (const auto& [x, y] : {std::pair{65535, 65535}, {1281, 0}, {0, 1281}, {1275, 1275}, {1023, 767}}) {
    MOUSE_STATE mouse;
    mouse.x = x;
    mouse.y = y;
    mouse.left_held = mouse.middle_held = mouse.right_held = 1;
    auto clipped = rules_with_seed<TypeParam>(4);
    clipped->left_click(mouse);
    clipped->mouse_motion(mouse);
    mouse.x = mouse.y = 0;
    auto inside = rules_with_seed<TypeParam>(4);
    inside->left_click(mouse);
    inside->mouse_motion(mouse);
    for (int i = 0; i < 4; ++i) ASSERT_EQ(clipped->random.next(), inside->random.next()) << x << "," << y;
  }
  MOUSE_STATE far;
  far.x = far.y = 65535;
  far.left_held = far.right_held = 1;
  auto rules = rules_with_seed<TypeParam>(4);
  rules->left_click(far);
  rules->mouse_motion(far);
  EXPECT_EQ(count_kind(*rules, kind::EMPTY), 641 * 641);

  // A block reaching over the last row and column: only the part inside.
  MOUSE_STATE edge;
  edge.x = edge.y = 1275;  // cell 637: the block covers 637..644
  edge.right_held = 1;
  rules->mouse_motion(edge);
  EXPECT_EQ(count_kind(*rules, kind::WALL), 4 * 4);
  EXPECT_EQ(rules->grid.cells[640][640].kind, kind::WALL);
  EXPECT_EQ(rules->grid.cells[637][637].kind, kind::WALL);
}

TYPED_TEST(BothVariants, RightDragPaintsAnEightByEightWallBlock) {
  MOUSE_STATE mouse = mouse_at(101, 40);
  mouse.right_held = 1;
  auto rules = rules_with_seed<TypeParam>(1);
  rules->grid.cells[52][22] = marked_grain<TypeParam>();
  rules->mouse_motion(mouse);
  for (int x = 0; x < 641; ++x)
    for (int y = 0; y < 641; ++y)
      ASSERT_EQ(rules->grid.cells[x][y].kind, x >= 50 && x < 58 && y >= 20 && y < 28 ? kind::WALL : kind::EMPTY);
  EXPECT_EQ(rules->grid.cells[52][22].vx, 0.5f) << "only kind is written";
  EXPECT_TRUE(made_draws(rules->random, 1, 0));
  mouse.right_held = 0;
  mouse.middle_held = 1;  // grains_a has no eraser
  rules->mouse_motion(mouse);
  EXPECT_EQ(count_kind(*rules, kind::WALL), TypeParam::IS_A ? 64 : 0);
}

TYPED_TEST(BothVariants, LeftDragPaintsGrainsWithOneDrawPerCellRowsOuter) {
  MOUSE_STATE mouse = mouse_at(300, 201);
  mouse.left_held = 1;
  auto rules = rules_with_seed<TypeParam>(11);
  for (int i = 0; i < 8; ++i) rules->grid.cells[150 + i][100 + i].kind = kind::WALL;
  rules->mouse_motion(mouse);
  RandomSource expected(11);
  int grains = 0;
  for (int j = 0; j < 8; ++j)
    for (int i = 0; i < 8; ++i) {
      const auto& cell = rules->grid.cells[150 + i][100 + j];
      if (expected.below(2) == 1) {
        ++grains;
        EXPECT_EQ(cell.kind, kind::GRAIN_2) << i << "," << j;
        if constexpr (!TypeParam::IS_A) {
          EXPECT_EQ(cell.colour, PALETTE[expected.below(6)]);
        }
      } else {
        EXPECT_EQ(cell.kind, i == j ? kind::WALL : kind::EMPTY) << i << "," << j;
        if constexpr (!TypeParam::IS_A) {
          EXPECT_EQ(cell.colour, 0xFF0000u);
        }
      }
    }
  EXPECT_GT(grains, 10);
  EXPECT_EQ(count_kind(*rules, kind::GRAIN_2), grains);
  EXPECT_EQ(rules->random.next(), expected.next());
}

TEST(KindGrid, GrainsCEraserClearsKindOnly) {
  MOUSE_STATE mouse = mouse_at(20, 30);
  mouse.middle_held = 1;
  auto rules = rules_with_seed<GrainsC>(1);
  for (int x = 0; x < 30; ++x)
    for (int y = 0; y < 30; ++y) rules->grid.cells[x][y] = marked_grain<GrainsC>();
  rules->mouse_motion(mouse);
  for (int x = 0; x < 30; ++x)
    for (int y = 0; y < 30; ++y) {
      const auto& cell = rules->grid.cells[x][y];
      ASSERT_EQ(cell.kind, x >= 10 && x < 18 && y >= 15 && y < 23 ? kind::EMPTY : kind::GRAIN_2);
      ASSERT_EQ(cell.vx, 0.5f);
      ASSERT_EQ(cell.vy, 0.25f);
      ASSERT_EQ(cell.colour, CYAN);
    }
  EXPECT_TRUE(made_draws(rules->random, 1, 0));
}

TEST(KindGrid, GrainsCBrushesRunWallsThenEraserThenGrains) {
  MOUSE_STATE mouse;
  mouse.x = mouse.y = 100;
  mouse.left_held = mouse.middle_held = mouse.right_held = 1;
  auto rules = rules_with_seed<GrainsC>(8);
  rules->mouse_motion(mouse);
  EXPECT_EQ(count_kind(*rules, kind::WALL), 0) << "the eraser follows the walls";
  EXPECT_GT(count_kind(*rules, kind::GRAIN_2), 10) << "the grains follow the eraser";
  EXPECT_EQ(count_kind(*rules, kind::GRAIN_2) + count_kind(*rules, kind::EMPTY), 641 * 641);
}

TEST(KindGrid, GrainsCBrushGrainKeepsItsColourWhileItFalls) {
  MOUSE_STATE mouse = mouse_at(200, 20);
  auto rules = rules_with_seed<GrainsC>(6);
  rules->left_click(mouse);
  const std::uint32_t colour = rules->grid.cells[100][10].colour;
  ASSERT_NE(colour, 0xFF0000u) << "seed 6 draws another colour than the default";
  rules->grid.cells[100][60].kind = kind::WALL;  // it slides off on the way down
  NullPainter none;
  int lowest_row = 10;
  for (int frame = 0; frame < 100; ++frame) {
    rules->scan(none);
    int grains = 0;
    for (int x = 0; x <= 320; ++x)
      for (int y = 0; y <= 320; ++y)
        if (rules->grid.cells[x][y].kind == kind::GRAIN_2) {
          ASSERT_EQ(rules->grid.cells[x][y].colour, colour) << "frame " << frame;
          lowest_row = std::max(lowest_row, y);
          ++grains;
        }
    ASSERT_EQ(grains, 1);
  }
  EXPECT_GT(lowest_row, 61);
}

// ---------------------------------------------------------------- whole runs

TYPED_TEST(BothVariants, SameStartSameFramesAndNothingEverEntersRow320) {
  auto first = rules_with_seed<TypeParam>(1), second = rules_with_seed<TypeParam>(1);
  first->clear_grid();
  second->clear_grid();
  // A ledge to pile on, so that slides and flows happen too.
  for (int x = 30; x < 230; ++x) first->grid.cells[x][250].kind = second->grid.cells[x][250].kind = kind::WALL;
  NullPainter none;
  MOUSE_STATE mouse;
  for (int frame = 0; frame < 600; ++frame) {
    step_frame(*first, mouse, {}, none);
    step_frame(*second, mouse, {}, none);
    for (int x = 0; x <= 320; ++x) ASSERT_EQ(first->grid.cells[x][320].kind, kind::EMPTY) << frame;
  }
  EXPECT_GT(count_kind(*first, kind::GRAIN_2) + count_kind(*first, kind::GRAIN_4), 100);
  EXPECT_EQ(std::memcmp(&first->grid.cells, &second->grid.cells, sizeof first->grid.cells), 0);
}

TEST(KindGrid, DumpsKindsAndColours) {
  auto a = rules_with_seed<GrainsA>(1);
  a->grid.cells[0][0].kind = 6;
  a->grid.cells[640][640].kind = 1;
  std::FILE* out = std::tmpfile();
  a->write_dump(out);
  std::rewind(out);
  std::string text;
  for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
  std::fclose(out);
  ASSERT_EQ(text.size(), 641u * 641 * 2);
  EXPECT_EQ(text.substr(0, 6), "6 0 0 ");
  EXPECT_EQ(text.substr(text.size() - 4), "0 1\n");
  EXPECT_EQ(text[641 * 2 - 1], '\n');

  auto c = rules_with_seed<GrainsC>(1);
  c->grid.cells[1][0].kind = 2;
  c->grid.cells[1][0].colour = 0x00FF00;
  out = std::tmpfile();
  c->write_dump(out);
  std::rewind(out);
  text.clear();
  for (int ch; (ch = std::fgetc(out)) != EOF;) text += static_cast<char>(ch);
  std::fclose(out);
  ASSERT_EQ(text.size(), 641u * 641 * 9);
  EXPECT_EQ(text.substr(0, 18), "0:ff0000 2:00ff00 ");
  EXPECT_EQ(text[641 * 9 - 1], '\n');
}
