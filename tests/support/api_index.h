// The public declarations of C++ headers written in the engine's style,
// and whether an API index (a Markdown page) names each of them.
#pragma once

#include <string>
#include <vector>

struct Declaration {
  std::string scope;  // "" at namespace level, else the class: "SPRITE", "CORD::Ends"
  std::string name;   // a function, variable, constant, type or enumerator
  bool operator==(const Declaration& other) const { return scope == other.scope && name == other.name; }
};

// What a header declares for its users: functions, variables, constants,
// classes, enumerations and aliases at namespace level, and the public
// members of classes (fields, member functions, nested types); the
// enumerators of a public enumeration count as declared beside it. Constructors, destructors, operators
// and deleted functions are left out, and each name comes once a scope.
std::vector<Declaration> public_declarations(const std::string& header_text);

// The declarations the index does not name: a namespace-level name must
// stand in a code span (between backticks) anywhere in it; a member in a
// code span of its class's section, which runs from a heading holding the
// code span `CLASS` (the outermost class) to the next heading of the same
// or a higher level. Returned as "name" or "CLASS::name".
std::vector<std::string> missing_from_index(const std::vector<Declaration>& declarations, const std::string& index);
