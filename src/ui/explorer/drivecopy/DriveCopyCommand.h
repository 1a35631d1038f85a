#pragma once

namespace pictra::ui {

class MainWindow;

// "Laufwerk gänzlich kopieren": the drive-copy window, made on first use.
void openDriveCopy(MainWindow& window);

}  // namespace pictra::ui
