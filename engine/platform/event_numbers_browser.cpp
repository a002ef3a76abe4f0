// The browser's SDL (Emscripten's) numbers its event types as SDL 2 does;
// each becomes SDL 1.2's number here.
#include "platform/event_numbers.h"

#include <SDL.h>

namespace grains {

namespace {

// SDL 1.2's numbers.
constexpr std::uint8_t ACTIVE = 1, KEY_DOWN = 2, KEY_UP = 3, MOUSE_MOTION = 4, MOUSE_BUTTON_DOWN = 5,
                       MOUSE_BUTTON_UP = 6, JOY_AXIS_MOTION = 7, JOY_BALL_MOTION = 8, JOY_HAT_MOTION = 9,
                       JOY_BUTTON_DOWN = 10, JOY_BUTTON_UP = 11, QUIT = 12, SYSTEM_WINDOW = 13, VIDEO_RESIZE = 16,
                       VIDEO_EXPOSE = 17, FIRST_USER = 24, LAST_USER = 31;

}  // namespace

std::uint8_t sdl12_event_type(std::uint32_t type) {
  switch (type) {
    case SDL_ACTIVEEVENT: return ACTIVE;
    case SDL_KEYDOWN: return KEY_DOWN;
    case SDL_KEYUP: return KEY_UP;
    case SDL_MOUSEMOTION: return MOUSE_MOTION;
    case SDL_MOUSEBUTTONDOWN: return MOUSE_BUTTON_DOWN;
    case SDL_MOUSEBUTTONUP: return MOUSE_BUTTON_UP;
    case SDL_JOYAXISMOTION: return JOY_AXIS_MOTION;
    case SDL_JOYBALLMOTION: return JOY_BALL_MOTION;
    case SDL_JOYHATMOTION: return JOY_HAT_MOTION;
    case SDL_JOYBUTTONDOWN: return JOY_BUTTON_DOWN;
    case SDL_JOYBUTTONUP: return JOY_BUTTON_UP;
    case SDL_QUIT: return QUIT;
    case SDL_SYSWMEVENT: return SYSTEM_WINDOW;
    case SDL_VIDEORESIZE: return VIDEO_RESIZE;
    case SDL_VIDEOEXPOSE: return VIDEO_EXPOSE;
    default: break;
  }
  // SDL 1.2 keeps eight user event types.
  if (type >= SDL_USEREVENT && type <= SDL_USEREVENT + (LAST_USER - FIRST_USER))
    return static_cast<std::uint8_t>(FIRST_USER + (type - SDL_USEREVENT));
  return 0;
}

}  // namespace grains
