// The rules of the four grain programs written as plainly as possible, with
// no regard for speed: a yardstick for the optimised rules. Every grid
// access is bounds-checked and throws std::out_of_range when a rule would
// step outside the 641 by 641 grid.
#pragma once

#include "common/grain_rules.h"

#include <memory>
#include <string>

// The reference rules of grains_a, grains_b, grains_c or grains_d, with
// every cell as static initialisation leaves it; null for another name.
std::unique_ptr<GrainRules> make_reference_rules(const std::string& program);
