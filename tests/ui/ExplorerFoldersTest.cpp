#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QListWidget>
#include <QMenu>
#include <filesystem>
#include <fstream>

#include "ExplorerParts.h"
#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"

using namespace pictra;
namespace fs = std::filesystem;

namespace {

struct ExplorerFoldersTest : ::testing::Test {
    test::UiFixture f;
    test::ExplorerParts parts{f};
    ui::ExplorerShared& shared = parts.shared;
    std::unique_ptr<ui::ExplorerWindow> explorer;
    std::string folder;

    void SetUp() override {
        folder = f.dir.path() + "daten";
        fs::create_directories(folder + "/Unterordner/tief");
        std::ofstream(folder + "/brief.txt") << "Hallo";
        explorer = std::make_unique<ui::ExplorerWindow>(shared, '1', ui::ExplorerHooks{});
        explorer->start(folder);
    }
    void trigger(const char* name) {
        auto* action = explorer->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    // Where each command stands: the Extras menu or the folder tree's menu.
    std::vector<std::string> texts(const char* menu) {
        std::vector<std::string> out;
        for (QAction* a : explorer->findChild<QMenu*>(menu)->actions())
            if (!a->isSeparator()) out.push_back(a->text().toStdString());
        return out;
    }
};

void sparse(const std::string& path, off_t size) {
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);
}

}  // namespace

TEST_F(ExplorerFoldersTest, TheCommandsStandInTheirMenus) {
    const auto tree = texts("PopupMenu2");
    ASSERT_GE(tree.size(), 6u);
    EXPECT_EQ(tree.front(), "Neuen Unterordner erzeugen");
    EXPECT_EQ(std::vector<std::string>(tree.end() - 3, tree.end()),
              (std::vector<std::string>{"Alle Unterordner auflisten", "Leere Ordner suchen", "Ordner mit Inhalt löschen"}));
    const auto extras = texts("Extras1");
    for (const char* item : {"Leeren Ordner löschen", "Neuen Ordner erzeugen", "Die größten Dateien suchen"})
        EXPECT_NE(std::find(extras.begin(), extras.end(), item), extras.end()) << item;
}

TEST_F(ExplorerFoldersTest, ANewFolderIsMadeAndListed) {
    f.dialogs.expectAskText("Bezeichnung", std::string("Fotos 2026"));
    trigger("NeuenUnterordner1");
    EXPECT_EQ(explorer->currentFolder(), folder + "/Fotos 2026");
    explorer->goToFolder(folder);
    explorer->showFiles(folder);
    f.dialogs.expectAskText("Bezeichnung", std::string("Fotos 2026"));
    f.dialogs.expectInform("Ordner oder Datei unter diesem Namen existiert schon.");
    trigger("NeuenOrdnerErzeugen1");
    EXPECT_EQ(explorer->currentFolder(), folder);
}

TEST_F(ExplorerFoldersTest, EmptyFoldersAreOfferedInnerFirstAndTheListStaysOnTheFolder) {
    f.dialogs.expectAsk("\"" + folder + "/Unterordner/tief/\" löschen?", Answer::Yes);
    f.dialogs.expectAsk("\"" + folder + "/Unterordner/\" löschen?", Answer::Yes);
    trigger("LeereOrdnerSuchen1");
    EXPECT_FALSE(fs::exists(folder + "/Unterordner"));
    EXPECT_EQ(explorer->currentFolder(), folder);
    f.dialogs.expectInform("Keine leeren Unterordner vorhanden!");
    trigger("LeerenOrdnerLoeschen1");
}

TEST_F(ExplorerFoldersTest, AFolderWithContentGoesAndTheExplorerShowsItsParent) {
    const std::string sub = folder + "/Unterordner";
    std::ofstream(sub + "/tief/notiz.txt") << "x";
    explorer->goToFolder(sub);
    explorer->showFiles(sub);
    f.dialogs.expectConfirmText("Dateien in den Papierkorb verschieben", true);
    f.dialogs.expectAsk("Soll der nun leere Ordner \"" + sub + "/tief/\" gelöscht werden?", Answer::Yes);
    f.dialogs.expectAsk("Soll der nun leere Ordner \"" + sub + "/\" gelöscht werden?", Answer::Yes);
    trigger("OrdnerMitInhaltLoeschen1");
    EXPECT_FALSE(fs::exists(sub));
    EXPECT_EQ(explorer->currentFolder(), folder);
}

TEST_F(ExplorerFoldersTest, AllSubfoldersInATextWindow) {
    f.dialogs.expectShowText("Alle 2 Unterverzeichnisse von " + folder);
    trigger("AlleUnterordner1");
    ASSERT_EQ(f.dialogs.shownTexts().size(), 1u);
    EXPECT_EQ(f.dialogs.shownTexts()[0], folder + "/Unterordner/\r\n" + folder + "/Unterordner/tief/");
}

TEST_F(ExplorerFoldersTest, LargestFilesReplaceTheListAndADoubleClickFindsAnElevenDigitPath) {
    sparse(folder + "/Unterordner/zehn.bin", 10000000);
    sparse(folder + "/Unterordner/tief/riesig mit blank.img", 12345678901LL);
    trigger("GroessteDateien1");
    QListWidget* list = explorer->fileList();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text().toStdString(), "-->0010000000 " + folder + "/Unterordner/zehn.bin");
    const std::string big = folder + "/Unterordner/tief/riesig mit blank.img";
    EXPECT_EQ(explorer->pathOfRow(1), big);
    list->setCurrentRow(1);
    list->item(1)->setSelected(true);
    f.dialogs.expectAsk(big + "\rDatei endgültig löschen?", Answer::Yes);
    f.dialogs.expectInform(big + " gelöscht");
    explorer->openSelected();
    EXPECT_FALSE(fs::exists(big));
}

TEST_F(ExplorerFoldersTest, AnOfficeDocumentGoesToTheOfficeProgramSetUpWhenTheUserSaysYes) {
    const std::string log = f.dir.path() + "office.log";
    const std::string stub = f.dir.path() + "office.sh";
    std::ofstream(stub) << "#!/bin/sh\nprintf '%s|' \"$@\" > '" << log << ".tmp' && mv '" << log << ".tmp' '" << log << "'\n";
    fs::permissions(stub, fs::perms::owner_all);
    f.store.writeValue("Einstellungen", "Officeprogramm", stub);
    std::vector<std::string> documents;
    ui::ExplorerHooks hooks;
    hooks.openDocument = [&documents](const std::string& p) {
        documents.push_back(p);
        return true;
    };
    explorer = std::make_unique<ui::ExplorerWindow>(shared, '1', hooks);
    explorer->start(folder);
    const std::string letter = folder + "/brief.doc";
    std::ofstream(letter) << "Brief";
    f.dialogs.expectAsk("Mit Open Office öffnen?", Answer::Yes);
    explorer->openPath(letter);
    for (int turn = 0; turn < 20000 && !fs::exists(log); ++turn) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_TRUE(fs::exists(log));
    EXPECT_EQ(f.dialogs.log().back().text, "Mit Open Office öffnen?");
    std::ifstream in(log);
    std::string args((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(args, letter + "|");

    // No: the document goes on as without an office program ("Datei einlesen" reads it).
    f.dialogs.expectAsk("Mit Open Office öffnen?", Answer::No);
    explorer->openPath(letter, true);
    EXPECT_EQ(documents, std::vector<std::string>{letter});

    // A folder named like a document is no document: nothing is asked.
    fs::create_directories(folder + "/docs.2024");
    std::ofstream(folder + "/docs.2024/notiz.txt") << "x";
    explorer->openPath(folder + "/docs.2024/notiz.txt");
    EXPECT_EQ(documents.back(), folder + "/docs.2024/notiz.txt");
}

namespace {
// Keeps the text an input box was prefilled with.
struct PrefillDialogs : test::ScriptedDialogs {
    std::string prefilled;
    std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                       const std::string& value) override {
        prefilled = value;
        return ScriptedDialogs::askText(title, prompt, value);
    }
};
}  // namespace

TEST_F(ExplorerFoldersTest, StartingWithParametersOffersTheFirstMarkedFile) {
    PrefillDialogs dialogs;
    ui::ExplorerShared own{f.store, dialogs, f.tones, parts.chronicle, {}, {}, parts.copies, f.paths.binFolder()};
    own.marked.files = {folder + "/Unterordner/erste.txt", folder + "/zweite.txt"};
    ui::ExplorerWindow window(own, '1', ui::ExplorerHooks{});
    window.start(folder);
    window.fileList()->item(0)->setSelected(true);
    dialogs.expectAskText("Parameter für das Programm eingeben.", std::nullopt);
    window.findChild<QAction*>("AnwendungMitParameter1")->trigger();
    EXPECT_EQ(dialogs.prefilled, folder + "/Unterordner/erste.txt");
}
