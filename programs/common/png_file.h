#pragma once

#include <cstdint>
#include <string>

// Writes width x height pixels of 0xAARRGGBB, top row first, as a PNG file.
// Returns false with a message in error when the file cannot be written.
bool write_png(const std::string& path, int width, int height, const std::uint32_t* pixels, std::string& error);

// The same without the alpha bytes, as a 24-bit PNG file (which SDL_image
// loads as a 24-bit surface whose bytes run red, green, blue).
bool write_png_without_alpha(const std::string& path, int width, int height, const std::uint32_t* pixels,
                             std::string& error);
