// The "Bilder" menu's views: the clipboard picture, an empty A4 page, the fixed
// picture size of the editor and the contact sheet of a folder's JPEG pictures.
#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QMenu>
#include <QScreen>

#include "ContactSheetWindow.h"
#include "ExplorerPictureBatch.h"
#include "common/Dialogs.h"
#include "common/MenuCommands.h"
#include "common/PathNames.h"
#include "explorer/ExplorerWindow.h"
#include "pictures/PictureWindow.h"
#include "pictures/batch/ContactSheet.h"
#include "pictures/editor/EditorWidgets.h"
#include "pictures/editor/PictureEditor.h"
#include "platform/pictures/PictureFiles.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

namespace pictra::ui {

namespace {

namespace batch = pictures::batch;

bool expertMode(ExplorerShared& shared) {
    return !shared.store.readValue("SectBild", "Expertenmenue").empty();
}

// The contact sheet's window keeps where the next sheet starts for the run.
class SheetState : public QObject {
public:
    explicit SheetState(QObject* parent) : QObject(parent) { setObjectName("UeberblickStand"); }
    std::size_t start = 0;
    ContactSheetWindow* window = nullptr;
};

void nextSheet(ExplorerWindow& explorer, ExplorerShared& shared, const ExplorerHooks& hooks, bool fromSelection);

ContactSheetWindow* sheetWindow(ExplorerWindow& explorer, ExplorerShared& shared, const ExplorerHooks& hooks,
                                SheetState& state) {
    if (!state.window) {
        state.window = new ContactSheetWindow(
            [&explorer, &shared, &hooks](const std::string& path) {
                if (expertMode(shared) && hooks.pictureWindow) {
                    hooks.pictureWindow()->editor()->showPicture(path);
                } else if (hooks.showPicture) {
                    hooks.showPicture(path, explorer.allPaths());
                }
            },
            [&explorer, &shared, &hooks] { nextSheet(explorer, shared, hooks, false); }, &explorer);
    }
    return state.window;
}

void nextSheet(ExplorerWindow& explorer, ExplorerShared& shared, const ExplorerHooks& hooks, bool fromSelection) {
    auto* state = explorer.findChild<SheetState*>("UeberblickStand");
    if (!state)
        state = new SheetState(&explorer);
    QListWidget* list = explorer.fileList();
    if (fromSelection) {
        std::vector<bool> selected;
        for (int row = 0; row < list->count(); ++row) selected.push_back(list->item(row)->isSelected());
        state->start = batch::sheetStart(selected, list->currentRow(), state->start);
        list->clearSelection();
    }
    const QScreen* screen = QApplication::primaryScreen();
    const QSize size = screen ? screen->geometry().size() : QSize(1024, 768);
    const auto layout =
        batch::sheetLayout(shared.store.readValue("Einstellungen", "AnzahlBilderBeimÜberblick") == "48", size.width(),
                           size.height());
    SheetImagePainter painter;
    const auto lines = explorer.allPaths();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const batch::Sheet sheet = batch::drawSheet(lines, state->start, layout, size.width(), painter, shared.dialogs);
    QApplication::restoreOverrideCursor();
    if (sheet.end == batch::SheetEnd::NoPictures)
        return;
    ContactSheetWindow* window = sheetWindow(explorer, shared, hooks, *state);
    window->showSheet(painter.image, sheet.thumbs, layout.cell);
    window->tellEnd(sheet.end, shared.tones);
}

}  // namespace

void showContactSheet(ExplorerWindow& explorer, ExplorerShared& shared, const ExplorerHooks& hooks) {
    if (!expertMode(shared) && hooks.pictureWindow) {
        // The simple mode keeps to the picture window's own overview.
        const auto paths = explorer.allPaths();
        std::vector<std::string> pictures;
        for (const auto& p : paths) {
            if (batch::isSheetPicture(p))
                pictures.push_back(p);
        }
        if (pictures.empty()) {
            shared.dialogs.inform(batch::kNoSheetPictures);
            return;
        }
        PictureWindow* window = hooks.pictureWindow();
        window->showPictureFile(pictures.front(), paths);
        window->showOverview();
        return;
    }
    nextSheet(explorer, shared, hooks, true);
}

void addPictureViewItems(QMenu* pictures, ExplorerWindow& explorer, ExplorerShared& shared,
                         const ExplorerHooks& hooks) {
    addMenuCommand(pictures, "Zwischenablage1", "Bild der Zwischenablage zeigen", [&hooks] {
        if (hooks.pictureWindow)
            hooks.pictureWindow()->showClipboardPicture();
    });
    addMenuCommand(pictures, "LeereSeite1", "Leere Din A4 Seite", [&shared, &hooks] {
        // A white page in the program folder, to be drawn and written on and saved under a name of one's own.
        pictures::Bitmap32 page(770, 1090);
        page.clear(0xFFFFFFFF);
        const std::string path = pathnames::folderOf(shared.binFolder) + "/leere_din_a4_seite.png";
        try {
            platform::pictures::savePicture(path, page);
        } catch (const std::exception& e) {
            shared.dialogs.inform(e.what());
            return;
        }
        if (hooks.showPicture)
            hooks.showPicture(path, {path});
    });
    pictures->addSeparator();
    QAction* preset = addMenuCommand(pictures, "Vorabeinstellungen1", "Vorabeinstellungen für Bilder", [&shared, &hooks] {
        if (!expertMode(shared)) {
            shared.dialogs.inform("Nur im \"Expertenmodus\" nötig!");
            return;
        }
        if (!hooks.pictureWindow)
            return;
        PictureEditor* editor = hooks.pictureWindow()->editor();
        ScreenSizeDialog dialog(editor, editor->workingScreen());
        dialog.setWindowTitle("Feste Einstellung der Bildgröße");
        if (dialog.exec() == QDialog::Accepted)
            editor->setWorkingScreen(dialog.chosen());
    });
    QObject::connect(pictures, &QMenu::aboutToShow, preset, [preset, &shared] { preset->setEnabled(expertMode(shared)); });
    preset->setEnabled(expertMode(shared));
    (void)explorer;
}

void addPictureOverviewItem(QMenu* folderPopup, ExplorerWindow& explorer, ExplorerShared& shared,
                            const ExplorerHooks& hooks) {
    addMenuCommand(folderPopup, "UeberblickBilder2", "Überblick über Bilder",
                   [&explorer, &shared, &hooks] { showContactSheet(explorer, shared, hooks); });
}

}  // namespace pictra::ui
