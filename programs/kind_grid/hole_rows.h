// The flow search's holes: the empty cells of the rows below the scanned
// row. Rows are scanned bottom-up and a scan of row y writes only rows y
// and y + 1, so while row y is scanned:
// - row y + 1 only fills up, as grains fall or slide into it: it is kept as
//   one bit per cell, and filled() clears a grain's bit;
// - rows y + 2 to y + 4 no longer change. With TABLES, each gets a table of
//   every column's nearest hole on either side, so that a search there is
//   one look-up; a table costs about as much as a hundred searches of the
//   bits, so it pays only where most grains search deep.
// A row is read from the grid, and its table made, the first time a search
// needs them in a scan.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

template <typename Grid, bool TABLES>
class HoleRows {
 public:
  static constexpr int NOT_FOUND = -1;
  // Columns 0 to 319 are searched, in rows 1 to 4 below the scanned row,
  // for grains in columns 0 to 320.
  static constexpr int COLUMNS = 320;
  static constexpr int DEPTHS = 4;
  static constexpr int ROWS = 321 + DEPTHS;

  explicit HoleRows(const Grid& grid) : grid_(grid) {}

  // Forgets every row: the grid may have changed since the last scan.
  void start_scan() {
    stage_.fill(Stage::unread);
    ready_for_ = deep_ready_for_ = -1;
  }
  // Makes the row below row y ready for the searches of its grains.
  void look_below(int y) {
    if (y == ready_for_) return;
    if (stage_[y + 1] == Stage::unread) read_bits(y + 1);
    ready_for_ = y;
  }
  // Makes the deeper rows ready too: a search that ends at the first row,
  // as most do where few grains are blocked, never needs them.
  void look_deeper() {
    if (ready_for_ == deep_ready_for_) return;
    for (int row = ready_for_ + 2; row <= ready_for_ + DEPTHS; ++row) {
      if (stage_[row] == Stage::unread) read_bits(row);
      if constexpr (TABLES) {
        if (stage_[row] != Stage::settled) make_table(row);
        deep_[row - ready_for_] = &nearest_[row];
      }
    }
    deep_ready_for_ = ready_for_;
  }
  // A grain moved into (x, row).
  void filled(int x, int row) {
    if (stage_[row] != Stage::bits || x >= COLUMNS) return;
    Bits& bits = bits_[row];
    std::uint64_t& word = bits.words[x >> 6];
    word &= ~(std::uint64_t{1} << (x & 63));
    if (word == 0) bits.nonzero &= ~(1u << (x >> 6));
  }
  // The nearest empty cell from column x rightwards, up to 319, in the row
  // depth rows below the ready one.
  int first_empty_right(int x, int depth) const {
    if constexpr (TABLES)
      if (depth > 1) return deep_[depth]->right[x];
    return bits_right(x, ready_for_ + depth);
  }
  // The nearest empty cell left of column x, down to 1 (column 0 is never a
  // hole on the left), in the row depth rows below the ready one.
  int first_empty_left(int x, int depth) const {
    if constexpr (TABLES)
      if (depth > 1) return deep_[depth]->left[x];
    return bits_left(x, ready_for_ + depth);
  }

 private:
  static constexpr int WORDS = COLUMNS / 64;
  enum class Stage : std::uint8_t { unread, bits, settled };
  // A bit for each empty cell, and a bit for each word that has one, so
  // that a search skips full words at once.
  struct Bits {
    std::uint64_t words[WORDS];
    unsigned nonzero;
  };
  // right[x]: the first hole in [x, 319]; left[x]: the last one in
  // [1, x - 1]; for x from 0 to 320.
  struct Nearest {
    std::int16_t right[COLUMNS + 1];
    std::int16_t left[COLUMNS + 1];
  };

  void read_bits(int row);
  void make_table(int row);
  // Inlined: a call costs as much as the search itself.
  [[gnu::always_inline]] int bits_right(int x, int row) const;
  [[gnu::always_inline]] int bits_left(int x, int row) const;

  const Grid& grid_;
  std::array<Stage, ROWS> stage_{};
  std::array<Bits, ROWS> bits_{};
  std::array<Nearest, TABLES ? ROWS : 0> nearest_{};
  int ready_for_ = -1;
  int deep_ready_for_ = -1;
  // The tables of the rows below the ready one, by depth.
  const Nearest* deep_[DEPTHS + 1] = {};
};

template <typename Grid, bool TABLES>
void HoleRows<Grid, TABLES>::read_bits(int row) {
  Bits& bits = bits_[row];
  bits.nonzero = 0;
  for (int w = 0; w < WORDS; ++w) {
    std::uint64_t word = 0;
    for (int b = 0; b < 64; ++b)
      word |= std::uint64_t{grid_.cells[w * 64 + b][row].kind == 0} << b;
    bits.words[w] = word;
    if (word != 0) bits.nonzero |= 1u << w;
  }
  stage_[row] = Stage::bits;
}

// Walks the holes left to right: each one is the right-hand answer from just
// past the one before it up to itself, and the left-hand answer from just
// past itself up to the next one.
template <typename Grid, bool TABLES>
void HoleRows<Grid, TABLES>::make_table(int row) {
  const Bits& bits = bits_[row];
  Nearest& nearest = nearest_[row];
  int right_from = 0;
  int left_from = 0;
  int last_hole = NOT_FOUND;
  for (int w = 0; w < WORDS; ++w) {
    for (std::uint64_t word = bits.words[w]; word != 0; word &= word - 1) {
      const int hole = (w << 6) + __builtin_ctzll(word);
      std::fill(nearest.right + right_from, nearest.right + hole + 1, hole);
      right_from = hole + 1;
      if (hole == 0) continue;  // never a hole on the left
      std::fill(nearest.left + left_from, nearest.left + hole + 1, last_hole);
      left_from = hole + 1;
      last_hole = hole;
    }
  }
  std::fill(nearest.right + right_from, nearest.right + COLUMNS + 1, NOT_FOUND);
  std::fill(nearest.left + left_from, nearest.left + COLUMNS + 1, last_hole);
  stage_[row] = Stage::settled;
}

template <typename Grid, bool TABLES>
inline int HoleRows<Grid, TABLES>::bits_right(int x, int row) const {
  if (x >= COLUMNS) return NOT_FOUND;
  const Bits& bits = bits_[row];
  int w = x >> 6;
  std::uint64_t word = bits.words[w] & (~std::uint64_t{0} << (x & 63));
  if (word == 0) {
    const unsigned later = bits.nonzero & (~1u << w);
    if (later == 0) return NOT_FOUND;
    w = __builtin_ctz(later);
    word = bits.words[w];
  }
  return (w << 6) + __builtin_ctzll(word);
}

template <typename Grid, bool TABLES>
inline int HoleRows<Grid, TABLES>::bits_left(int x, int row) const {
  const int last = std::min(x - 1, COLUMNS - 1);
  if (last < 1) return NOT_FOUND;
  const Bits& bits = bits_[row];
  int w = last >> 6;
  std::uint64_t word = bits.words[w] & (~std::uint64_t{0} >> (63 - (last & 63)));
  if (word == 0) {
    const unsigned earlier = bits.nonzero & ((1u << w) - 1);
    if (earlier == 0) return NOT_FOUND;
    w = 31 - __builtin_clz(earlier);
    word = bits.words[w];
  }
  const int hole = (w << 6) + 63 - __builtin_clzll(word);
  return hole >= 1 ? hole : NOT_FOUND;
}
