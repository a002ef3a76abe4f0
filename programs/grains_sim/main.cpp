// grains_sim: runs a grain program's start-up grid steps and frames with no
// window, from scripted or recorded mouse input, for tests, benchmarks,
// replays and pictures of a run. The rules, the random draws and the
// painted pixels are the windowed program's own.
#include "common/events_script.h"
#include "common/frame_painter.h"
#include "common/frame_step.h"
#include "common/png_file.h"
#include "grains_sim/gif_animation.h"
#include "grains_sim/program_registry.h"
#include "grains_sim/progress.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace {

// The longest run accepted: about three hours of grains_c at full load.
constexpr long MAX_FRAMES = 10'000'000;
// The GIF shows the window's top-left corner: every cell any program draws.
constexpr int GIF_SIDE = 644;
// Usage errors (bad options or values, unreadable or malformed input,
// outputs that cannot be written) end with this status.
constexpr int USAGE_ERROR = 2;

struct Options {
  std::string program;
  long frames = -1;  // -1: the events' run length
  long warmup = 0;
  bool full = false;
  std::string events_path;
  std::string dump_path;
  std::string png_path;
  std::string gif_path;
  long gif_every = 1;
  long gif_delay = 2;
  bool bench = false;
};

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

// What a run paints: the last frame for --png, and every gif_every-th frame
// and the last for --gif.
class RunPictures {
 public:
  RunPictures(const Options& options, long last_frame, GifAnimation* gif)
      : options_(options), last_frame_(last_frame), gif_(gif) {
    if (!options.png_path.empty() || gif != nullptr) frame_ = std::make_unique<FramePainter>();
  }

  // Whether frame is painted.
  bool wanted(long frame) const {
    if (!frame_) return false;
    return frame == last_frame_ || (gif_ != nullptr && (frame + 1) % options_.gif_every == 0);
  }
  FramePainter& painter() { return *frame_; }

  // After a painted frame: its picture joins the GIF, shown for the frames
  // it stands for at the programs' pace.
  bool add_to_gif(long frame, std::string& error) {
    if (gif_ == nullptr) return true;
    const long frames_shown = frame - last_in_gif_;
    last_in_gif_ = frame;
    return gif_->add(frame_->pixels(), FramePainter::WIDTH, frames_shown * options_.gif_delay, error);
  }

 private:
  const Options& options_;
  const long last_frame_;
  GifAnimation* const gif_;
  std::unique_ptr<FramePainter> frame_;
  long last_in_gif_ = -1;
};

// Runs the warm-up and timed frames, painting what the pictures want.
// Returns the seconds the timed frames spent in spawn and scan.
double run_frames(GrainRules& rules, const Options& options, const EventsScript& script, RunPictures& pictures,
                  std::string& error) {
  MOUSE_STATE mouse;
  NullPainter no_picture;
  std::vector<MouseEvent> events;
  std::size_t next_event = 0;
  const long frames = options.warmup + options.frames;
  Progress progress(frames);
  std::chrono::duration<double> timed{0};
  for (long frame = 0; frame < frames; ++frame) {
    events.clear();
    for (; next_event < script.events.size() && script.events[next_event].frame == frame; ++next_event)
      events.push_back(script.events[next_event].event);
    const bool painted = pictures.wanted(frame);
    if (painted) pictures.painter().clear();
    step_frame(rules, mouse, events, painted ? static_cast<CellPainter&>(pictures.painter()) : no_picture,
               {options.full, frame >= options.warmup ? &timed : nullptr});
    if (painted && !pictures.add_to_gif(frame, error)) return -1;
    progress.frame_done(frame + 1);
  }
  return timed.count();
}

// The events of --events, and the run's frames when --frames was left out.
// Empty when they were read, else what went wrong.
std::string read_events(Options& options, EventsScript& script) {
  if (!options.events_path.empty()) {
    std::ifstream in(options.events_path);
    if (!in) return "cannot read events file " + options.events_path;
    script = read_events_script(in);
    if (!script.error.empty()) return options.events_path + ": " + script.error;
  }
  if (options.frames < 0) options.frames = script.run_length();
  if (options.frames > MAX_FRAMES) return "the recording's frame count is above 10000000";
  return "";
}

// Empty when every output can be written, else the first that cannot.
std::string unwritable_output(const Options& options) {
  for (const std::string* output : {&options.dump_path, &options.png_path, &options.gif_path}) {
    std::string error;
    if (!output->empty() && !can_write(*output, error)) return "cannot write " + *output + ": " + error;
  }
  return "";
}

int run(Options& options) {
  EventsScript script;
  std::string error = read_events(options, script);
  if (error.empty()) error = unwritable_output(options);
  if (!error.empty()) return fail(error, USAGE_ERROR);
  std::unique_ptr<GifAnimation> gif;
  if (!options.gif_path.empty()) {
    gif = std::make_unique<GifAnimation>();
    if (!gif->open(options.gif_path, GIF_SIDE, GIF_SIDE, error))
      return fail("cannot write " + options.gif_path + ": " + error);
  }

  const std::unique_ptr<GrainRules> rules = make_grain_rules(options.program);
  rules->clear_grid();
  RunPictures pictures(options, options.warmup + options.frames - 1, gif.get());
  const double seconds = run_frames(*rules, options, script, pictures, error);
  if (seconds < 0) return fail("cannot write " + options.gif_path + ": " + error);

  if (!options.dump_path.empty()) {
    std::FILE* dump = std::fopen(options.dump_path.c_str(), "w");
    if (dump == nullptr) return fail("cannot write dump file " + options.dump_path);
    rules->write_dump(dump);
    if (std::fclose(dump) != 0) return fail("cannot write dump file " + options.dump_path);
  }
  if (!options.png_path.empty() &&
      !write_png(options.png_path, FramePainter::WIDTH, FramePainter::HEIGHT, pictures.painter().pixels(), error))
    return fail("cannot write picture " + options.png_path + ": " + error);
  if (gif && !gif->close(error)) return fail("cannot write " + options.gif_path + ": " + error);
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
  app.add_option("--frames", options.frames,
                 "Frames to run, 0 to 10000000 (default: the events file's \"# frames N\" line, else 1000)")
      ->check(frame_count);
  app.add_option("--events", options.events_path, "Scripted or recorded mouse input, FRAME KIND X Y [BUTTON] a line");
  app.add_option("--dump", options.dump_path, "Write the whole grid after the last frame as text");
  app.add_option("--png", options.png_path, "Write the last frame's 1024x768 picture as PNG");
  app.add_option("--gif", options.gif_path, "Write an animated GIF of the run: the window's top-left 644x644 pixels");
  app.add_option("--gif-every", options.gif_every,
                 "One GIF picture every K frames, and the last, 1 to 10000 (default 1)")
      ->check(CLI::Range(1L, 10000L));
  app.add_option("--gif-delay", options.gif_delay,
                 "Hundredths of a second a frame lasts in the GIF, 1 to 100 (default 2)")
      ->check(CLI::Range(1L, 100L));
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
