// The font list's reader on any bytes.
#include "fuzz_input.h"
#include "text/font_table.h"

using grains::FONT_LIST;
using grains::font_list_capacity;
using grains::FONT_LIST_ENTRY;
using grains::font_list_token_length;
using grains::read_font_list;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = open_bytes(data, size);
  if (file == nullptr) return 0;
  const FONT_LIST list = read_font_list(file);
  std::fclose(file);
  require(list.entries.size() <= static_cast<std::size_t>(font_list_capacity));
  for (const FONT_LIST_ENTRY& entry : list.entries) {
    require(entry.name.size() <= font_list_token_length && entry.font_file.size() <= font_list_token_length);
    require(entry.name != "END" && !entry.font_file.empty() && entry.font_file[0] != '#');
  }
  return 0;
}
