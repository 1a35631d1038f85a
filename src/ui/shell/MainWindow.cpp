#include "MainWindow.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QMenuBar>
#include <QUrl>

#include "SettingsDialog.h"
#include "UiText.h"
#include "platform/Drives.h"
#include "common/TextFiles.h"
#include "shell/SettingsForm.h"

namespace pictra::ui {

MainWindow::MainWindow(AppContext& context, QWidget* parent) : QMainWindow(parent), m_context(context) {
    setObjectName("Form1");
    setWindowTitle("Pictra");
    buildMenus();
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::addCommand(QMenu* menu, const char* name, const QString& text, std::function<void()> command,
                                const QKeySequence& key) {
    auto* action = menu->addAction(text);
    action->setObjectName(name);
    if (!key.isEmpty()) action->setShortcut(key);
    connect(action, &QAction::triggered, this, [command = std::move(command)] { command(); });
    return action;
}

void MainWindow::buildMenus() {
    QMenu* view = menuBar()->addMenu("Ansicht");
    view->setObjectName("Ansicht1");
    addCommand(view, "Einstellungen1", "Einstellungen", [this] { openSettings(0); });

    QMenu* extras = menuBar()->addMenu("Extras");
    extras->setObjectName("Extras1");
    QMenu* care = extras->addMenu("Pflege");
    care->setObjectName("Pflege1");
    addCommand(care, "BearbeiteInidatei1", "Bearbeite Inidatei", [this] { editSettingsFile(); });
    QAction* mute = addCommand(extras, "TonAbschalten1", "Ton abschalten", [] {});
    mute->setCheckable(true);
    connect(mute, &QAction::toggled, this, [this](bool on) { m_context.tones.setMuted(on); });
}

SettingsDialog* MainWindow::settingsDialog() {
    if (!m_settingsDialog) {
        SettingsDialogHooks hooks;
        hooks.fontChanged = [this] { resetEditorFonts(); };
        hooks.openFile = [this](const std::string& path) {
            if (auto text = textfiles::readText(path)) m_context.dialogs.showText(path, *text);
        };
        hooks.openBin = [this] {
            QDesktopServices::openUrl(QUrl::fromLocalFile(q(m_context.paths.binFolder())));
        };
        hooks.openBrowserPageSetup = [] { return QDesktopServices::openUrl(QUrl("about:blank")); };
        m_settingsDialog = new SettingsDialog(m_context.store, m_context.dialogs, m_context.tones, m_context.paths,
                                              platform::defaultSecondDriveFolder(m_context.paths.folder),
                                              std::move(hooks), this);
    }
    return m_settingsDialog;
}

void MainWindow::openSettings(int group) { settingsDialog()->openSettings(group); }

void MainWindow::editSettingsFile() { m_context.settingsFile.editAsText(m_context.store); }

QFont MainWindow::editorFont() const { return fontFromSpec(readEditorFont(m_context.store)); }

void MainWindow::resetEditorFonts() {
    // The documents' editors take the font from here once they exist.
}

void MainWindow::saveAtExit() {
    if (m_closed) return;
    m_closed = true;
    m_context.settingsFile.saveAtExit(m_context.store);
    m_context.explorerFolders.save(m_context.paths.explorerFolderListFileName());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    saveAtExit();
    event->accept();
}

}  // namespace pictra::ui
