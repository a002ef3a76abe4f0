#include "common/program_main.h"

#include "common/cell_drawing.h"
#include "common/grain_rules.h"
#include "common/stop_signals.h"
#include "scene/objet.h"
#include "video/video.h"

#include <GL/gl.h>

#include <memory>

void poll_events(GrainRules& rules) {
  static SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (const auto mouse_event = mouse_event_from_sdl(event))
      handle_mouse_event(mouse_state, *mouse_event, rules);
  }
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

int run_grain_program(GrainRules& rules) {
  start_program(StartUpBanners::printed);
  // The root container; the frame loop neither updates nor draws it.
  [[maybe_unused]] OBJET* const root_object = new OBJET(0, 0, "1");

  rules.clear_grid();
  const std::unique_ptr<CellDrawing> drawing = make_cell_drawing();
  for (;;) {
    end_if_stop_requested();
    poll_events(rules);
    draw_frame(rules, *drawing);
    SDL_GL_SwapBuffers();
  }
}
