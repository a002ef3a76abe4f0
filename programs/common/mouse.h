// The mouse as the programs see it, and what each mouse event does to it.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>

class GrainRules;

struct MousePosition {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// The last known mouse state, written only by the event pump.
struct MOUSE_STATE {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t left_held = 0;
  std::int32_t middle_held = 0;
  std::int32_t right_held = 0;
  MousePosition left_press, left_release;
  MousePosition middle_press, middle_release;
  MousePosition right_press, right_release;
};

enum class MouseEventKind { motion, button_down, button_up };

enum MouseButton : std::uint8_t { BUTTON_LEFT = 1, BUTTON_MIDDLE = 2, BUTTON_RIGHT = 3 };

// One mouse event with SDL's 16-bit window coordinates.
struct MouseEvent {
  MouseEventKind kind;
  std::uint16_t x;
  std::uint16_t y;
  std::uint8_t button;  // for button events
};

// The program-wide mouse record.
extern MOUSE_STATE mouse_state;

// The mouse part of an SDL event; nothing for every other event type.
std::optional<MouseEvent> mouse_event_from_sdl(const SDL_Event& event);

// Updates the mouse record and applies the program's click action and drag
// brushes, as the event pump does for every mouse event.
void handle_mouse_event(MOUSE_STATE& mouse, const MouseEvent& event, GrainRules& rules);
