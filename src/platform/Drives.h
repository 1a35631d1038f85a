#pragma once

#include <string>

namespace pictra::platform {

// A mounted volume other than the one holding `folder`, preferring removable
// ones: where the second copy of saved files goes unless the user chose a folder.
// Empty when there is none.
std::string defaultSecondDriveFolder(const std::string& folder);

// True when both paths lie on the same mounted volume.
bool sameVolume(const std::string& a, const std::string& b);

}  // namespace pictra::platform
