// File masks with the wildcards * and ?, matched case-insensitively on every platform.
#pragma once

#include <QString>

namespace Platform {

// Windows rules: "*" and "*.*" match every name, names without a dot included; a mask ending
// in ".*" also matches the name without that extension; "?" stands for exactly one character.
// An empty mask matches nothing.
bool MatchesMask(const QString& name, const QString& mask);

}  // namespace Platform
