// Rules of grains_b and grains_d: a grid of plain colours where 0 is empty,
// pure red a wall and any other colour a grain. Grains fall, slide down a
// diagonal, or spread one cell sideways when both diagonals are blocked.
#pragma once

#include "common/cell_grid.h"
#include "common/grain_rules.h"

#include <array>
#include <cstdint>

enum class ColourVariant {
  grains_b,  // 2-pixel cells on 321x321, pink and white grains, all colours move
  grains_d,  // 4-pixel cells on 161x161, a shower of white grains, only white moves
};

namespace colour {
constexpr std::uint32_t EMPTY = 0x000000;
constexpr std::uint32_t WALL = 0xFF0000;
constexpr std::uint32_t PINK = 0xFF0080;
constexpr std::uint32_t WHITE = 0xFFFFFF;
}  // namespace colour

template <ColourVariant V>
class ColourGridRules final : public GrainRules {
 public:
  using Grid = CELL_GRID<std::uint32_t>;
  static constexpr bool IS_B = V == ColourVariant::grains_b;
  // Highest simulated column and row.
  static constexpr int LAST = IS_B ? 320 : 160;
  // Side of a cell on screen, in pixels.
  static constexpr int CELL_PIXELS = IS_B ? 2 : 4;

  void clear_grid() override;
  void spawn() override;
  void scan(CellPainter& painter) override;
  void mouse_motion(const MOUSE_STATE& mouse) override;
  void fill_with_grains() override;
  void write_dump(std::FILE* out) const override;

  Grid grid;

 private:
  // Cells outside the grid read as walls.
  bool is_empty(int x, int y) const { return Grid::inside(x, y) && grid.cells[x][y] == colour::EMPTY; }
  // grains_b shows each cell's own colour, grains_d its walls in red and
  // every grain in white; empty cells (0) are not drawn.
  static std::uint32_t shown_colour(std::uint32_t cell) {
    return IS_B || cell == colour::EMPTY || cell == colour::WALL ? cell : colour::WHITE;
  }
  bool tries_to_move(std::uint32_t cell);
  void move_cell(int x, int y);
  void move(int x, int y, int to_x, int to_y);
  void paint_wall(const MOUSE_STATE& mouse);

  // The colours of the row being scanned, as each cell was reached.
  std::array<std::uint32_t, LAST + 1> row_colours_{};
};

using GrainsB = ColourGridRules<ColourVariant::grains_b>;
using GrainsD = ColourGridRules<ColourVariant::grains_d>;
