// Where the image bank's pictures come from and how they become textures,
// on each platform (bank_desktop.cpp, bank_browser.cpp: CMake builds the
// platform's). Both give the bank the surfaces SDL_image gives it on the
// desktop, of the same depth and masks for the same file, and upload them
// the same way: 24-bit surfaces as their bytes lie, read blue, green, red;
// others converted to that order, colours kept.
#pragma once

#include <SDL.h>

namespace grains {

// The picture in the file at path as SDL_image loads it on the desktop, or
// null when it does not load (picture_load_error says why). In the browser
// the file must be a PNG file.
SDL_Surface* load_picture(const char* path);
const char* picture_load_error();

// A new black width x height surface of 24 bits, its bytes red, green,
// blue, or null.
SDL_Surface* new_sheet_cell(int width, int height);

// Copies the area `from` of sheet to the top-left corner of cell, as SDL
// blits it, clipped to the sheet; the rest of cell stays black.
void copy_sheet_area(SDL_Surface* sheet, SDL_Rect from, SDL_Surface* cell);

// Fills the bound texture with surface's picture: one level, or a full
// mipmap chain. False when the picture could not be put in GL's layout.
bool put_surface_pixels(SDL_Surface* surface, bool single_level);

}  // namespace grains
