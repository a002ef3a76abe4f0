// A running grain program, one frame at a time: the desktop's endless loop
// (program_main.cpp) and the browser's animation frames (web_main.cpp) both
// call next_frame().
#pragma once

#include "common/cell_drawing.h"
#include "common/frame_step.h"
#include "common/grain_rules.h"
#include "common/session_recording.h"

#include <memory>
#include <string>
#include <vector>

class GrainProgram {
 public:
  // After start-up: clears the grid and chooses how cells reach the window;
  // GRAINS_RECORD=FILE records the session's mouse input.
  GrainProgram(const std::string& name, GrainRules& rules);

  // One frame up to the buffer swap: SDL's mouse events, then the frame
  // step, shown in the window.
  void next_frame();
  // Frames whose scan has run.
  long frames() const { return frames_; }
  // Ends the recording with the number of frames.
  void end_recording();
  // Every simulated cell a moving grain: the heaviest load, for benchmarks.
  void fill_with_grains() { rules_.fill_with_grains(); }

 private:
  // Drains SDL's event queue into the frame's mouse events, recording
  // them; every other event is dropped.
  void poll_events();

  GrainRules& rules_;
  const std::unique_ptr<CellDrawing> drawing_;
  const std::unique_ptr<SessionRecording> recording_;
  std::vector<MouseEvent> events_;
  long frames_ = 0;
};

// A frame shown in the window, up to the buffer swap: the frame step, its
// cells painted through drawing, inside the GL drawing of a frame (a cleared
// window under the pixel projection before, the drawing presented after).
void step_frame_in_window(GrainRules& rules, MOUSE_STATE& mouse, const std::vector<MouseEvent>& events,
                          CellDrawing& drawing, const FrameExtras& extras = {});
