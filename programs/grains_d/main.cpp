// grains_d: a shower of white grains on 4-pixel cells; the right button paints walls.
#include "colour_grid/colour_grid.h"
#include "common/program_main.h"

static GrainsD rules;

int main(int, char**) { return run_grain_program("grains_d", rules); }
