// The image catalogue's reader on any bytes.
#include "fuzz_input.h"
#include "images/catalogue_reader.h"

#include <cstring>

using grains::CATALOGUE_READER;
using grains::CATALOGUE_RECORD;
using grains::CATALOGUE_TOKEN_SIZE;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = open_bytes(data, size);
  if (file == nullptr) return 0;
  CATALOGUE_READER reader(file);
  CATALOGUE_RECORD record;
  while (reader.next(record)) {
    require(std::strlen(record.name) < CATALOGUE_TOKEN_SIZE && std::strlen(record.path) < CATALOGUE_TOKEN_SIZE);
    require(record.path[0] != '#');
  }
  std::fclose(file);
  return 0;
}
