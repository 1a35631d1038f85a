#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The explorer's drive list: on Linux a "drive" is a mounted volume.
namespace pictra::explorer {

// The type word of a volume from its file system and where it is mounted:
// "Fest", "Wechsel", "Netz", "CD", "RamDisk"; empty when unknown.
std::string driveTypeWord(const std::string& fileSystemType, const std::string& rootPath, bool removable);

// Mount point, blank, type word, blank, label.
std::string driveEntryText(const std::string& rootPath, const std::string& typeWord, const std::string& label);

// Pseudo and system file systems that hold no user files (/proc, /sys, /dev, /run ...).
bool isSystemVolume(const std::string& fileSystemType, const std::string& rootPath);

// What the "Laufwerke" report says of the machine (texts as the system gives them).
struct MachineFigures {
    std::string memoryTotal, memoryFree, swapTotal, swapFree, processorClock;
};

// One volume of the report. A floppy drive without a disk has no mount point.
struct VolumeFigures {
    std::string root;  // mount point, empty when nothing is mounted
    std::string typeWord;
    std::string label;
    std::string device;
    std::string serial;         // the file system's UUID, empty when it has none
    std::string currentFolder;  // the folder last visited on it, empty when none
    std::int64_t total = 0;
    std::int64_t free = 0;
    bool floppy = false;
};

// "Wieviel Speicherplatz?" (floppy drives left out, as drives A and B were) and
// "Wieviel Speicherplatz einschließlich Diskette?" (floppy drives first): memory,
// processor clock and every volume with type, label, serial number, current
// folder and total, used and free bytes with percentages. UTF-8 with CR LF.
std::string drivesReport(const MachineFigures& machine, const std::vector<VolumeFigures>& volumes, bool withFloppies);

}  // namespace pictra::explorer
