#include "scene/background.h"

SPRITE* background_sprite = nullptr;

namespace {

constexpr int TILES_ACROSS = 32;
constexpr int TILES_DOWN = 32;

}  // namespace

// Drawing a tile gives the sprite its picture's size for the steps of the
// next; a sprite that has not read it yet draws its first tile at size 0.
void draw_background_tiles() {
  if (background_sprite == nullptr) return;
  SPRITE& tile = *background_sprite;
  tile.Set_image("FOND");
  for (int i = 0; i < TILES_ACROSS; ++i)
    for (int j = 0; j < TILES_DOWN; ++j) {
      tile.Set_position(static_cast<float>(i) * tile.w, static_cast<float>(j) * tile.h, 0);
      tile.Draw(0);
    }
}
