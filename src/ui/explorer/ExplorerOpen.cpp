// Opening files from the explorer's file list: the double click and its dispatch
// by file type, and the picture preview in the folder tree.
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <sys/stat.h>

#include "ExplorerWindow.h"
#include "common/PathNames.h"
#include "common/Dialogs.h"
#include "common/FileIo.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "explorer/FileLines.h"
#include "explorer/fileops/Rename.h"
#include "pictures/PictureNames.h"
#include "platform/Desktop.h"
#include "pictures/editing/Orientation.h"
#include "platform/pictures/PictureCodecs.h"
#include "platform/pictures/CaptionDrawing.h"
#include "platform/pictures/PictureExif.h"
#include "platform/pictures/QtPictureCodecs.h"
#include "settings/SettingsStore.h"

namespace pictra::ui {

namespace {

std::string firstBytes(const std::string& path, bool& readable) {
    const auto bytes = fileio::readFile(path);
    readable = bytes.has_value();
    return bytes ? bytes->substr(0, 1024) : std::string();
}

using pathnames::folderOf;
using pathnames::lowerExtension;

}  // namespace

void ExplorerWindow::openSelected(bool fromReadItem) {
    const int row = m_files->currentRow();
    if (row < 0 || !m_files->item(row)->isSelected()) return;
    const std::string line = u(m_files->item(row)->text());
    if (explorer::isSpecialLine(line)) {
        handleSpecialLine(line);
        return;
    }
    dispatch(pathOfRow(row), fromReadItem);
}

void ExplorerWindow::openPath(const std::string& path, bool fromReadItem) {
    const std::string folder = folderOf(path);
    if (!folder.empty() && folder != m_folder) {
        goToFolder(folder);
        showFiles(folder);
    }
    dispatch(path, fromReadItem);
}

void ExplorerWindow::handleSpecialLine(const std::string& line) {
    const std::string path = explorer::specialLinePath(line);
    if (m_shared.dialogs.ask(path + "\rDatei endgültig löschen?") == Answer::Yes) {
        const bool removed = ::unlink(path.c_str()) == 0;
        m_shared.dialogs.inform(path + (removed ? " gelöscht" : " nicht gelöscht"));
        return;
    }
    if (m_shared.dialogs.ask(path + "\rAnwendung starten?") == Answer::Yes) platform::openWithAssociated(path);
}

// A file without extension whose header names its type gets that extension.
std::string ExplorerWindow::renameByHeader(const std::string& path) {
    bool readable = false;
    const std::string head = firstBytes(path, readable);
    const std::string ext = explorer::extensionFromHeader(path, head);
    if (ext.empty()) return path;
    const std::string renamed = path + ext;
    if (fileops::renameNoReplace(path, renamed).ok()) {
        m_shared.dialogs.inform("Die Datei \"" + path + "\" ist eine \"" + ext + "\"- Datei.\rSie wurde entsprechend umbenannt.");
        showFiles(m_folder);
        return renamed;
    }
    m_shared.dialogs.inform("Die Datei \"" + path + "\" ist eine \"" + ext + "\"- Datei.\rBitte entsprechend umbenennen!");
    return path;
}

// Every line whose extension equals the clicked file's, holds ".jp", or is a known picture format.
std::vector<std::string> ExplorerWindow::siblingPictures(const std::string& path) const {
    const std::string own = lowerExtension(path);
    std::vector<std::string> siblings;
    for (int row = 0; row < m_files->count(); ++row) {
        const std::string candidate = pathOfRow(row);
        const std::string ext = lowerExtension(candidate);
        if (ext == own || ext.find(".jp") != std::string::npos || ext == ".bmp" || ext == ".ico" || ext == ".png" ||
            ext == ".gif") {
            siblings.push_back(candidate);
        }
    }
    return siblings;
}

void ExplorerWindow::dispatch(const std::string& requested, bool fromReadItem) {
    std::string path = requested;
    // Refill and re-select, so that the list shows what is on disk now.
    if (!m_folder.empty() && folderOf(path) == m_folder) {
        showFiles(m_folder);
        m_refilling = true;
        for (int row = 0; row < m_files->count(); ++row) {
            if (pathOfRow(row) == path) {
                m_files->setCurrentRow(row);
                break;
            }
        }
        m_refilling = false;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) m_shared.dialogs.inform("Datei existiert nicht!");
    if (lowerExtension(path).empty()) path = renameByHeader(path);
    bool readable = false;
    const std::string head = firstBytes(path, readable);
    explorer::OpenRequest request{path, head, readable, fromReadItem,
                                  m_hooks.htmlInStandardBrowser && m_hooks.htmlInStandardBrowser()};
    request.special = ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
    request.officeProgram = !officeProgram().empty();
    explorer::OpenAction action = explorer::dispatchOpen(request);
    if (action == explorer::OpenAction::Office && !openWithOffice(path)) {
        request.officeProgram = false;
        action = explorer::dispatchOpen(request);
    }
    switch (action) {
        case explorer::OpenAction::Film:
        case explorer::OpenAction::Flash:
            playFilm(path, action == explorer::OpenAction::Flash);
            return;
        case explorer::OpenAction::Office:
            return;
        case explorer::OpenAction::RichText:
            if (m_hooks.openRichText && m_hooks.openRichText(path)) {
                m_shared.dialogs.inform(
                    "Diesen Text können Sie als Richedittext mit Menü \"Bearbeiten|RTF\" weiter formatiert "
                    "bearbeiten.\r\rWichtig dann auch über dasselbe Menü abspeichern!\r(Normales Abspeichern löscht "
                    "alle Formatierungen.)");
                return;
            }
            if (m_hooks.openDocument) m_hooks.openDocument(path);
            return;
        case explorer::OpenAction::Picture:
            if (m_hooks.showPicture) m_hooks.showPicture(path, siblingPictures(path));
            return;
        case explorer::OpenAction::Sound:
            platform::openWithAssociated(path);
            show();
            return;
        case explorer::OpenAction::Associated:
            if (!platform::openWithAssociated(path)) m_shared.dialogs.inform("Programm zu öffnen unbekannt! (2)");
            return;
        case explorer::OpenAction::UrlHandler:
            if (!platform::openWithAssociated(path) && m_hooks.openDocument) m_hooks.openDocument(path);
            return;
        case explorer::OpenAction::Document:
            if (m_hooks.openDocument) m_hooks.openDocument(path);
            return;
        case explorer::OpenAction::HtmlDocument:
            if (m_hooks.previewHtml) m_hooks.previewHtml(path);
            return;
        case explorer::OpenAction::NotLoadable:
            if (m_hooks.openDocument) m_hooks.openDocument(path);
            return;
    }
}

namespace {

// The scale is chosen from the header so the picture is decoded only once; the
// quarter size is what libjpeg would deliver at two eighths (rounded up).
int previewEighths(std::string_view bytes) {
    const auto size = platform::pictures::jpegSize(bytes);
    if (!size) return 2;
    const int quarterWidth = (size->first + 3) / 4;
    const int quarterHeight = (size->second + 3) / 4;
    if (quarterHeight > 320 || quarterWidth >= 321) return 1;
    if (quarterWidth < 40 && quarterHeight < 40) return 4;
    return 2;
}

}  // namespace

// A JPEG is decoded at a quarter (an eighth for large, a half for tiny pictures)
// and drawn at the bottom of the folder tree with its full size written over it.
void ExplorerWindow::showPreview(const std::string& path) {
    clearPreview();
    if (m_shared.store.readValue("Einstellungen", "ExplorerBildvorschau") == "Nein") {
        m_preview->setText("Bildvorschau aktivieren: Menü \"Ansicht|Einstellungen");
        m_preview->adjustSize();
        m_preview->move(50, 0);
        m_preview->show();
        return;
    }
    const auto bytes = fileio::readFile(path);
    if (!bytes) return;
    try {
        auto picture = platform::pictures::decodeJpeg(*bytes, previewEighths(*bytes));
        // A phone photo stored sideways is previewed upright, with its upright size.
        const int orientation = platform::pictures::exifOrientation(picture.exif);
        pictures::editing::orientUpright(picture.bitmap, orientation);
        if (pictures::editing::orientationSwapsSides(orientation)) std::swap(picture.fullWidth, picture.fullHeight);
        QImage image = platform::pictures::toQImage(picture.bitmap);
        const int w = std::min(image.width(), 500);
        const int h = std::min(image.height(), 400);
        image = image.copy(0, 0, w, h);
        QPainter painter(&image);
        painter.setPen(Qt::white);
        painter.drawText(4, 14, QString("%1*%2").arg(picture.fullWidth).arg(picture.fullHeight));
        // The picture's companion text (its ".jp0"), line by line in 12-point type.
        const auto lines = platform::pictures::readCaptionLines(path);
        QFont font = painter.font();
        font.setPixelSize(platform::pictures::pixelsForPoints(12));
        painter.setFont(font);
        painter.setPen(Qt::black);
        for (int i = 0; i < static_cast<int>(lines.size()) && pictures::captions::companionTextY(i) < h; ++i) {
            const std::string text = pictures::captions::parseCaptionLine(lines[static_cast<std::size_t>(i)], {}).text;
            if (text.empty()) continue;
            // No more characters than the preview has pixels across.
            const QString shown = fromCp1252(text.substr(0, static_cast<std::size_t>(w)));
            const QRect box(4, pictures::captions::companionTextY(i), painter.fontMetrics().horizontalAdvance(shown) + 2,
                            painter.fontMetrics().height());
            painter.fillRect(box, Qt::white);
            painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
        }
        painter.end();
        m_preview->setPixmap(QPixmap::fromImage(image));
        m_preview->resize(w, h);
        const int y = m_tree->viewport()->height() - h;
        m_preview->move(0, y > 0 ? y : 30);
        m_preview->show();
    } catch (const std::exception&) {
        // A picture that cannot be decoded gets no preview.
    }
}

void ExplorerWindow::clearPreview() {
    m_preview->hide();
    m_preview->clear();
}

}  // namespace pictra::ui
