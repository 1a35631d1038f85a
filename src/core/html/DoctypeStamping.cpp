#include "DoctypeStamping.h"

#include <filesystem>

#include "common/Codec.h"
#include "common/FileIo.h"
#include "common/Text.h"
#include "html/HtmlRewrites.h"

namespace pictra::html {

namespace fs = std::filesystem;

namespace {

bool htmlFile(const fs::path& path) {
    const std::string extension = text::toLowerAscii(path.extension().string());
    return extension.find(".htm") != std::string::npos || extension.find(".php") != std::string::npos;
}

// The file as it was, kept once a day in the bin before it is changed.
bool dayBackup(const std::string& path, const std::string& text, const std::string& binFolder, const bin::Date& today) {
    std::error_code ec;
    fs::create_directories(binFolder, ec);
    const std::string backup = binFolder + "/" + bin::binName(path, today, text.size());
    if (fs::is_regular_file(backup, ec) && fs::file_size(backup, ec) == text.size()) return true;
    if (bin::isShortened(fs::path(backup).filename().string())) {
        bin::writeCompanion(binFolder, fs::path(backup).filename().string(), path);
    }
    return fileio::writeFileCached(backup, text);
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
        if (!dayBackup(path.string(), *text, binFolder, today)) {
            ++result.failed;
            dialogs.inform("Kann \"" + path.string() + "\" nicht speichern.");
            continue;
        }
        changes.push_back({path.string(), std::move(*stamped)});
    }
    if (!changes.empty() && !fileio::syncFileSystemOf(binFolder)) changes.clear();
    for (const Change& change : changes) {
        if (!fileio::writeFileCached(change.path, change.text)) {
            ++result.failed;
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
