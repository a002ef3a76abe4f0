// The start-up sequence and endless frame loop shared by the grain programs.
#pragma once

#include "common/start_up.h"

#include <string>

class CellDrawing;
class GrainRules;

// Starts the engine, clears the grid and runs frames until a stop signal.
// GRAINS_RECORD=FILE records the session's mouse input for grains_sim to
// replay; GRAINS_SNAPSHOT=FILE.png keeps the last frame shown when the
// program is stopped.
int run_grain_program(const std::string& name, GrainRules& rules);

// One frame's GL work between the events and the buffer swap: the pixel
// projection, the clear, the spawn and the scan with its drawing.
void draw_frame(GrainRules& rules, CellDrawing& drawing);
