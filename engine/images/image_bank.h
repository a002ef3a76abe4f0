// The engine's store of named pictures: up to 400 SDL surfaces, each with
// the GL texture uploaded from it. The texture of slot i is texture name i.
// The catalogue file's grammar is read by CATALOGUE_READER (catalogue_reader.h).
//
// Warning: slots are GL texture names taken without glGenTextures; register every picture before building fonts.
#pragma once

#include <GL/gl.h>
#include <SDL.h>

namespace grains {
struct CATALOGUE_RECORD;
}

class IMAGE_BANK {
 public:
  static constexpr int CAPACITY = 400;
  static constexpr int NAME_SIZE = 80;  // 79 characters and the NUL

  SDL_Surface* surfaces[CAPACITY];
  int widths[CAPACITY];
  int heights[CAPACITY];
  char image_names[CAPACITY][NAME_SIZE];  // empty: the slot is free
  int image_count;                        // slots 0 to image_count - 1 are live

  IMAGE_BANK();

  // Registers every picture of the catalogue file at path. Ends the process
  // with status -1 when the file cannot be opened ("Impossible d'ouvrir
  // [path]") or a "SIMPLEPART" picture cannot be loaded ("Erreur au de
  // chargement simplepart [path]", after 1.5 s). A record that cannot be
  // registered for want of room or for a bad name or layout is skipped with
  // a one-line message.
  void load_catalogue(const char* path);

  // The slot registered under name (exact, case-sensitive), or -1.
  int find(const char* name) const;
  // The surface registered under name, or null.
  SDL_Surface* surface(const char* name) const;

  // Loads the picture at path under name. Returns image_count when name is
  // registered already (nothing is loaded), 0 when the bank refuses the name
  // (with a message on standard output) or the file does not load (said once
  // a path on standard error, with SDL_image's reason), else the new
  // image_count.
  int load_image(const char* path, const char* name);
  // The same for a surface the caller has: 0 for a null surface or a refused
  // name. The bank takes the surface over only when it registers it.
  int add_surface(SDL_Surface* surface, const char* name);
  // Puts the surface into the next slot and uploads its texture. The caller
  // has checked that the name is free and that the bank has room for it.
  // A texture name a font holds (fonts built before this picture) is
  // overwritten, which is said once on standard error.
  void add_image(const char* name, SDL_Surface* surface, int width, int height);
  // Uploads surface into texture name slot: one level when both sides are
  // 64, 128 or 256 and force_mipmaps is 0, else a mipmap chain. 24-bit
  // surfaces go as they lie, read as blue, green, red (a red-first one shows
  // red and blue exchanged); other depths are converted to that order first.
  void upload_texture(SDL_Surface* surface, int slot, GLint min_filter, GLint mag_filter, int force_mipmaps);

 private:
  // Why name cannot get a slot (too long, or the bank is full), or null.
  const char* refusal(const char* name) const;
  // The same as a yes or no, printing the reason on a refusal.
  bool refuses(const char* name) const;
  // Loads path under name, which the bank takes; false when the file does not load.
  bool load_file(const char* path, const char* name);
  void load_single_picture(const grains::CATALOGUE_RECORD& record);
  void load_sheet(const grains::CATALOGUE_RECORD& record);
  void cut_sheet(SDL_Surface* sheet, const grains::CATALOGUE_RECORD& record);
};

// The one bank, created by start_video; null before (call nothing on it then).
extern IMAGE_BANK* image_bank;
