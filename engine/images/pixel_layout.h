// The one pixel layout the image bank hands to GL: three bytes a pixel in
// blue, green, red order, rows padded to 4 bytes (GL's default unpack
// alignment), as SDL lays out 24-bit surfaces.
#pragma once

#include <SDL.h>

// Whether surface's bytes already lie in the upload layout.
bool has_upload_layout(const SDL_Surface* surface);

// A new surface with surface's picture in the upload layout, or null when
// SDL cannot make one. The colours are copied as they are, alpha dropped.
SDL_Surface* copy_in_upload_layout(SDL_Surface* surface);
