#include "TidyFiles.h"

#include <filesystem>

#include "common/FileIo.h"
#include "common/PathNames.h"
#include "common/Text.h"

namespace pictra::explorer {

namespace {

// The page's old bytes kept in the bin under their day name; a copy of the same
// day and size already there counts as kept. Left to the system's write-back: the
// whole batch is made durable with one sync before any page is replaced.
bool keepDayBackup(const std::string& path, const std::string& bytes, const std::string& binFolder,
                   const bin::Date& today) {
    std::error_code ec;
    std::filesystem::create_directories(binFolder, ec);
    const std::string name = bin::binName(path, today, bytes.size());
    const std::string backup = binFolder + "/" + name;
    if (std::filesystem::is_regular_file(backup, ec) && std::filesystem::file_size(backup, ec) == bytes.size()) {
        return true;
    }
    if (bin::isShortened(name) && !bin::writeCompanion(binFolder, name, path))
        return false;
    return fileio::writeFileCached(backup, bytes);
}

}  // namespace

std::vector<std::string> htmlPages(const std::vector<std::string>& paths) {
    std::vector<std::string> pages;
    for (const auto& path : paths) {
        if (pathnames::lowerExtension(path).find(".htm") != std::string::npos)
            pages.push_back(path);
    }
    return pages;
}

TidyFilesResult tidyFiles(const std::vector<std::string>& paths, const std::string& binFolder, const bin::Date& today,
                          const TidyChecker& check, Dialogs& dialogs) {
    TidyFilesResult result;
    struct Change {
        std::string path;
        std::string page;
    };
    std::vector<Change> changes;
    auto failed = [&result, &dialogs](const std::string& path) {
        ++result.failed;
        dialogs.inform("Kann \"" + path + "\" nicht speichern.");
    };
    dialogs.beginCancelWindow("Tidy");
    for (const auto& path : htmlPages(paths)) {
        if (dialogs.stepCancelWindow("Tidy: " + path)) {
            result.cancelled = true;
            break;
        }
        const auto old = fileio::readFile(path);
        if (!old) {
            ++result.failed;
            result.report += path + "\r\nDatei kann nicht gelesen werden.\r\n\r\n";
            continue;
        }
        if (old->find('\0') != std::string::npos) {
            // The checker reads a page up to its first zero byte: the rest would be lost.
            result.report += path + "\r\nDatei enthält Nullbytes und bleibt unverändert.\r\n\r\n";
            continue;
        }
        const TidyCheck checked = check(*old);
        const auto lines = text::splitLines(checked.messages);
        result.report += path + "\r\n" + (lines.empty() ? "Keine Fehler gefunden." : text::joinLines(lines)) + "\r\n";
        if (!checked.corrected)
            result.report += "Datei nicht geändert.\r\n";
        result.report += "\r\n";
        if (!checked.corrected || checked.page == *old)
            continue;
        if (!keepDayBackup(path, *old, binFolder, today)) {
            failed(path);
            continue;
        }
        changes.push_back({path, checked.page});
    }
    dialogs.endCancelWindow();
    if (result.cancelled || changes.empty())
        return result;
    if (!fileio::syncFileSystemOf(binFolder)) {
        for (const auto& change : changes) failed(change.path);
        return result;
    }
    for (const auto& change : changes) {
        if (fileio::writeFileCached(change.path, change.page)) {
            ++result.changed;
        } else {
            failed(change.path);
        }
    }
    fileio::syncFileSystemOf(changes.front().path);
    return result;
}

}  // namespace pictra::explorer
