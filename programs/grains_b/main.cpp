// grains_b: pink and white grains on 2-pixel cells; the right button paints walls.
#include "colour_grid/colour_grid.h"
#include "common/program_main.h"

static GrainsB rules;

int main(int, char**) { return run_grain_program("grains_b", rules); }
