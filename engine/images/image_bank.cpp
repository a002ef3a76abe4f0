#include "images/image_bank.h"

#include <cstdio>
#include <cstdlib>

IMAGE_BANK* image_bank = nullptr;

// Only the catalogue's presence is checked so far; its records are not read.
void IMAGE_BANK::load_catalogue(const char* path) {
  std::FILE* file = std::fopen(path, "rt");
  if (file == nullptr) {
    std::printf("Impossible d'ouvrir [%s]\n", path);
    std::exit(-1);
  }
  std::fclose(file);
}
