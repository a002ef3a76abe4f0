#include "common/program_main.h"

#include "common/cell_drawing.h"
#include "common/grain_rules.h"
#include "common/png_file.h"
#include "common/session_recording.h"
#include "common/stop_signals.h"
#include "common/window_snapshot.h"
#include "scene/objet.h"
#include "video/video.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// A running grain program: its rules, how its cells reach the window, and
// what it keeps of the session.
class GrainProgram {
 public:
  GrainProgram(const std::string& name, GrainRules& rules)
      : rules_(rules), drawing_(make_cell_drawing()), recording_(SessionRecording::from_environment(name)) {
    if (const char* path = std::getenv("GRAINS_SNAPSHOT")) snapshot_path_ = path;
  }

  // Events, spawn, scan and drawing, then the buffer swap. A stop signal
  // makes this frame the last: it is kept and shown, then the session ends.
  void run_frame() {
    poll_events();
    draw_frame(rules_, *drawing_);
    ++frames_;
    const bool last = stop_requested();
    if (last) keep_snapshot();
    SDL_GL_SwapBuffers();
    if (last) {
      if (recording_) recording_->finish(frames_);
      end_by_stop_signal();
    }
  }

 private:
  // The frame about to be shown, as GRAINS_SNAPSHOT asks.
  void keep_snapshot() {
    if (snapshot_path_.empty()) return;
    const std::vector<std::uint32_t> frame = read_frame_to_show(WINDOW_WIDTH, WINDOW_HEIGHT);
    std::string error;
    if (!write_png(snapshot_path_, WINDOW_WIDTH, WINDOW_HEIGHT, frame.data(), error))
      std::fprintf(stderr, "GRAINS_SNAPSHOT: cannot write %s: %s\n", snapshot_path_.c_str(), error.c_str());
  }

  // Drains SDL's event queue: mouse events update the mouse record and
  // apply the program's brushes; every other event is dropped.
  void poll_events() {
    static SDL_Event event;
    while (SDL_PollEvent(&event)) {
      const auto mouse_event = mouse_event_from_sdl(event);
      if (!mouse_event) continue;
      if (recording_) recording_->event(frames_, *mouse_event);
      handle_mouse_event(mouse_state, *mouse_event, rules_);
    }
    if (recording_) recording_->end_of_events();
  }

  GrainRules& rules_;
  const std::unique_ptr<CellDrawing> drawing_;
  const std::unique_ptr<SessionRecording> recording_;
  std::string snapshot_path_;
  long frames_ = 0;  // frames whose scan has run
};

}  // namespace

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

int run_grain_program(const std::string& name, GrainRules& rules) {
  start_program(StartUpBanners::printed);
  // The root container; the frame loop neither updates nor draws it.
  [[maybe_unused]] OBJET* const root_object = new OBJET(0, 0, "1");

  rules.clear_grid();
  GrainProgram program(name, rules);
  for (;;) program.run_frame();
}
