#include "common/mouse.h"

#include "common/grain_rules.h"

MOUSE_STATE mouse_state;

namespace {

// SDL 1.2's coordinates are 16-bit unsigned; other SDLs (the browser's) give
// them wider, and they are kept as the programs know them.
MouseEvent mouse_event(MouseEventKind kind, int x, int y, std::uint8_t button) {
  return {kind, static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y), button};
}

}  // namespace

std::optional<MouseEvent> mouse_event_from_sdl(const SDL_Event& event) {
  switch (event.type) {
    case SDL_MOUSEMOTION: return mouse_event(MouseEventKind::motion, event.motion.x, event.motion.y, 0);
    case SDL_MOUSEBUTTONDOWN:
      return mouse_event(MouseEventKind::button_down, event.button.x, event.button.y, event.button.button);
    case SDL_MOUSEBUTTONUP:
      return mouse_event(MouseEventKind::button_up, event.button.x, event.button.y, event.button.button);
    default: return std::nullopt;
  }
}

namespace {

void press(MOUSE_STATE& mouse, std::uint8_t button, GrainRules& rules) {
  const MousePosition at{mouse.x, mouse.y};
  if (button == BUTTON_MIDDLE) {
    mouse.middle_press = at;
    mouse.middle_held = 1;
  }
  if (button == BUTTON_LEFT) {
    rules.left_click(mouse);
    mouse.left_held = 1;
    mouse.left_press = at;
  }
  if (button == BUTTON_RIGHT) {
    mouse.right_held = 1;
    mouse.right_press = at;
  }
}

void release(MOUSE_STATE& mouse, std::uint8_t button) {
  const MousePosition at{mouse.x, mouse.y};
  if (button == BUTTON_MIDDLE) {
    mouse.middle_release = at;
    mouse.middle_held = 0;
  }
  if (button == BUTTON_LEFT) {
    mouse.left_held = 0;
    mouse.left_release = at;
  }
  if (button == BUTTON_RIGHT) {
    mouse.right_held = 0;
    mouse.right_release = at;
  }
}

}  // namespace

void handle_mouse_event(MOUSE_STATE& mouse, const MouseEvent& event, GrainRules& rules) {
  mouse.x = event.x;
  mouse.y = event.y;
  switch (event.kind) {
    case MouseEventKind::motion: rules.mouse_motion(mouse); break;
    case MouseEventKind::button_down: press(mouse, event.button, rules); break;
    case MouseEventKind::button_up: release(mouse, event.button); break;
  }
}
