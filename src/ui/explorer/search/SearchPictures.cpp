// The search window's "Bilder" menu: the contact sheet over the found pictures,
// which may lie in many folders, so that a search for "*.jpg" shows them at a glance.
#include <QApplication>
#include <QListView>
#include <QScreen>
#include <algorithm>

#include "ResultModel.h"
#include "SearchWindow.h"
#include "common/Dialogs.h"
#include "explorer/pictures/ContactSheetWindow.h"
#include "pictures/PictureWindow.h"
#include "pictures/batch/ContactSheet.h"
#include "pictures/editor/PictureEditor.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

namespace pictra::ui {

namespace batch = pictures::batch;

namespace {

bool expertMode(SettingsStore& store) {
    return !store.readValue("SectBild", "Expertenmenue").empty();
}

}  // namespace

void SearchWindow::showPictureOverview() {
    const auto paths = allPaths();
    if (!expertMode(m_shared.store) && m_hooks.pictureWindow) {
        // The simple mode keeps to the picture window's own overview, over the found pictures.
        const auto first = std::find_if(paths.begin(), paths.end(), batch::isSheetPicture);
        if (first == paths.end()) {
            m_shared.dialogs.inform(batch::kNoSheetPictures);
            return;
        }
        PictureWindow* window = m_hooks.pictureWindow();
        window->showPictureFile(*first, paths);
        window->showOverview();
        return;
    }
    std::vector<bool> selected(paths.size(), false);
    for (int row : selectedRows()) selected[static_cast<std::size_t>(row)] = true;
    const QModelIndex current = m_list->currentIndex();
    m_sheetStart = batch::sheetStart(selected, current.isValid() ? current.row() : -1, m_sheetStart);
    m_list->clearSelection();
    nextPictureSheet();
}

void SearchWindow::nextPictureSheet() {
    const QScreen* screen = QApplication::primaryScreen();
    const QSize size = screen ? screen->geometry().size() : QSize(1024, 768);
    const auto layout = batch::sheetLayout(
        m_shared.store.readValue("Einstellungen", "AnzahlBilderBeimÜberblick") == "48", size.width(), size.height());
    SheetImagePainter painter;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const batch::Sheet sheet =
        batch::drawSheet(allPaths(), m_sheetStart, layout, size.width(), painter, m_shared.dialogs);
    QApplication::restoreOverrideCursor();
    if (sheet.end == batch::SheetEnd::NoPictures)
        return;
    if (!m_sheet) {
        m_sheet = new ContactSheetWindow([this](const std::string& path) { openSheetPicture(path); },
                                         [this] { nextPictureSheet(); }, this);
    }
    m_sheet->showSheet(painter.image, sheet.thumbs, layout.cell);
    m_sheet->tellEnd(sheet.end, m_shared.tones);
}

void SearchWindow::openSheetPicture(const std::string& path) {
    if (expertMode(m_shared.store) && m_hooks.pictureWindow) {
        m_hooks.pictureWindow()->editor()->showPicture(path);
    } else if (m_hooks.showPicture) {
        m_hooks.showPicture(path, allPaths());
    }
}

}  // namespace pictra::ui
