#include "images/bank_platform.h"
#include "images/pixel_layout.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL_image.h>

namespace grains {

SDL_Surface* load_picture(const char* path) { return IMG_Load(path); }

const char* picture_load_error() { return IMG_GetError(); }

SDL_Surface* new_sheet_cell(int width, int height) {
  return SDL_CreateRGBSurface(0, width, height, 24, 0x000000FF, 0x0000FF00, 0x00FF0000, 0);
}

void copy_sheet_area(SDL_Surface* sheet, SDL_Rect from, SDL_Surface* cell) {
  SDL_Rect to = {0, 0, from.w, from.h};
  SDL_UpperBlit(sheet, &from, cell, &to);
}

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
