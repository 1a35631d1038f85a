// Saving the picture window's picture: the save dialog and the rules of a save.
#include <QDate>
#include <filesystem>

#include "PictureSaveDialog.h"
#include "PictureWindow.h"
#include "common/Dialogs.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "explorer/BinBackup.h"
#include "explorer/MarkedFiles.h"
#include "pictures/Resampler.h"
#include "platform/pictures/PictureCodecs.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

namespace pictra::ui {

namespace fs = std::filesystem;

void PictureWindow::saveAs() {
    ensureSource();
    PictureSaveDialog dialog(m_path, pathnames::folderOf(m_path), m_display.height(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    const PictureSaveChoice choice = dialog.choice();
    saveTo(choice.target, choice.fixedHeight);
}

// The steps of a save: the old picture's time kept, the questions before another
// format, an existing file (first copied into the bin) and a new folder.
bool PictureWindow::saveTo(const std::string& requested, int fixedHeight) {
    std::error_code ec;
    const auto oldTime = fs::last_write_time(m_path, ec);
    const bool keepTime = !ec;
    std::string target = requested;
    const std::string oldExt = pathnames::lowerExtension(m_path);
    if (oldExt == ".jpeg" && pathnames::lowerExtension(target) == ".jpg") target = target.substr(0, target.size() - 4) + ".jpeg";
    m_store.writeValue("SectBild", "SchlBild", target);
    const std::string newExt = pathnames::lowerExtension(target);
    if (!oldExt.empty() && newExt != oldExt &&
        m_dialogs.ask("Wirklich Bildformat von \"" + oldExt + "\" in \"" + newExt + "\" ändern?") != Answer::Yes) {
        return false;
    }
    if (fs::exists(target, ec)) {
        if (m_dialogs.ask("Datei \"" + pathnames::fileNamePart(target) + "\" überschreiben?") != Answer::Yes) return false;
        if (m_hooks.copyContext) {
            CopyContext context = m_hooks.copyContext();
            const QDate d = QDate::currentDate();
            // Without its copy in the bin the old picture is not replaced.
            const auto kept = binbackup::keepInBin(target, {d.year(), d.month(), d.day()}, context);
            if (!kept.kept) {
                if (!kept.message.empty()) m_dialogs.inform(kept.message);
                return false;
            }
        }
    }
    const std::string folder = pathnames::folderOf(target);
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
        if (m_dialogs.ask("Ordner \"" + folder + "\" existiert nicht. Neuen Ordner erstellen?") != Answer::Yes) return false;
        if (!fs::create_directories(folder, ec)) {
            m_dialogs.inform("\"" + folder + "\" konnte nicht erstellt werden.");
            return false;
        }
    }
    pictures::Bitmap32 picture = m_source;
    if (fixedHeight > 0 && m_source.height() > 0) {
        const int width = std::max(1, static_cast<int>(static_cast<long long>(m_source.width()) * fixedHeight / m_source.height()));
        picture = pictures::resized(m_source, width, fixedHeight,
                                    fixedHeight < m_source.height() ? pictures::StretchFilter::Lanczos
                                                                    : pictures::StretchFilter::Mitchell);
    }
    try {
        platform::pictures::savePicture(target, picture, 91, m_exif);
    } catch (const std::exception&) {
        m_tones.errorTone();
        m_dialogs.inform("Konnte \"" + target + " nicht speichern.");
        return false;
    }
    // A saved picture keeps the date of the picture it was made from.
    if (keepTime) fs::last_write_time(target, oldTime, ec);
    m_tones.completionTone();
    m_path = target;
    if (m_hooks.refreshExplorer) m_hooks.refreshExplorer(target);
    return true;
}

}  // namespace pictra::ui
