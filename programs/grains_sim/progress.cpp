#include "grains_sim/progress.h"

#include <unistd.h>

#include <cstdio>

namespace {

constexpr std::chrono::milliseconds REFRESH{500};

}  // namespace

Progress::Progress(long total_frames)
    : shown_(isatty(STDERR_FILENO) == 1), total_(total_frames), start_(Clock::now()), next_report_(start_ + REFRESH) {}

void Progress::frame_done(long frames_done) {
  if (!shown_) return;
  const Clock::time_point now = Clock::now();
  if (now < next_report_) return;
  next_report_ = now + REFRESH;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  std::fprintf(stderr, "\rgrains_sim: frame %ld of %ld (%ld%%), %.0f frames a second ", frames_done, total_,
               total_ > 0 ? frames_done * 100 / total_ : 100L, frames_done / seconds);
  std::fflush(stderr);
  printed_ = true;
}

Progress::~Progress() {
  if (printed_) std::fprintf(stderr, "\r\033[K");
}
