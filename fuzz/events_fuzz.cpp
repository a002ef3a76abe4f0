// grains_sim's events file reader on any bytes.
#include "common/events_script.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in = bytes_stream(data, size);
  const EventsScript script = read_events_script(in);
  require(script.error.empty() || script.events.empty());
  for (std::size_t i = 0; i < script.events.size(); ++i) {
    const MouseEvent& event = script.events[i].event;
    require(script.events[i].frame >= 0);
    require(event.kind == MouseEventKind::motion || event.button >= 1);
    std::istringstream again(event_line(script.events[i].frame, event));
    const EventsScript reread = read_events_script(again);
    require(reread.events.size() == 1 && reread.events[0].frame == script.events[i].frame);
    require(i == 0 || script.events[i - 1].frame <= script.events[i].frame);
  }
  return 0;
}
