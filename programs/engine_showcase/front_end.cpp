#include "engine_showcase/front_end.h"

#include "engine_showcase/panel_places.h"
#include "scene/widgets.h"

#include <algorithm>
#include <cstdio>

using grains::cut;
using grains::TEXTURED_QUAD_DROP;

namespace {

// The kind of a MESSAGE that carries an input event (0 carries a text).
constexpr std::int32_t INPUT_EVENT = 1;

// SDL 1.2 reports positions as unsigned 16-bit numbers: one past the left
// or top edge, during a drag, comes as 65535. Read as signed it is -1.
int signed_position(Uint16 position) { return static_cast<Sint16>(position); }

}  // namespace

FrontEnd::FrontEnd(OBJET& panel, int window_width, int window_height)
    : panel_(&panel), window_width_(window_width), window_height_(window_height) {}

int FrontEnd::rebind(OBJET& panel) {
  panel_ = &panel;
  touched_ = pressed_ = slider_ = nullptr;
  dragging_panel_ = false;
  posted_ = 0;
  if (pointer_seen_) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    touch(motion, widget_at(panel, pointer_x_, pointer_y_));
  }
  return posted_;
}

int FrontEnd::translate(const SDL_Event& event) {
  posted_ = 0;
  switch (event.type) {
    case SDL_MOUSEMOTION: move_to(event, signed_position(event.motion.x), signed_position(event.motion.y)); break;
    case SDL_MOUSEBUTTONDOWN:
      move_to(event, signed_position(event.button.x), signed_position(event.button.y));
      if (event.button.button == SDL_BUTTON_LEFT) press(event);
      break;
    case SDL_MOUSEBUTTONUP:
      move_to(event, signed_position(event.button.x), signed_position(event.button.y));
      if (event.button.button == SDL_BUTTON_LEFT) release(event);
      break;
    default: break;
  }
  return posted_;
}

void FrontEnd::move_to(const SDL_Event& event, int x, int y) {
  pointer_seen_ = true;
  pointer_x_ = x;
  pointer_y_ = y;
  if (slider_ != nullptr) follow_slider(event);
  if (dragging_panel_) drag_panel();
  touch(event, widget_at(*panel_, x, y));
}

// A press without the release of the one before (the window can miss a
// release) ends the former gesture first.
void FrontEnd::press(const SDL_Event& event) {
  if (slider_ != nullptr) stop_slider_drag(event);
  pressed_ = nullptr;
  dragging_panel_ = false;
  SPRITE* widget = widget_at(*panel_, pointer_x_, pointer_y_);
  const SPRITE* rail = dynamic_cast<SLIDER*>(widget) != nullptr ? rail_of(*panel_, *widget) : nullptr;
  if (rail != nullptr) {
    start_slider_drag(event, *widget, *rail);
  } else if (widget != nullptr) {
    pressed_ = widget;
    post_event(event, widget);
  } else if (panel_box(*panel_).contains(pointer_x_, pointer_y_)) {
    dragging_panel_ = true;
    grab_x_ = pointer_x_ - cut(panel_->x);
    grab_y_ = pointer_y_ - cut(panel_->y);
  }
}

void FrontEnd::release(const SDL_Event& event) {
  if (slider_ != nullptr) {
    post_event(event, slider_);
    stop_slider_drag(event);
  }
  if (pressed_ != nullptr && pressed_ == widget_at(*panel_, pointer_x_, pointer_y_)) post_event(event, pressed_);
  pressed_ = nullptr;
  dragging_panel_ = false;
}

void FrontEnd::start_slider_drag(const SDL_Event& event, SPRITE& slider, const SPRITE& rail) {
  const float knob_centre = slider.x + slider.w / 2;
  slider_ = &slider;
  grab_offset_ = static_cast<float>(pointer_x_) - (panel_->x + knob_centre);
  slider_value_ = value_on_rail(rail, knob_centre);
  post_event(event, slider_);
  post_slider_text(event, "SLD_MVT_START");
}

void FrontEnd::stop_slider_drag(const SDL_Event& event) {
  post_slider_text(event, "SLD_MVT_STOP");
  slider_ = nullptr;
}

void FrontEnd::follow_slider(const SDL_Event& event) {
  const SPRITE* rail = rail_of(*panel_, *slider_);
  if (rail == nullptr) return;
  const int value = value_on_rail(*rail, static_cast<float>(pointer_x_) - panel_->x - grab_offset_);
  if (value == slider_value_) return;
  slider_value_ = value;
  post_slider_text(event, "SLD_MVT_CHANGE");
}

void FrontEnd::drag_panel() {
  const ScreenBox box = panel_box(*panel_);
  const int x = std::clamp(pointer_x_ - grab_x_, 0, std::max(0, window_width_ - box.width));
  const int y = std::clamp(pointer_y_ - grab_y_, 0, std::max(0, window_height_ - TEXTURED_QUAD_DROP - box.height));
  panel_->Set_position(static_cast<float>(x), static_cast<float>(y), panel_->z);
}

void FrontEnd::touch(const SDL_Event& event, SPRITE* widget) {
  if (widget == touched_) return;
  if (touched_ != nullptr) post_text(event, "TOUCH_OUT", touched_);
  if (widget != nullptr) post_text(event, "TOUCH_IN", widget);
  touched_ = widget;
}

void FrontEnd::post_event(const SDL_Event& event, SPRITE* target) {
  panel_->Post(MESSAGE(INPUT_EVENT, event, nullptr, target));
  ++posted_;
}

void FrontEnd::post_text(const SDL_Event& event, const char* text, SPRITE* target) {
  panel_->Post(MESSAGE(0, event, text, target));
  ++posted_;
}

// The panel reads the number after the keyword and one blank.
void FrontEnd::post_slider_text(const SDL_Event& event, const char* keyword) {
  char text[MESSAGE::TEXT_SIZE];
  std::snprintf(text, sizeof text, "%s %d", keyword, slider_value_);
  post_text(event, text, slider_);
}
