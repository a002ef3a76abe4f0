// The start-up sequence and endless frame loop shared by the grain programs.
#pragma once

class GrainRules;

// Starts the engine, clears the grid and runs frames until a stop signal.
int run_grain_program(GrainRules& rules);

// Drains SDL's event queue: mouse events update the mouse record and apply
// the program's brushes; every other event is dropped.
void poll_events(GrainRules& rules);
