#include "common/stop_signals.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

volatile std::sig_atomic_t stop_signal = 0;

void note_stop_signal(int signal_number) { stop_signal = signal_number; }

}  // namespace

void install_stop_handlers() {
  struct sigaction action {};
  action.sa_handler = note_stop_signal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool stop_requested() { return stop_signal != 0; }

void end_by_stop_signal() {
  std::fflush(stdout);
  std::signal(stop_signal, SIG_DFL);
  std::raise(stop_signal);
  std::_Exit(128 + stop_signal);  // not reached: the signal ends the process
}

void end_if_stop_requested() {
  if (stop_requested()) end_by_stop_signal();
}
