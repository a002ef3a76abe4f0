// grains_sim's events file reader on any bytes.
#include "fuzz_input.h"
#include "grains_sim/events_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in = bytes_stream(data, size);
  const EventsScript script = read_events_script(in);
  require(script.error.empty() || script.events.empty());
  for (std::size_t i = 0; i < script.events.size(); ++i) {
    const MouseEvent& event = script.events[i].event;
    require(script.events[i].frame >= 0);
    require(event.kind == MouseEventKind::motion || (event.button >= 1 && event.button <= 3));
    require(i == 0 || script.events[i - 1].frame <= script.events[i].frame);
  }
  return 0;
}
