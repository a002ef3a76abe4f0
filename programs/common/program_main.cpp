#include "common/program_main.h"

#include "common/cell_drawing.h"
#include "common/grain_rules.h"
#include "common/stop_signals.h"
#include "scene/background.h"
#include "scene/objet.h"
#include "video/video.h"

#include <GL/gl.h>

#include <cstdio>
#include <memory>

namespace {

constexpr const char* CATALOGUE_PATH = "grfx/KPD_Player.vym";

}  // namespace

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
  // Lines reach a pipe as they are printed, not when a buffer fills.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  install_stop_handlers();

  std::printf("K-0\n");
  // Built before the video: a sprite needs neither GL nor the image bank.
  background_sprite = new SPRITE("FOND", 0, 0, 0, 0, 0, 1.0f, 0, 255);
  std::printf("VyrEngine - Loading all Graphisme\n");
  start_video(WINDOW_WIDTH, WINDOW_HEIGHT, CATALOGUE_PATH);
  // SDL may have put its own handlers in place while starting.
  install_stop_handlers();
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
