// The background sprite that every program creates at start-up, and the
// tiling that would cover the window with its picture.
#pragma once

#include "scene/sprite.h"

// Created at start-up with the name "FOND"; null before.
extern SPRITE* background_sprite;

// Shows the picture "FOND" on the background sprite and draws it 32 by 32
// times from the window's top-left corner, in steps of its size. Does
// nothing before the background sprite exists.
void draw_background_tiles();
