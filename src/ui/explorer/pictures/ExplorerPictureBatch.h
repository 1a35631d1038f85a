#pragma once

class QMenu;

namespace pictra::ui {

class ExplorerWindow;
struct ExplorerShared;

// The "Bilder" menu's commands over the selected pictures: smaller copies (by
// percent or to one height), compressed copies and grey copies.
void addPictureBatchItems(QMenu* pictures, ExplorerWindow& explorer, ExplorerShared& shared);

}  // namespace pictra::ui
