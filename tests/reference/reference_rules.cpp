#include "reference/reference_rules.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t RED = 0xFF0000;
constexpr std::uint32_t GREEN = 0x00FF00;
constexpr std::uint32_t BLUE = 0x0000FF;
constexpr std::uint32_t WHITE = 0xFFFFFF;
constexpr std::uint32_t PINK = 0xFF0080;

// 641 by 641 cells indexed (column x, row y); no access outside it.
template <typename Cell>
class Grid {
 public:
  static constexpr int SIDE = 641;

  explicit Grid(const Cell& initial) : cells_(SIDE * SIDE, initial) {}

  static bool inside(int x, int y) { return x >= 0 && x < SIDE && y >= 0 && y < SIDE; }

  Cell& at(int x, int y) { return cells_[index(x, y)]; }
  const Cell& at(int x, int y) const { return cells_[index(x, y)]; }

 private:
  static std::size_t index(int x, int y) {
    if (!inside(x, y)) throw_outside(x, y);
    return static_cast<std::size_t>(y) * SIDE + x;
  }
  [[noreturn]] static void throw_outside(int x, int y) {
    throw std::out_of_range("grid cell (" + std::to_string(x) + ", " + std::to_string(y) + ")");
  }

  std::vector<Cell> cells_;
};

// ---------------------------------------------------------------------------
// grains_a and grains_c: cells holding a kind of grain.

enum class KindProgram { grains_a, grains_c };

enum Kind { EMPTY = 0, WALL = 1, GRAIN_2 = 2, GRAIN_4 = 4, GRAIN_6 = 6 };

struct KindCell {
  int kind = EMPTY;
  float vx = 0.0f;
  float vy = 1.0f;
  std::uint32_t colour = RED;  // grains_c only
};

constexpr std::array<std::uint32_t, 6> PALETTE{RED, GREEN, BLUE, 0x00FFFF, 0xFF00FF, 0xFFFF00};

class PlainKindRules final : public ReferenceKindRules {
 public:
  explicit PlainKindRules(KindProgram program) : is_c_(program == KindProgram::grains_c) {}

  int kind(int x, int y) const override { return grid_.at(x, y).kind; }
  void set_kind(int x, int y, int kind) override { grid_.at(x, y).kind = kind; }

  void clear_grid() override {
    for (int y = LAST; y >= 0; --y)
      for (int x = LAST; x >= 0; --x) grid_.at(x, y).kind = EMPTY;
  }

  void spawn() override {
    const int passes_bound = is_c_ ? 30 : 3;
    for (int i = 0; i < random.below(passes_bound); ++i) {
      grid_.at(40 + random.below(20), 1).kind = GRAIN_2;
      grid_.at(120 + random.below(20), 1).kind = GRAIN_4;
      grid_.at(200 + random.below(20), 1).kind = GRAIN_6;
    }
  }

  void scan(CellPainter& painter) override {
    std::vector<std::uint32_t> shown(LAST + 1);
    for (int y = LAST; y >= 0; --y) {
      for (int x = LAST; x >= 0; --x) shown[x] = visit(x, y);
      painter.row(y, shown.data(), LAST + 1, CELL_PIXELS);
    }
  }

  void left_click(const MOUSE_STATE& mouse) override { put_brush_grain(mouse.x / 2, mouse.y / 2); }

  void mouse_motion(const MOUSE_STATE& mouse) override {
    const int left = mouse.x / 2;
    const int top = mouse.y / 2;
    if (mouse.right_held)
      for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i) brush_kind(left + i, top + j, WALL);
    if (is_c_ && mouse.middle_held)
      for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i) brush_kind(left + i, top + j, EMPTY);
    if (mouse.left_held)
      for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i)
          if (random.below(2) == 1) put_brush_grain(left + i, top + j);
  }

  void fill_with_grains() override {
    for (int y = 0; y <= LAST; ++y)
      for (int x = 0; x <= LAST; ++x) grid_.at(x, y).kind = GRAIN_2;
  }

  void write_dump(std::FILE* out) const override {
    for (int y = 0; y < Grid<KindCell>::SIDE; ++y)
      for (int x = 0; x < Grid<KindCell>::SIDE; ++x) {
        const KindCell& cell = grid_.at(x, y);
        if (is_c_) std::fprintf(out, "%d:%06x", cell.kind, cell.colour);
        else std::fprintf(out, "%d", cell.kind);
        std::fputc(x == Grid<KindCell>::SIDE - 1 ? '\n' : ' ', out);
      }
  }

 private:
  static constexpr int LAST = 320;
  static constexpr int CELL_PIXELS = 2;

  // The brushes set a cell's kind; cells outside the grid are left out.
  void brush_kind(int x, int y, int kind) {
    if (Grid<KindCell>::inside(x, y)) grid_.at(x, y).kind = kind;
  }

  // A kind-2 grain from the mouse. In grains_c its palette colour is drawn
  // even for a cell outside the grid, which is left out.
  void put_brush_grain(int x, int y) {
    const std::uint32_t colour = is_c_ ? PALETTE[random.below(6)] : 0;
    if (!Grid<KindCell>::inside(x, y)) return;
    KindCell& cell = grid_.at(x, y);
    cell.kind = GRAIN_2;
    if (is_c_) cell.colour = colour;
  }

  std::uint32_t drawing_colour(const KindCell& cell) const {
    switch (cell.kind) {
      case WALL: return WHITE;
      case GRAIN_2: return is_c_ ? cell.colour : RED;
      case GRAIN_4: return GREEN;
      case GRAIN_6: return BLUE;
      default: return 0;
    }
  }

  // Draws cell (x, y) and moves it; returns the colour it was drawn in.
  std::uint32_t visit(int x, int y) {
    const KindCell grain = grid_.at(x, y);
    const std::uint32_t shown = drawing_colour(grain);
    if (tries_to_move(grain.kind)) move(x, y, grain);
    return shown;
  }

  bool tries_to_move(int kind) {
    if (!is_c_) {
      const int draw = random.below(2);
      return draw == 1 && kind > WALL;
    }
    const int r1 = random.next();
    const int r2 = random.next();
    return r1 % (r2 % 10 + 1) != 1 && kind > WALL;
  }

  // Column -1, left of the grid, reads as a wall: a grain in column 0 that is
  // blocked below and below-right stays.
  bool is_empty(int x, int y) const { return x != -1 && grid_.at(x, y).kind == EMPTY; }

  static bool in_inner_area(int x, int y) { return y < 319 && 0 < x && x < 319; }

  void clear(int x, int y) {
    KindCell& cell = grid_.at(x, y);
    cell.kind = EMPTY;
    cell.vy = 0.0f;
    cell.vx = 0.0f;
  }

  // Writes the grain into (x, y): grains_a its kind and the move's
  // velocity, grains_c the whole saved cell, velocity included.
  void place(const KindCell& grain, int x, int y, float vx, float vy) {
    KindCell& to = grid_.at(x, y);
    if (is_c_) {
      to = grain;
      return;
    }
    to.kind = grain.kind;
    to.vx = vx;
    to.vy = vy;
  }

  void move(int x, int y, const KindCell& grain) {
    const bool inner = in_inner_area(x, y);
    if (is_empty(x, y + 1)) {  // fall
      clear(x, y);
      if (inner) place(grain, x, y + 1, grid_.at(x, y + 1).vx, grain.vy);
    } else if (is_empty(x - 1, y + 1) && is_empty(x + 1, y + 1)) {  // both diagonals
      clear(x, y);
      if (inner) {
        if (random.below(2) == 1) place(grain, x + 1, y + 1, 1.0f, 1.0f);
        else place(grain, x - 1, y + 1, -1.0f, 1.0f);
      }
    } else if (is_empty(x + 1, y + 1) || is_empty(x - 1, y + 1)) {  // one diagonal
      if (is_empty(x + 1, y + 1)) {
        clear(x, y);
        if (inner) place(grain, x + 1, y + 1, 1.0f, 1.0f);
      }
      if (is_empty(x - 1, y + 1)) {
        clear(x, y);
        if (inner) place(grain, x - 1, y + 1, -1.0f, 1.0f);
      }
    } else {
      flow(x, y, grain, inner);
    }
  }

  // Blocked below: looks for the nearest empty cell on each side in the
  // four rows below and moves one cell towards the nearer.
  void flow(int x, int y, const KindCell& grain, bool inner) {
    // Distances to the nearest empty cell on each side, -1 until found; a
    // find holds for the deeper rows until a new one replaces it.
    int to_right = -1;
    int to_left = -1;
    for (int depth = 1; depth <= 4; ++depth) {
      const int row = y + depth;
      const int weight = is_c_ ? depth : 1;  // grains_c counts deeper cells as farther
      for (int m = x; m <= 319; ++m)
        if (is_empty(m, row)) {
          to_right = (m - x) * weight;
          break;
        }
      for (int m = x - 1; m >= 1; --m)
        if (is_empty(m, row)) {
          to_left = (x - m) * weight;
          break;
        }
      const bool moved = is_c_ ? choose_flow_c(x, y, grain, inner, to_right, to_left)
                               : choose_flow_a(x, y, grain, inner, to_right, to_left);
      if (moved) return;
    }
  }

  bool choose_flow_a(int x, int y, const KindCell& grain, bool inner, int to_right, int to_left) {
    if (to_left == -1) return flow_to(x, y, grain, inner, x + 1, -1.0f);
    if (to_right == -1) return flow_to(x, y, grain, inner, x - 1, 1.0f);
    if (to_right > to_left) return flow_to(x, y, grain, inner, x - 1, -1.0f);
    if (to_right < to_left) return flow_to(x, y, grain, inner, x + 1, -1.0f);
    return false;
  }

  bool choose_flow_c(int x, int y, const KindCell& grain, bool inner, int to_right, int to_left) {
    if (to_left == -1 && to_right != -1) return flow_to(x, y, grain, inner, x + 1);
    if (to_right == -1 && to_left != -1) return flow_to(x, y, grain, inner, x - 1);
    if (to_left == -1 && to_right == -1) return false;
    if (to_right > to_left) return flow_to(x, y, grain, inner, x - 1);
    if (to_right < to_left) return flow_to(x, y, grain, inner, x + 1);
    // A tie: a random side, whether or not the grain is in the inner area.
    const int to_x = random.below(2) == 1 ? x + 1 : x - 1;
    return flow_to(x, y, grain, true, to_x);
  }

  // Moves the grain sideways within its row if it may; true if it moved.
  // vx is the velocity grains_a writes; grains_c's grains keep their own.
  bool flow_to(int x, int y, const KindCell& grain, bool allowed, int to_x, float vx = 0.0f) {
    if (!allowed || !is_empty(to_x, y)) return false;
    grid_.at(x, y).kind = EMPTY;
    place(grain, to_x, y, vx, 1.0f);
    return true;
  }

  const bool is_c_;
  Grid<KindCell> grid_{KindCell{}};
};

// ---------------------------------------------------------------------------
// grains_b and grains_d: cells holding a colour; 0 empty, red a wall.

enum class ColourProgram { grains_b, grains_d };

class ReferenceColourRules final : public GrainRules {
 public:
  explicit ReferenceColourRules(ColourProgram program)
      : is_b_(program == ColourProgram::grains_b), last_(is_b_ ? 320 : 160), cell_pixels_(is_b_ ? 2 : 4) {}

  void clear_grid() override {
    for (int y = Grid<std::uint32_t>::SIDE - 1; y >= 0; --y)
      for (int x = Grid<std::uint32_t>::SIDE - 1; x >= 0; --x) grid_.at(x, y) = 0;
  }

  void spawn() override {
    if (is_b_) {
      if (random.below(5) == 1) {
        grid_.at(40 + random.below(40), 1) = PINK;
        grid_.at(180 + random.below(40), 1) = WHITE;
      }
      return;
    }
    for (int i = 0; i < random.below(250); ++i) grid_.at(random.below(640), 1) = WHITE;
  }

  void scan(CellPainter& painter) override {
    std::vector<std::uint32_t> shown(last_ + 1);
    for (int y = last_; y >= 0; --y) {
      for (int x = last_; x >= 0; --x) shown[x] = visit(x, y);
      painter.row(y, shown.data(), last_ + 1, cell_pixels_);
    }
  }

  void mouse_motion(const MOUSE_STATE& mouse) override {
    if (!mouse.right_held) return;
    if (is_b_) paint_wall(mouse.x / 2, mouse.y / 2, 8);
    else paint_wall(mouse.x, mouse.y, 4);
  }

  void fill_with_grains() override {
    for (int y = 0; y <= last_; ++y)
      for (int x = 0; x <= last_; ++x) grid_.at(x, y) = WHITE;
  }

  void write_dump(std::FILE* out) const override {
    for (int y = 0; y < Grid<std::uint32_t>::SIDE; ++y)
      for (int x = 0; x < Grid<std::uint32_t>::SIDE; ++x)
        std::fprintf(out, "%06x%c", grid_.at(x, y), x == Grid<std::uint32_t>::SIDE - 1 ? '\n' : ' ');
  }

 private:
  // A side by side block of wall from (left, top); cells outside the grid
  // are left out.
  void paint_wall(int left, int top, int side) {
    for (int j = 0; j < side; ++j)
      for (int i = 0; i < side; ++i)
        if (Grid<std::uint32_t>::inside(left + i, top + j)) grid_.at(left + i, top + j) = RED;
  }

  std::uint32_t drawing_colour(std::uint32_t cell) const {
    if (is_b_ || cell == 0 || cell == RED) return cell;
    return WHITE;
  }

  // Draws cell (x, y) and moves it; returns the colour it was drawn in.
  std::uint32_t visit(int x, int y) {
    const std::uint32_t cell = grid_.at(x, y);
    const std::uint32_t shown = drawing_colour(cell);
    if (tries_to_move(cell)) move(x, y);
    return shown;
  }

  bool tries_to_move(std::uint32_t cell) {
    if (is_b_) return cell != RED && random.below(3) == 1;
    return cell == WHITE && random.below(2) == 1;
  }

  // Cells outside the grid read as walls.
  bool is_empty(int x, int y) const { return Grid<std::uint32_t>::inside(x, y) && grid_.at(x, y) == 0; }

  void move_to(int x, int y, int to_x, int to_y) {
    const std::uint32_t value = grid_.at(x, y);
    grid_.at(x, y) = 0;
    grid_.at(to_x, to_y) = value;
  }

  // Moves into the first empty one of two cells, if either is.
  void move_to_first_empty(int x, int y, int first_x, int first_y, int second_x, int second_y) {
    if (is_empty(first_x, first_y)) move_to(x, y, first_x, first_y);
    else if (is_empty(second_x, second_y)) move_to(x, y, second_x, second_y);
  }

  void move(int x, int y) {
    const int below = y + 1;
    if (is_empty(x, below)) {  // fall
      move_to(x, y, x, below);
    } else if (is_empty(x - 1, below) && is_empty(x + 1, below)) {  // both diagonals
      if (random.below(2) == 1) move_to(x, y, x + 1, below);
      else move_to(x, y, x - 1, below);
    } else if (is_empty(x - 1, below) || is_empty(x + 1, below)) {  // one diagonal
      const int draw = random.below(2);
      const bool left_first = is_b_ ? draw == 1 : draw == 0;
      if (left_first) move_to_first_empty(x, y, x - 1, below, x + 1, below);
      else move_to_first_empty(x, y, x + 1, below, x - 1, below);
    } else if (is_empty(x - 1, y) && is_empty(x + 1, y)) {  // both sides
      if (random.below(2) == 1) move_to(x, y, x - 1, y);
      else move_to(x, y, x + 1, y);
    } else if (random.below(2) == 1) {  // one side or none
      move_to_first_empty(x, y, x - 1, y, x + 1, y);
    } else {
      move_to_first_empty(x, y, x + 1, y, x - 1, y);
    }
  }

  const bool is_b_;
  const int last_;         // highest simulated column and row
  const int cell_pixels_;  // side of a cell on screen
  Grid<std::uint32_t> grid_{0};
};

}  // namespace

std::unique_ptr<GrainRules> make_reference_rules(const std::string& program) {
  if (program == "grains_a" || program == "grains_c") return make_reference_kind_rules(program);
  if (program == "grains_b") return std::make_unique<ReferenceColourRules>(ColourProgram::grains_b);
  if (program == "grains_d") return std::make_unique<ReferenceColourRules>(ColourProgram::grains_d);
  return nullptr;
}

std::unique_ptr<ReferenceKindRules> make_reference_kind_rules(const std::string& program) {
  if (program == "grains_a") return std::make_unique<PlainKindRules>(KindProgram::grains_a);
  if (program == "grains_c") return std::make_unique<PlainKindRules>(KindProgram::grains_c);
  return nullptr;
}
