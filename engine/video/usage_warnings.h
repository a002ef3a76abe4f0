// One-line warnings on standard error about a program's misuse of the
// engine that would otherwise pass silently or under a misleading message.
#pragma once

#include <string>

namespace grains {

// Writes "grains engine: " and text as one line on standard error, unless a
// warning on topic was written before: each topic is said once a process.
// Standard output is flushed first, so the line follows whatever the engine
// printed there.
void warn_once(const std::string& topic, const std::string& text);

}  // namespace grains
