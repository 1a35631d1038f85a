#pragma once

class QMenu;

namespace pictra::ui {

class ExplorerWindow;
struct ExplorerShared;
struct ExplorerHooks;

// The "Bilder" menu's commands over the selected pictures: smaller copies (by
// percent or to one height), compressed copies and grey copies; the gallery wizard.
void addPictureBatchItems(QMenu* pictures, ExplorerWindow& explorer, ExplorerShared& shared,
                          const ExplorerHooks& hooks);
// "Bild der Zwischenablage zeigen", "Leere Din A4 Seite", "Vorabeinstellungen für Bilder".
void addPictureViewItems(QMenu* pictures, ExplorerWindow& explorer, ExplorerShared& shared,
                         const ExplorerHooks& hooks);
// The contact sheet of the folder's JPEG pictures from the selected one on; in the
// simple picture mode the picture window's own overview.
void showContactSheet(ExplorerWindow& explorer, ExplorerShared& shared, const ExplorerHooks& hooks);
// "Überblick über Bilder" in the folder tree's menu.
void addPictureOverviewItem(QMenu* folderPopup, ExplorerWindow& explorer, ExplorerShared& shared,
                            const ExplorerHooks& hooks);

}  // namespace pictra::ui
