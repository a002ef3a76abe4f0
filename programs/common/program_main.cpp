#include "common/program_main.h"

#include "common/grain_rules.h"
#include "common/stop_signals.h"
#include "video/video.h"

#include <GL/gl.h>

#include <cstdio>

namespace {

constexpr int WINDOW_WIDTH = 1024;
constexpr int WINDOW_HEIGHT = 768;
constexpr const char* CATALOGUE_PATH = "grfx/KPD_Player.vym";

void run_frame(GrainRules& rules, CellPainter& painter) {
  poll_events(rules);
  push_ortho(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
  glLoadIdentity();
  glClear(GL_COLOR_BUFFER_BIT);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  rules.spawn();
  rules.scan(painter);
  pop_ortho();
  SDL_GL_SwapBuffers();
}

}  // namespace

void poll_events(GrainRules& rules) {
  static SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (const auto mouse_event = mouse_event_from_sdl(event))
      handle_mouse_event(mouse_state, *mouse_event, rules);
  }
}

int run_grain_program(GrainRules& rules) {
  // Lines reach a pipe as they are printed, not when a buffer fills.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  install_stop_handlers();

  std::printf("K-0\n");
  std::printf("VyrEngine - Loading all Graphisme\n");
  start_video(WINDOW_WIDTH, WINDOW_HEIGHT, CATALOGUE_PATH);
  // SDL may have put its own handlers in place while starting.
  install_stop_handlers();

  rules.clear_grid();
  GlPointPainter painter;
  for (;;) {
    end_if_stop_requested();
    run_frame(rules, painter);
  }
}
