// Window and GL context start-up, projections and the cell square.
#pragma once

#include <SDL.h>

#include <cstdint>

// Requested window size, recorded before anything else by start_video.
extern int screen_width;
extern int screen_height;
// The surface SDL_SetVideoMode returned.
extern SDL_Surface* screen_surface;

// Opens the window with an OpenGL context, sets the fixed GL state and
// creates the image bank, loading catalogue_path into it when not null.
// Returns 1; on failure prints a message and ends the process with status 1,
// as it does when, without a display, SDL falls back on a driver that shows
// no window (unless SDL_VIDEODRIVER named that driver).
int start_video(int width, int height, const char* catalogue_path);

namespace grains {

// Whether start_video has opened the window. When it has not, says once on
// standard error that user, which needs the window, its GL context or the
// image bank, ran before it.
bool video_started(const char* user);

}  // namespace grains

// Viewport and a 45-degree perspective projection; resets the model-view
// matrix too when to_modelview is 1, else leaves the projection current
// (and reset to the identity).
int set_perspective(int width, int height, int to_modelview);

// Saves the projection and installs a pixel projection, origin top-left.
// Pair it with pop_ortho around each frame's drawing: in a debug build (no
// NDEBUG) a push_ortho before the last one's pop_ortho, or a pop_ortho
// without one, is said once on standard error.
void push_ortho(int left, int top, int right, int bottom);
// Restores the projection saved by push_ortho.
void pop_ortho();

// Draws a size-by-size square of single-pixel points in colour 0xAARRGGBB,
// lighting the pixels from (x, y) to (x + size - 1, y + size - 1) under
// push_ortho's projection. Size 1.0 is one point.
void draw_square(int x, int y, std::uint32_t colour, float size);
