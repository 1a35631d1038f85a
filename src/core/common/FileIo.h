#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace pictra::fileio {

// Whole regular file as bytes; nullopt when it cannot be opened or read, and for
// anything that is not a regular file (a FIFO or device would block for good).
std::optional<std::string> readFile(const std::string& path);

enum class WriteResult {
    Written,
    Untouched,  // failed before the file was touched: the old content is intact
    Damaged,    // failed while the file was rewritten in place: neither old nor new
};

// Replaces the file's content so that a failure at any point (disk full, a killed
// process, power loss) leaves the previous file intact: the bytes go to a
// temporary file in the same folder that has no name until it is complete, are
// flushed to disk and then renamed over the old file, which keeps its
// permissions. A writable file in a folder without write access can only be
// rewritten in place; `allowInPlace` says whether the caller has a complete copy
// of the old text to fall back on. Even then the space is reserved first, so a
// full disk fails before anything is overwritten.
WriteResult writeFile(const std::string& path, const std::string& bytes, bool allowInPlace);

// writeFile allowing the in-place path; true when written.
bool writeFileAtomic(const std::string& path, const std::string& bytes);

// Batch writes of many files: the same replacement through a temporary file and a
// rename (never a half-written file), but left to the system's write-back; the
// caller makes the batch durable with one syncFileSystemOf.
bool writeFileCached(const std::string& path, const std::string& bytes);
// Flushes the whole file system holding `path` (one sync instead of one per file).
bool syncFileSystemOf(const std::string& path);

enum class Durability {
    Synced,  // on disk before the call returns (the copy may replace the only other copy)
    Cached,  // left to the system's write-back (the original stays where it is)
};

// Copies a regular file through a temporary file and a rename, so the target is
// either absent, the old target or the complete copy; the copy keeps the
// source's last-write time. On failure `error` holds the system's reason.
bool copyFileAtomic(const std::string& source, const std::string& target, std::string& error,
                    Durability durability = Durability::Synced);

// Renames within one file system (atomic; the file keeps its times); false otherwise.
bool moveFile(const std::string& source, const std::string& target);

bool fileExists(const std::string& path);

// Test hook: the process kills itself (SIGKILL) once this many bytes have been
// written by this module, to check what a crash in the middle of a write leaves
// on disk. The real program reads it once from PICTRA_KILL_AFTER_BYTES.
void setKillAfterBytes(std::optional<std::size_t> bytes);

}  // namespace pictra::fileio
