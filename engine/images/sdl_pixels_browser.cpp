#include "images/sdl_pixels.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>

namespace grains {

namespace {

constexpr int SIGNATURE_BYTES = 8;
constexpr std::uint32_t RED_FIRST_MASKS[4] = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
constexpr std::uint32_t RGB565_MASKS[4] = {0xF800, 0x07E0, 0x001F, 0};

int padded_to_4(int bytes) { return (bytes + 3) / 4 * 4; }

// libpng's errors end the reading with their message.
struct PngErrors {
  std::jmp_buf end;
  std::string message;
};

[[noreturn]] void on_png_error(png_structp png, png_const_charp message) {
  auto* errors = static_cast<PngErrors*>(png_get_error_ptr(png));
  errors->message = message;
  std::longjmp(errors->end, 1);
}

void on_png_warning(png_structp, png_const_charp) {}

class PngFile {
 public:
  explicit PngFile(std::FILE* file) : file_(file) {}
  ~PngFile() {
    if (png_ != nullptr) png_destroy_read_struct(&png_, &info_, nullptr);
    std::fclose(file_);
  }
  PngFile(const PngFile&) = delete;
  PngFile& operator=(const PngFile&) = delete;

  bool open(PngErrors& errors) {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors, on_png_error, on_png_warning);
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
    return info_ != nullptr;
  }
  // Reads the picture; libpng's errors jump out of it, so it keeps what
  // it allocates in picture and in rows_.
  void read(LoadedPicture& picture);

 private:
  int transparent_index() const;

  std::FILE* file_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  std::vector<png_bytep> rows_;
};

// The one entry of a palette's transparency that is fully transparent
// when every other is opaque, else -1.
int PngFile::transparent_index() const {
  png_bytep alphas = nullptr;
  int count = 0;
  png_color_16p colour = nullptr;
  png_get_tRNS(png_, info_, &alphas, &count, &colour);
  int found = -1;
  for (int i = 0; i < count; ++i) {
    if (alphas[i] == 255) continue;
    if (alphas[i] != 0 || found >= 0) return -1;
    found = i;
  }
  return found;
}

// As SDL_image reads a PNG file: 16-bit channels cut to 8, small ones
// unpacked, grey expanded to 8 bits, a palette with one fully transparent
// entry keyed on it and other transparency made an alpha channel, other
// transparent colours keyed, grey with alpha made colour; 8-bit results
// have a palette (grey ones a ramp), and all but a palette's red-first
// masks.
void PngFile::read(LoadedPicture& picture) {
  png_init_io(png_, file_);
  png_set_sig_bytes(png_, SIGNATURE_BYTES);
  png_read_info(png_, info_);
  int colour_type = png_get_color_type(png_, info_);
  png_set_strip_16(png_);
  png_set_packing(png_);
  if (colour_type == PNG_COLOR_TYPE_GRAY) png_set_expand(png_);
  int key = -1;
  png_color_16p transparent_colour = nullptr;
  if (png_get_valid(png_, info_, PNG_INFO_tRNS) != 0) {
    png_bytep alphas = nullptr;
    int count = 0;
    png_get_tRNS(png_, info_, &alphas, &count, &transparent_colour);
    if (colour_type != PNG_COLOR_TYPE_PALETTE) key = 0;
    else if ((key = transparent_index()) < 0) png_set_expand(png_);
  }
  if (colour_type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png_);
  png_read_update_info(png_, info_);

  colour_type = png_get_color_type(png_, info_);
  const int channels = png_get_channels(png_, info_);
  PixelFormat& format = picture.format;
  format.bytes_per_pixel = png_get_bit_depth(png_, info_) * channels / 8;
  if (colour_type != PNG_COLOR_TYPE_PALETTE) {
    std::copy(RED_FIRST_MASKS, RED_FIRST_MASKS + 3, format.masks);
    format.masks[3] = channels == 4 ? RED_FIRST_MASKS[3] : 0;
  }
  // Grey with a transparent colour comes out as grey and alpha, 16 bits,
  // which SDL takes as its 16-bit colour, the masks not fitting.
  if (format.bytes_per_pixel == 2) std::copy(RGB565_MASKS, RGB565_MASKS + 4, format.masks);
  format.alpha_blended = format.masks[3] != 0;
  if (key >= 0) {
    format.keyed = true;
    format.key = colour_type == PNG_COLOR_TYPE_PALETTE
                     ? static_cast<std::uint32_t>(key)
                     : static_cast<std::uint8_t>(transparent_colour->red) |
                           static_cast<std::uint8_t>(transparent_colour->green) << 8 |
                           static_cast<std::uint32_t>(static_cast<std::uint8_t>(transparent_colour->blue)) << 16;
  }
  picture.width = static_cast<int>(png_get_image_width(png_, info_));
  picture.height = static_cast<int>(png_get_image_height(png_, info_));
  picture.pitch = padded_to_4(picture.width * format.bytes_per_pixel);
  picture.pixels.assign(static_cast<std::size_t>(picture.pitch) * picture.height, 0);
  rows_.resize(picture.height);
  for (int y = 0; y < picture.height; ++y) rows_[y] = &picture.pixels[static_cast<std::size_t>(y) * picture.pitch];
  png_read_image(png_, rows_.data());

  if (format.bytes_per_pixel != 1) return;
  if (colour_type == PNG_COLOR_TYPE_GRAY) {
    for (int level = 0; level < 256; ++level) {
      const auto grey = static_cast<std::uint8_t>(level);
      format.palette.push_back({grey, grey, grey});
    }
    return;
  }
  png_colorp colours = nullptr;
  int count = 0;
  if (png_get_PLTE(png_, info_, &colours, &count) == 0) return;
  for (int i = 0; i < count; ++i) format.palette.push_back({colours[i].red, colours[i].green, colours[i].blue});
}

// Runs the reading, whose errors jump back here.
bool read_png(PngFile& file, PngErrors& errors, LoadedPicture& picture) {
  if (setjmp(errors.end) != 0) return false;
  file.read(picture);
  return true;
}

std::uint32_t pixel_at(const PixelRows& rows, int x, int y) {
  const std::uint8_t* at = rows.data + static_cast<std::ptrdiff_t>(y) * rows.pitch + x * rows.format->bytes_per_pixel;
  std::uint32_t value = 0;
  for (int i = rows.format->bytes_per_pixel - 1; i >= 0; --i) value = value << 8 | at[i];
  return value;
}

// A channel's value by its mask, scaled to 8 bits as SDL's conversion
// scales a narrower one (rounding down).
std::uint8_t channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const std::uint32_t widest = mask >> shift;
  const std::uint32_t value = (pixel & mask) >> shift;
  return static_cast<std::uint8_t>(widest >= 255 ? value & 0xFF : value * 255 / widest);
}

struct Colour {
  std::uint8_t red, green, blue, alpha;
};

Colour colour_of(const PixelFormat& format, std::uint32_t pixel) {
  if (format.bytes_per_pixel == 1) {
    if (pixel >= format.palette.size()) return {0, 0, 0, 255};
    const auto& entry = format.palette[pixel];
    return {entry[0], entry[1], entry[2], 255};
  }
  return {channel(pixel, format.masks[0]), channel(pixel, format.masks[1]), channel(pixel, format.masks[2]),
          format.masks[3] != 0 ? channel(pixel, format.masks[3]) : std::uint8_t{255}};
}

// Where a channel of 8 bits lies in a little-endian pixel.
int byte_of(std::uint32_t mask) {
  for (int byte = 0; byte < 4; ++byte)
    if (mask == 0xFFu << (8 * byte)) return byte;
  return -1;
}

// SDL's blend of a source channel over a destination one.
std::uint8_t blended(std::uint8_t source, std::uint8_t destination, std::uint8_t alpha) {
  return static_cast<std::uint8_t>((source - destination) * alpha / 255 + destination);
}

}  // namespace

std::optional<LoadedPicture> read_png_picture(const char* path, std::string& error) {
  std::FILE* opened = std::fopen(path, "rb");
  if (opened == nullptr) {
    error = std::string("Couldn't open ") + path;
    return std::nullopt;
  }
  PngFile file(opened);
  png_byte signature[SIGNATURE_BYTES];
  if (std::fread(signature, 1, SIGNATURE_BYTES, opened) != SIGNATURE_BYTES ||
      png_sig_cmp(signature, 0, SIGNATURE_BYTES) != 0) {
    error = "Unsupported image format: the browser reads PNG pictures only";
    return std::nullopt;
  }
  auto errors = std::make_unique<PngErrors>();
  auto picture = std::make_unique<LoadedPicture>();
  if (!file.open(*errors)) {
    error = "Couldn't allocate memory for PNG file";
    return std::nullopt;
  }
  if (!read_png(file, *errors, *picture)) {
    error = "Error reading the PNG file: " + errors->message;
    return std::nullopt;
  }
  return std::move(*picture);
}

void blit_area(const PixelRows& source, PixelArea from, const PixelRows& destination) {
  const int left = std::max(from.x, 0), top = std::max(from.y, 0);
  const int right = std::min({from.x + from.width, source.width, from.x + destination.width});
  const int bottom = std::min({from.y + from.height, source.height, from.y + destination.height});
  const PixelFormat& to = *destination.format;
  const int red = byte_of(to.masks[0]), green = byte_of(to.masks[1]), blue = byte_of(to.masks[2]);
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) {
      const std::uint32_t pixel = pixel_at(source, x, y);
      if (source.format->keyed && pixel == source.format->key) continue;
      Colour colour = colour_of(*source.format, pixel);
      std::uint8_t* at = destination.data + static_cast<std::ptrdiff_t>(y - from.y) * destination.pitch +
                         (x - from.x) * to.bytes_per_pixel;
      if (source.format->alpha_blended) {
        colour.red = blended(colour.red, at[red], colour.alpha);
        colour.green = blended(colour.green, at[green], colour.alpha);
        colour.blue = blended(colour.blue, at[blue], colour.alpha);
      }
      at[red] = colour.red;
      at[green] = colour.green;
      at[blue] = colour.blue;
    }
}

std::vector<std::uint8_t> upload_layout(const PixelRows& source) {
  const int pitch = padded_to_4(source.width * 3);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(pitch) * source.height, 0);
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x) {
      const Colour colour = colour_of(*source.format, pixel_at(source, x, y));
      std::uint8_t* at = &bytes[static_cast<std::size_t>(y) * pitch + x * 3];
      at[0] = colour.blue;
      at[1] = colour.green;
      at[2] = colour.red;
    }
  return bytes;
}

}  // namespace grains
