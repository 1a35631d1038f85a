// File compare and drive copy as whole processes, for timing against GNU diff,
// cmp, rsync and cp (bench/compare_peer.sh):
//   compare_tool positional A B    the compare window's grid filled and compared line by line
//   compare_tool align A B         the same, then "Automatisch ausrichten"
//   compare_tool copy SOURCE TARGET every folder of SOURCE brought up to date in TARGET
// With PICTRA_PHASES set, each phase's wall time and page faults go to stderr.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <variant>

#include "explorer/compare/CompareGrid.h"
#include "explorer/compare/SecondFile.h"
#include "explorer/drivecopy/DriveCopy.h"
#include "platform/LineDiff.h"

using namespace pictra;

namespace {

class Phases {
public:
    Phases() : m_on(std::getenv("PICTRA_PHASES") != nullptr) { mark(nullptr); }
    void mark(const char* phase) {
        if (!m_on) return;
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        const auto now = std::chrono::steady_clock::now();
        if (phase) {
            std::fprintf(stderr, "%-22s %7.2f ms %6ld faults\n", phase,
                         std::chrono::duration<double, std::milli>(now - m_time).count(), usage.ru_minflt - m_faults);
        }
        m_time = now;
        m_faults = usage.ru_minflt;
    }

private:
    bool m_on;
    std::chrono::steady_clock::time_point m_time;
    long m_faults = 0;
};

compare::FileLines linesOf(const char* path) {
    auto read = compare::readSecondFile(path);
    if (auto* message = std::get_if<std::string>(&read)) {
        std::fprintf(stderr, "%s\n", message->c_str());
        std::exit(2);
    }
    return std::move(std::get<compare::FileLines>(read));
}

int copy(const char* source, const char* target) {
    drivecopy::Progress progress;
    std::atomic<bool> stop{false};
    const auto report = drivecopy::run(drivecopy::Job{source, target, drivecopy::topFolders(source), false}, progress, stop);
    std::printf("%llu seen, %llu copied\n", static_cast<unsigned long long>(progress.seen.load()),
                static_cast<unsigned long long>(progress.copied.load()));
    return report.failed.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: compare_tool positional|align|copy A B\n");
        return 2;
    }
    const std::string command = argv[1];
    if (command == "copy") return copy(argv[2], argv[3]);
    if (command != "align" && command != "positional") return 2;
    Phases phases;
    if (command == "align") platform::prepareLineDiff();
    // The two files on the two cores.
    compare::FileLines right;
    std::thread reader([&right, argv] { right = linesOf(argv[3]); });
    compare::CompareGrid grid(linesOf(argv[2]));
    reader.join();
    phases.mark("read both files");
    grid.setRight(std::move(right));
    phases.mark("grid");
    if (command == "align") {
        const auto keys = grid.diffKeys();
        phases.mark("diff keys");
        const auto hunks = platform::diffTexts(keys.first.view(), keys.second.view());
        phases.mark("libgit2 diff");
        grid.align(hunks);
        phases.mark("align");
    }
    std::printf("%zu Zeilen sind verschieden\n", grid.recompare());
    phases.mark("recompare");
    return 0;
}
