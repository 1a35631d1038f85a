#include "Penwick.h"

#include <filesystem>

#include "common/FileIo.h"
#include "common/TextFiles.h"

namespace fs = std::filesystem;

namespace pictra::penwick {

std::string handOffFile(const ProgramPaths& paths) { return paths.programFileName(".penwick"); }

bool prepare(const std::string& file, const std::string& text, Dialogs& dialogs) {
    std::error_code ec;
    fs::remove(file, ec);
    if (fs::exists(file, ec) || !textfiles::writeCp1252(file, text)) {
        dialogs.inform("Kann temporäre Datei \"" + file + "\" nicht speichern.");
        return false;
    }
    return true;
}

std::optional<std::string> takeBack(const std::string& file, Dialogs& dialogs) {
    auto text = fileio::readFile(file);
    if (!text) {
        dialogs.inform("kann \"" + file + "\" nicht laden.");
        return std::nullopt;
    }
    std::error_code ec;
    if (!fs::remove(file, ec)) dialogs.inform("kann \"" + file + "\" nicht löschen.");
    return text;
}

}  // namespace pictra::penwick
