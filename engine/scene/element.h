// The roots of every scene element: identity and naming (VYR_ENGINE),
// position (BASE) and size with geometric tests (RECTANGLE).
#pragma once

#include <cstdint>

// Numbers every element at construction, from 0, never reset.
extern std::uint32_t element_counter;

namespace grains {

// A position or size cut toward zero, as element tests compare them. Values
// outside the int range saturate and NaN gives 0.
int cut(float value);

// Copies at most 79 characters of text (null: none) and a terminator into an
// 80-byte field.
void copy_name(char (&field)[80], const char* text);

}  // namespace grains

class VYR_ENGINE {
 public:
  VYR_ENGINE();
  explicit VYR_ENGINE(const char* name);
  virtual ~VYR_ENGINE() = default;
  // Per-frame refresh; nothing to do here.
  virtual std::int32_t Update() { return 0; }
  virtual std::int32_t Handle(std::int32_t, std::int32_t) { return 0; }

  // A null name gives "DEFAULT_ITEM_" and the id; longer names keep 79 characters.
  void Set_name(const char* text);
  void Set_tag(const char* text);

  std::uint32_t id;
  std::int32_t reserved = 0;
  char name[80];
  char tag[80];

 protected:
  // The default name: prefix followed by the id right-aligned in 20 characters.
  void name_after_id(const char* prefix);
};

class BASE : public VYR_ENGINE {
 public:
  BASE(float x, float y, float z);
  BASE(float x, float y, float z, const char* name);

  virtual void Set_position(float new_x, float new_y, float new_z);
  virtual void Set_x(float new_x) { x = new_x; }
  virtual void Set_y(float new_y) { y = new_y; }
  virtual void Set_z(float new_z) { z = new_z; }

  // Within one whole pixel on every axis.
  bool Same_place(const BASE& other) const;

  float x, y, z;
};

class RECTANGLE : public BASE {
 public:
  RECTANGLE(float x, float y, float z, float w, float h, float d, const char* name);

  // Whether the other element's position lies inside, edges included.
  bool Contains(const BASE& element) const;
  // Whether the two rectangles share a point; touching edges count.
  bool Overlaps(const RECTANGLE& other) const;
  // The ninth holding (px, py), in the rectangle's own coordinates, numbered
  // like a keypad (7 8 9 on top, 1 2 3 at the bottom); 0 on a quarter line.
  int Zone(float px, float py) const;
  void Print_rect() const;

  float w, h, d;
};
