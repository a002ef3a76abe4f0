#include "common/png_file.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace {

bool write_png_in(png_uint_32 format, const std::string& path, int width, int height, const void* pixels,
                  std::string& error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = format;
  if (png_image_write_to_file(&image, path.c_str(), 0, pixels, 0, nullptr)) return true;
  error = image.message;
  return false;
}

}  // namespace

bool write_png(const std::string& path, int width, int height, const std::uint32_t* pixels, std::string& error) {
  // A little-endian 0xAARRGGBB lies in memory as blue, green, red, alpha.
  return write_png_in(PNG_FORMAT_BGRA, path, width, height, pixels, error);
}

bool write_png_without_alpha(const std::string& path, int width, int height, const std::uint32_t* pixels,
                             std::string& error) {
  std::vector<std::uint8_t> rgb;
  for (const std::uint32_t* pixel = pixels; pixel != pixels + width * height; ++pixel)
    rgb.insert(rgb.end(), {std::uint8_t(*pixel >> 16), std::uint8_t(*pixel >> 8), std::uint8_t(*pixel)});
  return write_png_in(PNG_FORMAT_RGB, path, width, height, rgb.data(), error);
}
