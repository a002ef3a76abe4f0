// The background sprite, which a program creates (the grain programs do at
// start-up), and the tiling that covers the window with its picture.
#pragma once

#include "scene/sprite.h"

// The program's sprite named "FOND"; null until the program creates it
// (the engine never does).
extern SPRITE* background_sprite;

// Shows the picture "FOND" on the background sprite and draws it 32 by 32
// times from the window's top-left corner, in steps of its size. Does
// nothing before the background sprite exists.
void draw_background_tiles();
