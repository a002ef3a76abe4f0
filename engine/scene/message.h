// The messages that containers and widgets queue: a text or a copy of an
// input event, addressed to an element, and the queue widgets keep them in.
#pragma once

#include "scene/element.h"

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

// A plain record copied by value. kind 0 is a text message (read text);
// any other kind is an input event (read event).
struct MESSAGE {
  static constexpr int TEXT_SIZE = 640;  // 639 characters and the NUL

  // An empty text message for no one.
  MESSAGE();
  // A null text gives an empty one; a longer text keeps 639 characters.
  MESSAGE(std::int32_t kind, const SDL_Event& event, const char* text, VYR_ENGINE* target);

  // The copied event's type as SDL 1.2 numbers it, on every platform (5 for
  // a mouse button press, 6 for its release, 24 for SDL_USEREVENT); the
  // browser's SDL numbers event.type above 255.
  std::uint8_t event_type() const;

  std::int32_t kind;
  SDL_Event event;
  char text[TEXT_SIZE];
  VYR_ENGINE* target;
};

// A queue of messages owned by the widget that derives from it.
class MSG_RESPONDER {
 public:
  // Appends a copy of message at the end.
  void Post(const MESSAGE& message);

  std::vector<std::unique_ptr<MESSAGE>> queue;
};
