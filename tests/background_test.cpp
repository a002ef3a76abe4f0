// The background sprite's tiling, read back from the window.
#include "scene/background.h"

#include "images/image_bank.h"
#include "support/catalogue_window.h"
#include "support/gl_window.h"
#include "support/pictures.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>

using BackgroundTiles = CatalogueWindow;

TEST_F(BackgroundTiles, CoverTheWindowWithTheFondPicture) {
  draw_background_tiles();
  EXPECT_EQ(count_lit_pixels(), 0) << "no background sprite yet";

  const auto sprite = std::make_unique<SPRITE>("OTHER", 0, 0, 0, 0, 0, 1.0f, 0, 255);
  background_sprite = sprite.get();
  draw_background_tiles();
  // The first tile of the first call is drawn before the sprite knows its
  // picture's size, so at size 0; the second call covers everything.
  EXPECT_EQ(window_pixel(10, 25), 0u);
  draw_background_tiles();
  background_sprite = nullptr;
  EXPECT_STREQ(sprite->image, "FOND");

  // 64 by 64 tiles from the top-left corner, drawn 15 rows down.
  const std::vector<std::uint32_t> window = read_window_pixels();
  const std::vector<std::uint32_t> tile = texture_pixels(image_bank->find("FOND"));
  ASSERT_EQ(tile.size(), 64u * 64u);
  int wrong = 0;
  for (int y = 15; y < 768; ++y)
    for (int x = 0; x < 1024; ++x) wrong += window[y * 1024 + x] != tile[(y - 15) % 64 * 64 + x % 64];
  EXPECT_EQ(wrong, 0);
}
