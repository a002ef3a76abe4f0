// A running grain program, one frame at a time: the desktop's endless loop
// (program_main.cpp) and the browser's animation frames (web_main.cpp) both
// call next_frame().
#pragma once

#include "common/cell_drawing.h"
#include "common/grain_rules.h"
#include "common/session_recording.h"

#include <memory>
#include <string>

class GrainProgram {
 public:
  // After start-up: clears the grid and chooses how cells reach the window;
  // GRAINS_RECORD=FILE records the session's mouse input.
  GrainProgram(const std::string& name, GrainRules& rules);

  // One frame up to the buffer swap: the events, then the spawn and the scan
  // with their drawing under the pixel projection.
  void next_frame();
  // Frames whose scan has run.
  long frames() const { return frames_; }
  // Ends the recording with the number of frames.
  void end_recording();
  // Every simulated cell a moving grain: the heaviest load, for benchmarks.
  void fill_with_grains() { rules_.fill_with_grains(); }

 private:
  // Drains SDL's event queue: mouse events update the mouse record and
  // apply the program's brushes; every other event is dropped.
  void poll_events();

  GrainRules& rules_;
  const std::unique_ptr<CellDrawing> drawing_;
  const std::unique_ptr<SessionRecording> recording_;
  long frames_ = 0;
};

// One frame's GL work between the events and the buffer swap: the pixel
// projection, the clear, the spawn and the scan with its drawing.
void draw_frame(GrainRules& rules, CellDrawing& drawing);
