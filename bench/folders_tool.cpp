// The folder commands as whole processes, timed against find by folders_peer.sh:
//   folders_tool make DIR      a fixed tree of 129,220 files in 1,200 folders (sparse files, 1,330 over 10 MB)
//   folders_tool largest DIR   the 100 largest files over 9999999 bytes, smallest first ("size path")
//   folders_tool folders DIR   every folder below DIR
//   folders_tool empty DIR     every empty folder below DIR
//   folders_tool floor DIR     a getdents and statx walk of every entry on one thread, nothing kept
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "QuietDialogs.h"
#include "explorer/folders/FolderCommands.h"
#include "explorer/folders/LargestFiles.h"

using namespace pictra;

namespace {

// Dialogs that answer nothing: the tool asks no one.
class Silent : public bench::QuietDialogs {
public:
    void showText(const std::string&, const std::string& text) override { std::fwrite(text.data(), 1, text.size(), stdout); }
};

int make(const std::string& root) {
    ::mkdir(root.c_str(), 0755);
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int top = 0; top < 40; ++top) {
        const std::string a = root + "/o" + std::to_string(top);
        ::mkdir(a.c_str(), 0755);
        for (int sub = 0; sub < 29; ++sub) {
            const std::string b = a + "/u" + std::to_string(sub);
            ::mkdir(b.c_str(), 0755);
            // 40 + 40 × 29 = 1,200 folders; every seventh stays empty.
            if ((top * 29 + sub) % 7 == 0) continue;
            for (int f = 0; f < 130; ++f) {
                const std::string file = b + "/datei" + std::to_string(f) + ".bin";
                const int fd = ::open(file.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
                if (fd < 0) return 1;
                const unsigned r = next() >> 8;
                const off_t size = r % 97 == 0 ? 10000000 + (r % 5000000000LL) : r % 200000;
                if (::ftruncate(fd, size) != 0) return 1;
                ::close(fd);
            }
        }
    }
    return 0;
}

void floorWalk(int dirFd, long long& entries) {
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) return;
    while (const dirent* e = ::readdir(dir)) {
        if (e->d_name[0] == '.' && (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0))) continue;
        struct statx sx {};
        if (::statx(::dirfd(dir), e->d_name, AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_SIZE, &sx) != 0) continue;
        ++entries;
        if (S_ISDIR(sx.stx_mode)) {
            const int fd = ::openat(::dirfd(dir), e->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd >= 0) floorWalk(fd, entries);
        }
    }
    ::closedir(dir);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "folders_tool make|largest|folders|empty|floor DIR\n");
        return 2;
    }
    const std::string command = argv[1];
    const std::string root = argv[2];
    if (command == "make") return make(root);
    Silent dialogs;
    CopySession session;
    CopyContext copies{dialogs, session, "", "", {}, nullptr};
    folders::FolderContext context{copies, [](const std::string&) { return false; }, "", {2026, 12, 11}};
    if (command == "largest") {
        for (const auto& line : folders::largestFiles(root, context).lines) {
            // "-->" + size + " " + path → "size path", as find prints it.
            const auto blank = line.find(' ');
            std::printf("%lld %s\n", std::stoll(line.substr(3, blank - 3)), line.c_str() + blank + 1);
        }
        return 0;
    }
    if (command == "folders" || command == "empty") {
        const auto list = folders::collectFolders(root, dialogs);
        for (const auto& folder : list.folders) {
            if (command == "empty") {
                DIR* dir = ::opendir(folder.c_str());
                bool empty = dir != nullptr;
                while (dir && empty) {
                    const dirent* e = ::readdir(dir);
                    if (!e) break;
                    if (!(e->d_name[0] == '.' && (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0)))) empty = false;
                }
                if (dir) ::closedir(dir);
                if (!empty) continue;
            }
            std::printf("%.*s\n", static_cast<int>(folder.size() - 1), folder.c_str());
        }
        return 0;
    }
    if (command == "floor") {
        long long entries = 0;
        const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) floorWalk(fd, entries);
        std::printf("%lld\n", entries);
        return 0;
    }
    return 2;
}
