// The commands of the search window's result list.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QVBoxLayout>
#include <ctime>

#include "ResultModel.h"
#include "SearchWindow.h"
#include "common/Dialogs.h"
#include "common/FileIo.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "explorer/BinBackup.h"
#include "explorer/MarkedFiles.h"
#include "explorer/OpenDispatch.h"
#include "explorer/fileops/RenameCommands.h"
#include "explorer/search/ResultCommands.h"
#include "explorer/search/SearchRun.h"
#include "explorer/walk/FolderWalk.h"
#include "films/FilmWindow.h"
#include "pictures/PictureNames.h"
#include "platform/Desktop.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

namespace pictra::ui {

namespace {

bin::Date today() {
    const QDate d = QDate::currentDate();
    return {d.year(), d.month(), d.day()};
}

}  // namespace

void SearchWindow::openResultWithHandler(const std::string& path) { platform::openWithAssociated(path); }

void SearchWindow::openResult(int row, bool alsoStart) {
    if (row < 0 || row >= m_model->rowCount()) return;
    const std::string path = filesearch::pathOfResultLine(m_model->line(row));
    if (pictures::isPictureFile(pathnames::fileNamePart(path))) {
        const std::string ext = pathnames::lowerExtension(path);
        std::vector<std::string> siblings;
        for (const auto& other : allPaths())
            if (pathnames::lowerExtension(other) == ext) siblings.push_back(other);
        if (m_hooks.showPicture) m_hooks.showPicture(path, siblings);
        return;
    }
    if (explorer::isFilmFile(path) || explorer::isFlashFile(path)) {
        playFilm(*this, m_shared.dialogs, path);
        return;
    }
    if (explorer::isBinaryExtension(path)) {
        const std::string ext = pathnames::lowerExtension(path);
        if (ext != m_shared.session.confirmedExtension) {
            if (m_shared.dialogs.ask("Anwendung \"" + path + "\" starten?\r" + "(Rückfrage einmal pro Sitzung)") !=
                Answer::Yes)
                return;
            m_shared.session.confirmedExtension = ext;
        }
        platform::openWithAssociated(path);
        return;
    }
    if (m_hooks.openDocument) m_hooks.openDocument(path);
    if (alsoStart) platform::openWithAssociated(path);
}

void SearchWindow::openAllSelected() {
    for (const auto& path : selectedPaths())
        if (m_hooks.openDocument) m_hooks.openDocument(path);
}

void SearchWindow::markSelected() {
    explorer::markFiles(m_shared.marked, selectedPaths(), allPaths(), false, m_shared.dialogs);
}

void SearchWindow::moveSelectedToBin() {
    std::vector<std::string> paths = selectedPaths();
    if (paths.empty()) {
        if (m_shared.dialogs.ask("Alle?") != Answer::Yes) return;
        paths = allPaths();
    }
    CopyContext context = m_hooks.copyContext();
    if (!explorer::moveToBin(paths, context, today())) return;
    startSearch();
}

// Deleting for good asks first, as everywhere else in the program.
void SearchWindow::deleteSelectedForGood() {
    const auto paths = selectedPaths();
    if (paths.empty()) return;
    explorer::deleteForGood(paths, m_shared.dialogs);
    startSearch();
}

void SearchWindow::renameOne() {
    const auto rows = selectedRows();
    if (rows.empty()) {
        m_shared.dialogs.inform("Bitte Datei auswählen!");
        return;
    }
    filesearch::renameOne(filesearch::pathOfResultLine(m_model->line(rows.front())), m_shared.dialogs);
}

void SearchWindow::renameNumbered() {
    const auto rows = selectedRows();
    filesearch::renameNumbered(selectedPaths(), rows, m_shared.dialogs, pathnames::folderOf(m_shared.binFolder));
}

void SearchWindow::renameSelectedWithHelper() {
    const auto paths = selectedPaths();
    if (paths.empty()) return;
    fileops::RenameContext context{m_shared.dialogs, pathnames::folderOf(m_shared.binFolder)};
    fileops::renameSeveral(paths, context);
}

bool SearchWindow::chooseCopyMode() {
    QDialog dialog(this);
    dialog.setObjectName("FormKopierwahl");
    dialog.setWindowTitle("Welche Dateien sollen kopiert werden");
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel("Schon einmal kopierte Dateien kopieren?", &dialog));
    auto* all = new QRadioButton("alle", &dialog);
    all->setObjectName("RBAlle");
    auto* missing = new QRadioButton("nur die noch nicht existieren", &dialog);
    missing->setObjectName("RBNurNeue");
    (m_shared.session.copyAll ? all : missing)->setChecked(true);
    layout->addWidget(all);
    layout->addWidget(missing);
    auto* texts = new QCheckBox("Textdateien auf jeden Fall kopieren", &dialog);
    texts->setObjectName("CBTextdateien");
    texts->setChecked(m_shared.session.copyWebTextsAlways);
    layout->addWidget(texts);
    layout->addWidget(new QLabel("(.html .htm .php .css .pas .dfm, ohne zzz_)", &dialog));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return false;
    m_shared.session.copyAll = all->isChecked();
    m_shared.session.copyWebTextsAlways = texts->isChecked();
    m_shared.session.copyChoiceShown = true;
    return true;
}

void SearchWindow::copyWithFolders() {
    if (m_model->rowCount() == 0) {
        m_shared.dialogs.inform("Zuerst \"Start Suche klicken\" (Alle Dateien: Felder Suchkriterien leer.)");
        return;
    }
    if (selectedRows().empty()) selectAll();
    auto& target = m_shared.session.copyTarget;
    bool again = false;
    if (!target.empty()) again = m_shared.dialogs.ask("Wieder in \"" + target + "\" kopieren?") == Answer::Yes;
    if (!again) {
        auto chosen = m_shared.dialogs.chooseFolder("Laufwerk und Ordner auswählen.\rDann:\"OK\" anklicken.", target);
        if (!chosen) return;
        target = *chosen;
    }
    if (target.empty() || target.back() != '/') target += '/';
    if (!chooseCopyMode()) return;
    CopyContext context = m_hooks.copyContext();
    const int copied = filesearch::copyWithFolders(selectedPaths(), target, m_shared.session, context,
                                               [](const std::string& path) { return fileio::mountPointOf(path); });
    m_shared.dialogs.inform("Insgesamt " + std::to_string(copied) + " Dateien kopiert.");
}

void SearchWindow::sortOutDuplicates() {
    auto duplicates = filesearch::findDuplicates(m_model->lines(), m_shared.dialogs);
    m_model->setLines(std::move(duplicates.lines));
    selectRows(duplicates.selected);
}

void SearchWindow::findWrongLinks() {
    if (m_shared.dialogs.ask("In den Dateien wird nach <a href=\"x\\y.html\"> gesucht.\r(Richtig wäre "
                             "<a href=\"x/y.html\">") != Answer::Yes)
        return;
    m_model->clear();
    std::vector<std::string> lines;
    std::atomic<bool> stop{false};
    m_shared.dialogs.beginCancelWindow("Falsche Links");
    walk::WalkOptions options;
    options.recursive = m_recursive->isChecked();
    walk::WalkSink sink;
    sink.unreadable = [&](const std::string& path) { lines.push_back(path + " | konnte nicht durchsucht werden"); };
    sink.file = [&](const walk::WalkFile& file) {
        if (m_shared.dialogs.stepCancelWindow(file.path)) {
            stop = true;
            return;
        }
        if (!file.regular) return;
        if (auto bytes = fileio::readFile(file.path)) {
            for (auto& line : filesearch::wrongLinks(file.path, *bytes)) lines.push_back(std::move(line));
        }
    };
    walk::walkSorted(folder(), options, sink, stop);
    m_shared.dialogs.endCancelWindow();
    m_model->setLines(std::move(lines));
}

void SearchWindow::extensionsFromHeader() {
    if (filesearch::extensionsFromHeader(allPaths(), m_shared.dialogs, [this] { m_shared.tones.tone(220); })) startSearch();
}

void SearchWindow::copyPathsToClipboard() {
    QApplication::clipboard()->setText(ResultModel::displayText(text::joinLines(selectedPaths())));
}

void SearchWindow::openFolderOfSelected() {
    const auto paths = selectedPaths();
    if (!paths.empty() && m_hooks.showFolder) m_hooks.showFolder(pathnames::folderOf(paths.front()));
}

void SearchWindow::listAsText() {
    std::string textCp1252;
    for (const auto& line : m_model->lines()) textCp1252 += toCp1252(ResultModel::displayText(line)) + "\r\n";
    if (m_hooks.newDocumentWithText) m_hooks.newDocumentWithText(textCp1252);
}

void SearchWindow::askReplacement() { filesearch::askReplacement(u(m_texts[0]->text()), m_shared.session, m_shared.dialogs); }

void SearchWindow::askCaseFlag() {
    m_shared.session.matchCase =
        m_shared.dialogs.ask("Soll bei der Textsuche zwischen Groß- und Kleinschreibung unterschieden werden?") ==
        Answer::Yes;
    m_caseAction->setChecked(m_shared.session.matchCase);
}

// Replacing asks about each file, so this search runs on the window's thread in
// the order of the tree.
void SearchWindow::searchWithReplacement(const filesearch::Criteria& criteria) {
    filesearch::Criteria rest = criteria;
    rest.texts[0].clear();
    const std::string t1 = criteria.texts[0];
    filesearch::ContentMatcher matcher(rest);
    filesearch::ContentMatcher::Scanner scanner(matcher);
    const std::time_t now = std::time(nullptr);
    std::atomic<bool> stop{false};
    std::vector<std::string> lines;
    std::uintmax_t bytes = 0;
    auto keepBackup = [this](const std::string& path) {
        CopyContext context = m_hooks.copyContext();
        const auto kept = binbackup::keepInBin(path, today(), context);
        if (!kept.kept && !kept.message.empty()) m_shared.dialogs.inform(kept.message);
        return kept.kept;
    };
    walk::WalkOptions options;
    options.recursive = m_recursive->isChecked();
    walk::WalkSink sink;
    sink.unreadable = [&](const std::string& path) { lines.push_back(path + " | konnte nicht durchsucht werden"); };
    sink.file = [&](const walk::WalkFile& file) {
        if (m_shared.dialogs.stepCancelWindow(file.path)) {
            stop = true;
            return;
        }
        if (!file.regular || !filesearch::withinLimits(criteria, file.size, file.modified, now)) return;
        const auto restOk = filesearch::testFile(rest, matcher, scanner, file.path, true);
        if (!restOk) {
            lines.push_back(filesearch::resultLine({file.path, 0, 0, true}));
            return;
        }
        if (!*restOk) return;
        m_shows->setText(ResultModel::displayText(file.path));
        const auto outcome = filesearch::replaceInFile(file.path, t1, m_shared.session.replacement, criteria.matchCase,
                                                   m_shared.dialogs, keepBackup);
        if (outcome != filesearch::ReplaceOutcome::Replaced) return;
        lines.push_back(file.path);
        lines.push_back(filesearch::resultLine({file.path, file.size, file.modified, false}));
        bytes += file.size;
    };
    walk::walkSorted(folder(), options, sink, stop);
    addLines(std::move(lines), bytes);
}

}  // namespace pictra::ui
