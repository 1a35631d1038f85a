// The menus of the main window and the small commands behind them.
#include <QApplication>
#include <QDesktopServices>
#include <QMenuBar>
#include <QScreen>
#include <QUrl>

#include "DocumentArea.h"
#include "calc/CalculatorDialog.h"
#include "MainWindow.h"
#include "PlainEditor.h"
#include "QtDialogs.h"
#include "platform/CupsPrinter.h"
#include "settings/SettingsDialog.h"
#include "TextWindow.h"
#include "editing/SearchBar.h"
#include "common/Placement.h"
#include "common/UiText.h"
#include "explorer/Explorers.h"
#include "html/Browsers.h"
#include "platform/Drives.h"
#include "platform/KeyboardLocks.h"
#include "shell/AboutPage.h"
#include "shell/RawPrint.h"
#include "settings/SettingsForm.h"

namespace pictra::ui {

QAction* MainWindow::addCommand(QMenu* menu, const char* name, const QString& text, std::function<void()> command,
                                const QKeySequence& key) {
    auto* action = menu->addAction(text);
    action->setObjectName(name);
    if (!key.isEmpty()) action->setShortcut(key);
    connect(action, &QAction::triggered, this, [command = std::move(command)] { command(); });
    return action;
}

void MainWindow::buildMenus() {
    buildFileMenu();
    buildMakroMenu();
    buildEditMenu();

    QMenu* view = menuBar()->addMenu("&Ansicht");
    view->setObjectName("Ansicht1");
    addCommand(view, "Einstellungen1", "Einstellungen", [this] { openSettings(0); });
    addCommand(view, "Kalender1", "Kalender", [this] { openSettings(4); });
    QAction* sheet = addCommand(view, "Rechenblatt1", "Rechenblatt", [this] { toggleCalculatorLine(); },
                                QKeySequence("Ctrl+R"));
    sheet->setStatusTip("Dort finden Sie unter Menü \"Bearbeiten\" ein Beispiel, wie Sie im Text addieren können (bei "
                        "Rechnungen u.s.w.)");
    addCommand(view, "Rechner1", "Rechner", [this] {
        CalculatorDialog* dialog = calculatorDialog();
        dialog->show();
        dialog->raise();
    });
    buildTableCommands(view);
    view->addSeparator();
    addCommand(view, "Fenstervoll1", "Fenster voll", [this] { arrangeFull(); });
    addCommand(view, "Fensterlinks1", "Fenster links", [this] { arrangeLeft(); });
    addCommand(view, "Fensteroben1", "Fenster oben", [this] { arrangeTop(); });
    addCommand(view, "AlleFenstergleichgross1", "Alle Fenster gleich groß", [this] { arrangeAllSameSize(); });
    QMenu* show = view->addMenu("Fenster zeigen ...");
    show->setObjectName("Fensterzeigen1");
    addCommand(show, "AlleFensterzeigen1", "Alle bereits geöffnete Fenster zeigen", [this] { showAllWindows(); });
    addCommand(show, "Hinweisfenster1", "Hinweisfenster, falls bereits geöffnet", [this] { showTextWindowAgain(); },
               QKeySequence("Ctrl+Shift+F12"));
    buildExplorerCommands(view);
    addCommand(view, "FestplatteDurchsuchen1", "Festplatte nach Dateien durchsuchen", [this] { m_explorers->showSearch(); },
               QKeySequence("Alt+F11"))
        ->setStatusTip("Ein mächtiges Werkzeug. Bis zu drei Dateienmerkmalen kann gesucht werden. Sogar nach "
                       "Textinhalten kann gefragt werden.");
    m_explorers->setSearchTextHook([this](const std::string& text) { searchBar().setTerm(q(text)); });

    buildHtmlMenu();
    buildBrowserMenus();

    QMenu* extras = menuBar()->addMenu("E&xtras");
    extras->setObjectName("Extras1");
    buildAsciiMenu(extras);
    buildLineToolCommands(extras);
    QMenu* care = extras->addMenu("Pflege");
    care->setObjectName("Pflege1");
    addCommand(care, "BearbeiteInidatei1", "Bearbeite Inidatei", [this] { editSettingsFile(); });
    QAction* mute = addCommand(extras, "TonAbschalten1", "Ton abschalten", [] {});
    mute->setCheckable(true);
    connect(mute, &QAction::toggled, this, [this](bool on) { m_context.tones.setMuted(on); });

    QMenu* help = menuBar()->addMenu("H&ilfe");
    help->setObjectName("Hilfe1");
    addCommand(help, "Info1", "Info", [this] { showAbout(); });
    addCommand(help, "UeberPictra1", "über Pictra", [this] { showAbout(); });
}

SettingsDialog* MainWindow::settingsDialog() {
    if (!m_settingsDialog) {
        SettingsDialogHooks hooks;
        hooks.fontChanged = [this] { resetEditorFonts(); };
        hooks.numLockChanged = [this](int index) { applyNumLock(index); };
        hooks.openFile = [this](const std::string& path) { m_files->loadFile(path); };
        hooks.openBin = [this] { showBinWindow(); };
        hooks.openBrowserPageSetup = [] { return QDesktopServices::openUrl(QUrl("about:blank")); };
        hooks.printerMode = [this](bool needle) { setPrinterMode(rawPrinter(), m_context.dialogs, needle); };
        hooks.printerLandscape = [this] {
            const auto printer = platform::setDefaultPrinterLandscape();
            m_context.dialogs.inform(printer ? "Der Drucker \"" + *printer + "\" druckt nun im Querformat."
                                             : std::string("Kein Drucker eingerichtet: Es gibt keinen Standarddrucker, "
                                                           "der auf Querformat gestellt werden könnte."));
        };
        hooks.tone = [this](double frequency) { m_context.tones.tone(frequency); };
        hooks.chime = [this] { m_context.tones.chime(); };
        m_settingsDialog = new SettingsDialog(m_context.store, m_context.dialogs, m_context.paths,
                                              platform::defaultSecondDriveFolder(m_context.paths.folder),
                                              std::move(hooks), this);
    }
    return m_settingsDialog;
}

void MainWindow::openSettings(int group) {
    m_settingsOpened = true;
    settingsDialog()->openSettings(group);
}

void MainWindow::editSettingsFile() { m_context.settingsFile.editAsText(m_context.store); }

QFont MainWindow::editorFont() const { return fontFromSpec(readEditorFont(m_context.store)); }

void MainWindow::resetEditorFonts() { m_documents->resetFonts(editorFont()); }

// Setting `Numlock`: 0 (or not a number) on, 1 off, anything else unchanged.
void MainWindow::applyNumLock(int setting) {
    if (setting == 0 || setting == 1) platform::setNumLock(setting == 0);
}

void MainWindow::showAbout() { browserWindow()->showHtml(q(aboutPage(PICTRA_VERSION))); }

namespace {

QRect screenRect(const QWidget* w) {
    const QScreen* screen = w->screen() ? w->screen() : QApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

bool wideScreen(const QRect& s) { return 4 * s.height() < 3 * s.width(); }

QList<QWidget*> programWindows(QWidget* main) {
    QList<QWidget*> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != main && w->isWindow() && !w->isHidden() && w->windowType() != Qt::Popup) windows << w;
    }
    return windows;
}

void hideAllBut(QWidget* main) {
    for (QWidget* w : programWindows(main)) w->hide();
}

}  // namespace

void MainWindow::arrangeFull() {
    const QRect s = screenRect(this);
    hideAllBut(this);
    showNormal();
    const QRect bounds(0, 0, wideScreen(s) ? s.width() - 50 : s.width(), s.height());
    placeFrame(this, bounds);
    if (BrowserWindow* browser = m_browserList ? m_browserList->currentWindow() : nullptr) placeFrame(browser, bounds);
}

void MainWindow::arrangeLeft() {
    const QRect s = screenRect(this);
    hideAllBut(this);
    showNormal();
    const QRect half(0, 0, s.width() / 2, s.height());
    placeFrame(this, half);
    placeFrame(&m_explorers->first(), half);
    m_explorers->first().show();
}

void MainWindow::arrangeTop() {
    const QRect s = screenRect(this);
    hideAllBut(this);
    showNormal();
    const QRect top(0, 0, wideScreen(s) ? s.width() - 40 : s.width(), s.height() / 2);
    placeFrame(this, top);
    placeFrame(&m_explorers->first(), top);
    m_explorers->first().show();
}

void MainWindow::arrangeAllSameSize() {
    long long width = 800;
    if (!m_context.dialogs.askNumber("Größe des Fensters", "Welche Breite sollen die Fenster haben", width)) return;
    if (width <= 0) return;
    const int w = static_cast<int>(std::min<long long>(width, 100000));
    showNormal();
    placeFrame(this, QRect(0, 0, w, w * 3 / 4));
    for (QWidget* window : programWindows(this)) placeFrame(window, QRect(0, 0, w, w * 3 / 4));
}

void MainWindow::showAllWindows() {
    QList<QWidget*> windows{this};
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isWindow() && w->windowType() != Qt::Popup && qobject_cast<QMainWindow*>(w)) windows << w;
    }
    for (QWidget* w : windows) {
        w->show();
        w->raise();
        if (m_context.dialogs.ask("Suche beenden?") == Answer::Yes) return;
    }
}

void MainWindow::showTextWindowAgain() {
    if (m_context.qtDialogs && m_context.qtDialogs->hasTextWindow()) {
        TextWindow* window = m_context.qtDialogs->textWindow();
        window->show();
        window->raise();
    }
}

}  // namespace pictra::ui
