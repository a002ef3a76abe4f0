#include "grains_sim/program_registry.h"

#include "colour_grid/colour_grid.h"
#include "kind_grid/kind_grid.h"

std::unique_ptr<GrainRules> make_grain_rules(const std::string& program) {
  if (program == "grains_a") return std::make_unique<GrainsA>();
  if (program == "grains_b") return std::make_unique<GrainsB>();
  if (program == "grains_c") return std::make_unique<GrainsC>();
  if (program == "grains_d") return std::make_unique<GrainsD>();
  return nullptr;
}

std::vector<std::string> grain_program_names() { return {"grains_a", "grains_b", "grains_c", "grains_d"}; }
