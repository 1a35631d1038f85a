#include "Explorers.h"
#include "common/PathNames.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QScreen>

#include "common/CaseFold.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "settings/SettingsFile.h"

namespace pictra::ui {

namespace {

QRect screenArea() {
    const QScreen* screen = QApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
}

using pathnames::fileNamePart;

}  // namespace

Explorers::Explorers(SettingsStore& store, Dialogs& dialogs, Tones& tones, FolderList& folderList, CopySession& copies,
                     std::string binFolder, ExplorerHooks hooks)
    : m_shared{store, dialogs, tones, m_chronicle, {}, {}, copies, std::move(binFolder)}, m_folderList(folderList) {
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

void Explorers::toggleSecond() {
    const QRect screen = screenArea();
    m_first->show();
    if (m_second->isVisible()) {
        m_second->hide();
        m_first->resize(screen.width() - m_first->x() - 50, m_first->height());
        return;
    }
    m_second->show();
    if (m_second->currentFolder().empty()) m_second->start(m_first->currentFolder());
    m_first->move(24, 50);
    m_first->resize(std::min(m_first->width(), screen.width() / 2 - 24), m_first->height());
    m_second->move(m_first->width() + 24, m_first->y());
}

void Explorers::showBoth() {
    const QRect screen = screenArea();
    for (ExplorerWindow* e : {m_first.get(), m_second.get()}) {
        e->show();
        if (e->fileList()->count() == 0) e->start("");
    }
    m_first->move(screen.right() - m_first->width(), m_first->y());
    int left = m_first->x() - m_second->width();
    int width = m_second->width();
    if (left < 0) {
        width += left;
        left = 0;
    }
    m_second->setGeometry(left, m_second->y(), width, m_second->height());
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

}  // namespace pictra::ui
