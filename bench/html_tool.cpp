// The table conversions as whole processes, for timing against pandoc, w3m and
// column (bench/tables_html_peer.sh):
//   html_tool star FILE OUT    star table to HTML table
//   html_tool html FILE OUT    HTML table to star table
//   html_tool csv FILE OUT     semicolon-separated file to HTML table
//   html_tool tabs FILE OUT    tab-separated lines aligned in columns
//   html_tool copy FILE OUT    read and write only: the floor
#include <cstdio>
#include <string>
#include <utility>

#include "common/FileIo.h"
#include "common/Text.h"
#include "html/convert/TableConversion.h"
#include "shell/editing/Search.h"

using namespace pictra;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "html_tool star|html|csv|tabs|copy FILE OUT\n");
        return 2;
    }
    const std::string mode = argv[1];
    const auto text = fileio::readFile(argv[2]);
    if (!text) return 1;
    std::string out;
    if (mode == "star" || mode == "csv") {
        auto converted = mode == "star" ? html::convert::starToHtml(*text) : html::convert::csvToTable(*text);
        if (!converted.text) return 1;
        out = std::move(*converted.text);
    } else if (mode == "html") {
        const auto parsed = html::convert::readHtmlTable(*text);
        if (!parsed.message.empty()) return 1;
        out = html::convert::starTableBlock(parsed.grid);
    } else if (mode == "tabs") {
        out = text::joinLines(search::tabsToTable(text::splitLines(*text), [] {}));
    } else {
        out = *text;
    }
    // Written as the peers write theirs: replaced, but left to the system's write-back.
    return fileio::writeFileCached(argv[3], out) ? 0 : 1;
}
