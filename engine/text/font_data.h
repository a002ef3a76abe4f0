// Outline fonts rendered once into GL textures and display lists, and
// drawing of formatted multi-line text with them.
//
// Warning: build fonts after the image bank holds every picture, whose slots would overwrite textures made before.
#pragma once

// One font at one size: a texture and a display list for each character
// code 0 to 127. A plain record, copied freely; the object build ran on
// owns the GL objects and frees them with release, copies share them.
// A never-built font is all zero; text drawn with it leaves no mark.
struct FONT_DATA {
  float height = 0.0f;               // nominal character height; lines are height / 0.63 apart
  unsigned int* textures = nullptr;  // 128 texture names, element c for code c
  unsigned int list_base = 0;        // list list_base + c draws code c and advances

  // Rasterises font_file at height points (96 dpi) with FreeType and
  // creates the 128 textures and lists. Needs a current GL context.
  // Throws std::runtime_error on failure; the codes built before the
  // failing one stay complete and release still frees what was created.
  void build(const char* font_file, unsigned int height);
  // Deletes the lists and textures and frees the name array. The fields
  // keep their values; an unbuilt font is left alone.
  void release();
};

// Draws printf-formatted text with font, line after line, the first line
// starting at (x, y) in window pixels with y upwards from the bottom of the
// viewport. The caller's model-view matrix applies in each line's own frame
// (rotating or scaling it about its start). A null format or an unbuilt
// font draws nothing, but the GL state is set up and restored all the same.
// The text is cut at 255 characters; codes 128 to 255 are drawn as '?'.
void draw_text(const FONT_DATA& font, float x, float y, const char* format, ...) __attribute__((format(printf, 4, 5)));

// Smallest power of two not below n (1 for n <= 1).
int next_power_of_two(int n);

// Saves the projection and installs one that maps the viewport in pixels,
// origin at its lower-left corner; the matrix mode is left as it was.
void push_screen_projection();
// Restores the projection saved by push_screen_projection.
void pop_screen_projection();
