#pragma once

#include <string>

// The explorer's drive list: on Linux a "drive" is a mounted volume.
namespace pictra::explorer {

// The type word of a volume from its file system and where it is mounted:
// "Fest", "Wechsel", "Netz", "CD", "RamDisk"; empty when unknown.
std::string driveTypeWord(const std::string& fileSystemType, const std::string& rootPath, bool removable);

// Mount point, blank, type word, blank, label.
std::string driveEntryText(const std::string& rootPath, const std::string& typeWord, const std::string& label);

// Pseudo and system file systems that hold no user files (/proc, /sys, /dev, /run ...).
bool isSystemVolume(const std::string& fileSystemType, const std::string& rootPath);

}  // namespace pictra::explorer
