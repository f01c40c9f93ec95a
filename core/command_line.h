// The one command-line form the program knows: "-1", "-2" or "-3" runs that operation
// unattended.
#pragma once

#include <string>
#include <vector>

namespace lf {

// The unattended operation the arguments ask for (without the program name): 1..3 when
// there is exactly one argument whose first character is "-" and second "1", "2" or "3"
// (further characters do not matter); 0 for anything else, which starts page 1.
int AutoOperationOf(const std::vector<std::string>& args);

}  // namespace lf
