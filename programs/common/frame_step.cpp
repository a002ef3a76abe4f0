#include "common/frame_step.h"

void step_frame(GrainRules& rules, MOUSE_STATE& mouse, const std::vector<MouseEvent>& events, CellPainter& painter,
                const FrameExtras& extras) {
  for (const MouseEvent& event : events) handle_mouse_event(mouse, event, rules);
  if (extras.full_load) rules.fill_with_grains();
  const auto start = std::chrono::steady_clock::now();
  rules.spawn();
  rules.scan(painter);
  if (extras.spawn_and_scan_time != nullptr) *extras.spawn_and_scan_time += std::chrono::steady_clock::now() - start;
}
