#include "support/process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

namespace {

pid_t spawn(const std::vector<std::string>& command, const std::string& directory, const std::string& out_path,
            const std::string& err_path) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  if (!directory.empty() && chdir(directory.c_str()) != 0) _exit(127);
  dup2(open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
  dup2(open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
  std::vector<char*> argv;
  for (const auto& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

void record_status(int status, ProcessResult& result) {
  if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal_number = WTERMSIG(status);
}

}  // namespace

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

namespace {

// Folders made by make_temp_dir, with the process that made each.
std::vector<std::pair<pid_t, std::string>>& temp_dirs() {
  static auto* dirs = new std::vector<std::pair<pid_t, std::string>>;
  return *dirs;
}

// Removes this process's folders when it exits, so that a test that stops
// early (a failed assertion, the child of a death test) leaves nothing
// behind. A forked child leaves its parent's folders alone.
void remove_temp_dirs() {
  for (const auto& [owner, dir] : temp_dirs()) {
    std::error_code ignored;
    if (owner == getpid()) std::filesystem::remove_all(dir, ignored);
  }
}

}  // namespace

std::string make_temp_dir() {
  static const bool cleanup_registered = std::atexit(remove_temp_dirs) == 0;
  (void)cleanup_registered;
  std::string pattern = (std::filesystem::temp_directory_path() / "grains-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  temp_dirs().emplace_back(getpid(), pattern);
  return pattern;
}

std::string program_path(const std::string& name) { return std::string(PROGRAMS_DIR) + "/" + name; }

ProcessResult run_process(const std::vector<std::string>& command, const std::string& directory) {
  const std::string dir = make_temp_dir();
  const pid_t pid = spawn(command, directory, dir + "/out", dir + "/err");
  int status = 0;
  waitpid(pid, &status, 0);
  ProcessResult result;
  record_status(status, result);
  result.out = read_file(dir + "/out");
  result.err = read_file(dir + "/err");
  std::filesystem::remove_all(dir);
  return result;
}

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& command, const std::string& directory) {
  const std::string dir = make_temp_dir();
  out_path_ = dir + "/out";
  err_path_ = dir + "/err";
  pid_ = spawn(command, directory, out_path_, err_path_);
}

BackgroundProcess::~BackgroundProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  std::filesystem::remove_all(std::filesystem::path(out_path_).parent_path());
}

std::string BackgroundProcess::output() const { return read_file(out_path_); }

bool BackgroundProcess::running() { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

bool BackgroundProcess::wait_for_output(const std::string& text, int timeout_ms) {
  for (int waited = 0; waited < timeout_ms; waited += 20) {
    if (output().find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return output().find(text) != std::string::npos;
}

ProcessResult BackgroundProcess::stop(int signal_number, int timeout_ms, double* seconds_to_end) {
  ProcessResult result;
  const auto start = std::chrono::steady_clock::now();
  kill(pid_, signal_number);
  int status = 0;
  for (;;) {
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      record_status(status, result);
      pid_ = -1;
      break;
    }
    const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - start;
    if (waited.count() * 1000 > timeout_ms) {
      result.exit_status = -2;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (seconds_to_end != nullptr)
    *seconds_to_end = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.out = read_file(out_path_);
  result.err = read_file(err_path_);
  return result;
}
