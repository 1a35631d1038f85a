#include "Application.h"

#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "DocumentArea.h"
#include "MainWindow.h"
#include "QtDialogs.h"
#include "UnsavedTexts.h"
#include "explorer/Explorers.h"
#include "html/Browsers.h"
#include "common/PathNames.h"
#include "common/UiText.h"
#include "explorer/RecycleBin.h"
#include "explorer/fileops/RenameCommands.h"
#include "platform/AlsaSound.h"
#include "platform/Desktop.h"
#include "platform/InstanceLock.h"
#include "platform/KeyboardLocks.h"
#include "platform/ProgramLocation.h"
#include "platform/pictures/PictureJob.h"
#include "shell/Documents.h"
#include "shell/EmergencyCopy.h"
#include "shell/Instance.h"
#include "shell/InterruptedSaves.h"
#include "common/Text.h"
#include "settings/SettingsForm.h"

namespace pictra::ui {

namespace {

constexpr const char* kModuleFault =
    "In einem Modul von Windows ist ein Fehler aufgetreten.\rSichern Sie sofort alle Daten, beenden Sie das "
    "Programm und starten Sie es neu!";

// Errors never end the program: a failure that escapes an event handler is
// reported once and the program goes on; a second one ends it.
class PictraApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            reportEscapedFault();
        }
        return false;
    }

private:
    void reportEscapedFault() {
        ++m_faults;
        QMessageBox::critical(nullptr, "Pictra", message(kModuleFault));
        if (m_faults >= 2) std::exit(EXIT_FAILURE);
    }

    int m_faults = 0;
};

// Qt's own dialogs (files, fonts, colours) speak German like the rest of the program.
void installGermanTranslations(QApplication& app) {
    // Dates, numbers and the names of months in Qt's own dialogs as in Germany.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* translator = new QTranslator(&app);
    if (translator->load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(translator);
    }
}

// The bytes as given: a file name that is not UTF-8 must still name its file.
// QApplication has already taken out the arguments that were its own.
std::vector<std::string> argumentsOf(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    return arguments;
}

void purgeBin(const ProgramPaths& paths) {
    const QDate today = QDate::currentDate();
    bin::purge(paths.binFolder(), {today.year(), today.month(), today.day()}, std::chrono::system_clock::now());
}

// First the lower half of the screen (the size it returns to from maximised),
// then the whole screen.
void placeAtStart(MainWindow& window) {
    const QScreen* screen = QApplication::primaryScreen();
    const QRect s = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    window.setGeometry(0, s.height() / 2, s.width(), s.height() / 2);
    window.setGeometry(s);
    window.showMaximized();
}

// Kept on the screen: not above 70 pixels from the top, not taller than the screen minus 120.
void startExplorer(MainWindow& window) {
    ExplorerWindow& explorer = window.explorers().first();
    const QScreen* screen = QApplication::primaryScreen();
    const int height = screen ? screen->availableGeometry().height() : 768;
    if (explorer.y() < 60) explorer.move(explorer.x(), 70);
    if (explorer.height() > height - 120) explorer.resize(explorer.width(), height - 120);
    explorer.start("");
    explorer.raise();
}

// Without a graphics card, OpenGL is emulated on the processor: the emulator
// takes some 55 MB and part of the start, and the web engine, the only user of
// OpenGL here, draws the same pages by its own software path. A card, or a
// choice already made in the environment, is left alone.
void useSoftwareDrawingWithoutGraphicsCard() {
    if (qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION") || qEnvironmentVariableIsSet("QT_QUICK_BACKEND")) return;
    if (platform::hasGraphicsCard()) return;
    qputenv("QT_XCB_GL_INTEGRATION", "none");
    qputenv("QT_QUICK_BACKEND", "software");
}

// The web engine starts ahead, so that the first F9 finds it running, once an
// HTML file is open: its start takes some 60 MB, which a run for texts or
// pictures never needs. It waits until the main window is painted and no
// picture is being decoded, as it takes both cores for a moment.
bool htmlFileOpen(MainWindow& window) {
    for (const auto& name : window.documents().fileNames()) {
        const std::string extension = pathnames::lowerExtension(name);
        if (extension == ".htm" || extension == ".html") return true;
    }
    return false;
}

void warmUpBrowserWhenNeeded(MainWindow& window) {
    auto* wait = new QTimer(&window);
    QObject::connect(wait, &QTimer::timeout, &window, [main = &window, wait] {
        wait->setInterval(250);
        if (platform::pictures::PictureJob::running() > 0 || !htmlFileOpen(*main)) return;
        wait->stop();
        wait->deleteLater();
        main->browsers().currentOrNew()->warmUp();
    });
    // The second turn of the loop: after the start request's first pass.
    QTimer::singleShot(0, &window, [wait] { QTimer::singleShot(0, wait, [wait] { wait->start(20); }); });
}

void applyLockKeysAtStart(MainWindow& window, const SettingsStore& store) {
    const std::string value = store.readValue(kSectionSettings, "Numlock");
    const long long setting = text::toIntDef(value, 0);
    window.applyNumLock(setting == 0 || setting == 1 ? static_cast<int>(setting) : 2);
    platform::setCapsLock(false);
}

}  // namespace

int runApplication(int argc, char** argv) {
    // The browser view refuses to run as root unless its sandbox is off.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    useSoftwareDrawingWithoutGraphicsCard();
    PictraApplication app(argc, argv);
    app.setApplicationName("Pictra");
    installGermanTranslations(app);

    const std::vector<std::string> arguments = argumentsOf(argc, argv);
    ProgramPaths paths = platform::programPaths(u(QApplication::applicationFilePath()), arguments);
    SettingsStore store;
    platform::AlsaSound sound;
    Tones tones(store, sound);
    QtDialogs dialogs(tones);
    SettingsFile settingsFile(paths, dialogs);
    settingsFile.load(store);

    platform::InstanceLock instanceLock;
    MainWindowOptions options;
    const auto secondInstance = decideInstance(instanceLock.acquire(), dialogs);
    if (!secondInstance) return 0;
    options.secondInstance = *secondInstance;

    FolderList explorerFolders;
    explorerFolders.load(paths.explorerFolderListFileName());
    offerInterruptedSaves(paths, dialogs);
    fileops::offerInterruptedRenames(paths.folder, dialogs);
    purgeBin(paths);

    AppContext context{paths, store, settingsFile, explorerFolders, dialogs, tones, &dialogs};
    auto window = std::make_unique<MainWindow>(context, options);
    dialogs.setParentWindow(window.get());
    window->restartProgram = [&instanceLock](const std::string& folder) {
        instanceLock.release();
        QProcess::startDetached(QApplication::applicationFilePath(), {}, q(folder));
    };
    dialogs.setTextFont([&window] { return window->editorFont(); });
    placeAtStart(*window);
    applyLockKeysAtStart(*window, store);
    window->newDocument();
    // Texts a run that did not end left in its emergency copy are offered back; a
    // second instance leaves the running first one's copy alone.
    if (!options.secondInstance) offerEmergencyRestore(*window);
    const bool indexExists = QFileInfo::exists(q(paths.folder + "index.html"));
    std::error_code noFolder;
    const std::string workingFolder = std::filesystem::current_path(noFolder).string();
    window->setStartRequest(documents::startRequest(arguments, paths.folder, indexExists, workingFolder));
    window->setStartRequestHandler([&window](const std::string& path) { window->explorers().openStartRequest(path); });
    startExplorer(*window);
    tones.tone(kHighSignal);
    window->mainTimer()->start();
    // The first pass runs as soon as the windows are up, so that a file named on
    // the command line opens at once rather than after the first interval.
    QTimer::singleShot(0, window.get(), &MainWindow::timerTick);
    warmUpBrowserWhenNeeded(*window);

    const int code = app.exec();
    dialogs.setParentWindow(nullptr);
    window.reset();
    // The run ended normally: its emergency copy of unsaved texts is not needed.
    emergency::removeCopy(emergencyCopyName(paths));
    // A picture still being decoded is not waited for, and its thread must not meet
    // the libraries as they are taken down: the process ends here.
    if (platform::pictures::PictureJob::running() > 0) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}

}  // namespace pictra::ui
