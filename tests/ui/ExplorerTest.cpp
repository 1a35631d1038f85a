#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <filesystem>
#include <fstream>

#include "ChildProcess.h"
#include "ExplorerParts.h"
#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/BinWindow.h"
#include "explorer/Explorers.h"
#include "common/MenuCommands.h"
#include "explorer/RecycleBin.h"
#include "shell/TextWindow.h"
#include "platform/Drives.h"
#include "shell/MainWindow.h"

using namespace pictra;
using ui::ExplorerWindow;
namespace fs = std::filesystem;

namespace {

// One explorer window with hooks that record what it asked for.
struct ExplorerTest : ::testing::Test {
    test::UiFixture f;
    test::ExplorerParts parts{f};
    ui::ExplorerShared& shared = parts.shared;
    std::vector<std::string> documents;
    std::vector<std::string> pictures;
    std::vector<std::string> siblings;
    std::vector<std::string> statuses;
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
        hooks.showStatus = [this](const std::string& text) { statuses.push_back(text); };
        explorer = std::make_unique<ExplorerWindow>(shared, '1', hooks);
    }
    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
    }
    QListWidget* files() { return explorer->fileList(); }
    void select(const std::vector<std::string>& names) {
        files()->clearSelection();
        for (const auto& name : names) {
            const int row = rowOf(name);
            ASSERT_GE(row, 0) << name;
            files()->item(row)->setSelected(true);
        }
    }
    void trigger(const char* name) {
        auto* action = explorer->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
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

TEST_F(ExplorerTest, SimpleSearchMarksTheHitsIgnoringTheCaseOfUmlauts) {
    write("Müller.txt", "M");
    write("Ærø.html", "Æ");
    write("Straße.txt", "S");
    explorer->start(folder);
    struct Case {
        std::string typed;
        std::vector<std::string> hits;
    };
    for (const Case& c : std::vector<Case>{{"BRIEF", {"brief.txt"}},
                                           {"MÜLLER", {"Müller.txt"}},
                                           {"müller.TXT", {"Müller.txt"}},
                                           {"ærØ", {"Ærø.html"}},
                                           {"STRAßE", {"Straße.txt"}}}) {
        f.dialogs.expectAskText("Welche Dateien suchen Sie?", c.typed);
        explorer->simpleSearch();
        std::vector<std::string> expected;
        for (const auto& name : c.hits) expected.push_back(folder + "/" + name);
        EXPECT_EQ(explorer->selectedPaths(), expected) << c.typed;
    }
    f.dialogs.expectAskText("Welche Dateien suchen Sie?", "gibtsnicht").expectInform("Suche ergebnislos");
    explorer->simpleSearch();
}

TEST_F(ExplorerTest, TheBinWindowsSearchIgnoresTheCaseOfUmlauts) {
    const bin::Date day{2026, 12, 10};
    const std::string binFolder = f.paths.binFolder();
    fs::create_directories(binFolder);
    for (const char* original : {"/daten/Müller.txt", "/daten/Meier.txt"}) {
        std::ofstream(binFolder + "/" + bin::binName(original, day, 1)) << "x";
    }
    ui::BinWindow window([this] { return shared.copyContext(); }, {});
    window.fill();
    ASSERT_EQ(window.list()->count(), 2);
    f.dialogs.expectAskText("Geben Sie ein Suchwort ein", "MÜLLER");
    window.search();
    ASSERT_EQ(window.list()->selectedItems().size(), 1);
    EXPECT_TRUE(window.list()->selectedItems().front()->text().startsWith("/daten/Müller"));
    window.fill("/DATEN/MÜLLER");
    ASSERT_EQ(window.list()->selectedItems().size(), 1);
    EXPECT_TRUE(window.list()->selectedItems().front()->text().startsWith("/daten/Müller"));
}

TEST_F(ExplorerTest, TheCaptionShowsTheSizeOfOneSelectedFileOrOfSeveral) {
    write("gross.txt", std::string(1234, 'g'));
    explorer->start(folder);
    struct Case {
        std::vector<std::string> selected;
        std::string caption;
    };
    for (const Case& c : std::vector<Case>{{{"brief.txt"}, "Größe der ausgewählten Dateien: 5"},
                                           {{"brief.txt", "gross.txt"}, "Größe der ausgewählten Dateien: 1239"},
                                           {{"index.html"}, "Größe der ausgewählten Dateien: 13"},
                                           {{"gross.txt", "brief.txt", "index.html"},
                                            "Größe der ausgewählten Dateien: 1252"},
                                           {{"gross.txt"}, "Größe der ausgewählten Dateien: 1234"}}) {
        select(c.selected);
        EXPECT_EQ(explorer->windowTitle().toStdString(), c.caption);
    }
    // A refill of the list shows the folder again.
    explorer->showFiles(folder);
    EXPECT_EQ(explorer->windowTitle().toStdString(), "1 Ordner / 3 Dateien  " + folder);
}

namespace {

// The desktop's default programs as xdg-mime tells them, here from a stand-in.
struct FakeDesktop {
    std::string bin;
    QByteArray oldPath = qgetenv("PATH");
    QByteArray oldData = qgetenv("XDG_DATA_HOME");
    QLocale oldLocale;

    explicit FakeDesktop(const std::string& root) : bin(root + "fakebin") {
        fs::create_directories(bin);
        fs::create_directories(root + "xdgdata/applications");
        std::ofstream(bin + "/xdg-mime")
            << "#!/bin/sh\n[ \"$1 $2 $3\" = \"query default text/plain\" ] && echo pictra-probe.desktop\nexit 0\n";
        fs::permissions(bin + "/xdg-mime", fs::perms::owner_all);
        std::ofstream(root + "xdgdata/applications/pictra-probe.desktop")
            << "[Desktop Entry]\nName=Probe\nType=Application\nExec=pictra-probe --neu %F\n"
               "[Desktop Action x]\nExec=falsch\n";
        qputenv("PATH", QByteArray::fromStdString(bin) + ":" + oldPath);
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(root + "xdgdata"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    ~FakeDesktop() {
        qputenv("PATH", oldPath);
        if (oldData.isEmpty()) {
            qunsetenv("XDG_DATA_HOME");
        } else {
            qputenv("XDG_DATA_HOME", oldData);
        }
        QLocale::setDefault(oldLocale);
    }
};

}  // namespace

TEST_F(ExplorerTest, TheStatusNamesTheFileTypeAndTheProgramThatOpensIt) {
    FakeDesktop desktop(f.dir.path());
    explorer->start(folder);
    clickFile("brief.txt");
    ASSERT_EQ(statuses.size(), 1u);
    EXPECT_EQ(statuses.back(), "Einfaches Textdokument (pictra-probe --neu %F)");
    // A type without a default program: its name and empty brackets, never the path.
    clickFile("index.html");
    ASSERT_EQ(statuses.size(), 2u);
    EXPECT_EQ(statuses.back(), "HTML-Dokument ()");
}

TEST_F(ExplorerTest, ExtrasShowTheDrivesWithAndWithoutFloppiesAndTidyTheSelectedPages) {
    explorer->start(folder);
    for (const char* item : {"Speicherplatz1", "SpeicherplatzDiskette1"}) {
        f.dialogs.expectShowText("Laufwerke");
        trigger(item);
        ASSERT_FALSE(f.dialogs.shownTexts().empty());
        EXPECT_TRUE(f.dialogs.shownTexts().back().starts_with("Arbeitsspeicher: ")) << item;
        const std::string& report = f.dialogs.shownTexts().back();
        EXPECT_NE(report.find("aktueller Ordner: " + folder + "\r\n"), std::string::npos) << item;
    }

    files()->clearSelection();
    f.dialogs.expectInform("Datei auswählen");
    trigger("TidyPruefen1");
    select({"brief.txt"});
    f.dialogs.expectInform("Keine HTML-Datei ausgewählt.");
    trigger("TidyPruefen1");

    const std::string oldPage = "<title>T</title><P>Gr\xFC\xDF" "e";
    write("seite.html", oldPage);
    explorer->showFiles(folder);
    select({"seite.html", "brief.txt"});
    f.dialogs.expectShowText("Fehlermeldungen von TINY");
    trigger("TidyPruefen1");
    std::ifstream in(folder + "/seite.html", std::ios::binary);
    const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(page.find("<!DOCTYPE html>"), std::string::npos) << page;
    EXPECT_NE(page.find("    <p>\n      Gr&uuml;&szlig;e\n    </p>"), std::string::npos) << page;
    const QDate d = QDate::currentDate();
    const std::string backupName = bin::binName(folder + "/seite.html", {d.year(), d.month(), d.day()}, oldPage.size());
    std::ifstream backup(f.paths.binFolder() + "/" + backupName, std::ios::binary);
    const std::string old((std::istreambuf_iterator<char>(backup)), std::istreambuf_iterator<char>());
    EXPECT_EQ(old, oldPage);
    EXPECT_TRUE(f.dialogs.shownTexts().back().starts_with(folder + "/seite.html\r\n"));
    std::ifstream brief(folder + "/brief.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(brief), {}), "Hallo");
}

TEST_F(ExplorerTest, EveryMenuBarEntryHasItsOwnAltMnemonicAndKeepsItsText) {
    ui::BinWindow bin([this] { return shared.copyContext(); }, {});
    ui::TextWindow text(f.dialogs, f.tones);
    struct Case {
        QWidget* window;
        QStringList shown;
    };
    for (const Case& c : std::vector<Case>{
             {explorer.get(), {"Schließen", "Suchen", "Dateien löschen", "Dateien", "Bilder", "Extras"}},
             {&bin, {"Schließen", "Löschen ...", "Suchen", "Zeigen..."}},
             {&text, {"Zurück", "Datei", "Abbrechen", "Dieses Fenster schließen", "Bearbeiten"}}}) {
        auto* bar = c.window->findChild<QMenuBar*>();
        ASSERT_NE(bar, nullptr);
        QStringList shown;
        QList<QKeySequence> keys;
        for (QAction* a : bar->actions()) {
            shown << ui::shownMenuText(a->text());
            const QKeySequence key = QKeySequence::mnemonic(a->text());
            EXPECT_FALSE(key.isEmpty()) << a->text().toStdString();
            EXPECT_FALSE(keys.contains(key)) << a->text().toStdString();
            keys << key;
        }
        EXPECT_EQ(shown, c.shown);
    }
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
    // Side by side by their outer frames, title bar and borders included.
    EXPECT_EQ(explorers.second().x(), explorers.first().frameGeometry().width() + 24);
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
