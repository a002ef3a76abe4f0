#include "common/web_pointer.h"

#include <SDL.h>

// In web/sdl_canvas.js.
extern "C" void grains_leave_canvas_events_to_page();

namespace {

// The buttons held, as SDL's motion events carry them.
Uint32 held_buttons = 0;

}  // namespace

void leave_pointer_to_page() { grains_leave_canvas_events_to_page(); }

void queue_mouse_event(MouseEventKind kind, int x, int y, int button) {
  SDL_Event event{};
  if (kind == MouseEventKind::motion) {
    event.type = SDL_MOUSEMOTION;
    event.motion.state = held_buttons;
    event.motion.x = x;
    event.motion.y = y;
  } else {
    const bool down = kind == MouseEventKind::button_down;
    if (button >= 1 && button <= 32) {
      if (down) held_buttons |= SDL_BUTTON(button);
      else held_buttons &= ~SDL_BUTTON(button);
    }
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = static_cast<Uint8>(button);
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = x;
    event.button.y = y;
  }
  SDL_PushEvent(&event);
}

void drop_queued_events() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
  }
  held_buttons = 0;
}
