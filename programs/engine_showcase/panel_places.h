// Where a container panel and its children show on screen, and the scale
// of a slider's rail: what the front end hit-tests and the showcase places
// the knob by.
#pragma once

#include "draw/draw.h"
#include "scene/objet.h"
#include "scene/widgets.h"

#include <string>

// The slider's values run from 0 at the rail's left end to this at its right end.
constexpr int SLIDER_LARGEST_VALUE = 100;

// A rectangle of window pixels; right and bottom edges are outside.
struct ScreenBox {
  int left = 0, top = 0, width = 0, height = 0;
  bool contains(int x, int y) const { return x >= left && x < left + width && y >= top && y < top + height; }
};

// The panel's background as it shows.
ScreenBox panel_box(const OBJET& panel);
// A child's picture as it shows: its place is relative to the panel.
ScreenBox child_box(const OBJET& panel, const SPRITE& child);

// The child's name less the panel's prefix ("1_PLAY" gives "PLAY").
std::string short_name(const OBJET& panel, const SPRITE& child);
// The panel's child of the given class and short name, or null.
template <typename ELEMENT>
ELEMENT* find_element(OBJET& panel, const std::string& name) {
  return dynamic_cast<ELEMENT*>(panel.Find_child(name.c_str()));
}

// The topmost button or slider under (x, y), or null.
SPRITE* widget_at(OBJET& panel, int x, int y);

// The rail a slider moves along: the sprite named after it with "_TRACK".
SPRITE* rail_of(OBJET& panel, const SPRITE& slider);
// The value of a knob centred at centre_x (panel coordinates) on the rail,
// 0 to SLIDER_LARGEST_VALUE.
int value_on_rail(const SPRITE& rail, float centre_x);
// The whole-pixel x at which the knob shows value on the rail.
float knob_x_for(const SPRITE& rail, const SPRITE& knob, int value);

// A label whose text has its baseline 21 pixels below (x, y), as a layout
// file places labels (the constructor would count y from the bottom).
LABEL placed_label(const char* caption, int x, int y, int font_number, int font_size, std::uint32_t colour);
