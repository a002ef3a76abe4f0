#include "common/frame_step.h"

namespace {

void spawn_and_scan(GrainRules& rules, CellPainter& painter) {
  rules.spawn();
  rules.scan(painter);
}

}  // namespace

void step_frame(GrainRules& rules, MOUSE_STATE& mouse, const std::vector<MouseEvent>& events, CellPainter& painter,
                const FrameExtras& extras) {
  for (const MouseEvent& event : events) handle_mouse_event(mouse, event, rules);
  if (extras.full_load) rules.fill_with_grains();
  if (extras.spawn_and_scan_time == nullptr) return spawn_and_scan(rules, painter);
  // Only a benchmark's frame reads the clock.
  const auto start = std::chrono::steady_clock::now();
  spawn_and_scan(rules, painter);
  *extras.spawn_and_scan_time += std::chrono::steady_clock::now() - start;
}
