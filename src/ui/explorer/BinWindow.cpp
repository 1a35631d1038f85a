#include "BinWindow.h"

#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include "common/CaseFold.h"
#include "common/Dialogs.h"
#include "common/MenuCommands.h"
#include "common/PathNames.h"
#include "common/UiText.h"
#include "explorer/MarkedFiles.h"
#include "explorer/OpenDispatch.h"
#include "explorer/RecycleBin.h"
#include "pictures/PictureNames.h"
#include "platform/Desktop.h"

namespace pictra::ui {

namespace {

constexpr int kFileRole = Qt::UserRole;
constexpr int kShownRole = Qt::UserRole + 1;  // the original path as bytes
constexpr const char* kChooseFile = "Bitte eine Datei auswählen";


}  // namespace

BinWindow::BinWindow(std::function<CopyContext()> copyContext, BinHooks hooks, QWidget* parent)
    : QDialog(parent), m_copyContext(std::move(copyContext)), m_hooks(std::move(hooks)) {
    setObjectName("Form32Papierkorb");
    setWindowTitle(q("SKRpapierkorb (Siehe Ordner \"" + binFolder() + "\")"));
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    layout->setMenuBar(bar);
    QAction* close = bar->addAction("&Schließen");
    close->setObjectName("Schliessen1");
    connect(close, &QAction::triggered, this, &QDialog::reject);
    QMenu* remove = bar->addMenu("&Löschen ...");
    remove->setObjectName("Loeschen1");
    addMenuCommand(remove, "AusgewaehlteLoeschen1", "Ausgewählte Dateien löschen", [this] { deleteSelected(); });
    addMenuCommand(remove, "AlleLoeschen1", "Alle Dateien des Papierkorbs löschen", [this] { deleteAll(); });
    QAction* find = bar->addAction("S&uchen");
    find->setObjectName("Suchen1");
    connect(find, &QAction::triggered, this, &BinWindow::search);
    QMenu* show = bar->addMenu("&Zeigen...");
    show->setObjectName("Zeigen1");
    addMenuCommand(show, "MitScrivoOeffnen1", "Ausgewählte Datei mit Scrivo öffnen", [this] { openSelectedAsDocument(); });
    addMenuCommand(show, "DateiOeffnen1", "Ausgewählte Datei öffnen", [this] { openSelected(); });
    addMenuCommand(show, "Wiederherstellen1", "Ausgewählte Dateien wiederherstellen", [this] { restoreSelected(); });
    addMenuCommand(show, "ImExplorerOeffnen1", "Papierkorb im Explorer öffnen", [this] { showInExplorer(); });
    layout->addWidget(new QLabel("Die folgenden Dateien befinden sich im Papierkob mit dem Zusatz \"jjmmtt\" (Max.10 Tage).", this));
    layout->addWidget(new QLabel(" (\"jjmmtt_xyz\" = Jahr, Monat, Tag, an dem sie in den Papierkorb gewandert sind, und Größe)", this));
    layout->addWidget(new QLabel("Die Dateien können im ursprünglichen Ordner mit dem Zusatz wiederhergestellt werden,", this));
    m_list = new QListWidget(this);
    m_list->setObjectName("ListBox1");
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(m_list, 1);
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const std::string file = binFolder() + "/" + item->data(kFileRole).toByteArray().toStdString();
        if (pictures::isPictureFile(file) && m_hooks.showPicture) m_hooks.showPicture(file);
        m_list->setFocus();
    });
    resize(900, 500);
}

std::string BinWindow::binFolder() { return m_copyContext().binFolder; }

void BinWindow::fill(const std::string& selectText) {
    m_list->clear();
    for (const auto& entry : bin::binEntries(binFolder())) {
        auto* item = new QListWidgetItem(QString::fromLocal8Bit(entry.shown));
        item->setData(kFileRole, QByteArray::fromStdString(entry.fileName));
        item->setData(kShownRole, QByteArray::fromStdString(entry.shown));
        m_list->addItem(item);
        const bool matchCase = m_hooks.matchCase && m_hooks.matchCase();
        if (!selectText.empty() && (matchCase ? entry.shown.find(selectText) != std::string::npos
                                              : casefold::containsUtf8(entry.shown, selectText))) {
            item->setSelected(true);
        }
    }
}

std::vector<std::string> BinWindow::selectedFiles() const {
    std::vector<std::string> files;
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->isSelected()) files.push_back(m_list->item(row)->data(kFileRole).toByteArray().toStdString());
    }
    return files;
}

void BinWindow::deleteSelected() {
    CopyContext context = m_copyContext();
    if (context.dialogs.ask("Sind Sie sicher, dass die ausgewählten Dateien endgültig gelöscht werden.\rDie Dateien "
                            "sind dann endgültig verloren!") != Answer::Yes) {
        return;
    }
    for (const auto& file : selectedFiles()) {
        explorer::deleteNow(context.binFolder + "/" + file, context.dialogs);
        if (bin::isShortened(file)) explorer::deleteNow(context.binFolder + "/" + file + bin::kCompanionExtension, context.dialogs);
    }
    fill();
}

void BinWindow::deleteAll() {
    m_list->selectAll();
    deleteSelected();
}

void BinWindow::search() {
    CopyContext context = m_copyContext();
    auto word = context.dialogs.askText("Suchen", "Geben Sie ein Suchwort ein", m_searchWord);
    if (!word) return;
    m_searchWord = *word;
    const std::string folded = casefold::foldUtf8(*word);
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        item->setSelected(casefold::foldUtf8(u(item->text())).find(folded) != std::string::npos);
    }
}

void BinWindow::openSelectedAsDocument() {
    const auto files = selectedFiles();
    if (files.empty()) {
        m_copyContext().dialogs.inform(kChooseFile);
        return;
    }
    if (m_hooks.openDocument) m_hooks.openDocument(binFolder() + "/" + files.front());
}

void BinWindow::openSelected() {
    const auto files = selectedFiles();
    if (files.empty()) {
        m_copyContext().dialogs.inform(kChooseFile);
        return;
    }
    const std::string path = binFolder() + "/" + files.front();
    const std::string ext = pathnames::lowerExtension(path);
    if (pictures::isPictureFile(path)) {
        if (m_hooks.showPicture) m_hooks.showPicture(path);
    } else if (explorer::isSoundFile(path) || explorer::isBinaryExtension(path)) {
        platform::openWithAssociated(path);
    } else if (ext.empty() || ext.find(".htm") != std::string::npos || ext.find(".tx") != std::string::npos ||
               ext.find(".rtf") != std::string::npos) {
        if (m_hooks.openDocument) m_hooks.openDocument(path);
    } else {
        platform::openWithAssociated(path);
    }
    accept();
}

void BinWindow::restoreSelected() {
    CopyContext context = m_copyContext();
    std::vector<bin::BinEntry> entries;
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        if (item->isSelected()) {
            entries.push_back({item->data(kShownRole).toByteArray().toStdString(),
                               item->data(kFileRole).toByteArray().toStdString()});
        }
    }
    if (entries.empty()) {
        context.dialogs.inform(kChooseFile);
        return;
    }
    const std::string folder = explorer::restoreFromBin(entries, context);
    if (!folder.empty() && m_hooks.startExplorerAt) m_hooks.startExplorerAt(folder);
    accept();
}

void BinWindow::showInExplorer() {
    if (m_hooks.showInSecondExplorer) m_hooks.showInSecondExplorer(binFolder());
    accept();
}

}  // namespace pictra::ui
