// The showcase's front end without a window: SDL mouse events in, the
// panel's queued messages out.
#include "engine_showcase/front_end.h"
#include "engine_showcase/panel_places.h"
#include "scene/widgets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using grains::cut;

namespace {

using Messages = std::vector<std::string>;

SDL_Event motion(int x, int y) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.x = static_cast<Uint16>(x);
  event.motion.y = static_cast<Uint16>(y);
  return event;
}

SDL_Event button_event(Uint8 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
  SDL_Event event{};
  event.type = type;
  event.button.button = button;
  event.button.x = static_cast<Uint16>(x);
  event.button.y = static_cast<Uint16>(y);
  return event;
}

// A panel at (100, 50), 400 pixels square, as the showcase's: two buttons,
// a slider whose knob shows 40 on its 256-pixel rail. Sizes are set by
// hand, as there is no image bank to take them from.
class FrontEndTest : public testing::Test {
 protected:
  FrontEndTest() : panel(100, 50, "1"), other(100, 50, "1") {
    panel.w = panel.h = 400;
    add(new BUTTON("PLAY", "BTN_PLAY_OFF", "BTN_PLAY_OVER", "BTN_PLAY_ON", nullptr), "1_PLAY", 20, 20, 128, 64);
    add(new BUTTON("STOP", "BTN_STOP_OFF", "BTN_STOP_OVER", "BTN_STOP_ON", nullptr), "1_STOP", 160, 20, 128, 64);
    rail = add(new SPRITE("SLIDER_TRACK", 20, 200, 0, 0, 0, 1.0f, 0, 255), "1_SPEED_TRACK", 20, 200, 256, 16);
    knob = add(new SLIDER("SPEED", "KNOB"), "1_SPEED", 0, 192, 32, 32);
    knob->x = knob_x_for(*rail, *knob, 40);
  }

  SPRITE* add(SPRITE* child, const char* name, float x, float y, float w, float h) {
    child->Set_name(name);
    child->x = x, child->y = y, child->w = w, child->h = h;
    panel.children->emplace_back(child);
    return child;
  }

  // The messages the events posted, as "TEXT->TARGET" or "down->TARGET"
  // and "up->TARGET"; the queue is emptied.
  Messages send(const std::vector<SDL_Event>& events, OBJET* to = nullptr) {
    OBJET& target = to != nullptr ? *to : panel;
    int counted = 0;
    for (const SDL_Event& event : events) counted += front_end.translate(event);
    Messages taken;
    for (const MESSAGE& message : target.queue) {
      const std::string what = message.kind == 0                             ? message.text
                               : message.event_type() == SDL_MOUSEBUTTONDOWN ? "down"
                                                                             : "up";
      taken.push_back(what + "->" + (message.target != nullptr ? message.target->name : "null"));
    }
    EXPECT_EQ(counted, static_cast<int>(target.queue.size()));
    target.queue.clear();
    return taken;
  }

  OBJET panel;
  OBJET other;
  SPRITE* rail;
  SPRITE* knob;
  FrontEnd front_end{panel, 1024, 768};
};

// Screen places: the panel's place and the pictures' drop of 15 added.
constexpr int PLAY_X = 100 + 20 + 10, PLAY_Y = 50 + 20 + 15 + 10;
constexpr int STOP_X = 100 + 160 + 10;
constexpr int KNOB_Y = 50 + 192 + 15 + 16;

}  // namespace

TEST_F(FrontEndTest, ThePointerCrossingWidgetsTouchesThemInAndOut) {
  EXPECT_EQ(send({motion(10, 10)}), Messages{});
  EXPECT_EQ(send({motion(PLAY_X, PLAY_Y)}), Messages{"TOUCH_IN->1_PLAY"});
  EXPECT_EQ(send({motion(PLAY_X + 50, PLAY_Y + 30)}), Messages{}) << "still over the button";
  EXPECT_EQ(send({motion(STOP_X, PLAY_Y)}), (Messages{"TOUCH_OUT->1_PLAY", "TOUCH_IN->1_STOP"}));
  EXPECT_EQ(send({motion(STOP_X, PLAY_Y + 64)}), Messages{"TOUCH_OUT->1_STOP"}) << "below its picture";
}

TEST_F(FrontEndTest, AClickIsAPressAndAReleaseOverTheSameButton) {
  EXPECT_EQ(send({button_event(SDL_MOUSEBUTTONDOWN, PLAY_X, PLAY_Y), button_event(SDL_MOUSEBUTTONUP, PLAY_X, PLAY_Y)}),
            (Messages{"TOUCH_IN->1_PLAY", "down->1_PLAY", "up->1_PLAY"}));
  EXPECT_EQ(send({button_event(SDL_MOUSEBUTTONDOWN, PLAY_X, PLAY_Y), motion(STOP_X, PLAY_Y),
                  button_event(SDL_MOUSEBUTTONUP, STOP_X, PLAY_Y)}),
            (Messages{"down->1_PLAY", "TOUCH_OUT->1_PLAY", "TOUCH_IN->1_STOP"}))
      << "released elsewhere: no click";
  EXPECT_EQ(send({button_event(SDL_MOUSEBUTTONDOWN, STOP_X, PLAY_Y, SDL_BUTTON_RIGHT),
                  button_event(SDL_MOUSEBUTTONUP, STOP_X, PLAY_Y, SDL_BUTTON_RIGHT)}),
            Messages{})
      << "only the left button clicks";
}

TEST_F(FrontEndTest, DraggingTheKnobSendsItsValueFromStartToStop) {
  // Grabbed 5 pixels right of its centre, which stays 5 pixels left of the pointer.
  const int grab_x = 100 + cut(knob->x) + 16 + 5;
  EXPECT_EQ(send({button_event(SDL_MOUSEBUTTONDOWN, grab_x, KNOB_Y)}),
            (Messages{"TOUCH_IN->1_SPEED", "down->1_SPEED", "SLD_MVT_START 40->1_SPEED"}));
  EXPECT_EQ(send({motion(grab_x + 64, KNOB_Y)}), (Messages{"SLD_MVT_CHANGE 65->1_SPEED", "TOUCH_OUT->1_SPEED"}))
      << "64 pixels are a quarter of the rail; the knob moves when the panel has the value";
  EXPECT_EQ(send({motion(grab_x + 65, KNOB_Y + 100)}), Messages{}) << "the same value";
  EXPECT_EQ(send({motion(2000, KNOB_Y)}), Messages{"SLD_MVT_CHANGE 100->1_SPEED"});
  EXPECT_EQ(send({motion(65535, 65535)}), Messages{"SLD_MVT_CHANGE 0->1_SPEED"}) << "past the left edge";
  EXPECT_EQ(send({button_event(SDL_MOUSEBUTTONUP, 65535, 65535)}),
            (Messages{"up->1_SPEED", "SLD_MVT_STOP 0->1_SPEED"}));
  EXPECT_EQ(send({motion(grab_x + 64, KNOB_Y)}), Messages{}) << "the drag is over";
}

TEST_F(FrontEndTest, APressWithoutTheReleaseOfTheDragBeforeStopsThatDrag) {
  const int knob_x = 100 + cut(knob->x) + 16;
  send({button_event(SDL_MOUSEBUTTONDOWN, knob_x, KNOB_Y)});
  EXPECT_EQ(send({button_event(SDL_MOUSEBUTTONDOWN, PLAY_X, PLAY_Y)}),
            (Messages{"SLD_MVT_CHANGE 4->1_SPEED", "TOUCH_OUT->1_SPEED", "TOUCH_IN->1_PLAY", "SLD_MVT_STOP 4->1_SPEED",
                      "down->1_PLAY"}))
      << "the pointer came with the button held";
}

TEST_F(FrontEndTest, APressOnThePanelBackgroundDragsThePanelWithinTheWindow) {
  send({button_event(SDL_MOUSEBUTTONDOWN, 400, 400), motion(430, 440)});
  EXPECT_EQ(cut(panel.x), 130);
  EXPECT_EQ(cut(panel.y), 90);
  send({motion(5000, 5000)});
  EXPECT_EQ(cut(panel.x), 1024 - 400);
  EXPECT_EQ(cut(panel.y), 768 - 15 - 400) << "its picture shows 15 pixels lower";
  send({motion(65535, 65535)});
  EXPECT_EQ(cut(panel.x), 0);
  EXPECT_EQ(cut(panel.y), 0);
  EXPECT_EQ(send({button_event(SDL_MOUSEBUTTONUP, 10, 10), motion(300, 300)}), Messages{});
  EXPECT_EQ(cut(panel.x), 0) << "released";
  send({button_event(SDL_MOUSEBUTTONDOWN, 1000, 700), motion(900, 600)});
  EXPECT_EQ(cut(panel.x), 0) << "a press off the panel drags nothing";
}

TEST_F(FrontEndTest, AFreshPanelIsToldWhatThePointerTouches) {
  send({button_event(SDL_MOUSEBUTTONDOWN, PLAY_X, PLAY_Y)});
  auto* fresh_play = new BUTTON("PLAY", "BTN_PLAY_OFF", "BTN_PLAY_OVER", "BTN_PLAY_ON", nullptr);
  fresh_play->Set_name("1_PLAY");
  fresh_play->x = fresh_play->y = 20;
  fresh_play->w = 128, fresh_play->h = 64;
  other.children->emplace_back(fresh_play);
  EXPECT_EQ(front_end.rebind(other), 1);
  EXPECT_EQ(other.queue.size(), 1u);
  EXPECT_EQ(other.queue[0].target, fresh_play);
  EXPECT_STREQ(other.queue[0].text, "TOUCH_IN");
  other.queue.clear();
  EXPECT_EQ(send({button_event(SDL_MOUSEBUTTONUP, PLAY_X, PLAY_Y)}, &other), Messages{})
      << "the press was on the former panel";
  EXPECT_TRUE(panel.queue.empty()) << "nothing more for the former panel";
}

TEST(PanelPlaces, EveryValueMovesTheKnobToAPlaceThatReadsBackAsIt) {
  SPRITE rail("SLIDER_TRACK", 20, 232, 0, 0, 0, 1.0f, 0, 255);
  SLIDER knob("SPEED", "KNOB");
  rail.w = 256, knob.w = 32;
  for (int value = 0; value <= SLIDER_LARGEST_VALUE; ++value) {
    knob.x = knob_x_for(rail, knob, value);
    EXPECT_EQ(knob.x, static_cast<float>(cut(knob.x))) << "whole pixels, as a layout file keeps them";
    EXPECT_EQ(value_on_rail(rail, knob.x + knob.w / 2), value);
  }
}

TEST(PanelPlaces, AZoomedChildShowsScaledAboutItsCentre) {
  OBJET panel(100, 50, "1");
  SPRITE child("KNOB", 10, 20, 0, 0, 0, 0.5f, 0, 255);
  child.w = child.h = 32;
  const ScreenBox box = child_box(panel, child);
  EXPECT_EQ(box.left, 100 + 10 + 8);
  EXPECT_EQ(box.top, 50 + 20 + 15 + 8);
  EXPECT_EQ(box.width, 16);
  EXPECT_TRUE(box.contains(118, 93));
  EXPECT_FALSE(box.contains(134, 93)) << "the right edge is outside";
}
