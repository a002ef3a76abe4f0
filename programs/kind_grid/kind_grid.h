// Rules of grains_a and grains_c: three grain kinds plus walls on a grid of
// CELL records. Grains fall, slide down a diagonal, or flow one cell sideways
// towards the nearest hole up to four rows below; they leave the grid at the
// bottom and side borders. grains_c is grains_a with a colour in every cell,
// another chance of moving, a busier spawn, a few changed flow rules, a
// colour palette for the brushes and an eraser.
//
// Where to look: scan() -> tries_to_move(), move_grain() -> fall(),
// slide_down_either_side(), slide_down(), flow() (the flow search,
// search_depths(), its holes from hole_rows.h) -> choose_side(), or
// draw_for_ties(); spawn(); left_click() and mouse_motion() for the brushes.
//
// The rules stated plainly, without any of the shortcuts taken here, are in
// tests/reference/reference_rules.cpp: reference_rules_test runs both side
// by side, and rule_shortcuts_test holds each shortcut that restates a
// rule's outcome (is_stuck(), can_flow(), draw_for_ties()) to them. A
// change of rule is made in both.
#pragma once

#include "common/cell_grid.h"
#include "common/grain_rules.h"
#include "kind_grid/hole_rows.h"

#include <array>
#include <cstdint>
#include <type_traits>

enum class KindVariant {
  grains_a,  // red, green and blue grains; one draw per cell decides a move
  grains_c,  // grains carry a colour; palette brushes, eraser, busier spawn
};

// The cell of grains_a. Defaults come from static initialisation; the
// start-up clear resets only kind.
struct CELL_A {
  std::int32_t kind = 0;
  float vx = 0.0f;  // horizontal velocity of the last move; read by no rule
  float vy = 1.0f;  // vertical velocity; carried along, read by no rule
};

// The cell of grains_c: grains_a's fields and the colour of a kind-2 grain.
struct CELL_C {
  std::int32_t kind = 0;
  float vx = 0.0f;
  float vy = 1.0f;
  std::uint32_t colour = 0xFF0000;  // 0x00RRGGBB
};

template <KindVariant V>
using CELL = std::conditional_t<V == KindVariant::grains_a, CELL_A, CELL_C>;

namespace kind {
constexpr std::int32_t EMPTY = 0;
constexpr std::int32_t WALL = 1;
constexpr std::int32_t GRAIN_2 = 2;  // red in grains_a, its own colour in grains_c
constexpr std::int32_t GRAIN_4 = 4;  // green
constexpr std::int32_t GRAIN_6 = 6;  // blue
}  // namespace kind

// The colours the brushes of grains_c draw from, by rand() % 6.
constexpr std::uint32_t PALETTE[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0x00FFFF, 0xFF00FF, 0xFFFF00};

template <KindVariant V>
class KindGridRules final : public GrainRules {
 public:
  static constexpr bool IS_A = V == KindVariant::grains_a;
  using Cell = CELL<V>;
  using Grid = CELL_GRID<Cell>;
  // Highest simulated column and row.
  static constexpr int LAST = 320;
  // Moves are written only for grains in columns 1 to INNER_END - 1 and
  // rows 0 to INNER_END - 1: the inner area.
  static constexpr int INNER_END = LAST - 1;
  // Side of a cell on screen, in pixels: a square of draw_square size 2.
  static constexpr int CELL_PIXELS = 2;
  // Side of the brushes' square block, in cells.
  static constexpr int BRUSH = 8;
  // Spawn passes continue while the pass number is below rand() % SPAWN_RATE.
  static constexpr int SPAWN_RATE = IS_A ? 3 : 30;

  KindGridRules() : holes_(grid) {}
  void clear_grid() override;
  void spawn() override;
  void scan(CellPainter& painter) override;
  void left_click(const MOUSE_STATE& mouse) override;
  void mouse_motion(const MOUSE_STATE& mouse) override;
  void fill_with_grains() override;
  void write_dump(std::FILE* out) const override;

  Grid grid;

 private:
  // A distance of the flow search that no scan has found yet.
  static constexpr int NOT_FOUND = HoleRows<Grid, LAST, !IS_A>::NOT_FOUND;

  // Moves are written only for grains whose own cell lies here.
  static bool in_inner_area(int x, int y) { return y < INNER_END && 0 < x && x < INNER_END; }
  // For cells inside the grid.
  bool is_empty(int x, int y) const { return grid.cells[x][y].kind == kind::EMPTY; }
  // Also for column -1, which lies outside the grid and reads as a wall.
  bool is_empty_or_left_of_grid(int x, int y) const { return x >= 0 && is_empty(x, y); }

  static std::uint32_t colour_of(const Cell& cell);
  // Inlined into the scan, as is draw_for_ties(): where the grid is
  // crowded, calls would cost about as much as the work.
  [[gnu::always_inline]] bool tries_to_move(int x, int y, std::int32_t cell_kind);
  [[gnu::always_inline]] void move_grain(int x, int y, const Cell& grain);
  bool is_stuck(int x, int y) const;
  bool can_flow(int x, int y) const;
  void fall(int x, int y, const Cell& grain);
  void slide_down_either_side(int x, int y, const Cell& grain);
  void slide_down(int x, int y, const Cell& grain, int to_x);
  void flow(int x, int y, const Cell& grain);
  [[gnu::always_inline]] void draw_for_ties(int x, int y);
  // Inlined into each caller: its loop then runs without calls.
  template <typename Decide>
  [[gnu::always_inline]] void search_depths(int x, int y, Decide decide);
  bool choose_side(int x, int y, const Cell& grain, int right, int left);
  bool flow_to(int x, int y, int to_x, const Cell& grain, float vx);
  bool tie_break(int x, int y, const Cell& grain);

  // Clears a cell that a grain leaves by falling or sliding.
  static void clear(Cell& cell) {
    cell.kind = kind::EMPTY;
    cell.vy = 0.0f;
    cell.vx = 0.0f;
  }
  // Writes the grain into a destination: grains_a sets kind and the move's
  // velocity, grains_c copies the whole saved record.
  static void place(Cell& to, const Cell& grain, float vx, float vy) {
    if constexpr (IS_A) {
      to.kind = grain.kind;
      to.vx = vx;
      to.vy = vy;
    } else {
      to = grain;
    }
  }

  // The brushes write cells inside the grid only.
  template <typename Paint>
  void paint_block(const MOUSE_STATE& mouse, Paint paint);
  void paint_grains(const MOUSE_STATE& mouse);
  // A new kind-2 grain of the brushes; grains_c draws its colour even when
  // the cell lies outside the grid and is not written.
  void put_brush_grain(int x, int y);

  // grains_c's blocked grains search all four rows for their ties' draws;
  // grains_a's searches are few.
  HoleRows<Grid, LAST, !IS_A> holes_;
  // The colours of the row being scanned, as each cell was reached.
  std::array<std::uint32_t, LAST + 1> row_colours_{};
};

using GrainsA = KindGridRules<KindVariant::grains_a>;
using GrainsC = KindGridRules<KindVariant::grains_c>;
