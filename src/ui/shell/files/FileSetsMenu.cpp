// The "Makro" menu (file sets), "Erneut öffnen..." (recent files) and the
// numbered scratch files of the "Datei" menu.
#include <QMenu>
#include <QMenuBar>

#include "shell/DocumentArea.h"
#include "shell/files/FileSetDialog.h"
#include "shell/MainDocumentHost.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "shell/files/RichText.h"
#include "common/UiText.h"
#include "explorer/Explorers.h"
#include "shell/FileSets.h"
#include "shell/NumberedFiles.h"
#include "shell/Rtf.h"

namespace pictra::ui {

void MainWindow::buildMakroMenu() {
    QMenu* makro = menuBar()->addMenu("&Makro");
    makro->setObjectName("Makro1");
    const auto captions = filesets::menuCaptions(m_context.store);
    for (int n = 1; n <= filesets::kSets; ++n) {
        const auto& caption = captions[static_cast<size_t>(n - 1)];
        QAction* entry = addCommand(makro, "MakroEintrag", caption ? q(*caption) : QString("[%1] Makro %1").arg(n), [this, n] {
            filesets::openFileSet(n, m_makroAdd, *m_host, *m_files, m_context.dialogs, m_context.store);
        });
        entry->setObjectName(QString("Makro%1").arg(n));
        entry->setVisible(caption.has_value());
        m_makroEntries.push_back(entry);
    }
    makro->addSeparator();
    addCommand(makro, "MakroAendern1", "Makro neu einrichten oder ändern", [this] { editFileSet(); });
    addCommand(makro, "MakroTauschen1", "Makro tauschen", [this] { filesets::swapFileSets(m_context.store, m_context.dialogs); });
    QAction* add = addCommand(makro, "MakroDazuladen1", "Makro dazuladen", [] {});
    add->setCheckable(true);
    connect(add, &QAction::toggled, this, [this](bool on) { m_makroAdd = on; });
}

void MainWindow::editFileSet() {
    const auto n = filesets::askSetNumber(m_context.dialogs, "Ein Makro ändern",
                                          "Geben Sie die Nummer des Makros ein (1 bis 20) ein", 1, true);
    if (!n) return;
    QAction* entry = m_makroEntries[static_cast<size_t>(*n - 1)];
    entry->setVisible(true);
    const auto edit = filesets::setForEdit(m_context.store, *n, u(entry->text()));
    FileSetDialog dialog(m_context.dialogs, [this](int document) {
        return document >= 1 && document <= m_documents->count() ? m_documents->slot(document - 1).fileName : std::string();
    }, this);
    std::string files;
    for (const auto& f : edit.files) files += f + "\n";
    dialog.fill(*n, edit.name, files);
    if (dialog.exec() != QDialog::Accepted) return;
    const int number = dialog.number();
    if (number < 1 || number > filesets::kSets) return;
    const std::string caption = filesets::storeSet(m_context.store, number, dialog.name(), dialog.files());
    m_makroEntries[static_cast<size_t>(number - 1)]->setText(q(caption));
}

void MainWindow::buildRecentMenu(QMenu* file) {
    m_recentMenu = file->addMenu("Erneut öffnen...");
    m_recentMenu->setObjectName("ErneutOeffnen1");
    connect(m_recentMenu, &QMenu::aboutToShow, this, [this] {
        if (m_historyChanged) rebuildRecentMenu();
    });
    rebuildRecentMenu();
}

void MainWindow::rebuildRecentMenu() {
    m_historyChanged = false;
    m_recentMenu->clear();
    const auto entries = filesets::recentEntries(m_context.store);
    const std::string last = m_context.store.readValue("Hauptmenu", "Letzte Datei");
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string path = entries[i];
        QAction* a = m_recentMenu->addAction(QString(q(path)).replace("&", "&&"));
        if (i == 0 && !last.empty()) {
            a->setShortcut(QKeySequence("Ctrl+0"));
            setPendingCaption("Strg + 0: " + q(last));
        }
        connect(a, &QAction::triggered, this, [this, path] {
            m_explorers->first().hide();
            m_files->loadFile(path);
        });
    }
}

void MainWindow::noteRecordedFile() { m_historyChanged = true; }

numbered::Context MainWindow::numberedContext() {
    return numbered::Context{
        *m_host, m_context.dialogs, m_context.store, m_context.paths,
        [this](int index) {
            PlainEditor* editor = m_documents->slot(index).editor;
            return rtf::write(toRtfDocument(*editor->document(), editor->font()));
        },
        [this](int index, const std::string& bytes) {
            PlainEditor* editor = m_documents->slot(index).editor;
            if (bytes.rfind("{\\rtf", 0) == 0) {
                fromRtfDocument(rtf::read(bytes), *editor->document());
            } else {
                editor->setPlainText(fromCp1252(bytes));
            }
        }};
}

void MainWindow::buildNumberedCommands(QMenu* file) {
    addCommand(file, "SpeichernNr1", "Speichern als Date Nr...", [this] {
        auto c = numberedContext();
        numbered::saveAsNumbered(c);
    });
    addCommand(file, "EinlesenNr1", "Einlesen Datei Nr...", [this] {
        auto c = numberedContext();
        numbered::readNumbered(c);
    });
    addCommand(file, "LoeschenNr1", "Löschen Datei Nr...", [this] {
        auto c = numberedContext();
        numbered::deleteNumbered(c);
    });
    addCommand(file, "AlleNr1", "Alle \"Nr.-Dateien\" einlesen und auf Platte löschen", [this] {
        auto c = numberedContext();
        numbered::collectNumbered(c);
    })->setStatusTip("\"Aufräumen\"");
}

}  // namespace pictra::ui
