#include "BrowserWindow.h"

#include <QAction>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "common/Placement.h"
#include "common/UiText.h"

namespace pictra::ui {

namespace {

// A link that asks for a new window (target="_blank", window.open) opens one of our own.
class PreviewView : public QWebEngineView {
public:
    PreviewView(std::function<BrowserWindow*()> newWindow, QWidget* parent)
        : QWebEngineView(parent), m_newWindow(std::move(newWindow)) {}

protected:
    QWebEngineView* createWindow(QWebEnginePage::WebWindowType) override {
        BrowserWindow* window = m_newWindow ? m_newWindow() : nullptr;
        if (!window) return nullptr;
        window->present();
        return window->view();
    }

private:
    std::function<BrowserWindow*()> m_newWindow;
};

}  // namespace

const char* const kRendererGone =
    "Die Seite kann nicht gezeigt werden: sie ist zu groß für den Browser oder hat ihn abstürzen lassen.";

QUrl browserUrl(const std::string& target) {
    const QString text = q(target).trimmed();
    if (text.startsWith('/')) return QUrl::fromLocalFile(text);
    return QUrl::fromUserInput(text);
}

BrowserWindow::BrowserWindow(BrowserHooks hooks, QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_hooks(std::move(hooks)) {
    setObjectName("FormBrowser");
    setWindowTitle("Browser");
    setAttribute(Qt::WA_DeleteOnClose);
    m_view = new PreviewView(m_hooks.newWindow, this);
    m_view->setObjectName("WebBrowser1");
    setCentralWidget(m_view);

    QToolBar* bar = addToolBar("Adresse");
    bar->setObjectName("ToolBarBrowser");
    bar->setMovable(false);
    m_backButton = new QToolButton(bar);
    m_backButton->setObjectName("BZurueck");
    m_backButton->setText("<-");
    m_backButton->setToolTip("Zurück");
    bar->addWidget(m_backButton);
    m_address = new QLineEdit(bar);
    m_address->setObjectName("Edit_url");
    bar->addWidget(m_address);
    connect(m_backButton, &QToolButton::clicked, this, [this] { back(); });
    connect(m_address, &QLineEdit::returnPressed, this, [this] { addressEntered(); });

    statusBar()->setObjectName("StatusBarBrowser");
    connect(m_view->page(), &QWebEnginePage::linkHovered, this,
            [this](const QString& url) { statusBar()->showMessage(url); });
    connect(m_view, &QWebEngineView::urlChanged, this, [this](const QUrl& url) { urlChanged(url); });
    connect(m_view, &QWebEngineView::loadStarted, this, [this] {
        m_loading = true;
        m_rendererGone = false;
    });
    connect(m_view, &QWebEngineView::loadFinished, this, [this](bool ok) { loadEnded(ok); });
    // A page too large for the renderer's memory (a 20 MB page of two million elements
    // exhausts its 4 GB heap) ends its process; the window stays usable and says why.
    connect(m_view, &QWebEngineView::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status == QWebEnginePage::NormalTerminationStatus) return;
                m_rendererGone = true;
                loadEnded(false);
            });
    buildMenus();
    resizeOnScreen(this, QSize(900, 700));
}

BrowserWindow::~BrowserWindow() = default;

void BrowserWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu("&Datei");
    file->setObjectName("DateiBrowser1");
    QAction* print = file->addAction("Drucken ...", this, [this] { this->print(); });
    print->setObjectName("DruckenBrowser1");
    QAction* preview = file->addAction("Seitenansicht", this, [this] { printPreview(); });
    preview->setObjectName("SeitenansichtBrowser1");
    QAction* forwardAction = file->addAction("Vor", this, [this] { forward(); });
    forwardAction->setObjectName("VorBrowser1");
    QAction* backAction = file->addAction("Zurück", this, [this] { back(); });
    backAction->setObjectName("ZurueckBrowser1");
    QAction* closeAction = file->addAction("Schließen", this, [this] { close(); });
    closeAction->setObjectName("SchliessenBrowser1");

    QMenu* favourites = menuBar()->addMenu("&Favoriten");
    favourites->setObjectName("FavoritenBrowser1");
    QAction* add = favourites->addAction("Link den Favoriten zufügen", this, [this] {
        if (m_hooks.addFavourite) m_hooks.addFavourite(address());
    });
    add->setObjectName("LinkDenFavoritenZufuegen1");
    favourites->addSeparator();
    if (m_hooks.favourites) {
        for (const std::string& line : m_hooks.favourites()) {
            if (line == "-") {
                favourites->addSeparator();
                continue;
            }
            QAction* item = favourites->addAction(q(line).replace("&", "&&"));
            connect(item, &QAction::triggered, this, [this, line] {
                navigate(line);
                setAddress(line);
            });
        }
    }

    QMenu* extras = menuBar()->addMenu("E&xtras");
    extras->setObjectName("ExtrasBrowser1");
    QAction* dead = extras->addAction("Tote Links suchen", this, [this] {
        if (m_hooks.deadLinks) m_hooks.deadLinks(*this);
    });
    dead->setObjectName("ToteLinksSuchen1");
    QAction* sitemap = extras->addAction("Sitemap erstellen", this, [this] {
        if (m_hooks.sitemap) m_hooks.sitemap(*this);
    });
    sitemap->setObjectName("SitemapErstellen1");
    // Up and Down step through the files while the address field has the focus; in
    // the page they keep scrolling it.
    QAction* next = extras->addAction("Nächste lokale Datei lesen", this, [this] {
        if (m_hooks.neighbourFile) m_hooks.neighbourFile(*this, true);
    });
    next->setObjectName("NaechsteLokaleDatei1");
    next->setShortcut(Qt::Key_Down);
    next->setShortcutContext(Qt::WidgetShortcut);
    QAction* previous = extras->addAction("Vorhergehende lokale Datei lesen", this, [this] {
        if (m_hooks.neighbourFile) m_hooks.neighbourFile(*this, false);
    });
    previous->setObjectName("VorhergehendeLokaleDatei1");
    previous->setShortcut(Qt::Key_Up);
    previous->setShortcutContext(Qt::WidgetShortcut);
    m_address->addAction(next);
    m_address->addAction(previous);
}

bool BrowserWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && m_hooks.activated) m_hooks.activated(this);
    return QMainWindow::event(e);
}

void BrowserWindow::loadEnded(bool ok) {
    m_loading = false;
    if (m_rendererGone) {
        statusBar()->showMessage(kRendererGone);
    } else {
        statusBar()->showMessage(ok ? "Fertig" : "Die Seite konnte nicht geladen werden.", 5000);
    }
    auto waiting = std::move(m_afterLoad);
    m_afterLoad.clear();
    for (auto& then : waiting) then();
}

void BrowserWindow::navigate(const std::string& target) {
    m_loadedByProgram = browserUrl(target);
    m_loading = true;
    m_view->load(m_loadedByProgram);
}

bool BrowserWindow::reload() {
    const QUrl url = m_view->url();
    if (url.isEmpty() || url.scheme() == "about" || url.scheme() == "data") return false;
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) return false;
    m_loading = true;
    m_view->reload();
    return true;
}

void BrowserWindow::blank() {
    m_loadedByProgram = QUrl("about:blank");
    m_view->setUrl(m_loadedByProgram);
}

void BrowserWindow::warmUp() {
    // A page asked for before the engine came up (the start request's F9) is not
    // replaced: the view's own address stays empty until that page commits.
    if (m_loadedByProgram.isEmpty() && !m_loading && m_view->url().isEmpty()) m_view->setUrl(QUrl("about:blank"));
}

void BrowserWindow::back() { m_view->back(); }

void BrowserWindow::forward() { m_view->forward(); }

void BrowserWindow::print() {
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(m_printer.get(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    m_view->print(m_printer.get());
}

void BrowserWindow::printPreview() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
        // The preview paints synchronously, the page prints asynchronously: wait for it here.
        QEventLoop loop;
        connect(m_view, &QWebEngineView::printFinished, &loop, &QEventLoop::quit);
        m_view->print(target);
        loop.exec();
    });
    dialog.exec();
}

std::string BrowserWindow::address() const { return u(m_address->text()); }

void BrowserWindow::setAddress(const std::string& text) { m_address->setText(q(text)); }

void BrowserWindow::present() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
    if (m_hooks.activated) m_hooks.activated(this);
}

void BrowserWindow::focusAddress() { m_address->setFocus(); }

void BrowserWindow::showHtml(const QString& html) {
    m_loadedByProgram = QUrl("about:blank");
    m_view->setHtml(html);
    m_address->clear();
    present();
}

void BrowserWindow::whenLoaded(std::function<void()> then) {
    if (!m_loading) {
        then();
        return;
    }
    m_afterLoad.push_back(std::move(then));
}

void BrowserWindow::addressEntered() {
    const std::string typed = u(m_address->text().trimmed());
    if (typed.empty()) return;
    navigate(typed);
}

void BrowserWindow::urlChanged(const QUrl& url) {
    if (url == m_loadedByProgram || url.scheme() == "about" || url.scheme() == "data") return;
    m_address->setText(url.isLocalFile() ? url.toLocalFile() : url.toString());
}

}  // namespace pictra::ui
