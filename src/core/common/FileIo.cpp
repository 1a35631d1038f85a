#include "FileIo.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pictra::fileio {

std::optional<std::string> readFile(const std::string& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string data;
    in.seekg(0, std::ios::end);
    auto size = in.tellg();
    if (size > 0) {
        data.resize(static_cast<size_t>(size));
        in.seekg(0, std::ios::beg);
        in.read(data.data(), size);
        if (!in) return std::nullopt;
    }
    return data;
}

namespace {

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string temporarySibling(const std::string& path) {
    static std::mt19937 rng{std::random_device{}()};
    fs::path p(path);
    std::string name = "." + p.filename().string() + ".tmp" + std::to_string(rng() % 1000000);
    return (p.parent_path() / name).string();
}

// A writable file in a folder the user may not create files in: it can only be
// rewritten where it is.
bool writeInPlace(const std::string& path, const std::string& bytes) {
    if (::access(path.c_str(), W_OK) != 0) return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    return ok;
}

}  // namespace

bool writeFileAtomic(const std::string& requestedPath, const std::string& bytes) {
    // A link stays a link: the file it points to is replaced.
    std::error_code ec;
    std::string path = fs::is_symlink(requestedPath, ec) ? fs::weakly_canonical(requestedPath, ec).string() : requestedPath;
    if (path.empty()) path = requestedPath;
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return false;
        mode = st.st_mode & 07777;
    }
    std::string tmp = temporarySibling(path);
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return errno == EACCES && writeInPlace(path, bytes);
    bool ok = writeAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        return false;
    }
    // Make the rename itself durable.
    std::string dir = fs::path(path).parent_path().string();
    int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

}  // namespace pictra::fileio
