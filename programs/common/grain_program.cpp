#include "common/grain_program.h"

#include "common/start_up.h"
#include "video/video.h"

#include <GL/gl.h>
#include <SDL.h>

GrainProgram::GrainProgram(const std::string& name, GrainRules& rules)
    : rules_(rules), drawing_(make_cell_drawing()), recording_(SessionRecording::from_environment(name)) {
  rules_.clear_grid();
}

void GrainProgram::next_frame() {
  poll_events();
  step_frame_in_window(rules_, mouse_state, events_, *drawing_);
  ++frames_;
}

void GrainProgram::end_recording() {
  if (recording_) recording_->finish(frames_);
}

void GrainProgram::poll_events() {
  static SDL_Event event;
  events_.clear();
  while (SDL_PollEvent(&event)) {
    const auto mouse_event = mouse_event_from_sdl(event);
    if (!mouse_event) continue;
    if (recording_) recording_->event(frames_, *mouse_event);
    events_.push_back(*mouse_event);
  }
  if (recording_) recording_->end_of_events();
}

namespace {

// The GL drawing of a frame, before its cells: the pixel projection on a
// cleared window, and a fresh drawing.
void begin_window_frame(CellDrawing& drawing) {
  push_ortho(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
  glLoadIdentity();
  glClear(GL_COLOR_BUFFER_BIT);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  drawing.begin_frame();
}

// After the cells: the drawing presented, the projection removed.
void end_window_frame(CellDrawing& drawing) {
  drawing.end_frame();
  pop_ortho();
}

}  // namespace

void step_frame_in_window(GrainRules& rules, MOUSE_STATE& mouse, const std::vector<MouseEvent>& events,
                          CellDrawing& drawing, const FrameExtras& extras) {
  begin_window_frame(drawing);
  step_frame(rules, mouse, events, drawing.painter(), extras);
  end_window_frame(drawing);
}
