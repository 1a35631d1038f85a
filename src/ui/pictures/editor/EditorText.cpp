// Text written into the pixels of the editor's working picture (`TForm_text`, Ctrl+click).
#include "EditorWidgets.h"
#include "PictureEditor.h"
#include "common/Dialogs.h"
#include "common/PathNames.h"
#include "pictures/CaptionDialog.h"
#include "pictures/PictureWindow.h"
#include "pictures/TextOnPictureDialog.h"
#include "pictures/editing/Orientation.h"
#include "platform/pictures/CaptionDrawing.h"
#include "platform/pictures/PictureExif.h"
#include "platform/pictures/PictureFiles.h"

namespace pictra::ui {

void PictureEditor::openTextDialog(QPoint global) {
    if (!m_textDialog) {
        m_textDialog = new TextOnPictureDialog(this, m_dialogs, m_hooks.textHistoryFile ? m_hooks.textHistoryFile() : "");
    }
    TextTarget target;
    target.picture = [this] { return &m_picture; };
    target.origin = [this] { return m_image->mapToGlobal(QPoint(0, 0)); };
    target.before = [this] { remember(); };
    target.written = [this] { refresh(); };
    m_textDialog->openAt(global, std::move(target));
}

// The caption lives beside the picture; a copy with the caption in its pixels keeps
// it when only the picture is passed on. The original stays untouched.
void PictureEditor::burnCaption() {
    if (platform::pictures::readCaptionLines(m_path).empty()) {
        hint("Kein Begleittext zum Bild vorhanden (Datei .jp0)");
        return;
    }
    platform::pictures::LoadedPicture full;
    try {
        full = platform::pictures::loadPicture(m_path);
    } catch (const std::exception&) {
        m_dialogs.inform("Kann Bild nicht laden");
        return;
    }
    pictures::editing::orientUpright(full.bitmap, platform::pictures::exifOrientation(full.exif));
    platform::pictures::drawCaptionFile(full.bitmap, m_path, captionDefaults(m_store));
    const std::string target = pathnames::folderOf(m_path) + "/_" + pathnames::fileNamePart(m_path);
    if (!keepOldInBin(target)) return;
    if (writePicture(target, full.bitmap, 91)) hint("Bild mit Beschriftung gespeichert als \"" + target + "\"");
}

}  // namespace pictra::ui
