// grains_a: red, green and blue grains and white walls on a grid of CELL
// records. Left click: a grain; left drag: a grain brush; right drag: walls.
#include "common/program_main.h"
#include "kind_grid/kind_grid.h"

// Static storage: every CELL gets its defaults during static initialisation.
static GrainsA rules;

int main(int, char**) { return run_grain_program("grains_a", rules); }
