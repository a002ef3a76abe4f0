#include "plugs/cord.h"

#include "draw/draw.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using grains::copy_name;
using grains::cut;
using grains::TEXTURED_QUAD_DROP;

namespace {

constexpr const char* PLUGGED = "FICHE_PLUG";
constexpr const char* PLUGGED_MASK = "FICHE_PLUG_MASK";
constexpr const char* UNPLUGGED = "FICHE_UNPLUG";
constexpr const char* UNPLUGGED_MASK = "FICHE_UNPLUG_MASK";
constexpr int CURVE_POINTS = 31;

SPRITE blank_jack() { return SPRITE("IMG_001", 100, 100, 0, 0, 0, 1.0f, 0, 0); }

SPRITE plugged_jack(int x, int y) { return SPRITE(PLUGGED, x, y, 1, 0xFF00FF, 0, 1.0f, 0, 0); }

// Where an element's centre lies on screen, its container's position added
// (no container: none added; no element: the container's position).
void centre_of(const BASE* container, const RECTANGLE* element, std::int32_t& x, std::int32_t& y) {
  float cx = container != nullptr ? container->x : 0.0f, cy = container != nullptr ? container->y : 0.0f;
  if (element != nullptr) {
    cx += element->x + element->w / 2;
    cy += element->y + element->h / 2;
  }
  x = cut(cx);
  y = cut(cy);
}

void set_jack(SPRITE& jack, const char* picture, const char* mask) {
  copy_name(jack.mask, mask);
  jack.Set_image(picture);
}

void toggle(SPRITE& jack, int force_plug, int force_unplug) {
  if (std::strcmp(jack.image, UNPLUGGED) == 0) set_jack(jack, PLUGGED, PLUGGED_MASK);
  else set_jack(jack, UNPLUGGED, UNPLUGGED_MASK);
  if (force_plug) set_jack(jack, PLUGGED, PLUGGED_MASK);
  if (force_unplug) set_jack(jack, UNPLUGGED, UNPLUGGED_MASK);
}

void place_jack(SPRITE& jack, std::int32_t x, std::int32_t y) {
  jack.x = static_cast<float>(x) - jack.w / 2;
  jack.y = static_cast<float>(y) - jack.h / 2;
}

// Control points of the curve: the ends, and between them a point whose y
// is the sum of both ends' y, which makes the cable hang.
struct Curve {
  GLfloat points[3][3];
  void move_down(float by) {
    for (auto& point : points) point[1] += by;
  }
  void draw() const {
    glLineWidth(1.0f);
    glMap1f(GL_MAP1_VERTEX_3, 0.0f, 1.0f, 3, 3, &points[0][0]);
    glEnable(GL_MAP1_VERTEX_3);
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i < CURVE_POINTS; ++i) glEvalCoord1f(static_cast<GLfloat>(i) / (CURVE_POINTS - 1));
    glEnd();
  }
};

Curve cable_curve(const CORD::Ends& e) {
  const auto x = [](std::int64_t value) { return static_cast<GLfloat>(value - view_offset_x); };
  // The cable lies as far below its ends as the jacks' pictures do.
  const auto y = [](std::int64_t value) { return static_cast<GLfloat>(value + TEXTURED_QUAD_DROP - view_offset_y); };
  return Curve{{{x(e.x1), y(e.y1), 0.0f},
                {x((static_cast<std::int64_t>(e.x1) + e.x2) / 2), y(static_cast<std::int64_t>(e.y1) + e.y2), 0.0f},
                {x(e.x2), y(e.y2), 0.0f}}};
}

struct Shade {
  int red, green, blue;
  explicit Shade(std::uint32_t colour) : red((colour >> 16) & 0xFF), green((colour >> 8) & 0xFF), blue(colour & 0xFF) {}
  void darken() {
    red -= red / 4;
    green -= green / 4;
    blue -= blue / 4;
  }
};

}  // namespace

CORD::CORD(BASE* container1, BASE* container2, RECTANGLE* element1, RECTANGLE* element2, std::uint32_t colour)
    : jack1(blank_jack()), jack2(blank_jack()) {
  reset(0, 0, 0, 0, 0xFFFFFFFF);
  this->colour = colour;
  attach(container1, container2, element1, element2, colour);
  jack1 = plugged_jack(ends.x1, ends.y1);
  jack2 = plugged_jack(ends.x2, ends.y2);
  copy_name(jack1.mask, PLUGGED_MASK);
  copy_name(jack2.mask, PLUGGED_MASK);
}

void CORD::reset(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::uint32_t colour) {
  time = sway = 0;
  ends = {x1, y1, x2, y2};
  previous_ends = {x1, x2, y1, y2};
  this->colour = colour;
}

void CORD::attach(BASE* c1, BASE* c2, RECTANGLE* e1, RECTANGLE* e2, std::uint32_t colour) {
  container1 = c1;
  container2 = c2;
  element1 = e1;
  element2 = e2;
  if (c1 == nullptr && c2 == nullptr) {
    centre_of(nullptr, e1, ends.x1, ends.y1);
    centre_of(nullptr, e2, ends.x2, ends.y2);
  } else {
    if (c1 != nullptr) centre_of(c1, e1, ends.x1, ends.y1);
    else centre_of(c2, e2, ends.x1, ends.y1);
    if (c2 != nullptr) {
      centre_of(c2, e2, ends.x2, ends.y2);
    } else {
      ends.x2 = ends.x1 + 40;
      ends.y2 = ends.y1 + 40;
    }
  }
  this->colour = colour;
}

void CORD::toggle_jack1(int force_plug, int force_unplug) { toggle(jack1, force_plug, force_unplug); }

void CORD::toggle_jack2(int force_plug, int force_unplug) { toggle(jack2, force_plug, force_unplug); }

void CORD::draw(std::int32_t argument) {
  jack1.Update();
  jack2.Update();
  place_jack(jack1, ends.x1, ends.y1);
  place_jack(jack2, ends.x2, ends.y2);
  advance_frame();
  jack1.changed = 1;
  jack2.changed = 1;
  jack1.Draw(argument);
  jack2.Draw(argument);
}

// The sway is only reported, one line a frame; it does not move the cable.
void CORD::advance_frame() {
  time += 1;
  if (ends.y1 != previous_ends.y1)
    sway += static_cast<float>(std::abs(static_cast<std::int64_t>(previous_ends.y1) - ends.y1));
  if (ends.y2 != previous_ends.y2) sway += 0.1f;
  std::printf("[%f]\n", std::sin(time * 6.283185307179586 / 180) * sway);
  draw_cable();
  previous_ends = {ends.x1, ends.x2, ends.y1, ends.y2};
  if (sway > 0) sway -= sway / 10;
}

// Six one-pixel strands: three going up from the curve in ever darker
// shades, three going down in rising opacity (seen when blending is on).
void CORD::draw_cable() const {
  Curve curve = cable_curve(ends);
  Shade shade(colour);
  for (int strand = 0; strand < 3; ++strand) {
    glColor3ub(shade.red, shade.green, shade.blue);
    curve.draw();
    curve.move_down(-1.0f);
    shade.darken();
  }
  curve = cable_curve(ends);
  curve.move_down(1.0f);
  shade = Shade(colour);
  for (int strand = 0; strand < 3; ++strand) {
    glColor4ub(shade.red, shade.green, shade.blue, 64 * strand);
    curve.draw();
    curve.move_down(1.0f);
    shade.darken();
  }
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  glDisable(GL_MAP1_VERTEX_3);
}
