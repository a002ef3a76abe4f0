// The programs' random numbers: the linear congruential generator behind an
// unseeded rand() of the platform the programs were first written for, so
// that every run and every platform sees the same sequence.
#pragma once

#include <cstdint>

class RandomSource {
 public:
  static constexpr int MAX = 0x7FFF;

  // Seed 1 is the unseeded start; other seeds act as srand(seed).
  explicit RandomSource(std::uint32_t seed = 1) : state_(seed) {}

  // Next value, 0 to 32767.
  int next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }
  // Remainder of one fresh draw, as rand() % n.
  int below(int n) { return next() % n; }

 private:
  std::uint32_t state_;
};
