#include "video/usage_warnings.h"

#include <cstdio>
#include <set>

namespace grains {

void warn_once(const std::string& topic, const std::string& text) {
  static std::set<std::string> said;
  if (!said.insert(topic).second) return;
  std::fflush(stdout);
  std::fprintf(stderr, "grains engine: %s\n", text.c_str());
}

}  // namespace grains
