#include "images/bank_platform.h"

#ifdef __EMSCRIPTEN__
#define GL_GLEXT_PROTOTYPES  // glGenerateMipmap
#endif
#include <GL/gl.h>

#ifndef __EMSCRIPTEN__

#include "images/pixel_layout.h"

#include <GL/glu.h>

namespace grains {

void copy_sheet_area(SDL_Surface* sheet, SDL_Rect from, SDL_Surface* cell) {
  SDL_Rect to = {0, 0, from.w, from.h};
  SDL_UpperBlit(sheet, &from, cell, &to);
}

void bind_bank_texture(int slot) { glBindTexture(GL_TEXTURE_2D, slot); }

// GL is told the bytes run blue, green, red, three to a pixel. 24-bit
// surfaces go as they lie whatever their masks: the engine's pictures and
// sheets are made knowing that red-first bytes show red and blue exchanged.
// Other depths would be read past their rows, so are converted. GLU rescales
// sizes that are not powers of two for the mipmap chain.
bool put_surface_pixels(SDL_Surface* surface, bool single_level) {
  SDL_Surface* pixels = is_uploadable_as_it_lies(surface) ? surface : copy_in_upload_layout(surface);
  if (pixels == nullptr) return false;
  SDL_LockSurface(pixels);
  if (single_level)
    glTexImage2D(GL_TEXTURE_2D, 0, 3, pixels->w, pixels->h, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE, pixels->pixels);
  else gluBuild2DMipmaps(GL_TEXTURE_2D, 3, pixels->w, pixels->h, GL_BGR_EXT, GL_UNSIGNED_BYTE, pixels->pixels);
  SDL_UnlockSurface(pixels);
  if (pixels != surface) SDL_FreeSurface(pixels);
  return true;
}

}  // namespace grains

#else

#include <GL/glext.h>
#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

bool is_power_of_two(int side) { return side > 0 && (side & (side - 1)) == 0; }

// One colour channel of a pixel, by its mask.
std::uint8_t channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  return static_cast<std::uint8_t>((pixel & mask) >> shift);
}

std::uint8_t* pixel_at(SDL_Surface* surface, int x, int y) {
  return static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch + x * 4;
}

}  // namespace

namespace grains {

// Both are 32-bit surfaces whose pixels are always in memory.
void copy_sheet_area(SDL_Surface* sheet, SDL_Rect from, SDL_Surface* cell) {
  std::memset(cell->pixels, 0, static_cast<std::size_t>(cell->pitch) * cell->h);
  const int left = std::max<int>(from.x, 0), top = std::max<int>(from.y, 0);
  const int right = std::min<int>(from.x + from.w, sheet->w), bottom = std::min<int>(from.y + from.h, sheet->h);
  for (int y = top; y < bottom && left < right; ++y)
    std::memcpy(pixel_at(cell, left - from.x, y - from.y), pixel_at(sheet, left, y), (right - left) * 4);
}

// WebGL textures exist only once the GL has made them: the bank's name is
// made here, and the names the GL hands out itself (glGenTextures) start
// above the bank's 400.
void bind_bank_texture(int slot) {
  EM_ASM(
      {
        if (GL.counter < 400) GL.counter = 400;
        if (!GL.textures[$0]) GL.textures[$0] = GLctx.createTexture();
      },
      slot);
  glBindTexture(GL_TEXTURE_2D, slot);
}

// The browser decodes every picture into 32-bit colour, so the texture gets
// the picture's own colours (sheet cells included). Its pixels are in
// memory without locking (locking would read them back from a canvas the
// browser's SDL has let go). WebGL builds mipmap chains for power-of-two
// sides only; the bank's linear filter never samples the smaller levels.
bool put_surface_pixels(SDL_Surface* surface, bool single_level) {
  if (surface->format->BytesPerPixel != 4 || surface->pixels == nullptr) return false;
  const SDL_PixelFormat& format = *surface->format;
  std::vector<std::uint8_t> rgb;
  rgb.reserve(static_cast<std::size_t>(surface->w) * surface->h * 3);
  for (int y = 0; y < surface->h; ++y)
    for (int x = 0; x < surface->w; ++x) {
      std::uint32_t pixel;
      std::memcpy(&pixel, pixel_at(surface, x, y), sizeof pixel);
      rgb.insert(rgb.end(), {channel(pixel, format.Rmask), channel(pixel, format.Gmask), channel(pixel, format.Bmask)});
    }
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, surface->w, surface->h, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  if (!single_level && is_power_of_two(surface->w) && is_power_of_two(surface->h)) glGenerateMipmap(GL_TEXTURE_2D);
  return true;
}

}  // namespace grains

#endif
