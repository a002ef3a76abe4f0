// The shortcuts of the grains_a and grains_c rules that restate a rule's
// outcome instead of working it out, each held to the plain rules of
// tests/reference/ on random scenes built to reach it:
// - is_stuck(): grains_a leaves out the grains it calls stuck;
// - can_flow(): the part of is_stuck() that says a blocked grain cannot flow;
// - draw_for_ties(): grains_c only makes the draws of the ties for a grain
//   whose two side cells are full.
// Both rules scan a scene once from the same seed; then every cell's kind
// and the draws made must agree.
#include "kind_grid/kind_grid.h"
#include "reference/reference_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int SCENES = 150;
constexpr int LAST = 320;
// Scenes reach past the simulated area, where the rules look too.
constexpr int SCENE_RIGHT = LAST + 8;
constexpr int SCENE_BOTTOM = LAST + 4;

using Random = std::mt19937;

bool chance(Random& random, double probability) {
  return std::uniform_real_distribution<double>(0, 1)(random) < probability;
}

int between(Random& random, int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

int some_grain(Random& random) {
  static constexpr int GRAINS[3] = {kind::GRAIN_2, kind::GRAIN_4, kind::GRAIN_6};
  return GRAINS[between(random, 0, 2)];
}

// A scene: the kind of every cell of rows top to bottom, columns 0 to
// SCENE_RIGHT; every other cell is empty.
struct Scene {
  int top;
  int bottom;
  std::vector<int> kinds;  // row after row
  int kind(int x, int y) const { return kinds[(y - top) * (SCENE_RIGHT + 1) + x]; }
};

// Whether both rules make the same next draws, without moving them.
bool same_draws_ahead(RandomSource production, RandomSource reference) {
  for (int i = 0; i < 4; ++i)
    if (production.next() != reference.next()) return false;
  return true;
}

// One scan of the scene by the rules and by the reference, from the same
// seed; the first cell or draw they disagree on, or "".
template <typename Rules>
std::string disagreement_after_a_scan(const std::string& program, const Scene& scene, std::uint32_t seed) {
  auto rules = std::make_unique<Rules>();
  auto reference = make_reference_kind_rules(program);
  for (int y = scene.top; y <= scene.bottom; ++y)
    for (int x = 0; x <= SCENE_RIGHT; ++x) {
      const int cell_kind = scene.kind(x, y);
      rules->grid.cells[x][y].kind = cell_kind;
      reference->set_kind(x, y, cell_kind);
    }
  rules->random = reference->random = RandomSource(seed);
  NullPainter none;
  rules->scan(none);
  reference->scan(none);
  for (int y = std::max(scene.top - 1, 0); y <= scene.bottom; ++y)
    for (int x = 0; x <= SCENE_RIGHT; ++x)
      if (rules->grid.cells[x][y].kind != reference->kind(x, y))
        return "cell (" + std::to_string(x) + ", " + std::to_string(y) +
               "): " + std::to_string(rules->grid.cells[x][y].kind) + ", plainly " +
               std::to_string(reference->kind(x, y));
  if (!same_draws_ahead(rules->random, reference->random)) return "the random draws are out of step";
  return "";
}

// The first of SCENES scenes made by make_scene on which the rules and the
// reference disagree, described, or "".
template <typename Rules>
std::string first_disagreement(const std::string& program, const std::function<Scene(Random&)>& make_scene) {
  for (std::uint32_t seed = 1; seed <= SCENES; ++seed) {
    Random random(seed);
    const Scene scene = make_scene(random);
    const std::string difference = disagreement_after_a_scan<Rules>(program, scene, seed);
    if (!difference.empty())
      return "scene " + std::to_string(seed) + " (rows " + std::to_string(scene.top) + " to " +
             std::to_string(scene.bottom) + "): " + difference;
  }
  return "";
}

// A row in the grid, often one at the inner area's bottom edge or below it.
int some_row(Random& random) {
  return chance(random, 0.5) ? between(random, LAST - 4, LAST) : between(random, 0, LAST);
}

// Rows top to bottom, each cell's kind drawn by draw(x, y, random).
Scene drawn_scene(Random& random, int top, int bottom, const std::function<int(int x, int y, Random&)>& draw) {
  Scene scene{top, bottom, {}};
  for (int y = top; y <= bottom; ++y)
    for (int x = 0; x <= SCENE_RIGHT; ++x) scene.kinds.push_back(draw(x, y, random));
  return scene;
}

}  // namespace

// Crowded bands of grains and walls with a few holes: most grains are
// blocked on some side, many on all.
TEST(RuleShortcuts, GrainsAStuckGrainsAreThoseThePlainRulesWouldNotMove) {
  const std::string difference = first_disagreement<GrainsA>("grains_a", [](Random& random) {
    const int top = some_row(random);
    const int bottom = std::min(top + between(random, 1, 6), SCENE_BOTTOM);
    const double holes = std::uniform_real_distribution<double>(0, 0.3)(random);
    return drawn_scene(random, top, bottom, [holes](int, int, Random& r) {
      if (chance(r, holes)) return kind::EMPTY;
      return chance(r, 0.3) ? kind::WALL : some_grain(r);
    });
  });
  EXPECT_EQ(difference, "");
}

// A row of grains with gaps beside them, on four rows of walls with
// holes: grains blocked below that may flow to either side, along the
// inner area's edges too.
TEST(RuleShortcuts, GrainsAFlowsWhereverThePlainRulesFlow) {
  const std::string difference = first_disagreement<GrainsA>("grains_a", [](Random& random) {
    const int row = some_row(random);
    const double gaps = std::uniform_real_distribution<double>(0.05, 0.5)(random);
    const double holes = std::uniform_real_distribution<double>(0, 0.2)(random);
    return drawn_scene(random, row, row + 4, [row, gaps, holes](int, int y, Random& r) {
      if (y == row) return chance(r, gaps) ? kind::EMPTY : some_grain(r);
      return chance(r, holes) ? kind::EMPTY : kind::WALL;
    });
  });
  EXPECT_EQ(difference, "");
}

// A row of grains side by side, blocked below, over rows with holes: many
// depths where the nearest holes on either side tie.
TEST(RuleShortcuts, GrainsCDrawsForTheTiesOfAGrainWithFullSidesAsTheFullSearchWould) {
  const std::string difference = first_disagreement<GrainsC>("grains_c", [](Random& random) {
    const int row = some_row(random);
    const double gaps = std::uniform_real_distribution<double>(0, 0.1)(random);
    const double holes = std::uniform_real_distribution<double>(0.05, 0.5)(random);
    return drawn_scene(random, row, row + 4, [row, gaps, holes](int, int y, Random& r) {
      if (y == row) return chance(r, gaps) ? kind::EMPTY : some_grain(r);
      const double below = y == row + 1 ? holes / 4 : holes;  // most grains blocked
      return chance(r, below) ? kind::EMPTY : kind::WALL;
    });
  });
  EXPECT_EQ(difference, "");
}
