// On the desktop SDL is SDL 1.2: its event types are the engine's.
#include "platform/event_numbers.h"

#include <SDL.h>

namespace grains {

static_assert(SDL_MOUSEMOTION == 4 && SDL_MOUSEBUTTONDOWN == 5 && SDL_MOUSEBUTTONUP == 6 && SDL_USEREVENT == 24,
              "SDL 1.2's event numbers");

std::uint8_t sdl12_event_type(std::uint32_t type) { return static_cast<std::uint8_t>(type); }

}  // namespace grains
