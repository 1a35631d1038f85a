#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

// Walking a folder tree. Names are the file system's bytes, never converted, so a
// name that is not valid UTF-8 is still reached and opened by what it really is.
namespace pictra::walk {

struct WalkFile {
    std::string path;
    std::uintmax_t size = 0;
    std::time_t modified = 0;
    bool regular = true;  // false for FIFOs, sockets and devices: listed, never opened
};

struct WalkOptions {
    bool recursive = true;
    // Folders whose name begins with "." are left out (hidden folders and the
    // caches of programs would swamp every search).
    bool skipDotFolders = true;
    // Folders on another file system than the root's are left out (a whole home or
    // drive walked for a backup must not wander into /proc or a mounted stick).
    bool oneFileSystem = false;
    // False for walks that only want the folders: an entry the listing itself names a
    // file is then passed over without a stat call (what makes `find -type d` fast).
    bool files = true;
};

struct WalkSink {
    // Called for every file; from any worker thread in the parallel walk.
    std::function<void(const WalkFile&)> file;
    // A folder that could not be listed (its path), or a file that could not be examined.
    std::function<void(const std::string&)> unreadable;
    // Optional: every folder below the root as it is entered (depth-first in the sorted walk).
    std::function<void(const std::string&)> folder = {};
    // Optional: a symlink to a folder, which is never followed (the link itself).
    std::function<void(const std::string&)> folderLink = {};
};

// Depth-first in byte order of the names, on the calling thread: for commands whose
// results follow the order of the tree. Symlinked folders are not followed and
// every folder is entered once by its (device, inode), so bind mounts cannot loop.
// Returns false when `stop` ended it.
bool walkSorted(const std::string& root, const WalkOptions& options, const WalkSink& sink,
                const std::atomic<bool>& stop);

// The same tree on `threads` workers through a shared queue of folders; the order
// of the calls is not defined. Returns false when `stop` ended it.
bool walkParallel(const std::string& root, const WalkOptions& options, const WalkSink& sink,
                  const std::atomic<bool>& stop, unsigned threads);

}  // namespace pictra::walk
