#include "platform/page_pointer.h"

#include <SDL.h>
#include <emscripten.h>

#include <cstdint>
#include <deque>

// In engine/platform/sdl_browser.js.
extern "C" void grains_leave_canvas_events_to_page();

namespace grains {
namespace {

// The buttons held, as SDL's motion events carry them, and the last
// position queued, which a motion's move counts from.
Uint32 held_buttons = 0;
int last_x = 0, last_y = 0;
bool pointer_ignored = false;

// The page's pointer events and the program's own pushed events, not yet
// polled. The browser SDL's SDL_PushEvent keeps only the first 32 bytes of
// an event (a motion's yrel is lost) and its SDL_PeepEvents never hands a
// pushed event back; so they wait here, and SDL_PollEvent hands them out
// before the browser SDL's own.
std::deque<SDL_Event> pointer_events;

// SDL 1.2 keeps coordinates in 16 bits.
int as_sdl12_coordinate(int position) { return static_cast<std::uint16_t>(position); }

}  // namespace

void take_pointer_from_page() { grains_leave_canvas_events_to_page(); }

void queue_pointer_event(PagePointerKind kind, int x, int y, int button) {
  x = as_sdl12_coordinate(x);
  y = as_sdl12_coordinate(y);
  SDL_Event event{};
  if (kind == PAGE_POINTER_MOTION) {
    event.type = SDL_MOUSEMOTION;
    event.motion.state = held_buttons;
    event.motion.x = x;
    event.motion.y = y;
    event.motion.xrel = static_cast<std::int16_t>(x - last_x);
    event.motion.yrel = static_cast<std::int16_t>(y - last_y);
  } else {
    const bool down = kind == PAGE_POINTER_DOWN;
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
  last_x = x;
  last_y = y;
  pointer_events.push_back(event);
}

void drop_queued_events() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
  }
  held_buttons = 0;
}

void ignore_page_pointer(bool ignored) { pointer_ignored = ignored; }

}  // namespace grains

extern "C" {

// SDL's own, in the browser: the page's pointer events, then the browser
// SDL's. Asked whether an event waits (event null), it tells of the
// pointer's only.
int SDL_PollEvent(SDL_Event* event) {
  auto& pointer_events = grains::pointer_events;
  if (event == nullptr) return pointer_events.empty() ? 0 : 1;
  if (pointer_events.empty()) return SDL_PeepEvents(event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0 ? 1 : 0;
  *event = pointer_events.front();
  pointer_events.pop_front();
  return 1;
}

// SDL's own, in the browser: the event waits with the page's pointer events.
int SDL_PushEvent(SDL_Event* event) {
  grains::pointer_events.push_back(*event);
  return 0;
}

// One sample of the page's pointer: kind 0 motion, 1 button down, 2 button
// up, at window pixels (x, y), with SDL's button number.
EMSCRIPTEN_KEEPALIVE void grains_pointer_event(int kind, int x, int y, int button) {
  using namespace grains;
  if (pointer_ignored || kind < PAGE_POINTER_MOTION || kind > PAGE_POINTER_UP) return;
  queue_pointer_event(static_cast<PagePointerKind>(kind), x, y, button);
}
}
