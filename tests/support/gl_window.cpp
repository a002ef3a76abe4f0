#include "support/gl_window.h"

#include "common/window_snapshot.h"
#include "support/process.h"
#include "video/video.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <stdexcept>

void ensure_video() {
  if (screen_surface == nullptr) start_video(1024, 768, nullptr);
}

std::vector<std::uint32_t> read_window_pixels() {
  std::vector<std::uint32_t> pixels = read_frame_to_show(1024, 768);
  for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

std::uint32_t window_pixel(int x, int y) {
  unsigned char p[3];
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(x, 767 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
  return (p[0] << 16) | (p[1] << 8) | p[2];
}

int count_lit_pixels() {
  int lit = 0;
  for (const std::uint32_t pixel : read_window_pixels()) lit += pixel != 0;
  return lit;
}

Box lit_box() {
  const std::vector<std::uint32_t> pixels = read_window_pixels();
  Box box;
  for (int y = 0; y < 768; ++y)
    for (int x = 0; x < 1024; ++x)
      if (pixels[y * 1024 + x] != 0) {
        box.left = std::min(box.left, x), box.right = std::max(box.right, x);
        box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
      }
  return box;
}

Screenshot take_screenshot(const std::string& png_path) {
  const std::string dir = make_temp_dir();
  const std::string ppm = dir + "/screen.ppm";
  const ProcessResult shot = run_process({"/usr/bin/import", "-window", "root", "-depth", "8", ppm});
  if (shot.exit_status != 0) throw std::runtime_error("import failed: " + shot.err);
  if (!png_path.empty()) run_process({"/usr/bin/convert", ppm, png_path});

  std::istringstream in(read_file(ppm));
  std::filesystem::remove_all(dir);
  std::string magic;
  int max_value = 0;
  Screenshot screenshot;
  in >> magic >> screenshot.width >> screenshot.height >> max_value;
  in.get();
  if (magic != "P6" || max_value != 255) throw std::runtime_error("unexpected screenshot format");
  screenshot.pixels.resize(screenshot.width * screenshot.height);
  for (auto& pixel : screenshot.pixels) {
    unsigned char p[3];
    in.read(reinterpret_cast<char*>(p), 3);
    pixel = (p[0] << 16) | (p[1] << 8) | p[2];
  }
  return screenshot;
}
