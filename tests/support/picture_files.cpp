#include "support/picture_files.h"

#include <gif_lib.h>
#include <png.h>

#include <cstring>
#include <stdexcept>

PictureFile read_png_file(const std::string& path) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) throw std::runtime_error("cannot read " + path);
  image.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) throw std::runtime_error("cannot read " + path);
  PictureFile picture{static_cast<int>(image.width), static_cast<int>(image.height), {}};
  for (std::size_t i = 0; i < rgb.size(); i += 3) picture.pixels.push_back(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
  return picture;
}

namespace {

// Draws one GIF image over the canvas; transparent pixels leave it as it is.
void draw_image(const SavedImage& image, const ColorMapObject* map, int transparent, PictureFile& canvas) {
  const GifImageDesc& area = image.ImageDesc;
  for (int y = 0; y < area.Height; ++y)
    for (int x = 0; x < area.Width; ++x) {
      const int index = image.RasterBits[y * area.Width + x];
      if (index == transparent) continue;
      if (index >= map->ColorCount) throw std::runtime_error("GIF pixel outside its colour map");
      const GifColorType& c = map->Colors[index];
      canvas.pixels.at(static_cast<std::size_t>(area.Top + y) * canvas.width + area.Left + x) =
          c.Red << 16 | c.Green << 8 | c.Blue;
    }
}

}  // namespace

std::vector<GifPicture> read_gif_file(const std::string& path) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  if (gif == nullptr) throw std::runtime_error("cannot open " + path + ": " + GifErrorString(error));
  if (DGifSlurp(gif) != GIF_OK) {
    DGifCloseFile(gif, &error);
    throw std::runtime_error("cannot read " + path);
  }
  PictureFile canvas{gif->SWidth, gif->SHeight, std::vector<std::uint32_t>(gif->SWidth * gif->SHeight, 0)};
  std::vector<GifPicture> pictures;
  for (int i = 0; i < gif->ImageCount; ++i) {
    GraphicsControlBlock control{DISPOSE_DO_NOT, false, 0, NO_TRANSPARENT_COLOR};
    DGifSavedExtensionToGCB(gif, i, &control);
    const SavedImage& image = gif->SavedImages[i];
    const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    if (map == nullptr) throw std::runtime_error("GIF picture without colours in " + path);
    draw_image(image, map, control.TransparentColor, canvas);
    pictures.push_back({canvas, control.DelayTime});
  }
  DGifCloseFile(gif, &error);
  return pictures;
}

PictureFile corner_of(const PictureFile& picture, int width, int height) {
  PictureFile corner{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) corner.pixels.push_back(picture.at(x, y));
  return corner;
}
