// The entry of every grain program: the start-up sequence, then frames for
// ever (until a stop signal on the desktop; the browser calls one frame per
// animation frame).
#pragma once

#include "common/start_up.h"

#include <string>

class GrainRules;

// Starts the engine, creates the root container and runs the frames. On the
// desktop, GRAINS_RECORD=FILE records the session's mouse input for
// grains_sim to replay, and GRAINS_SNAPSHOT=FILE.png keeps the last frame
// shown when a stop signal ends the program.
int run_grain_program(const std::string& name, GrainRules& rules);
