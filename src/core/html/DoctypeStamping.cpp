#include "DoctypeStamping.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "common/Codec.h"
#include "common/FileIo.h"
#include "common/Text.h"
#include "explorer/BinBackup.h"
#include "html/HtmlRewrites.h"

namespace pictra::html {

namespace fs = std::filesystem;

namespace {

bool htmlFile(const fs::path& path) {
    const std::string extension = text::toLowerAscii(path.extension().string());
    return extension.find(".htm") != std::string::npos || extension.find(".php") != std::string::npos;
}

// The file as it was, kept once a day in the bin before it is changed; 0 or
// the system's error number.
int dayBackup(const std::string& path, const std::string& text, const std::string& binFolder, const bin::Date& today) {
    std::error_code ec;
    fs::create_directories(binFolder, ec);
    const std::string backup = binFolder + "/" + bin::binName(path, today, text.size());
    if (fs::is_regular_file(backup, ec) && fs::file_size(backup, ec) == text.size()) return 0;
    errno = 0;
    if (bin::isShortened(fs::path(backup).filename().string()) &&
        !bin::writeCompanion(binFolder, fs::path(backup).filename().string(), path)) {
        return errno != 0 ? errno : EIO;
    }
    int error = 0;
    return fileio::writeFileCached(backup, text, &error) ? 0 : error;
}

}  // namespace

StampResult stampFolderTree(const std::string& folder, const std::string& binFolder, const bin::Date& today,
                            Dialogs& dialogs) {
    StampResult result;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    if (ec) {
        dialogs.inform(kMsgFolderUnreadable);
        return result;
    }
    // First every day backup, made durable with one sync; only then are the pages
    // replaced (each through a temporary file), so no page is changed before its
    // old text is safe.
    struct Change {
        std::string path;
        std::string text;
    };
    std::vector<Change> changes;
    dialogs.beginCancelWindow("Bitte etwas Geduld");
    for (; it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const fs::path path = it->path();
        if (!it->is_regular_file(ec) || !htmlFile(path)) continue;
        if (dialogs.stepCancelWindow(codec::cp1252ToUtf8(path.string()))) {
            result.cancelled = true;
            break;
        }
        const auto text = fileio::readFile(path.string());
        if (!text) continue;
        auto stamped = stampedDoctype(*text);
        if (!stamped) continue;
        if (const int error = dayBackup(path.string(), *text, binFolder, today); error != 0) {
            ++result.failed;
            // A full volume ends the command before any page is changed: one message, not one per page.
            if (fileio::isDiskFull(error)) {
                dialogs.inform(binbackup::fullDiskMessage(binbackup::Step::Backup, path.string(), binFolder, 0));
                result.diskFull = true;
                changes.clear();
                break;
            }
            dialogs.inform(binbackup::notKeptMessage(path.string(), binFolder, std::strerror(error)));
            continue;
        }
        changes.push_back({path.string(), std::move(*stamped)});
    }
    if (!changes.empty() && !fileio::syncFileSystemOf(binFolder)) changes.clear();
    for (const Change& change : changes) {
        int error = 0;
        if (!fileio::writeFileCached(change.path, change.text, &error)) {
            ++result.failed;
            if (fileio::isDiskFull(error)) {
                dialogs.inform(binbackup::fullDiskMessage(binbackup::Step::File, change.path, binFolder, result.changed));
                result.diskFull = true;
                break;
            }
            dialogs.inform("Kann \"" + change.path + "\" nicht speichern.");
            continue;
        }
        ++result.changed;
        if (result.changed % 25 == 0) {
            dialogs.inform("Kontolle nach " + std::to_string(result.changed) + " Dateien:" + "\r" + change.path +
                           "\r\r" + codec::cp1252ToUtf8(change.text));
        }
    }
    if (!changes.empty()) fileio::syncFileSystemOf(folder);
    dialogs.endCancelWindow();
    return result;
}

}  // namespace pictra::html
