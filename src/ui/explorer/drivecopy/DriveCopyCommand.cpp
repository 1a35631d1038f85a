#include "DriveCopyCommand.h"

#include <QDir>

#include "DriveCopyWindow.h"
#include "platform/Drives.h"
#include "shell/MainWindow.h"

namespace pictra::ui {

void openDriveCopy(MainWindow& window) {
    auto* copy = window.findChild<DriveCopyWindow*>("Form11xzuy");
    if (!copy) {
        const std::string home = QDir::homePath().toStdString();
        copy = new DriveCopyWindow(window.context().dialogs, home, platform::defaultSecondDriveFolder(home), &window);
    }
    copy->open();
}

}  // namespace pictra::ui
