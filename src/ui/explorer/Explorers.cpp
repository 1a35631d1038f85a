#include "Explorers.h"
#include "common/PathNames.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QScreen>

#include "common/CaseFold.h"
#include "common/Placement.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "settings/SettingsFile.h"

namespace pictra::ui {

namespace {

using pathnames::fileNamePart;

}  // namespace

Explorers::Explorers(SettingsStore& store, Dialogs& dialogs, Tones& tones, FolderList& folderList, CopySession& copies,
                     std::string binFolder, ExplorerHooks hooks)
    : m_shared{store, dialogs, tones, m_chronicle, {}, {}, copies, std::move(binFolder)},
      m_folderList(folderList),
      m_hooks(hooks) {
    m_chronicle.setEntries(folderList.folders());
    m_first = std::make_unique<ExplorerWindow>(m_shared, '1', hooksFor(hooks, '1'));
    m_second = std::make_unique<ExplorerWindow>(m_shared, '2', hooksFor(hooks, '2'));
}

Explorers::~Explorers() = default;

// Each window's own hooks for the commands that concern the pair.
ExplorerHooks Explorers::hooksFor(ExplorerHooks base, char number) {
    base.toggleSecondExplorer = [this] { toggleSecond(); };
    base.keepOnTop = [this](bool on) { keepOnTop(on); };
    base.showOnlyThis = [this, number] { showOnly(number == '1' ? first() : second()); };
    base.searchInFiles = [this](const std::string& folder) { showSearch(folder); };
    return base;
}

void Explorers::openStartRequest(const std::string& path) {
    ExplorerWindow& explorer = first();
    explorer.start(path);
    QListWidget* list = explorer.fileList();
    list->clearSelection();
    const std::string wanted = fileNamePart(path);
    for (int row = 0; row < list->count(); ++row) {
        if (casefold::equalUtf8(fileNamePart(explorer.pathOfRow(row)), wanted)) {
            list->setCurrentRow(row);
            list->item(row)->setSelected(true);
        }
    }
    if (!list->selectedItems().isEmpty()) explorer.openSelected();
}

// Placed before showing as well as after, so that a window shows up where it
// belongs and keeps its place once the window manager has framed it.
void Explorers::toggleSecond() {
    m_first->show();
    if (m_second->isVisible()) {
        m_second->hide();
        const QRect frame = m_first->frameGeometry();
        const int width = availableArea(m_first.get()).right() + 1 - frame.left() - 50;
        placeFrame(m_first.get(), QRect(frame.topLeft(), QSize(width, frame.height())));
        return;
    }
    placeSideBySide();
    m_second->show();
    if (m_second->currentFolder().empty()) m_second->start(m_first->currentFolder());
    placeSideBySide();
}

// Explorer 1 at the left, at most half the screen wide; explorer 2 right beside it,
// narrowed where it would pass the screen's right edge.
void Explorers::placeSideBySide() {
    const QRect screen = availableArea(m_first.get());
    const QRect first = m_first->frameGeometry();
    const QRect left(screen.left() + 24, screen.top() + 50, std::min(first.width(), screen.width() / 2 - 24),
                     first.height());
    placeFrame(m_first.get(), left);
    const int x = screen.left() + m_first->frameGeometry().width() + 24;
    const QRect second = m_second->frameGeometry();
    const int width = std::min(second.width(), screen.right() + 1 - x);
    placeFrame(m_second.get(), QRect(x, m_first->frameGeometry().top(), width, second.height()));
}

void Explorers::showBoth() {
    const QRect screen = availableArea(m_first.get());
    for (ExplorerWindow* e : {m_first.get(), m_second.get()}) {
        e->show();
        if (e->fileList()->count() == 0) e->start("");
    }
    const QRect first = m_first->frameGeometry();
    placeFrame(m_first.get(), QRect(screen.right() + 1 - first.width(), first.top(), first.width(), first.height()));
    const QRect placed = m_first->frameGeometry();
    const QRect second = m_second->frameGeometry();
    int left = placed.left() - second.width();
    int width = second.width();
    if (left < screen.left()) {
        width -= screen.left() - left;
        left = screen.left();
    }
    placeFrame(m_second.get(), QRect(left, second.top(), width, second.height()));
}

void Explorers::placeBoth(ExplorerLayout layout) {
    m_shared.store.writeValue("Explorer", "ExplorerhoeheNichtAnpassen", "Ja");
    for (ExplorerWindow* e : {m_first.get(), m_second.get()}) {
        e->place(layout);
        e->start("");
        e->show();
    }
    m_shared.dialogs.inform("Die automatische Höhenanpassung wurde deaktiviert (siehe rosa Feld");
}

void Explorers::showOnly(ExplorerWindow& window) {
    m_first->hide();
    m_second->hide();
    window.show();
    window.raise();
}

void Explorers::keepOnTop(bool on) {
    for (ExplorerWindow* e : {m_first.get(), m_second.get()}) {
        const bool visible = e->isVisible();
        e->setWindowFlag(Qt::WindowStaysOnTopHint, on);
        if (visible) e->show();
    }
}

void Explorers::storeAtExit() {
    m_first->storeLayout();
    m_second->storeLayout();
    m_folderList.setFolders(m_chronicle.entries());
}

SearchWindow& Explorers::searchWindow() {
    if (!m_search) {
        SearchHooks hooks;
        hooks.openDocument = m_hooks.openDocument;
        hooks.showPicture = m_hooks.showPicture;
        hooks.newDocumentWithText = m_hooks.newDocumentWithText;
        hooks.showStatus = m_hooks.showStatus;
        hooks.setSearchText = [this](const std::string& text) {
            if (m_setSearchText) m_setSearchText(text);
        };
        hooks.showFolder = [this](const std::string& folder) {
            m_first->start(folder);
            m_first->show();
            m_first->raise();
        };
        hooks.copyContext = [this] { return m_shared.copyContext(); };
        hooks.pictureWindow = m_hooks.pictureWindow;
        hooks.explorerToTop = [this](bool top) {
            if (top) {
                m_explorerPlace = m_first->pos();
                if (m_first->screen()) m_first->move(m_first->x(), m_first->screen()->availableGeometry().top());
            } else {
                m_first->move(m_explorerPlace);
            }
        };
        m_search = std::make_unique<SearchWindow>(
            SearchShared{m_shared.store, m_shared.dialogs, m_shared.tones, m_shared.marked, m_shared.search,
                         m_shared.binFolder},
            std::move(hooks));
    }
    return *m_search;
}

void Explorers::showSearch(const std::string& folder) {
    if (folder.empty()) searchWindow().openFromMainWindow();
    else searchWindow().openAt(folder);
}

}  // namespace pictra::ui
