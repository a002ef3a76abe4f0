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

// The reference rules of grains_a or grains_c, whose cells' kinds a test
// sets to build a scene and reads back.
class ReferenceKindRules : public GrainRules {
 public:
  virtual int kind(int x, int y) const = 0;
  virtual void set_kind(int x, int y, int kind) = 0;
};

// grains_a or grains_c, every cell as static initialisation leaves it; null
// for another name.
std::unique_ptr<ReferenceKindRules> make_reference_kind_rules(const std::string& program);
