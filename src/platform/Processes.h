#pragma once

#include <string>
#include <vector>

namespace pictra::platform {

// Starts an outside program with an argument vector (never through a shell);
// false when it cannot be started.
bool startProgram(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace pictra::platform
