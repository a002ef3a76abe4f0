// grains_c: grains_a with a colour in every grain, palette brushes, an eraser
// on the middle button and a busier spawn.
#include "common/program_main.h"
#include "kind_grid/kind_grid.h"

// Static storage: every CELL gets its defaults during static initialisation.
static GrainsC rules;

int main(int, char**) { return run_grain_program("grains_c", rules); }
