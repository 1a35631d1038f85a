#include "CopyChecked.h"

#include <filesystem>

#include "common/FileIo.h"
#include "common/Text.h"
#include "tools/Tones.h"

namespace fs = std::filesystem;

namespace pictra {

namespace {

void chord(CopyContext& c, std::initializer_list<double> frequencies) {
    if (!c.tones) return;
    for (double f : frequencies) c.tones->tone(f);
}

// nullopt: go on and copy; otherwise what copyChecked returns.
std::optional<CopyOutcome> existingTarget(const std::string& target, CopyContext& c) {
    std::error_code ec;
    if (!fs::exists(target, ec)) return std::nullopt;
    // Copies into the bin and onto the backup drive are never asked about and never
    // skipped: a bin copy that stayed old would let the original be deleted unsaved.
    if (text::toLowerAscii(target).find("papierkorb") != std::string::npos) return std::nullopt;
    if (!c.secondDriveFolder.empty() && c.sameVolume && c.sameVolume(target, c.secondDriveFolder)) return std::nullopt;
    if (c.session.overwriteAll == false) {
        chord(c, {660, 396, 132});
        return CopyOutcome{};
    }
    chord(c, {1320, 792, 264});
    if (c.session.overwriteAll) return std::nullopt;
    c.session.overwriteAll = c.dialogs.ask("Datei \"" + target + "\" existiert.\rDatei überschreiben?\rAchtung:  In "
                                           "dieser Sitzung werden dann künftig alle Dateien überschrieben\"") ==
                             Answer::Yes;
    if (!*c.session.overwriteAll) return CopyOutcome{false, "Abbruch"};
    return std::nullopt;
}

}  // namespace

std::string fullVolumeText(const std::string& path) {
    return "Datenträger \"" + fileio::mountPointOf(path) + "\" ist voll.";
}

CopyOutcome copyChecked(const std::string& source, std::string target, CopyContext& c) {
    target = text::replaceAll(target, "//", "/");
    std::error_code ec;
    if (fs::weakly_canonical(source, ec) == fs::weakly_canonical(target, ec)) {
        return {false, "Datei \"" + source + "\"kann nicht auf sich selbst kopiert werden"};
    }
    fs::create_directories(fs::path(target).parent_path(), ec);
    if (auto decided = existingTarget(target, c)) return *decided;
    if (c.dialogs.cancelWindowVisible() && c.dialogs.stepCancelWindow(source + "->" + target)) return {};
    CopyOutcome outcome;
    std::string error;
    if (!fileio::copyFileAtomic(source, target, error, fileio::Durability::Synced, &outcome.error)) {
        if (fileio::isDiskFull(outcome.error)) error = fullVolumeText(target);
        outcome.message = "\"" + source + "\" konnte nicht nach \"" + target + "\" kopiert werden:\r\n   " + error;
    } else {
        outcome.written = true;
        ec.clear();
        fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, ec);
        if (ec) c.dialogs.inform(target + ": Schreibschutz nicht entfernt!");
    }
    if (c.lowSpaceWarned || fileio::isDiskFull(outcome.error)) return outcome;
    const auto space = fs::space(fs::path(target).parent_path(), ec);
    if (!ec && space.available < 10000) {
        c.lowSpaceWarned = true;
        c.dialogs.inform("Prüfe Speicherplatz auf \"" + fileio::mountPointOf(target) +
                         "\"!\r\rHinweis: Vielleicht ist folgender Ordner nicht verfügbar:\r" + c.binFolder);
    }
    return outcome;
}

bool copyWithRules(const std::string& source, std::string target, CopyContext& c) {
    const CopyOutcome outcome = copyChecked(source, std::move(target), c);
    if (!outcome.message.empty() && outcome.message != "Abbruch") c.dialogs.inform(outcome.message);
    return outcome.written;
}

}  // namespace pictra
