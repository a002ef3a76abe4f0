// Element identity, names and geometric tests.
#include "scene/element.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::string padded(const char* prefix, std::uint32_t id) {
  std::string number = std::to_string(id);
  return prefix + std::string(20 - number.size(), ' ') + number;
}

RECTANGLE rect(float x, float y, float w, float h) { return RECTANGLE(x, y, 0, w, h, 0, "unused"); }

}  // namespace

TEST(Element, IdsFollowCreationOrderAcrossClassesWithTheirDefaultNames) {
  const std::uint32_t first = element_counter;
  VYR_ENGINE plain;
  BASE base(1, 2, 3);
  RECTANGLE rectangle(0, 0, 0, 5, 5, 5, "my name");
  VYR_ENGINE named("given");
  EXPECT_EQ(plain.id, first);
  EXPECT_EQ(base.id, first + 1);
  EXPECT_EQ(rectangle.id, first + 2);
  EXPECT_EQ(named.id, first + 3);
  EXPECT_EQ(element_counter, first + 4);
  EXPECT_EQ(plain.name, padded("ITEM_", first));
  EXPECT_EQ(base.name, padded("ITEM_", first + 1));
  EXPECT_EQ(rectangle.name, padded("BASE_ITEM_", first + 2)) << "the given name never survives";
  EXPECT_STREQ(named.name, "given");
  for (const char byte : named.tag) ASSERT_EQ(byte, 0);
}

TEST(Element, NamesKeepAtMost79Characters) {
  VYR_ENGINE element;
  const std::string long_name(200, 'n');
  element.Set_name(long_name.substr(0, 79).c_str());
  EXPECT_EQ(std::string(element.name), long_name.substr(0, 79));
  element.Set_name(long_name.substr(0, 80).c_str());
  EXPECT_EQ(std::string(element.name), long_name.substr(0, 79));
  element.Set_name(long_name.c_str());
  EXPECT_EQ(std::string(element.name), long_name.substr(0, 79));
  element.Set_name(nullptr);
  EXPECT_EQ(element.name, padded("DEFAULT_ITEM_", element.id));
  element.Set_tag(long_name.c_str());
  EXPECT_EQ(std::string(element.tag), long_name.substr(0, 79));
  VYR_ENGINE unnamed(nullptr);
  EXPECT_EQ(unnamed.name, padded("DEFAULT_ITEM_", unnamed.id));
}

TEST(Element, SamePlaceMeansWithinOneWholePixel) {
  BASE a(10.9f, 20, 30), b(11.2f, 21.5f, 31.9f), c(12.0f, 20, 30);
  EXPECT_TRUE(a.Same_place(b));   // 10 and 11, 20 and 21, 30 and 31
  EXPECT_FALSE(a.Same_place(c));  // 10 and 12
  b.Set_position(10, 18, 30);
  EXPECT_FALSE(a.Same_place(b));
  b.Set_y(19.5f);
  EXPECT_TRUE(a.Same_place(b));
}

TEST(Element, ContainsCountsBothEdgesAndLooksAtThePositionOnly) {
  const RECTANGLE r = rect(10, 20, 30, 40);
  EXPECT_TRUE(r.Contains(BASE(40, 60, 0)));
  EXPECT_TRUE(r.Contains(BASE(10, 20, 0)));
  EXPECT_FALSE(r.Contains(BASE(41, 60, 0)));
  EXPECT_FALSE(r.Contains(BASE(40, 61, 0)));
  EXPECT_FALSE(r.Contains(BASE(9.5f, 20, 0))) << "9.5 is cut to 9";
  EXPECT_TRUE(r.Contains(rect(35, 55, 1000, 1000)));
}

TEST(Element, OverlapsWhenTouchingAlongAnEdge) {
  EXPECT_TRUE(rect(0, 0, 10, 10).Overlaps(rect(10, 0, 10, 10)));
  EXPECT_FALSE(rect(0, 0, 10, 10).Overlaps(rect(11, 0, 10, 10)));
  EXPECT_TRUE(rect(0, 0, 10, 10).Overlaps(rect(0, 10, 10, 10)));
  EXPECT_FALSE(rect(0, 0, 10, 10).Overlaps(rect(0, -11, 10, 10)));
  EXPECT_TRUE(rect(0, 0, 10, 10).Overlaps(rect(2, 2, 3, 3)));
  EXPECT_FALSE(rect(0, 0, 1e30f, 10).Overlaps(rect(0, 2e30f, 10, 10))) << "huge values do not overflow";
}

TEST(Element, ZoneNumbersNinthsLikeAKeypad) {
  const RECTANGLE r = rect(500, 500, 100, 100);
  EXPECT_EQ(r.Zone(10, 10), 7);
  EXPECT_EQ(r.Zone(50, 10), 8);
  EXPECT_EQ(r.Zone(90, 10), 9);
  EXPECT_EQ(r.Zone(10, 50), 4);
  EXPECT_EQ(r.Zone(50, 50), 5);
  EXPECT_EQ(r.Zone(90, 50), 6);
  EXPECT_EQ(r.Zone(10, 90), 1);
  EXPECT_EQ(r.Zone(90, 90), 3);
  EXPECT_EQ(r.Zone(25, 50), 0);
  EXPECT_EQ(r.Zone(50, 75), 0);
  EXPECT_EQ(r.Zone(std::nanf(""), 50), 0);
}

TEST(Element, PrintRectShowsWholePixels) {
  const RECTANGLE r(1.9f, -2.9f, 3, 40.5f, 50, 6, "x");
  testing::internal::CaptureStdout();
  r.Print_rect();
  char expected[128];
  std::snprintf(expected, sizeof expected, "RECT[%p] 1, -2, 3 40, 50, 6 \n", static_cast<const void*>(&r));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
}
