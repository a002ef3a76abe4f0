// The directory lister's reading of listing.v on any bytes.
#include "files/file_list.h"
#include "fuzz_input.h"

using grains::read_file_listing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in = bytes_stream(data, size);
  const std::vector<std::string> list = read_file_listing(in);
  std::size_t lines = 0;
  for (std::size_t i = 0; i < size; ++i) lines += data[i] == '\n';
  require(list.size() <= lines / 2 + 1);
  for (const std::string& path : list) {
    const char* part = file_name_part(path.c_str());
    require(part >= path.c_str() && part <= path.c_str() + path.size());
  }
  return 0;
}
