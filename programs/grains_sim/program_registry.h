#pragma once

#include "common/grain_rules.h"

#include <memory>
#include <string>
#include <vector>

// The rules of the program with this name, freshly built; null if unknown.
std::unique_ptr<GrainRules> make_grain_rules(const std::string& program);

std::vector<std::string> grain_program_names();
