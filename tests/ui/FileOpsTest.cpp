#include <gtest/gtest.h>

#include <QLabel>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QMenu>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <map>

#include "ExplorerParts.h"
#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"

using namespace pictra;
namespace fs = std::filesystem;

namespace {

struct FileOpsUiTest : ::testing::Test {
    test::UiFixture f;
    test::ExplorerParts parts{f};
    ui::ExplorerShared& shared = parts.shared;
    std::unique_ptr<ui::ExplorerWindow> explorer;
    std::string folder;

    void SetUp() override {
        folder = f.dir.path() + "fotos";
        fs::create_directories(folder);
        explorer = std::make_unique<ui::ExplorerWindow>(shared, '1', ui::ExplorerHooks{});
    }
    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
    }
    std::map<std::string, std::string> onDisk() const {
        std::map<std::string, std::string> all;
        for (const auto& entry : fs::directory_iterator(folder)) {
            std::ifstream in(entry.path(), std::ios::binary);
            all[entry.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
        }
        return all;
    }
    std::vector<std::string> listed() const {
        std::vector<std::string> names;
        for (int row = 0; row < explorer->fileList()->count(); ++row) {
            names.push_back(fs::path(explorer->pathOfRow(row)).filename().string());
        }
        return names;
    }
    void select(const std::vector<std::string>& names) {
        explorer->fileList()->clearSelection();
        for (int row = 0; row < explorer->fileList()->count(); ++row) {
            const std::string name = fs::path(explorer->pathOfRow(row)).filename().string();
            if (std::find(names.begin(), names.end(), name) != names.end()) {
                explorer->fileList()->item(row)->setSelected(true);
            }
        }
    }
    void trigger(const char* name) {
        auto* action = explorer->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
};

TEST_F(FileOpsUiTest, CtrlUWithThreeFilesRenamesByTheEditedLowerText) {
    write("DSC_0001.JPG", "1");
    write("DSC_0002.JPG", "2");
    write("DSC_0003.JPG", "3");
    write("notiz.txt", "n");
    explorer->show();
    explorer->showFiles(folder);
    explorer->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(explorer.get()));
    select({"DSC_0001.JPG", "DSC_0002.JPG", "DSC_0003.JPG"});
    f.dialogs.expectConfirmText("Dateien umbenennen", true, "Urlaub").expectConfirmText("Dateien umbenennen", true);
    QTest::keyClick(explorer->fileList(), Qt::Key_U, Qt::ControlModifier);
    EXPECT_TRUE(f.dialogs.scriptDone());
    EXPECT_EQ(onDisk(), (std::map<std::string, std::string>{
                            {"urlaub01.jpg", "1"}, {"urlaub02.jpg", "2"}, {"urlaub03.jpg", "3"}, {"notiz.txt", "n"}}));
    const auto names = listed();
    EXPECT_NE(std::find(names.begin(), names.end(), "urlaub03.jpg"), names.end());
    // The file list's own menu offers the same command with the same key.
    auto* popup = explorer->findChild<QMenu*>("PopupMenu1");
    ASSERT_NE(popup, nullptr);
    auto* item = popup->findChild<QAction*>("Umbenennen2");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->shortcut(), QKeySequence("Ctrl+U"));
}

TEST_F(FileOpsUiTest, UmlautCommandCleansTheListedNames) {
    write("Müller Straße.Foto.JPG", "m");
    write("Übung 1.txt", "u");
    explorer->showFiles(folder);
    f.dialogs.expectInform("In 2 Dateien Umlaute geändert").expectConfirmText("Geändert", true);
    trigger("Umlaute1");
    EXPECT_EQ(onDisk(), (std::map<std::string, std::string>{{"mueller_strasse_foto.jpg", "m"}, {"uebung_1.txt", "u"}}));
    auto names = listed();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"mueller_strasse_foto.jpg", "uebung_1.txt"}));
}

TEST_F(FileOpsUiTest, NothingSelectedAsksForAll) {
    write("a.txt", "a");
    explorer->showFiles(folder);
    f.dialogs.expectAsk("Alle?", Answer::No);
    trigger("Umbenennen1");
    EXPECT_EQ(onDisk(), (std::map<std::string, std::string>{{"a.txt", "a"}}));
}

TEST_F(FileOpsUiTest, SplitAndJoinThroughTheMenu) {
    std::string bytes(2500, 'x');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i % 251);
    write("brief.txt", bytes);
    explorer->showFiles(folder);
    select({"brief.txt"});
    f.dialogs.expectAskNumber("in KByte", 1).expectInform("");
    trigger("Splitten1");
    select({"brief003.txt", "brief001.txt", "brief002.txt"});
    EXPECT_EQ(explorer->selectedPaths().size(), 3u);
    f.dialogs.expectSaveFile(folder + "/ganz");
    trigger("Zusammenfuegen1");
    EXPECT_EQ(onDisk().at("ganz.txt"), bytes);
    auto* note = explorer->findChild<QLabel*>("Eckhinweis");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text().trimmed(), "Fertig");
    EXPECT_EQ(note->pos(), QPoint(10, 10));
    const auto names = listed();
    EXPECT_NE(std::find(names.begin(), names.end(), "ganz.txt"), names.end());
}

TEST_F(FileOpsUiTest, CtrlUWithOneFileOpensTheRenameMoveDialog) {
    write("brief.doc", "b");
    fs::create_directories(f.dir.path() + "ablage");
    f.store.writeList("OrdnerUmbenennen", "OrdnerUmbenennen", f.dir.path() + "ablage");
    explorer->show();
    explorer->showFiles(folder);
    explorer->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(explorer.get()));
    select({"brief.doc"});
    std::string seenTarget;
    QStringList folders;
    QTimer::singleShot(0, explorer.get(), [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        ASSERT_EQ(modal->objectName(), "Form10a");
        auto* target = modal->findChild<QComboBox*>("CBOrdner");
        seenTarget = target->currentText().toStdString();
        for (int i = 0; i < target->count(); ++i) folders << target->itemText(i);
        modal->findChild<QLineEdit*>("Edit1")->setText("brief.txt");
        modal->findChild<QPushButton*>("BOk")->click();
    });
    // The last folder of the list is not the file's own: the user keeps it in its folder.
    f.dialogs.expectAsk("Soll die Datei im selben Ordner bleiben?", Answer::Yes);
    QTest::keyClick(explorer->fileList(), Qt::Key_U, Qt::ControlModifier);
    EXPECT_TRUE(f.dialogs.scriptDone());
    EXPECT_EQ(seenTarget, folder);
    EXPECT_EQ(folders, (QStringList{QString::fromStdString(folder), QString::fromStdString(f.dir.path() + "ablage")}));
    EXPECT_EQ(onDisk(), (std::map<std::string, std::string>{{"brief.txt", "b"}}));
    EXPECT_EQ(f.store.readList("OrdnerUmbenennen", "OrdnerUmbenennen"), f.dir.path() + "ablage\r\n" + folder);
    const auto names = listed();
    EXPECT_EQ(names, std::vector<std::string>{"brief.txt"});
}

TEST_F(FileOpsUiTest, DuplicatesAreSelectedAfterwards) {
    write("a.txt", "a");
    write("b.txt", "b");
    explorer->showFiles(folder);
    select({"a.txt", "b.txt"});
    f.dialogs.expectAsk("", Answer::Yes);
    trigger("Duplizieren1");
    std::vector<std::string> selected;
    for (const auto& path : explorer->selectedPaths()) selected.push_back(fs::path(path).filename().string());
    std::sort(selected.begin(), selected.end());
    EXPECT_EQ(selected, (std::vector<std::string>{"a_.txt", "b_.txt"}));
    EXPECT_EQ(onDisk().at("b_.txt"), "b");
}

TEST_F(FileOpsUiTest, SameTextComesFromTheCurrentDocument) {
    write("a.txt", "alt");
    ui::ExplorerHooks hooks;
    hooks.currentDocumentText = [] { return std::string("Text der aktuellen Datei\r\n"); };
    explorer = std::make_unique<ui::ExplorerWindow>(shared, '1', hooks);
    explorer->showFiles(folder);
    select({"a.txt"});
    f.dialogs.expectAsk("", Answer::Yes);
    trigger("DenselbenText1");
    EXPECT_EQ(onDisk(), (std::map<std::string, std::string>{{"a.txt", "Text der aktuellen Datei\r\n"}, {"a_9.txt", "alt"}}));
}

}  // namespace
