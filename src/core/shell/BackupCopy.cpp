#include "BackupCopy.h"

#include <filesystem>

#include "common/FileIo.h"
#include "common/Text.h"

namespace fs = std::filesystem;

namespace pictra {

namespace {

std::string mountOf(const std::string& path) {
    fs::path p = fs::path(path).parent_path();
    std::error_code ec;
    while (!p.empty() && !fs::exists(p, ec)) p = p.parent_path();
    return p.empty() ? "/" : p.string();
}

bool mayOverwrite(const std::string& target, CopyContext& c) {
    std::error_code ec;
    if (!fs::exists(target, ec)) return true;
    if (text::toLowerAscii(target).find("papierkorb") != std::string::npos) return true;
    if (!c.secondDriveFolder.empty() && c.sameVolume && c.sameVolume(target, c.secondDriveFolder)) return true;
    if (!c.session.overwriteAll) {
        c.session.overwriteAll = c.dialogs.ask("Datei \"" + target + "\" existiert.\rDatei überschreiben?\rAchtung:  In "
                                               "dieser Sitzung werden dann künftig alle Dateien überschrieben\"") ==
                                 Answer::Yes;
    }
    return *c.session.overwriteAll;
}

}  // namespace

bool copyWithRules(const std::string& source, std::string target, CopyContext& c) {
    target = text::replaceAll(target, "//", "/");
    std::error_code ec;
    if (fs::weakly_canonical(source, ec) == fs::weakly_canonical(target, ec)) {
        c.dialogs.inform("Datei \"" + source + "\"kann nicht auf sich selbst kopiert werden");
        return false;
    }
    fs::create_directories(fs::path(target).parent_path(), ec);
    if (!mayOverwrite(target, c)) return false;
    std::string error;
    if (!fileio::copyFileAtomic(source, target, error)) {
        c.dialogs.inform("\"" + source + "\" konnte nicht nach \"" + target + "\" kopiert werden:\r\n   " + error);
        return false;
    }
    ec.clear();
    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, ec);
    if (ec) c.dialogs.inform(target + ": Schreibschutz nicht entfernt!");
    const auto space = fs::space(fs::path(target).parent_path(), ec);
    if (!ec && space.available < 10000) {
        c.dialogs.inform("Prüfe Speicherplatz auf \"" + mountOf(target) +
                         "\"!\r\rHinweis: Vielleicht ist folgender Ordner nicht verfügbar:\r" + c.binFolder);
    }
    return true;
}

}  // namespace pictra
