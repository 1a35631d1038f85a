#pragma once

namespace pictra::ui {

class MainWindow;

// "Datei vergleichen": the current document beside a file chosen on disk.
void compareCurrentDocument(MainWindow& window);

}  // namespace pictra::ui
