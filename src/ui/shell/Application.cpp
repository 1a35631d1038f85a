#include "Application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

#include "MainWindow.h"
#include "QtDialogs.h"
#include "UiText.h"
#include "platform/AlsaSound.h"
#include "platform/ProgramLocation.h"
#include "shell/SettingsForm.h"

namespace pictra::ui {

namespace {

// Qt's own dialogs (files, fonts, colours) speak German like the rest of the program.
void installGermanTranslations(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(translator);
    }
}

std::vector<std::string> argumentsOf(const QApplication& app) {
    std::vector<std::string> arguments;
    const QStringList all = app.arguments();
    for (qsizetype i = 1; i < all.size(); ++i) arguments.push_back(u(all[i]));
    return arguments;
}

}  // namespace

int runApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("Pictra");
    installGermanTranslations(app);

    ProgramPaths paths = platform::programPaths(u(QApplication::applicationFilePath()), argumentsOf(app));
    SettingsStore store;
    platform::AlsaSound sound;
    Tones tones(store, sound);
    QtDialogs dialogs(tones);
    SettingsFile settingsFile(paths, dialogs);
    settingsFile.load(store);
    FolderList explorerFolders;
    explorerFolders.load(paths.explorerFolderListFileName());

    AppContext context{paths, store, settingsFile, explorerFolders, dialogs, tones, &dialogs};
    auto window = std::make_unique<MainWindow>(context);
    dialogs.setParentWindow(window.get());
    dialogs.setTextFont([&window] { return window->editorFont(); });
    window->show();
    const int code = app.exec();
    dialogs.setParentWindow(nullptr);
    window.reset();
    return code;
}

}  // namespace pictra::ui
