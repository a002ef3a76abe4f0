#include "support/pictures.h"

#include <GL/gl.h>

#include <stdexcept>

SDL_Surface* make_surface_in(int width, int height, int bits, std::uint32_t red_mask, std::uint32_t green_mask,
                             std::uint32_t blue_mask, const PixelPaint& paint) {
  SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, bits, red_mask, green_mask, blue_mask, 0);
  if (surface == nullptr) throw std::runtime_error(SDL_GetError());
  if (bits == 8) {
    SDL_Color colours[256];
    for (int i = 0; i < 256; ++i) {
      const std::uint32_t c = palette_colour(i);
      colours[i] = {Uint8(c >> 16), Uint8(c >> 8), Uint8(c), 0};
    }
    SDL_SetColors(surface, colours, 0, 256);
  }
  SDL_LockSurface(surface);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = paint(x, y);
      const Uint32 value = SDL_MapRGB(surface->format, c >> 16, c >> 8, c);
      Uint8* at = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * surface->format->BytesPerPixel;
      for (int byte = 0; byte < surface->format->BytesPerPixel; ++byte)
        at[byte] =
            Uint8(value >> (8 * (SDL_BYTEORDER == SDL_LIL_ENDIAN ? byte : surface->format->BytesPerPixel - 1 - byte)));
    }
  SDL_UnlockSurface(surface);
  return surface;
}

SDL_Surface* make_surface(int width, int height, const PixelPaint& paint) {
  return make_surface_in(width, height, 24, 0xFF0000, 0x00FF00, 0x0000FF, paint);
}

std::uint32_t palette_colour(int index) { return (index << 16) | ((255 - index) << 8) | ((index * 7) & 0xFF); }

std::string save_bmp(const std::string& path, int width, int height, const PixelPaint& paint) {
  SDL_Surface* surface = make_surface(width, height, paint);
  const int saved = SDL_SaveBMP(surface, path.c_str());
  SDL_FreeSurface(surface);
  if (saved != 0) throw std::runtime_error("cannot write " + path);
  return path;
}

std::uint32_t surface_pixel(SDL_Surface* surface, int x, int y) {
  SDL_LockSurface(surface);
  const Uint8* at = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * surface->format->BytesPerPixel;
  Uint32 value = 0;
  for (int byte = 0; byte < surface->format->BytesPerPixel; ++byte)
    value |=
        Uint32(at[byte]) << (8 * (SDL_BYTEORDER == SDL_LIL_ENDIAN ? byte : surface->format->BytesPerPixel - 1 - byte));
  SDL_UnlockSurface(surface);
  Uint8 r = 0, g = 0, b = 0;
  SDL_GetRGB(value, surface->format, &r, &g, &b);
  return (r << 16) | (g << 8) | b;
}

TextureSize texture_size(int texture, int level) {
  glBindTexture(GL_TEXTURE_2D, texture);
  TextureSize size;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &size.width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &size.height);
  return size;
}

std::vector<std::uint32_t> texture_pixels(int texture) {
  const TextureSize size = texture_size(texture);
  std::vector<unsigned char> rgb(size.width * size.height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  std::vector<std::uint32_t> pixels(size.width * size.height);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = (rgb[3 * i] << 16) | (rgb[3 * i + 1] << 8) | rgb[3 * i + 2];
  return pixels;
}

std::uint32_t texture_pixel(int texture, int x, int y) {
  const TextureSize size = texture_size(texture);
  return texture_pixels(texture)[y * size.width + x];
}
