#include "explorer/folders/FolderCommands.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "common/Text.h"
#include "explorer/MarkedFiles.h"
#include "explorer/folders/LargestFiles.h"
#include "explorer/walk/FolderWalk.h"

namespace pictra::folders {

namespace {

constexpr const char* kCancelled = "Abbruch";
constexpr std::size_t kUnreadableShown = 20;

std::string withSlash(const std::string& folder) { return folder.empty() || folder.back() != '/' ? folder + "/" : folder; }

// Whether `inner` is `outer` or lies below it.
bool within(const std::string& inner, const std::string& outer) {
    const std::string a = withSlash(plainFolder(inner));
    const std::string b = withSlash(plainFolder(outer));
    return a.compare(0, b.size(), b) == 0;
}

bool isEmptyFolder(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    bool empty = true;
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        empty = false;
        break;
    }
    closedir(dir);
    return empty;
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Runs the walk on a worker thread while this thread keeps the cancel window
// stepping with the text `progress` gives. True when a click ended it.
bool walkWithCancelWindow(Dialogs& dialogs, const std::function<void(const std::atomic<bool>&)>& walk,
                          const std::function<std::string()>& progress) {
    // A click before the walk began stops it before it touches a folder.
    if (dialogs.stepCancelWindow(progress())) return true;
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::thread worker([&] {
        walk(stop);
        std::lock_guard lock(mutex);
        done = true;
        ended.notify_all();
    });
    bool clicked = false;
    for (;;) {
        {
            std::unique_lock lock(mutex);
            if (ended.wait_for(lock, std::chrono::milliseconds(100), [&] { return done; })) break;
        }
        if (dialogs.stepCancelWindow(progress())) {
            clicked = true;
            stop = true;
            break;
        }
    }
    worker.join();
    return clicked;
}

void reportUnreadable(const std::vector<std::string>& unreadable, Dialogs& dialogs) {
    if (unreadable.empty()) return;
    std::string text = "Auf folgende Ordner oder Dateien kann nicht zugegriffen werden:";
    for (std::size_t i = 0; i < unreadable.size() && i < kUnreadableShown; ++i) text += "\r" + unreadable[i];
    if (unreadable.size() > kUnreadableShown) {
        text += "\r... und " + std::to_string(unreadable.size() - kUnreadableShown) + " weitere";
    }
    dialogs.inform(text);
}

std::string refusal(const std::string& folder, const std::string& reason) {
    return "\"" + folder + "\" wird nicht gelöscht! (" + reason + ")";
}

}  // namespace

std::string plainFolder(const std::string& folder) {
    std::string plain = folder;
    while (plain.size() > 1 && plain.back() == '/') plain.pop_back();
    return plain;
}

std::string parentFolder(const std::string& folder) {
    const std::string plain = plainFolder(folder);
    const auto slash = plain.rfind('/');
    if (slash == std::string::npos) return plain;
    return slash == 0 ? std::string("/") : plain.substr(0, slash);
}

std::optional<std::string> createFolder(const std::string& current, Dialogs& dialogs) {
    const auto name = dialogs.askText("Unterordner erzeugen", "Bezeichnung", "");
    if (!name || name->empty()) return std::nullopt;
    if (name->find('/') != std::string::npos || *name == "." || *name == "..") {
        dialogs.inform("Der Ordnername \"" + *name + "\" ist nicht möglich. (Kein \"/\" im Namen)");
        return std::nullopt;
    }
    const std::string folder = withSlash(plainFolder(current)) + *name;
    if (::mkdir(folder.c_str(), 0777) != 0) {
        if (errno == EEXIST) {
            dialogs.inform("Ordner oder Datei unter diesem Namen existiert schon.");
        } else {
            dialogs.inform("Ordner \"" + folder + "\" konnte nicht erzeugt werden.");
        }
        return std::nullopt;
    }
    return folder;
}

namespace {

struct Collected {
    FolderList folders;
    std::vector<std::string> files;
};

Collected collect(const std::string& root, Dialogs& dialogs, bool oneFileSystem, bool withFiles) {
    Collected out;
    std::mutex mutex;
    std::string current = withSlash(root);
    walk::WalkOptions options;
    options.skipDotFolders = false;
    options.oneFileSystem = oneFileSystem;
    options.files = withFiles;
    walk::WalkSink sink;
    sink.file = [&](const walk::WalkFile& file) { out.files.push_back(file.path); };
    sink.unreadable = [&](const std::string& path) { out.folders.unreadable.push_back(path); };
    sink.folder = [&](const std::string& path) {
        std::lock_guard lock(mutex);
        out.folders.folders.push_back(withSlash(path));
        current = out.folders.folders.back();
    };
    sink.folderLink = [&](const std::string& path) { out.folders.folderLinks.push_back(path); };
    out.folders.cancelled = walkWithCancelWindow(
        dialogs, [&](const std::atomic<bool>& stop) { walk::walkSorted(root, options, sink, stop); },
        [&] {
            std::lock_guard lock(mutex);
            return current;
        });
    return out;
}

}  // namespace

FolderList collectFolders(const std::string& root, Dialogs& dialogs, bool oneFileSystem) {
    return collect(plainFolder(root), dialogs, oneFileSystem, false).folders;
}

void removeEmptyFolders(const std::string& current, FolderContext& context) {
    Dialogs& dialogs = context.copies.dialogs;
    const std::string root = plainFolder(current);
    dialogs.beginCancelWindow("Leere Ordner suchen");
    FolderList list = collectFolders(root, dialogs);
    dialogs.endCancelWindow();
    if (list.cancelled) {
        dialogs.inform(kCancelled);
        return;
    }
    reportUnreadable(list.unreadable, dialogs);
    if (!context.isMountPoint(root)) list.folders.insert(list.folders.begin(), withSlash(root));
    int offered = 0;
    // Inner folders come after their parents in the walk: backwards, a parent
    // emptied on the way is offered as well.
    for (auto it = list.folders.rbegin(); it != list.folders.rend(); ++it) {
        if (!isEmptyFolder(*it)) continue;
        ++offered;
        const Answer answer = dialogs.ask("\"" + *it + "\" löschen?");
        if (answer == Answer::Cancel) return;
        if (answer != Answer::Yes) continue;
        // rmdir only: whatever came into the folder since it was tested stays.
        if (::rmdir(it->c_str()) != 0) dialogs.inform("\"" + *it + "\" nicht gelöscht.");
    }
    if (offered == 0) dialogs.inform("Keine leeren Unterordner vorhanden!");
}

bool deleteFolderWithContent(const std::string& folder, FolderContext& context) {
    Dialogs& dialogs = context.copies.dialogs;
    const std::string root = plainFolder(folder);
    const std::string shown = withSlash(root);
    if (root == "/" || context.isMountPoint(root)) {
        dialogs.inform(refusal(shown, "Formatieren Sie!"));
        return false;
    }
    if (!context.homeFolder.empty() && within(context.homeFolder, root)) {
        dialogs.inform(refusal(shown, plainFolder(context.homeFolder) == root ? "Ihr persönlicher Ordner"
                                                                              : "Er enthält Ihren persönlichen Ordner"));
        return false;
    }
    if (!context.copies.binFolder.empty() && within(context.copies.binFolder, root)) {
        dialogs.inform(refusal(shown, "Er enthält den Papierkorb des Programms"));
        return false;
    }
    if (!isFolder(root)) {
        dialogs.inform("Auf den Ordner kann zur Zeit nicht zugegriffen werden!");
        return false;
    }
    dialogs.beginCancelWindow("Ordner mit Inhalt löschen");
    // A volume mounted inside stays: its files are not this folder's.
    Collected all = collect(root, dialogs, true, true);
    dialogs.endCancelWindow();
    if (all.folders.cancelled) {
        dialogs.inform(kCancelled);
        return false;
    }
    reportUnreadable(all.folders.unreadable, dialogs);
    if (!all.files.empty() && !explorer::moveToBin(all.files, context.copies, context.today)) return false;
    std::vector<std::string> folders = all.folders.folders;
    folders.insert(folders.begin(), shown);
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        const Answer answer = dialogs.ask("Soll der nun leere Ordner \"" + *it + "\" gelöscht werden?");
        if (answer == Answer::Cancel) break;
        if (answer != Answer::Yes) continue;
        // A link to a folder goes with the folder that holds it, as a link: what it
        // points to is not part of this folder.
        for (const auto& link : all.folders.folderLinks) {
            if (withSlash(parentFolder(link)) == *it) ::unlink(link.c_str());
        }
        if (::rmdir(it->c_str()) != 0) {
            dialogs.inform("\"" + *it + "\" nicht gelöscht.\r" + "Er enthält (leere) Unterordner.");
        }
    }
    return true;
}

void listAllSubfolders(const std::string& current, Dialogs& dialogs) {
    const std::string root = plainFolder(current);
    dialogs.beginCancelWindow("Alle Ordner");
    const FolderList list = collectFolders(root, dialogs);
    dialogs.endCancelWindow();
    std::string text = text::joinLines(list.folders);
    for (const auto& path : list.unreadable) text += "\r\n" + path + " | kein Zugriff";
    dialogs.showText("Alle " + std::to_string(list.folders.size()) + " Unterverzeichnisse von " + root, text);
}

LargestResult largestFiles(const std::string& current, FolderContext& context) {
    Dialogs& dialogs = context.copies.dialogs;
    const std::string root = plainFolder(current);
    LargestFiles largest;
    std::vector<std::string> unreadable;
    std::mutex mutex;
    std::string at = withSlash(root);
    walk::WalkOptions options;
    options.skipDotFolders = false;
    // Never into /proc or another volume mounted below: a pseudo file's size is no file.
    options.oneFileSystem = true;
    walk::WalkSink sink;
    sink.file = [&](const walk::WalkFile& file) {
        if (file.size <= kLargeFileBytes || !file.regular) return;
        std::lock_guard lock(mutex);
        largest.add(file.size, file.path);
    };
    sink.unreadable = [&](const std::string& path) {
        std::lock_guard lock(mutex);
        unreadable.push_back(path);
    };
    sink.folder = [&](const std::string& path) {
        std::unique_lock lock(mutex, std::try_to_lock);
        if (lock) at = path;
    };
    dialogs.beginCancelWindow("Die größten Dateien suchen");
    const bool cancelled = walkWithCancelWindow(
        dialogs,
        [&](const std::atomic<bool>& stop) { walk::walkParallel(root, options, sink, stop, context.threads); },
        [&] {
            std::lock_guard lock(mutex);
            return at;
        });
    dialogs.endCancelWindow();
    std::sort(unreadable.begin(), unreadable.end());
    reportUnreadable(unreadable, dialogs);
    LargestResult result;
    result.cancelled = cancelled;
    for (const auto& file : largest.sorted()) result.lines.push_back(largestFileLine(file));
    return result;
}

}  // namespace pictra::folders
