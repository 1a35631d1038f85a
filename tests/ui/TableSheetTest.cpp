#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QSplitter>
#include <fstream>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include "UiFixture.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "tables/SheetDocument.h"
#include "tables/SheetPrint.h"
#include "tables/SheetModel.h"
#include "tables/TableFormWindow.h"
#include "tables/TableSheetWindow.h"

using namespace pictra;

namespace {

struct TableSheetTest : test::MainWindowTestBase {
    ui::TableSheetWindow* sheet() { return window->findChild<ui::TableSheetWindow*>("FORM19"); }
    void triggerIn(QWidget* w, const char* name) {
        auto* action = w->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    void setField(const char* name, const QString& value) { sheet()->findChild<QLineEdit*>(name)->setText(value); }
    void click(const char* name) { sheet()->findChild<QPushButton*>(name)->click(); }
};

}  // namespace

TEST_F(TableSheetTest, PlainTextIsNoTableAndNeverOpensTheSheet) {
    editor()->setPlainText("Meier Anna\nSchmidt Eva");
    f.dialogs.expectInform(tables::kMsgNotATable)
        .expectAsk(tables::kAskShowExample, Answer::No)
        .expectAsk(tables::kAskNewTable, Answer::No);
    trigger("Tabelle1");
    EXPECT_FALSE(sheet()->isVisible());
    EXPECT_EQ(editor()->toPlainText(), "Meier Anna\nSchmidt Eva");

    editor()->setPlainText("[!Xtt]a,b");
    f.dialogs.expectInform("Noch nicht fertig ????");
    trigger("CSVDatenblatt1");
    EXPECT_TRUE(sheet()->isVisible());
}

TEST_F(TableSheetTest, MarkListFromTheExampleToTheDocument) {
    f.dialogs.expectInform(tables::kMsgExampleMade);
    trigger("BeispielTabelle1");
    ASSERT_TRUE(sheet()->isVisible());
    EXPECT_TRUE(sheet()->findChild<QWidget*>("PBerechne")->isVisible());
    EXPECT_EQ(sheet()->model().rowCount(), 6);
    EXPECT_EQ(sheet()->model().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Feldnr. 1");
    // Header line and name column are fixed.
    EXPECT_FALSE(sheet()->model().flags(sheet()->model().index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(sheet()->model().flags(sheet()->model().index(2, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(sheet()->model().flags(sheet()->model().index(2, 1)) & Qt::ItemIsEditable);

    triggerIn(sheet(), "SummenBerechnen1");
    f.dialogs.expectAsk("Wirklich überall was eingetragen?\rAchtung! Das Feld 6 wird überschrieben!\rSind Sie damit "
                        "einverstanden?",
                        Answer::Yes);
    click("BBerechne");
    f.dialogs.expectAsk("Achtung! Das Feld 7 wird überschrieben!\rSind Sie damit einverstanden?", Answer::Yes);
    click("BNote");
    EXPECT_EQ(sheet()->sheet().cell(1, 6), "27,5");  // 5 + 9,5 + 7 + 6
    EXPECT_EQ(sheet()->sheet().cell(1, 7), "1,25");  // 6,5 - 5,5 * 27,5/30 = 1,458, down to the quarter
    f.dialogs.expectAskText("In welchem Feld ordnen?", "7 1");
    triggerIn(sheet(), "NumerischAuf1");
    EXPECT_EQ(sheet()->sheet().cell(1, 1), "Adler Anna");
    EXPECT_TRUE(sheet()->modified());

    // Closing with unsaved changes is refused, also when the whole program is closed.
    f.dialogs.expectInform(tables::kMsgCloseModified);
    sheet()->close();
    EXPECT_TRUE(sheet()->isVisible());
    f.dialogs.expectInform(tables::kMsgCloseModified);
    window->confirmClose = [](int) { return true; };
    EXPECT_FALSE(window->close());

    triggerIn(sheet(), "Uebernehmen1");
    EXPECT_FALSE(sheet()->isVisible());
    const auto lines = text::splitLines(ui::toCp1252(editor()->toPlainText()));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[1], "Name Vorname 1(6) 2(10) 3(8) 4(6) Su   No");
    EXPECT_EQ(lines[2], "Adler Anna   5    9,5   7    6    27,5 1,25");
    EXPECT_EQ(f.store.readValue(tables::settingsSection(window->currentFileName()), "Note in Feld"), "7");
}

TEST_F(TableSheetTest, KeysAddRowsAndColumnsAndUnfixTheHeader) {
    editor()->setPlainText("*    *\nName Note\nAnna 2");
    trigger("Tabelle1");
    ui::TableSheetWindow* s = sheet();
    ASSERT_EQ(s->model().rowCount(), 4);  // header, one record, two spare rows: five rows with the numbering row
    QTableView* grid = s->grid();
    grid->setCurrentIndex(s->model().index(3, 1));
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(s->model().rowCount(), 5);
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(s->model().columnCount(), 3);
    grid->setCurrentIndex(s->model().index(1, 1));
    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(s->model().fixedRows(), 1);
    EXPECT_TRUE(s->model().flags(s->model().index(0, 1)) & Qt::ItemIsEditable);
    grid->setCurrentIndex(s->model().index(0, 1));
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(s->model().fixedRows(), 2);
    // Nothing typed: writing back leaves the document as it was.
    s->writeBack(1);
    EXPECT_EQ(editor()->toPlainText(), "*    *\nName Note\nAnna 2");
}

TEST_F(TableSheetTest, KeysInTheOpenCellEditorAddColumnsAndRowsAndKeepWhatWasTyped) {
    // Moving to a cell opens its editor, so a user's keys reach that editor, not the grid.
    struct Case {
        int row, column;
        const char* typed;
        bool caretToStart;
        Qt::Key key;
        int rows, columns, atRow, atColumn;
    };
    for (const Case& c : {Case{1, 1, "", false, Qt::Key_Right, 4, 3, 1, 2},   // whole text selected
                          Case{2, 1, "3", false, Qt::Key_Right, 4, 3, 2, 2},  // caret at the end of the typed text
                          Case{1, 1, "", true, Qt::Key_Right, 4, 2, 1, 1},    // caret before the text: it moves
                          Case{3, 1, "4", false, Qt::Key_Down, 5, 2, 4, 1},   // last row
                          Case{3, 1, "5", false, Qt::Key_Return, 5, 2, 4, 1}}) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " key " << c.key << " typed " << c.typed);
        editor()->setPlainText("*    *\nName Note\nAnna 2");
        trigger("Tabelle1");
        ui::TableSheetWindow* s = sheet();
        ASSERT_TRUE(s->isVisible());
        QTableView* grid = s->grid();
        s->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(s));
        grid->setFocus();
        grid->setCurrentIndex(s->model().index(c.row, c.column));
        QLineEdit* cell = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(cell, nullptr);
        ASSERT_EQ(cell->parentWidget(), grid->viewport());
        if (*c.typed) QTest::keyClicks(cell, c.typed);
        if (c.caretToStart) cell->setCursorPosition(0);
        QTest::keyClick(cell, c.key);
        EXPECT_EQ(s->model().rowCount(), c.rows);
        EXPECT_EQ(s->model().columnCount(), c.columns);
        EXPECT_EQ(grid->currentIndex().row(), c.atRow);
        EXPECT_EQ(grid->currentIndex().column(), c.atColumn);
        if (*c.typed) {
            EXPECT_EQ(s->sheet().cell(c.row, c.column + 1), c.typed);
        }
        s->abandon();
    }
}

TEST_F(TableSheetTest, SelectedLinesBecomeAnHtmlTable) {
    editor()->setPlainText("Mo\nDi\nMi\nDo\nFr");
    editor()->selectAll();
    f.dialogs.expectAskNumber("Geben Sie eine Zahl ein", 2);
    trigger("Tabelleschreiben1");
    auto* form = window->findChild<ui::TableFormWindow*>("Form9tabelle");
    ASSERT_NE(form, nullptr);
    ASSERT_NE(form->grid()->item(0, 2), nullptr);
    EXPECT_EQ(form->grid()->item(0, 2)->text(), "Fr");
    EXPECT_EQ(form->grid()->item(1, 1)->text(), "Do");
    EXPECT_EQ(form->grid()->item(1, 2), nullptr);
    f.dialogs.expectInform("Die Tabelle befindet sich in der Zwischenablage.\rFügen Sie diese an passender Stelle ein!");
    form->findChild<QAction*>("Zurueck1")->trigger();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("<table width=750 border=1>\r\n  <tr>\r\n    <td "
                                                             "width=\"33%\">Mo</td>"));
    EXPECT_EQ(form->result().substr(0, 6), "<table");
}

TEST_F(TableSheetTest, PrintRowAndTheRecordWindow) {
    editor()->setPlainText("*    *\nName Note\nAnna 2\nBen  3");
    trigger("Tabelle1");
    ui::TableSheetWindow* s = sheet();
    f.dialogs.expectInform(tables::printPreparedMessage());
    triggerIn(s, "DruckVorbereiten1");
    EXPECT_EQ(s->sheet().rows.back(), (std::vector<std::string>{"@D@x", "X"}));
    // The record window shows one record at a time; what is typed there goes into the grid.
    QTimer::singleShot(0, s, [s] {
        auto* records = s->findChild<QDialog*>("TForm19taba");
        ASSERT_NE(records, nullptr);
        records->findChild<QPushButton*>("BNaechster")->click();
        auto* note = records->findChild<QLineEdit*>("EFeld2");
        EXPECT_EQ(note->text(), "3");
        note->setText("2-");
        records->accept();
    });
    triggerIn(s, "Datensaetze1");
    EXPECT_EQ(s->sheet().cell(2, 2), "2-");
    triggerIn(s, "Uebernehmen1");
    EXPECT_EQ(editor()->toPlainText(), "*    *\nName Note\nAnna 2\nBen  2-");
}

TEST_F(TableSheetTest, SecondTableImportAndExportThroughRealFiles) {
    editor()->setPlainText("*    *\nName Ort\nAnna Ulm");
    trigger("Tabelle1");
    ui::TableSheetWindow* s = sheet();
    const std::string csv = f.dir.path() + "liste.csv";
    const std::string second = f.dir.path() + "zweite.txt";
    const std::string exported = f.dir.path() + "export.txt";
    std::ofstream(csv, std::ios::binary) << "\"Li; Bo\";Bonn\r\nM\xC3\xBCller;K\xC3\xB6ln\r\n";
    std::ofstream(second, std::ios::binary) << "*   *\r\nTel\r\n123\r\n456\r\n";

    f.dialogs.expectOpenFile(csv).expectAskText("In Feld 1 soll stehen?", std::nullopt);
    triggerIn(s, "ExcelDazuladen1");
    EXPECT_EQ(s->sheet().cell(3, 1), "M\xFCller");  // UTF-8 file, Windows-1252 cell
    EXPECT_EQ(s->sheet().cell(2, 1), "Li; Bo");

    f.dialogs.expectOpenFile(second);
    triggerIn(s, "ZweiteTabelleOeffnen1");
    s->resize(800, 600);
    s->findChild<QSplitter*>()->setSizes({300, 300});
    f.dialogs.expectAskNumber("Welches Feld", 1);
    triggerIn(s, "FeldVonZweiter1");
    EXPECT_EQ(s->sheet().cell(1, 3), "123");

    f.dialogs.expectSaveFile(exported);
    triggerIn(s, "ExportExcelTab1");
    std::ifstream in(exported, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written.substr(0, 30), "Name\tOrt\tTel\r\nAnna\tUlm\t123\r\nLi");
}
