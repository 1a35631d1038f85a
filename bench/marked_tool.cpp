// Pasting marked files and moving files into the bin as whole processes, for
// timing against cp and mv (bench/marked_peer.sh):
//   marked_tool paste FROM_FOLDER TO_FOLDER   every file of FROM marked and pasted into TO
//   marked_tool bin FROM_FOLDER BIN_FOLDER    every file of FROM moved into the bin
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "QuietDialogs.h"
#include "explorer/MarkedFiles.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

using namespace pictra;

namespace {

// Says yes to every confirmation and question, as a user pasting on purpose would.
class YesDialogs : public bench::QuietDialogs {
public:
    Answer ask(const std::string&) override { return Answer::Yes; }
    bool confirmText(const std::string&, const std::string&, const std::string&) override { return true; }
};

class NoSound : public Sound {
public:
    void play(std::vector<std::int16_t>) override {}
};

std::vector<std::string> filesOf(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(folder)) files.push_back(e.path().string());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: marked_tool paste|bin FROM TO\n");
        return 2;
    }
    const std::string mode = argv[1];
    YesDialogs dialogs;
    SettingsStore store;
    NoSound sound;
    Tones tones(store, sound);
    explorer::MarkedFiles marked;
    marked.files = filesOf(argv[2]);
    CopySession session;
    if (mode == "paste") {
        // Files overwritten by the paste are kept in a bin beside the target.
        CopyContext context{dialogs, session, "", std::string(argv[3]) + "-papierkorb", {}, &tones};
        explorer::pasteMarked(marked, argv[3], explorer::PasteNames::Unchanged, context, {2026, 12, 10});
        return 0;
    }
    CopyContext context{dialogs, session, "", argv[3], {}, nullptr};
    return explorer::moveToBin(marked.files, context, {2026, 12, 10}) ? 0 : 1;
}
