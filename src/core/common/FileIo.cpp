#include "FileIo.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pictra::fileio {

namespace {

// Both halves of the crash hook: how many bytes may still be written, and whether
// the environment has been asked.
struct KillHook {
    std::optional<std::size_t> remaining;
    bool initialised = false;
};

KillHook& killHook() {
    static KillHook hook;
    if (!hook.initialised) {
        hook.initialised = true;
        if (const char* v = std::getenv("PICTRA_KILL_AFTER_BYTES"); v && *v) {
            hook.remaining = static_cast<std::size_t>(std::strtoull(v, nullptr, 10));
        }
    }
    return hook;
}

// Writes in slices, so that the crash hook can strike in the middle of a file.
bool writeAllAt(int fd, const char* data, std::size_t size, off_t offset) {
    constexpr std::size_t kSlice = 1 << 16;
    std::size_t done = 0;
    KillHook& hook = killHook();
    while (done < size) {
        std::size_t chunk = std::min(kSlice, size - done);
        if (hook.remaining) {
            if (*hook.remaining == 0) ::raise(SIGKILL);
            chunk = std::min(chunk, *hook.remaining);
        }
        const ssize_t n = ::pwrite(fd, data + done, chunk, offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
        if (hook.remaining) *hook.remaining -= static_cast<std::size_t>(n);
    }
    if (hook.remaining && *hook.remaining == 0) ::raise(SIGKILL);
    return true;
}

std::string folderOf(const std::string& path) {
    const std::string dir = fs::path(path).parent_path().string();
    return dir.empty() ? "." : dir;
}

std::string fileNameOf(const std::string& path) { return fs::path(path).filename().string(); }

bool isOurTemporaryName(const std::string& candidate, const std::string& prefix) {
    if (candidate.size() <= prefix.size() || candidate.compare(0, prefix.size(), prefix) != 0) return false;
    const std::string digits = candidate.substr(prefix.size());
    return digits.size() <= 6 && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "." + name + ".tmp", the name cut so that the temporary name (with six digits)
// stays within the file system's 255 bytes even for the longest names.
std::string temporaryPrefix(const std::string& path) {
    const std::string name = fileNameOf(path);
    return "." + name.substr(0, std::min<std::size_t>(name.size(), 240)) + ".tmp";
}

// Earlier runs that were killed in the middle of a save left named temporary
// files beside the document; each save clears those of its own file.
void removeStaleTemporaries(const std::string& path) {
    const std::string prefix = temporaryPrefix(path);
    const std::string dir = folderOf(path);
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    while (const dirent* e = ::readdir(d)) {
        if (isOurTemporaryName(e->d_name, prefix)) ::unlink((dir + "/" + e->d_name).c_str());
    }
    ::closedir(d);
}

std::string namedTemporary(const std::string& path) {
    static std::mt19937 rng{std::random_device{}()};
    return folderOf(path) + "/" + temporaryPrefix(path) + std::to_string(rng() % 1000000);
}

void syncFolder(const std::string& path) {
    const int dfd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) return;
    ::fsync(dfd);
    ::close(dfd);
}

// Fills a new file beside `path` and renames it over `path`. The file is created
// without a name where the file system allows it, so a crash before the rename
// leaves nothing behind; it gets a short-lived name only for the rename.
// `fill` writes the content and may set times; errno tells why it failed.
// Returns 0 on success, else an errno value; EACCES when no file can be created there.
int replaceThroughTemporary(const std::string& path, mode_t mode, const std::function<bool(int)>& fill,
                            bool durable = true) {
    const auto flush = [durable](int fd) { return !durable || ::fsync(fd) == 0; };
    const int anonymous = ::open(folderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (anonymous >= 0) {
        bool ok = fill(anonymous) && ::fchmod(anonymous, mode) == 0 && flush(anonymous);
        int error = ok ? 0 : (errno != 0 ? errno : EIO);
        if (ok) {
            const std::string tmp = namedTemporary(path);
            const std::string proc = "/proc/self/fd/" + std::to_string(anonymous);
            if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, tmp.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                if (::rename(tmp.c_str(), path.c_str()) != 0) {
                    error = errno;
                    ::unlink(tmp.c_str());
                }
                ::close(anonymous);
                if (error == 0 && durable) syncFolder(path);
                return error;
            }
            error = -1;  // cannot give it a name here: fall back to a named file
        }
        ::close(anonymous);
        if (error > 0) return error;
    }
    const std::string tmp = namedTemporary(path);
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return errno == 0 ? EIO : errno;
    bool ok = fill(fd) && ::fchmod(fd, mode) == 0 && flush(fd);
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        return error == 0 ? EIO : error;
    }
    if (durable) syncFolder(path);
    return 0;
}

// A writable file in a folder the user may not create files in can only be
// rewritten where it is. The space is reserved first and the file is never
// truncated before the new text is complete, so a full disk changes nothing.
WriteResult writeInPlace(const std::string& path, const std::string& bytes) {
    if (::access(path.c_str(), W_OK) != 0) return WriteResult::Untouched;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return WriteResult::Untouched;
    if (!bytes.empty() && ::posix_fallocate(fd, 0, static_cast<off_t>(bytes.size())) != 0) {
        ::close(fd);
        return WriteResult::Untouched;
    }
    bool ok = writeAllAt(fd, bytes.data(), bytes.size(), 0) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
              ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    return ok ? WriteResult::Written : WriteResult::Damaged;
}

std::string resolveLink(const std::string& requestedPath) {
    // A link stays a link: the file it points to is replaced.
    std::error_code ec;
    if (!fs::is_symlink(requestedPath, ec)) return requestedPath;
    std::string path = fs::weakly_canonical(requestedPath, ec).string();
    return path.empty() ? requestedPath : path;
}

}  // namespace

void setKillAfterBytes(std::optional<std::size_t> bytes) { killHook().remaining = bytes; }

std::optional<std::string> readFile(const std::string& path) {
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string data;
    data.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (true) {
        if (done == data.size()) data.resize(data.size() + 65536);  // the file may have grown
        const ssize_t n = ::read(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    data.resize(done);
    return data;
}

WriteResult writeFile(const std::string& requestedPath, const std::string& bytes, bool allowInPlace) {
    const std::string path = resolveLink(requestedPath);
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return WriteResult::Untouched;
        mode = st.st_mode & 07777;
    }
    // Only saves ever left named temporaries behind (copies never did), and reading a
    // large folder once per file would make copying many files quadratic.
    removeStaleTemporaries(path);
    const int error = replaceThroughTemporary(path, mode, [&bytes](int fd) {
        return writeAllAt(fd, bytes.data(), bytes.size(), 0);
    });
    if (error == 0) return WriteResult::Written;
    if (error == EACCES && allowInPlace) return writeInPlace(path, bytes);
    return WriteResult::Untouched;
}

bool writeFileAtomic(const std::string& path, const std::string& bytes) {
    return writeFile(path, bytes, true) == WriteResult::Written;
}

bool writeFileCached(const std::string& requestedPath, const std::string& bytes) {
    const std::string path = resolveLink(requestedPath);
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return false;
        mode = st.st_mode & 07777;
    }
    return replaceThroughTemporary(path, mode, [&bytes](int fd) { return writeAllAt(fd, bytes.data(), bytes.size(), 0); },
                                   false) == 0;
}

bool syncFileSystemOf(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::syncfs(fd) == 0;
    ::close(fd);
    return ok;
}

namespace {

// In the kernel where it can (no copy through user space); by hand where the file
// systems refuse, and always while the crash hook counts written bytes.
bool copyContents(int in, int out) {
    if (!killHook().remaining) {
        off_t inOffset = 0;
        off_t outOffset = 0;
        bool any = false;
        while (true) {
            const ssize_t n = ::copy_file_range(in, &inOffset, out, &outOffset, 1 << 30, 0);
            if (n > 0) {
                any = true;
                continue;
            }
            if (n == 0) return true;
            if (errno == EINTR) continue;
            if (any || (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL)) return false;
            break;
        }
    }
    std::string buffer(1 << 20, '\0');
    off_t offset = 0;
    while (true) {
        const ssize_t n = ::pread(in, buffer.data(), buffer.size(), offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        if (!writeAllAt(out, buffer.data(), static_cast<std::size_t>(n), offset)) return false;
        offset += n;
    }
}

}  // namespace

bool copyFileAtomic(const std::string& source, const std::string& requestedTarget, std::string& error,
                    Durability durability) {
    const int in = ::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (in < 0 || ::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = in < 0 ? std::strerror(errno) : "Keine normale Datei";
        if (in >= 0) ::close(in);
        return false;
    }
    const std::string target = resolveLink(requestedTarget);
    const int result = replaceThroughTemporary(
        target, st.st_mode & 07777,
        [in, &st](int out) {
            if (!copyContents(in, out)) return false;
            const timespec times[2] = {st.st_atim, st.st_mtim};
            return ::futimens(out, times) == 0;
        },
        durability == Durability::Synced);
    ::close(in);
    if (result != 0) error = std::strerror(result);
    return result == 0;
}

bool moveFile(const std::string& source, const std::string& target) { return ::rename(source.c_str(), target.c_str()) == 0; }

bool fileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

}  // namespace pictra::fileio
