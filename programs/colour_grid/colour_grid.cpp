#include "colour_grid/colour_grid.h"

template <ColourVariant V>
void ColourGridRules<V>::clear_grid() {
  for (int y = Grid::SIDE - 1; y >= 0; --y)
    for (int x = Grid::SIDE - 1; x >= 0; --x) grid.cells[x][y] = colour::EMPTY;
}

template <ColourVariant V>
void ColourGridRules<V>::spawn() {
  if constexpr (IS_B) {
    if (random.below(5) == 1) {
      grid.cells[40 + random.below(40)][1] = colour::PINK;
      grid.cells[180 + random.below(40)][1] = colour::WHITE;
    }
  } else {
    // The pass count is drawn afresh before every pass.
    for (int pass = 0; pass < random.below(250); ++pass) grid.cells[random.below(640)][1] = colour::WHITE;
  }
}

template <ColourVariant V>
void ColourGridRules<V>::scan(CellPainter& painter) {
  for (int y = LAST; y >= 0; --y) {
    for (int x = LAST; x >= 0; --x) {
      const std::uint32_t cell = grid.cells[x][y];
      row_colours_[x] = shown_colour(cell);
      if (tries_to_move(cell)) move_cell(x, y);
    }
    painter.row(y, row_colours_.data(), LAST + 1, CELL_PIXELS);
  }
}

// grains_b lets every cell but walls through, empty ones included, one time
// in three; grains_d moves white grains only, one time in two.
template <ColourVariant V>
bool ColourGridRules<V>::tries_to_move(std::uint32_t cell) {
  if constexpr (IS_B) {
    if (cell == colour::WALL) return false;
    return random.below(3) == 1;
  } else {
    if (cell != colour::WHITE) return false;
    return random.below(2) == 1;
  }
}

template <ColourVariant V>
void ColourGridRules<V>::move_cell(int x, int y) {
  if (is_empty(x, y + 1)) return move(x, y, x, y + 1);

  const bool left_open = is_empty(x - 1, y + 1);
  const bool right_open = is_empty(x + 1, y + 1);
  if (left_open && right_open) {
    if (random.below(2) == 1) return move(x, y, x + 1, y + 1);
    return move(x, y, x - 1, y + 1);
  }
  if (left_open || right_open) {
    // The draw orders the two tests; only one diagonal is open, so the grain
    // ends there whichever comes first.
    random.below(2);
    return left_open ? move(x, y, x - 1, y + 1) : move(x, y, x + 1, y + 1);
  }

  const bool side_left_open = is_empty(x - 1, y);
  const bool side_right_open = is_empty(x + 1, y);
  if (side_left_open && side_right_open) {
    if (random.below(2) == 1) return move(x, y, x - 1, y);
    return move(x, y, x + 1, y);
  }
  // Again the draw only orders tests of which at most one succeeds.
  random.below(2);
  if (side_left_open) return move(x, y, x - 1, y);
  if (side_right_open) return move(x, y, x + 1, y);
}

template <ColourVariant V>
void ColourGridRules<V>::move(int x, int y, int to_x, int to_y) {
  const std::uint32_t value = grid.cells[x][y];
  grid.cells[x][y] = colour::EMPTY;
  grid.cells[to_x][to_y] = value;
}

template <ColourVariant V>
void ColourGridRules<V>::mouse_motion(const MOUSE_STATE& mouse) {
  if (mouse.right_held) paint_wall(mouse);
}

// grains_b paints 8x8 cells from the pointer's cell; grains_d takes the
// pointer's pixel coordinates as cell indices and paints 4x4. Cells outside
// the grid are left out.
template <ColourVariant V>
void ColourGridRules<V>::paint_wall(const MOUSE_STATE& mouse) {
  std::printf("D %d %d\n", mouse.x, mouse.y);
  constexpr int BLOCK = IS_B ? 8 : 4;
  const int left = IS_B ? mouse.x / 2 : mouse.x;
  const int top = IS_B ? mouse.y / 2 : mouse.y;
  for (int j = 0; j < BLOCK; ++j)
    for (int i = 0; i < BLOCK; ++i)
      if (Grid::inside(left + i, top + j)) grid.cells[left + i][top + j] = colour::WALL;
}

template <ColourVariant V>
void ColourGridRules<V>::fill_with_grains() {
  for (int y = 0; y <= LAST; ++y)
    for (int x = 0; x <= LAST; ++x) grid.cells[x][y] = colour::WHITE;
}

template <ColourVariant V>
void ColourGridRules<V>::write_dump(std::FILE* out) const {
  for (int y = 0; y < Grid::SIDE; ++y)
    for (int x = 0; x < Grid::SIDE; ++x) std::fprintf(out, x + 1 < Grid::SIDE ? "%06x " : "%06x\n", grid.cells[x][y]);
}

template class ColourGridRules<ColourVariant::grains_b>;
template class ColourGridRules<ColourVariant::grains_d>;
