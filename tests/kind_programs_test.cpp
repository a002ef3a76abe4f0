// grains_a and grains_c in a real window, with real mouse input.
#include "support/gl_window.h"
#include "support/process.h"
#include "support/window_program.h"

#include <gtest/gtest.h>

#include <csignal>
#include <set>

namespace {

// A cup of walls, 8 cells thick: floor cells (150..173, 150..157), sides
// (150..157) and (166..173) over rows 134..149. Its inside, cells
// (158..165, 134..149), shows at pixels x 316..331, y 268..299. Each
// right-drag motion paints 8x8 cells from the pointer's cell.
void build_cup() {
  xdotool(
      "mousemove 300 300 mousedown 3 mousemove 301 300 sleep 0.05 mousemove 316 300 sleep 0.05 "
      "mousemove 332 300 sleep 0.05 mousemove 332 284 sleep 0.05 mousemove 332 268 sleep 0.05 mouseup 3");
  xdotool("mousemove 300 284 mousedown 3 mousemove 301 284 sleep 0.05 mousemove 301 268 sleep 0.05 mouseup 3");
}

bool in_cup(int x, int y) { return x >= 316 && x <= 331 && y >= 268 && y <= 299; }

}  // namespace

TEST(KindPrograms, GrainsALeftClickAndLeftDragPutRedGrainsUnderThePointer) {
  auto grains_a = start_window_program("grains_a");
  build_cup();
  pause_ms(300);
  const Screenshot walls = take_screenshot();
  EXPECT_EQ(walls.at(300, 300), 0xFFFFFFu) << "the cup's floor";
  EXPECT_EQ(walls.at(346, 268), 0xFFFFFFu) << "the cup's right side";

  // One click: one red grain in the cup's lower left corner, cell (158, 148).
  // There it falls one row and stays (a grain flowing left would be painted
  // twice in one frame).
  xdotool("mousemove 316 296 click 1");
  pause_ms(400);
  const Screenshot click = take_screenshot();
  int red = 0;
  for (int y = 268; y <= 299; ++y)
    for (int x = 316; x <= 331; ++x) red += click.at(x, y) == 0xFF0000u;
  EXPECT_EQ(red, 4) << "one 2x2 cell";

  // A left drag: about half of an 8x8 block at each motion.
  xdotool("mousemove 316 270 mousedown 1 mousemove 317 270 sleep 0.1 mousemove 316 271 sleep 0.1 mouseup 1");
  pause_ms(400);
  const Screenshot drag = take_screenshot();
  red = 0;
  int red_elsewhere = 0;
  for (int y = 0; y < 768; ++y)
    for (int x = 200; x < 1024; ++x) {
      if (drag.at(x, y) != 0xFF0000u) continue;
      if (in_cup(x, y)) ++red;
      else ++red_elsewhere;
    }
  EXPECT_GE(red, 4 * 20);
  EXPECT_EQ(red % 4, 0) << "whole cells";
  EXPECT_EQ(red_elsewhere, 0) << "the red stream stays far to the left";

  const ProcessResult result = grains_a->stop(SIGTERM, 3000);
  EXPECT_EQ(result.signal_number, SIGTERM);
  EXPECT_EQ(result.out.find("D "), std::string::npos) << "grains_a prints no drag trace";
}

TEST(KindPrograms, GrainsCMiddleDragErasesAndTheGrainBrushUsesThePalette) {
  auto grains_c = start_window_program("grains_c");
  // A bar of walls: cells (250..281, 30..37), pixels x 500..563, y 60..75.
  xdotool(
      "mousemove 500 60 mousedown 3 mousemove 501 60 sleep 0.05 mousemove 517 60 sleep 0.05 "
      "mousemove 533 60 sleep 0.05 mousemove 549 60 sleep 0.05 mouseup 3");
  // The eraser over cells (258..265, 30..37): pixels x 516..531.
  xdotool("mousemove 517 61 mousedown 2 mousemove 516 60 sleep 0.05 mouseup 2");
  build_cup();
  xdotool("mousemove 316 270 mousedown 1 mousemove 317 270 sleep 0.1 mousemove 316 271 sleep 0.1 mouseup 1");
  pause_ms(400);
  const Screenshot screen = take_screenshot();

  for (const int y : {60, 67, 75}) {
    EXPECT_EQ(screen.at(500, y), 0xFFFFFFu) << y;
    EXPECT_EQ(screen.at(515, y), 0xFFFFFFu) << y;
    EXPECT_EQ(screen.at(516, y), 0u) << y;
    EXPECT_EQ(screen.at(523, y), 0u) << y;
    EXPECT_EQ(screen.at(531, y), 0u) << y;
    EXPECT_EQ(screen.at(532, y), 0xFFFFFFu) << y;
    EXPECT_EQ(screen.at(563, y), 0xFFFFFFu) << y;
  }

  const std::set<std::uint32_t> palette{0xFF0000, 0x00FF00, 0x0000FF, 0x00FFFF, 0xFF00FF, 0xFFFF00};
  std::set<std::uint32_t> seen;
  int lit = 0;
  for (int y = 268; y <= 299; ++y)
    for (int x = 316; x <= 331; ++x) {
      const std::uint32_t pixel = screen.at(x, y);
      if (pixel == 0) continue;
      ++lit;
      EXPECT_TRUE(palette.count(pixel) == 1) << std::hex << pixel;
      seen.insert(pixel);
    }
  EXPECT_GE(lit, 4 * 20);
  EXPECT_GE(seen.size(), 3u);

  const ProcessResult result = grains_c->stop(SIGTERM, 3000);
  EXPECT_EQ(result.signal_number, SIGTERM);
}
