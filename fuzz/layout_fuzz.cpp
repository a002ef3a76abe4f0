// The layout reader on any bytes, then the writer on what was read: what the
// writer writes reads back into children that it writes again the same way.
#include "fuzz_input.h"
#include "scene/layout_file.h"
#include "scene/objet.h"

#include <string>

using grains::read_layout;
using grains::write_layout;

namespace {

// The container's layout as the writer writes it.
std::string written(const OBJET& container) {
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  write_layout(out, container);
  std::fclose(out);
  std::string layout(text, size);
  std::free(text);
  return layout;
}

std::string read_and_write(const std::string& layout, int& children) {
  OBJET container(10, 20, "1");
  if (std::FILE* in = open_bytes(reinterpret_cast<const std::uint8_t*>(layout.data()), layout.size())) {
    read_layout(in, container);
    std::fclose(in);
  }
  children = static_cast<int>(container.children->size());
  return written(container);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The reader's messages about bad records are not findings.
  static std::FILE* quiet = std::freopen("/dev/null", "w", stdout);
  (void)quiet;
  int first_children = 0, second_children = 0;
  const std::string first = read_and_write(std::string(reinterpret_cast<const char*>(data), size), first_children);
  const std::string second = read_and_write(first, second_children);
  require(first_children == second_children);
  require(first == second);
  return 0;
}
