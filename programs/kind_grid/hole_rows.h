// The flow search's holes: the empty cells of the rows below the scanned
// row, one bit per column, so that the nearest hole on either side of a
// grain is a mask and a bit scan.
//
// A row is read from the grid the first time a search looks at it during a
// scan, and the scan keeps it true from then on: rows are scanned bottom-up
// and a scan of row y writes only rows y and y + 1, so row r is first looked
// at while row r - 1 is scanned, and after that only grains falling or
// sliding into it change it. The scan reports those through filled().
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

template <typename Grid>
class HoleRows {
 public:
  static constexpr int NOT_FOUND = -1;
  // Columns 0 to 319 are searched, in rows 1 to 4 below the scanned row.
  static constexpr int COLUMNS = 320;
  static constexpr int DEPTHS = 4;
  static constexpr int ROWS = 321 + DEPTHS;

  explicit HoleRows(const Grid& grid) : grid_(grid) {}

  // Forgets every row: the grid may have changed since the last scan.
  void start_scan() {
    known_.fill(false);
    ready_for_ = -1;
  }
  // Makes the rows below row y ready for the searches of its grains.
  void look_below(int y) {
    if (y == ready_for_) return;
    for (int row = y + 1; row <= y + DEPTHS; ++row)
      if (!known_[row]) read_row(row);
    ready_for_ = y;
  }
  // A grain moved into (x, row).
  void filled(int x, int row) {
    if (!known_[row] || x >= COLUMNS) return;
    Row& bits = rows_[row];
    std::uint64_t& word = bits.words[x >> 6];
    word &= ~(std::uint64_t{1} << (x & 63));
    if (word == 0) bits.nonzero &= ~(1u << (x >> 6));
  }
  // The nearest empty cell of a row below the ready one, from column x
  // rightwards up to 319.
  int first_empty_right(int x, int row) const;
  // The nearest empty cell of a row below the ready one left of column x,
  // down to 1: column 0 is never a hole on the left.
  int first_empty_left(int x, int row) const;

 private:
  static constexpr int WORDS = COLUMNS / 64;
  // A bit for each empty cell, and a bit for each word that has one, so
  // that a search skips full words at once.
  struct Row {
    std::uint64_t words[WORDS];
    unsigned nonzero;
  };

  void read_row(int row);

  const Grid& grid_;
  std::array<Row, ROWS> rows_{};
  std::array<bool, ROWS> known_{};
  int ready_for_ = -1;
};

template <typename Grid>
void HoleRows<Grid>::read_row(int row) {
  Row& bits = rows_[row];
  bits.nonzero = 0;
  for (int w = 0; w < WORDS; ++w) {
    std::uint64_t word = 0;
    for (int b = 0; b < 64; ++b)
      word |= std::uint64_t{grid_.cells[w * 64 + b][row].kind == 0} << b;
    bits.words[w] = word;
    if (word != 0) bits.nonzero |= 1u << w;
  }
  known_[row] = true;
}

template <typename Grid>
int HoleRows<Grid>::first_empty_right(int x, int row) const {
  if (x >= COLUMNS) return NOT_FOUND;
  const Row& bits = rows_[row];
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

template <typename Grid>
int HoleRows<Grid>::first_empty_left(int x, int row) const {
  const int last = std::min(x - 1, COLUMNS - 1);
  if (last < 1) return NOT_FOUND;
  const Row& bits = rows_[row];
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
