#include "common/web_session.h"

#include "platform/page_pointer.h"

#include <fstream>
#include <sstream>

using namespace grains;

namespace {

PagePointerKind page_pointer_kind(MouseEventKind kind) {
  switch (kind) {
    case MouseEventKind::motion: return PAGE_POINTER_MOTION;
    case MouseEventKind::button_down: return PAGE_POINTER_DOWN;
    case MouseEventKind::button_up: break;
  }
  return PAGE_POINTER_UP;
}

}  // namespace

std::string recording_with_frame_count(const std::string& path, long frames) {
  std::ifstream file(path);
  if (!file) return "";
  std::ostringstream text;
  text << file.rdbuf() << frames_line(frames) << '\n';
  return text.str();
}

std::optional<SessionPlayback> SessionPlayback::open(const std::string& path, std::string& error) {
  std::ifstream file(path);
  if (!file) {
    error = "cannot read " + path;
    return std::nullopt;
  }
  EventsScript script = read_events_script(file);
  if (!script.error.empty()) {
    error = script.error;
    return std::nullopt;
  }
  return SessionPlayback(std::move(script));
}

void SessionPlayback::queue_events_of(long frame) {
  const auto& events = script_.events;
  for (; next_ < events.size() && events[next_].frame <= frame; ++next_) {
    const MouseEvent& event = events[next_].event;
    queue_pointer_event(page_pointer_kind(event.kind), event.x, event.y, event.button);
  }
}
