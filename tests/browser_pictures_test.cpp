// The browser's picture work (engine/images/sdl_pixels_browser.cpp and
// engine/platform/glu_mipmaps_browser.cpp, built here on the desktop) held
// to what the desktop's SDL_image, SDL and GLU do with the same pictures:
// the surfaces of every picture of grfx/ and of PNG files of every colour
// type, sheet cells cut from them, their upload layout, and GLU's first
// mipmap level of pictures whose sides are not powers of two.
#include "images/sdl_pixels.h"
#include "platform/glu_mipmaps.h"
#include "support/gl_window.h"
#include "support/process.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>

namespace fs = std::filesystem;
using namespace grains;

namespace {

using SurfacePointer = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

SurfacePointer owned(SDL_Surface* surface) { return SurfacePointer(surface, SDL_FreeSurface); }

// A desktop surface's format in sdl_pixels.h's terms.
PixelFormat format_of(const SDL_Surface& surface) {
  const SDL_PixelFormat& layout = *surface.format;
  PixelFormat format;
  format.bytes_per_pixel = layout.BytesPerPixel;
  const std::uint32_t masks[4] = {layout.Rmask, layout.Gmask, layout.Bmask, layout.Amask};
  std::copy(masks, masks + 4, format.masks);
  if (layout.palette != nullptr)
    for (int i = 0; i < layout.palette->ncolors; ++i)
      format.palette.push_back({layout.palette->colors[i].r, layout.palette->colors[i].g, layout.palette->colors[i].b});
  format.alpha_blended = (surface.flags & SDL_SRCALPHA) != 0;
  format.keyed = (surface.flags & SDL_SRCCOLORKEY) != 0;
  format.key = format.keyed ? layout.colorkey : 0;
  return format;
}

PixelRows rows_of(const SDL_Surface& surface, const PixelFormat& format) {
  return {surface.w, surface.h, surface.pitch, &format, static_cast<std::uint8_t*>(surface.pixels)};
}

// The bytes of each row that hold pixels (not the padding).
std::vector<std::uint8_t> pixel_bytes(const std::uint8_t* pixels, int width, int height, int pitch, int bytes) {
  std::vector<std::uint8_t> out;
  for (int y = 0; y < height; ++y)
    out.insert(out.end(), pixels + static_cast<std::ptrdiff_t>(y) * pitch,
               pixels + static_cast<std::ptrdiff_t>(y) * pitch + width * bytes);
  return out;
}

// The browser's reading of path is the desktop's SDL_image surface.
void expect_read_as_sdl_image(const std::string& path) {
  SCOPED_TRACE(path);
  const SurfacePointer desktop = owned(IMG_Load(path.c_str()));
  ASSERT_NE(desktop, nullptr) << IMG_GetError();
  std::string error;
  const std::optional<LoadedPicture> browser = read_png_picture(path.c_str(), error);
  ASSERT_TRUE(browser) << error;
  const PixelFormat expected = format_of(*desktop);
  EXPECT_EQ(browser->width, desktop->w);
  EXPECT_EQ(browser->height, desktop->h);
  EXPECT_EQ(browser->pitch, desktop->pitch);
  EXPECT_EQ(browser->format.bytes_per_pixel, expected.bytes_per_pixel);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(browser->format.masks[i], expected.masks[i]) << "mask " << i;
  EXPECT_EQ(browser->format.alpha_blended, expected.alpha_blended);
  EXPECT_EQ(browser->format.keyed, expected.keyed);
  EXPECT_EQ(browser->format.key, expected.key);
  // SDL gives an 8-bit surface a palette of 256 entries, of which the file
  // fills the first.
  const std::size_t filled = browser->format.palette.size();
  ASSERT_LE(filled, expected.palette.size());
  EXPECT_TRUE(std::equal(browser->format.palette.begin(), browser->format.palette.end(), expected.palette.begin()));
  const int bytes = expected.bytes_per_pixel;
  EXPECT_EQ(pixel_bytes(browser->pixels.data(), browser->width, browser->height, browser->pitch, bytes),
            pixel_bytes(static_cast<std::uint8_t*>(desktop->pixels), desktop->w, desktop->h, desktop->pitch, bytes));
}

// A PNG file of width x height written with libpng: colour type, bit
// depth, the samples of each row (from sample(x, y, channel)), and
// optionally a palette, its transparency or a transparent colour.
struct PngLayout {
  int width = 13, height = 7, colour_type = PNG_COLOR_TYPE_RGB, bit_depth = 8;
  std::vector<png_color> palette = {};
  std::vector<png_byte> palette_alphas = {};
  std::optional<png_color_16> transparent = std::nullopt;
  bool interlaced = false;
};

PngLayout png_layout(int width, int height, int colour_type, int bit_depth) {
  PngLayout made;
  made.width = width;
  made.height = height;
  made.colour_type = colour_type;
  made.bit_depth = bit_depth;
  return made;
}

int channels_of(int colour_type) {
  switch (colour_type) {
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    default: return 1;
  }
}

// Samples that vary by place and channel, within the bit depth (and the
// palette's size).
int sample(const PngLayout& layout, int x, int y, int channel) {
  const int largest = layout.colour_type == PNG_COLOR_TYPE_PALETTE ? static_cast<int>(layout.palette.size()) - 1
                                                                   : (1 << layout.bit_depth) - 1;
  return (x * 37 + y * 91 + channel * 53 + x * y * 7) % (largest + 1);
}

void write_png(const std::string& path, const PngLayout& layout) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, layout.width, layout.height, layout.bit_depth, layout.colour_type,
               layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!layout.palette.empty()) png_set_PLTE(png, info, layout.palette.data(), static_cast<int>(layout.palette.size()));
  if (!layout.palette_alphas.empty())
    png_set_tRNS(png, info, layout.palette_alphas.data(), static_cast<int>(layout.palette_alphas.size()), nullptr);
  if (layout.transparent) {
    png_color_16 colour = *layout.transparent;
    png_set_tRNS(png, info, nullptr, 0, &colour);
  }
  png_write_info(png, info);
  if (layout.bit_depth < 8) png_set_packing(png);
  const int channels = channels_of(layout.colour_type), sample_bytes = layout.bit_depth == 16 ? 2 : 1;
  std::vector<std::vector<png_byte>> rows(layout.height, std::vector<png_byte>(layout.width * channels * sample_bytes));
  for (int y = 0; y < layout.height; ++y)
    for (int x = 0; x < layout.width; ++x)
      for (int c = 0; c < channels; ++c) {
        const int value = sample(layout, x, y, c);
        png_byte* at = &rows[y][(x * channels + c) * sample_bytes];
        if (sample_bytes == 2) {
          at[0] = static_cast<png_byte>(value >> 8);
          at[1] = static_cast<png_byte>(value);
        } else {
          at[0] = static_cast<png_byte>(value);
        }
      }
  std::vector<png_bytep> pointers;
  for (auto& row : rows) pointers.push_back(row.data());
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

std::vector<png_color> palette_of(int size) {
  std::vector<png_color> palette;
  for (int i = 0; i < size; ++i)
    palette.push_back(
        {static_cast<png_byte>(i * 29), static_cast<png_byte>(255 - i * 13), static_cast<png_byte>(i * 7)});
  return palette;
}

class Files : public testing::Test {
 protected:
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const std::string& name) const { return dir_ + "/" + name; }
  const std::string dir_ = make_temp_dir();
};

// An RGBA surface with every value of one channel against every alpha.
SurfacePointer alpha_ramp() {
  SurfacePointer ramp = owned(SDL_CreateRGBSurface(SDL_SWSURFACE, 256, 256, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000));
  auto* pixels = static_cast<std::uint32_t*>(ramp->pixels);
  for (int alpha = 0; alpha < 256; ++alpha)
    for (int value = 0; value < 256; ++value)
      pixels[alpha * ramp->pitch / 4 + value] =
          value | (255 - value) << 8 | (value / 3) << 16 | static_cast<std::uint32_t>(alpha) << 24;
  return ramp;
}

SurfacePointer black_cell(int width, int height) {
  return owned(SDL_CreateRGBSurface(0, width, height, 24, 0x000000FF, 0x0000FF00, 0x00FF0000, 0));
}

// The area of sheet blitted by SDL and by blit_area into black cells gives
// the same cells.
void expect_blit_as_sdl(SDL_Surface& sheet, SDL_Rect area) {
  SCOPED_TRACE(::testing::Message() << "area " << area.x << "," << area.y << " " << area.w << "x" << area.h);
  SurfacePointer desktop = black_cell(area.w, area.h), browser = black_cell(area.w, area.h);
  SDL_Rect from = area, to = {0, 0, area.w, area.h};
  SDL_UpperBlit(&sheet, &from, desktop.get(), &to);
  const PixelFormat sheet_format = format_of(sheet), cell_format = format_of(*browser);
  blit_area(rows_of(sheet, sheet_format), {area.x, area.y, area.w, area.h}, rows_of(*browser, cell_format));
  EXPECT_EQ(pixel_bytes(static_cast<std::uint8_t*>(browser->pixels), area.w, area.h, browser->pitch, 3),
            pixel_bytes(static_cast<std::uint8_t*>(desktop->pixels), area.w, area.h, desktop->pitch, 3));
}

// SDL's conversion to GL's upload layout (24 bits, blue first) and
// upload_layout give the same bytes.
void expect_upload_layout_as_sdl(SDL_Surface& surface) {
  SDL_Surface* model = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
  const SurfacePointer desktop = owned(SDL_ConvertSurface(&surface, model->format, SDL_SWSURFACE));
  SDL_FreeSurface(model);
  const PixelFormat format = format_of(surface);
  const std::vector<std::uint8_t> browser = upload_layout(rows_of(surface, format));
  ASSERT_EQ(desktop->pitch, (surface.w * 3 + 3) / 4 * 4);
  EXPECT_EQ(pixel_bytes(browser.data(), surface.w, surface.h, desktop->pitch, 3),
            pixel_bytes(static_cast<std::uint8_t*>(desktop->pixels), surface.w, surface.h, desktop->pitch, 3));
}

// GLU's first mipmap level of texels (blue-first rows padded to 4 bytes),
// read back from GL, and its size.
struct Level {
  int width = 0, height = 0;
  std::vector<std::uint8_t> texels;
};
Level glu_first_level(const std::uint8_t* texels, int width, int height) {
  ensure_video();
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_BGR, GL_UNSIGNED_BYTE, texels);
  Level level;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &level.width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &level.height);
  level.texels.resize(static_cast<std::size_t>(level.width) * level.height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, level.texels.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glDeleteTextures(1, &texture);
  return level;
}

void expect_scaled_as_glu(const std::uint8_t* texels, int width, int height) {
  SCOPED_TRACE(::testing::Message() << width << "x" << height);
  const Level glu = glu_first_level(texels, width, height);
  const int new_width = glu_power_of_two(width), new_height = glu_power_of_two(height);
  ASSERT_EQ(new_width, glu.width);
  ASSERT_EQ(new_height, glu.height);
  EXPECT_EQ(glu_scaled(texels, width, height, 3, (width * 3 + 3) / 4 * 4, new_width, new_height), glu.texels);
}

}  // namespace

TEST(BrowserPictures, EveryPictureOfGrfxIsReadAsSdlImageReadsIt) {
  int pictures = 0;
  for (const auto& entry : fs::directory_iterator(SOURCE_DIR "/grfx"))
    if (entry.path().extension() == ".png") {
      expect_read_as_sdl_image(entry.path().string());
      ++pictures;
    }
  EXPECT_GE(pictures, 40);
}

TEST_F(Files, PngFilesOfEveryColourTypeAreReadAsSdlImageReadsThem) {
  std::vector<std::pair<std::string, PngLayout>> specs = {
      {"rgb", {}},
      {"rgba", png_layout(21, 9, PNG_COLOR_TYPE_RGB_ALPHA, 8)},
      {"rgb16", png_layout(5, 4, PNG_COLOR_TYPE_RGB, 16)},
      {"rgba16", png_layout(6, 3, PNG_COLOR_TYPE_RGB_ALPHA, 16)},
      {"grey", png_layout(11, 5, PNG_COLOR_TYPE_GRAY, 8)},
      {"grey4", png_layout(9, 6, PNG_COLOR_TYPE_GRAY, 4)},
      {"grey16", png_layout(7, 3, PNG_COLOR_TYPE_GRAY, 16)},
      {"grey_alpha", png_layout(10, 4, PNG_COLOR_TYPE_GRAY_ALPHA, 8)},
      {"palette", {12, 5, PNG_COLOR_TYPE_PALETTE, 8, palette_of(40)}},
      {"palette2", {15, 4, PNG_COLOR_TYPE_PALETTE, 2, palette_of(4)}},
      {"palette_one_clear", {12, 5, PNG_COLOR_TYPE_PALETTE, 8, palette_of(16), {255, 255, 0, 255}}},
      {"palette_translucent", {12, 5, PNG_COLOR_TYPE_PALETTE, 8, palette_of(16), {255, 128, 0}}},
      {"rgb_keyed", {13, 7, PNG_COLOR_TYPE_RGB, 8, {}, {}, png_color_16{0, 40, 80, 120, 0}}},
      {"grey_keyed", {9, 5, PNG_COLOR_TYPE_GRAY, 8, {}, {}, png_color_16{0, 0, 0, 0, 77}}},
      {"palette1", {19, 3, PNG_COLOR_TYPE_PALETTE, 1, palette_of(2)}},
      {"interlaced", {17, 11, PNG_COLOR_TYPE_RGB_ALPHA, 8, {}, {}, std::nullopt, true}},
  };
  for (const auto& [name, layout] : specs) {
    write_png(path(name + ".png"), layout);
    expect_read_as_sdl_image(path(name + ".png"));
  }
}

TEST_F(Files, WhatIsNotAPngFileIsRefusedWithItsReason) {
  std::string error;
  EXPECT_FALSE(read_png_picture(path("missing.png").c_str(), error));
  EXPECT_NE(error.find("missing.png"), std::string::npos) << error;
  std::FILE* text = std::fopen(path("text.png").c_str(), "w");
  std::fputs("not a picture", text);
  std::fclose(text);
  EXPECT_FALSE(read_png_picture(path("text.png").c_str(), error));
  EXPECT_NE(error.find("PNG pictures only"), std::string::npos) << error;
  // A PNG file cut short: libpng's error, no crash.
  write_png(path("whole.png"), {});
  const std::string whole = read_file(path("whole.png"));
  std::FILE* cut = std::fopen(path("cut.png").c_str(), "wb");
  std::fwrite(whole.data(), 1, whole.size() / 2, cut);
  std::fclose(cut);
  EXPECT_FALSE(read_png_picture(path("cut.png").c_str(), error));
  EXPECT_NE(error.find("Error reading the PNG file"), std::string::npos) << error;
}

TEST(BrowserPictures, SheetCellsAreCutAsSdlBlitsThem) {
  const SurfacePointer sheet = owned(IMG_Load(SOURCE_DIR "/grfx/GRAINS.png"));
  ASSERT_NE(sheet, nullptr);
  // The catalogue's cells, and cells reaching past each edge.
  for (const SDL_Rect area : {SDL_Rect{0, 0, 32, 32}, SDL_Rect{34, 33, 32, 32}, SDL_Rect{102, 33, 32, 32},
                              SDL_Rect{-5, -7, 32, 32}, SDL_Rect{120, 50, 32, 32}, SDL_Rect{-40, 0, 32, 32}})
    expect_blit_as_sdl(*sheet, area);
  const SurfacePointer ramp = alpha_ramp();
  expect_blit_as_sdl(*ramp, {0, 0, 256, 256});
  expect_blit_as_sdl(*ramp, {100, 30, 64, 200});
}

TEST_F(Files, KeyedAndPalettedSheetsAreCutAsSdlBlitsThem) {
  write_png(path("clear.png"), {40, 20, PNG_COLOR_TYPE_PALETTE, 8, palette_of(16), {255, 255, 0}});
  write_png(path("keyed.png"), {40, 20, PNG_COLOR_TYPE_RGB, 8, {}, {}, png_color_16{0, 74, 0, 0, 0}});
  for (const char* name : {"clear.png", "keyed.png"}) {
    const SurfacePointer sheet = owned(IMG_Load(path(name).c_str()));
    ASSERT_NE(sheet, nullptr);
    expect_blit_as_sdl(*sheet, {3, 2, 30, 16});
  }
}

TEST_F(Files, PicturesOfEveryDepthTakeSdlsUploadLayout) {
  const SurfacePointer ramp = alpha_ramp();
  expect_upload_layout_as_sdl(*ramp);
  write_png(path("palette.png"), {13, 6, PNG_COLOR_TYPE_PALETTE, 8, palette_of(30)});
  write_png(path("grey.png"), png_layout(9, 5, PNG_COLOR_TYPE_GRAY, 8));
  // A grey picture with a transparent colour, which SDL takes as 16-bit colour.
  write_png(path("grey_keyed.png"), {40, 9, PNG_COLOR_TYPE_GRAY, 8, {}, {}, png_color_16{0, 0, 0, 0, 77}});
  for (const std::string& file :
       {path("palette.png"), path("grey.png"), path("grey_keyed.png"), std::string(SOURCE_DIR "/grfx/KNOB.png")}) {
    SCOPED_TRACE(file);
    const SurfacePointer picture = owned(IMG_Load(file.c_str()));
    ASSERT_NE(picture, nullptr);
    expect_upload_layout_as_sdl(*picture);
  }
}

TEST(BrowserPictures, SidesAreRoundedToPowersOfTwoAsGluRoundsThem) {
  const std::pair<int, int> sides[] = {{1, 1},   {2, 2},   {3, 4},    {5, 4},     {6, 8},     {7, 8},     {65, 64},
                                       {80, 64}, {95, 64}, {96, 128}, {134, 128}, {191, 128}, {192, 256}, {1000, 1024}};
  for (const auto& [side, power] : sides) EXPECT_EQ(glu_power_of_two(side), power) << side;
}

TEST(BrowserPictures, PicturesOfOtherSidesAreScaledAsGluScalesThem) {
  // The catalogue's sheet as a picture of its own, as the showcase shows it.
  const SurfacePointer sheet = owned(IMG_Load(SOURCE_DIR "/grfx/GRAINS.png"));
  ASSERT_NE(sheet, nullptr);
  const PixelFormat format = format_of(*sheet);
  const std::vector<std::uint8_t> texels = upload_layout(rows_of(*sheet, format));
  expect_scaled_as_glu(texels.data(), sheet->w, sheet->h);
  // Noise, scaled up and down along each side. (Of pictures one or two
  // pixels wide, whose rows GL pads, GLU scales the height its own way;
  // the browser's differs there.)
  std::mt19937 random(24);
  for (const auto& [width, height] : {std::pair{100, 30}, {3, 5}, {200, 1}, {77, 2}, {97, 97}, {44, 90}, {64, 77}}) {
    std::vector<std::uint8_t> noise(static_cast<std::size_t>((width * 3 + 3) / 4 * 4) * height);
    for (auto& byte : noise) byte = static_cast<std::uint8_t>(random());
    expect_scaled_as_glu(noise.data(), width, height);
  }
}
