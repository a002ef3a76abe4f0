// Checks of a picture of grfx/ as a program drew it, on a screenshot.
#pragma once

#include "support/gl_window.h"

#include <string>

// The smallest box holding every pixel of the screenshot that is not black;
// left > right when there is none.
Box lit_box(const Screenshot& shot);

// Expects the picture file at png_path drawn whole, at its own size, with
// its top-left pixel at (left, top), on black: the lit part of the screen
// is the picture's box (give or take a pixel at each edge), and inside it
// each pixel is the picture's within a few levels per channel. The outer
// pixels are not compared: filtering there may blend in the opposite edge.
void expect_picture_drawn_alone(const Screenshot& shot, const std::string& png_path, int left, int top);

// What examples/sprite_window.cpp draws: PANEL_FOND.png of grfx_dir with
// its corner at (384, 241), shown TEXTURED_QUAD_DROP pixels lower.
void expect_sprite_window_drawn(const Screenshot& shot, const std::string& grfx_dir);
