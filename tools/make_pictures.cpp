// Draws the programs' picture set and writes it, with the image catalogue
// that names it, into a folder:   make_pictures FOLDER
// The set in grfx/ was made with it; the catalogue's paths start with
// "grfx/" since the programs read it from their working directory.
//
// Pictures drawn over a mask are black outside their shape and their mask
// is black inside it, white outside: the engine multiplies the frame by the
// mask and then adds the picture.
#include "common/png_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using Colour = std::uint32_t;  // 0xRRGGBB
using Shape = std::function<bool(int x, int y)>;
using Paint = std::function<Colour(int x, int y)>;

constexpr Colour BLACK = 0x000000, WHITE = 0xFFFFFF;

struct Picture {
  std::string name;
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;
};

Picture draw(const std::string& name, int width, int height, const Paint& paint) {
  Picture picture{name, width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.pixels.push_back(paint(x, y));
  return picture;
}

Picture draw_in_shape(const std::string& name, int width, int height, const Shape& shape, const Paint& paint) {
  return draw(name, width, height, [&](int x, int y) { return shape(x, y) ? paint(x, y) : BLACK; });
}

Picture draw_mask(const std::string& name, int width, int height, const Shape& shape) {
  return draw(name, width, height, [&](int x, int y) { return shape(x, y) ? BLACK : WHITE; });
}

// Colours between a and b, t from 0 to 1.
Colour mix(Colour a, Colour b, double t) {
  Colour result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double from = (a >> shift) & 0xFF, to = (b >> shift) & 0xFF;
    result |= static_cast<Colour>(from + (to - from) * t + 0.5) << shift;
  }
  return result;
}

Shape box(int left, int top, int right, int bottom) {
  return [=](int x, int y) { return x >= left && x <= right && y >= top && y <= bottom; };
}

Shape disc(double centre_x, double centre_y, double radius) {
  return [=](int x, int y) {
    const double dx = x + 0.5 - centre_x, dy = y + 0.5 - centre_y;
    return dx * dx + dy * dy <= radius * radius;
  };
}

Shape rounded_box(int left, int top, int right, int bottom, int radius) {
  return [=](int x, int y) {
    if (!box(left, top, right, bottom)(x, y)) return false;
    const int cx = x < left + radius ? left + radius : x > right - radius ? right - radius : x;
    const int cy = y < top + radius ? top + radius : y > bottom - radius ? bottom - radius : y;
    return disc(cx + 0.5, cy + 0.5, radius + 0.5)(x, y);
  };
}

Shape either(const Shape& a, const Shape& b) {
  return [=](int x, int y) { return a(x, y) || b(x, y); };
}

Shape ring(double centre_x, double centre_y, double inner, double outer) {
  const Shape hole = disc(centre_x, centre_y, inner), rim = disc(centre_x, centre_y, outer);
  return [=](int x, int y) { return rim(x, y) && !hole(x, y); };
}

// A triangle pointing right, for the play button.
Shape play_arrow(int left, int top, int size) {
  return [=](int x, int y) {
    const int across = x - left, down = y - top;
    return across >= 0 && down >= 0 && down < size && across <= std::min(down, size - 1 - down);
  };
}

// The same triangle pointing left.
Shape back_arrow(int left, int top, int size) {
  const Shape ahead = play_arrow(left, top, size);
  return [=](int x, int y) { return ahead(2 * left + (size - 1) / 2 - x, y); };
}

// A triangle of the given height pointing down (or up) from its base row.
Shape down_arrow(int centre_x, int base, int height, bool up) {
  return [=](int x, int y) {
    const int down = up ? base - y : y - base;
    return down >= 0 && down < height && std::abs(x - centre_x) <= height - 1 - down;
  };
}

// An arrow into a tray (save) or out of it (load).
Shape tray_arrow(bool out_of_tray) {
  const Shape tray = either(box(18, 44, 45, 47), either(box(18, 38, 21, 47), box(42, 38, 45, 47)));
  const Shape shaft = out_of_tray ? box(29, 20, 34, 36) : box(29, 12, 34, 26);
  const Shape head = out_of_tray ? down_arrow(31, 20, 10, true) : down_arrow(31, 27, 10, false);
  return either(tray, either(shaft, head));
}

Picture background_tile() {
  return draw("FOND", 64, 64, [](int x, int y) { return x % 16 == 0 || y % 16 == 0 ? 0x1C2840 : 0x101828; });
}

Picture default_picture() {
  const Shape inner = box(2, 2, 61, 61);
  return draw("IMG_001", 64, 64, [&](int x, int y) { return inner(x, y) ? 0x606060 : 0xA0A0A0; });
}

// A panel's background: lit top and left edges, shaded bottom and right
// ones, and a gradient downwards.
Picture panel_background(const std::string& name, int size) {
  return draw(name, size, size, [size](int x, int y) {
    if (x < 3 || y < 3) return Colour(0x5A6A90);
    if (x > size - 4 || y > size - 4) return Colour(0x0A0C14);
    return mix(0x2A3550, 0x151A28, y / (size - 1.0));
  });
}

// A jack plug standing upright: a metal sleeve, a collar and the cable.
// Plugged in, only the stub of its sleeve shows.
void add_jack(std::vector<Picture>& pictures, const std::string& name, bool plugged, Colour collar) {
  const Shape sleeve = plugged ? box(24, 26, 39, 37) : rounded_box(26, 4, 37, 37, 5);
  const Shape collar_ring = box(18, 36, 45, 45);
  const Shape cable = box(27, 46, 36, 63);
  const Shape jack = either(sleeve, either(collar_ring, cable));
  pictures.push_back(draw_in_shape(name, 64, 64, jack, [&](int x, int y) {
    if (collar_ring(x, y)) return collar;
    if (cable(x, y)) return mix(0x505050, 0x383838, (y - 46) / 17.0);
    return mix(0xE8E8F0, 0x707880, (x - 24) / 15.0);
  }));
  pictures.push_back(draw_mask(name + "_MASK", 64, 64, jack));
}

// One button: its off, over and on pictures share the mask BTN_..._MASK.
void add_button(std::vector<Picture>& pictures, const std::string& stem, const Shape& icon, int width = 128,
                int height = 64) {
  const Shape body = rounded_box(2, 2, width - 3, height - 3, 14);
  const struct {
    const char* state;
    Colour top, bottom, icon;
  } looks[] = {{"OFF", 0x4A505C, 0x2C3038, 0x9098A8},
               {"OVER", 0x5E6A84, 0x3A4254, 0xE8EEF8},
               {"ON", 0x3C8A4C, 0x22502C, 0xA8FFB8}};
  for (const auto& look : looks)
    pictures.push_back(draw_in_shape(stem + "_" + look.state, width, height, body, [&](int x, int y) {
      return icon(x, y) ? look.icon : mix(look.top, look.bottom, y / (height - 1.0));
    }));
  pictures.push_back(draw_mask(stem + "_MASK", width, height, body));
}

void add_knob(std::vector<Picture>& pictures) {
  const Shape knob = disc(16, 16, 14);
  pictures.push_back(draw_in_shape("KNOB", 32, 32, knob, [](int x, int y) {
    const double dx = x - 11.0, dy = y - 11.0;
    return mix(0xF0F0F8, 0x606878, std::min(1.0, (dx * dx + dy * dy) / 400.0));
  }));
  pictures.push_back(draw_mask("KNOB_MASK", 32, 32, knob));
}

// The rail a knob slides along: a dark groove with a tick every eighth.
void add_slider_track(std::vector<Picture>& pictures) {
  const Shape groove = rounded_box(0, 3, 255, 12, 4);
  pictures.push_back(draw_in_shape("SLIDER_TRACK", 256, 16, groove, [](int x, int y) {
    if (x % 32 == 0 && x > 0 && y >= 6 && y <= 9) return Colour(0x5A6A90);
    return mix(0x080A10, 0x303A54, (y - 3) / 9.0);
  }));
  pictures.push_back(draw_mask("SLIDER_TRACK_MASK", 256, 16, groove));
}

// The showcase's own pictures: its panel, small buttons and the rail.
void add_showcase_pictures(std::vector<Picture>& pictures) {
  pictures.push_back(panel_background("SHOWCASE_FOND", 512));
  add_button(pictures, "BTN_PREV", back_arrow(22, 16, 32), 64, 64);
  add_button(pictures, "BTN_NEXT", play_arrow(26, 16, 32), 64, 64);
  add_button(pictures, "BTN_SAVE", tray_arrow(false), 64, 64);
  add_button(pictures, "BTN_LOAD", tray_arrow(true), 64, 64);
  add_button(pictures, "BTN_SOCKET", ring(32, 32, 13, 19), 64, 64);
  add_slider_track(pictures);
}

Colour exchange_red_and_blue(Colour colour) {
  return (colour & 0x00FF00) | (colour >> 16 & 0xFF) | (colour & 0xFF) << 16;
}

// The grain sheet: 2 rows of 4 cells of 32x32 with gaps of 2 pixels
// between columns and 1 between rows, magenta in the gaps.
constexpr int CELL = 32, GAP_X = 2, GAP_Y = 1, ROWS = 2, COLUMNS = 4;

// The engine cuts sheet cells into red-first 24-bit surfaces and hands
// their bytes to GL as blue, green, red, so every cell shows its red and
// blue exchanged. The sheet is stored exchanged so that its cells show the
// colours listed here; written without alpha, it loads as a red-first
// 24-bit surface too, and so shows these colours when drawn whole.
Picture grain_sheet() {
  const Colour grains[ROWS * COLUMNS] = {0xFF80C0, 0xFFFFFF, 0xFF2020, 0xE0C080,
                                         0x4080FF, 0x40D060, 0xFF9020, 0x40E0E0};
  const int width = COLUMNS * (CELL + GAP_X) - GAP_X, height = ROWS * (CELL + GAP_Y) - GAP_Y;
  return draw("GRAINS", width, height, [&](int x, int y) {
    const int column = x / (CELL + GAP_X), row = y / (CELL + GAP_Y);
    const int cx = x % (CELL + GAP_X), cy = y % (CELL + GAP_Y);
    if (cx >= CELL || cy >= CELL) return exchange_red_and_blue(0xFF00FF);
    return exchange_red_and_blue(disc(16, 16, 11)(cx, cy) ? grains[row * COLUMNS + column] : BLACK);
  });
}

std::vector<Picture> single_pictures() {
  std::vector<Picture> pictures{background_tile(), default_picture(), panel_background("PANEL_FOND", 256)};
  add_jack(pictures, "FICHE_PLUG", true, 0xD0A840);
  add_jack(pictures, "FICHE_UNPLUG", false, 0xC04040);
  add_button(pictures, "BTN_PLAY", play_arrow(52, 16, 32));
  add_button(pictures, "BTN_STOP", box(50, 18, 77, 45));
  add_knob(pictures);
  add_showcase_pictures(pictures);
  return pictures;
}

bool write_picture(const std::string& folder, const Picture& picture, bool with_alpha = true) {
  std::vector<std::uint32_t> opaque;
  for (const Colour colour : picture.pixels) opaque.push_back(0xFF000000 | colour);
  const auto write = with_alpha ? write_png : write_png_without_alpha;
  std::string error;
  if (write(folder + "/" + picture.name + ".png", picture.width, picture.height, opaque.data(), error)) return true;
  std::fprintf(stderr, "make_pictures: %s: %s\n", picture.name.c_str(), error.c_str());
  return false;
}

std::string catalogue_text(const std::vector<Picture>& pictures) {
  std::string text = "VYM_CATALOGUE 1\n";
  for (const Picture& picture : pictures) text += picture.name + " grfx/" + picture.name + ".png SIMPLEPART\n";
  text += "GRAIN grfx/GRAINS.png SHEET " + std::to_string(CELL) + " " + std::to_string(CELL) + " " +
          std::to_string(ROWS) + " " + std::to_string(COLUMNS) + " " + std::to_string(GAP_X) + " " +
          std::to_string(GAP_Y) + "\n";
  return text + "END\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_pictures FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::vector<Picture> pictures = single_pictures();
  bool written = write_picture(folder, grain_sheet(), false);
  for (const Picture& picture : pictures) written = write_picture(folder, picture) && written;
  std::ofstream catalogue(folder + "/KPD_Player.vym");
  catalogue << catalogue_text(pictures);
  catalogue.close();
  if (!catalogue) std::fprintf(stderr, "make_pictures: cannot write %s/KPD_Player.vym\n", folder.c_str());
  return written && catalogue ? 0 : 1;
}
