// SIGINT and SIGTERM end the programs at the next frame. (SDL would turn
// them into a quit event, which the programs ignore by design.)
#pragma once

void install_stop_handlers();

// Ends the process, as the signal would have, once one has arrived.
void end_if_stop_requested();
