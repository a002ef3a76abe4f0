#include "platform/glu_mipmaps.h"

#include <cmath>

namespace grains {

int glu_power_of_two(int side) {
  if (side <= 0) return 1;
  int power = 1;
  for (unsigned int value = static_cast<unsigned int>(side); value != 1; value >>= 1, power *= 2)
    if (value == 3) return power * 4;
  return power;
}

namespace {

// A picture's texels, read with a weight; texels past its right edge
// (which GLU's filter reaches with a weight of 0) count as 0.
class Texels {
 public:
  Texels(const std::uint8_t* texels, int width, int components, int row_bytes)
      : texels_(texels), width_(width), components_(components), row_bytes_(row_bytes) {}

  void add(float* totals, int x, int y, float weight) const {
    for (int k = 0; k < components_; ++k) totals[k] += at(x, y, k) * weight;
  }
  // Two texels of a row at once, summed before they are added, as GLU
  // sums a box's first and last columns.
  void add_pair(float* totals, int x1, float weight1, int x2, float weight2, int y) const {
    for (int k = 0; k < components_; ++k) totals[k] += at(x1, y, k) * weight1 + at(x2, y, k) * weight2;
  }

  int at(int x, int y, int k) const {
    return x < width_ ? texels_[static_cast<std::ptrdiff_t>(y) * row_bytes_ + x * components_ + k] : 0;
  }

 private:
  const std::uint8_t* texels_;
  int width_, components_, row_bytes_;
};

// Where a box of the filter starts or ends along one side: a whole texel
// and a fraction of the next, stepped as GLU steps them, in floats.
struct Edge {
  int whole = 0;
  float part = 0.0f;
  void step(int step_whole, float step_part) {
    whole += step_whole;
    part += step_part;
    if (part > 1.0f) {
      part -= 1.0f;
      ++whole;
    }
  }
};

// Halves each side by averaging 2 x 2 texels, as GLU does when the new
// sides are exactly half.
std::vector<std::uint8_t> halved(const std::uint8_t* data, int width, int height, int components, int row_bytes) {
  const int new_width = width / 2, new_height = height / 2;
  std::vector<std::uint8_t> out(static_cast<std::size_t>(new_width) * new_height * components);
  std::uint8_t* to = out.data();
  for (int y = 0; y < new_height; ++y)
    for (int x = 0; x < new_width; ++x)
      for (int k = 0; k < components; ++k) {
        const std::uint8_t* from = data + static_cast<std::ptrdiff_t>(2 * y) * row_bytes + 2 * x * components + k;
        *to++ = static_cast<std::uint8_t>(
            (from[0] + from[components] + from[row_bytes] + from[row_bytes + components] + 2) / 4);
      }
  return out;
}

}  // namespace

std::vector<std::uint8_t> glu_scaled(const std::uint8_t* data, int width, int height, int components, int row_bytes,
                                     int new_width, int new_height) {
  if (width == 2 * new_width && height == 2 * new_height && width > 1 && height > 1)
    return halved(data, width, height, components, row_bytes);
  const Texels texels(data, width, components, row_bytes);
  std::vector<std::uint8_t> out(static_cast<std::size_t>(new_width) * new_height * components);
  const float step_y = static_cast<float>(height) / new_height, step_x = static_cast<float>(width) / new_width;
  const int whole_y = static_cast<int>(std::floor(step_y)), whole_x = static_cast<int>(std::floor(step_x));
  const float part_y = step_y - whole_y, part_x = step_x - whole_x;
  const float area = step_x * step_y;
  Edge low_y, high_y{whole_y, part_y};
  for (int i = 0; i < new_height; ++i) {
    if (high_y.whole >= height) high_y.whole = height - 1;
    Edge low_x, high_x{whole_x, part_x};
    for (int j = 0; j < new_width; ++j) {
      float totals[4] = {};
      const int lx = low_x.whole, hx = high_x.whole, ly = low_y.whole, hy = high_y.whole;
      if (hy > ly && hx > lx) {
        // The first row, the last row, then the first and last columns.
        float y_part = 1.0f - low_y.part;
        texels.add(totals, lx, ly, y_part * (1.0f - low_x.part));
        for (int x = lx + 1; x < hx; ++x) texels.add(totals, x, ly, y_part);
        texels.add(totals, hx, ly, y_part * high_x.part);
        y_part = high_y.part;
        texels.add(totals, lx, hy, y_part * (1.0f - low_x.part));
        for (int x = lx + 1; x < hx; ++x) texels.add(totals, x, hy, y_part);
        texels.add(totals, hx, hy, y_part * high_x.part);
        for (int y = ly + 1; y < hy; ++y) texels.add_pair(totals, lx, 1.0f - low_x.part, hx, high_x.part, y);
      } else if (hy > ly) {
        const float x_part = high_x.part - low_x.part;
        texels.add(totals, lx, ly, (1.0f - low_y.part) * x_part);
        for (int y = ly + 1; y < hy; ++y) texels.add(totals, lx, y, x_part);
        texels.add(totals, lx, hy, x_part * high_y.part);
      } else if (hx > lx) {
        const float y_part = high_y.part - low_y.part;
        texels.add(totals, lx, ly, (1.0f - low_x.part) * y_part);
        for (int x = lx + 1; x < hx; ++x) texels.add(totals, x, ly, y_part);
        texels.add(totals, hx, ly, y_part * high_x.part);
      } else {
        texels.add(totals, lx, ly, (high_y.part - low_y.part) * (high_x.part - low_x.part));
      }
      // The texels inside the box.
      for (int y = ly + 1; y < hy; ++y)
        for (int x = lx + 1; x < hx; ++x) texels.add(totals, x, y, 1.0f);
      std::uint8_t* to = &out[(static_cast<std::size_t>(i) * new_width + j) * components];
      for (int k = 0; k < components; ++k) to[k] = static_cast<std::uint8_t>(totals[k] / area);
      low_x = high_x;
      high_x.step(whole_x, part_x);
    }
    low_y = high_y;
    high_y.step(whole_y, part_y);
  }
  return out;
}

}  // namespace grains
