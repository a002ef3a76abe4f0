// The frame upload path and the CPU frame show exactly the pixels of the
// per-point path, frame after frame, for every program, with mouse input on
// every button and with every simulated cell full.
#include "common/cell_drawing.h"
#include "common/frame_painter.h"
#include "common/grain_program.h"
#include "grains_sim/program_registry.h"
#include "support/gl_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Mouse input for a frame: drags of each button across the grid, a click,
// and positions at the window's far edges.
std::vector<MouseEvent> input_for(int frame) {
  const auto at = [](MouseEventKind kind, int x, int y, std::uint8_t button = 0) {
    return MouseEvent{kind, std::uint16_t(x), std::uint16_t(y), button};
  };
  using K = MouseEventKind;
  switch (frame) {
    case 10: return {at(K::button_down, 100, 300, BUTTON_RIGHT)};
    case 11:
    case 12:
    case 13:
    case 14: return {at(K::motion, 100 + 40 * (frame - 10), 300 + 5 * (frame - 10))};
    case 15: return {at(K::button_up, 260, 320, BUTTON_RIGHT), at(K::button_down, 500, 40, BUTTON_LEFT)};
    case 16:
    case 17:
    case 18: return {at(K::motion, 500 - 30 * (frame - 15), 40)};
    case 19: return {at(K::button_up, 410, 40, BUTTON_LEFT), at(K::button_down, 120, 300, BUTTON_MIDDLE)};
    case 20: return {at(K::motion, 160, 305), at(K::motion, 200, 305)};
    case 21: return {at(K::button_up, 200, 305, BUTTON_MIDDLE), at(K::button_down, 1023, 767, BUTTON_RIGHT)};
    case 22: return {at(K::motion, 1023, 767), at(K::motion, 0, 0), at(K::motion, 636, 639)};
    case 23: return {at(K::button_up, 636, 639, BUTTON_RIGHT)};
    default: return {};
  }
}

// The CPU picture of the same frame, as grains_sim paints it, in the
// window's 0xRRGGBB form.
std::vector<std::uint32_t> cpu_frame(GrainRules& rules, MOUSE_STATE& mouse, const std::vector<MouseEvent>& events,
                                     const FrameExtras& extras) {
  FramePainter frame;
  step_frame(rules, mouse, events, frame, extras);
  std::vector<std::uint32_t> pixels(frame.pixels(), frame.pixels() + FramePainter::WIDTH * FramePainter::HEIGHT);
  for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

// Frames are compared one in DRAWING_PATHS_EVERY (default 1: every frame),
// the last ones always; the per-point path is slow on some rasterisers.
int frames_between_comparisons() {
  const char* every = std::getenv("DRAWING_PATHS_EVERY");
  return every != nullptr ? std::max(1, std::atoi(every)) : 1;
}

}  // namespace

// Run under each of Mesa's software rasterisers (the test's name in ctest
// says which): the cells must land on the same pixels whatever the GL.
TEST(DrawingPaths, PointsUploadAndCpuFrameShowTheSamePixelsEveryFrame) {
  ensure_video();
  const int compare_every = frames_between_comparisons();
  PointDrawing points;
  UploadDrawing upload;
  ASSERT_TRUE(UploadDrawing::available());
  for (const std::string& program : grain_program_names()) {
    auto by_points = make_grain_rules(program), by_upload = make_grain_rules(program),
         by_cpu = make_grain_rules(program);
    for (auto* rules : {by_points.get(), by_upload.get(), by_cpu.get()}) rules->clear_grid();
    MOUSE_STATE mouse_points, mouse_upload, mouse_cpu;
    // 300 frames of scripted input, then three with every simulated cell
    // full: squares up to the grid's edges and the window's top row.
    for (int frame = 0; frame < 303; ++frame) {
      const std::vector<MouseEvent> events = input_for(frame);
      const FrameExtras extras{frame >= 300};
      if (frame < 299 && frame % compare_every != 0) {
        NullPainter none;
        step_frame(*by_points, mouse_points, events, none, extras);
        step_frame(*by_upload, mouse_upload, events, none, extras);
        step_frame(*by_cpu, mouse_cpu, events, none, extras);
        continue;
      }
      step_frame_in_window(*by_points, mouse_points, events, points, extras);
      const auto expected = read_window_pixels();
      step_frame_in_window(*by_upload, mouse_upload, events, upload, extras);
      const auto shown = read_window_pixels();
      const auto painted = cpu_frame(*by_cpu, mouse_cpu, events, extras);
      int lit = 0;
      for (const std::uint32_t pixel : expected) lit += pixel != 0;
      ASSERT_TRUE(expected == shown) << program << ": upload differs from points at frame " << frame;
      ASSERT_TRUE(expected == painted) << program << ": CPU frame differs from points at frame " << frame;
      if (frame == 299) {
        EXPECT_GT(lit, 500) << program << ": the frame shows grains and walls";
      }
      if (frame == 302) {
        EXPECT_NE(expected[0], 0u) << program << ": grid row 0 shows on the window's first row";
      }
    }
  }
}
