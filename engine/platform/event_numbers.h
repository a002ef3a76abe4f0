// The engine's messages keep an SDL event's type in one byte, as SDL 1.2
// numbers its types (mouse motion 4, button press 5 and release 6, user
// events from 24). The browser's SDL numbers them above 255 (SDL 2's
// numbers): there each type is translated to SDL 1.2's, so that messages
// compare the same everywhere. event_numbers_desktop.cpp and
// event_numbers_browser.cpp are the two platforms' (CMake builds one).
#pragma once

#include <cstdint>

namespace grains {

// SDL 1.2's number of the platform's SDL event type `type` (0 for a type
// SDL 1.2 does not have).
std::uint8_t sdl12_event_type(std::uint32_t type);

}  // namespace grains
