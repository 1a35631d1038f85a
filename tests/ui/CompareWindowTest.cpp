#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "UiFixture.h"
#include "explorer/RecycleBin.h"
#include "explorer/compare/CompareWindow.h"
#include "platform/LineDiff.h"
#include "shell/DocumentArea.h"

using namespace pictra;

namespace {

struct CompareWindowTest : test::MainWindowTestBase {
    ui::CompareWindow* compare() { return window->findChild<ui::CompareWindow*>("Form16vergleich"); }
    QString label() { return compare()->findChild<QLabel*>("Label2")->text(); }
    QTableView* grid() { return compare()->findChild<QTableView*>("StringGrid1"); }
    void click(const char* button) { QTest::mouseClick(compare()->findChild<QPushButton*>(button), Qt::LeftButton); }
    QString cell(int row, int column) { return grid()->model()->index(row, column).data().toString(); }
    void openWith(const std::string& document, const std::string& file) {
        f.dir.write("brief.txt", file);
        editor()->setPlainText(QString::fromUtf8(document.c_str()));
        f.dialogs.expectOpenFile(f.dir.file("brief.txt"));
        trigger("Dateivergleichen1");
        ASSERT_NE(compare(), nullptr);
    }
    void selectCells(int top, int bottom, int column) {
        grid()->clearSelection();
        grid()->selectionModel()->select(
            QItemSelection(grid()->model()->index(top, column), grid()->model()->index(bottom, column)),
            QItemSelectionModel::Select);
    }
    void menu(const char* item) { grid()->findChild<QAction*>(item)->trigger(); }
};

}  // namespace

TEST_F(CompareWindowTest, AnEmptyDocumentIsNotCompared) {
    f.dialogs.expectInform("Datei zuerst einlesen. Sie kann dann mit einer zweiten Datei, die nach Aufforderung "
                           "eingelesen wird, verglichen werden");
    trigger("Dateivergleichen1");
    EXPECT_EQ(compare(), nullptr);
}

TEST_F(CompareWindowTest, AJustSavedDocumentHasNoDifferences) {
    f.dir.write("brief.txt", "Liebe Eltern,\r\nam Freitag\r\n");
    f.dialogs.expectOpenFile(f.dir.file("brief.txt"));
    trigger("OeffnenKlassisch1");
    QTest::keyClicks(editor(), "!");
    trigger("Speichern1");
    f.dialogs.expectOpenFile(f.dir.file("brief.txt"));
    trigger("Dateivergleichen1");
    EXPECT_EQ(label(), "0 Zeilen sind verschieden");
    EXPECT_EQ(compare()->windowTitle(), window->windowTitle());
    EXPECT_EQ(compare()->width(), compare()->screen()->availableGeometry().width());
}

TEST_F(CompareWindowTest, FindEditAlignAndTakeOverAsOneUndoStep) {
    openWith("Liebe Eltern,\nneue Zeile\nam Freitag\nfällt aus.", "Liebe Eltern,\r\nam Freitag\r\nf\xE4llt aus!\r\n");
    EXPECT_EQ(label(), "3 Zeilen sind verschieden");
    EXPECT_EQ(cell(1, 2), "<--");
    click("BErste");
    EXPECT_EQ(compare()->findChild<QLineEdit*>("Edit0")->text(), "2");
    EXPECT_EQ(compare()->findChild<QLineEdit*>("Edit1")->text(), "neue Zeile");
    EXPECT_EQ(compare()->findChild<QLineEdit*>("Edit3")->text(), "----------");

    // One blank in the right column brings the rest into step.
    selectCells(1, 1, 3);
    menu("Leerzeileneinfuegen1");
    EXPECT_EQ(label(), "2 Zeilen sind verschieden");
    // A selection over both columns is refused.
    grid()->selectionModel()->select(QItemSelection(grid()->model()->index(0, 1), grid()->model()->index(0, 3)),
                                     QItemSelectionModel::Select);
    f.dialogs.expectInform("Nur Teil von Spalte 2 oder Spalte 4 auswählen");
    menu("Zeilenloeschen1");
    selectCells(1, 1, 1);
    f.dialogs.expectInform("Nur Teil von Spalte 4 auswählen");
    menu("Nachlinks1");
    // The right line of the last row goes left, then the search runs through.
    selectCells(3, 3, 3);
    menu("Nachlinks1");
    EXPECT_EQ(label(), "1 Zeilen sind verschieden");
    click("BWeiter");
    click("BWeiter");
    EXPECT_FALSE(f.sound.played.empty());  // nothing further: the chime

    click("BUebernehmen");
    EXPECT_FALSE(compare()->isVisible());
    EXPECT_EQ(editor()->toPlainText(), "Liebe Eltern,\nneue Zeile\nam Freitag\nfällt aus!");
    EXPECT_TRUE(window->documents().tabText(0).endsWith("*"));
    editor()->undo();
    EXPECT_EQ(editor()->toPlainText(), "Liebe Eltern,\nneue Zeile\nam Freitag\nfällt aus.");
}

TEST_F(CompareWindowTest, AligningAutomaticallyLeavesTheDocumentAsItWas) {
    openWith("a\nb\nc\nd\ne", "x\r\na\r\nb\r\nd\r\ne\r\n");
    EXPECT_EQ(label(), "3 Zeilen sind verschieden");
    click("BAusrichten");
    EXPECT_EQ(label(), "2 Zeilen sind verschieden");  // x inserted, c deleted
    const std::vector<std::pair<QString, QString>> rows = {{"", "x"}, {"a", "a"}, {"b", "b"}, {"c", ""}, {"d", "d"}, {"e", "e"}};
    ASSERT_EQ(grid()->model()->rowCount(), 6);
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(cell(r, 1), rows[static_cast<size_t>(r)].first) << r;
        EXPECT_EQ(cell(r, 3), rows[static_cast<size_t>(r)].second) << r;
    }
    click("BUebernehmen");
    EXPECT_EQ(editor()->toPlainText(), "a\nb\nc\nd\ne");
}

TEST_F(CompareWindowTest, TheLastBackupOfTheFileOnTheRight) {
    f.dir.write("brief.txt", "neu\r\n");
    f.dialogs.expectOpenFile(f.dir.file("brief.txt"));
    trigger("OeffnenKlassisch1");
    const std::string backup = bin::binName(f.dir.file("brief.txt"), {2026, 12, 1}, 5);
    std::filesystem::create_directories(f.paths.binFolder());
    f.dir.write("papierkorb/" + backup, "alt\r\n");
    f.dialogs.expectOpenFile(std::nullopt);
    trigger("Dateivergleichen1");
    click("BSicherung");
    EXPECT_EQ(cell(0, 3), "alt");
    EXPECT_EQ(label(), "1 Zeilen sind verschieden");
    click("BZurueck");
    EXPECT_EQ(editor()->toPlainText(), "neu");
}

TEST(LineDiff, StretchesOfTwoTexts) {
    using Lines = std::vector<std::string>;
    const auto hunks = platform::diffLines(Lines{"a", "b", "c", "d"}, Lines{"a", "x", "b", "d", "e"});
    ASSERT_EQ(hunks.size(), 3u);
    EXPECT_EQ(std::make_tuple(hunks[0].oldStart, hunks[0].oldCount, hunks[0].newStart, hunks[0].newCount),
              std::make_tuple(1u, 0u, 1u, 1u));
    EXPECT_EQ(std::make_tuple(hunks[1].oldStart, hunks[1].oldCount, hunks[1].newStart, hunks[1].newCount),
              std::make_tuple(2u, 1u, 3u, 0u));
    EXPECT_EQ(std::make_tuple(hunks[2].oldStart, hunks[2].oldCount, hunks[2].newStart, hunks[2].newCount),
              std::make_tuple(4u, 0u, 4u, 1u));
    EXPECT_TRUE(platform::diffLines(Lines{"a"}, Lines{"a"}).empty());
    // Bytes that are no text are compared all the same.
    EXPECT_EQ(platform::diffLines(Lines{std::string("\0\x01", 2)}, Lines{"b"}).size(), 1u);
}
