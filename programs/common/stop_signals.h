// SIGINT and SIGTERM end the programs at the next frame. (SDL would turn
// them into a quit event, which the programs ignore by design.)
#pragma once

void install_stop_handlers();

// Whether a stop signal has arrived.
bool stop_requested();
// Ends the process as the signal that arrived would have.
[[noreturn]] void end_by_stop_signal();

// Ends the process, as the signal would have, once one has arrived.
void end_if_stop_requested();
