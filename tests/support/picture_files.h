// Reading the pictures the programs write: PNG files, and animated GIF
// files as the pictures a viewer shows one after the other.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PictureFile {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xRRGGBB, top row first
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The pixels of a PNG file; throws when it cannot be read.
PictureFile read_png_file(const std::string& path);

struct GifPicture {
  PictureFile picture;  // the whole canvas as shown
  int delay = 0;        // hundredths of a second
};
// Every picture of a GIF file, each drawn over the ones before as a viewer
// draws it; throws when the file cannot be read.
std::vector<GifPicture> read_gif_file(const std::string& path);

// The top-left width x height corner of a picture.
PictureFile corner_of(const PictureFile& picture, int width, int height);
