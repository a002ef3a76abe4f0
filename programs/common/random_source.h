// The programs' random numbers: the linear congruential generator behind an
// unseeded rand() of the platform the programs were first written for, so
// that every run and every platform sees the same sequence.
#pragma once

#include <array>
#include <cstdint>

class RandomSource {
 public:
  static constexpr int MAX = 0x7FFF;

  // Seed 1 is the unseeded start; other seeds act as srand(seed).
  explicit RandomSource(std::uint32_t seed = 1) : state_(seed) {}

  // Next value, 0 to 32767.
  int next() {
    state_ = state_ * MULTIPLIER + INCREMENT;
    return value_of(state_);
  }
  // The next two values, as two calls of next() give them. The state moves
  // on by both steps at once, so that the second value need not wait for
  // the first.
  struct Pair {
    int first;
    int second;
  };
  Pair next_two() {
    const std::uint32_t first = state_ * MULTIPLIER + INCREMENT;
    state_ = state_ * (MULTIPLIER * MULTIPLIER) + (INCREMENT * MULTIPLIER + INCREMENT);
    return {value_of(first), value_of(state_)};
  }
  // Remainder of one fresh draw, as rand() % n.
  int below(int n) { return next() % n; }

 private:
  static constexpr std::uint32_t MULTIPLIER = 214013u;
  static constexpr std::uint32_t INCREMENT = 2531011u;
  static int value_of(std::uint32_t state) { return static_cast<int>((state >> 16) & 0x7FFF); }

  std::uint32_t state_;
};

// value % divisor == 1 for a draw (0 to 32767) and a divisor from 1 to 10,
// by one multiplication instead of a division, which costs several times
// as much: the low 32 bits of value * ceil(2^32 / divisor) are the fraction
// of value / divisor, in 32 fixed-point bits, plus under value (< 2^15), so
// the remainder is 1 exactly when they lie in [m, 2m). For divisor 1, m
// wraps to 0 and the range is empty.
inline bool draw_remainder_is_one(int value, int divisor) {
  static constexpr auto CEIL_RECIPROCALS = [] {
    std::array<std::uint32_t, 11> reciprocals{};
    for (std::uint64_t d = 1; d <= 10; ++d)
      reciprocals[d] = static_cast<std::uint32_t>(((std::uint64_t{1} << 32) + d - 1) / d);
    return reciprocals;
  }();
  const std::uint32_t m = CEIL_RECIPROCALS[divisor];
  return static_cast<std::uint32_t>(value) * m - m < m;
}
