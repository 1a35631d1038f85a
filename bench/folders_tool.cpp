// The folder commands as whole processes, timed against find by folders_peer.sh:
//   folders_tool make DIR      a fixed tree of 129,220 files in 1,200 folders (sparse files, 1,330 over 10 MB)
//   folders_tool make-small DIR  the first tenth of it: 120 folders
//   folders_tool largest DIR   the 100 largest files over 9999999 bytes, smallest first ("size path")
//   folders_tool folders DIR   every folder below DIR ("Alle Unterordner auflisten")
//   folders_tool empty DIR     every empty folder below DIR ("Leere Ordner suchen", each offer declined)
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
// Dialogs that answer nothing: the tool asks no one. It prints a shown list one folder a line, and each
// folder offered for deletion, as find prints them (no trailing "/").
class Silent : public bench::QuietDialogs {
public:
    bool list = false;
    bool offers = false;
    void showText(const std::string&, const std::string& text) override {
        if (!list) return;
        std::size_t from = 0;
        while (from < text.size()) {
            std::size_t end = text.find("\r\n", from);
            if (end == std::string::npos) end = text.size();
            printFolder(text.substr(from, end - from));
            from = end + 2;
        }
    }
    Answer ask(const std::string& question) override {
        // "\"/path/\" löschen?"
        if (offers && question.size() > 2 && question[0] == '"')
            printFolder(question.substr(1, question.rfind('"') - 1));
        return Answer::No;
    }

private:
    static void printFolder(const std::string& folder) {
        const std::size_t size = folder.size() > 1 && folder.back() == '/' ? folder.size() - 1 : folder.size();
        std::printf("%.*s\n", static_cast<int>(size), folder.c_str());
    }
};

int make(const std::string& root, int tops) {
    ::mkdir(root.c_str(), 0755);
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int top = 0; top < tops; ++top) {
        const std::string a = root + "/o" + std::to_string(top);
        ::mkdir(a.c_str(), 0755);
        for (int sub = 0; sub < 29; ++sub) {
            const std::string b = a + "/u" + std::to_string(sub);
            ::mkdir(b.c_str(), 0755);
            // 40 + 40 × 29 = 1,200 folders (a tenth with 4 at the top); every seventh stays empty.
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
        std::fprintf(stderr, "folders_tool make|make-small|largest|folders|empty|floor DIR\n");
        return 2;
    }
    const std::string command = argv[1];
    const std::string root = argv[2];
    if (command == "make") return make(root, 40);
    if (command == "make-small") return make(root, 4);
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
    // The commands themselves: "Alle Unterordner auflisten" shows its list, "Leere Ordner suchen" offers each
    // empty folder (declined here, so that the tree stays as it is for the next run).
    if (command == "folders") {
        dialogs.list = true;
        folders::listAllSubfolders(root, dialogs);
        return 0;
    }
    if (command == "empty") {
        dialogs.offers = true;
        folders::removeEmptyFolders(root, context);
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
