// Scripted mouse input for the headless runner: one event a line,
//   FRAME KIND X Y [BUTTON]
// KIND is motion, down or up; BUTTON (1 left, 2 middle, 3 right) is required
// for down and up; X and Y are window pixels 0 to 65535. Blank lines and
// lines starting with '#' are skipped.
#pragma once

#include "common/mouse.h"

#include <istream>
#include <string>
#include <vector>

struct ScriptedEvent {
  long frame;
  MouseEvent event;
};

struct EventsScript {
  // Sorted by frame; events of one frame keep their file order.
  std::vector<ScriptedEvent> events;
  // Empty when every line was read; else names the first bad line.
  std::string error;
};

EventsScript read_events_script(std::istream& in);
