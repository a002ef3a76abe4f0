// A frame of text drawn by the engine's text module, the same on the
// desktop and in a page, to compare the two: lines of DejaVu Sans in two
// colours, one of them turned and scaled by the caller's model-view matrix
// as a label turns its caption, and a cable curve drawn with the evaluator.
#pragma once

constexpr int TEXT_LINE_WIDTH = 1024;
constexpr int TEXT_LINE_HEIGHT = 768;

// Opens the window and builds the font; a font that does not build ends the
// program with a message.
void start_text_line();

// Draws the frame into the back buffer.
void draw_text_line();
