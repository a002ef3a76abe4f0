#include "engine_showcase/panel_places.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using grains::CHILD_LIST;
using grains::cut;
using grains::TEXTURED_QUAD_DROP;

ScreenBox panel_box(const OBJET& panel) {
  return {cut(panel.x), cut(panel.y) + TEXTURED_QUAD_DROP, cut(panel.w), cut(panel.h)};
}

// A sprite scales about the centre of its unscaled picture.
ScreenBox child_box(const OBJET& panel, const SPRITE& child) {
  const float shrink = 1.0f - child.zoom;
  return {cut(panel.x) + cut(child.x) + cut(child.w / 2 * shrink),
          cut(panel.y) + cut(child.y) + TEXTURED_QUAD_DROP + cut(child.h / 2 * shrink), cut(child.w * child.zoom),
          cut(child.h * child.zoom)};
}

std::string short_name(const OBJET& panel, const SPRITE& child) {
  const std::size_t prefix = std::strlen(panel.rc_name);
  const bool prefixed = std::strncmp(child.name, panel.rc_name, prefix) == 0 && child.name[prefix] == '_';
  return prefixed ? child.name + prefix + 1 : child.name;
}

SPRITE* widget_at(OBJET& panel, int x, int y) {
  const CHILD_LIST& children = *panel.children;
  for (auto child = children.rbegin(); child != children.rend(); ++child) {
    SPRITE* element = child->get();
    const bool is_widget = dynamic_cast<BUTTON*>(element) != nullptr || dynamic_cast<SLIDER*>(element) != nullptr;
    if (is_widget && child_box(panel, *element).contains(x, y)) return element;
  }
  return nullptr;
}

SPRITE* rail_of(OBJET& panel, const SPRITE& slider) {
  return panel.Find_child((short_name(panel, slider) + "_TRACK").c_str());
}

int value_on_rail(const SPRITE& rail, float centre_x) {
  if (rail.w <= 0) return 0;
  const float value = std::round((centre_x - rail.x) * SLIDER_LARGEST_VALUE / rail.w);
  return static_cast<int>(std::clamp(value, 0.0f, static_cast<float>(SLIDER_LARGEST_VALUE)));
}

float knob_x_for(const SPRITE& rail, const SPRITE& knob, int value) {
  return std::round(rail.x + rail.w * static_cast<float>(value) / SLIDER_LARGEST_VALUE - knob.w / 2);
}

LABEL placed_label(const char* caption, int x, int y, int font_number, int font_size, std::uint32_t colour) {
  LABEL label(caption, x, y, 0, 0, font_number, font_size, colour);
  label.Set_position(static_cast<float>(x), static_cast<float>(y), 0);
  return label;
}
