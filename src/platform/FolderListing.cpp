#include "FolderListing.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/Text.h"

namespace pictra::platform {

namespace {

constexpr size_t kProgressStep = 5000;

}  // namespace

FolderListing listFolder(const std::string& folder, const std::function<bool(size_t)>& progress) {
    FolderListing listing;
    DIR* d = ::opendir(folder.empty() ? "/" : folder.c_str());
    if (!d) return listing;
    const int dfd = ::dirfd(d);
    size_t seen = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        if (progress && ++seen % kProgressStep == 0 && !progress(seen)) {
            listing.cancelled = true;
            break;
        }
        struct stat st {};
        // Links are followed; a dangling one is listed as what it is.
        if (::fstatat(dfd, e->d_name, &st, 0) != 0 && ::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            if (name[0] != '.') ++listing.subfolders;
            continue;
        }
        explorer::FileEntry entry;
        entry.name = name;
        entry.size = static_cast<std::uintmax_t>(st.st_size);
        entry.modified = st.st_mtime;
        entry.readOnly = (st.st_mode & S_IWUSR) == 0;
        entry.hidden = name[0] == '.';
        entry.system = !S_ISREG(st.st_mode);
        listing.files.push_back(std::move(entry));
    }
    ::closedir(d);
    listing.ok = true;
    return listing;
}

std::vector<std::string> subfoldersOf(const std::string& folder, bool withHidden) {
    std::vector<std::string> names;
    DIR* d = ::opendir(folder.empty() ? "/" : folder.c_str());
    if (!d) return names;
    const int dfd = ::dirfd(d);
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == ".." || (!withHidden && name[0] == '.')) continue;
        struct stat st {};
        if (e->d_type == DT_DIR || ((e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) &&
                                    ::fstatat(dfd, e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode))) {
            names.push_back(name);
        }
    }
    ::closedir(d);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return text::toLowerAscii(a) < text::toLowerAscii(b); });
    return names;
}

}  // namespace pictra::platform
