// The explorer's menus: search, the file commands of the window itself, the
// extras and the folder chronicle.
#include <algorithm>
#include <QCursor>
#include <filesystem>
#include <QKeySequence>
#include <QLabel>
#include <QDate>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <sys/stat.h>

#include "ExplorerWindow.h"
#include "RenameMoveDialog.h"
#include "explorer/pictures/ExplorerPictureBatch.h"
#include "common/Dialogs.h"
#include "common/MenuCommands.h"
#include "common/FileIo.h"
#include "common/UiText.h"
#include "explorer/FileLines.h"
#include "common/Codec.h"
#include "common/PathNames.h"
#include "explorer/TextPreview.h"
#include "explorer/TidyFiles.h"
#include "explorer/fileops/FileCommands.h"
#include "explorer/fileops/RenameCommands.h"
#include "platform/Desktop.h"
#include "platform/Drives.h"
#include "pictures/captions/Captions.h"
#include "pictures/CaptionDialog.h"
#include "platform/Tidy.h"
#include "settings/SettingsStore.h"

namespace pictra::ui {

namespace {

constexpr const char* kNote =
    "Pictra verfügt über einen eigenen Puffer für die Namen von Dateipfaden.\rSie können markierte Dateien in den "
    "Puffer nehmen (\"vormerken\") und anschließend diese Dateien in einen anderen Ordner kopieren (dann sind sie zwei "
    "mal vorhanden), oder verschieben.\r\rDen eigentlichen Vorgang müssen Sie jeweils noch bestätigen.\r\rMit Hilfe des "
    "zweiten Explorers (grünlich) - zwei mal Taste F11 - wird Ihre Arbeit stark vereinfacht.\r\r\rIn der Kopfzeile "
    "steht: Anzahl der Unterordner / Anzahl der Dateien";

constexpr const char* kUsage =
    "_Hinweis: Zweiter Klick = Doppelklick.\r\n\r\n"
    "Ordner: ein Klick zeigt die Dateien des Ordners, ein zweiter Klick seine Unterordner.\r\n"
    "Dateien: ein zweiter Klick (oder Doppelklick) öffnet die Datei: Textdateien im Editor, Bilder im Bildfenster, "
    "andere Dateien mit dem zugeordneten Programm.\r\n"
    "\"Chr\": die Chronik aller bisher angeklickten Ordner.\r\n"
    "F11: zweiter Explorer. Esc: Explorer schließen.";


bool hasZeroByte(const std::string& path) {
    const auto bytes = fileio::readFile(path);
    return !bytes || bytes->substr(0, 1024).find('\0') != std::string::npos;
}

}  // namespace

void ExplorerWindow::buildMenus(QMenuBar* bar) {
    QAction* close = bar->addAction("&Schließen");
    close->setObjectName("Schliessen1");
    connect(close, &QAction::triggered, this, &QWidget::close);
    QMenu* search = bar->addMenu("S&uchen");
    search->setObjectName("Suchen1");
    addMenuCommand(search, "EinfacheSuche1", "Einfache Suche", [this] { simpleSearch(); })->setToolTip("Treffer werden markiert");
    addMenuCommand(search, "SucheInDateien1", "Suche in Dateien", [this] {
        if (m_hooks.searchInFiles) m_hooks.searchInFiles(m_folder);
    })->setToolTip("Das Suchprogramm wird im aktuellen Verzeichnis gestartet");
    buildDeleteMenu(bar);
    QMenu* files = bar->addMenu("&Dateien");
    files->setObjectName("Dateien1");
    addMenuCommand(files, "AllesAuswaehlen1", "Alles auswählen", [this] { selectAll(); });
    buildMarkingItems(files);
    files->addSeparator();
    addMenuCommand(files, "AlleOeffnen1", "Alle ausgewählten Dateien öffnen", [this] { openAllSelected(); });
    addMenuCommand(files, "Eigenschaften1", "Eigenschaften ...", [this] { showProperties(); });
    addMenuCommand(files, "Hinweis1", "Hinweis", [this] { m_shared.dialogs.inform(kNote); });
    files->addSeparator();
    buildSelectionItems(files);
    QMenu* pictures = bar->addMenu("&Bilder");
    pictures->setObjectName("Bilder1");
    addMenuCommand(pictures, "BildZeigen1", "Bild zeigen", [this] {
        const auto paths = selectedPaths();
        if (paths.empty() || !m_hooks.showPicture) return;
        m_hooks.showPicture(paths.front(), allPaths());
    });
    addPictureBatchItems(pictures, *this, m_shared, m_hooks);
    addPictureRenameItems(pictures);
    buildExtrasMenu(bar);
}

// Each command renames through a plan whose record lies in the program folder, and
// the list shows the new names afterwards.
std::function<void()> ExplorerWindow::renaming(std::function<void(fileops::RenameContext&)> command) {
    return [this, command = std::move(command)] {
        fileops::RenameContext context{m_shared.dialogs, pathnames::folderOf(m_shared.binFolder)};
        command(context);
        showFiles(m_folder);
    };
}

// One file: the rename/move dialog; several: their names edited in one text.
void ExplorerWindow::renameSelected(fileops::RenameContext& context) {
    const auto paths = selectedOrAll();
    if (!paths) return;
    if (paths->size() != 1) {
        fileops::renameSeveral(*paths, context);
        return;
    }
    RenameMoveDialog dialog(paths->front(), m_shared.store, m_shared.dialogs, this);
    const auto request = dialog.ask();
    if (!request) {
        m_shared.dialogs.inform("Abbruch");
        return;
    }
    CopyContext copies = m_shared.copyContext();
    const QDate day = QDate::currentDate();
    fileops::renameOrMove(*request, copies, {day.year(), day.month(), day.day()});
}

void ExplorerWindow::buildSelectionItems(QMenu* files) {
    addMenuCommand(files, "Umlaute1", "Dateinamen mit ä ö ü ß Leerzeichen umbennen in ae oe ue ss _",
        renaming([this](auto& context) { fileops::renameUmlauts(allPaths(), context); }));
    addMenuCommand(files, "Numerierung1", "Numerierung von z.B. \"abc11\" auf \"abc011\" ändern",
        renaming([this](auto& context) { fileops::padNumbers(allPaths(), context); }));
    addMenuCommand(files, "Grossschreiben1", "Alle Dateien groß schreiben",
        renaming([this](auto& context) { fileops::changeCase(allPaths(), true, context); }));
    addMenuCommand(files, "Kleinschreiben1", "Alle Dateien klein schreiben",
        renaming([this](auto& context) { fileops::changeCase(allPaths(), false, context); }));
    addMenuCommand(files, "TildeEntfernen1", "\"~\" entfernen",
        renaming([this](auto& context) { fileops::removeTildes(allPaths(), context); }));
    addMenuCommand(files, "Durchnummerieren1", "Dateien fortlaufend durchnummerieren",
        renaming([this](auto& context) { fileops::numberConsecutively(allPaths(), context); }));
    addMenuCommand(files, "Umbenennen1", "Ausgewählte Dateien umbenennen", renaming([this](auto& context) {
        renameSelected(context);
    }))->setShortcut(QKeySequence("Ctrl+U"));
    addMenuCommand(files, "ExtensionAendern1", "Bei ausgewählten Dateien Extension ändern",
        renaming([this](auto& context) {
            if (const auto paths = selectedOrAll()) fileops::changeExtension(*paths, context);
        }));
    files->addSeparator();
    addMenuCommand(files, "DatumAendern1", "Datum der Datei ändern", [this] {
        // The values entered last are offered again for the rest of the run.
        static fileops::DateEntry last;
        fileops::changeFileDate(selectedPaths(), last, m_shared.dialogs);
        showFiles(m_folder);
    });
    addMenuCommand(files, "Schreibschutz1", "Schreibschutz aller Dateien entfernen", [this] {
        fileops::removeWriteProtection(allPaths(), m_shared.dialogs);
        showFiles(m_folder);
    });
    addMenuCommand(files, "DateipfadeAlsDatei1", "Ausgewählte Dateipfade als Datei", [this] {
        std::vector<std::string> lines;
        for (const QListWidgetItem* item : m_files->selectedItems()) lines.push_back(u(item->text()));
        fileops::showPathsAsText(m_folder, lines, selectedPaths(), m_shared.dialogs);
    });
    addMenuCommand(files, "Duplizieren1", "Ausgewählte Dateien duplizieren", [this] {
        CopyContext context = m_shared.copyContext();
        const auto copies = fileops::duplicateFiles(selectedPaths(), context);
        showFiles(m_folder);
        m_files->clearSelection();
        for (int row = 0; row < m_files->count(); ++row) {
            if (std::find(copies.begin(), copies.end(), pathOfRow(row)) != copies.end()) m_files->item(row)->setSelected(true);
        }
    });
    addMenuCommand(files, "DenselbenText1", "Alle ausgewählte Dateien mit demselben Text überschreiben", [this] {
        if (!m_hooks.currentDocumentText) return;
        fileops::overwriteWithText(selectedPaths(), m_hooks.currentDocumentText(), m_shared.dialogs, m_shared.tones);
        showFiles(m_folder);
    });
    addMenuCommand(files, "Splitten1", "Ausgewählte Datei splitten", [this] {
        const auto paths = selectedPaths();
        fileops::SplitVolume volume;
        if (paths.size() == 1) {
            const std::string root = platform::driveOf(paths.front());
            for (const auto& drive : platform::mountedDrives()) volume.removable |= drive.root == root && drive.typeWord == "Wechsel";
            const std::string folder = pathnames::folderOf(paths.front());
            volume.freeBytes = [folder] {
                std::error_code ec;
                return static_cast<std::uintmax_t>(std::filesystem::space(folder, ec).available);
            };
        }
        fileops::splitFile(paths, m_shared.dialogs, volume);
        showFiles(m_folder);
    });
    addMenuCommand(files, "Zusammenfuegen1", "Ausgewählte gesplittete Dateien zusammenfügen", [this] {
        fileops::joinFiles(selectedPaths(), m_shared.dialogs,
                           [this](const std::string& note) { writeAtTopLeft(QString::fromStdString(note)); });
        showFiles(m_folder);
    });
    addMenuCommand(files, "OrdnerA1", "Ausgewählte Dateien in Ordner \"a\" verschieben", [this] {
        // Move or copy is asked once per run.
        static std::optional<bool> moveMode;
        CopyContext context = m_shared.copyContext();
        const QDate day = QDate::currentDate();
        fileops::moveToFolderA(selectedPaths(), moveMode, context, m_shared.tones, {day.year(), day.month(), day.day()});
        showFiles(m_folder);
    });
}

void ExplorerWindow::buildExtrasMenu(QMenuBar* bar) {
    QMenu* extras = bar->addMenu("E&xtras");
    extras->setObjectName("Extras1");
    addMenuCommand(extras, "AnwendungMitParameter1", "Anwendung starten (mit Parameter)", [this] { startWithParameters(); });
    addMenuCommand(extras, "Textvorschau1", "Textvorschau (Erweitertes ASCII)", [this] { textPreview(); });
    addMenuCommand(extras, "InEinerDatei1", "Alle ausgewählten Dateien in einer Datei einlesen",
        [this] { readSelectedIntoOneDocument(); });
    addFolderExtras(extras);
    addMenuCommand(extras, "Windowsexplorer1", "Windowsexplorer im ausgewählten Ordner öffnen", [this] { openFileManagerHere(); });
    addMenuCommand(extras, "Dosfenster1", "Dosfenster öffnen", [this] { openTerminalHere(); });
    addMenuCommand(extras, "Konsolenausgabe1", "Ausgabe eines Konsolenprogramm lesen", [this] { readConsoleOutput(); });
    addPackerItems(extras);
    addMenuCommand(extras, "TidyPruefen1", "Ausgewählten HTML-Dateien mit Tidy prüfen", [this] { tidySelected(); });
    addSoundItems(extras);
    addMenuCommand(extras, "HeaderDateityp1", "Aus dem Header Dateityp ermitteln", renaming([this](auto& context) {
        const auto paths = selectedPaths();
        if (!paths.empty()) fileops::typeFromHeader(paths.front(), context);
    }));
    addMenuCommand(extras, "Speicherplatz1", "Wieviel Speicherplatz?", [this] { showDrivesReport(false); });
    addMenuCommand(extras, "SpeicherplatzDiskette1", "Wieviel Speicherplatz einschließlich Diskette?",
        [this] { showDrivesReport(true); });
    extras->addSeparator();
    addMenuCommand(extras, "HoeheAnpassen1", "Explorer in der Höhe automatisch anpassen", [this] {
        m_shared.dialogs.inform("Diese Einstellung wird über Menü \"Einstellungen\" (siehe rechts unten) vorgenommen)");
        if (m_hooks.openSettings) m_hooks.openSettings(8);
    });
    QAction* onTop = addMenuCommand(extras, "ImVordergrund1", "Explorer immer im Vordergrund", [] {});
    onTop->setCheckable(true);
    connect(onTop, &QAction::toggled, this, [this](bool on) {
        if (m_hooks.keepOnTop) m_hooks.keepOnTop(on);
    });
    addMenuCommand(extras, "NurDiesen1", "Nur diesen Explorer zeigen", [this] {
        if (m_hooks.showOnlyThis) m_hooks.showOnlyThis();
    });
    addMenuCommand(extras, "Explorer2ZeigenVerstecken1", "Explorer 2 zeigen/verstecken", [this] {
        if (m_hooks.toggleSecondExplorer) m_hooks.toggleSecondExplorer();
    });
}

void ExplorerWindow::buildFilePopup() {
    m_filePopup = new QMenu(this);
    m_filePopup->setObjectName("PopupMenu1");
    addMenuCommand(m_filePopup, "DateiEinlesen1", "Datei einlesen (falls Textdatei)", [this] {
        const auto paths = selectedPaths();
        if (!paths.empty() && pictures::captions::isCaptionFile(paths.front())) {
            if (m_hooks.openDocument) m_hooks.openDocument(paths.front());
            return;
        }
        if (!paths.empty() && pathnames::lowerExtension(paths.front()) == ".jpg") {
            // The caption belongs to the detailed picture menu; the simple one leaves it alone.
            if (m_shared.store.readValue("SectBild", "Expertenmenue").empty()) return;
            CaptionDialog dialog(this, m_shared.store, m_shared.dialogs, paths.front());
            dialog.exec();
            showPreview(paths.front());
            return;
        }
        openSelected(true);
    });
    addMenuCommand(m_filePopup, "AllesAuswaehlen2", "Alles auswählen", [this] { selectAll(); });
    addMenuCommand(m_filePopup, "AlleAusgewaehltenLoeschen2", "Alle ausgewählten Dateien löschen", [this] { deleteSelectedToBin(); });
    addMenuCommand(m_filePopup, "DateienVormerken2", "Dateien vormerken", [this] { markSelected(false); });
    addMenuCommand(m_filePopup, "VorgemerkteEinfuegen2", "vorgemerkte Dateien einfügen",
        [this] { pasteMarked(explorer::PasteNames::Mapped); });
    addMenuCommand(m_filePopup, "MitOrdnerKopieren2", "vorgemerkte Dateien mit Ordner kopieren", [this] { copyMarkedWithFolders(); });
    addMenuCommand(m_filePopup, "VorgemerkteLoeschen2", "vorgemerkte Dateien löschen", [this] { deleteMarkedToBin(); });
    addMenuCommand(m_filePopup, "AlleTextdateienOeffnen1", "Alle ausgewählten Textdateien öffnen", [this] { openAllSelected(); });
    addMenuCommand(m_filePopup, "Umbenennen2", "Ausgewählte Dateien umbenennen", renaming([this](auto& context) {
        renameSelected(context);
    }))->setShortcut(QKeySequence("Ctrl+U"));
    addMenuCommand(m_filePopup, "InAblage1", "Vorgemerkte Dateien in \"Ablage\" verschieben", [this] {
        const auto paths = selectedOrAll();
        if (!paths) return;
        CopyContext context = m_shared.copyContext();
        fileops::fileAway(*paths, context);
        showFiles(m_folder);
    });
    addMenuCommand(m_filePopup, "AnwendungStarten1", "Anwendung starten", [this] {
        for (const auto& path : selectedPaths()) platform::openWithAssociated(path);
    });
    connect(m_files, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_filePopup->popup(m_files->viewport()->mapToGlobal(at)); });
}

void ExplorerWindow::simpleSearch() {
    auto term = m_shared.dialogs.askText("Suchen", "Welche Dateien suchen Sie?", m_shared.simpleSearchTerm);
    if (!term) return;
    m_shared.simpleSearchTerm = *term;
    std::vector<std::string> lines;
    for (int row = 0; row < m_files->count(); ++row) lines.push_back(u(m_files->item(row)->text()));
    const auto hits = explorer::simpleSearch(lines, *term, m_shared.search.matchCase);
    // One caption for the whole new selection, not one per line.
    m_refilling = true;
    m_files->clearSelection();
    for (int row : hits) m_files->item(row)->setSelected(true);
    m_refilling = false;
    updateSelectionCaption();
    if (hits.empty()) m_shared.dialogs.inform("Suche ergebnislos");
}

QMenu* ExplorerWindow::buildChronicleMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName("PopupMenu3");
    addMenuCommand(menu, "ChronikLoeschen1", "Chronik löschen", [this] { m_shared.chronicle.clear(); });
    addMenuCommand(menu, "ChronikHinzufuegen1", "Ordner der Chronik hinzufügen", [this] { addCurrentFolderToChronicle(); });
    menu->addSeparator();
    const auto entries = m_shared.chronicle.menuEntries([](const std::string& f) {
        struct stat st {};
        return ::stat(f.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    });
    for (const auto& folder : entries) {
        QAction* action = menu->addAction(QString(q(folder)).replace("&", "&&"));
        connect(action, &QAction::triggered, this, [this, folder] {
            goToFolder(folder);
            showFiles(folder);
        });
    }
    return menu;
}

void ExplorerWindow::showChronicleMenu() {
    m_tree->setFocus();
    QMenu* menu = buildChronicleMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(mapToGlobal(QPoint(m_panel1->width(), m_left->sizes().value(0) + 50)));
}

void ExplorerWindow::addCurrentFolderToChronicle() {
    if (!m_folder.empty()) m_shared.chronicle.add(m_folder);
}

void ExplorerWindow::showNote() { m_shared.dialogs.showText("Hinweis", kUsage); }

void ExplorerWindow::writeAtTopLeft(const QString& text) {
    if (!m_cornerNote) {
        m_cornerNote = new QLabel(this);
        m_cornerNote->setObjectName("Eckhinweis");
        m_cornerNote->setAutoFillBackground(true);
        m_cornerNote->move(10, 10);
        auto* hide = new QTimer(m_cornerNote);
        hide->setObjectName("EckhinweisZeit");
        hide->setSingleShot(true);
        hide->setInterval(3000);
        connect(hide, &QTimer::timeout, m_cornerNote, &QLabel::hide);
    }
    m_cornerNote->setText(text);
    m_cornerNote->adjustSize();
    m_cornerNote->raise();
    m_cornerNote->show();
    m_cornerNote->repaint();
    m_cornerNote->findChild<QTimer*>("EckhinweisZeit")->start();
}

void ExplorerWindow::openAllSelected() {
    for (const auto& path : selectedPaths()) {
        if (!hasZeroByte(path) && m_hooks.openDocument) m_hooks.openDocument(path);
    }
}

void ExplorerWindow::showProperties() {
    const auto paths = selectedPaths();
    if (paths.empty()) return;
    const QFileInfo info(q(paths.front()));
    const std::string text = "Datei: " + paths.front() + "\r\nGröße: " +
                             explorer::formatSize(static_cast<std::uintmax_t>(info.size())) + " Bytes\r\nGeändert: " +
                             u(info.lastModified().toString("dd.MM.yyyy hh:mm:ss")) + "\r\nBesitzer: " + u(info.owner()) +
                             "\r\nSchreibgeschützt: " + (info.isWritable() ? "nein" : "ja");
    m_shared.dialogs.showText("Eigenschaften", text);
}

void ExplorerWindow::textPreview() {
    const auto paths = selectedPaths();
    if (paths.empty()) {
        m_shared.dialogs.inform("Datei auswählen");
        return;
    }
    textPreviewOf(paths.front());
}

void ExplorerWindow::textPreviewOf(const std::string& path) {
    const auto bytes = fileio::readFile(path);
    if (!bytes) {
        m_shared.dialogs.inform("Datei \"" + path + "\"kann nicht geladen werden.");
        return;
    }
    for (const auto& block : explorer::previewBlocks(*bytes)) {
        if (!m_shared.dialogs.confirmText(explorer::kPreviewCaption, block.upper, block.lower)) return;
    }
    if (m_shared.dialogs.ask("Ganzer Text als Datei einlesen.") == Answer::Yes && m_hooks.newDocumentWithText) {
        m_hooks.newDocumentWithText(explorer::printableText(*bytes));
    }
}

void ExplorerWindow::readSelectedIntoOneDocument() {
    std::string all;
    m_shared.dialogs.beginCancelWindow("Lesen");
    for (const auto& path : selectedPaths()) {
        if (m_shared.dialogs.stepCancelWindow("Lesen: " + path)) break;
        if (auto bytes = fileio::readFile(path)) all += *bytes + "\r\n";
    }
    m_shared.dialogs.endCancelWindow();
    if (m_hooks.newDocumentWithText) m_hooks.newDocumentWithText(all);
}

void ExplorerWindow::startWithParameters() {
    const auto paths = selectedPaths();
    if (paths.empty()) return;
    // The first marked file is what a program is most often started on.
    const std::string marked = m_shared.marked.files.empty() ? std::string() : m_shared.marked.files.front();
    auto parameters = m_shared.dialogs.askText("Parameter", "Parameter für das Programm eingeben.", marked);
    if (parameters && !platform::startInFolder(paths.front(), *parameters)) {
        m_shared.dialogs.inform("Programm zu öffnen unbekannt! (2)");
    }
}

void ExplorerWindow::readConsoleOutput() {
    const auto paths = selectedPaths();
    if (paths.empty()) return;
    auto parameters = m_shared.dialogs.askText("Parameter", "Parameter für das Programm eingeben.", "");
    if (!parameters) return;
    m_shared.dialogs.beginCancelWindow(paths.front());
    const auto output = platform::consoleOutput(paths.front(), *parameters,
                                                [this] { return !m_shared.dialogs.stepCancelWindow("Läuft ..."); });
    m_shared.dialogs.endCancelWindow();
    if (!output) {
        m_shared.dialogs.inform("Programm zu öffnen unbekannt! (2)");
        return;
    }
    m_shared.dialogs.showText("Konsolenausgabe", paths.front() + " " + *parameters + "\r\n\r\n" + *output);
}

void ExplorerWindow::openTerminalHere() {
    if (!platform::openTerminal(m_folder)) m_shared.dialogs.inform("Betriebssystem hat kein Dos mehr!");
}

void ExplorerWindow::openFileManagerHere() {
    if (!platform::openWithAssociated(m_folder)) m_shared.dialogs.inform("Fehlgeschlagen");
}

void ExplorerWindow::showDrivesReport(bool withFloppies) {
    // A volume's current folder: the one listed now when it lies there, else the last one visited there.
    const std::string listedOn = m_folder.empty() ? std::string() : platform::driveOf(m_folder);
    auto volumes = platform::volumeFigures();
    for (auto& volume : volumes) {
        if (volume.root.empty()) continue;
        volume.currentFolder =
            volume.root == listedOn ? m_folder : m_shared.store.readValue(section(), "Explorer" + volume.root);
    }
    m_shared.dialogs.showText("Laufwerke", explorer::drivesReport(platform::machineFigures(), volumes, withFloppies));
}

// Each selected page is corrected in its file; the list then shows the new sizes.
void ExplorerWindow::tidySelected() {
    const auto paths = selectedPaths();
    if (paths.empty()) {
        m_shared.dialogs.inform("Datei auswählen");
        return;
    }
    if (explorer::htmlPages(paths).empty()) {
        m_shared.dialogs.inform(explorer::kNoHtmlSelected);
        return;
    }
    const QDate day = QDate::currentDate();
    const auto check = [](const std::string& page) {
        const platform::TidyResult tidied = platform::tidyPageIndented(page);
        const bool utf8 = codec::isValidUtf8(tidied.errors);
        return explorer::TidyCheck{tidied.ok, tidied.output, utf8 ? tidied.errors : codec::cp1252ToUtf8(tidied.errors)};
    };
    const auto result = explorer::tidyFiles(paths, m_shared.binFolder, {day.year(), day.month(), day.day()}, check,
                                            m_shared.dialogs);
    showFiles(m_folder);
    m_shared.dialogs.showText(explorer::kTidyReportTitle, result.report);
}

}  // namespace pictra::ui
