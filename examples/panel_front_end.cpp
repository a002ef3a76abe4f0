#include "panel_front_end.h"

#include <algorithm>
#include <cstdio>

using grains::cut;
using grains::TEXTURED_QUAD_DROP;

namespace {

// The kind of a MESSAGE that carries an input event (0 carries a text).
constexpr std::int32_t INPUT_EVENT = 1;

// Whether window pixel (x, y) lies on a child's picture as the panel shows
// it: at the panel's place plus the child's, TEXTURED_QUAD_DROP lower.
bool over(const OBJET& panel, const SPRITE* child, int x, int y) {
  const int left = cut(panel.x + child->x), top = cut(panel.y + child->y) + TEXTURED_QUAD_DROP;
  return x >= left && x < left + cut(child->w) && y >= top && y < top + cut(child->h);
}

}  // namespace

PanelFrontEnd::PanelFrontEnd(OBJET& panel) : panel_(panel) {}

void PanelFrontEnd::handle(const SDL_Event& event) {
  translate(event);
  if (!panel_.queue.empty()) route();
}

void PanelFrontEnd::translate(const SDL_Event& event) {
  const bool press = event.type == SDL_MOUSEBUTTONDOWN, release = event.type == SDL_MOUSEBUTTONUP;
  if ((press || release) && event.button.button == SDL_BUTTON_LEFT) {
    const int x = event.button.x, y = event.button.y;
    for (const char* button : {"PLAY", "STOP"})
      if (over(panel_, panel_.Find_child(button), x, y))
        panel_.Post(MESSAGE(INPUT_EVENT, event, nullptr, panel_.Find_child(button)));
    if (press && over(panel_, panel_.Find_child("SPEED"), x, y)) post_slider(event, "SLD_MVT_START", x);
    if (release && dragging_) post_slider(event, "SLD_MVT_STOP", x);
    dragging_ = press && over(panel_, panel_.Find_child("SPEED"), x, y);
  } else if (event.type == SDL_MOUSEMOTION && dragging_) {
    post_slider(event, "SLD_MVT_CHANGE", event.motion.x);
  }
}

// Posts "KEYWORD v" to the knob, v the value (0 to 100) under x on the rail.
void PanelFrontEnd::post_slider(const SDL_Event& event, const char* keyword, int x) {
  const SPRITE* rail = panel_.Find_child("SPEED_TRACK");
  char text[32];
  std::snprintf(text, sizeof text, "%s %d", keyword, std::clamp(cut((x - panel_.x - rail->x) * 100 / rail->w), 0, 100));
  panel_.Post(MESSAGE(0, event, text, panel_.Find_child("SPEED")));
}

// The panel's Update hands the messages to its widgets' queues. With its
// children marked clean it does not draw them there and then; it sizes the
// panel as its own picture, and Fit_background puts the layout's size back.
// Then each widget takes its queue.
void PanelFrontEnd::route() {
  panel_.Mark_children(0);
  panel_.Update();
  panel_.Fit_background();
  for (const auto& child : *panel_.children) child->Update();
}
