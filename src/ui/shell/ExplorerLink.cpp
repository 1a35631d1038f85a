// The main window's side of the explorer windows: creating them with what they
// need of the editor, and the commands that show them.
#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>
#include <QWebEngineView>

#include "DocumentArea.h"
#include "MainWindow.h"
#include "PlainEditor.h"
#include "StatusBars.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "explorer/BinWindow.h"
#include "explorer/Explorers.h"
#include "html/BrowserWindow.h"
#include "pictures/PictureWindow.h"
#include "platform/Desktop.h"
#include "shell/Documents.h"

namespace pictra::ui {

namespace {

// The line of this file becomes the only selected and the current one.
void selectFileLine(ExplorerWindow& explorer, const std::string& path) {
    QListWidget* list = explorer.fileList();
    list->clearSelection();
    for (int row = 0; row < list->count(); ++row) {
        if (explorer.pathOfRow(row) != path) continue;
        list->setCurrentRow(row);
        list->item(row)->setSelected(true);
        return;
    }
}

}  // namespace

void MainWindow::buildExplorers() {
    ExplorerHooks hooks;
    hooks.openDocument = [this](const std::string& path) { return m_files->loadFile(path); };
    hooks.openRichText = [this](const std::string& path) { return loadRtfFile(path); };
    hooks.previewHtml = [this](const std::string& path) {
        if (m_files->loadFile(path)) fullPreview(false);
    };
    hooks.showPicture = [this](const std::string& path, const std::vector<std::string>& siblings) {
        showPicture(path, siblings);
    };
    hooks.newDocumentWithText = [this](const std::string& cp1252) {
        if (hasVisibleText(currentEditor())) newDocument();
        currentEditor()->setPlainText(fromCp1252(cp1252));
    };
    hooks.currentDocumentText = [this] {
        return text::replaceAll(toCp1252(currentEditor()->toPlainText()), "\n", "\r\n");
    };
    hooks.currentDocumentName = [this] { return currentFileName(); };
    hooks.rewriteCurrentDocument = [this](bool readable, const auto& change) {
        std::string text = text::replaceAll(toCp1252(currentEditor()->toPlainText()), "\n", "\r\n");
        if (readable) text = m_entities.decode(text);
        const auto changed = change(text);
        if (!changed) return;
        currentEditor()->setPlainText(fromCp1252(text::replaceAll(*changed, "\r\n", "\n")));
        if (readable) fullPreview(false);
    };
    hooks.showStatus = [this](const std::string& text) { m_status->showStatus(q(text)); };
    hooks.openSettings = [this](int group) { openSettings(group); };
    hooks.htmlInStandardBrowser = [this] { return htmlInStandardBrowser(); };
    hooks.showMainWindow = [this] { show(); };
    hooks.showBin = [this](const std::string& select) { showBinWindow(select); };
    hooks.pictureWindow = [this] { return pictureWindow(); };
    m_explorers = std::make_unique<Explorers>(m_context.store, m_context.dialogs, m_context.tones,
                                              m_context.explorerFolders, m_files->copySession(),
                                              m_context.paths.binFolder(), std::move(hooks));
}

Explorers& MainWindow::explorers() { return *m_explorers; }

// Shows the first explorer, at the current document's folder when it has a name.
void MainWindow::showExplorerAtCurrentDocument(const QString& caption) {
    ExplorerWindow& explorer = m_explorers->first();
    const std::string name = currentFileName();
    explorer.start(name.find('?') == std::string::npos ? name : std::string());
    if (!caption.isEmpty()) explorer.setWindowTitle(caption);
    explorer.raise();
    explorer.activateWindow();
}

PictureWindow* MainWindow::pictureWindow() {
    if (!m_pictureWindow) {
        PictureHooks hooks;
        hooks.copyContext = [this] { return m_explorers->copyContext(); };
        hooks.markFile = [this](const std::string& path) {
            auto& files = m_explorers->marked().files;
            const auto at = std::find(files.begin(), files.end(), path);
            if (at == files.end()) {
                files.push_back(path);
            } else {
                files.erase(at);
            }
        };
        hooks.refreshExplorer = [this](const std::string&) {
            ExplorerWindow& explorer = m_explorers->first();
            if (!explorer.currentFolder().empty()) explorer.showFiles(explorer.currentFolder());
        };
        hooks.showExplorer = [this] {
            m_explorers->first().show();
            m_explorers->first().raise();
        };
        hooks.showStatus = [this](const std::string& text) { m_status->showStatus(q(text)); };
        hooks.showInBrowser = [this](const std::string& page) { showPageInBrowser(page); };
        hooks.textPreview = [this](const std::string& path) { m_explorers->first().textPreviewOf(path); };
        hooks.newDocumentWithText = [this](const std::string& cp1252) {
            if (hasVisibleText(currentEditor())) newDocument();
            currentEditor()->setPlainText(fromCp1252(cp1252));
        };
        hooks.textHistoryFile = [this] { return m_context.paths.programFileName("._text_auf_bild"); };
        hooks.explorerPictureCommand = [this](const std::string& picture, const char* item) {
            ExplorerWindow& explorer = m_explorers->first();
            if (picture.empty()) {
                explorer.show();
                explorer.raise();
            } else {
                explorer.start(picture);
                selectFileLine(explorer, picture);
            }
            if (auto* action = explorer.findChild<QAction*>(item)) action->trigger();
        };
        m_pictureWindow = new PictureWindow(m_context.store, m_context.dialogs, m_context.tones, std::move(hooks), this);
    }
    return m_pictureWindow;
}

void MainWindow::showPicture(const std::string& path, const std::vector<std::string>& siblings) {
    pictureWindow()->showPictureFile(path, siblings);
}

void MainWindow::showBinWindow(const std::string& select) {
    if (!m_binWindow) {
        BinHooks hooks;
        hooks.showPicture = [this](const std::string& path) { showPicture(path, {path}); };
        hooks.openDocument = [this](const std::string& path) {
            const bool loaded = m_files->loadFile(path);
            raise();
            return loaded;
        };
        hooks.startExplorerAt = [this](const std::string& folder) { m_explorers->first().start(folder); };
        hooks.matchCase = [this] { return m_explorers->searchSession().matchCase; };
        hooks.showInSecondExplorer = [this](const std::string& folder) {
            m_explorers->second().start(folder);
            m_explorers->second().raise();
        };
        m_binWindow = new BinWindow([this] { return m_explorers->copyContext(); }, std::move(hooks), this);
    }
    m_binWindow->fill(select);
    m_binWindow->exec();
}

void MainWindow::buildExplorerCommands(QMenu* view) {
    view->addSeparator();
    addCommand(view, "SKRPapierkorbZeigen1", "SKR-Papierkorb zeigen", [this] { showBinWindow(); });
    addCommand(view, "Dateienexplorer1", "Dateienexplorer", [this] {
        m_explorers->first().show();
        m_explorers->first().raise();
    }, QKeySequence("F11"));
    addCommand(view, "DateienexplorerGross1", "Dateienexplorer groß", [this] {
        m_explorers->placeBoth(ExplorerLayout::Large);
        openSettings(11);
    });
    addCommand(view, "DateiexplorerKlein1", "Dateiexplorer klein", [this] {
        m_explorers->placeBoth(ExplorerLayout::Small);
        openSettings(11);
    });
    addCommand(view, "ZweiDateienexplorer1", "Zwei Dateienexplorer", [this] { m_explorers->showBoth(); });
}

void MainWindow::openWithExplorer() {
    m_files->setCurrentMacro(0);
    showExplorerAtCurrentDocument("Explorer 1 (Öffnen: Doppelklick auf Datei)");
}

void MainWindow::textPreviewOfChosenFile() {
    const std::string name = currentFileName();
    auto path = m_context.dialogs.chooseOpenFile("Textvorschau (für nicht ASCII-Datei)",
                                                 name.find('?') == std::string::npos ? name : std::string());
    if (path) m_explorers->first().textPreviewOf(*path);
}

}  // namespace pictra::ui
