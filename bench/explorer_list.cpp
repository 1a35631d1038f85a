// The explorer's listing of one folder as a whole process, for timing against
// `ls -l` (bench/explorer_peer.sh): every entry read, every file line built
// with its three parts and sorted, the lines written to stdout.
#include <cstdio>

#include "explorer/FileLines.h"
#include "platform/FolderListing.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: explorer_list FOLDER\n");
        return 2;
    }
    const auto listing = pictra::platform::listFolder(argv[1]);
    if (!listing.ok) return 1;
    for (const auto& line : pictra::explorer::buildFileLines(listing.files)) std::puts(line.text.c_str());
    return 0;
}
