// Mouse input as text, as grains_sim replays it and the programs record it:
// one event a line,
//   FRAME KIND X Y [BUTTON]
// the event handled at the start of frame FRAME (from 0). KIND is motion,
// down or up; BUTTON (1 left, 2 middle, 3 right; 4 and up, the wheel, only
// move the pointer) is required for down and up; X and Y are window pixels
// 0 to 65535. Blank lines and lines starting with '#' are skipped, but for
// the comment "# frames N" that ends a recording: the session ran N frames.
#pragma once

#include "common/mouse.h"

#include <istream>
#include <optional>
#include <string>
#include <vector>

struct ScriptedEvent {
  long frame;
  MouseEvent event;
};

struct EventsScript {
  // Sorted by frame; events of one frame keep their file order.
  std::vector<ScriptedEvent> events;
  // The last "# frames N" comment's N, if any.
  std::optional<long> frames;
  // Empty when every line was read; else names the first bad line.
  std::string error;

  // The frames a replay runs: N of "# frames N", else 1000.
  long run_length() const { return frames.value_or(1000); }
};

EventsScript read_events_script(std::istream& in);

// The line (without its line break) that reads back as this event.
std::string event_line(long frame, const MouseEvent& event);
// The comment that gives a recording's number of frames.
std::string frames_line(long frames);
