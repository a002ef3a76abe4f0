// The browser's frame loop: each animation frame of the page runs one frame.
// A page that steps the program itself (Module.grainsStepByHand, for tests)
// runs no frames of its own and calls grains_step instead, so that no timing
// decides which frame is shown.
#include "common/grain_program.h"
#include "common/program_main.h"
#include "scene/objet.h"

#include <GL/gl.h>
#include <emscripten.h>

#include <cstdint>
#include <vector>

namespace {

GrainProgram* program = nullptr;

void animation_frame() { program->next_frame(); }

}  // namespace

extern "C" {

// Runs frames (each up to its swap) and returns the frames run so far.
EMSCRIPTEN_KEEPALIVE long grains_step(int frames) {
  for (int frame = 0; frame < frames; ++frame) program->next_frame();
  return program->frames();
}

// The last frame drawn, 1024x768 pixels of red, green, blue and alpha bytes,
// bottom row first as GL reads them; valid until the next call. Call it in
// the same task as the frame's grains_step, before the page composites it.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* grains_frame_pixels() {
  static std::vector<std::uint8_t> pixels(static_cast<std::size_t>(WINDOW_WIDTH) * WINDOW_HEIGHT * 4);
  glReadPixels(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels.data();
}

// For benchmarks: fills every simulated cell with a moving grain, as
// grains_sim --full does before each frame.
EMSCRIPTEN_KEEPALIVE void grains_fill_with_grains() { program->fill_with_grains(); }

}  // extern "C"

int run_grain_program(const std::string& name, GrainRules& rules) {
  start_program(StartUpBanners::printed);
  // The root container; the frame loop neither updates nor draws it.
  [[maybe_unused]] OBJET* const root_object = new OBJET(0, 0, "1");
  program = new GrainProgram(name, rules);
  const bool stepped_by_page = EM_ASM_INT({ return Module.grainsStepByHand ? 1 : 0; }) != 0;
  if (!stepped_by_page) emscripten_set_main_loop(animation_frame, 0, 1);
  return 0;
}
