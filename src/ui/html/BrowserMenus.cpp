// The main window's side of the browser windows: the "Browser" and "Favoriten"
// menus, the full preview of the current document and the commands that show
// pages in the current browser window.
#include <QAction>
#include <QListWidget>
#include <QWebEngineView>
#include <QDesktopServices>
#include <QMenuBar>
#include <QProcess>
#include <QTimer>

#include "common/FileIo.h"
#include "common/UiText.h"
#include "platform/HtmlLinks.h"
#include "explorer/Explorers.h"
#include "html/Browsers.h"
#include "html/TextBrowserMenus.h"
#include "html/preview/Favourites.h"
#include "html/preview/PlainTextPage.h"
#include "shell/DocumentArea.h"
#include "shell/FileRules.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "shell/StatusBars.h"
#include "shell/editing/SearchBar.h"

namespace pictra::ui {

namespace {

const char* const kBrowserHint =
    "Vollbild (F9) zeigt das aktuelle Dokument im Browser: eine HTML-Datei wird vorher gespeichert,\r"
    "ein unbenannter Text wird als Seite im temporären Ordner gezeigt.\r"
    "Esc im Text zeigt eine Seite, die in den ersten beiden Zeilen \"<html\" enthält.\r"
    "Browser zeigen (F12) holt alle Browserfenster nach vorn, Strg+F12 lädt die Seite neu.\r"
    "Live-Vorschau: die Seite folgt dem Text beim Schreiben, ohne dass die Datei gespeichert wird.";

// The current document for the full preview.
class MainPreviewHost : public preview::PreviewHost {
public:
    explicit MainPreviewHost(MainWindow& window) : m_window(window) {}

    preview::DocumentState document() override {
        DocumentArea& documents = m_window.documents();
        const int index = documents.currentIndex();
        return {documents.currentFileName(), toCp1252(documents.currentEditor()->toPlainText()),
                documents.isModified(index)};
    }
    bool saveDocument() override {
        m_window.files().save();
        return !m_window.documents().isModified(m_window.documents().currentIndex());
    }
    std::string temporaryPreviewName() override { return m_window.files().hourFileName(); }
    bool searchPanelVisible() override { return m_window.searchBar().isVisible(); }
    void hideSearchPanel() override { m_window.searchBar().hide(); }
    void showNotice(const std::string& text) override { m_window.showNotice(q(text)); }
    bool switchToPreviousHtmlTab() override {
        DocumentArea& documents = m_window.documents();
        const int previous = documents.currentIndex() - 1;
        if (previous < 0) return false;
        const QString name = q(documents.slot(previous).fileName).toLower();
        if (!name.contains(".htm")) return false;
        m_window.switchTo(previous);
        return true;
    }
    bool startProgram(const std::string& program, const std::vector<std::string>& arguments) override {
        QStringList list;
        for (const auto& a : arguments) list << q(a);
        return QProcess::startDetached(q(program), list);
    }

private:
    MainWindow& m_window;
};

// "Sitemap erstellen": the local pages reachable from the shown one, into a new document.
void makeSitemap(MainWindow& window, BrowserWindow& browser) {
    Dialogs& dialogs = window.context().dialogs;
    const std::string start = browser.address();
    if (!preview::isSitemapStart(start)) {
        dialogs.inform(preview::kMsgSitemapStart);
        return;
    }
    const auto mustContain = dialogs.askText("Sitemap", "Nur (lokale) Seiten mit ... erfassen?", "");
    if (!mustContain) return;
    const std::string startPage = browserUrl(start).isLocalFile() ? u(browserUrl(start).toLocalFile()) : start;
    dialogs.beginCancelWindow("Sitemap: " + startPage);
    const auto pages = preview::crawlSitemap(
        startPage, *mustContain, [](const std::string& path) { return fileio::readFile(path); },
        [](const std::string& html) { return platform::htmlLinks(html); },
        [&dialogs, &startPage] { return dialogs.stepCancelWindow("Sitemap: " + startPage); });
    dialogs.endCancelWindow();
    window.newDocumentUnlessEmpty();
    window.currentEditor()->setPlainText(fromCp1252(preview::sitemapDocument(pages)));
    // Beside the start page; a web address has no folder of ours, so the sitemap stays untitled there.
    if (startPage.front() == '/') window.setCurrentFileName(filerules::folderOf(startPage) + "sitemap.html");
    window.refreshCaption();
    dialogs.inform("fertig!");
    window.context().tones.completionTone();
}

}  // namespace

Browsers& MainWindow::browsers() {
    if (!m_browserList) {
        BrowserHooks hooks;
        hooks.favourites = [this] { return preview::favourites(m_context.store); };
        hooks.addFavourite = [this](const std::string& address) {
            preview::addFavourite(m_context.store, m_context.dialogs, address);
        };
        hooks.neighbourFile = [this](BrowserWindow& browser, bool next) { showNeighbourFile(browser, next); };
        hooks.deadLinks = [this](BrowserWindow& browser) {
            checkDeadLinks(browser, m_browserList->testedLinks(), m_context.dialogs, m_browserList->linkLimits);
        };
        hooks.sitemap = [this](BrowserWindow& browser) { makeSitemap(*this, browser); };
        m_browserList = new Browsers(m_context, m_entities, std::make_unique<MainPreviewHost>(*this),
                                     std::move(hooks), this);
    }
    return *m_browserList;
}

BrowserWindow* MainWindow::browserWindow() { return browsers().currentOrNew(); }

void MainWindow::fullPreview(bool byEscape) { browsers().preview().run(byEscape); }

// A page the program made (the about page, a picture or table page) in the current window.
void MainWindow::showPageInBrowser(const std::string& path) {
    BrowserWindow* browser = browserWindow();
    browser->navigate(path);
    browser->setAddress(path);
    browser->present();
}

void MainWindow::printThroughBrowser() {
    fullPreview(false);
    BrowserWindow* browser = browsers().currentWindow();
    if (!browser) return;
    QPointer<BrowserWindow> guarded(browser);
    browser->whenLoaded([guarded] {
        if (guarded) guarded->print();
    });
}

void MainWindow::closeAllDocuments() {
    if (!m_browserList || m_browserList->count() < 5) {
        m_files->closeAll();
        return;
    }
    if (!confirmAllDocuments()) return;
    removeAllDocuments();
    const std::string picture = m_context.store.readValue("SectBild", "SchlBild");
    const std::string folder = picture.empty() ? std::string() : filerules::folderOf(picture);
    if (close() && restartProgram) restartProgram(folder);
}

void MainWindow::showNeighbourFile(BrowserWindow& browser, bool next) {
    ExplorerWindow& explorer = m_explorers->first();
    const std::vector<std::string> entries = explorer.allPaths();
    const auto path = preview::neighbourFile(entries, currentFileName(), next, m_context.dialogs);
    if (!path) return;
    // The file takes the place of the current document's text: unsaved changes are asked about first.
    const int index = currentIndex();
    if (!m_files->confirmClose(index)) return;
    currentEditor()->setPlainText({});
    currentEditor()->document()->setModified(false);
    m_documents->updateModifiedMark(index);
    if (!m_files->loadFile(*path)) return;
    // Shown in the window the user steps in, not in one that happens to show that file.
    browser.navigate(*path);
    browser.setAddress(*path);
    for (int row = 0; row < explorer.fileList()->count(); ++row) {
        if (explorer.pathOfRow(row) == *path) explorer.fileList()->setCurrentRow(row);
    }
    browser.present();
    browser.focusAddress();
}

void MainWindow::buildBrowserMenus() {
    QMenu* menu = menuBar()->addMenu("&Browser");
    menu->setObjectName("Browser1");
    QAction* full = addCommand(menu, "Vollbild1", "Vollbild", [this] { fullPreview(false); }, QKeySequence("F9"));
    full->setStatusTip("Text im Browser zeigen");
    addTextBrowserCommands(*this, menu);
    addCommand(menu, "BrowserZeigen1", "Browser zeigen", [this] { browsers().preview().showBrowsers(); },
               QKeySequence("F12"));
    addCommand(menu, "BrowserZeigenUndAktualisieren1", "Browser zeigen und aktualisieren",
               [this] { browsers().preview().showAndReload(); }, QKeySequence("Ctrl+F12"));
    menu->addSeparator();
    m_standardBrowserAction = addCommand(menu, "AllesImStandardbrowser1", "Alles Im Standardbrowser öffnen", [] {});
    m_standardBrowserAction->setCheckable(true);
    m_liveAction = addCommand(menu, "LiveVorschau1", "Live-Vorschau", [] {});
    m_liveAction->setCheckable(true);
    m_liveAction->setStatusTip("Die Seite folgt dem Text beim Schreiben");
    m_liveTimer = new QTimer(this);
    m_liveTimer->setSingleShot(true);
    m_liveTimer->setInterval(300);
    connect(m_liveTimer, &QTimer::timeout, this, [this] { livePreview(); });
    connect(m_documents, &DocumentArea::textChanged, this, [this] {
        if (m_liveAction->isChecked()) m_liveTimer->start();
    });
    menu->addSeparator();
    addCommand(menu, "HinweisBrowser1", "Hinweis Browser", [this] { m_context.dialogs.inform(kBrowserHint); });

    QMenu* favourites = menuBar()->addMenu("Fa&voriten");
    favourites->setObjectName("Favoriten1");
    // Filled when first opened, so that a start alone writes no default list into the settings.
    connect(favourites, &QMenu::aboutToShow, this, [this, favourites] { fillFavourites(favourites); });
}

void MainWindow::fillFavourites(QMenu* menu) {
    if (menu->actions().size() >= 4) return;
    for (const std::string& line : preview::favourites(m_context.store)) {
        if (line == preview::kFavouriteSeparator) {
            menu->addSeparator();
            continue;
        }
        QAction* item = menu->addAction(q(line).replace("&", "&&"));
        connect(item, &QAction::triggered, this, [this, line] { showPageInBrowser(line); });
    }
}

bool MainWindow::htmlInStandardBrowser() const {
    return m_standardBrowserAction && m_standardBrowserAction->isChecked();
}

// The page follows the text as it is typed: the preview file is rewritten, the user's file is not saved.
void MainWindow::livePreview() {
    const std::string name = currentFileName();
    const std::string text = toCp1252(currentEditor()->toPlainText());
    if (!preview::isHtmlText(text)) return;
    BrowserWindow* browser = browsers().currentWindow();
    if (!browser) return;
    const std::string page = m_files->previewFileName();
    if (!browsers().previewFiles().write(page, text)) return;
    const std::string address = preview::isUntitled(name) ? page : name;
    if (browser->address() == address && browser->view()->url() == browserUrl(page)) {
        browser->reload();
        return;
    }
    browser->navigate(page);
    browser->setAddress(address);
}

}  // namespace pictra::ui
