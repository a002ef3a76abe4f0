// A patch cord: two jack pictures joined by a cable that hangs between two
// elements on screen, as on a patch panel.
#pragma once

#include "scene/sprite.h"

#include <cstdint>

class CORD {
 public:
  // Joins the centres of element1 and element2, each seen through its
  // container, with a cable of the given colour and plugged jacks.
  CORD(BASE* container1, BASE* container2, RECTANGLE* element1, RECTANGLE* element2, std::uint32_t colour);

  void reset(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::uint32_t colour);
  // Places the ends at the elements' centres as they are now. Without
  // container1, end 1 is taken from container2 and element2; without
  // container2, end 2 lies 40 pixels right of and below end 1; without
  // either, each end is its own element's centre.
  void attach(BASE* container1, BASE* container2, RECTANGLE* element1, RECTANGLE* element2, std::uint32_t colour);
  // Switches a jack between plugged and unplugged, then forces it plugged
  // and then unplugged when asked.
  void toggle_jack1(int force_plug, int force_unplug);
  void toggle_jack2(int force_plug, int force_unplug);
  // Draws the cable and then the jacks over its ends; argument goes to the
  // jacks' draws.
  void draw(std::int32_t argument);

  struct PreviousEnds {
    std::int32_t x1, x2, y1, y2;
  };
  struct Ends {
    std::int32_t x1, y1, x2, y2;
  };

  float time = 0;  // frames drawn
  float sway = 0;  // grows when an end moves up or down, decays a tenth a frame
  PreviousEnds previous_ends{};
  Ends ends{};
  std::uint32_t colour = 0;
  SPRITE jack1, jack2;
  BASE* container1 = nullptr;
  BASE* container2 = nullptr;
  RECTANGLE* element1 = nullptr;
  RECTANGLE* element2 = nullptr;

 private:
  void advance_frame();
  void draw_cable() const;
};
