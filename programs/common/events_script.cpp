#include "common/events_script.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <sstream>

namespace {

// Frames are counted in 32 bits wherever the programs run: a year of frames
// at 60 a second.
constexpr long MAX_FRAME = std::numeric_limits<std::int32_t>::max();

// A whole token as a decimal integer within [low, high].
bool parse_number(const std::string& token, long low, long high, long& value) {
  const char* end = token.data() + token.size();
  const auto [stop, problem] = std::from_chars(token.data(), end, value);
  return problem == std::errc() && stop == end && value >= low && value <= high;
}

bool parse_kind(const std::string& token, MouseEventKind& kind) {
  if (token == "motion") kind = MouseEventKind::motion;
  else if (token == "down") kind = MouseEventKind::button_down;
  else if (token == "up") kind = MouseEventKind::button_up;
  else return false;
  return true;
}

bool parse_line(const std::string& line, ScriptedEvent& scripted) {
  std::istringstream fields(line);
  std::vector<std::string> tokens;
  for (std::string token; fields >> token;) tokens.push_back(token);
  if (tokens.size() != 4 && tokens.size() != 5) return false;

  MouseEventKind kind;
  long frame, x, y, button = 0;
  if (!parse_number(tokens[0], 0, MAX_FRAME, frame) || !parse_kind(tokens[1], kind) ||
      !parse_number(tokens[2], 0, 65535, x) || !parse_number(tokens[3], 0, 65535, y))
    return false;
  const bool needs_button = kind != MouseEventKind::motion;
  if (tokens.size() == 5 && !parse_number(tokens[4], 1, 255, button)) return false;
  if (needs_button && tokens.size() != 5) return false;

  scripted = {frame,
              {kind, static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y), static_cast<std::uint8_t>(button)}};
  return true;
}

bool skipped(const std::string& line) {
  const auto first = line.find_first_not_of(" \t\r");
  return first == std::string::npos || line[first] == '#';
}

// N of a "# frames N" comment.
std::optional<long> frames_of(const std::string& line) {
  std::istringstream fields(line);
  std::string hash, word, count, rest;
  long frames;
  if (fields >> hash >> word >> count && !(fields >> rest) && hash == "#" && word == "frames" &&
      parse_number(count, 0, MAX_FRAME, frames))
    return frames;
  return std::nullopt;
}

const char* kind_name(MouseEventKind kind) {
  switch (kind) {
    case MouseEventKind::motion: return "motion";
    case MouseEventKind::button_down: return "down";
    case MouseEventKind::button_up: return "up";
  }
  return "";
}

}  // namespace

EventsScript read_events_script(std::istream& in) {
  EventsScript script;
  std::string line;
  for (long number = 1; std::getline(in, line); ++number) {
    if (skipped(line)) {
      if (const auto frames = frames_of(line)) script.frames = frames;
      continue;
    }
    ScriptedEvent scripted;
    if (!parse_line(line, scripted)) {
      script.error = "line " + std::to_string(number) + ": malformed event: " + line;
      script.events.clear();
      return script;
    }
    script.events.push_back(scripted);
  }
  std::stable_sort(script.events.begin(), script.events.end(),
                   [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.frame < b.frame; });
  return script;
}

std::string event_line(long frame, const MouseEvent& event) {
  std::string line = std::to_string(frame) + " " + kind_name(event.kind) + " " + std::to_string(event.x) + " " +
                     std::to_string(event.y);
  if (event.kind != MouseEventKind::motion) line += " " + std::to_string(event.button);
  return line;
}

std::string frames_line(long frames) { return "# frames " + std::to_string(frames); }
