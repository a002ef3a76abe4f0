#include "common/session_recording.h"

#include "common/events_script.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

void say_not_recording(const std::string& path, const char* why) {
  std::fprintf(stderr, "GRAINS_RECORD: cannot write %s (%s); the session is not recorded\n", path.c_str(), why);
}

}  // namespace

std::unique_ptr<SessionRecording> SessionRecording::from_environment(const std::string& program) {
  const char* path = std::getenv("GRAINS_RECORD");
  if (path == nullptr || *path == '\0') return nullptr;
  std::FILE* file = std::fopen(path, "w");
  if (file == nullptr) {
    say_not_recording(path, std::strerror(errno));
    return nullptr;
  }
  std::unique_ptr<SessionRecording> recording(new SessionRecording(file, path));
  recording->write("# " + program + " session: its mouse events, one a line: FRAME KIND X Y [BUTTON]");
  recording->write("# (grains_sim --events format); replay: grains_sim " + program + " --events FILE");
  recording->end_of_events();
  return recording;
}

SessionRecording::SessionRecording(std::FILE* file, std::string path) : file_(file), path_(std::move(path)) {}

SessionRecording::~SessionRecording() {
  if (file_ != nullptr) std::fclose(file_);
}

void SessionRecording::event(long frame, const MouseEvent& event) { write(event_line(frame, event)); }

void SessionRecording::end_of_events() {
  if (file_ == nullptr || !unwritten_) return;
  unwritten_ = false;
  if (std::fflush(file_) != 0) stop_recording();
}

void SessionRecording::finish(long frames) {
  write(frames_line(frames));
  end_of_events();
  if (file_ != nullptr && std::fclose(file_) != 0) say_not_recording(path_, std::strerror(errno));
  file_ = nullptr;
}

void SessionRecording::write(const std::string& line) {
  if (file_ == nullptr) return;
  if (std::fprintf(file_, "%s\n", line.c_str()) < 0) return stop_recording();
  unwritten_ = true;
}

void SessionRecording::stop_recording() {
  say_not_recording(path_, std::strerror(errno));
  std::fclose(file_);
  file_ = nullptr;
}
