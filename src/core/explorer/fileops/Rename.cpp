#include "Rename.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "common/PathNames.h"

namespace pictra::fileops {

namespace {

bool g_flagRefused = false;

RenameResult fromErrno(int error) {
    if (error == EEXIST || error == ENOTEMPTY) return {RenameStatus::TargetExists, error};
    if (error == ENOENT) return {RenameStatus::SourceMissing, error};
    return {RenameStatus::Failed, error};
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Without the flag: test, rename, report. Another process could take the name in
// between; nothing better exists on such a file system.
RenameResult testedRename(const std::string& from, const std::string& to) {
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) return {RenameStatus::TargetExists, EEXIST};
    if (::rename(from.c_str(), to.c_str()) == 0) return {RenameStatus::Done, 0};
    return fromErrno(errno);
}

RenameResult plainNoReplace(const std::string& from, const std::string& to) {
    if (!g_flagRefused) {
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
            return {RenameStatus::Done, 0};
        }
        const int error = errno;
        if (error != EINVAL && error != ENOSYS && error != ENOTSUP) return fromErrno(error);
    }
    return testedRename(from, to);
}

}  // namespace

void setNoReplaceFlagRefused(bool refused) { g_flagRefused = refused; }

std::string withMarker(const std::string& path, const std::string& marker) {
    const std::string folder = pathnames::folderOf(path);
    std::string name = pathnames::fileNamePart(path);
    if (name.size() + marker.size() > kMaxNameBytes) {
        size_t keep = kMaxNameBytes > marker.size() ? kMaxNameBytes - marker.size() : 0;
        // Back up to the start of a character.
        while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
        name.resize(keep);
    }
    const std::string prefix = folder.empty() ? std::string() : (folder == "/" ? folder : folder + "/");
    return prefix + name + marker;
}

RenameResult renameNoReplace(const std::string& from, const std::string& to) {
    if (from == to) return {RenameStatus::TargetExists, EEXIST};
    RenameResult result = plainNoReplace(from, to);
    if (result.status != RenameStatus::TargetExists) return result;
    // The "existing" target may be the file itself under another case.
    struct stat source {};
    struct stat target {};
    if (::lstat(from.c_str(), &source) != 0 || ::lstat(to.c_str(), &target) != 0 || !sameFile(source, target)) {
        return result;
    }
    // Hard links of one file in one folder are two names, not a case change.
    if (pathnames::folderOf(from) != pathnames::folderOf(to) || source.st_nlink > 1) return result;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temporary = withMarker(from, "~c" + std::to_string(::getpid()) + "-" + std::to_string(attempt));
        const RenameResult away = plainNoReplace(from, temporary);
        if (away.status == RenameStatus::TargetExists) continue;
        if (!away.ok()) return away;
        const RenameResult back = plainNoReplace(temporary, to);
        if (back.ok()) return back;
        // The file returns to its old name; that name was its own a moment ago.
        plainNoReplace(temporary, from);
        return back;
    }
    return result;
}

OpenFolder::OpenFolder(std::string path) : m_path(std::move(path)) {
    m_fd = ::open(m_path.empty() ? "." : m_path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

OpenFolder::~OpenFolder() {
    if (m_fd >= 0) ::close(m_fd);
}

const char* OpenFolder::nameWithin(const std::string& path) const {
    const size_t start = m_path.empty() ? 0 : (m_path == "/" ? 1 : m_path.size() + 1);
    if (start > 0 && (path.size() <= start || path.compare(0, m_path.size(), m_path) != 0 || path[start - 1] != '/')) {
        return nullptr;
    }
    if (start >= path.size() || path.find('/', start) != std::string::npos) return nullptr;
    return path.c_str() + start;
}

bool OpenFolder::holds(const std::string& path) const { return nameWithin(path) != nullptr; }

RenameResult OpenFolder::renameNoReplace(const std::string& from, const std::string& to) const {
    const char* fromName = nameWithin(from);
    const char* toName = nameWithin(to);
    if (m_fd < 0 || g_flagRefused || from == to || !fromName || !toName) return fileops::renameNoReplace(from, to);
    if (::renameat2(m_fd, fromName, m_fd, toName, RENAME_NOREPLACE) == 0) return {RenameStatus::Done, 0};
    const int error = errno;
    // A taken name may be the file itself in another case, and a refused flag needs
    // the tested rename: both are the rare ways of the full path.
    if (error == EEXIST || error == EINVAL || error == ENOSYS || error == ENOTSUP) {
        return fileops::renameNoReplace(from, to);
    }
    return fromErrno(error);
}

std::string renameErrorText(const RenameResult& result) {
    switch (result.status) {
        case RenameStatus::Done: return {};
        case RenameStatus::TargetExists: return "Eine Datei dieses Namens ist schon vorhanden.";
        case RenameStatus::SourceMissing: return "Die Datei ist nicht mehr vorhanden.";
        case RenameStatus::Failed: break;
    }
    switch (result.error) {
        case EACCES:
        case EPERM: return "Zugriff verweigert.";
        case EROFS: return "Der Datenträger ist schreibgeschützt.";
        case EXDEV: return "Ziel liegt auf einem anderen Datenträger.";
        case ENAMETOOLONG: return "Der Name ist zu lang.";
        case ENOSPC: return "Der Datenträger ist voll.";
        default: return std::strerror(result.error);
    }
}

}  // namespace pictra::fileops
