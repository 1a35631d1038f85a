#pragma once

#include <string>

// Renaming that never replaces a file. The system's rename(2) silently removes an
// existing target; every rename of the program goes through here instead.
namespace pictra::fileops {

enum class RenameStatus {
    Done,
    TargetExists,   // nothing changed: the target name is taken by another file
    SourceMissing,  // nothing changed: the file is gone
    Failed,         // nothing changed: the system refused (see `error`)
};

struct RenameResult {
    RenameStatus status = RenameStatus::Failed;
    int error = 0;  // the system's error number when not Done
    bool ok() const { return status == RenameStatus::Done; }
};

// Moves `from` to `to` on the same volume, only when `to` is free. A name that
// differs only in case from its old one (on a file system that ignores case, both
// names are the same file) goes through a temporary name, which direct renames on
// FAT and exFAT sticks ignore or refuse. Where the file system refuses the
// no-replace flag, the target is tested before the rename.
RenameResult renameNoReplace(const std::string& from, const std::string& to);

// A folder held open while many of its files are renamed: each name is then looked
// up from the folder instead of walking every folder of its path from the root
// again, which is a good part of a rename's cost in a large plan.
class OpenFolder {
public:
    explicit OpenFolder(std::string path);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    // renameNoReplace for two paths; the shortcut is taken when both lie in this folder.
    RenameResult renameNoReplace(const std::string& from, const std::string& to) const;
    // Whether `path` names an entry directly inside this folder.
    bool holds(const std::string& path) const;

private:
    const char* nameWithin(const std::string& path) const;

    std::string m_path;
    int m_fd = -1;
};

// The system's text for the error of a failed rename, in German where the program knows it.
std::string renameErrorText(const RenameResult& result);

// Test hook: behave as on a file system that refuses the no-replace flag.
void setNoReplaceFlagRefused(bool refused);

// Longest file name the program produces, in bytes (the limit of the usual Linux file systems).
inline constexpr std::size_t kMaxNameBytes = 255;

// `path` with `marker` appended to its file name; when that would pass the name
// limit, the name is first shortened (never inside a UTF-8 character).
std::string withMarker(const std::string& path, const std::string& marker);

}  // namespace pictra::fileops
