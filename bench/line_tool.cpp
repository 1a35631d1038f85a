// The whole-text line tools as whole processes, for timing against GNU sort
// (bench/lines_peer.sh):
//   line_tool alpha FILE OUT   lines sorted byte by byte
//   line_tool num FILE OUT     lines sorted by their numeric key
//   line_tool wrap FILE OUT    every line wrapped at 80 characters
#include <cstdio>
#include <string>

#include "common/FileIo.h"
#include "common/Text.h"
#include "shell/editing/LineTools.h"
#include "shell/editing/LineWrap.h"

using namespace pictra;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "line_tool alpha|num|wrap FILE OUT\n");
        return 2;
    }
    const std::string mode = argv[1];
    const auto text = fileio::readFile(argv[2]);
    if (!text) return 1;
    std::string out;
    if (mode == "alpha" || mode == "num") {
        out = linetools::sortedText(*text, mode == "num", "\r\n");
    } else {
        out = text::joinLines(linewrap::wrapEach(text::splitLines(*text), 80));
    }
    out += "\r\n";
    // Written as the peers write theirs: replaced, but left to the system's write-back.
    return fileio::writeFileCached(argv[3], out) ? 0 : 1;
}
