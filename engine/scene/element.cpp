#include "scene/element.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

using grains::copy_name;
using grains::cut;

std::uint32_t element_counter = 0;

namespace grains {

int cut(float value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483648.0f) return std::numeric_limits<int>::max();
  if (value <= -2147483648.0f) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

void copy_name(char (&field)[80], const char* text) {
  std::snprintf(field, sizeof field, "%s", text != nullptr ? text : "");
}

}  // namespace grains

VYR_ENGINE::VYR_ENGINE() : id(element_counter++), tag{} { name_after_id("ITEM_"); }

VYR_ENGINE::VYR_ENGINE(const char* name) : tag{} {
  id = element_counter++;
  Set_name(name);
}

void VYR_ENGINE::name_after_id(const char* prefix) {
  std::snprintf(name, sizeof name, "%s%20lu", prefix, static_cast<unsigned long>(id));
}

void VYR_ENGINE::Set_name(const char* text) {
  if (text == nullptr) name_after_id("DEFAULT_ITEM_");
  else copy_name(name, text);
}

void VYR_ENGINE::Set_tag(const char* text) {
  if (text == nullptr) std::snprintf(tag, sizeof tag, "DEFAULT_ITEM_%20lu", static_cast<unsigned long>(id));
  else copy_name(tag, text);
}

BASE::BASE(float x, float y, float z) : x(x), y(y), z(z) {}

// The given name is replaced at once: derived elements name themselves.
BASE::BASE(float x, float y, float z, const char* name) : VYR_ENGINE(name), x(x), y(y), z(z) {
  name_after_id("BASE_ITEM_");
}

void BASE::Set_position(float new_x, float new_y, float new_z) {
  x = new_x;
  y = new_y;
  z = new_z;
}

bool BASE::Same_place(const BASE& other) const {
  const auto near = [](float a, float b) { return std::abs(static_cast<long>(cut(a)) - cut(b)) < 2; };
  return near(x, other.x) && near(y, other.y) && near(z, other.z);
}

RECTANGLE::RECTANGLE(float x, float y, float z, float w, float h, float d, const char* name)
    : BASE(x, y, z, name), w(w), h(h), d(d) {}

bool RECTANGLE::Contains(const BASE& e) const {
  const long left = cut(x), top = cut(y);
  return left <= cut(e.x) && cut(e.x) <= left + cut(w) && top <= cut(e.y) && cut(e.y) <= top + cut(h);
}

bool RECTANGLE::Overlaps(const RECTANGLE& o) const {
  if (static_cast<long>(cut(o.y)) + cut(o.h) < cut(y)) return false;
  if (cut(o.y) > static_cast<long>(cut(y)) + cut(h)) return false;
  if (static_cast<long>(cut(o.x)) + cut(o.w) < cut(x)) return false;
  if (cut(o.x) > static_cast<long>(cut(x)) + cut(w)) return false;
  return true;
}

namespace {

// 0, 1 or 2 for the first, middle or last quarter-split band; -1 on a line.
int band(float p, float size) {
  const float quarter = size / 4, last = size - size / 4;
  if (p < quarter) return 0;
  if (quarter < p && p < last) return 1;
  if (p > last) return 2;
  return -1;
}

}  // namespace

int RECTANGLE::Zone(float px, float py) const {
  const int column = band(px, w), row = band(py, h);
  if (column < 0 || row < 0) return 0;
  return (2 - row) * 3 + 1 + column;
}

void RECTANGLE::Print_rect() const {
  std::printf("RECT[%p] %d, %d, %d %d, %d, %d \n", static_cast<const void*>(this), cut(x), cut(y), cut(z), cut(w),
              cut(h), cut(d));
}
