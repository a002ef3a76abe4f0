// A container panel loaded from a layout file (examples/panel_widgets.lay):
// its buttons and its slider answer the mouse through messages, posted by
// the front end in panel_front_end.cpp. Run it from the project's folder.
// Escape, closing the window, SIGINT or SIGTERM end it.
#include "panel_front_end.h"

#include <GL/gl.h>

#include <cstdio>

namespace {

bool ends(const SDL_Event& event) {
  return event.type == SDL_QUIT || (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE);
}

}  // namespace

int main(int, char**) {
  start_video(1024, 768, "grfx/KPD_Player.vym");
  SDL_WM_SetCaption("panel_widgets", "panel_widgets");
  font_table.load("grfx/showcase_fonts.txt");  // the labels' fonts, after every picture
  // Loaded at (0, 0), then moved: the reader adds the panel's place to
  // SPRITE records, and drawing adds it again.
  OBJET panel(0, 0, "P");
  if (panel.Load("examples/panel_widgets.lay") != 1) return 1;
  panel.Set_position(300, 200, 0);
  for (const auto& child : *panel.children) child->Update();  // sizes from the pictures
  SPRITE *knob = panel.Find_child("SPEED"), *rail = panel.Find_child("SPEED_TRACK");
  LABEL* value = dynamic_cast<LABEL*>(panel.Find_child("VALUE"));
  PanelFrontEnd front_end(panel);

  bool running = true;
  while (running) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      running = running && !ends(event);
      front_end.handle(event);  // routed at once: the panel takes its messages newest first
    }
    knob->Set_x(rail->x + rail->w * panel.slider_value / 100 - knob->w / 2);
    std::snprintf(value->caption, sizeof value->caption, "Value:_%d", panel.slider_value);

    push_ortho(0, 0, 1024, 768);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    panel.Mark_children(1);  // Render draws only the children marked dirty
    panel.Render(0, 1);
    pop_ortho();
    SDL_GL_SwapBuffers();
  }
  font_table.release_all();
  return 0;
}
