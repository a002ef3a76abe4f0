// grains_sim: runs a grain program's start-up grid steps and frames with no
// window, from scripted mouse input, for tests, benchmarks and reproducible
// runs. The rules, the random draws and the painted pixels are the
// windowed program's own.
#include "common/frame_painter.h"
#include "common/png_file.h"
#include "grains_sim/events_script.h"
#include "grains_sim/program_registry.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>

namespace {

struct Options {
  std::string program;
  long frames = 1000;
  long warmup = 0;
  bool full = false;
  std::string events_path;
  std::string dump_path;
  std::string png_path;
  bool bench = false;
};

int fail(const std::string& message, int status = 1) {
  std::fprintf(stderr, "grains_sim: %s\n", message.c_str());
  return status;
}

// Runs the warm-up and timed frames; the last one is painted when a picture
// is wanted. Returns the seconds the timed frames spent in spawn and scan.
double run_frames(GrainRules& rules, const Options& options, const EventsScript& script,
                  FramePainter* picture) {
  using Clock = std::chrono::steady_clock;
  MOUSE_STATE mouse;
  NullPainter no_picture;
  std::size_t next_event = 0;
  const long last_frame = options.warmup + options.frames - 1;
  std::chrono::duration<double> timed{0};
  for (long frame = 0; frame <= last_frame; ++frame) {
    for (; next_event < script.events.size() && script.events[next_event].frame == frame; ++next_event)
      handle_mouse_event(mouse, script.events[next_event].event, rules);
    if (options.full) rules.fill_with_grains();
    const bool painted = picture != nullptr && frame == last_frame;
    const auto start = Clock::now();
    rules.spawn();
    rules.scan(painted ? static_cast<CellPainter&>(*picture) : no_picture);
    if (frame >= options.warmup) timed += Clock::now() - start;
  }
  return timed.count();
}

int run(const Options& options) {
  EventsScript script;
  if (!options.events_path.empty()) {
    std::ifstream in(options.events_path);
    if (!in) return fail("cannot read events file " + options.events_path);
    script = read_events_script(in);
    if (!script.error.empty()) return fail(options.events_path + ": " + script.error, 2);
  }
  std::FILE* dump = nullptr;
  if (!options.dump_path.empty() && (dump = std::fopen(options.dump_path.c_str(), "w")) == nullptr)
    return fail("cannot write dump file " + options.dump_path);

  const std::unique_ptr<GrainRules> rules = make_grain_rules(options.program);
  rules->clear_grid();
  std::unique_ptr<FramePainter> picture;
  if (!options.png_path.empty()) picture = std::make_unique<FramePainter>();

  const double seconds = run_frames(*rules, options, script, picture.get());

  if (dump != nullptr) {
    rules->write_dump(dump);
    if (std::fclose(dump) != 0) return fail("cannot write dump file " + options.dump_path);
  }
  std::string error;
  if (picture && !write_png(options.png_path, FramePainter::WIDTH, FramePainter::HEIGHT,
                            picture->pixels(), error))
    return fail("cannot write picture " + options.png_path + ": " + error);
  if (options.bench) {
    std::printf("frames=%ld seconds=%.6f frames_per_second=%.1f\n", options.frames, seconds,
                seconds > 0 ? options.frames / seconds : 0.0);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  CLI::App app{"Runs a grain program's rules without a window."};
  app.add_option("PROGRAM", options.program, "The program whose rules to run")
      ->required()
      ->check(CLI::IsMember(grain_program_names()));
  app.add_option("--frames", options.frames, "Frames to run (default 1000)")->check(CLI::NonNegativeNumber);
  app.add_option("--events", options.events_path, "Scripted mouse input, FRAME KIND X Y [BUTTON] a line");
  app.add_option("--dump", options.dump_path, "Write the whole grid after the last frame as text");
  app.add_option("--png", options.png_path, "Write the last frame's 1024x768 picture as PNG");
  app.add_option("--warmup", options.warmup, "Frames to run first, untimed")->check(CLI::NonNegativeNumber);
  app.add_flag("--full", options.full, "Fill every simulated cell with a moving grain before each frame");
  app.add_flag("--bench", options.bench, "Print the time the timed frames spent in spawn and scan, last");
  CLI11_PARSE(app, argc, argv);
  return run(options);
}
