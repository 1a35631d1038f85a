// File compare and drive copy as whole processes, for timing against GNU diff,
// cmp, rsync and cp (bench/compare_peer.sh):
//   compare_tool positional A B    the compare window's grid filled and compared line by line
//   compare_tool align A B         the same, then "Automatisch ausrichten"
//   compare_tool copy SOURCE TARGET every folder of SOURCE brought up to date in TARGET
#include <cstdio>
#include <string>
#include <utility>
#include <variant>

#include "explorer/compare/CompareGrid.h"
#include "explorer/compare/SecondFile.h"
#include "explorer/drivecopy/DriveCopy.h"
#include "platform/LineDiff.h"

using namespace pictra;

namespace {

std::vector<std::string> linesOf(const char* path) {
    auto read = compare::readSecondFile(path);
    if (auto* message = std::get_if<std::string>(&read)) {
        std::fprintf(stderr, "%s\n", message->c_str());
        std::exit(2);
    }
    return std::move(std::get<std::vector<std::string>>(read));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: compare_tool positional|align|copy A B\n");
        return 2;
    }
    const std::string command = argv[1];
    if (command == "copy") {
        drivecopy::Progress progress;
        std::atomic<bool> stop{false};
        const auto report =
            drivecopy::run(drivecopy::Job{argv[2], argv[3], drivecopy::topFolders(argv[2]), false}, progress, stop);
        std::printf("%llu seen, %llu copied\n", static_cast<unsigned long long>(progress.seen.load()),
                    static_cast<unsigned long long>(progress.copied.load()));
        return report.failed.empty() ? 0 : 1;
    }
    compare::CompareGrid grid(linesOf(argv[2]));
    grid.setRight(linesOf(argv[3]));
    if (command == "align") {
        grid.align(platform::diffTexts(grid.joinedText(compare::Column::Left), grid.joinedText(compare::Column::Right)));
    } else if (command != "positional") {
        return 2;
    }
    std::printf("%zu Zeilen sind verschieden\n", grid.recompare());
    return 0;
}
