#include <gtest/gtest.h>

#include <QListWidget>
#include <QMenu>
#include <filesystem>
#include <fstream>

#include "ChildProcess.h"
#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/Explorers.h"
#include "platform/Drives.h"
#include "shell/MainWindow.h"

using namespace pictra;
using ui::ExplorerWindow;
namespace fs = std::filesystem;

namespace {

// One explorer window with hooks that record what it asked for.
struct ExplorerTest : ::testing::Test {
    test::UiFixture f;
    explorer::FolderChronicle chronicle;
    CopySession copies;
    ui::ExplorerShared shared{f.store, f.dialogs, f.tones, chronicle, {}, {}, copies, f.paths.binFolder()};
    std::vector<std::string> documents;
    std::vector<std::string> pictures;
    std::vector<std::string> siblings;
    std::unique_ptr<ExplorerWindow> explorer;
    std::string folder;

    void SetUp() override {
        folder = f.dir.path() + "daten";
        fs::create_directories(folder + "/Unterordner/tief");
        write("brief.txt", "Hallo");
        write("index.html", "<html></html>");
        ui::ExplorerHooks hooks;
        hooks.openDocument = [this](const std::string& p) {
            documents.push_back(p);
            return true;
        };
        hooks.showPicture = [this](const std::string& p, const std::vector<std::string>& s) {
            pictures.push_back(p);
            siblings = s;
        };
        explorer = std::make_unique<ExplorerWindow>(shared, '1', hooks);
    }
    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
    }
    QListWidget* files() { return explorer->fileList(); }
    int rowOf(const std::string& name) {
        for (int row = 0; row < files()->count(); ++row) {
            if (explorer->pathOfRow(row) == folder + "/" + name) return row;
        }
        return -1;
    }
    void clickFile(const std::string& name) {
        const int row = rowOf(name);
        ASSERT_GE(row, 0) << name;
        files()->setCurrentRow(row);
        emit files()->itemClicked(files()->item(row));
    }
    void clickFolder(const std::string& path) {
        QListWidget* tree = explorer->folderTree();
        for (int row = 0; row < tree->count(); ++row) {
            if (tree->item(row)->data(Qt::UserRole).toByteArray().toStdString() == path) {
                emit tree->itemClicked(tree->item(row));
                return;
            }
        }
        ADD_FAILURE() << "no folder entry " << path;
    }
    bool treeLists(const std::string& path) {
        QListWidget* tree = explorer->folderTree();
        for (int row = 0; row < tree->count(); ++row) {
            if (tree->item(row)->data(Qt::UserRole).toByteArray().toStdString() == path) return true;
        }
        return false;
    }
};

}  // namespace

TEST_F(ExplorerTest, StartListsTheFolderWithItsCaptionAndStoresNothingYet) {
    explorer->start(folder + "/brief.txt");
    EXPECT_EQ(explorer->currentFolder(), folder);
    EXPECT_EQ(explorer->windowTitle().toStdString(), "1 Ordner / 2 Dateien  " + folder);
    ASSERT_EQ(files()->count(), 2);
    EXPECT_TRUE(files()->item(0)->text().startsWith(" index.html|"));  // the web page first
    EXPECT_TRUE(treeLists(folder + "/Unterordner"));
}

TEST_F(ExplorerTest, SecondClickOpensByTypeAndAFileWithoutExtensionIsNamedByItsBytes) {
    explorer->start(folder);
    clickFile("brief.txt");
    EXPECT_TRUE(documents.empty());
    clickFile("brief.txt");
    EXPECT_EQ(documents, std::vector<std::string>{folder + "/brief.txt"});

    write("bild", std::string("\xFF\xD8\xFF\xE0", 4) + "JFIF");
    write("andere.png", "x");
    explorer->showFiles(folder);
    f.dialogs.expectInform("Die Datei \"" + folder + "/bild\" ist eine \".jpg\"- Datei.\rSie wurde entsprechend umbenannt.");
    clickFile("bild");
    clickFile("bild");
    EXPECT_TRUE(fs::exists(folder + "/bild.jpg"));
    EXPECT_EQ(pictures, std::vector<std::string>{folder + "/bild.jpg"});
    EXPECT_EQ(siblings, (std::vector<std::string>{folder + "/andere.png", folder + "/bild.jpg"}));
}

TEST_F(ExplorerTest, SecondClickOnAFolderListsItsSubfoldersAndTheChronicleRemembersIt) {
    explorer->start(folder);
    const std::string sub = folder + "/Unterordner";
    clickFolder(sub);
    EXPECT_EQ(explorer->currentFolder(), sub);
    EXPECT_FALSE(treeLists(sub + "/tief"));
    clickFolder(sub);
    EXPECT_TRUE(treeLists(sub + "/tief"));
    EXPECT_EQ(f.store.readValue("Explorer1", "Explorer" + platform::driveOf(sub)), sub);
    QMenu* menu = explorer->buildChronicleMenu();
    bool listed = false;
    for (QAction* a : menu->actions()) listed = listed || a->text().toStdString() == sub;
    EXPECT_TRUE(listed);
    delete menu;
}

TEST_F(ExplorerTest, AFolderThatVanishedKeepsTheOldViewWithAMessage) {
    explorer->start(folder);
    const std::string sub = folder + "/Unterordner";
    fs::remove_all(sub);
    f.dialogs.expectInform("Auf den Ordner kann zur Zeit nicht zugegriffen werden!");
    clickFolder(sub);
    EXPECT_EQ(explorer->currentFolder(), folder);
    EXPECT_EQ(files()->count(), 2);
}

TEST_F(ExplorerTest, AHugeFolderCanBeCancelledWhileItIsRead) {
    const std::string big = f.dir.path() + "gross";
    fs::create_directories(big);
    for (int i = 0; i < 12000; ++i) std::ofstream(big + "/f" + std::to_string(i));
    f.dialogs.clickCancelAtStep(1);
    explorer->start(big);
    EXPECT_GT(f.dialogs.cancelSteps(), 0);
    EXPECT_FALSE(f.dialogs.cancelWindowVisible());
    EXPECT_TRUE(explorer->windowTitle().endsWith("(abgebrochen)"));
    EXPECT_LT(files()->count(), 12000);
}

TEST_F(ExplorerTest, SimpleSearchMarksTheHits) {
    explorer->start(folder);
    f.dialogs.expectAskText("Welche Dateien suchen Sie?", "BRIEF");
    explorer->simpleSearch();
    ASSERT_EQ(explorer->selectedPaths(), std::vector<std::string>{folder + "/brief.txt"});
    f.dialogs.expectAskText("Welche Dateien suchen Sie?", "gibtsnicht").expectInform("Suche ergebnislos");
    explorer->simpleSearch();
}

TEST_F(ExplorerTest, TheDriveListShowsMountedVolumes) {
    const std::string mount = f.dir.path() + "ramdisk";
    fs::create_directories(mount);
    test::SmallVolume volume(mount, 1 << 20);
    if (!volume.mounted()) GTEST_SKIP() << "Kein tmpfs einhängbar (keine Rechte zum Einhängen): Test übersprungen.";
    explorer->fillDriveList();
    QListWidget* drives = explorer->driveList();
    EXPECT_EQ(drives->item(0)->text(), "Ordner_suchen");
    EXPECT_EQ(drives->item(1)->text(), "Eigene Dateien");
    bool found = false;
    for (int row = 2; row < drives->count(); ++row) found = found || drives->item(row)->text() == QString::fromStdString(mount + " RamDisk");
    EXPECT_TRUE(found);
}

namespace {

struct StartRequestTest : test::MainWindowTestBase {};

}  // namespace

TEST_F(StartRequestTest, AFileNamedOnTheCommandLineOpensThroughTheExplorerAtTheFirstTick) {
    const std::string path = f.dir.file("brief.txt");
    std::ofstream(path, std::ios::binary) << "Lieber Herr M\xFCller\r\n";
    window->setStartRequest(path);
    window->setStartRequestHandler([this](const std::string& p) { window->explorers().openStartRequest(p); });
    window->timerTick();
    EXPECT_EQ(window->currentFileName(), path);
    EXPECT_EQ(editor()->toPlainText(), QString::fromUtf8("Lieber Herr Müller"));
    EXPECT_EQ(window->explorers().first().currentFolder(), f.dir.path().substr(0, f.dir.path().size() - 1));
    EXPECT_TRUE(window->startRequest().empty());
}

TEST_F(StartRequestTest, F11ShowsTheSecondExplorerBesideTheFirst) {
    ui::Explorers& explorers = window->explorers();
    explorers.first().start(f.dir.path());
    explorers.toggleSecond();
    EXPECT_TRUE(explorers.second().isVisible());
    EXPECT_EQ(explorers.second().x(), explorers.first().width() + 24);
    explorers.toggleSecond();
    EXPECT_FALSE(explorers.second().isVisible());
}

TEST_F(StartRequestTest, FilesMarkedInOneExplorerArePastedInTheOther) {
    fs::create_directories(f.dir.file("eins"));
    fs::create_directories(f.dir.file("zwei"));
    std::ofstream(f.dir.file("eins/brief.txt")) << "Brief";
    std::ofstream(f.dir.file("eins/bild.png")) << "png";
    ui::Explorers& explorers = window->explorers();
    explorers.first().start(f.dir.file("eins"));
    explorers.second().start(f.dir.file("zwei"));
    QListWidget* list = explorers.first().fileList();
    for (int row = 0; row < list->count(); ++row) {
        list->item(row)->setSelected(explorers.first().pathOfRow(row).ends_with("brief.txt"));
    }
    explorers.first().markSelected(false);
    f.dialogs.expectConfirmText("Dateien kopieren.", true);
    explorers.second().pasteMarked(explorer::PasteNames::Mapped);
    EXPECT_TRUE(fs::exists(f.dir.file("zwei/brief.txt")));
    EXPECT_FALSE(fs::exists(f.dir.file("zwei/bild.png")));
    EXPECT_EQ(explorers.second().fileList()->count(), 1);

    // Deleted into the bin from the second explorer, and found in the bin window's list.
    explorers.second().fileList()->item(0)->setSelected(true);
    f.dialogs.expectConfirmText("Dateien in den Papierkorb verschieben", true);
    explorers.second().deleteSelectedToBin();
    EXPECT_FALSE(fs::exists(f.dir.file("zwei/brief.txt")));
    EXPECT_EQ(explorers.second().fileList()->count(), 0);
    EXPECT_EQ(bin::binEntries(f.paths.binFolder()).size(), 1u);
}
