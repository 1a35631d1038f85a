#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pictra::fileio {

// Whole regular file as bytes; nullopt when it cannot be opened or read, and for
// anything that is not a regular file (a FIFO or device would block for good, so
// such a file is never even opened).
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
// full disk fails before anything is overwritten. `error` receives the system's
// error number of a failure.
WriteResult writeFile(const std::string& path, const std::string& bytes, bool allowInPlace, int* error = nullptr);

// Where a rewrite in place is recorded while it runs, so that a crash in the middle
// of it is found at the next start (interruptedWrites).
struct InPlaceJournal {
    std::string folder;  // the program folder
    std::string backup;  // the complete copy of the old content
};

// writeFile whose in-place path runs under a record in `journal.folder`: the file,
// its backup, the size and a checksum of the new content are on disk before the
// first byte is overwritten, and the record goes only once the final size is set
// and synced. Without a record no file is rewritten in place.
WriteResult writeFile(const std::string& path, const std::string& bytes, const InPlaceJournal& journal,
                      int* error = nullptr);

// writeFile allowing the in-place path; true when written.
bool writeFileAtomic(const std::string& path, const std::string& bytes);

// Batch writes of many files: the same replacement through a temporary file and a
// rename (never a half-written file), but left to the system's write-back; the
// caller makes the batch durable with one syncFileSystemOf.
bool writeFileCached(const std::string& path, const std::string& bytes, int* error = nullptr);
// Flushes the whole file system holding `path` (one sync instead of one per file).
bool syncFileSystemOf(const std::string& path);

enum class Durability {
    Synced,  // on disk before the call returns (the copy may replace the only other copy)
    Cached,  // left to the system's write-back (the original stays where it is)
};

enum class Protection {
    AsSource,  // the copy has the source's permissions
    Writable,  // the owner may write the copy even when the source was write-protected (a CD's files)
};

// Copies a regular file through a temporary file and a rename, so the target is
// either absent, the old target or the complete copy; the copy keeps the
// source's last-write time. On failure `error` holds the system's reason and
// `errorNumber` (when given) its number.
bool copyFileAtomic(const std::string& source, const std::string& target, std::string& error,
                    Durability durability = Durability::Synced, int* errorNumber = nullptr,
                    Protection protection = Protection::AsSource);

// Renames within one file system (atomic; the file keeps its times); false otherwise.
bool moveFile(const std::string& source, const std::string& target);

bool fileExists(const std::string& path);

// A write that failed because the volume (or the user's quota on it) is full.
bool isDiskFull(int error);
// The mount point of the volume that holds `path` (or its nearest existing folder).
std::string mountPointOf(const std::string& path);

// Removes from `folder` the named temporary files that a killed run of this program
// left behind: "." + name + ".tmp" + the maker's process number and start + digits,
// and only when that process is gone (a second instance may be writing one right
// now). `earlierNamesToo`, for the program's own folders: also the shorter names
// of earlier versions (".tmp" + up to six digits) made before this process started.
// Returns the number removed.
int removeStaleTemporaries(const std::string& folder, bool earlierNamesToo = false);

// A rewrite in place that a crash cut off: its record is still in the program
// folder, the process that wrote it is gone, and the file is not what it was to become.
struct InterruptedWrite {
    std::string record;
    std::string path;
    std::string backup;
    std::uintmax_t size = 0;  // the size the file was to have
};
// The interrupted rewrites recorded in `folder`; records whose file turned out
// complete after all are removed without a word.
std::vector<InterruptedWrite> interruptedWrites(const std::string& folder);
// Puts the backup back over the file (again under a record of its own) and then
// drops the record; Untouched with `error` ENOENT when the backup is gone.
WriteResult restoreInterruptedWrite(const InterruptedWrite& write, const std::string& folder, int* error = nullptr);
void forgetInterruptedWrite(const InterruptedWrite& write);

// Test hook: the process kills itself (SIGKILL) once this many bytes have been
// written by this module, to check what a crash in the middle of a write leaves
// on disk. The real program reads it once from PICTRA_KILL_AFTER_BYTES.
void setKillAfterBytes(std::optional<std::size_t> bytes);
// Test hook: file systems without unnamed temporary files (FAT sticks, some network
// folders) write through a named temporary file from the start; `false` makes
// every file system take that path.
void setUnnamedTemporaries(bool allowed);

}  // namespace pictra::fileio
