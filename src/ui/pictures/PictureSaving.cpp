// Saving the picture window's picture: the save dialog and the rules of a save,
// and the dialog's own commands (copy unchanged, clipboard, extra picture).
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <filesystem>

#include "PictureSaveDialog.h"
#include "PictureWindow.h"
#include "common/Dialogs.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "explorer/BinBackup.h"
#include "explorer/MarkedFiles.h"
#include "pictures/captions/Captions.h"
#include "pictures/Resampler.h"
#include "platform/pictures/PictureCodecs.h"
#include "platform/pictures/PictureExif.h"
#include "platform/pictures/QtPictureCodecs.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

namespace pictra::ui {

namespace fs = std::filesystem;

void PictureWindow::saveAs() {
    ensureSource();
    PictureSaveOptions options;
    options.currentPath = m_path;
    options.explorerFolder = pathnames::folderOf(m_path);
    options.displayHeight = m_display.height();
    options.fixedHeight = m_fixedHeight;
    if (m_numberCuts && m_cutMade && !m_path.empty()) {
        const std::string name = pathnames::fileNamePart(m_path);
        options.baseName = pictures::viewer::nextCutName(name.substr(0, name.size() - pathnames::extensionOf(name).size()));
    }
    options.copyUnchanged = [this](const std::string& target) {
        copyUnchanged(target + pathnames::extensionOf(m_path));
        return true;
    };
    options.toClipboard = [this] {
        copyToClipboard();
        return true;
    };
    options.keepAsExtra = [this] {
        keepAsExtraPicture();
        return true;
    };
    PictureSaveDialog dialog(options, this);
    dialog.setObjectName("TForm18speichern");
    const int result = dialog.exec();
    m_fixedHeight = dialog.fixedHeightTicked();
    if (result != QDialog::Accepted) return;
    const PictureSaveChoice choice = dialog.choice();
    if (saveTo(choice.target, choice.fixedHeight)) m_cutMade = false;
}

// "Bild (unverändert) kopieren": the file as it is on disk, whatever was done to the picture.
void PictureWindow::copyUnchanged(const std::string& target) {
    std::error_code ec;
    if (m_path.empty() || !fs::is_regular_file(m_path, ec)) {
        m_dialogs.inform("Kann das zu kopierende Bild nicht laden.");
        return;
    }
    if (fs::equivalent(m_path, target, ec) || target == m_path) {
        m_dialogs.inform("Der Lesepfad ist derselbe wie der Schreibpfad.");
        return;
    }
    if (fs::exists(target, ec)) {
        if (m_dialogs.ask("Datei \"" + pathnames::fileNamePart(target) + "\" überschreiben?") != Answer::Yes) return;
    }
    const std::string folder = pathnames::folderOf(target);
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
        if (m_dialogs.ask("Ordner \"" + folder + "\" existiert nicht. Neuen Ordner erstellen?") != Answer::Yes) return;
        if (!fs::create_directories(folder, ec)) {
            m_dialogs.inform("\"" + folder + "\" konnte nicht erstellt werden.");
            return;
        }
    }
    if (fs::exists(target, ec) && m_hooks.copyContext) {
        CopyContext context = m_hooks.copyContext();
        const QDate d = QDate::currentDate();
        // Without its copy in the bin the old picture is not replaced.
        const auto kept = binbackup::keepInBin(target, {d.year(), d.month(), d.day()}, context);
        if (!kept.kept) {
            if (!kept.message.empty()) m_dialogs.inform(kept.message);
            return;
        }
    }
    const auto time = fs::last_write_time(m_path, ec);
    fs::copy_file(m_path, target, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        m_tones.errorTone();
        m_dialogs.inform("Kann das Bild nicht kopieren.");
        return;
    }
    fs::last_write_time(target, time, ec);
    m_tones.completionTone();
    if (m_hooks.refreshExplorer) m_hooks.refreshExplorer(target);
}

void PictureWindow::copyToClipboard() {
    ensureSource();
    QApplication::clipboard()->setImage(platform::pictures::toQImage(m_source));
}

// "Bild vormerken": the whole picture as the next extra picture.
void PictureWindow::keepAsExtraPicture() {
    const int number = extraPictureCount() + 1;
    markWholePicture();
    markedAsExtraPicture(false);
    if (extraPictureCount() == number) {
        m_dialogs.inform("Vorgemerktes Bild in den Vordgrund: Taste \"" + std::to_string(number) + "\"");
    }
}

// The steps of a save: the old picture's time kept, the questions before another
// format, an existing file (first copied into the bin) and a new folder.
bool PictureWindow::saveTo(const std::string& requested, int fixedHeight) {
    // A ".jp0" shows its caption over another file's picture: neither may be overwritten with the mix.
    if (pictures::captions::isCaptionFile(m_path) || pictures::captions::isCaptionFile(requested)) {
        m_dialogs.inform("Bild kann nur ohne den eingeblendeten Text abgespeichert werden");
        return false;
    }
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
        // The pixels were shown upright and perhaps changed: orientation 1, the new size, no old thumbnail.
        platform::pictures::savePicture(target, picture, 91,
                                        platform::pictures::exifForChangedPixels(m_exif, picture.width(), picture.height()));
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
