// The fuzzer's bytes as the readers' usual sources.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

// A read-only stream over the bytes; null for an empty input.
inline std::FILE* open_bytes(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return nullptr;
  return fmemopen(const_cast<std::uint8_t*>(data), size, "r");
}

inline std::istringstream bytes_stream(const std::uint8_t* data, std::size_t size) {
  return std::istringstream(std::string(reinterpret_cast<const char*>(data), size));
}

// Stops the run as a finding when a reader breaks its promise.
inline void require(bool holds) {
  if (!holds) std::abort();
}
