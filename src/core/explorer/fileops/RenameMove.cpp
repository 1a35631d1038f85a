#include "RenameMove.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

#include "NameRules.h"
#include "Rename.h"
#include "common/CaseFold.h"
#include "common/FileIo.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "explorer/BinBackup.h"
#include "explorer/MarkedFiles.h"
#include "settings/SettingsStore.h"

namespace pictra::fileops {

namespace {

constexpr const char* kSection = "OrdnerUmbenennen";
constexpr const char* kKey = "OrdnerUmbenennen";

std::string inFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return text::endsWith(folder, "/") ? folder + name : folder + "/" + name;
}

std::string withoutSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

std::vector<std::string> storedFolders(const SettingsStore& store) {
    std::vector<std::string> folders;
    for (const auto& line : text::splitLines(store.readList(kSection, kKey))) {
        if (!text::trim(line).empty()) folders.push_back(line);
    }
    return folders;
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

std::vector<std::string> renameFolders(const std::string& ownFolder, const SettingsStore& store) {
    const std::vector<std::string> stored = storedFolders(store);
    std::vector<std::string> folders{ownFolder};
    const size_t from = stored.size() > 6 ? stored.size() - 6 : 0;
    folders.insert(folders.end(), stored.begin() + static_cast<std::ptrdiff_t>(from), stored.end());
    return folders;
}

std::string startFolder(const std::string& ownFolder, const SettingsStore& store) {
    const std::vector<std::string> stored = storedFolders(store);
    return stored.empty() ? ownFolder : stored.back();
}

void rememberFolder(std::vector<std::string> folders, const std::string& ownFolder, const std::string& target,
                    SettingsStore& store) {
    // The own folder heads the list only for the dialog; the folder used last ends
    // the stored list, so the next rename starts there.
    if (!folders.empty() && folders.front() == ownFolder) folders.erase(folders.begin());
    folders.erase(std::remove(folders.begin(), folders.end(), target), folders.end());
    folders.push_back(target);
    store.writeList(kSection, kKey, text::joinLines(folders));
}

std::vector<std::string> filesBeginningWith(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    const std::string wanted = casefold::foldUtf8(prefix);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat st {};
        if (::stat(inFolder(folder, name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (text::startsWith(casefold::foldUtf8(name), wanted)) names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(), casefold::lessUtf8);
    return names;
}

std::string renameOrMove(const RenameMoveRequest& request, CopyContext& context, const bin::Date& today) {
    Dialogs& dialogs = context.dialogs;
    const std::string oldName = pathnames::fileNamePart(request.oldPath);
    std::string newName = request.newName;
    if (newName.find('.') == std::string::npos) newName += extensionOfName(oldName);
    const std::string ownFolder = withoutSlash(pathnames::folderOf(request.oldPath));
    const std::string targetFolder = withoutSlash(request.targetFolder);
    const std::string newPath = inFolder(targetFolder, newName);
    if (newPath == request.oldPath) {
        dialogs.inform("Name nicht geändert!");
        return {};
    }
    const bool sameFolder = targetFolder == ownFolder;
    if (sameFolder && !request.keepOriginal) {
        if (!renameNoReplace(request.oldPath, newPath).ok()) {
            dialogs.inform("Nicht umbenannt. (Datei schon vorhanden?)");
            return {};
        }
        return newPath;
    }
    // A taken name is asked about every time; the file it names goes to the bin first.
    bool replacing = false;
    if (exists(newPath)) {
        if (dialogs.ask("Datei \"" + newPath + "\" existiert.\rDatei überschreiben?") != Answer::Yes) {
            dialogs.inform(sameFolder ? "Datei wurde nicht dupliziert" : "Nicht umbenannt. (Datei schon vorhanden?)");
            return {};
        }
        const binbackup::Kept kept = binbackup::keepInBin(newPath, today, context);
        if (!kept.kept) {
            if (!kept.message.empty()) dialogs.inform(kept.message);
            return {};
        }
        replacing = true;
    }
    // A move on one volume is a rename.
    if (!request.keepOriginal) {
        const bool moved = replacing ? fileio::moveFile(request.oldPath, newPath)
                                     : renameNoReplace(request.oldPath, newPath).ok();
        if (moved) return newPath;
    }
    CopySession asked{true, {}};
    CopyContext copyContext{dialogs, asked, context.secondDriveFolder, context.binFolder, context.sameVolume,
                            context.tones};
    const CopyOutcome outcome = copyChecked(request.oldPath, newPath, copyContext);
    if (!outcome.written) {
        if (sameFolder) {
            dialogs.inform("Datei wurde nicht dupliziert");
        } else {
            dialogs.inform("Nicht umbenannt. " + outcome.message);
        }
        return {};
    }
    if (sameFolder) {
        dialogs.inform("Datei \"" + request.oldPath + "\" wurde dupliziert zu \"" + newPath);
        return newPath;
    }
    // Nothing is deleted before its copy exists.
    if (!request.keepOriginal) explorer::deleteNow(request.oldPath, dialogs);
    return newPath;
}

}  // namespace pictra::fileops
