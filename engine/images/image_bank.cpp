#include "images/image_bank.h"

#include "images/bank_platform.h"
#include "images/catalogue_reader.h"
#include "images/texture_names.h"
#include "video/usage_warnings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using grains::CATALOGUE_READER;
using grains::CATALOGUE_RECORD;
using grains::CATALOGUE_TOKEN_SIZE;
using grains::copy_sheet_area;
using grains::load_picture;
using grains::new_sheet_cell;
using grains::picture_load_error;
using grains::put_surface_pixels;
using grains::SHEET_LAYOUT;
using grains::texture_name_holder;
using grains::warn_once;

IMAGE_BANK* image_bank = nullptr;

namespace {

// SDL rectangles hold coordinates up to this, which bounds the cells'
// positions and heights; SDL 1.2 makes no surface wider than
// WIDEST_SDL_SURFACE.
constexpr long long LARGEST_SDL_COORDINATE = 32767;
constexpr int WIDEST_SDL_SURFACE = 16383;

long long column_step(const SHEET_LAYOUT& layout) { return static_cast<long long>(layout.cell_width) + layout.gap_x; }
long long row_step(const SHEET_LAYOUT& layout) { return static_cast<long long>(layout.cell_height) + layout.gap_y; }

// How far from 0 the last of count cells, step apart, starts.
long long last_cell_reach(int count, long long step) { return std::llabs((count - 1LL) * step); }

// Why a sheet of at least one row and column cannot be cut with layout, or
// null when it can: every cell must be a surface SDL makes, at a position an
// SDL rectangle holds. Cells may be larger than the picture or lie outside
// it: they get what they cover of it, black elsewhere.
const char* sheet_fault(const SHEET_LAYOUT& layout) {
  if (layout.cell_width < 1 || layout.cell_width > WIDEST_SDL_SURFACE || layout.cell_height < 1 ||
      layout.cell_height > LARGEST_SDL_COORDINATE)
    return "its cells are not 1 to 16383 pixels wide and 1 to 32767 high";
  if (last_cell_reach(layout.columns, column_step(layout)) > LARGEST_SDL_COORDINATE ||
      last_cell_reach(layout.rows, row_step(layout)) > LARGEST_SDL_COORDINATE)
    return "its cells lie more than 32767 pixels from its corner";
  return nullptr;
}

// A new cell_width x cell_height surface, bytes red, green, blue, holding
// the part of sheet at (x, y); what lies outside the sheet stays black.
SDL_Surface* cut_cell(SDL_Surface* sheet, long long x, long long y, const SHEET_LAYOUT& layout) {
  const Uint16 width = layout.cell_width, height = layout.cell_height;
  SDL_Surface* cell = new_sheet_cell(width, height);
  if (cell == nullptr) return nullptr;
  if (x < sheet->w && y < sheet->h && x + width > 0 && y + height > 0)
    copy_sheet_area(sheet, {static_cast<Sint16>(x), static_cast<Sint16>(y), width, height}, cell);
  return cell;
}

bool is_single_level_side(int side) { return side == 64 || side == 128 || side == 256; }

void skip_record(const CATALOGUE_RECORD& record, const char* fault) {
  std::printf("Catalogue record [%s] skipped: %s\n", record.name, fault);
}

// A texture name that a font asked GL for may be a slot the bank had not
// filled yet: a picture registered after the font overwrites its glyph.
void say_if_font_overwritten(int slot, const char* name) {
  const std::string holder = texture_name_holder(static_cast<unsigned int>(slot));
  if (holder.empty()) return;
  warn_once("picture over a font", std::string("picture [") + name + "] overwrote texture " + std::to_string(slot) +
                                       " of " + holder + ": register every picture before building fonts");
}

}  // namespace

IMAGE_BANK::IMAGE_BANK() : surfaces(), widths(), heights(), image_names(), image_count(0) {}

int IMAGE_BANK::find(const char* name) const {
  for (int slot = 0; slot < image_count; ++slot)
    if (image_names[slot][0] == name[0] && std::strcmp(image_names[slot], name) == 0) return slot;
  return -1;
}

SDL_Surface* IMAGE_BANK::surface(const char* name) const {
  const int slot = find(name);
  return slot < 0 ? nullptr : surfaces[slot];
}

const char* IMAGE_BANK::refusal(const char* name) const {
  if (std::strlen(name) >= NAME_SIZE) return "its name is longer than 79 characters";
  if (image_count >= CAPACITY) return "the image bank is full (400 images)";
  return nullptr;
}

bool IMAGE_BANK::refuses(const char* name) const {
  const char* reason = refusal(name);
  if (reason != nullptr) std::printf("Image [%s] not registered: %s\n", name, reason);
  return reason != nullptr;
}

int IMAGE_BANK::load_image(const char* path, const char* name) {
  if (find(name) >= 0) return image_count;
  if (refuses(name)) return 0;
  if (load_file(path, name)) return image_count;
  warn_once(std::string("load_image ") + path,
            std::string("load_image could not load [") + path + "] as [" + name + "]: " + picture_load_error());
  return 0;
}

bool IMAGE_BANK::load_file(const char* path, const char* name) {
  SDL_Surface* loaded = load_picture(path);
  if (loaded == nullptr) return false;
  add_image(name, loaded, loaded->w, loaded->h);
  return true;
}

int IMAGE_BANK::add_surface(SDL_Surface* surface, const char* name) {
  if (find(name) >= 0) return image_count;
  if (surface == nullptr || refuses(name)) return 0;
  add_image(name, surface, surface->w, surface->h);
  return image_count;
}

void IMAGE_BANK::add_image(const char* name, SDL_Surface* surface, int width, int height) {
  const int slot = image_count;
  surfaces[slot] = surface;
  widths[slot] = width;
  heights[slot] = height;
  std::snprintf(image_names[slot], NAME_SIZE, "%s", name);
  image_count = slot + 1;
  upload_texture(surface, slot, GL_LINEAR, GL_LINEAR, 0);
  say_if_font_overwritten(slot, name);
}

void IMAGE_BANK::upload_texture(SDL_Surface* surface, int slot, GLint min_filter, GLint mag_filter, int force_mipmaps) {
  glBindTexture(GL_TEXTURE_2D, slot);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag_filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min_filter);
  const bool single_level = !force_mipmaps && is_single_level_side(surface->w) && is_single_level_side(surface->h);
  if (!put_surface_pixels(surface, single_level))
    std::printf("Texture [%d] left empty: its picture could not be converted for upload\n", slot);
}

void IMAGE_BANK::load_catalogue(const char* path) {
  std::FILE* file = std::fopen(path, "rt");
  if (file == nullptr) {
    std::printf("Impossible d'ouvrir [%s]\n", path);
    std::exit(-1);
  }
  CATALOGUE_READER reader(file);
  CATALOGUE_RECORD record;
  while (reader.next(record)) {
    if (record.fault != nullptr) skip_record(record, record.fault);
    else if (record.is_sheet) load_sheet(record);
    else load_single_picture(record);
  }
  std::fclose(file);
}

void IMAGE_BANK::load_single_picture(const CATALOGUE_RECORD& record) {
  if (find(record.name) >= 0 || refuses(record.name) || load_file(record.path, record.name)) return;
  std::printf("Erreur au de chargement simplepart [%s]\n", record.path);
  SDL_Delay(1500);
  std::exit(-1);
}

// A sheet picture that does not load registers nothing, without a message;
// nor does a sheet of no rows or no columns, whatever its cells' size.
void IMAGE_BANK::load_sheet(const CATALOGUE_RECORD& record) {
  SDL_Surface* sheet = load_picture(record.path);
  if (sheet == nullptr) return;
  const bool has_cells = record.sheet.rows > 0 && record.sheet.columns > 0;
  if (const char* fault = has_cells ? sheet_fault(record.sheet) : nullptr) skip_record(record, fault);
  else if (has_cells) cut_sheet(sheet, record);
  SDL_FreeSurface(sheet);
}

// Registers the cells row by row as NAME_0, NAME_1, ... A cell whose name
// is taken is dropped. Cutting stops at the first cell the bank cannot take,
// as it cannot take any later one either (their names are no shorter); so
// it visits at most twice the bank's capacity of cells.
void IMAGE_BANK::cut_sheet(SDL_Surface* sheet, const CATALOGUE_RECORD& record) {
  const SHEET_LAYOUT& layout = record.sheet;
  const long long step_x = column_step(layout), step_y = row_step(layout);
  int cell = 0;
  for (int row = 0; row < layout.rows; ++row)
    for (int column = 0; column < layout.columns; ++column, ++cell) {
      char cell_name[CATALOGUE_TOKEN_SIZE + 16];
      std::snprintf(cell_name, sizeof cell_name, "%s_%d", record.name, cell);
      if (find(cell_name) >= 0) continue;
      const char* reason = refusal(cell_name);
      SDL_Surface* cut = reason ? nullptr : cut_cell(sheet, column * step_x, row * step_y, layout);
      if (cut == nullptr) {
        std::printf("Sheet [%s]: cells from [%s] on not registered: %s\n", record.name, cell_name,
                    reason ? reason : "out of memory");
        return;
      }
      add_surface(cut, cell_name);
    }
}
