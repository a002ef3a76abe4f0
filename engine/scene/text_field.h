// Fixed-size text fields of scene elements: bounded copies and numbers.
#pragma once

#include <climits>

#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace grains {

// Copies at most N - 1 characters of text (null: none) and a terminator.
template <std::size_t N>
void copy_text(char (&field)[N], const char* text) {
  std::snprintf(field, N, "%s", text != nullptr ? text : "");
}

// The integer at the start of text as atoi reads it (blanks, a sign,
// digits; 0 without digits), saturated to the int range instead of
// overflowing.
inline int text_integer(const char* text) {
  const long value = std::strtol(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace grains
