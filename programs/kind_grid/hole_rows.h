// The flow search's holes: the empty cells of the rows below the scanned
// row. Rows are scanned bottom-up and a scan of row y writes only rows y
// and y + 1, so while row y is scanned:
// - row y + 1 only fills up, as grains fall or slide into it: it is kept as
//   one bit per cell, and filled() clears a grain's bit;
// - rows y + 2 to y + 4 no longer change. With WEIGHTED (grains_c, whose
//   blocked grains search all four rows and count a hole m columns away in
//   the row j rows below as m * j away), each gets a table of every
//   column's nearest hole on either side, and from the three tables every
//   column's distances there are worked out for the whole scanned row at
//   once, so that a grain's search there is a look-up per side and depth.
// A row is read from the grid, and its table made, the first time a search
// needs them in a scan.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

// LAST is the highest simulated column and row.
template <typename Grid, int LAST, bool WEIGHTED>
class HoleRows {
 public:
  static constexpr int NOT_FOUND = -1;
  // Columns 0 to LAST - 1 are searched, in rows 1 to 4 below the scanned
  // row, for grains in columns 0 to LAST.
  static constexpr int COLUMNS = LAST;
  static constexpr int DEPTHS = 4;
  // Rows 0 to LAST are scanned, so rows down to LAST + DEPTHS are searched.
  static constexpr int ROWS = LAST + 1 + DEPTHS;

  explicit HoleRows(const Grid& grid) : grid_(grid) {}

  // The nearest holes on either side of a column in the row below.
  struct Holes {
    int right;
    int left;
  };

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
    last_below_ = NO_SEARCH;
  }
  // Makes the deeper rows ready too: a search that ends at the first row,
  // as most do where few grains are blocked, never needs them.
  void look_deeper() {
    if (ready_for_ == deep_ready_for_) return;
    for (int row = ready_for_ + 2; row <= ready_for_ + DEPTHS; ++row) {
      if (stage_[row] == Stage::unread) read_bits(row);
      if constexpr (WEIGHTED)
        if (stage_[row] != Stage::settled) {
          make_nearest(bits_[row], nearest_[row]);
          stage_[row] = Stage::settled;
        }
    }
    if constexpr (WEIGHTED) make_deep_distances();
    deep_ready_for_ = ready_for_;
  }
  // A grain moved into (x, row).
  void filled(int x, int row) {
    last_below_ = NO_SEARCH;
    if (stage_[row] != Stage::bits || x >= COLUMNS) return;
    Bits& bits = bits_[row];
    std::uint64_t& word = bits.words[x >> 6];
    word &= ~(std::uint64_t{1} << (x & 63));
    if (word == 0) bits.nonzero &= ~(1u << (x >> 6));
  }
  // first_empty_right(x, 1) and first_empty_left(x, 1). Blocked grains
  // often come side by side: when the last search was right of x, with no
  // hole from x up to it and no grain moved into the row since, its holes
  // are x's too.
  [[gnu::always_inline]] Holes holes_below(int x) {
    const Search& last = last_below_;
    if (x >= 1 && x < last.x && last.holes.left < x) return last.holes;
    last_below_ = {x, {first_empty_right(x, 1), first_empty_left(x, 1)}};
    return last_below_.holes;
  }
  // The nearest empty cell from column x rightwards, up to 319, in the row
  // depth rows below the ready one. Inlined, as are the others: a call
  // costs as much as the search itself.
  [[gnu::always_inline]] int first_empty_right(int x, int depth) const;
  // The nearest empty cell left of column x, down to 1 (column 0 is never a
  // hole on the left), in the row depth rows below the ready one.
  [[gnu::always_inline]] int first_empty_left(int x, int depth) const;

  // With WEIGHTED, after look_deeper(): the distance from column x to the
  // nearest hole on its right (left) in the deepest of rows 2 to depth
  // below the ready one that has such a hole, weighted by that row's depth;
  // NOT_FOUND when none of them has one.
  int deep_right(int x, int depth) const { return deep_.right[depth - 2][x]; }
  int deep_left(int x, int depth) const { return deep_.left[depth - 2][x]; }

 private:
  static constexpr int WORDS = COLUMNS / 64;
  // Columns 0 to LAST, rounded up to whole vectors of 16-bit lanes so that
  // the row-wide loops need no remainder.
  static constexpr int LANES = 8;
  static constexpr int PADDED = (LAST + 1 + LANES - 1) / LANES * LANES;
  static_assert(COLUMNS % 64 == 0, "the searched columns fill whole 64-bit words");
  static_assert(WORDS <= 32, "Bits::nonzero holds a bit for every word");
  static_assert(ROWS <= Grid::SIDE, "the rows searched below the last scanned row lie in the grid");
  static_assert(COLUMNS * DEPTHS <= INT16_MAX, "weighted distances fit the tables' 16-bit lanes");
  enum class Stage : std::uint8_t { unread, bits, settled };
  // A bit for each empty cell, and a bit for each word that has one, so
  // that a search skips full words at once.
  struct Bits {
    std::uint64_t words[WORDS];
    unsigned nonzero;
  };
  // right[x]: the first hole in [x, 319]; left[x]: the last one in
  // [1, x - 1]; for x from 0 to 320, NOT_FOUND past it.
  struct Nearest {
    std::int16_t right[PADDED];
    std::int16_t left[PADDED];
  };
  struct Search {
    int x;
    Holes holes;
  };
  static constexpr Search NO_SEARCH = {-1, {NOT_FOUND, NOT_FOUND}};
  // deep_right() and deep_left() of every column, by depth from 2.
  struct DeepDistances {
    std::int16_t right[DEPTHS - 1][PADDED];
    std::int16_t left[DEPTHS - 1][PADDED];
  };

  void read_bits(int row);
  static void make_nearest(const Bits& bits, Nearest& nearest);
  void make_deep_distances();
  // distances[x]: SIGN * (holes[x] - x) * depth where holes[x] is a hole,
  // else above[x].
  template <int SIGN>
  static void weigh(const std::int16_t* holes, const std::int16_t* above, std::int16_t* distances, int depth);

  const Grid& grid_;
  std::array<Stage, ROWS> stage_{};
  std::array<Bits, ROWS> bits_{};
  std::array<Nearest, WEIGHTED ? ROWS : 0> nearest_{};
  DeepDistances deep_{};
  int ready_for_ = -1;
  int deep_ready_for_ = -1;
  Search last_below_ = NO_SEARCH;
};

template <typename Grid, int LAST, bool WEIGHTED>
void HoleRows<Grid, LAST, WEIGHTED>::read_bits(int row) {
  Bits& bits = bits_[row];
  bits.nonzero = 0;
  for (int w = 0; w < WORDS; ++w) {
    // From the word's last cell down, each shifting the ones before it up.
    std::uint64_t word = 0;
#pragma GCC unroll 8
    for (int b = 63; b >= 0; --b) word = word << 1 | std::uint64_t{grid_.cells[w * 64 + b][row].kind == 0};
    bits.words[w] = word;
    if (word != 0) bits.nonzero |= 1u << w;
  }
  stage_[row] = Stage::bits;
}

// Walks the holes left to right: each one is the right-hand answer from just
// past the one before it up to itself, and the left-hand answer from just
// past itself up to the next one.
template <typename Grid, int LAST, bool WEIGHTED>
void HoleRows<Grid, LAST, WEIGHTED>::make_nearest(const Bits& bits, Nearest& nearest) {
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
  std::fill(nearest.right + right_from, nearest.right + PADDED, NOT_FOUND);
  std::fill(nearest.left + left_from, nearest.left + COLUMNS + 1, last_hole);
  std::fill(nearest.left + COLUMNS + 1, nearest.left + PADDED, NOT_FOUND);
}

// Row by row from depth 2, each column's distance where the row has a hole,
// else the one from the row above.
template <typename Grid, int LAST, bool WEIGHTED>
void HoleRows<Grid, LAST, WEIGHTED>::make_deep_distances() {
  static constexpr auto NONE = [] {
    std::array<std::int16_t, PADDED> none{};
    for (std::int16_t& distance : none) distance = NOT_FOUND;
    return none;
  }();
  for (int depth = 2; depth <= DEPTHS; ++depth) {
    const Nearest& nearest = nearest_[ready_for_ + depth];
    const bool top = depth == 2;
    weigh<+1>(nearest.right, top ? NONE.data() : deep_.right[depth - 3], deep_.right[depth - 2], depth);
    weigh<-1>(nearest.left, top ? NONE.data() : deep_.left[depth - 3], deep_.left[depth - 2], depth);
  }
}

// A plain loop over whole rows of 16-bit lanes, on arrays that do not
// overlap, with every load made: the compiler does eight columns at a time.
template <typename Grid, int LAST, bool WEIGHTED>
template <int SIGN>
void HoleRows<Grid, LAST, WEIGHTED>::weigh(const std::int16_t* __restrict holes, const std::int16_t* __restrict above,
                                           std::int16_t* __restrict distances, int depth) {
  static constexpr auto COLUMN = [] {
    std::array<std::int16_t, PADDED> column{};
    for (int x = 0; x < PADDED; ++x) column[x] = static_cast<std::int16_t>(x);
    return column;
  }();
  const auto weight = static_cast<std::int16_t>(SIGN * depth);
  for (int x = 0; x < PADDED; ++x) {
    const std::int16_t hole = holes[x];
    const auto found = static_cast<std::int16_t>((hole - COLUMN[x]) * weight);
    const std::int16_t kept = above[x];
    distances[x] = hole != NOT_FOUND ? found : kept;
  }
}

template <typename Grid, int LAST, bool WEIGHTED>
inline int HoleRows<Grid, LAST, WEIGHTED>::first_empty_right(int x, int depth) const {
  if (x >= COLUMNS) return NOT_FOUND;
  const Bits& bits = bits_[ready_for_ + depth];
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

template <typename Grid, int LAST, bool WEIGHTED>
inline int HoleRows<Grid, LAST, WEIGHTED>::first_empty_left(int x, int depth) const {
  const int last = std::min(x - 1, COLUMNS - 1);
  if (last < 1) return NOT_FOUND;
  const Bits& bits = bits_[ready_for_ + depth];
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
