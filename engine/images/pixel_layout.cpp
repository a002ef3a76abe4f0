#include "images/pixel_layout.h"

namespace grains {

namespace {

// Masks of a 24-bit pixel value whose bytes run blue, green, red.
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
constexpr Uint32 RED_MASK = 0xFF0000, GREEN_MASK = 0x00FF00, BLUE_MASK = 0x0000FF;
#else
constexpr Uint32 RED_MASK = 0x0000FF, GREEN_MASK = 0x00FF00, BLUE_MASK = 0xFF0000;
#endif

int padded_row_bytes(int width) { return (width * 3 + 3) / 4 * 4; }

}  // namespace

bool is_uploadable_as_it_lies(const SDL_Surface* surface) {
  return surface->format->BytesPerPixel == 3 && surface->pitch == padded_row_bytes(surface->w);
}

SDL_Surface* copy_in_upload_layout(SDL_Surface* surface) {
  SDL_Surface* model = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 24, RED_MASK, GREEN_MASK, BLUE_MASK, 0);
  if (model == nullptr) return nullptr;
  SDL_Surface* copy = SDL_ConvertSurface(surface, model->format, SDL_SWSURFACE);
  SDL_FreeSurface(model);
  return copy;
}

}  // namespace grains
