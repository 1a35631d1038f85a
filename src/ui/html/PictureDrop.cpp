#include "PictureDrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <string>
#include <vector>

#include "common/UiText.h"
#include "html/preview/PictureInsertion.h"
#include "pictures/PictureNames.h"
#include "shell/PlainEditor.h"
#include "shell/QtEditorView.h"

namespace pictra::ui {

namespace {

// The local files a drag carries, UTF-8.
std::vector<std::string> localFiles(const QMimeData* mime) {
    std::vector<std::string> files;
    if (!mime || !mime->hasUrls()) return files;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile()) files.push_back(u(url.toLocalFile()));
    }
    return files;
}

bool carriesPicture(const QMimeData* mime) {
    for (const std::string& path : localFiles(mime)) {
        if (pictures::isPictureFile(path.substr(path.rfind('/') + 1))) return true;
    }
    return false;
}

}  // namespace

PictureDrop::PictureDrop(PlainEditor& editor, Dialogs& dialogs, std::function<preview::PictureSources()> sources)
    : QObject(&editor), m_editor(editor), m_dialogs(dialogs), m_sources(std::move(sources)) {
    editor.viewport()->installEventFilter(this);
}

bool PictureDrop::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_editor.viewport()) return false;
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!carriesPicture(drag->mimeData())) return false;
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!m_sources || !carriesPicture(drop->mimeData())) return false;
            const std::vector<std::string> files = localFiles(drop->mimeData());
            drop->acceptProposedAction();
            m_editor.setTextCursor(m_editor.cursorForPosition(drop->position().toPoint()));
            QtEditorView view(m_editor);
            preview::insertDroppedPictures(view, m_dialogs, m_sources(), files);
            // The drag came from another window: the questions are answered, the typing goes on here.
            m_editor.window()->activateWindow();
            m_editor.setFocus();
            return true;
        }
        default: return false;
    }
}

}  // namespace pictra::ui
