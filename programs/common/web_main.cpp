// The browser's frame loop: each animation frame of the page runs one frame.
// A page that steps the program itself (Module.grainsStepByHand, for tests)
// runs no frames of its own and calls grains_step instead, so that no timing
// decides which frame is shown.
//
// The page (web/page.js) hands the program its pointer (through the
// engine's page_pointer.h), and keeps the session: the program always
// records what it handles (GRAINS_RECORD, by default in the page's file
// system), the page downloads it with its frame count, and a session file
// opened in the page plays from frame 0 in a fresh program, as grains_sim
// replays it.
#include "common/grain_program.h"
#include "common/program_main.h"
#include "common/web_session.h"
#include "grains_sim/program_registry.h"
#include "platform/page_pointer.h"
#include "scene/objet.h"

#include <GL/gl.h>
#include <emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

using grains::drop_queued_events;
using grains::ignore_page_pointer;
using grains::queue_pointer_event;

namespace {

std::string program_name;
// Fresh rules, made when a session file plays from frame 0 (until then the
// program runs on its own).
std::unique_ptr<GrainRules> fresh_rules;
std::unique_ptr<GrainProgram> program;
// The session file being played, while it plays.
std::optional<SessionPlayback> playback;

// A session that ends with a button held would leave it held for the
// player's pointer, which never pressed it: the session's last frame is
// followed by its release where the session left the pointer.
void release_buttons_left_held() {
  const std::pair<std::int32_t, int> buttons[] = {{mouse_state.left_held, BUTTON_LEFT},
                                                  {mouse_state.middle_held, BUTTON_MIDDLE},
                                                  {mouse_state.right_held, BUTTON_RIGHT}};
  for (const auto& [held, button] : buttons)
    if (held != 0) queue_pointer_event(grains::PAGE_POINTER_UP, mouse_state.x, mouse_state.y, button);
}

// The player's pointer is ignored while a session file plays.
void end_playback() {
  playback.reset();
  release_buttons_left_held();
  ignore_page_pointer(false);
}

void run_frame() {
  if (playback) playback->queue_events_of(program->frames());
  program->next_frame();
  if (playback && program->frames() >= playback->frames()) end_playback();
}

// The program as it starts, with its grid's static defaults, the random
// source at its start, a fresh mouse record and a fresh recording.
void start_afresh() {
  program.reset();  // ends the recording before the new one replaces it
  fresh_rules = make_grain_rules(program_name);
  mouse_state = MOUSE_STATE{};
  drop_queued_events();
  program = std::make_unique<GrainProgram>(program_name, *fresh_rules);
}

const char* recording_path() { return std::getenv("GRAINS_RECORD"); }

}  // namespace

extern "C" {

// Runs frames (each up to its swap) and returns the frames run so far.
EMSCRIPTEN_KEEPALIVE long grains_step(int frames) {
  for (int frame = 0; frame < frames; ++frame) run_frame();
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

// The session recorded so far with its "# frames N" line; empty when
// nothing is recorded. Valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* grains_session_text() {
  static std::string text;
  text = recording_path() == nullptr ? "" : recording_with_frame_count(recording_path(), program->frames());
  return text.c_str();
}

// Plays the session file at path from frame 0 in a fresh program. Returns
// "" when it plays, else why it cannot.
EMSCRIPTEN_KEEPALIVE const char* grains_play_session(const char* path) {
  static std::string error;
  error.clear();
  std::optional<SessionPlayback> session = SessionPlayback::open(path, error);
  if (!session) return error.c_str();
  start_afresh();
  playback = std::move(session);
  ignore_page_pointer(true);
  if (playback->frames() == 0) end_playback();
  return "";
}

// The frames left to play of the session file, 0 when none plays.
EMSCRIPTEN_KEEPALIVE long grains_playback_frames_left() {
  return playback ? playback->frames() - program->frames() : 0;
}

}  // extern "C"

int run_grain_program(const std::string& name, GrainRules& own_rules) {
  start_program(StartUpBanners::printed);
  // The root container; the frame loop neither updates nor draws it.
  [[maybe_unused]] OBJET* const root_object = new OBJET(0, 0, "1");
  setenv("GRAINS_RECORD", PAGE_RECORDING_PATH, 0);
  program_name = name;
  program = std::make_unique<GrainProgram>(name, own_rules);
  const bool stepped_by_page = EM_ASM_INT({ return Module.grainsStepByHand ? 1 : 0; }) != 0;
  if (!stepped_by_page) emscripten_set_main_loop(run_frame, 0, 1);
  return 0;
}
