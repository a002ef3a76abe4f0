// How the image bank hands pixels to GL: three bytes a pixel, declared
// blue, green, red, rows padded to 4 bytes (GL's default unpack alignment),
// as SDL lays out 24-bit surfaces.
#pragma once

#include <SDL.h>

namespace grains {

// Whether GL can read surface's bytes as they lie: three a pixel, rows at
// the padded pitch. The masks are not looked at, so a surface whose bytes
// run red, green, blue reaches GL with red and blue exchanged.
bool is_uploadable_as_it_lies(const SDL_Surface* surface);

// A new 24-bit surface with surface's picture in blue, green, red order, or
// null when SDL cannot make one. The colours are copied as they are, alpha
// dropped.
SDL_Surface* copy_in_upload_layout(SDL_Surface* surface);

}  // namespace grains
