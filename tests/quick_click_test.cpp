// A click whose press and release reach the front end in the same frame,
// as a quick click does: the panel and then each widget take their queues
// newest first, so the front ends must not let a release's messages share
// a batch with its press's. Through the panel_widgets example's front end
// and the showcase's.
#include "engine_showcase/panel_places.h"
#include "engine_showcase/showcase.h"
#include "panel_front_end.h"
#include "support/catalogue_window.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <filesystem>

using grains::cut;

namespace {

SDL_Event mouse_event(Uint8 type, int x, int y) {
  SDL_Event event{};
  event.type = type;
  if (type == SDL_MOUSEMOTION) {
    event.motion.x = static_cast<Uint16>(x);
    event.motion.y = static_cast<Uint16>(y);
  } else {
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
  }
  return event;
}

// The middle of a child's picture as the panel shows it.
struct Point {
  int x, y;
};
Point middle_of(const OBJET& panel, const SPRITE& child) {
  const ScreenBox box = child_box(panel, child);
  return {box.left + box.width / 2, box.top + box.height / 2};
}

class ExampleFrontEnd : public CatalogueWindow {
 protected:
  void SetUp() override {
    CatalogueWindow::SetUp();
    ASSERT_EQ(panel.Load("examples/panel_widgets.lay"), 1);
    panel.Set_position(300, 200, 0);
    for (const auto& child : *panel.children) child->Update();
  }
  // Hands the events to the front end one after the other, as a frame's
  // event loop does, then draws the frame as the example does (the widgets
  // take what is left in their queues there).
  void one_frame(std::initializer_list<SDL_Event> events) {
    for (const SDL_Event& event : events) front_end.handle(event);
    panel.Mark_children(1);
    panel.Render(0, 1);
  }
  SPRITE& child(const char* name) { return *panel.Find_child(name); }

  OBJET panel{0, 0, "P"};
  PanelFrontEnd front_end{panel};
};

}  // namespace

TEST_F(ExampleFrontEnd, AQuickClickOnAButtonTogglesItAndLeavesItReleased) {
  const Point play = middle_of(panel, child("PLAY"));
  one_frame({mouse_event(SDL_MOUSEBUTTONDOWN, play.x, play.y), mouse_event(SDL_MOUSEBUTTONUP, play.x, play.y)});
  EXPECT_EQ(child("PLAY").pressed, 0);
  EXPECT_EQ(dynamic_cast<BUTTON&>(child("PLAY")).state, 1);
}

TEST_F(ExampleFrontEnd, AQuickClickOnTheKnobEndsTheSliderDrag) {
  const Point knob = middle_of(panel, child("SPEED"));
  one_frame({mouse_event(SDL_MOUSEBUTTONDOWN, knob.x, knob.y), mouse_event(SDL_MOUSEBUTTONUP, knob.x, knob.y)});
  EXPECT_EQ(panel.slider_moving, 0);
  EXPECT_EQ(panel.active_slider, nullptr);
  EXPECT_EQ(child("SPEED").pressed, 0);
}

TEST_F(ExampleFrontEnd, ADragWhoseMovesComeInOneFrameEndsAtTheLastValue) {
  const Point knob = middle_of(panel, child("SPEED"));
  const SPRITE& rail = child("SPEED_TRACK");
  const int rail_left = cut(panel.x + rail.x), quarter = cut(rail.w / 4);
  one_frame({mouse_event(SDL_MOUSEBUTTONDOWN, knob.x, knob.y),
             mouse_event(SDL_MOUSEMOTION, rail_left + quarter, knob.y),
             mouse_event(SDL_MOUSEMOTION, rail_left + 3 * quarter, knob.y)});
  EXPECT_EQ(panel.slider_moving, 1);
  EXPECT_EQ(panel.slider_value, 75);
  one_frame({mouse_event(SDL_MOUSEBUTTONUP, rail_left + 3 * quarter, knob.y)});
  EXPECT_EQ(panel.slider_moving, 0);
  EXPECT_EQ(panel.slider_value, 75);
}

// The showcase routes each event's messages at once already; its slider
// must take its own queue as often.
TEST_F(CatalogueWindow, AQuickClickOnTheShowcaseKnobLeavesItReleased) {
  const std::string pictures = make_temp_dir() + "/pictures";  // none: the browser stays empty
  std::filesystem::create_directory(pictures);
  PictureBrowser browser(pictures, "png");
  Showcase showcase(browser, "grfx/showcase.lay", make_temp_dir() + "/saved.lay", 1024, 768);
  OBJET& panel = showcase.panel();
  SPRITE& knob = *panel.Find_child("SPEED");
  const Point middle = middle_of(panel, knob);
  showcase.handle(mouse_event(SDL_MOUSEBUTTONDOWN, middle.x, middle.y));
  showcase.handle(mouse_event(SDL_MOUSEBUTTONUP, middle.x, middle.y));
  showcase.refresh();
  showcase.draw();
  EXPECT_EQ(panel.slider_moving, 0);
  EXPECT_EQ(knob.pressed, 0);
}
