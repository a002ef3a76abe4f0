// How far a long run has got, on standard error when it is a terminal:
// frames done, percent and frames a second, refreshed about twice a second
// on one line. Nothing is printed when standard error is not a terminal.
#pragma once

#include <chrono>

class Progress {
 public:
  explicit Progress(long total_frames);
  // After each frame: frames done so far.
  void frame_done(long frames_done);
  // Clears the line once the run is over.
  ~Progress();

 private:
  using Clock = std::chrono::steady_clock;
  const bool shown_;
  const long total_;
  const Clock::time_point start_;
  Clock::time_point next_report_;
  bool printed_ = false;
};
