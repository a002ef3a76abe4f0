// The front end of the panel_widgets example: SDL mouse events become the
// messages of a container panel laid out from examples/panel_widgets.lay.
//
// The panel, then each widget, takes the messages queued since its last
// Update newest first. A press and its release posted in one batch would
// be taken release first, leaving a button pressed and the slider moving
// for good after a quick click (and two knob moves would leave the older
// value). So each event's messages are routed, and taken by the widgets,
// before the next event's are posted.
#pragma once

#include "grains/engine.h"

class PanelFrontEnd {
 public:
  explicit PanelFrontEnd(OBJET& panel);

  // Posts what event means and has the panel and its widgets take it at
  // once: a left press or release over a button, its event (a release
  // toggles it); over the knob, "SLD_MVT_START v", then "SLD_MVT_CHANGE v"
  // at each move of the drag and "SLD_MVT_STOP v" at the release, v the
  // value (0 to 100) under the pointer on the rail.
  void handle(const SDL_Event& event);

 private:
  void translate(const SDL_Event& event);
  void post_slider(const SDL_Event& event, const char* keyword, int x);
  void route();

  OBJET& panel_;
  bool dragging_ = false;
};
