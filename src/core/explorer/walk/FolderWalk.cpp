#include "explorer/walk/FolderWalk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <utility>
#include <vector>

namespace pictra::walk {

namespace {

using FolderId = std::pair<dev_t, ino_t>;

std::string joined(const std::string& folder, const char* name) {
    std::string path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    path += name;
    return path;
}

struct Listing {
    std::vector<WalkFile> files;
    std::vector<std::pair<std::string, FolderId>> folders;
};

// One folder's entries. False when the folder cannot be listed at all.
bool listFolder(const std::string& folder, const WalkOptions& options, const WalkSink& sink,
                const std::atomic<bool>& stop, Listing& out, dev_t device) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    const int fd = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        if (stop.load(std::memory_order_relaxed)) break;
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        if (!options.files && entry->d_type != DT_DIR && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) continue;
        struct stat st {};
        if (fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            // Vanished between listing and looking: nothing left to search.
            if (errno != ENOENT) sink.unreadable(joined(folder, name));
            continue;
        }
        if (S_ISLNK(st.st_mode)) {
            // A link to a file counts as that file; a link to a folder is not followed.
            if (fstatat(fd, name, &st, 0) != 0) continue;
            if (S_ISDIR(st.st_mode)) {
                if (sink.folderLink) sink.folderLink(joined(folder, name));
                continue;
            }
        }
        if (S_ISDIR(st.st_mode)) {
            if (!options.recursive || (options.skipDotFolders && name[0] == '.')) continue;
            if (options.oneFileSystem && st.st_dev != device) continue;
            out.folders.emplace_back(joined(folder, name), FolderId{st.st_dev, st.st_ino});
            continue;
        }
        WalkFile file;
        file.path = joined(folder, name);
        file.size = static_cast<std::uintmax_t>(st.st_size);
        file.modified = st.st_mtim.tv_sec;
        file.regular = S_ISREG(st.st_mode);
        out.files.push_back(std::move(file));
    }
    closedir(dir);
    return true;
}

std::optional<FolderId> idOf(const std::string& folder) {
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
    return FolderId{st.st_dev, st.st_ino};
}

bool sortedFrom(const std::string& folder, const WalkOptions& options, const WalkSink& sink,
                const std::atomic<bool>& stop, std::set<FolderId>& seen, dev_t device) {
    Listing listing;
    if (!listFolder(folder, options, sink, stop, listing, device)) {
        sink.unreadable(folder);
        return !stop.load();
    }
    std::sort(listing.files.begin(), listing.files.end(),
              [](const WalkFile& a, const WalkFile& b) { return a.path < b.path; });
    std::sort(listing.folders.begin(), listing.folders.end());
    for (const auto& file : listing.files) {
        if (stop.load(std::memory_order_relaxed)) return false;
        sink.file(file);
    }
    for (const auto& [path, id] : listing.folders) {
        if (stop.load(std::memory_order_relaxed)) return false;
        if (!seen.insert(id).second) continue;
        if (sink.folder) sink.folder(path);
        if (!sortedFrom(path, options, sink, stop, seen, device)) return false;
    }
    return !stop.load();
}

}  // namespace

bool walkSorted(const std::string& root, const WalkOptions& options, const WalkSink& sink,
                const std::atomic<bool>& stop) {
    std::set<FolderId> seen;
    const auto rootId = idOf(root);
    if (rootId) seen.insert(*rootId);
    return sortedFrom(root, options, sink, stop, seen, rootId ? rootId->first : 0);
}

bool walkParallel(const std::string& root, const WalkOptions& options, const WalkSink& sink,
                  const std::atomic<bool>& stop, unsigned threads) {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::string> queue{root};
    std::set<FolderId> seen;
    const auto rootId = idOf(root);
    if (rootId) seen.insert(*rootId);
    const dev_t device = rootId ? rootId->first : 0;
    unsigned busy = 0;

    auto work = [&] {
        for (;;) {
            std::string folder;
            {
                std::unique_lock lock(mutex);
                wake.wait(lock, [&] { return !queue.empty() || busy == 0 || stop.load(); });
                if (stop.load() || queue.empty()) {
                    wake.notify_all();
                    return;
                }
                // Newest first keeps the queue short and the folder's inodes still cached.
                folder = std::move(queue.back());
                queue.pop_back();
                ++busy;
            }
            Listing listing;
            const bool listed = listFolder(folder, options, sink, stop, listing, device);
            if (!listed) sink.unreadable(folder);
            std::vector<std::string> entered;
            {
                std::lock_guard lock(mutex);
                for (auto& [path, id] : listing.folders) {
                    if (!seen.insert(id).second) continue;
                    if (sink.folder) entered.push_back(path);
                    queue.push_back(std::move(path));
                }
            }
            for (const auto& path : entered) sink.folder(path);
            wake.notify_all();
            for (const auto& file : listing.files) {
                if (stop.load(std::memory_order_relaxed)) break;
                sink.file(file);
            }
            {
                std::lock_guard lock(mutex);
                --busy;
            }
            wake.notify_all();
        }
    };

    std::vector<std::thread> workers;
    for (unsigned i = 1; i < std::max(1u, threads); ++i) workers.emplace_back(work);
    work();
    for (auto& worker : workers) worker.join();
    return !stop.load();
}

}  // namespace pictra::walk
