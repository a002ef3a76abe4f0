// One frame of a grain program's grid, the same wherever the program runs:
// the window, the browser, grains_sim, the benchmarks and the tests all step
// their frames through step_frame, so that they all compute the same grid.
#pragma once

#include "common/cell_painter.h"
#include "common/grain_rules.h"
#include "common/mouse.h"

#include <chrono>
#include <vector>

// What a benchmark or a test adds to a frame; a program's frame adds
// nothing.
struct FrameExtras {
  // Fills every simulated cell with a moving grain after the events,
  // before the spawn: the heaviest load a frame can carry.
  bool full_load = false;
  // When set, the time the spawn and the scan took is added to it.
  std::chrono::duration<double>* spawn_and_scan_time = nullptr;
};

// The frame's mouse events first, in the order they came, each updating
// the mouse record and applying the program's click action and brushes;
// then the spawn; then the scan, which hands every simulated cell to the
// painter as it reaches it.
void step_frame(GrainRules& rules, MOUSE_STATE& mouse, const std::vector<MouseEvent>& events, CellPainter& painter,
                const FrameExtras& extras = {});
