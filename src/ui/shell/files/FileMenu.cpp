// The "Datei" menu of the main window: loading, saving and closing documents.
#include <QMenu>
#include <QMenuBar>

#include "shell/DocumentArea.h"
#include "shell/MainDocumentHost.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "common/UiText.h"
#include "explorer/Explorers.h"
#include "explorer/compare/CompareCommand.h"
#include "explorer/drivecopy/DriveCopyCommand.h"
#include "platform/Drives.h"
#include "shell/FileRules.h"

namespace pictra::ui {

void MainWindow::buildFileMenu() {
    QMenu* file = menuBar()->addMenu("&Datei");
    file->setObjectName("Datei1");
    addCommand(file, "Neu1", "Neu", [this] {
        m_files->setCurrentMacro(0);
        if (hasVisibleText(currentEditor())) newDocument();
    }, QKeySequence("Ctrl+N"));
    addCommand(file, "Oeffnen1", "Öffnen...", [this] { openWithExplorer(); });
    buildRecentMenu(file);
    addCommand(file, "OeffnenKlassisch1", "Öffnen (klassisch) ...", [this] { m_files->openClassic(); });
    file->addSeparator();
    addCommand(file, "Speichern1", "Speichern", [this] { m_files->save(); }, QKeySequence("Ctrl+S"));
    addCommand(file, "SpeichenAufStick1", "Speichen auf Stick ...", [this] {
        m_files->saveToStick(platform::defaultSecondDriveFolder(m_context.paths.folder));
    });
    addCommand(file, "SpeichernUnter1", "Speichern unter ...", [this] { m_files->saveAs(); });
    QMenu* inFolder = file->addMenu("Speichern unter ... im Ordner ...");
    inFolder->setObjectName("SpeichernUnterImOrdner1");
    connect(inFolder, &QMenu::aboutToShow, this, [this, inFolder] { fillSaveInFolderMenu(inFolder); });
    addCommand(file, "DateiVorSpeichern1", "Datei zeigen, wie sie vor dem Speichern aussah",
               [this] { m_files->showBeforeSave(); });
    addCommand(file, "KopieSpeichern1", "Kopie speichern", [this] { m_files->saveCopy(); });
    addCommand(file, "AlleDateienSpeichern1", "Alle Dateien speichern", [this] { m_files->saveAll(); });
    buildNumberedCommands(file);
    file->addSeparator();
    addCommand(file, "AlteDateiVorSichern1", "Alte Datei (Stand vor Sichern)", [this] { m_files->showOldBeforeSave(); });
    addCommand(file, "AlteDateiVorSitzung1", "Alte Datei (Stand vor Sitzung)",
               [this] { m_files->showOldBeforeSession(); });
    addCommand(file, "Dateivergleichen1", "Datei vergleichen", [this] { compareCurrentDocument(*this); })
        ->setStatusTip("Die aktuelle Datei mit einer Datei auf der Festplatte vergleichen (Was habe ich gerade alles "
                       "geändert?)");
    addCommand(file, "Laufwerkkopieren1", "Laufwerk gänzlich kopieren", [this] { openDriveCopy(*this); });
    buildRtfMenu(file);
    addCommand(file, "Umbenennen1", "Datei hier und auf Festplatte umbenennen in \"zz...\" oder ähnlich",
               [this] { m_files->renameWithPrefix(); }, QKeySequence("Ctrl+U"));
    addCommand(file, "DateiLoeschen1", "die aktuelle Datei auf der Festplatte löschen",
               [this] { m_files->deleteCurrentToBin(); });
    addCommand(file, "Vormerken1", "geladene Dateien für Dateienexplorer vormerken", [this] {
        explorers().marked().files = m_files->markLoadedFiles();
        showExplorerAtCurrentDocument();
    });
    addCommand(file, "UmschaltenNachPenwick1", "Umschalten nach Penwick", [this] { switchToPenwick(); },
               QKeySequence("Ctrl+Alt+A"));
    file->addSeparator();
    addCommand(file, "DirektDrucken1", "Quelltext direkt drucken (Entwurf- bzw. Korrespondenzqualität)",
               [this] { printDirect(); });
    addCommand(file, "SchoenDrucken1", "Quelltext drucken (Schönschrift)", [this] { printFair(); });
    addCommand(file, "DruckenUeberBrowser1", "Drucken über Browser", [this] { printThroughBrowser(); });
    file->addSeparator();
    addCommand(file, "Schliessen1", "Schließen", [this] { m_files->closeCurrent(); });
    addCommand(file, "SpeichernUndSchliessen1", "Speichern und schließen", [this] { m_files->saveAndClose(); },
               QKeySequence("Alt+Del"));
    addCommand(file, "AlleSchliessen1", "Alle schließen", [this] { closeAllDocuments(); });
    addCommand(file, "Beenden1", "Beenden", [this] { close(); }, QKeySequence("Alt+F4"));
}

// The folders of the open documents and the stick, each once.
void MainWindow::fillSaveInFolderMenu(QMenu* menu) {
    menu->clear();
    QStringList folders;
    const std::string stick = platform::defaultSecondDriveFolder(m_context.paths.folder);
    if (!stick.empty()) folders << q(stick);
    for (const std::string& name : m_documents->fileNames()) {
        if (name.find('?') != std::string::npos) continue;
        const QString folder = q(filerules::folderOf(name));
        if (!folder.isEmpty() && !folders.contains(folder)) folders << folder;
    }
    for (const QString& folder : folders) {
        QAction* action = menu->addAction(QString(folder).replace("&", "&&"));
        connect(action, &QAction::triggered, this, [this, folder] { m_files->saveAsIn(u(folder)); });
    }
}

}  // namespace pictra::ui
