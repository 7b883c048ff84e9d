#pragma once

#include <string>
#include <string_view>

namespace quarvel {

// Names of the hidden temporary files that the safe write puts next to its
// target: ".quarvel-" + six letters or digits + ".tmp". The leading dot hides
// them, the fixed frame makes them recognisable, so that listings can leave
// out another run's (or a crashed run's) half-written files.

// A fresh random temporary name.
std::string makeTemporaryName();

// True when `name` has exactly the form makeTemporaryName() produces.
bool isTemporaryName(std::string_view name);

} // namespace quarvel
