// A container panel loaded from a layout file (examples/panel_widgets.lay):
// its buttons and its slider answer the mouse through messages. Run it from
// the project's folder. Escape, closing the window, SIGINT or SIGTERM end it.
#include "grains/engine.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>

namespace {

// Whether window pixel (x, y) lies on a child's picture as the panel shows
// it: at the panel's place plus the child's, TEXTURED_QUAD_DROP lower.
bool over(const OBJET& panel, const SPRITE* child, int x, int y) {
  const int left = cut(panel.x + child->x), top = cut(panel.y + child->y) + TEXTURED_QUAD_DROP;
  return x >= left && x < left + cut(child->w) && y >= top && y < top + cut(child->h);
}

// Posts "KEYWORD v" to the knob, v the value (0 to 100) under x on the rail.
void post_slider(OBJET& panel, const SDL_Event& event, const char* keyword, int x) {
  const SPRITE* rail = panel.Find_child("SPEED_TRACK");
  char text[32];
  std::snprintf(text, sizeof text, "%s %d", keyword, std::clamp(cut((x - panel.x - rail->x) * 100 / rail->w), 0, 100));
  panel.Post(MESSAGE(0, event, text, panel.Find_child("SPEED")));
}

// Mouse events become messages for the panel to route: a button gets the
// left press and release events (a release toggles it); the knob gets
// "SLD_MVT_START v", "SLD_MVT_CHANGE v" and "SLD_MVT_STOP v".
void translate(OBJET& panel, const SDL_Event& event, bool& dragging) {
  const bool press = event.type == SDL_MOUSEBUTTONDOWN, release = event.type == SDL_MOUSEBUTTONUP;
  if ((press || release) && event.button.button == SDL_BUTTON_LEFT) {
    const int x = event.button.x, y = event.button.y;
    for (const char* button : {"PLAY", "STOP"})
      if (over(panel, panel.Find_child(button), x, y)) panel.Post(MESSAGE(1, event, nullptr, panel.Find_child(button)));
    if (press && over(panel, panel.Find_child("SPEED"), x, y)) post_slider(panel, event, "SLD_MVT_START", x);
    if (release && dragging) post_slider(panel, event, "SLD_MVT_STOP", x);
    dragging = press && over(panel, panel.Find_child("SPEED"), x, y);
  } else if (event.type == SDL_MOUSEMOTION && dragging) {
    post_slider(panel, event, "SLD_MVT_CHANGE", event.motion.x);
  }
}

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

  bool running = true, dragging = false;
  while (running) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      running = running && !ends(event);
      translate(panel, event, dragging);
    }
    // Update routes the messages, newest first. With its children marked
    // clean it does not draw them there and then; it sizes the panel as its
    // own picture, and Fit_background puts the layout's size back.
    panel.Mark_children(0);
    panel.Update();
    panel.Fit_background();
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
