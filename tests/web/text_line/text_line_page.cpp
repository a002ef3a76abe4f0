// The text frame in a page: the page calls text_line_frame once the
// program has started, and reads the frame it returns.
#include "text_line/text_line.h"

#include <GL/gl.h>
#include <emscripten.h>

#include <cstdint>
#include <vector>

extern "C" {

// Draws the frame and returns its pixels, red, green, blue and alpha bytes,
// bottom row first as GL reads them (before the page composites the frame).
EMSCRIPTEN_KEEPALIVE const std::uint8_t* text_line_frame() {
  static std::vector<std::uint8_t> pixels(static_cast<std::size_t>(TEXT_LINE_WIDTH) * TEXT_LINE_HEIGHT * 4);
  draw_text_line();
  glReadPixels(0, 0, TEXT_LINE_WIDTH, TEXT_LINE_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels.data();
}
}

int main() {
  start_text_line();
  return 0;
}
