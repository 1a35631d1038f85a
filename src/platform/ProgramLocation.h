#pragma once

#include <string>
#include <vector>

#include "settings/ProgramPaths.h"

namespace pictra::platform {

// The program folder: $PICTRA_HOME; else the executable's folder when it is
// writable; else $XDG_DATA_HOME/pictra (created). Always ends with "/".
std::string programFolder(const std::string& executablePath);

// Paths for this run: folder, base name of the executable, settings profile.
ProgramPaths programPaths(const std::string& executablePath, const std::vector<std::string>& arguments);

}  // namespace pictra::platform
