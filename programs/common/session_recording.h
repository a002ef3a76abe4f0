// A live session's mouse input, written as it is handled so that grains_sim
// can replay it frame for frame (GRAINS_RECORD=FILE).
#pragma once

#include "common/mouse.h"

#include <cstdio>
#include <memory>
#include <string>

class SessionRecording {
 public:
  // The recording GRAINS_RECORD asks for, or null when it is not set or its
  // file cannot be opened (then with one line on standard error).
  static std::unique_ptr<SessionRecording> from_environment(const std::string& program);

  SessionRecording(const SessionRecording&) = delete;
  SessionRecording& operator=(const SessionRecording&) = delete;
  ~SessionRecording();

  // An event handled at the start of frame `frame` (frames counted from 0).
  void event(long frame, const MouseEvent& event);
  // Hands the frame's lines to the file before the next frame starts, so
  // that a program killed at any moment leaves a file that replays.
  void end_of_events();
  // Ends the file with the number of frames whose scan has run.
  void finish(long frames);

 private:
  SessionRecording(std::FILE* file, std::string path);
  // Writes a line; on a failure stops recording.
  void write(const std::string& line);
  // Says that the file cannot be written, once, and records no more.
  void stop_recording();

  std::FILE* file_;
  std::string path_;
  bool unwritten_ = false;  // lines since the last flush
};
