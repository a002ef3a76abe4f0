// What a grain program adds to the shared start-up and frame loop: its grid,
// its spawn, its scan and its mouse brushes.
#pragma once

#include "common/cell_painter.h"
#include "common/mouse.h"
#include "common/random_source.h"

#include <cstdio>

class GrainRules {
 public:
  virtual ~GrainRules() = default;

  // The start-up clear of the grid, before the first frame.
  virtual void clear_grid() = 0;
  // Drops this frame's new grains into row 1.
  virtual void spawn() = 0;
  // Visits every simulated cell bottom-up and right to left, drawing it and
  // then moving it by the program's rules.
  virtual void scan(CellPainter& painter) = 0;

  // Left button pressed, before the held flag is set.
  virtual void left_click(const MOUSE_STATE&) {}
  // Mouse moved: the drag brushes of the buttons that are held.
  virtual void mouse_motion(const MOUSE_STATE& mouse) = 0;

  // Puts a grain that moves into every simulated cell: the heaviest load
  // a frame can carry, for benchmarks.
  virtual void fill_with_grains() = 0;

  // The whole grid as text: 641 lines, one per row, 641 values each.
  virtual void write_dump(std::FILE* out) const = 0;

  // Every random draw of the program comes from here, in rule order.
  RandomSource random;
};
