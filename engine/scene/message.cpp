#include "scene/message.h"

#include "platform/event_numbers.h"
#include "scene/text_field.h"

using grains::copy_text;

MESSAGE::MESSAGE() : kind(0), event{}, text{}, target(nullptr) {}

MESSAGE::MESSAGE(std::int32_t kind, const SDL_Event& event, const char* text, VYR_ENGINE* target)
    : kind(kind), event(event), text{}, target(target) {
  copy_text(this->text, text);
}

std::uint8_t MESSAGE::event_type() const { return grains::sdl12_event_type(event.type); }

void MSG_RESPONDER::Post(const MESSAGE& message) { queue.push_back(std::make_unique<MESSAGE>(message)); }
