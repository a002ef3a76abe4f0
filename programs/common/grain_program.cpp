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
  draw_frame(rules_, *drawing_);
  ++frames_;
}

void GrainProgram::end_recording() {
  if (recording_) recording_->finish(frames_);
}

void GrainProgram::poll_events() {
  static SDL_Event event;
  while (SDL_PollEvent(&event)) {
    const auto mouse_event = mouse_event_from_sdl(event);
    if (!mouse_event) continue;
    if (recording_) recording_->event(frames_, *mouse_event);
    handle_mouse_event(mouse_state, *mouse_event, rules_);
  }
  if (recording_) recording_->end_of_events();
}

void draw_frame(GrainRules& rules, CellDrawing& drawing) {
  push_ortho(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
  glLoadIdentity();
  glClear(GL_COLOR_BUFFER_BIT);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  rules.spawn();
  drawing.begin_frame();
  rules.scan(drawing.painter());
  drawing.end_frame();
  pop_ortho();
}
