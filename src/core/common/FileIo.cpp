#include "FileIo.h"

#include "LargeBuffer.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <ctime>
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
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#ifdef __linux__
#include <linux/fs.h>
#endif

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

std::string inFolder(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool allDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

template <typename Number>
std::optional<Number> numberOf(std::string_view s) {
    Number value{};
    if (!allDigits(s)) return std::nullopt;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

// The start of a process in clock ticks since boot (field 22 of /proc/<pid>/stat,
// counted after the command name, which may itself hold blanks and brackets).
std::optional<unsigned long long> startTicksOf(pid_t pid) {
    const auto stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    if (!stat) return std::nullopt;
    const size_t close = stat->rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::string_view rest = std::string_view(*stat).substr(close + 1);
    for (int field = 2; field < 22; ++field) {
        const size_t start = rest.find_first_not_of(' ');
        if (start == std::string_view::npos) return std::nullopt;
        rest.remove_prefix(start);
        const size_t end = rest.find(' ');
        if (field == 21) return numberOf<unsigned long long>(rest.substr(0, end));
        if (end == std::string_view::npos) return std::nullopt;
        rest.remove_prefix(end);
    }
    return std::nullopt;
}

// Who made a temporary file or a record: the process number and its start, so that
// a process number used again by a later process is not taken for the maker.
struct Maker {
    pid_t pid = 0;
    unsigned long long start = 0;
};

// Asked again after a fork: the child is another maker.
const Maker& thisProcess() {
    static Maker self;
    if (const pid_t pid = ::getpid(); self.pid != pid) self = Maker{pid, startTicksOf(pid).value_or(0)};
    return self;
}

std::string markOf(const Maker& maker) { return std::to_string(maker.pid) + "-" + std::to_string(maker.start); }

// The moment this module was loaded, as good as the start of the process for
// telling files of earlier runs apart.
const std::time_t kLoadedAt = std::time(nullptr);

std::optional<Maker> parseMark(std::string_view mark) {
    const size_t dash = mark.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const auto pid = numberOf<pid_t>(mark.substr(0, dash));
    const auto start = numberOf<unsigned long long>(mark.substr(dash + 1));
    if (!pid || !start || *pid <= 0) return std::nullopt;
    return Maker{*pid, *start};
}

// True when the maker is no longer running. Where /proc cannot tell, a process
// that still answers counts as running.
bool makerIsGone(const Maker& maker) {
    const Maker& self = thisProcess();
    if (maker.pid == self.pid && maker.start == self.start) return false;
    if (const auto start = startTicksOf(maker.pid)) return *start != maker.start;
    return ::kill(maker.pid, 0) != 0 && errno == ESRCH;
}

// What follows ".tmp" in a temporary name: the maker's mark and six digits, or up
// to six digits alone in the names of earlier versions.
enum class TailKind { None, Earlier, Marked };

struct Tail {
    TailKind kind = TailKind::None;
    Maker maker;
};

Tail parseTail(std::string_view tail) {
    if (allDigits(tail)) return {tail.size() <= 6 ? TailKind::Earlier : TailKind::None, {}};
    const size_t last = tail.rfind('-');
    if (last == std::string_view::npos || tail.size() - last - 1 != 6 || !allDigits(tail.substr(last + 1))) return {};
    if (const auto maker = parseMark(tail.substr(0, last))) return {TailKind::Marked, *maker};
    return {};
}

constexpr const char* kTemporaryMark = ".tmp";

// "." + name + ".tmp", the name cut so that the temporary name (with the maker's
// mark and six digits) stays within the file system's 255 bytes.
std::string temporaryPrefix(const std::string& path) {
    const std::string name = fileNameOf(path);
    return "." + name.substr(0, std::min<std::size_t>(name.size(), 210)) + kTemporaryMark;
}

// The prefix earlier versions used, with a longer cut.
std::string earlierTemporaryPrefix(const std::string& path) {
    const std::string name = fileNameOf(path);
    return "." + name.substr(0, std::min<std::size_t>(name.size(), 240)) + kTemporaryMark;
}

bool ctimeBeforeThisRun(const std::string& file) {
    struct stat st {};
    return ::lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_ctim.tv_sec < kLoadedAt;
}

// Earlier runs that were killed in the middle of a save left named temporary
// files beside the document; each save clears those of its own file.
void removeStaleTemporariesOf(const std::string& path) {
    const std::string prefix = temporaryPrefix(path);
    const std::string earlier = earlierTemporaryPrefix(path);
    const std::string dir = folderOf(path);
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name = e->d_name;
        bool stale = false;
        if (name.size() > earlier.size() && name.substr(0, earlier.size()) == earlier) {
            stale = parseTail(name.substr(earlier.size())).kind == TailKind::Earlier;
        }
        if (!stale && name.size() > prefix.size() && name.substr(0, prefix.size()) == prefix) {
            const Tail tail = parseTail(name.substr(prefix.size()));
            stale = tail.kind == TailKind::Marked && makerIsGone(tail.maker);
        }
        if (stale) ::unlink((dir + "/" + e->d_name).c_str());
    }
    ::closedir(d);
}

std::string namedTemporary(const std::string& path) {
    static std::mt19937 rng{std::random_device{}()};
    std::string digits = std::to_string(rng() % 1000000);
    digits.insert(0, 6 - digits.size(), '0');
    return folderOf(path) + "/" + temporaryPrefix(path) + markOf(thisProcess()) + "-" + digits;
}

bool& unnamedTemporariesAllowed() {
    static bool allowed = true;
    return allowed;
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
    const int anonymous =
        unnamedTemporariesAllowed() ? ::open(folderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600) : -1;
    if (anonymous >= 0) {
        bool ok = fill(anonymous) && ::fchmod(anonymous, mode) == 0 && flush(anonymous);
        int error = ok ? 0 : (errno != 0 ? errno : EIO);
        if (ok) {
            const std::string proc = "/proc/self/fd/" + std::to_string(anonymous);
            // Where no file has the name yet, the complete file simply gets it: linking
            // never replaces, and a paste of many new files saves a rename each.
            if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                ::close(anonymous);
                if (durable) syncFolder(path);
                return 0;
            }
            const std::string tmp = namedTemporary(path);
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

std::uint64_t checksumOf(std::string_view bytes) {
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

constexpr const char* kRecordPrefix = ".speichern-";

// The record names the file, its backup, the size and the checksum of the new
// content, each ended by a zero byte (no path can hold one).
std::string recordText(const std::string& path, const std::string& backup, const std::string& bytes) {
    std::string record;
    for (const std::string& field :
         {path, backup, std::to_string(bytes.size()), std::to_string(checksumOf(bytes))}) {
        record.append(field).push_back('\0');
    }
    return record;
}

std::string ownRecord(const std::string& folder) { return inFolder(folder, kRecordPrefix + markOf(thisProcess())); }

void dropRecord(const std::string& record) {
    ::unlink(record.c_str());
    syncFolder(record);
}

// A writable file in a folder the user may not create files in can only be
// rewritten where it is. The space is reserved first and the file is never
// truncated before the new text is complete, so a full disk changes nothing;
// with a journal the rewrite is recorded before the first byte changes.
WriteResult writeInPlace(const std::string& path, const std::string& bytes, const InPlaceJournal* journal,
                         int& error) {
    if (::access(path.c_str(), W_OK) != 0) {
        error = errno;
        return WriteResult::Untouched;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return WriteResult::Untouched;
    }
    if (!bytes.empty()) {
        if (const int reserved = ::posix_fallocate(fd, 0, static_cast<off_t>(bytes.size())); reserved != 0) {
            ::close(fd);
            error = reserved;
            return WriteResult::Untouched;
        }
    }
    std::string record;
    if (journal) {
        record = ownRecord(journal->folder);
        if (!writeFileAtomic(record, recordText(path, journal->backup, bytes))) {
            error = errno != 0 ? errno : EIO;
            ::close(fd);
            return WriteResult::Untouched;
        }
    }
    bool ok = writeAllAt(fd, bytes.data(), bytes.size(), 0) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
              ::fsync(fd) == 0;
    if (!ok) error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    // A failure is reported at once, with the backup's name: no record is left for the next start.
    if (!record.empty()) dropRecord(record);
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
    // Opening a device can have effects of its own (a tape rewinds, a terminal is
    // taken over), so only regular files are opened at all.
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0 || !S_ISREG(before.st_mode)) return std::nullopt;
    // O_NONBLOCK: should a FIFO have taken the file's place since, opening it must not wait.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string data;
    // One byte of room past the size: the read that finds the end then needs no
    // larger buffer, which would copy the whole file once more.
    common::reserveLarge(data, static_cast<std::size_t>(st.st_size) + 1);
    data.resize(static_cast<std::size_t>(st.st_size) + 1);
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

namespace {

WriteResult writeFileWith(const std::string& requestedPath, const std::string& bytes, bool allowInPlace,
                          const InPlaceJournal* journal, int* errorOut) {
    int ignored = 0;
    int& error = errorOut ? *errorOut : ignored;
    error = 0;
    const std::string path = resolveLink(requestedPath);
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            error = EISDIR;
            return WriteResult::Untouched;
        }
        mode = st.st_mode & 07777;
    }
    // Only saves ever left named temporaries behind (copies never did), and reading a
    // large folder once per file would make copying many files quadratic.
    removeStaleTemporariesOf(path);
    error = replaceThroughTemporary(path, mode, [&bytes](int fd) {
        return writeAllAt(fd, bytes.data(), bytes.size(), 0);
    });
    if (error == 0) return WriteResult::Written;
    if (error == EACCES && allowInPlace) return writeInPlace(path, bytes, journal, error);
    return WriteResult::Untouched;
}

}  // namespace

WriteResult writeFile(const std::string& path, const std::string& bytes, bool allowInPlace, int* error) {
    return writeFileWith(path, bytes, allowInPlace, nullptr, error);
}

WriteResult writeFile(const std::string& path, const std::string& bytes, const InPlaceJournal& journal, int* error) {
    return writeFileWith(path, bytes, true, &journal, error);
}

bool writeFileAtomic(const std::string& path, const std::string& bytes) {
    return writeFile(path, bytes, true) == WriteResult::Written;
}

bool writeFileCached(const std::string& requestedPath, const std::string& bytes, int* error) {
    const std::string path = resolveLink(requestedPath);
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            if (error) *error = EISDIR;
            return false;
        }
        mode = st.st_mode & 07777;
    }
    const int result = replaceThroughTemporary(
        path, mode, [&bytes](int fd) { return writeAllAt(fd, bytes.data(), bytes.size(), 0); }, false);
    if (error) *error = result;
    return result == 0;
}

bool syncFileSystemOf(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::syncfs(fd) == 0;
    ::close(fd);
    return ok;
}

namespace {

// A clone shares the source's blocks until either is changed (Btrfs, XFS, bcachefs):
// no byte is read or written, and the copy takes no room of its own yet.
bool cloned(int in, int out) {
#ifdef FICLONE
    return ::ioctl(out, FICLONE, in) == 0;
#else
    (void)in;
    (void)out;
    return false;
#endif
}

// As a clone where the file system can; else in the kernel (no copy through user
// space); by hand where the file systems refuse, and always while the crash hook
// counts written bytes.
bool copyContents(int in, int out) {
    if (!killHook().remaining) {
        if (cloned(in, out)) return true;
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
                    Durability durability, int* errorNumber, Protection protection) {
    const auto fail = [&](int number, const std::string& reason) {
        error = reason;
        if (errorNumber) *errorNumber = number;
        return false;
    };
    struct stat st {};
    if (::stat(source.c_str(), &st) != 0) return fail(errno, std::strerror(errno));
    if (!S_ISREG(st.st_mode)) return fail(EINVAL, "Keine normale Datei");
    const int in = ::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (in < 0) return fail(errno, std::strerror(errno));
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        return fail(EINVAL, "Keine normale Datei");
    }
    const std::string target = resolveLink(requestedTarget);
    const mode_t mode = (st.st_mode & 07777) | (protection == Protection::Writable ? S_IWUSR : 0);
    const int result = replaceThroughTemporary(
        target, mode,
        [in, &st](int out) {
            if (!copyContents(in, out)) return false;
            const timespec times[2] = {st.st_atim, st.st_mtim};
            return ::futimens(out, times) == 0;
        },
        durability == Durability::Synced);
    ::close(in);
    if (result != 0) return fail(result, std::strerror(result));
    if (errorNumber) *errorNumber = 0;
    return true;
}

bool moveFile(const std::string& source, const std::string& target) { return ::rename(source.c_str(), target.c_str()) == 0; }

bool fileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool isDiskFull(int error) { return error == ENOSPC || error == EDQUOT; }

std::string mountPointOf(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::absolute(path, ec);
    if (ec) p = path;
    struct stat st {};
    while (::stat(p.c_str(), &st) != 0) {
        if (!p.has_relative_path()) return p.string();
        p = p.parent_path();
    }
    const dev_t device = st.st_dev;
    while (p.has_relative_path()) {
        const fs::path parent = p.parent_path();
        if (::stat(parent.c_str(), &st) != 0 || st.st_dev != device) break;
        p = parent;
    }
    return p.string();
}

int removeStaleTemporaries(const std::string& folder, bool earlierNamesToo) {
    DIR* d = ::opendir(folder.c_str());
    if (!d) return 0;
    int removed = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name = e->d_name;
        const size_t mark = name.rfind(kTemporaryMark);
        if (name.empty() || name.front() != '.' || mark == std::string_view::npos || mark < 2) continue;
        const Tail tail = parseTail(name.substr(mark + std::string_view(kTemporaryMark).size()));
        const std::string file = inFolder(folder, e->d_name);
        const bool stale = (tail.kind == TailKind::Marked && makerIsGone(tail.maker)) ||
                           (tail.kind == TailKind::Earlier && earlierNamesToo && ctimeBeforeThisRun(file));
        if (stale && ::unlink(file.c_str()) == 0) ++removed;
    }
    ::closedir(d);
    return removed;
}

std::vector<InterruptedWrite> interruptedWrites(const std::string& folder) {
    std::vector<InterruptedWrite> found;
    DIR* d = ::opendir(folder.c_str());
    if (!d) return found;
    const std::string_view prefix = kRecordPrefix;
    std::vector<std::string> records;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name = e->d_name;
        if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) continue;
        const auto maker = parseMark(name.substr(prefix.size()));
        if (maker && makerIsGone(*maker)) records.push_back(inFolder(folder, e->d_name));
    }
    ::closedir(d);
    std::sort(records.begin(), records.end());
    for (const std::string& record : records) {
        const auto text = readFile(record);
        std::vector<std::string> fields;
        for (size_t at = 0; text && at < text->size();) {
            const size_t end = text->find('\0', at);
            if (end == std::string::npos) break;
            fields.push_back(text->substr(at, end - at));
            at = end + 1;
        }
        const auto size = fields.size() == 4 ? numberOf<std::uintmax_t>(fields[2]) : std::nullopt;
        const auto checksum = fields.size() == 4 ? numberOf<std::uint64_t>(fields[3]) : std::nullopt;
        if (!size || !checksum) {
            dropRecord(record);  // not one of ours, or unreadable: nothing to offer
            continue;
        }
        // The crash may have come after the file was complete but before the record went.
        const auto present = readFile(fields[0]);
        if (present && present->size() == *size && checksumOf(*present) == *checksum) {
            dropRecord(record);
            continue;
        }
        found.push_back({record, fields[0], fields[1], *size});
    }
    return found;
}

WriteResult restoreInterruptedWrite(const InterruptedWrite& write, const std::string& folder, int* error) {
    const auto old = readFile(write.backup);
    if (!old) {
        if (error) *error = ENOENT;
        return WriteResult::Untouched;
    }
    const WriteResult result = fileio::writeFile(write.path, *old, InPlaceJournal{folder, write.backup}, error);
    if (result == WriteResult::Written) forgetInterruptedWrite(write);
    return result;
}

void forgetInterruptedWrite(const InterruptedWrite& write) { dropRecord(write.record); }

void setUnnamedTemporaries(bool allowed) { unnamedTemporariesAllowed() = allowed; }

}  // namespace pictra::fileio
