// grains_sim: runs a grain program's start-up grid steps and frames with no
// window, from scripted mouse input, for tests, benchmarks and reproducible
// runs. The rules, the random draws and the painted pixels are the
// windowed program's own.
#include "common/frame_painter.h"
#include "common/png_file.h"
#include "grains_sim/events_script.h"
#include "grains_sim/program_registry.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
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

// The longest run accepted: about three hours of grains_c at full load.
constexpr long MAX_FRAMES = 10'000'000;
// Usage errors (bad options or values, unreadable or malformed input,
// outputs that cannot be written) end with this status.
constexpr int USAGE_ERROR = 2;

int fail(const std::string& message, int status = 1) {
  std::fprintf(stderr, "grains_sim: %s\n", message.c_str());
  return status;
}

// Whether path can be written, found out before the run so that a long run
// is not lost at its end. A file that did not exist is not left behind.
bool can_write(const std::string& path, std::string& error) {
  const bool existed = std::filesystem::exists(path);
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  std::fclose(file);
  if (!existed) std::filesystem::remove(path);
  return true;
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
    if (!in) return fail("cannot read events file " + options.events_path, USAGE_ERROR);
    script = read_events_script(in);
    if (!script.error.empty()) return fail(options.events_path + ": " + script.error, USAGE_ERROR);
  }
  for (const std::string* output : {&options.dump_path, &options.png_path}) {
    std::string error;
    if (!output->empty() && !can_write(*output, error))
      return fail("cannot write " + *output + ": " + error, USAGE_ERROR);
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
  const auto frame_count = CLI::Range(0L, MAX_FRAMES);
  app.add_option("--frames", options.frames, "Frames to run, 0 to 10000000 (default 1000)")->check(frame_count);
  app.add_option("--events", options.events_path, "Scripted mouse input, FRAME KIND X Y [BUTTON] a line");
  app.add_option("--dump", options.dump_path, "Write the whole grid after the last frame as text");
  app.add_option("--png", options.png_path, "Write the last frame's 1024x768 picture as PNG");
  app.add_option("--warmup", options.warmup, "Frames to run first, untimed, 0 to 10000000 (default 0)")
      ->check(frame_count);
  app.add_flag("--full", options.full, "Fill every simulated cell with a moving grain before each frame");
  app.add_flag("--bench", options.bench, "Print the time the timed frames spent in spawn and scan, last");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error) == 0 ? 0 : USAGE_ERROR;
  }
  return run(options);
}
