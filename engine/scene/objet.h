// The container panel: a sprite that owns child elements, routes queued
// messages to its buttons and sliders, follows slider drags and draws its
// background, children and frame. Its children come from a layout file
// (OBJET::Load and OBJET::Save, in layout_file.cpp).
//
// Warning: Update draws at once when a message came and a child is dirty; mark the children clean to draw later.
#pragma once

#include "scene/message.h"
#include "scene/sprite.h"

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace grains {

using CHILD_LIST = std::vector<std::unique_ptr<SPRITE>>;

}  // namespace grains

class OBJET : public SPRITE {
 public:
  static constexpr int RC_TEXT_SIZE = 800;  // 799 characters and the NUL

  // An empty container at (x, y) in mode 1, named name for its children's
  // prefix; its own element name stays "IMG_001". Without a name it prints
  // "Cannot Create OBJET withouth a name" and ends the process with -1.
  OBJET(int x, int y, const char* name);
  OBJET(const OBJET&) = delete;
  OBJET& operator=(const OBJET&) = delete;

  // Handles the queued messages newest first: follows "SLD_MVT_" slider
  // messages, passes messages on to their slider or button, and renders
  // when a message came and a child is dirty.
  std::int32_t Update() override;
  // 1, 4 or 2 chooses that mode and its child list; 0 toggles between 1
  // and 2 (any mode but 1 goes to 1). Then fits, marks and renders. Returns 1.
  virtual std::int32_t Switch_mode(std::int32_t new_mode);
  // Draws the background (the child "IMAGE_FOND", else a fill of colour at
  // opacity alpha), the dirty children at the container's offset unless in
  // mode 2, and a black frame 2 pixels thick. first is not used.
  virtual void Render(std::int32_t first, std::int32_t with_background);

  // Appends a copy of message, handled at the next Update.
  void Post(const MESSAGE& message);
  // The last child of the active list whose name, less a prefix of one or
  // two characters and a '_', is text; or null.
  SPRITE* Find_child(const char* text);
  void Mark_children(std::int32_t value);
  // Sizes the container to the picture of its child "IMAGE_FOND", else to
  // back_w by back_h; halved in mode 2. A background child without a
  // picture prints "No image IMAGE_FOND valid" and ends the process with -1.
  void Fit_background();
  // Prints a message's kind or text and its target's name.
  void Trace(const MESSAGE& message);

  // Adds the elements of the layout file at path to the active list and
  // sets colour, size and opacity from it. 1, or -1 when the file cannot
  // be opened.
  std::int32_t Load(const char* path);
  // Writes the active list as a layout file that Load reads back into the
  // same children. 1, or -1 when the file cannot be written.
  std::int32_t Save(const char* path);

  SPRITE* last_drawn = nullptr;
  std::int32_t slider_moving = 0;
  std::int32_t slider_value = 0;
  float slider_time = 0;
  std::uint32_t tick_now = 0;
  std::uint32_t tick_start = 0;
  VYR_ENGINE* active_slider = nullptr;
  std::int32_t size2_w, size2_h;
  std::int32_t size1_w, size1_h;
  std::int32_t reserved_sizes[2];
  float back_w, back_h;
  std::uint32_t colour = 0;
  std::int32_t reserved_flag = 1;
  char rc_name[RC_TEXT_SIZE] = {};
  char rc_path[RC_TEXT_SIZE] = {};
  std::int32_t mode = 1;
  std::vector<MESSAGE> queue;
  grains::CHILD_LIST* children;
  grains::CHILD_LIST mode1_children, mode4_children, mode2_children;
  // The milliseconds that slider_time counts; tests put their own clock here.
  std::uint32_t (*tick_clock)() = SDL_GetTicks;

 private:
  void show_list(std::int32_t new_mode, grains::CHILD_LIST& list, std::int32_t width, std::int32_t height);
  void track_slider(const MESSAGE& message);
  void route(const MESSAGE& message);
  bool any_child_dirty() const;
  void draw_background();
  bool draw_child(SPRITE& child);
  void draw_frame() const;
};
