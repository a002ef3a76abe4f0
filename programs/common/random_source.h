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

// value % divisor for a draw (0 to 32767) and a divisor from 1 to 10, by a
// multiplication with the divisor's reciprocal instead of a division, which
// costs several times as much. Exact: the reciprocal, rounded up at 32
// fractional bits, is off by less than 2^-32, which adds under 2^-17 to
// value / divisor, whose fraction is at most 9/10.
inline int draw_remainder(int value, int divisor) {
  static constexpr std::uint64_t RECIPROCALS[11] = {
      0,
      (std::uint64_t{1} << 32) / 1 + 1,
      (std::uint64_t{1} << 32) / 2 + 1,
      (std::uint64_t{1} << 32) / 3 + 1,
      (std::uint64_t{1} << 32) / 4 + 1,
      (std::uint64_t{1} << 32) / 5 + 1,
      (std::uint64_t{1} << 32) / 6 + 1,
      (std::uint64_t{1} << 32) / 7 + 1,
      (std::uint64_t{1} << 32) / 8 + 1,
      (std::uint64_t{1} << 32) / 9 + 1,
      (std::uint64_t{1} << 32) / 10 + 1,
  };
  const auto quotient = static_cast<int>((static_cast<std::uint64_t>(value) * RECIPROCALS[divisor]) >> 32);
  return value - quotient * divisor;
}
