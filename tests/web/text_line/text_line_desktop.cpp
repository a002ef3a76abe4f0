// The text frame on the desktop, written as a PNG file:  text_line_desktop OUT.png
#include "common/png_file.h"
#include "common/window_snapshot.h"
#include "text_line/text_line.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: text_line_desktop OUT.png\n");
    return 2;
  }
  start_text_line();
  draw_text_line();
  const std::vector<std::uint32_t> frame = read_frame_to_show(TEXT_LINE_WIDTH, TEXT_LINE_HEIGHT);
  std::string error;
  if (!write_png(argv[1], TEXT_LINE_WIDTH, TEXT_LINE_HEIGHT, frame.data(), error)) {
    std::fprintf(stderr, "text_line_desktop: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
