#include "kind_grid/kind_grid.h"

// Start-up: kind := 0 in the simulated area, rows outer, highest index first;
// every other field keeps its static default.
template <KindVariant V>
void KindGridRules<V>::clear_grid() {
  for (int y = LAST; y >= 0; --y)
    for (int x = LAST; x >= 0; --x) grid.cells[x][y].kind = kind::EMPTY;
}

// Passes go on while the pass number stays below a fresh rand() % SPAWN_RATE.
// Only kind is written: a spawned grain keeps the cell's other fields, and a
// wall or grain there is replaced.
template <KindVariant V>
void KindGridRules<V>::spawn() {
  for (int pass = 0; pass < random.below(SPAWN_RATE); ++pass) {
    grid.cells[40 + random.below(20)][1].kind = kind::GRAIN_2;
    grid.cells[120 + random.below(20)][1].kind = kind::GRAIN_4;
    grid.cells[200 + random.below(20)][1].kind = kind::GRAIN_6;
  }
}

template <KindVariant V>
void KindGridRules<V>::scan(CellPainter& painter) {
  holes_.start_scan();
  for (int y = LAST; y >= 0; --y) {
    for (int x = LAST; x >= 0; --x) {
      // The move writes the fields as they are when the scan reaches the cell.
      const Cell saved = grid.cells[x][y];
      row_colours_[x] = colour_of(saved);
      if (tries_to_move(x, y, saved.kind)) move_grain(x, y, saved);
    }
    painter.row(y, row_colours_.data(), LAST + 1, CELL_PIXELS);
  }
}

// White walls, red (grains_c: the cell's colour), green and blue grains;
// 0 draws nothing: empty cells and kinds no rule produces.
template <KindVariant V>
std::uint32_t KindGridRules<V>::colour_of(const Cell& cell) {
  static constexpr std::uint32_t KIND_COLOURS[8] = {0, 0xFFFFFF, 0xFF0000, 0, 0x00FF00, 0, 0x0000FF, 0};
  if (static_cast<std::uint32_t>(cell.kind) >= 8) return 0;
  if constexpr (!IS_A)
    if (cell.kind == kind::GRAIN_2) return cell.colour;
  return KIND_COLOURS[cell.kind];
}

// The draws are made for every visited cell, empty and wall cells included.
template <KindVariant V>
inline bool KindGridRules<V>::tries_to_move(int x, int y, std::int32_t cell_kind) {
  if constexpr (IS_A) {
    const int draw = random.below(2);
    // A stuck grain would move nowhere and draw nothing, so the draw is only
    // looked at for the others: a branch on it is mispredicted half the
    // time, and where the grid is crowded most grains are stuck.
    if (cell_kind <= kind::WALL || is_stuck(x, y)) return false;
    return draw == 1;
  } else {
    const auto [r1, r2] = random.next_two();
    return cell_kind > kind::WALL && !draw_remainder_is_one(r1, r2 % 10 + 1);
  }
}

// The distances after each depth, until decide(right, left) says the search
// is over. A distance found at one depth holds until a deeper find.
template <KindVariant V>
template <typename Decide>
inline void KindGridRules<V>::search_depths(int x, int y, Decide decide) {
  holes_.look_below(y);
  const auto below = holes_.holes_below(x);
  int right = below.right != NOT_FOUND ? below.right - x : NOT_FOUND;
  int left = below.left != NOT_FOUND ? x - below.left : NOT_FOUND;
  if (decide(right, left)) return;
  holes_.look_deeper();
#pragma GCC unroll 3
  for (int depth = 2; depth <= 4; ++depth) {
    if constexpr (IS_A) {
      const int deep_right = holes_.first_empty_right(x, depth);
      if (deep_right != NOT_FOUND) right = deep_right - x;
      const int deep_left = holes_.first_empty_left(x, depth);
      if (deep_left != NOT_FOUND) left = x - deep_left;
    } else {
      // Weighted by depth, from the deepest row with a hole.
      const int deep_right = holes_.deep_right(x, depth);
      if (deep_right != NOT_FOUND) right = deep_right;
      const int deep_left = holes_.deep_left(x, depth);
      if (deep_left != NOT_FOUND) left = deep_left;
    }
    if (decide(right, left)) return;
  }
}

// grains_c's search for a grain with both side cells full: every move of its
// list needs an empty side cell, so it can only make the draws of its ties.
template <KindVariant V>
inline void KindGridRules<V>::draw_for_ties(int x, int y) {
  int ties = 0;
  search_depths(x, y, [&ties](int right, int left) {
    ties += right != NOT_FOUND && right == left;
    return false;
  });
  for (; ties > 0; --ties) random.next();
}

// Steps a to d: fall, slide down either diagonal, slide down the one open
// diagonal, else the flow search. The step sees column -1 as a wall.
template <KindVariant V>
inline void KindGridRules<V>::move_grain(int x, int y, const Cell& grain) {
  if (is_empty(x, y + 1)) return fall(x, y, grain);
  const bool down_left_open = is_empty_or_left_of_grid(x - 1, y + 1);
  const bool down_right_open = is_empty(x + 1, y + 1);
  if (down_left_open && down_right_open) return slide_down_either_side(x, y, grain);
  if (down_right_open) return slide_down(x, y, grain, x + 1);
  if (down_left_open) return slide_down(x, y, grain, x - 1);
  if constexpr (!IS_A)
    if (!is_empty_or_left_of_grid(x - 1, y) && !is_empty(x + 1, y)) return draw_for_ties(x, y);
  // grains_a gets here only when it can flow: tries_to_move left out the
  // stuck grains.
  flow(x, y, grain);
}

// grains_a's search makes no draws and each of its moves needs the inner
// area and an empty cell beside the grain, so without them the search
// would change nothing.
template <KindVariant V>
bool KindGridRules<V>::can_flow(int x, int y) const {
  return in_inner_area(x, y) && (is_empty(x - 1, y) || is_empty(x + 1, y));
}

// grains_a: the cell below, both lower diagonals and both side cells that
// a flow would need are full.
template <KindVariant V>
bool KindGridRules<V>::is_stuck(int x, int y) const {
  return !is_empty(x, y + 1) && !is_empty_or_left_of_grid(x - 1, y + 1) && !is_empty(x + 1, y + 1) && !can_flow(x, y);
}

// Falling and sliding clear the grain's cell before the inner-area test: a
// grain outside the inner area with an open cell below it leaves the grid.
template <KindVariant V>
void KindGridRules<V>::fall(int x, int y, const Cell& grain) {
  clear(grid.cells[x][y]);
  Cell& below = grid.cells[x][y + 1];
  if (!in_inner_area(x, y)) return;
  place(below, grain, below.vx, grain.vy);
  holes_.filled(x, y + 1);
}

// Both diagonals open: the side is drawn only inside the inner area.
template <KindVariant V>
void KindGridRules<V>::slide_down_either_side(int x, int y, const Cell& grain) {
  if (!in_inner_area(x, y)) return clear(grid.cells[x][y]);
  slide_down(x, y, grain, random.below(2) == 1 ? x + 1 : x - 1);
}

// To (to_x, y + 1), one column left or right: vx is the direction.
template <KindVariant V>
void KindGridRules<V>::slide_down(int x, int y, const Cell& grain, int to_x) {
  clear(grid.cells[x][y]);
  if (!in_inner_area(x, y)) return;
  place(grid.cells[to_x][y + 1], grain, static_cast<float>(to_x - x), 1.0f);
  holes_.filled(to_x, y + 1);
}

// The flow search: rows y+1 to y+4, the nearest empty cell on each side, one
// step sideways within the grain's own row towards the nearer one.
template <KindVariant V>
void KindGridRules<V>::flow(int x, int y, const Cell& grain) {
  search_depths(x, y, [&](int right, int left) { return choose_side(x, y, grain, right, left); });
}

// The choice list of one depth: the first matching line decides; true when
// the grain moved. The vx arguments are grains_a's velocities table.
template <KindVariant V>
bool KindGridRules<V>::choose_side(int x, int y, const Cell& grain, int right, int left) {
  if constexpr (IS_A) {
    if (left == NOT_FOUND) return flow_to(x, y, x + 1, grain, -1.0f);
    if (right == NOT_FOUND) return flow_to(x, y, x - 1, grain, 1.0f);
  } else {
    if (left == NOT_FOUND && right != NOT_FOUND) return flow_to(x, y, x + 1, grain, -1.0f);
    if (right == NOT_FOUND && left != NOT_FOUND) return flow_to(x, y, x - 1, grain, 1.0f);
    if (left == NOT_FOUND && right == NOT_FOUND) return false;
  }
  if (right > left) return flow_to(x, y, x - 1, grain, -1.0f);  // the hole on the left is nearer
  if (right < left) return flow_to(x, y, x + 1, grain, -1.0f);
  if constexpr (IS_A) return false;  // a tie: look deeper
  else return tie_break(x, y, grain);
}

// A flow move: only from the inner area, only into an empty cell. The cell
// left behind keeps every field but kind.
template <KindVariant V>
bool KindGridRules<V>::flow_to(int x, int y, int to_x, const Cell& grain, float vx) {
  if (!in_inner_area(x, y) || !is_empty(to_x, y)) return false;
  grid.cells[x][y].kind = kind::EMPTY;
  place(grid.cells[to_x][y], grain, vx, 1.0f);
  return true;
}

// grains_c's equal distances: a drawn side, without the inner-area test.
// A tie needs a hole found on the left, at column 1 or more, so x >= 2 here.
template <KindVariant V>
bool KindGridRules<V>::tie_break(int x, int y, const Cell& grain) {
  const int to_x = random.below(2) == 1 ? x + 1 : x - 1;
  if (!is_empty(to_x, y)) return false;
  grid.cells[x][y].kind = kind::EMPTY;
  place(grid.cells[to_x][y], grain, 0.0f, 0.0f);  // grains_c copies the record
  return true;
}

template <KindVariant V>
void KindGridRules<V>::put_brush_grain(int x, int y) {
  const bool inside = Grid::inside(x, y);
  if (inside) grid.cells[x][y].kind = kind::GRAIN_2;
  if constexpr (!IS_A) {
    const std::uint32_t colour = PALETTE[random.below(6)];
    if (inside) grid.cells[x][y].colour = colour;
  }
}

// One grain under the pointer, even outside the simulated area.
template <KindVariant V>
void KindGridRules<V>::left_click(const MOUSE_STATE& mouse) {
  put_brush_grain(mouse.x / CELL_PIXELS, mouse.y / CELL_PIXELS);
}

// Walls, then (grains_c) the eraser, then the grain brush.
template <KindVariant V>
void KindGridRules<V>::mouse_motion(const MOUSE_STATE& mouse) {
  if (mouse.right_held) paint_block(mouse, [](Cell& cell) { cell.kind = kind::WALL; });
  if constexpr (!IS_A)
    if (mouse.middle_held) paint_block(mouse, [](Cell& cell) { cell.kind = kind::EMPTY; });
  if (mouse.left_held) paint_grains(mouse);
}

// The 8x8 block from the pointer's cell, rows outer; cells outside the grid
// are left out.
template <KindVariant V>
template <typename Paint>
void KindGridRules<V>::paint_block(const MOUSE_STATE& mouse, Paint paint) {
  const int left = mouse.x / CELL_PIXELS;
  const int top = mouse.y / CELL_PIXELS;
  for (int j = 0; j < BRUSH; ++j)
    for (int i = 0; i < BRUSH; ++i)
      if (Grid::inside(left + i, top + j)) paint(grid.cells[left + i][top + j]);
}

// Each cell of the block gets a grain with probability 1/2. Cells outside the
// grid make the same draws as inside ones, so clipping changes no sequence.
template <KindVariant V>
void KindGridRules<V>::paint_grains(const MOUSE_STATE& mouse) {
  const int left = mouse.x / CELL_PIXELS;
  const int top = mouse.y / CELL_PIXELS;
  for (int j = 0; j < BRUSH; ++j)
    for (int i = 0; i < BRUSH; ++i)
      if (random.below(2) == 1) put_brush_grain(left + i, top + j);
}

template <KindVariant V>
void KindGridRules<V>::fill_with_grains() {
  for (int y = 0; y <= LAST; ++y)
    for (int x = 0; x <= LAST; ++x) grid.cells[x][y].kind = kind::GRAIN_2;
}

// grains_a: kind; grains_c: kind:colour, the colour in six hex digits.
template <KindVariant V>
void KindGridRules<V>::write_dump(std::FILE* out) const {
  for (int y = 0; y < Grid::SIDE; ++y) {
    for (int x = 0; x < Grid::SIDE; ++x) {
      const Cell& cell = grid.cells[x][y];
      const char end = x + 1 < Grid::SIDE ? ' ' : '\n';
      if constexpr (IS_A) std::fprintf(out, "%d%c", static_cast<int>(cell.kind), end);
      else std::fprintf(out, "%d:%06x%c", static_cast<int>(cell.kind), static_cast<unsigned>(cell.colour), end);
    }
  }
}

template class KindGridRules<KindVariant::grains_a>;
template class KindGridRules<KindVariant::grains_c>;
