#include "common/window_snapshot.h"

#include <GL/gl.h>

#include <algorithm>

std::vector<std::uint32_t> read_frame_to_show(int width, int height) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
  // GL's rows run from the bottom; the window has no alpha to show.
  for (int row = 0; row < height / 2; ++row)
    std::swap_ranges(pixels.begin() + row * width, pixels.begin() + (row + 1) * width,
                     pixels.begin() + (height - 1 - row) * width);
  for (std::uint32_t& pixel : pixels) pixel |= 0xFF000000u;
  return pixels;
}
