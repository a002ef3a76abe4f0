// The engine's store of named pictures.
#pragma once

class IMAGE_BANK {
 public:
  // Reads the catalogue file at path. An unreadable catalogue prints
  // "Impossible d'ouvrir [path]" and ends the process with status -1.
  void load_catalogue(const char* path);
};

// The one bank, created by start_video; null before.
extern IMAGE_BANK* image_bank;
