#pragma once

#include <string>
#include <vector>

namespace pictra::platform {

// A mounted volume other than the one holding `folder`, preferring removable
// ones: where the second copy of saved files goes unless the user chose a folder.
// Empty when there is none.
std::string defaultSecondDriveFolder(const std::string& folder);

// True when both paths lie on the same mounted volume.
bool sameVolume(const std::string& a, const std::string& b);

struct Drive {
    std::string root;  // mount point
    std::string typeWord;
    std::string label;
};
// The mounted volumes that hold user files, in mount-point order.
std::vector<Drive> mountedDrives();
// The mount point of the volume holding `path`.
std::string driveOf(const std::string& path);

}  // namespace pictra::platform
