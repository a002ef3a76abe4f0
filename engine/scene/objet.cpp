#include "scene/objet.h"

#include "draw/draw.h"
#include "platform/event_numbers.h"
#include "scene/text_field.h"
#include "scene/widgets.h"
#include "video/video.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using grains::CHILD_LIST;
using grains::copy_text;
using grains::cut;
using grains::text_integer;
using grains::video_started;

namespace {

// A container starts as a sprite of this picture at (100, 100), zoom 1
// and alpha 0, then moves to its own place.
constexpr const char* CONTAINER_PICTURE = "IMG_001";
// The child drawn as the container's background and giving its size.
constexpr const char* BACKGROUND_CHILD = "IMAGE_FOND";
constexpr std::uint32_t FRAME_COLOUR = 0xff000000;
constexpr int FRAME_THICKNESS = 2;

// Slider messages carry a number after their keyword and one separator.
constexpr std::size_t START_NUMBER_OFFSET = 14;   // after "SLD_MVT_START "
constexpr std::size_t CHANGE_NUMBER_OFFSET = 15;  // after "SLD_MVT_CHANGE "

bool contains(const char* text, const char* word) { return std::strstr(text, word) != nullptr; }

// The number from offset on, or 0 when the text ends before it.
int number_at(const char* text, std::size_t offset) {
  return std::strlen(text) >= offset ? text_integer(text + offset) : 0;
}

// A child's name less the prefix its container gave it: two characters
// and a '_', else one and a '_', else none.
const char* without_prefix(const char* name) {
  const std::size_t length = std::strlen(name);
  if (length > 2 && name[2] == '_') return name + 3;
  if (length > 1 && name[1] == '_') return name + 2;
  return name;
}

// Pictures drawn only as the background, or not at all ("FOND_MASK"
// included).
bool is_background_picture(const char* image) { return contains(image, "FOND") || contains(image, "SHADOW"); }

}  // namespace

OBJET::OBJET(int x, int y, const char* name)
    : SPRITE(CONTAINER_PICTURE, 100, 100, 0, 0, 0, 1.0f, 0, 0),
      size2_w(cut(w)),
      size2_h(cut(h)),
      size1_w(cut(w)),
      size1_h(cut(h)),
      reserved_sizes{cut(w), cut(h)},
      back_w(w),
      back_h(h),
      children(&mode1_children) {
  angle = 0;
  drawn_x = x;
  drawn_y = y;
  drawn_w = drawn_h = 0;
  surface_cache = nullptr;
  if (name == nullptr) {
    std::printf("Cannot Create OBJET withouth a name\n");
    std::exit(-1);
  }
  copy_text(rc_name, name);
  this->x = static_cast<float>(x);
  this->y = static_cast<float>(y);
}

void OBJET::Post(const MESSAGE& message) { queue.push_back(message); }

std::int32_t OBJET::Update() {
  touched = 0;
  std::vector<MESSAGE> messages;
  messages.swap(queue);
  if (slider_moving == 1) {
    tick_now = tick_clock();
    slider_time = static_cast<float>(tick_now - tick_start) / 1000.0f;
  }
  for (auto message = messages.rbegin(); message != messages.rend(); ++message) {
    touched = 1;
    if (contains(message->text, "SLD_MVT_")) Trace(*message);
    track_slider(*message);
    route(*message);
  }
  if (!messages.empty() && any_child_dirty()) Render(0, 1);
  return SPRITE::Update();
}

void OBJET::track_slider(const MESSAGE& message) {
  const char* text = message.text;
  if (message.kind != 0 || !contains(text, "SLD_MVT_")) return;
  if (contains(text, "SLD_MVT_START")) {
    slider_moving = 1;
    slider_value = number_at(text, START_NUMBER_OFFSET);
    active_slider = message.target;
    tick_start = tick_clock();
    tick_now = tick_clock();
  }
  if (contains(text, "SLD_MVT_CHANGE")) slider_value = number_at(text, CHANGE_NUMBER_OFFSET);
  if (contains(text, "SLD_MVT_STOP")) {
    active_slider = nullptr;
    slider_moving = 0;
    tick_start = tick_now;
  }
}

// Sliders and buttons get a copy in their own queue; other targets nothing.
void OBJET::route(const MESSAGE& message) {
  if (message.target == nullptr) {
    if (message.event_type() != grains::sdl12_event_type(SDL_USEREVENT)) std::printf("ZZZ\n");
  } else if (auto* slider = dynamic_cast<SLIDER*>(message.target)) {
    slider->Post(message);
  } else if (auto* button = dynamic_cast<BUTTON*>(message.target)) {
    button->Post(message);
  }
}

bool OBJET::any_child_dirty() const {
  return std::any_of(children->begin(), children->end(), [](const auto& child) { return child->dirty == 1; });
}

void OBJET::Trace(const MESSAGE& message) {
  if (message.kind != 0) {
    if (message.target != nullptr) std::printf("MESSAGE event = %d->[%s]\n", message.kind, message.target->name);
    else std::printf("MESSAGE event = %d\n", message.kind);
  } else if (message.target != nullptr) {
    std::printf("MESSAGE Message = [%s]->[%s]\n", message.text, message.target->name);
  }
}

std::int32_t OBJET::Switch_mode(std::int32_t new_mode) {
  if (new_mode == 0) new_mode = mode == 1 ? 2 : 1;
  if (new_mode == 1) show_list(1, mode1_children, size1_w, size1_h);
  if (new_mode == 4) show_list(4, mode4_children, size1_w, size1_h);
  if (new_mode == 2) show_list(2, mode2_children, size2_w, size2_h);
  Fit_background();
  Mark_children(1);
  Render(0, 1);
  dirty = changed = 1;
  return 1;
}

void OBJET::show_list(std::int32_t new_mode, CHILD_LIST& list, std::int32_t width, std::int32_t height) {
  mode = new_mode;
  children = &list;
  back_w = static_cast<float>(width);
  back_h = static_cast<float>(height);
}

SPRITE* OBJET::Find_child(const char* text) {
  if (text == nullptr) return nullptr;
  for (auto child = children->rbegin(); child != children->rend(); ++child)
    if (std::strcmp(without_prefix((*child)->name), text) == 0) return child->get();
  return nullptr;
}

void OBJET::Mark_children(std::int32_t value) {
  for (const auto& child : *children) child->dirty = child->changed = value;
}

void OBJET::Fit_background() {
  std::uint16_t width, height;
  if (SPRITE* background = Find_child(BACKGROUND_CHILD)) {
    const SDL_Surface* picture = background->Get_surface();
    if (picture == nullptr) {
      std::printf("No image IMAGE_FOND valid\n");
      video_started("OBJET::Fit_background (which Load, Render and Switch_mode call)");
      std::exit(-1);
    }
    width = static_cast<std::uint16_t>(picture->w);
    height = static_cast<std::uint16_t>(picture->h);
  } else {
    width = static_cast<std::uint16_t>(cut(back_w));
    height = static_cast<std::uint16_t>(cut(back_h));
  }
  const bool full_size = mode == 1 || mode == 4;
  w = full_size ? width : width / 2;
  h = full_size ? height : height / 2;
}

void OBJET::Render(std::int32_t, std::int32_t with_background) {
  if (w <= 0) Fit_background();
  if (h <= 0) Fit_background();
  if (with_background != 0) draw_background();
  bool drew_a_child = false;
  for (const auto& child : *children) {
    drew_a_child |= draw_child(*child);
    last_drawn = child.get();
  }
  if (drew_a_child) dirty = 1;
  draw_frame();
  // After what the drawing itself printed (a missing picture, say).
  video_started("OBJET::Render");
}

// The background child is drawn at the container's place, at half size in
// mode 2, and put back; without one the container fills back_w by back_h.
void OBJET::draw_background() {
  SPRITE* background = Find_child(BACKGROUND_CHILD);
  if (background == nullptr) {
    colour &= 0x00FFFFFF;
    draw_filled_rect(cut(x), cut(y), cut(back_w), cut(back_h), colour | static_cast<std::uint32_t>(alpha) << 24);
    return;
  }
  const float child_x = background->x, child_y = background->y;
  background->x += x;
  background->y += y;
  if (mode == 2) {
    background->zoom = 0.5f;
    background->x -= background->w / 4;
    background->y -= background->h / 4;
  }
  back_w = background->w;
  back_h = background->h;
  background->Draw(0);
  if (mode == 2) background->zoom = 1.0f;
  background->x = child_x;
  background->y = child_y;
}

// Refreshes a child and draws it when dirty (never in mode 2), moved by
// the container's place and put back. Returns whether it was drawn.
bool OBJET::draw_child(SPRITE& child) {
  const float child_x = child.x, child_y = child.y;
  child.Update();
  bool drawn = false;
  if (child.dirty == 1 && mode != 2) {
    if (auto* label = dynamic_cast<LABEL*>(&child)) {
      label->x += x - static_cast<float>(view_offset_x);
      label->y += y - static_cast<float>(view_offset_y);
      label->Draw(0);
      drawn = true;
    } else if (!is_background_picture(child.image)) {
      child.x += x;
      child.y += y;
      child.Draw(0);
      child.dirty = 0;
      drawn = true;
    }
  }
  child.x = child_x;
  child.y = child_y;
  return drawn;
}

void OBJET::draw_frame() const {
  const int left = cut(x), top = cut(y), width = cut(w), height = cut(h), band = FRAME_THICKNESS;
  draw_filled_rect(left, top, width, band, FRAME_COLOUR);
  draw_filled_rect(left, top, band, height, FRAME_COLOUR);
  draw_filled_rect(left + width - band, top, band, height, FRAME_COLOUR);
  draw_filled_rect(left, top + height - band, width, band, FRAME_COLOUR);
}
