#include "images/texture_names.h"

#include <map>

namespace grains {

namespace {

std::map<unsigned int, std::string>& holders() {
  static std::map<unsigned int, std::string> by_name;
  return by_name;
}

}  // namespace

void note_texture_names(const unsigned int* names, int count, const std::string& holder) {
  for (int i = 0; i < count; ++i)
    if (names[i] != 0) holders()[names[i]] = holder;
}

void forget_texture_names(const unsigned int* names, int count) {
  for (int i = 0; i < count; ++i) holders().erase(names[i]);
}

std::string texture_name_holder(unsigned int name) {
  const auto held = holders().find(name);
  return held != holders().end() ? held->second : std::string();
}

}  // namespace grains
