// A rectangle drawn as one textured quad of a named picture of the image
// bank, with an optional mask drawn first, and change detection for redraws.
//
// Warning: the size is 0 by 0 until Update (or Draw) reads the picture; y is drawn TEXTURED_QUAD_DROP lower.
#pragma once

#include "scene/element.h"

#include <SDL.h>

class SPRITE : public RECTANGLE {
 public:
  SPRITE(const char* name, int x, int y, int is_key, std::uint32_t key, int additive, float zoom, int angle, int alpha);

  // Marks the sprite dirty and changed for every property that differs from
  // its last refresh, then takes its size from its picture.
  std::int32_t Update() override;
  virtual void Print();

  // A new picture name marks the sprite changed; the same name changes nothing.
  void Set_image(const char* name);
  // The picture's surface, or null (also before the bank exists).
  SDL_Surface* Get_surface();
  // Draws the sprite; the argument is not used.
  void Draw(std::int32_t value);
  // As Contains, with the size scaled by zoom.
  bool Contains_zoomed(const BASE& element) const;

  std::int32_t shown_touch = 0;
  std::int32_t shown_angle = 0;
  std::int32_t shown_alpha = 0;
  char shown_image[80];
  std::int32_t reserved_words[2] = {0, 0};
  unsigned char use_transform = 1;
  std::int32_t drawn_x, drawn_y, drawn_w = 0, drawn_h = 0;
  std::int32_t touched = 0;
  std::int32_t pressed = 0;
  std::int32_t dirty = 1;
  std::int32_t changed = 0;
  float zoom;
  std::int32_t angle;
  std::uint32_t key;
  std::int32_t is_key;
  std::int32_t additive;
  std::int32_t substractive = 0;
  std::int32_t alpha;
  std::int32_t reserved_word = 0;
  SDL_Surface* surface_cache = nullptr;
  char image[80];
  char mask[80];

 private:
  struct QuadGeometry {
    float centre_x, centre_y, angle_z, half_a, half_b;
  };
  QuadGeometry geometry() const;
  void draw_quad(int slot, const QuadGeometry& quad, int with_additive, int with_substractive, int with_alpha) const;
  void draw_plain(const QuadGeometry& quad);
  void draw_masked(const QuadGeometry& quad);
};
