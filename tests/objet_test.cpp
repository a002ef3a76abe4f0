// Containers: message routing, slider tracking, modes, child lookup, and
// rendering read back from the window.
#include "scene/objet.h"

#include "draw/draw.h"
#include "images/image_bank.h"
#include "scene/widgets.h"
#include "support/catalogue_window.h"
#include "support/gl_window.h"
#include "support/pictures.h"
#include "video/video.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

std::uint32_t fake_now = 0;
std::uint32_t fake_clock() { return fake_now; }

MESSAGE text_message(const char* text, VYR_ENGINE* target) { return MESSAGE(0, SDL_Event{}, text, target); }

MESSAGE event_message(std::int32_t kind, std::uint8_t type, const char* text, VYR_ENGINE* target) {
  SDL_Event event{};
  event.type = type;
  return MESSAGE(kind, event, text, target);
}

// Appends child to the active list under the given name.
template <typename ELEMENT>
ELEMENT* adopt(OBJET& container, ELEMENT* child, const char* name) {
  child->Set_name(name);
  container.children->emplace_back(child);
  return child;
}

SPRITE* picture(const char* image) { return new SPRITE(image, 0, 0, 0, 0, 0, 1.0f, 0, 255); }

using Objet = CatalogueWindow;

}  // namespace

TEST(ObjetDeathTest, NeedsAName) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        dup2(2, 1);
        OBJET nameless(0, 0, nullptr);
      },
      testing::ExitedWithCode(255), "Cannot Create OBJET withouth a name");
}

TEST_F(Objet, StartsEmptyInModeOneUnderItsOwnName) {
  const OBJET container(30, 40, "PANEL");
  EXPECT_STREQ(container.name, "IMG_001");
  EXPECT_STREQ(container.rc_name, "PANEL");
  EXPECT_EQ(container.y, 40.0f);
  EXPECT_EQ(container.mode, 1);
  EXPECT_EQ(container.children, &container.mode1_children);
}

TEST_F(Objet, RoutesMessagesNewestFirstToSlidersAndButtonsAndRendersForThem) {
  OBJET container(0, 0, "1");
  SLIDER* slider = adopt(container, new SLIDER("S", "KNOB"), "1_S");
  BUTTON* button = adopt(container, new BUTTON("B", "BTN_PLAY_OFF", "0", "BTN_PLAY_ON", nullptr), "1_B");
  SPRITE* plain = adopt(container, picture("IMG_001"), "1_P");
  for (const char* text : {"SLD_MVT_CHANGE 1", "SLD_MVT_CHANGE 2", "SLD_MVT_CHANGE 3"})
    container.Post(text_message(text, slider));
  container.Post(event_message(1, SDL_MOUSEBUTTONUP, nullptr, button));
  container.Post(text_message("TOUCH_IN", slider));
  container.Post(text_message("TOUCH_IN", plain));
  container.Post(text_message("for no one", nullptr));
  container.Post(event_message(1, SDL_USEREVENT, nullptr, nullptr));

  testing::internal::CaptureStdout();
  container.Update();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "ZZZ\n"
            "MESSAGE Message = [SLD_MVT_CHANGE 3]->[1_S]\n"
            "MESSAGE Message = [SLD_MVT_CHANGE 2]->[1_S]\n"
            "MESSAGE Message = [SLD_MVT_CHANGE 1]->[1_S]\n");
  EXPECT_EQ(container.slider_value, 1) << "the oldest came last";
  EXPECT_TRUE(container.queue.empty());
  EXPECT_EQ(container.touched, 1);
  // Rendering for the messages updated the children, which took theirs.
  EXPECT_GT(count_lit_pixels(), 0) << "messages came and children were dirty";
  EXPECT_TRUE(slider->queue.empty());
  EXPECT_EQ(slider->touched, 1);
  EXPECT_EQ(button->state, 1);
  EXPECT_EQ(plain->touched, 0) << "a plain sprite gets nothing";

  glClear(GL_COLOR_BUFFER_BIT);
  container.Mark_children(1);
  container.Update();
  EXPECT_EQ(count_lit_pixels(), 0) << "no message, no drawing";
  EXPECT_EQ(container.touched, 0);
}

TEST_F(Objet, TracesMessagesByKind) {
  OBJET container(0, 0, "1");
  SPRITE* target = adopt(container, picture("IMG_001"), "1_T");
  testing::internal::CaptureStdout();
  container.Trace(event_message(3, SDL_MOUSEBUTTONDOWN, nullptr, target));
  container.Trace(event_message(3, SDL_MOUSEBUTTONDOWN, nullptr, nullptr));
  container.Trace(text_message("hi", target));
  container.Trace(text_message("hi", nullptr));
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "MESSAGE event = 3->[1_T]\nMESSAGE event = 3\nMESSAGE Message = [hi]->[1_T]\n");
}

TEST_F(Objet, FollowsASliderDragOnItsClock) {
  OBJET container(0, 0, "1");
  container.tick_clock = fake_clock;
  SLIDER* slider = adopt(container, new SLIDER("S", "KNOB"), "1_S");
  fake_now = 1000;
  container.Post(text_message("SLD_MVT_START 40", slider));
  testing::internal::CaptureStdout();
  container.Update();
  EXPECT_EQ(container.slider_moving, 1);
  EXPECT_EQ(container.slider_value, 40);
  EXPECT_EQ(container.active_slider, slider);
  EXPECT_EQ(container.tick_start, 1000u);

  fake_now = 3500;
  container.Post(text_message("SLD_MVT_CHANGE 55", slider));
  container.Update();
  EXPECT_EQ(container.slider_time, 2.5f);
  EXPECT_EQ(container.slider_value, 55);

  container.Post(text_message("SLD_MVT_STOP", slider));
  container.Update();
  EXPECT_EQ(container.slider_moving, 0);
  EXPECT_EQ(container.active_slider, nullptr);
  EXPECT_EQ(container.slider_value, 55);
  EXPECT_EQ(container.tick_start, 3500u);
  fake_now = 9000;
  container.Update();
  EXPECT_EQ(container.slider_time, 2.5f) << "the time stands still after the stop";

  container.Post(text_message("SLD_MVT_START", slider));
  container.Update();
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(container.slider_value, 0) << "no number after the keyword";
}

TEST_F(Objet, SwitchesAmongItsThreeModes) {
  OBJET container(0, 0, "1");
  container.size1_w = 300, container.size1_h = 200, container.size2_w = 100, container.size2_h = 60;
  SPRITE* child = adopt(container, picture("IMG_001"), "1_C");
  child->changed = 0;
  EXPECT_EQ(container.Switch_mode(0), 1);
  EXPECT_EQ(child->changed, 0) << "only the mode-2 list is marked";
  EXPECT_EQ(container.mode, 2);
  EXPECT_EQ(container.children, &container.mode2_children);
  EXPECT_EQ(container.back_w, 100.0f);
  EXPECT_EQ(container.w, 50.0f) << "half size in mode 2";
  container.Switch_mode(0);
  EXPECT_EQ(container.mode, 1);
  EXPECT_EQ(container.children, &container.mode1_children);
  EXPECT_EQ(child->changed, 1);
  EXPECT_EQ(container.h, 200.0f);
  container.Switch_mode(4);
  EXPECT_EQ(container.children, &container.mode4_children);
  container.Switch_mode(0);
  EXPECT_EQ(container.mode, 1);
  container.dirty = container.changed = 0;
  container.Switch_mode(7);
  EXPECT_EQ(container.mode, 1);
  EXPECT_EQ(container.children, &container.mode1_children);
  EXPECT_EQ(container.dirty + container.changed, 2);
}

TEST_F(Objet, FindsChildrenPastPrefixesOfOneOrTwoCharacters) {
  OBJET container(0, 0, "1");
  SPRITE* one = adopt(container, picture("A"), "1_IMAGE_FOND");
  adopt(container, picture("B"), "123_IMAGE_FOND");
  EXPECT_EQ(container.Find_child("IMAGE_FOND"), one);
  SPRITE* two = adopt(container, picture("C"), "12_IMAGE_FOND");
  EXPECT_EQ(container.Find_child("IMAGE_FOND"), two) << "the last match";
  SPRITE* bare = adopt(container, picture("D"), "IMAGE_FOND");
  EXPECT_EQ(container.Find_child("IMAGE_FOND"), bare);
  EXPECT_EQ(container.Find_child("FOND"), nullptr);
  EXPECT_EQ(container.Find_child(nullptr), nullptr);

  container.Mark_children(0);
  for (const auto& child : container.mode1_children) EXPECT_EQ(child->dirty + child->changed, 0);
}

TEST_F(Objet, FillsItsBackgroundAndFramesIt) {
  OBJET container(100, 100, "1");
  container.back_w = 200, container.back_h = 100;
  container.colour = 0xAB00FF00;
  container.alpha = 255;
  container.Render(0, 1);
  EXPECT_EQ(container.w, 200.0f) << "fitted to the background size";
  EXPECT_EQ(container.colour, 0x0000FF00u);
  // The fill and the frame lie 13 rows down: x 100..299, y 113..212.
  EXPECT_EQ(window_pixel(150, 160), 0x00FF00u);
  for (const auto& [x, y] : {std::pair{101, 160}, {298, 160}, {150, 114}, {150, 211}})
    EXPECT_EQ(window_pixel(x, y), 0u) << "frame at " << x << "," << y;
  for (const auto& [x, y] : {std::pair{102, 160}, {297, 160}, {150, 115}, {150, 210}})
    EXPECT_EQ(window_pixel(x, y), 0x00FF00u) << "inside the frame at " << x << "," << y;

  glClear(GL_COLOR_BUFFER_BIT);
  container.colour = 0x00FF0000;
  container.alpha = 128;
  container.Render(0, 1);
  const std::uint32_t half_red = window_pixel(150, 160);
  EXPECT_NEAR(static_cast<int>(half_red >> 16), 128, 2);
  EXPECT_EQ(half_red & 0xFFFFu, 0u);
}

TEST_F(Objet, DrawsDirtyChildrenAtItsOffsetAndSkipsBackgroundPictures) {
  OBJET container(100, 100, "1");
  container.back_w = 400, container.back_h = 300;
  SPRITE* child = adopt(container, picture("IMG_001"), "1_C");
  child->Set_position(10, 20, 0);
  adopt(container, picture("PANEL_FOND"), "1_DECOR")->Set_position(150, 20, 0);
  container.dirty = 0;
  container.Render(0, 1);

  // IMG_001 at (110, 120), drawn 15 rows down.
  const int slot = image_bank->find("IMG_001");
  for (const auto& [i, j] : {std::pair{0, 0}, {10, 10}, {40, 25}, {63, 63}})
    EXPECT_EQ(window_pixel(110 + i, 135 + j), texture_pixel(slot, i, j)) << i << "," << j;
  EXPECT_EQ(window_pixel(300, 200), 0u) << "a FOND picture is not drawn as a child";
  EXPECT_EQ(child->x, 10.0f) << "put back";
  EXPECT_EQ(child->dirty, 0);
  EXPECT_EQ(container.dirty, 1);
  EXPECT_EQ(container.last_drawn, container.mode1_children.back().get());
}

TEST_F(Objet, DrawsItsBackgroundChildAtHalfSizeAndNoChildInModeTwo) {
  OBJET container(50, 60, "1");
  adopt(container, picture("PANEL_FOND"), "1_IMAGE_FOND")->Update();
  SPRITE* background = container.mode2_children.emplace_back(picture("PANEL_FOND")).get();
  background->Set_name("1_IMAGE_FOND");
  background->Update();  // a background is drawn at the size it last read
  container.mode2_children.emplace_back(picture("IMG_001"))->Set_position(300, 300, 0);
  container.Switch_mode(2);
  EXPECT_EQ(container.w, 128.0f);
  EXPECT_EQ(container.back_w, 256.0f);
  EXPECT_EQ(background->zoom, 1.0f);
  EXPECT_EQ(background->x, 0.0f);
  // The panel covers x 50..177 and y 75..202, nothing else is drawn.
  const Box box = lit_box();
  EXPECT_EQ(box.left, 50);
  EXPECT_EQ(box.right, 177);
  EXPECT_EQ(box.top, 75);
  EXPECT_EQ(box.bottom, 202);

  glClear(GL_COLOR_BUFFER_BIT);
  container.Switch_mode(1);
  const int slot = image_bank->find("PANEL_FOND");
  EXPECT_EQ(window_pixel(50 + 100, 75 + 100), texture_pixel(slot, 100, 100)) << "full size in mode 1";
}
