#include "BinBackup.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "common/FileIo.h"

namespace fs = std::filesystem;

namespace pictra::binbackup {

std::string fullDiskMessage(Step step, const std::string& path, const std::string& binFolder, int done,
                            std::optional<int> total) {
    std::string what;
    switch (step) {
        case Step::Backup:
            what = "Die Sicherungskopie von \"" + path + "\" im Papierkorb \"" + binFolder +
                   "\" konnte nicht angelegt werden.";
            break;
        case Step::Bin: what = "\"" + path + "\" konnte nicht in den Papierkorb \"" + binFolder + "\" verschoben werden."; break;
        case Step::File: what = "\"" + path + "\" konnte nicht geschrieben werden."; break;
    }
    const std::string volume = fileio::mountPointOf(step == Step::File ? path : binFolder);
    std::string count = std::to_string(done);
    if (total) count += " von " + std::to_string(*total);
    return "Datenträger \"" + volume + "\" ist voll!\r" + what + "\r\rBis dahin erledigt: " + count +
           " Dateien. Die übrigen bleiben unverändert.";
}

std::string notKeptMessage(const std::string& path, const std::string& binFolder, const std::string& reason) {
    return "Keine Sicherungskopie von \"" + path + "\" im Papierkorb \"" + binFolder + "\" möglich:\r\n   " + reason +
           "\r\r\"" + path + "\" wurde nicht überschrieben.";
}

std::string notKeptMessage(const std::string& path, const std::string& binFolder, const CopyOutcome& failed) {
    if (fileio::isDiskFull(failed.error)) return notKeptMessage(path, binFolder, fullVolumeText(binFolder));
    const size_t because = failed.message.rfind("\r\n   ");
    return notKeptMessage(path, binFolder,
                          because == std::string::npos ? failed.message : failed.message.substr(because + 5));
}

namespace {

Kept failed(const std::string& path, const std::string& binFolder, int error, const std::string& reason) {
    return {false, error, notKeptMessage(path, binFolder, fileio::isDiskFull(error) ? fullVolumeText(binFolder) : reason)};
}

}  // namespace

Kept keepInBin(const std::string& path, const bin::Date& today, CopyContext& context, bool linkAllowed) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return {true, 0, {}};
    const auto size = fs::file_size(path, ec);
    const std::string name = bin::binName(path, today, ec ? std::nullopt : std::optional(size));
    const std::string binFile = context.binFolder + "/" + name;
    fs::create_directories(context.binFolder, ec);
    errno = 0;
    if (bin::isShortened(name) && !bin::writeCompanion(context.binFolder, name, path)) {
        const int error = errno != 0 ? errno : EIO;
        return failed(path, context.binFolder, error, std::strerror(error));
    }
    if (linkAllowed) {
        // A bin copy of the same name (same day, same size) gives way, as with copies.
        fs::remove(binFile, ec);
        fs::create_hard_link(path, binFile, ec);
        if (!ec) return {true, 0, {}};
    }
    const CopyOutcome outcome = copyChecked(path, binFile, context);
    if (outcome.written) return {true, 0, {}};
    if (outcome.message.empty()) return {};  // the cancel window was clicked
    return {false, outcome.error, notKeptMessage(path, context.binFolder, outcome)};
}

}  // namespace pictra::binbackup
