#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "explorer/compare/LargePages.h"
#include <vector>

// The file the document is compared with, read as a document is loaded.
namespace pictra::compare {

// One text cell of the compare grid.
struct Cell {
    // Into a text the grid keeps: a file as read, the document's lines, or what was typed.
    std::string_view text;
    // A blank put in by "Automatisch ausrichten": it stands for no line of the
    // document and is left out when the left side goes back into it, unless the
    // user has written into it.
    bool filler = false;
};
using Cells = std::vector<Cell, LargePageAllocator<Cell>>;

// A file's lines as pieces of the file itself: one buffer instead of a string
// per line, which for a long file costs more than the reading. The grid takes
// the cells over as they are.
struct FileLines {
    PageBlock bytes;  // the file as read; `lines` point into it
    std::size_t size = 0;
    Cells lines;  // every line end (CR LF, CR, LF) cut, the caret trailer taken off; room for one more
};

// Its lines, or the German message why it cannot be compared: gone, not a
// regular file, over 1 GB, or not a text file.
std::variant<FileLines, std::string> readSecondFile(const std::string& path);

// The same lines of bytes already read.
FileLines fileLines(std::string_view bytes);

// The newest day backup of `path` in the bin folder, or nothing.
std::optional<std::string> newestBackup(const std::string& binFolder, const std::string& path);

}  // namespace pictra::compare
