// Patch cords: where their ends go, their jacks, their sway and the cable
// read back from GL.
#include "plugs/cord.h"

#include "support/catalogue_window.h"
#include "support/gl_window.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <sstream>

namespace {

using Cord = CatalogueWindow;

RECTANGLE element_at(float x, float y, float w, float h) { return RECTANGLE(x, y, 0, w, h, 0, nullptr); }

}  // namespace

TEST_F(Cord, EndsSitAtTheElementsCentresThroughTheirContainers) {
  BASE panel(100, 50, 0), other(0, 10, 0);
  RECTANGLE a = element_at(10, 20, 31, 41), b = element_at(300, 200, 10, 10);
  CORD cord(&panel, &other, &a, &b, 0x00FF00);
  EXPECT_EQ(cord.ends.x1, 125);  // 100 + 10 + 15.5, cut
  EXPECT_EQ(cord.ends.y1, 90);   // 50 + 20 + 20.5
  EXPECT_EQ(cord.ends.x2, 305);
  EXPECT_EQ(cord.ends.y2, 215);
  EXPECT_EQ(cord.previous_ends.x1, 0) << "attach leaves the previous ends";
  EXPECT_STREQ(cord.jack1.image, "FICHE_PLUG");
  EXPECT_STREQ(cord.jack2.mask, "FICHE_PLUG_MASK");
  EXPECT_EQ(cord.jack1.x, 125.0f);
  EXPECT_EQ(cord.jack2.y, 215.0f);
  EXPECT_EQ(cord.colour, 0x00FF00u);

  cord.attach(&panel, nullptr, &a, &b, 1);
  EXPECT_EQ(cord.ends.x2, 165);
  EXPECT_EQ(cord.ends.y2, 130);
  cord.attach(nullptr, &other, &a, &b, 1);
  EXPECT_EQ(cord.ends.x1, 305) << "end 1 from container 2 and element 2";
  EXPECT_EQ(cord.ends.y1, 215);
  cord.attach(nullptr, nullptr, &a, &b, 1);
  EXPECT_EQ(cord.ends.x1, 25);
  EXPECT_EQ(cord.ends.y1, 40);
  EXPECT_EQ(cord.ends.x2, 305);
  EXPECT_EQ(cord.ends.y2, 205);
}

TEST_F(Cord, TogglesSwitchPicturesAndMasksBothWays) {
  RECTANGLE a = element_at(0, 0, 10, 10);
  CORD cord(nullptr, nullptr, &a, &a, 0);
  cord.toggle_jack1(0, 0);
  EXPECT_STREQ(cord.jack1.image, "FICHE_UNPLUG");
  EXPECT_STREQ(cord.jack1.mask, "FICHE_UNPLUG_MASK");
  EXPECT_STREQ(cord.jack2.image, "FICHE_PLUG");
  cord.toggle_jack1(0, 0);
  EXPECT_STREQ(cord.jack1.image, "FICHE_PLUG");
  EXPECT_STREQ(cord.jack1.mask, "FICHE_PLUG_MASK");
  cord.toggle_jack2(1, 0);
  EXPECT_STREQ(cord.jack2.image, "FICHE_PLUG") << "forced plugged after the toggle";
  cord.toggle_jack2(1, 1);
  EXPECT_STREQ(cord.jack2.image, "FICHE_UNPLUG") << "both flags leave it unplugged";
  EXPECT_STREQ(cord.jack2.mask, "FICHE_UNPLUG_MASK");
}

TEST_F(Cord, TheFirstStrandHangsThroughTheSumOfTheEndsHeight) {
  RECTANGLE left = element_at(95, 95, 10, 10), right = element_at(495, 95, 10, 10);
  CORD cord(nullptr, nullptr, &left, &right, 0xFF0000);
  testing::internal::CaptureStdout();
  cord.draw(0);
  testing::internal::GetCapturedStdout();
  // Ends at (100, 100) and (500, 100): at t = 0.5 the curve is at x = 300,
  // y = 0.25 * 115 + 0.5 * 215 + 0.25 * 115 = 165; the darker strands above.
  std::vector<std::uint32_t> column;
  int first_row = -1;
  for (int row = 150; row < 180; ++row)
    if (const std::uint32_t pixel = window_pixel(300, row); pixel != 0) {
      if (first_row < 0) first_row = row;
      column.push_back(pixel);
    }
  // Each strand up loses a quarter of each channel; the lower three show
  // full, then darker, as blending is off.
  EXPECT_EQ(column, (std::vector<std::uint32_t>{0x900000, 0xC00000, 0xFF0000, 0xFF0000, 0xC00000, 0x900000}));
  EXPECT_TRUE(first_row == 162 || first_row == 163) << first_row;
  EXPECT_FALSE(glIsEnabled(GL_MAP1_VERTEX_3));
  // The jack's picture lies over end 1, centred on it.
  EXPECT_NE(window_pixel(100, 115), 0u);
}

TEST_F(Cord, SwayGrowsWhenAnEndMovesAndDecaysToZero) {
  RECTANGLE a = element_at(0, 0, 10, 10), b = element_at(100, 0, 10, 10);
  CORD cord(nullptr, nullptr, &a, &b, 0xFFFFFF);
  testing::internal::CaptureStdout();
  cord.draw(0);  // the ends move from the reset's (0, 0)
  const float first_sway = cord.sway;
  a.y = 30;
  cord.attach(nullptr, nullptr, &a, &b, 0xFFFFFF);
  cord.draw(0);
  for (int frame = 0; frame < 600; ++frame) cord.draw(0);
  std::istringstream lines(testing::internal::GetCapturedStdout());
  std::vector<std::string> printed;
  for (std::string line; std::getline(lines, line);) printed.push_back(line);
  ASSERT_EQ(printed.size(), 602u);
  EXPECT_NEAR(first_sway, 4.59f, 1e-5) << "|0 - 5| + 0.1, less a tenth";
  EXPECT_NE(printed[1], "[0.000000]");
  EXPECT_EQ(printed.back(), "[0.000000]");
  EXPECT_EQ(cord.time, 602.0f);
}
