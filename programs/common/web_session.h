// A session in the page: the recording the page always keeps, handed out
// with its frame count, and a session file played from frame 0.
#pragma once

#include "common/events_script.h"

#include <optional>
#include <string>

// Where the page records its session when GRAINS_RECORD does not say.
constexpr const char* PAGE_RECORDING_PATH = "/session.txt";

// The recording at path, ended with the "# frames N" line of the frames
// shown so far: what grains_sim replays to the picture shown now. Empty
// when there is no recording.
std::string recording_with_frame_count(const std::string& path, long frames);

// A session file played frame by frame, its events queued as the pointer's.
class SessionPlayback {
 public:
  // The session in the file at path; nothing, with the reason in error,
  // when it cannot be read.
  static std::optional<SessionPlayback> open(const std::string& path, std::string& error);

  // Queues the events of frame (frames counted from 0).
  void queue_events_of(long frame);
  // The frames the session runs, as grains_sim counts them.
  long frames() const { return script_.run_length(); }

 private:
  explicit SessionPlayback(EventsScript script) : script_(std::move(script)) {}

  EventsScript script_;
  std::size_t next_ = 0;
};
