// Whole-frame timings of every program by both drawing paths, in a real
// window: spawn, scan, drawing, presentation and buffer swap.
//   frame_bench [SECONDS_PER_CASE]
// Prints one line per case: frame PROGRAM LOAD PATH MS_PER_FRAME FRAMES, the
// median frame, as other work on a shared machine makes some frames slow.
// LOAD is "typical" (after 1000 frames without input) or "full" (every
// simulated cell refilled with a moving grain before each frame, untimed).
#include "common/cell_drawing.h"
#include "common/grain_program.h"
#include "common/start_up.h"
#include "grains_sim/program_registry.h"
#include "video/video.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double median_frame_milliseconds(const std::string& program, bool full, CellDrawing& drawing, double seconds_per_case,
                                 long& frames) {
  auto rules = make_grain_rules(program);
  rules->clear_grid();
  MOUSE_STATE mouse;
  const std::vector<MouseEvent> no_events;
  NullPainter none;
  for (int frame = 0; frame < 1000 && !full; ++frame) step_frame(*rules, mouse, no_events, none);
  std::chrono::duration<double> timed{0};
  std::vector<double> milliseconds;
  for (frames = 0; frames < 5 || timed.count() < seconds_per_case; ++frames) {
    // Filled before the clock starts: the fill is not part of a frame.
    if (full) rules->fill_with_grains();
    const auto start = Clock::now();
    step_frame_in_window(*rules, mouse, no_events, drawing);
    SDL_GL_SwapBuffers();
    glFinish();
    const std::chrono::duration<double> frame_time = Clock::now() - start;
    timed += frame_time;
    milliseconds.push_back(frame_time.count() * 1000.0);
  }
  std::nth_element(milliseconds.begin(), milliseconds.begin() + frames / 2, milliseconds.end());
  return milliseconds[frames / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds_per_case = argc > 1 ? std::atof(argv[1]) : 1.0;
  start_video(WINDOW_WIDTH, WINDOW_HEIGHT, nullptr);
  PointDrawing points;
  UploadDrawing upload;
  for (const std::string& program : grain_program_names())
    for (const bool full : {false, true})
      for (CellDrawing* drawing : {static_cast<CellDrawing*>(&points), static_cast<CellDrawing*>(&upload)}) {
        long frames = 0;
        const double ms = median_frame_milliseconds(program, full, *drawing, seconds_per_case, frames);
        std::printf("frame %s %s %s %.3f %ld\n", program.c_str(), full ? "full" : "typical",
                    drawing == &points ? "points" : "upload", ms, frames);
        std::fflush(stdout);
      }
  return 0;
}
