// The showcase's front end: turns SDL mouse events into the MESSAGEs a
// container panel routes to its widgets, as a windowing front end would,
// and drags the panel itself by its background.
//
// - The pointer entering a button or slider posts "TOUCH_IN" to it, leaving
//   it "TOUCH_OUT".
// - A left press over a button posts the press event to it; the release
//   event follows only when the release is over the same button (a click).
// - A left press over a slider posts the press event and "SLD_MVT_START v",
//   each move that changes the value "SLD_MVT_CHANGE v", and the release
//   "SLD_MVT_STOP v" and the release event; v is the value under the knob,
//   which keeps its offset from the pointer.
// - A left press elsewhere on the panel drags the panel, kept inside the window.
#pragma once

#include "scene/objet.h"

#include <SDL.h>

class FrontEnd {
 public:
  FrontEnd(OBJET& panel, int window_width, int window_height);

  // Works on panel from now on: forgets the former panel's widgets and
  // gestures, and posts "TOUCH_IN" to the widget under the pointer, if any.
  // Returns the number of messages posted.
  int rebind(OBJET& panel);
  // Posts to the panel the messages that event means; returns how many.
  int translate(const SDL_Event& event);

 private:
  void move_to(const SDL_Event& event, int x, int y);
  void press(const SDL_Event& event);
  void release(const SDL_Event& event);
  void start_slider_drag(const SDL_Event& event, SPRITE& slider, const SPRITE& rail);
  void stop_slider_drag(const SDL_Event& event);
  void follow_slider(const SDL_Event& event);
  void drag_panel();
  void touch(const SDL_Event& event, SPRITE* widget);
  void post_event(const SDL_Event& event, SPRITE* target);
  void post_text(const SDL_Event& event, const char* text, SPRITE* target);
  void post_slider_text(const SDL_Event& event, const char* keyword);

  OBJET* panel_;
  int window_width_, window_height_;
  bool pointer_seen_ = false;
  int pointer_x_ = 0, pointer_y_ = 0;
  SPRITE* touched_ = nullptr;  // the widget under the pointer
  SPRITE* pressed_ = nullptr;  // the widget a left press began on
  SPRITE* slider_ = nullptr;   // the slider being dragged
  float grab_offset_ = 0;      // pointer x less the knob's centre, at the press
  int slider_value_ = 0;
  bool dragging_panel_ = false;
  int grab_x_ = 0, grab_y_ = 0;  // pointer less the panel's place, at the press
  int posted_ = 0;
};
