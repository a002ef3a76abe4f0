// The image bank's pictures in the browser. The browser's SDL keeps its
// surfaces as canvases of 32-bit colour, and cannot read, blit or convert
// them once a GL window is open. Here pictures are read with libpng (built
// for the browser from Debian's source package) into surfaces laid out as
// SDL_image lays them out on the desktop, whose pixels stay in memory, and
// are blitted and converted in memory (sdl_pixels.h).
#include "images/bank_platform.h"
#include "images/pixel_layout.h"
#include "images/sdl_pixels.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace grains {

namespace {

std::string last_error;

// What SDL 1.2 keeps in a surface's format and the browser's SDL has no
// room for: a palette's colours and a colour key, by surface. A surface's
// entry is replaced when a new one made here takes its address.
struct FormatExtras {
  std::vector<SDL_Color> colours;
  SDL_Palette palette{};
  std::uint32_t key = 0;
};
std::map<const SDL_Surface*, FormatExtras> extras;

// The browser's SDL makes a surface's record, with pixels in memory for
// width x height 32-bit pixels, which SDL_FreeSurface frees; the record is
// given the layout of format here. Null, said on stderr, when it has no
// pixels.
SDL_Surface* new_surface(int width, int height, int pitch, const PixelFormat& format) {
  SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0, 0, 0, 0);
  if (surface == nullptr) return nullptr;
  if (surface->pixels == nullptr || static_cast<long long>(pitch) * height > 4LL * width * height) {
    std::fprintf(stderr, "grains engine: the browser's SDL made no room in memory for a %dx%d picture\n", width,
                 height);
    SDL_FreeSurface(surface);
    return nullptr;
  }
  std::memset(surface->pixels, 0, static_cast<std::size_t>(pitch) * height);
  surface->pitch = pitch;
  SDL_PixelFormat& layout = *surface->format;
  layout.BytesPerPixel = static_cast<Uint8>(format.bytes_per_pixel);
  layout.BitsPerPixel = static_cast<Uint8>(8 * format.bytes_per_pixel);
  layout.Rmask = format.masks[0];
  layout.Gmask = format.masks[1];
  layout.Bmask = format.masks[2];
  layout.Amask = format.masks[3];
  surface->flags = (format.alpha_blended ? SDL_SRCALPHA : 0) | (format.keyed ? SDL_SRCCOLORKEY : 0);
  FormatExtras& extra = extras[surface];
  extra = FormatExtras{};
  extra.key = format.key;
  for (const auto& colour : format.palette) extra.colours.push_back({colour[0], colour[1], colour[2], 255});
  extra.palette.ncolors = static_cast<int>(extra.colours.size());
  extra.palette.colors = extra.colours.data();
  layout.palette = layout.BytesPerPixel == 1 ? &extra.palette : nullptr;
  return surface;
}

// A surface's format as sdl_pixels.h reads it.
PixelFormat format_of(const SDL_Surface* surface) {
  const SDL_PixelFormat& layout = *surface->format;
  PixelFormat format;
  format.bytes_per_pixel = layout.BytesPerPixel;
  format.masks[0] = layout.Rmask;
  format.masks[1] = layout.Gmask;
  format.masks[2] = layout.Bmask;
  format.masks[3] = layout.Amask;
  if (layout.palette != nullptr)
    for (int i = 0; i < layout.palette->ncolors; ++i)
      format.palette.push_back({layout.palette->colors[i].r, layout.palette->colors[i].g, layout.palette->colors[i].b});
  format.alpha_blended = (surface->flags & SDL_SRCALPHA) != 0;
  const auto extra = extras.find(surface);
  format.keyed = (surface->flags & SDL_SRCCOLORKEY) != 0 && extra != extras.end();
  if (format.keyed) format.key = extra->second.key;
  return format;
}

PixelRows rows_of(SDL_Surface* surface, const PixelFormat& format) {
  return {surface->w, surface->h, surface->pitch, &format, static_cast<std::uint8_t*>(surface->pixels)};
}

}  // namespace

SDL_Surface* load_picture(const char* path) {
  std::optional<LoadedPicture> picture = read_png_picture(path, last_error);
  if (!picture) return nullptr;
  SDL_Surface* surface = new_surface(picture->width, picture->height, picture->pitch, picture->format);
  if (surface == nullptr) {
    last_error = "Out of memory";
    return nullptr;
  }
  std::memcpy(surface->pixels, picture->pixels.data(), picture->pixels.size());
  return surface;
}

const char* picture_load_error() { return last_error.c_str(); }

SDL_Surface* new_sheet_cell(int width, int height) {
  PixelFormat format;
  format.bytes_per_pixel = 3;
  format.masks[0] = 0x000000FF;
  format.masks[1] = 0x0000FF00;
  format.masks[2] = 0x00FF0000;
  return new_surface(width, height, (width * 3 + 3) / 4 * 4, format);
}

void copy_sheet_area(SDL_Surface* sheet, SDL_Rect from, SDL_Surface* cell) {
  const PixelFormat sheet_format = format_of(sheet), cell_format = format_of(cell);
  blit_area(rows_of(sheet, sheet_format), {from.x, from.y, from.w, from.h}, rows_of(cell, cell_format));
}

// As on the desktop (bank_desktop.cpp): 24-bit surfaces as they lie, others
// converted; the GL seam (gl_browser.cpp) takes blue-first texels and GLU's
// mipmaps.
bool put_surface_pixels(SDL_Surface* surface, bool single_level) {
  if (surface->pixels == nullptr) return false;
  std::vector<std::uint8_t> converted;
  const void* pixels = surface->pixels;
  if (!is_uploadable_as_it_lies(surface)) {
    const PixelFormat format = format_of(surface);
    converted = upload_layout(rows_of(surface, format));
    pixels = converted.data();
  }
  if (single_level) glTexImage2D(GL_TEXTURE_2D, 0, 3, surface->w, surface->h, 0, GL_BGR, GL_UNSIGNED_BYTE, pixels);
  else gluBuild2DMipmaps(GL_TEXTURE_2D, 3, surface->w, surface->h, GL_BGR, GL_UNSIGNED_BYTE, pixels);
  return true;
}

}  // namespace grains
