#include "scene/sprite.h"

#include "draw/draw.h"
#include "images/image_bank.h"
#include "video/video.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstring>

using grains::copy_name;
using grains::cut;
using grains::video_started;

SPRITE::SPRITE(const char* name, int x, int y, int is_key, std::uint32_t key, int additive, float zoom, int angle,
               int alpha)
    : RECTANGLE(static_cast<float>(x), static_cast<float>(y), 0, 0, 0, 0, nullptr),
      drawn_x(x),
      drawn_y(y),
      zoom(zoom),
      angle(angle),
      key(key),
      is_key(is_key),
      additive(additive),
      alpha(alpha),
      mask{} {
  copy_name(shown_image, name);
  Set_name(name);
  copy_name(image, name);
}

namespace {

template <typename T>
void mirror(const T& value, T& shown, std::int32_t& dirty, std::int32_t& changed) {
  if (value == shown) return;
  shown = value;
  dirty = changed = 1;
}

// A whole-pixel mirror of a float property: compared as a float, stored cut.
void mirror_cut(float value, std::int32_t& shown, std::int32_t& dirty, std::int32_t& changed) {
  if (static_cast<float>(shown) == value) return;
  shown = cut(value);
  dirty = changed = 1;
}

int find_slot(const char* name) { return image_bank != nullptr ? image_bank->find(name) : -1; }

}  // namespace

std::int32_t SPRITE::Update() {
  mirror(angle, shown_angle, dirty, changed);
  mirror(touched, shown_touch, dirty, changed);
  mirror(alpha, shown_alpha, dirty, changed);
  mirror_cut(h, drawn_h, dirty, changed);
  mirror_cut(w, drawn_w, dirty, changed);
  mirror_cut(x, drawn_x, dirty, changed);
  mirror_cut(y, drawn_y, dirty, changed);
  if (std::strcmp(image, shown_image) != 0) {
    copy_name(shown_image, image);
    surface_cache = nullptr;
    dirty = changed = 1;
  }
  // After the size test: a new picture's size is marked at the next Update.
  if (const SDL_Surface* picture = Get_surface()) {
    w = static_cast<float>(picture->w);
    h = static_cast<float>(picture->h);
  }
  return 0;
}

void SPRITE::Set_image(const char* name) {
  const char* text = name != nullptr ? name : "";
  if (std::strcmp(text, image) == 0) return;
  copy_name(image, text);
  changed = dirty = 1;
}

SDL_Surface* SPRITE::Get_surface() {
  if (surface_cache != nullptr) return surface_cache;
  return image_bank != nullptr ? image_bank->surface(image) : nullptr;
}

bool SPRITE::Contains_zoomed(const BASE& e) const {
  const long left = cut(x), top = cut(y);
  return left <= cut(e.x) && cut(e.x) <= left + cut(w * zoom) && top <= cut(e.y) && cut(e.y) <= top + cut(zoom * h);
}

// The quad is centred on the sprite's whole-pixel corner plus half its size,
// turned a quarter more than angle so that the picture stands upright.
SPRITE::QuadGeometry SPRITE::geometry() const {
  return {static_cast<float>(cut(x)) + w / 2, static_cast<float>(cut(y)) + h / 2, static_cast<float>(angle + 90),
          (w / 2) * zoom, (h / 2) * zoom};
}

void SPRITE::draw_quad(int slot, const QuadGeometry& quad, int with_additive, int with_substractive,
                       int with_alpha) const {
  draw_textured_quad(&slot, quad.centre_x, quad.centre_y, z, 0.0f, 0.0f, quad.angle_z, quad.half_a, quad.half_b,
                     with_additive, with_substractive, with_alpha);
}

void SPRITE::Draw(std::int32_t) {
  dirty = 0;
  drawn_x = cut(x);
  drawn_y = cut(y);
  const QuadGeometry quad = geometry();
  if (mask[0] == '\0' || mask[0] == '0') draw_plain(quad);
  else draw_masked(quad);
  video_started("SPRITE::Draw");
}

void SPRITE::draw_plain(const QuadGeometry& quad) {
  const int slot = find_slot(image);
  const SDL_Surface* picture = image_bank != nullptr ? image_bank->surface(image) : nullptr;
  if (picture == nullptr) {
    std::printf("[%s] blit image not found \n", image);
    return;
  }
  w = static_cast<float>(picture->w);
  h = static_cast<float>(picture->h);
  draw_quad(slot, quad, additive, substractive, alpha);
}

// The mask multiplies what lies behind (white keeps it, black clears it),
// then the picture is added on top. A missing mask skips its pass. A
// missing picture still draws its quad, binding texture name -1 (as GLuint),
// which GL takes as a new, empty texture object.
void SPRITE::draw_masked(const QuadGeometry& quad) {
  const int mask_slot = find_slot(mask);
  if (mask_slot != -1) {
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glEnable(GL_BLEND);
    draw_quad(mask_slot, quad, 0, 0, 255);
    glBlendFunc(GL_ONE, GL_ONE);
  }
  draw_quad(find_slot(image), quad, additive, substractive, 255);
  if (mask_slot != -1) {
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
  }
}

void SPRITE::Print() {
  std::printf("SPRITE:\n-------\n");
  std::printf("NAME[%16s]  SPR_NAME[%16s]  MASK_NAME [%16s] XYWH[%3d-%3d-%3d-%3d] Zoom=%4.4f Angle=%4.4f\n", name,
              image, mask, cut(x), cut(y), cut(w), cut(h), zoom, static_cast<double>(angle));
  std::printf("Is_Key=%1d Key=%08x Additive=%1d Substractive=%1d Alpha=%3d\n", is_key, key, additive, substractive,
              alpha);
  std::printf("--------------------------------------------------------------\n");
}
