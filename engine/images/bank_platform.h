// What the image bank does differently on the desktop and in the browser.
// The desktop's GL is handed 24-bit surfaces as they lie, read blue, green,
// red. The browser's SDL keeps every picture as 32-bit colour and cannot
// blit from a loaded picture once a GL window is open; its GL (WebGL) reads
// only red-first bytes and makes its own texture names, so there the bank's
// names are made for it.
#pragma once

#include <SDL.h>

namespace grains {

// Copies the area `from` of sheet to the top-left corner of cell, clipped
// to the sheet; the rest of cell stays black.
void copy_sheet_area(SDL_Surface* sheet, SDL_Rect from, SDL_Surface* cell);

// Binds the bank's texture name slot (0 to 399) to GL_TEXTURE_2D.
void bind_bank_texture(int slot);

// Fills the bound texture with surface's picture: one level, or a full
// mipmap chain. False when the picture could not be put in GL's layout.
bool put_surface_pixels(SDL_Surface* surface, bool single_level);

}  // namespace grains
