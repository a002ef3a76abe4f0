// The desktop's frame loop: frames until SIGINT or SIGTERM, which make the
// frame in progress the last one shown.
#include "common/program_main.h"

#include "common/grain_program.h"
#include "common/png_file.h"
#include "common/stop_signals.h"
#include "common/window_snapshot.h"
#include "scene/objet.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The frame about to be shown, as GRAINS_SNAPSHOT asks.
void keep_snapshot() {
  const char* path = std::getenv("GRAINS_SNAPSHOT");
  if (path == nullptr || *path == '\0') return;
  const std::vector<std::uint32_t> frame = read_frame_to_show(WINDOW_WIDTH, WINDOW_HEIGHT);
  std::string error;
  if (!write_png(path, WINDOW_WIDTH, WINDOW_HEIGHT, frame.data(), error))
    std::fprintf(stderr, "GRAINS_SNAPSHOT: cannot write %s: %s\n", path, error.c_str());
}

}  // namespace

int run_grain_program(const std::string& name, GrainRules& rules) {
  start_program(StartUpBanners::printed);
  // The root container; the frame loop neither updates nor draws it.
  [[maybe_unused]] OBJET* const root_object = new OBJET(0, 0, "1");

  GrainProgram program(name, rules);
  for (;;) {
    program.next_frame();
    const bool last = stop_requested();
    if (last) keep_snapshot();
    SDL_GL_SwapBuffers();
    if (last) {
      program.end_recording();
      end_by_stop_signal();
    }
  }
}
