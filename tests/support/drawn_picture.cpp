#include "support/drawn_picture.h"

#include "draw/draw.h"
#include "support/pictures.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using grains::TEXTURED_QUAD_DROP;

namespace {

constexpr int CHANNEL_TOLERANCE = 6;

bool near(std::uint32_t a, std::uint32_t b) {
  for (int shift = 0; shift <= 16; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > CHANNEL_TOLERANCE) return false;
  return true;
}

}  // namespace

Box lit_box(const Screenshot& shot) {
  Box box;
  for (int y = 0; y < shot.height; ++y)
    for (int x = 0; x < shot.width; ++x)
      if (shot.at(x, y) != 0) {
        box.left = std::min(box.left, x), box.right = std::max(box.right, x);
        box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
      }
  return box;
}

void expect_picture_drawn_alone(const Screenshot& shot, const std::string& png_path, int left, int top) {
  SDL_Surface* picture = IMG_Load(png_path.c_str());
  ASSERT_NE(picture, nullptr) << png_path;
  const Box box = lit_box(shot);
  EXPECT_NEAR(box.left, left, 1);
  EXPECT_NEAR(box.top, top, 1);
  EXPECT_NEAR(box.right, left + picture->w - 1, 1);
  EXPECT_NEAR(box.bottom, top + picture->h - 1, 1);
  int wrong = 0;
  for (int y = 1; y + 1 < picture->h; ++y)
    for (int x = 1; x + 1 < picture->w; ++x) wrong += !near(shot.at(left + x, top + y), surface_pixel(picture, x, y));
  EXPECT_EQ(wrong, 0) << "pixels unlike " << png_path;
  SDL_FreeSurface(picture);
}

void expect_sprite_window_drawn(const Screenshot& shot, const std::string& grfx_dir) {
  expect_picture_drawn_alone(shot, grfx_dir + "/PANEL_FOND.png", 384, 241 + TEXTURED_QUAD_DROP);
}
