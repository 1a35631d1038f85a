#include "ExplorerPictureBatch.h"

#include <QApplication>
#include <QDate>
#include <QEventLoop>
#include <QFile>
#include <QImageReader>
#include <QInputDialog>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <filesystem>

#include "common/MenuCommands.h"
#include "common/PathNames.h"
#include "explorer/BinBackup.h"
#include "explorer/ExplorerWindow.h"
#include "pictures/batch/GalleryUpload.h"
#include "pictures/batch/GalleryWizard.h"
#include "pictures/batch/PictureBatch.h"
#include "pictures/batch/Scanning.h"
#include "pictures/batch/SlideShow.h"
#include "platform/pictures/BatchPictureFiles.h"
#include "platform/pictures/ExifGpsTags.h"
#include "platform/pictures/ScanimageProcess.h"
#include "settings/SettingsStore.h"

namespace pictra::ui {

namespace {

namespace batch = pictures::batch;

QSize screenSize() {
    const QScreen* screen = QApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

// The height of the picture the picture windows hold, from its file's header.
int heldPictureHeight(ExplorerShared& shared) {
    const std::string path = shared.store.readValue("SectBild", "SchlBild");
    if (path.empty())
        return 0;
    QImageReader reader(QFile::decodeName(QByteArray::fromStdString(path)));
    return reader.size().isValid() ? reader.size().height() : 0;
}

void runBatch(
    ExplorerWindow& explorer, ExplorerShared& shared,
    const std::function<batch::Outcome(const std::vector<std::string>&, batch::Request, batch::Context&)>& command) {
    platform::pictures::BatchPictureFiles files;
    CopyContext copies = shared.copyContext();
    batch::Context context{
        files, shared.dialogs, [&copies](const std::string& target) {
            const QDate d = QDate::currentDate();
            const auto kept = binbackup::keepInBin(target, {d.year(), d.month(), d.day()}, copies, true);
            if (kept.kept)
                return std::string();
            return kept.message.empty() ? "\"" + target + "\" wurde nicht ersetzt." : kept.message;
        }};
    batch::Request request;
    const QSize screen = screenSize();
    request.workWidth = screen.width();
    request.workHeight = screen.height();
    const batch::Outcome outcome = command(explorer.selectedPaths(), request, context);
    if (outcome == batch::Outcome::NothingSelected) {
        explorer.selectAll();
        return;
    }
    if (outcome == batch::Outcome::Done)
        explorer.showFiles(explorer.currentFolder());
}

// "Scannen " and "Scannen automatisch": the scan into the program folder, then into the picture window.
void scanPicture(ExplorerWindow& explorer, ExplorerShared& shared, const ExplorerHooks& hooks, bool automatic) {
    if (QStandardPaths::findExecutable("scanimage").isEmpty()) {
        shared.dialogs.inform("Das Programm \"scanimage\" (Paket sane-utils) ist nicht installiert.");
        return;
    }
    const auto devices = batch::scannerDevices(platform::pictures::ScanimageProcess::listDevices());
    if (devices.empty()) {
        shared.dialogs.inform("Kein Scanner gefunden.");
        return;
    }
    std::string device = devices.front().name;
    if (!automatic && devices.size() > 1) {
        QStringList names;
        for (const auto& d : devices) names << QString::fromStdString(d.name + "  (" + d.description + ")");
        bool ok = false;
        const QString chosen = QInputDialog::getItem(&explorer, "Scannen", "Scanner:", names, 0, false, &ok);
        if (!ok)
            return;
        device = devices[static_cast<std::size_t>(names.indexOf(chosen))].name;
    }
    const std::string target = pathnames::folderOf(shared.binFolder) + "/pictra_scan.png";
    std::error_code ec;
    std::filesystem::remove(target, ec);
    const std::string last = shared.store.readValue("SectBild", "SchlBild");
    platform::pictures::ScanimageProcess process;
    const auto outcome = batch::runScan(process, batch::scanArguments(device, target), automatic, shared.dialogs,
                                        [&target] { return std::filesystem::exists(target); });
    if (outcome != batch::ScanOutcome::Scanned)
        return;
    if (hooks.showPicture)
        hooks.showPicture(target, {target});
    if (automatic && !last.empty())
        shared.store.writeValue("SectBild", "SchlBild", batch::nextPictureName(last));
}

// The show runs in the picture window; the cancel window stops it.
class WindowSlideShow : public batch::SlideShowPort {
public:
    WindowSlideShow(const ExplorerHooks& hooks, Dialogs& dialogs, std::vector<std::string> siblings)
        : m_hooks(hooks), m_dialogs(dialogs), m_siblings(std::move(siblings)) {}
    void show(const std::string& path) override {
        m_current = path;
        if (m_hooks.showPicture)
            m_hooks.showPicture(path, m_siblings);
    }
    bool pause(long long milliseconds) override {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(std::min<long long>(milliseconds, 3600000)), &loop, &QEventLoop::quit);
        loop.exec();
        return !m_dialogs.stepCancelWindow(m_current);
    }

private:
    const ExplorerHooks& m_hooks;
    Dialogs& m_dialogs;
    std::vector<std::string> m_siblings;
    std::string m_current;
};

void runSlideShow(ExplorerWindow& explorer, ExplorerShared& shared, const ExplorerHooks& hooks, bool repeat) {
    long long pause = 500;
    if (!shared.dialogs.askNumber("Wie lange soll die Pause jeweils zwischen den einzelnen Bildern sein?",
                                  "Angabe in Millisekunden", pause)) {
        return;
    }
    QListWidget* list = explorer.fileList();
    const int row = list->currentRow() >= 0 ? list->currentRow() : 0;
    const auto paths = explorer.allPaths();
    WindowSlideShow port(hooks, shared.dialogs, paths);
    shared.dialogs.beginCancelWindow("Schnelldurchlauf");
    batch::slideShow(paths, static_cast<std::size_t>(row), repeat, pause, port);
    shared.dialogs.endCancelWindow();
    list->clearSelection();
    if (list->count() > 0)
        list->setCurrentRow(0);
}

}  // namespace

void addPictureBatchItems(QMenu* pictures, ExplorerWindow& explorer, ExplorerShared& shared,
                          const ExplorerHooks& hooks) {
    addPictureViewItems(pictures, explorer, shared, hooks);
    addMenuCommand(
        pictures, "HalbeGroesse2", "Ausgewählte Bilder zum Beispiel in halber Größe abspeichern", [&explorer, &shared] {
            const int proposal = batch::proposedPercent(screenSize().height(), heldPictureHeight(shared));
            runBatch(explorer, shared, [proposal](const auto& selected, batch::Request request, auto& context) {
                return batch::resizeCommand(selected, false, proposal, request, context);
            });
        });
    addMenuCommand(pictures, "GleicheHoehe1", "Bilder in gleicher Höhe abspeichern", [&explorer, &shared] {
        runBatch(explorer, shared, [](const auto& selected, batch::Request request, auto& context) {
            return batch::resizeCommand(selected, true, 0, request, context);
        });
    });
    addMenuCommand(pictures, "Komprimieren1", "Ausgewählte Bild-Dateien komprimiert speichern", [&explorer, &shared] {
        runBatch(explorer, shared, [](const auto& selected, batch::Request request, auto& context) {
            return batch::compressCommand(selected, request, context);
        });
    });
    addMenuCommand(pictures, "Graustufen1", "Ausgewählte Bilder in Graustufen abspeichern", [&explorer, &shared] {
        runBatch(explorer, shared, [](const auto& selected, batch::Request request, auto& context) {
            return batch::greyCommand(selected, request, context);
        });
    });
    addMenuCommand(
        pictures, "Bildergalerie1", "Assistent zum Programm \"Bildergalerie erzeugen\"", [&explorer, &shared, &hooks] {
            // Created on first use and kept with its fields for the run.
            auto* wizard = explorer.findChild<GalleryWizard*>("Form11Bildergalerien");
            if (!wizard) {
                GalleryWizardHooks wizardHooks;
                wizardHooks.showFolder = [&explorer](const std::string& folder) { explorer.start(folder); };
                wizardHooks.previewHtml = hooks.previewHtml;
                wizard = new GalleryWizard(shared.store, shared.dialogs, pathnames::folderOf(shared.binFolder),
                                           std::move(wizardHooks), &explorer);
            }
            wizard->openAt(explorer.currentFolder());
        });
    addMenuCommand(pictures, "LinksEntfernen1", "Entferne in Bildergalerien die Links auf Vergrößerungen", [&hooks] {
        if (hooks.rewriteCurrentDocument) {
            hooks.rewriteCurrentDocument(false,
                                         [](const std::string& text) { return batch::removeEnlargementLinks(text); });
        }
    });
    const auto upload = [&explorer, &shared, &hooks](batch::UploadNames kind) {
        if (!hooks.rewriteCurrentDocument || !hooks.currentDocumentName)
            return;
        std::vector<std::string> names;
        for (const auto& path : explorer.allPaths()) names.push_back(pathnames::fileNamePart(path));
        // A class gallery must not publish where the photos were taken.
        platform::pictures::ExifGpsTags gps;
        hooks.rewriteCurrentDocument(true, [&](const std::string& text) {
            return batch::prepareUpload(kind, hooks.currentDocumentName(), text, explorer.currentFolder(), names,
                                        shared.dialogs, pathnames::folderOf(shared.binFolder), &gps);
        });
        explorer.showFiles(explorer.currentFolder());
    };
    addMenuCommand(pictures, "Hochladen1",
                   "Bildergalerie zum Hochladen vorbereiten (Umlaute und Leerzeichen umschreiben)",
                   [upload] { upload(batch::UploadNames::Umlauts); });
    addMenuCommand(pictures, "Hochladen2", "Bildergalerie zum Hochladen vorbereiten (Neu Durchnummerieren)",
                   [upload] { upload(batch::UploadNames::Numbers); });
    addMenuCommand(pictures, "Scannen1", "Scannen ",
                   [&explorer, &shared, &hooks] { scanPicture(explorer, shared, hooks, false); });
    addMenuCommand(pictures, "ScannenAutomatisch1", "Scannen automatisch",
                   [&explorer, &shared, &hooks] { scanPicture(explorer, shared, hooks, true); });
    addMenuCommand(pictures, "Schnelldurchlauf1", "Schnelldurchlauf ab ausgewähltem Bild",
                   [&explorer, &shared, &hooks] { runSlideShow(explorer, shared, hooks, false); });
    addMenuCommand(pictures, "Schnelldurchlauf2", "Schnelldurchlauf ab ausgewähltem Bild mit Wiederholung",
                   [&explorer, &shared, &hooks] { runSlideShow(explorer, shared, hooks, true); });
    addMenuCommand(pictures, "UeberblickBilder1", "Überblick über Bilder des Ordners ",
                   [&explorer, &shared, &hooks] { showContactSheet(explorer, shared, hooks); });
}

}  // namespace pictra::ui
