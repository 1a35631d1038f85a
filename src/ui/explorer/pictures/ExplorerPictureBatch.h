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

}  // namespace pictra::ui
