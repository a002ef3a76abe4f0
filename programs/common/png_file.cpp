#include "common/png_file.h"

#include <png.h>

#include <cstring>

bool write_png(const std::string& path, int width, int height, const std::uint32_t* pixels,
               std::string& error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  // A little-endian 0xAARRGGBB lies in memory as blue, green, red, alpha.
  image.format = PNG_FORMAT_BGRA;
  if (png_image_write_to_file(&image, path.c_str(), 0, pixels, 0, nullptr)) return true;
  error = image.message;
  return false;
}
