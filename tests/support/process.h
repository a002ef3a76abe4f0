// Running the project's programs from tests.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct ProcessResult {
  int exit_status = -1;   // exit code, or -1 when ended by a signal
  int signal_number = 0;  // the ending signal, or 0
  std::string out;
  std::string err;
};

// Runs program with arguments in directory (empty: the current one) and
// waits for it, collecting its standard output and error.
ProcessResult run_process(const std::vector<std::string>& command, const std::string& directory = "");

// A program running in the background; its output goes to files.
class BackgroundProcess {
 public:
  BackgroundProcess(const std::vector<std::string>& command, const std::string& directory = "");
  ~BackgroundProcess();

  // Waits up to timeout_ms for text to appear on standard output.
  bool wait_for_output(const std::string& text, int timeout_ms);
  // Sends a signal and waits up to timeout_ms for the end; returns the
  // result, with exit_status -2 when the process did not end in time.
  ProcessResult stop(int signal_number, int timeout_ms, double* seconds_to_end = nullptr);
  std::string output() const;
  bool running();

 private:
  pid_t pid_ = -1;
  std::string out_path_;
  std::string err_path_;
};

std::string program_path(const std::string& name);
std::string read_file(const std::string& path);
// A new empty directory under the system's temporary folder, removed when
// the process that made it exits.
std::string make_temp_dir();
