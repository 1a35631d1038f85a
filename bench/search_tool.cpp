// Search in files as a whole process, for search_peer.sh:
//   search_tool make <folder>                 the fixed-seed tree
//   search_tool list <folder> <text> [case] [threads]   the matching files, one per line (like rg -l)
//   search_tool floor <folder> [threads]      the same walk reading every file, matching nothing
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "explorer/search/SearchRun.h"
#include "explorer/walk/FolderWalk.h"

namespace fs = std::filesystem;
using namespace pictra;

namespace {

// 20,000 Windows-1252 text files of 306 MB in 1,200 folders; "Gartenzwerg" in 137
// of them and "GARTENZWERG" in 23 more.
int make(const std::string& root) {
    std::uint64_t seed = 20261211;
    auto next = [&] {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(seed >> 33);
    };
    const char* words[] = {"der", "die", "das", "und", "Stra\xdf" "e", "M\xfcller", "Gr\xfc\xdf" "e", "B\xe4ume",
                           "\xf6" "ffentlich", "Schule", "Lehrer", "Garten", "Zwerg", "Wetter", "Fenster", "Tisch",
                           "Haus", "Bild", "Seite", "Sch\xfcler", "H\xf6he", "K\xe4se", "Caf\xe9", "Tabelle"};
    const int folders = 1200, files = 20000;
    const std::uint64_t total = 306'000'000;
    std::vector<std::string> folderPaths;
    for (int top = 0; top < 30; ++top)
        for (int sub = 0; sub < 40; ++sub)
            folderPaths.push_back(root + "/o" + std::to_string(top) + "/u" + std::to_string(sub));
    for (const auto& f : folderPaths) fs::create_directories(f);
    std::vector<int> mark(files, 0);
    for (int placed = 0; placed < 160;) {
        const int i = static_cast<int>(next() % files);
        if (mark[i]) continue;
        mark[i] = placed < 137 ? 1 : 2;
        ++placed;
    }
    const std::uint64_t mean = total / files;
    for (int i = 0; i < files; ++i) {
        const std::size_t size = static_cast<std::size_t>(mean / 2 + next() % mean);
        std::string text;
        text.reserve(size + 64);
        while (text.size() < size) {
            text += words[next() % (sizeof words / sizeof *words)];
            text += (next() % 12 == 0) ? "\r\n" : " ";
        }
        if (mark[i]) text.insert(next() % text.size(), mark[i] == 1 ? " Gartenzwerg " : " GARTENZWERG ");
        std::ofstream(folderPaths[static_cast<std::size_t>(i) % folders] + "/datei" + std::to_string(i) + ".txt",
                      std::ios::binary) << text;
    }
    (void)folders;
    return 0;
}

int list(const std::string& root, const std::string& text, bool matchCase, unsigned threads) {
    filesearch::Criteria criteria;
    criteria.texts[0] = text;
    criteria.matchCase = matchCase;
    filesearch::SearchRun run(criteria, root, true, 0);
    run.start(threads);
    std::string out;
    auto take = [&] {
        for (const auto& hit : run.takeHits()) out += hit.path + '\n';
    };
    while (!run.finished()) {
        run.waitForNews(std::chrono::milliseconds(50));
        take();
    }
    take();
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int floor(const std::string& root, unsigned threads) {
    std::atomic<bool> stop{false};
    std::atomic<std::uint64_t> bytes{0};
    walk::WalkSink sink;
    sink.unreadable = [](const std::string&) {};
    sink.file = [&](const walk::WalkFile& file) {
        thread_local std::string buffer(4u << 20, '\0');
        const int fd = ::open(file.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return;
        ssize_t got;
        while ((got = ::read(fd, buffer.data(), buffer.size())) > 0) bytes += static_cast<std::uint64_t>(got);
        ::close(fd);
    };
    walk::walkParallel(root, {}, sink, stop, threads);
    std::printf("%llu\n", static_cast<unsigned long long>(bytes.load()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "make" && argc == 3) return make(argv[2]);
    if (mode == "list" && argc >= 4) {
        const bool matchCase = argc > 4 && std::strcmp(argv[4], "case") == 0;
        const unsigned threads = argc > 5 ? static_cast<unsigned>(std::stoul(argv[5])) : 2;
        return list(argv[2], argv[3], matchCase, threads);
    }
    if (mode == "floor" && argc >= 3) return floor(argv[2], argc > 3 ? static_cast<unsigned>(std::stoul(argv[3])) : 2);
    std::fprintf(stderr, "search_tool make|list|floor <folder> ...\n");
    return 2;
}
