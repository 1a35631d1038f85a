#include "MarkedFiles.h"

#include <filesystem>

#include "common/CaseFold.h"
#include "common/FileIo.h"
#include "explorer/BinBackup.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

namespace fs = std::filesystem;

namespace pictra::explorer {

namespace {

constexpr const char* kCancelled = "Abbruch";

std::string joinLines(const std::vector<std::string>& lines) { return text::joinLines(lines, "\r\n"); }


std::string inFolder(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() != '/' ? folder + "/" + name : folder + name;
}

}  // namespace

std::string mapUmlauts(const std::string& fileName) {
    const std::string ext = pathnames::extensionOf(fileName);
    std::string base = fileName.substr(0, fileName.size() - ext.size());
    for (const auto& [from, to] : std::initializer_list<std::pair<const char*, const char*>>{
             {"\xC3\xA4", "ae"}, {"\xC3\xB6", "oe"}, {"\xC3\xBC", "ue"}, {"\xC3\x9F", "ss"}, {" ", "_"}, {".", "_"}}) {
        base = text::replaceAll(base, from, to);
    }
    return base + ext;
}

// Lower-cased first, so that "Ä" maps like "ä".
std::string pasteName(const std::string& fileName) { return mapUmlauts(casefold::foldUtf8(fileName)); }

void markFiles(MarkedFiles& marked, const std::vector<std::string>& selected, const std::vector<std::string>& all,
               bool keep, Dialogs& dialogs) {
    if (!keep) marked.files.clear();
    if (!selected.empty()) {
        marked.files.insert(marked.files.end(), selected.begin(), selected.end());
        return;
    }
    if (dialogs.ask("Alle?") == Answer::Yes) marked.files.insert(marked.files.end(), all.begin(), all.end());
}

void pasteMarked(const MarkedFiles& marked, const std::string& folder, PasteNames names, CopyContext& context,
                 const bin::Date& today) {
    Dialogs& dialogs = context.dialogs;
    const auto tone = [&context](double frequency) {
        if (context.tones) context.tones->tone(frequency);
    };
    if (marked.files.empty()) {
        dialogs.inform("Noch keine Dateien vorgemerkt!");
        return;
    }
    if (!dialogs.confirmText("Dateien kopieren.",
                             "In den Ordner \r\n\r\n" + folder + "\r\n\r\nwerden folgende Dateien eingefügt.",
                             joinLines(marked.files))) {
        return;
    }
    dialogs.beginCancelWindow("Einfügen");
    // What a paste killed earlier left behind goes before this one begins.
    fileio::removeStaleTemporaries(folder);
    std::optional<bool> overwrite;
    bool ellipsis = false;
    std::string report;
    int done = 0;
    for (const auto& source : marked.files) {
        const std::string name = pathnames::fileNamePart(source);
        const std::string target = inFolder(folder, names == PasteNames::Unchanged ? name : pasteName(name));
        if (dialogs.stepCancelWindow(source + "->" + target)) break;
        std::error_code ec;
        const bool exists = fs::exists(target, ec);
        if (exists) {
            tone(880);
            if (!overwrite) {
                overwrite = dialogs.ask("Datei \"" + target +
                                        "\" <existiert. Alle Dateien überschreiben? (Nein: keine wird überschrieben!)") ==
                            Answer::Yes;
            }
            if (!*overwrite && report.size() < 1000) {
                report = "\"" + target + "\" wurde nicht überschrieben\r\n" + report;
            } else if (!*overwrite && !ellipsis) {
                report = "...\r\n" + report;
                ellipsis = true;
            }
        }
        if (overwrite == false) continue;
        if (exists) {
            // The copy replaces the target through a new file, so a second name in the bin keeps the old one.
            const binbackup::Kept kept = binbackup::keepInBin(target, today, context, true);
            if (!kept.kept) {
                if (kept.message.empty()) break;  // the cancel window was clicked
                report = kept.message + "\r\n" + report;
                continue;
            }
            report = "\"" + target + "\" wurde überschrieben\r\n" + report;
        }
        std::string error;
        int errorNumber = 0;
        // The originals stay, so the copies need not wait for the disk (cp does not either).
        if (fileio::copyFileAtomic(source, target, error, fileio::Durability::Cached, &errorNumber,
                                   fileio::Protection::Writable)) {
            ++done;
        } else if (fileio::isDiskFull(errorNumber)) {
            report = binbackup::fullDiskMessage(binbackup::Step::File, target, context.binFolder, done,
                                                static_cast<int>(marked.files.size())) +
                     "\r\n" + report;
            break;
        } else {
            report = name + ": " + error + "\r\n" + report;
        }
    }
    tone(440);
    if (!report.empty()) dialogs.inform("Meldung vom Einfügen:" + report);
    dialogs.endCancelWindow();
}

void copyWithFolders(MarkedFiles& marked, const std::vector<std::string>& selected,
                     const std::vector<std::string>& all, SettingsStore& store, CopyContext& context,
                     const std::function<std::string(const std::string&)>& driveOf) {
    Dialogs& dialogs = context.dialogs;
    marked.files.clear();
    if (!selected.empty()) {
        marked.files = selected;
    } else if (dialogs.ask("Alle?") == Answer::Yes) {
        marked.files = all;
    } else {
        return;
    }
    const std::string stored = store.readValue("Explorer", "Ordner");
    auto target = dialogs.askText("Wohin", "Bezeichnung", stored.empty() ? driveOf("/") : stored);
    if (!target) return;
    std::string folder = *target;
    if (folder.empty() || folder.back() != '/') folder += '/';
    store.writeValue("Explorer", "Ordner", folder);
    dialogs.beginCancelWindow("Einfügen");
    for (const auto& source : marked.files) {
        std::string root = driveOf(source);
        if (root.empty() || root.back() != '/') root += '/';
        const std::string below = source.rfind(root, 0) == 0 ? source.substr(root.size()) : pathnames::fileNamePart(source);
        const std::string copyTarget = folder + below;
        const CopyOutcome outcome = copyChecked(source, copyTarget, context);
        if (!outcome.message.empty() && outcome.message != kCancelled) dialogs.inform(outcome.message);
        if (dialogs.stepCancelWindow(source + "->" + copyTarget)) break;
    }
    dialogs.endCancelWindow();
}

std::string copyMarkedFolder(const MarkedFiles& marked, const std::string& currentFolder, CopyContext& context) {
    Dialogs& dialogs = context.dialogs;
    if (marked.folder.empty()) {
        dialogs.inform("Zuerst Ordner vormerken");
        return {};
    }
    std::string source = marked.folder;
    while (source.size() > 1 && source.back() == '/') source.pop_back();
    const std::string last = pathnames::fileNamePart(source);
    if (last.empty() || source == "/") {
        dialogs.inform("Zuerst Ordner vormerken.");
        return {};
    }
    const std::string created = inFolder(currentFolder, last);
    std::error_code ec;
    fs::create_directories(created, ec);
    for (const auto& entry : fs::directory_iterator(source, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        const std::string name = entry.path().filename().string();
        const CopyOutcome outcome = copyChecked(source + "/" + name, created + "/" + name, context);
        if (!outcome.message.empty() && outcome.message != kCancelled) dialogs.inform(outcome.message);
    }
    return created;
}

bool deleteNow(const std::string& path, Dialogs& dialogs) {
    if (dialogs.cancelWindowVisible() && dialogs.stepCancelWindow(path + " wird gelöscht")) return false;
    std::error_code ec;
    if (fs::remove(path, ec) || !fs::exists(fs::symlink_status(path, ec))) return false;
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ec);
    if (ec) {
        dialogs.inform("Attribut von " + path + " konnte nicht zum Löschen verändert werden!\rDatei wird von einem "
                       "anderen Programm verwendet oder Sie haben keine Berechtigung.");
        return true;
    }
    if (fs::remove(path, ec)) return false;
    dialogs.inform("\"" + path + "\" konnte nicht gelöscht werden");
    return true;
}

bool moveToBin(const std::vector<std::string>& paths, CopyContext& context, const bin::Date& today) {
    Dialogs& dialogs = context.dialogs;
    if (!dialogs.confirmText(
            "Dateien in den Papierkorb verschieben",
            "Folgende Dateien werden gelöscht,\r\n\r\nFalls die Dateien selbst nicht im Papierkorb sind werden sie "
            "dorthin verschoben!\rDen Papierkorb finden Sie mit Menü \"Ansicht|SKR-Papierkorb\" zeigen.\r\n\r\nBei "
            "den Dateien des Papierkorbes wird der Tag und die Größe notiert\r\n\r\nNach 10 Tagen werden die Dateien "
            "des Papierkorbes automatisch gelöscht.",
            joinLines(paths))) {
        dialogs.inform(kCancelled);
        return false;
    }
    dialogs.beginCancelWindow("In den Papierkorb verschieben");
    const std::string binFolder = context.binFolder;
    std::error_code ec;
    fs::create_directories(binFolder, ec);
    int done = 0;
    for (const auto& path : paths) {
        if (dialogs.stepCancelWindow(path)) {
            dialogs.inform(kCancelled);
            break;
        }
        if (path.rfind(binFolder + "/", 0) == 0) {
            if (!deleteNow(path, dialogs)) ++done;
            continue;
        }
        if (!fs::is_regular_file(path, ec)) {
            dialogs.inform("Fehler beim Löschen der Datei \"" + path);
            continue;
        }
        const auto size = fs::file_size(path, ec);
        const std::string name = bin::binName(path, today, ec ? std::nullopt : std::optional(size));
        if (bin::isShortened(name) && !bin::writeCompanion(binFolder, name, path)) {
            dialogs.inform("Fehler beim Löschen der Datei \"" + path);
            continue;
        }
        // On the same file system a rename is the move: atomic, the times kept, and
        // the file is never in neither place. Elsewhere a synced copy, then the delete.
        if (fileio::moveFile(path, binFolder + "/" + name)) {
            ++done;
            continue;
        }
        const CopyOutcome outcome = copyChecked(path, binFolder + "/" + name, context);
        if (fileio::isDiskFull(outcome.error)) {
            // Every further file would fail alike: one message instead of one per file.
            dialogs.inform(binbackup::fullDiskMessage(binbackup::Step::Bin, path, binFolder, done,
                                                      static_cast<int>(paths.size())));
            break;
        }
        if (!outcome.message.empty()) dialogs.inform(outcome.message);
        // Nothing is deleted before its copy exists.
        if (outcome.written && !deleteNow(path, dialogs)) ++done;
    }
    dialogs.endCancelWindow();
    return true;
}

void deleteForGood(const std::vector<std::string>& paths, Dialogs& dialogs) {
    if (!dialogs.confirmText("Dateien endgültig löschen!",
                             "\rFolgende Dateien werden gelöscht.\rSie können dann nicht mehr wiederhergestellt "
                             "werden.\rSind Sie absolut sicher?",
                             joinLines(paths))) {
        return;
    }
    dialogs.beginCancelWindow("Löschen");
    for (const auto& path : paths) {
        if (dialogs.stepCancelWindow(path + " wird gelöscht")) break;
        deleteNow(path, dialogs);
    }
    dialogs.endCancelWindow();
}

std::string restoreFromBin(const std::vector<bin::BinEntry>& entries, CopyContext& context) {
    Dialogs& dialogs = context.dialogs;
    std::string lastFolder;
    for (const auto& entry : entries) {
        const std::string folder = pathnames::folderOf(entry.shown);
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (!fs::is_directory(folder, ec)) {
            dialogs.inform("Konnte den Ordner \"" + folder + "\" nicht wiederherstellen");
            continue;
        }
        const std::string binFile = context.binFolder + "/" + entry.fileName;
        if (fs::exists(entry.shown, ec) &&
            dialogs.ask("Datei \"" + entry.shown + "\" existiert.\rDatei überschreiben?") != Answer::Yes) {
            continue;
        }
        fs::rename(binFile, entry.shown, ec);
        if (ec) {
            // Another volume: a copy, and the bin file goes only once the copy is there.
            const CopyOutcome outcome = copyChecked(binFile, entry.shown, context);
            if (!outcome.message.empty()) dialogs.inform(outcome.message);
            if (outcome.written) deleteNow(binFile, dialogs);
        }
        if (bin::isShortened(entry.fileName)) fs::remove(binFile + bin::kCompanionExtension, ec);
        lastFolder = folder;
    }
    return lastFolder;
}

}  // namespace pictra::explorer
