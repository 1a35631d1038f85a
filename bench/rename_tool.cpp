// Renaming, splitting and joining as whole processes, for timing against mmv,
// rename, split and cat (bench/rename_peer.sh):
//   rename_tool number FOLDER          consecutive numbering of every file (list order = name order)
//   rename_tool several FOLDER STEM    the multi-file rename with STEM as the only edited line
//   rename_tool floor FOLDER           every IMG_n.jpg to bildn.jpg, one renameat2 each (the floor)
//   rename_tool split FILE KBYTES      pieces beside the file
//   rename_tool join FOLDER TARGET     every file of FOLDER joined into TARGET by its trailing number
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <stdio.h>
#include <string>
#include <vector>

#include "QuietDialogs.h"
#include "common/Text.h"
#include "explorer/fileops/FileCommands.h"
#include "explorer/fileops/RenameCommands.h"

using namespace pictra;

namespace {

// Answers as a user who means it: OK, the given edited text, the given numbers and file.
class AgreeingDialogs : public bench::QuietDialogs {
public:
    std::string edited;
    long long number = 0;
    std::string saveAs;

    void inform(const std::string&) override {}
    Answer ask(const std::string&) override { return Answer::Yes; }
    bool askNumber(const std::string&, const std::string&, long long& n) override {
        n = number;
        return true;
    }
    bool confirmText(const std::string&, const std::string&, const std::string&) override { return true; }
    bool confirmTextEdited(const std::string&, const std::string&, const std::string& lower, std::string& out) override {
        out = edited.empty() ? lower : edited;
        edited.clear();
        return true;
    }
    std::optional<std::string> chooseSaveFile(const std::string&, const std::string&) override { return saveAs; }
};

// The explorer's list of the folder, as plain readdir gives it (mmv reads it so too).
std::vector<std::string> sortedFiles(const std::string& folder) {
    std::vector<std::string> files;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return files;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.' && (entry->d_name[1] == 0 || (entry->d_name[1] == '.' && entry->d_name[2] == 0))) {
            continue;
        }
        files.push_back(folder + "/" + entry->d_name);
    }
    ::closedir(dir);
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: rename_tool number|several|floor|split|join ...\n");
        return 2;
    }
    const std::string command = argv[1];
    const std::string path = argv[2];
    AgreeingDialogs dialogs;
    const std::string journal = std::filesystem::temp_directory_path().string();
    fileops::RenameContext context{dialogs, journal};
    if (command == "number") {
        fileops::numberConsecutively(sortedFiles(path), context);
    } else if (command == "several" && argc == 4) {
        dialogs.edited = argv[3];
        fileops::renameSeveral(sortedFiles(path), context);
    } else if (command == "floor") {
        for (const auto& entry : std::filesystem::directory_iterator(path)) {
            const std::string name = entry.path().filename().string();
            if (!text::startsWith(name, "IMG_")) continue;
            const std::string to = path + "/bild" + name.substr(4);
            if (::renameat2(AT_FDCWD, entry.path().c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) return 1;
        }
    } else if (command == "split" && argc == 4) {
        dialogs.number = std::atoll(argv[3]);
        fileops::splitFile({path}, dialogs);
    } else if (command == "join" && argc == 4) {
        dialogs.saveAs = argv[3];
        fileops::joinFiles(sortedFiles(path), dialogs);
    } else {
        std::fprintf(stderr, "unknown command\n");
        return 2;
    }
    return 0;
}
