// The start-up sequence and endless frame loop shared by the grain programs.
#pragma once

#include "common/start_up.h"

class CellDrawing;
class GrainRules;

// Starts the engine, clears the grid and runs frames until a stop signal.
int run_grain_program(GrainRules& rules);

// Drains SDL's event queue: mouse events update the mouse record and apply
// the program's brushes; every other event is dropped.
void poll_events(GrainRules& rules);

// One frame's GL work between the events and the buffer swap: the pixel
// projection, the clear, the spawn and the scan with its drawing.
void draw_frame(GrainRules& rules, CellDrawing& drawing);
