#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "UiFixture.h"
#include "html/Browsers.h"
#include "html/convert/TableCommands.h"
#include "html/exports/Exports.h"
#include "shell/DocumentArea.h"
#include "shell/editing/SelectionToolWindow.h"
#include "tables/TableSheetWindow.h"

using namespace pictra;

namespace {

struct TableConversionTest : test::MainWindowTestBase {
    // The text without the spare blank line the editor keeps at the end after a key.
    std::string text() {
        std::string t = editor()->toPlainText().toStdString();
        const size_t last = t.rfind('\n');
        if (last != std::string::npos && t.find_first_not_of(' ', last + 1) == std::string::npos) t.erase(last);
        return t;
    }
    void selectAll(const QString& text) {
        editor()->setPlainText(text);
        editor()->selectAll();
    }
    // Ctrl+A, then the key in the tool window (shortcuts need a shown window).
    void ctrlA(Qt::Key key) {
        window->show();
        QApplication::setActiveWindow(window.get());  // menu keys reach only the active window
        editor()->setFocus();
        QTimer::singleShot(0, window.get(), [this, key] {
            auto* w = window->findChild<ui::SelectionToolWindow*>();
            ASSERT_NE(w, nullptr);
            QTest::keyClick(w, key);
        });
        QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
    }
};

const std::string kMarks = "*     *     *\nName  Fach  Note\nAnna  Mathe 2\nBernd       3";
const std::string kHtml = "<table border=1>\n"
                      "  <tr><td>Name</td><td>Fach</td><td>Note</td></tr>\n"
                      "  <tr><td>Anna</td><td>Mathe</td><td>2</td></tr>\n"
                      "  <tr><td>Bernd</td><td>&nbsp;</td><td>3</td></tr>\n"
                      "</table>";

}  // namespace

TEST_F(TableConversionTest, CtrlATAndHConvertWithoutAskingInOneUndoStep) {
    selectAll(QString::fromStdString(kMarks));
    ctrlA(Qt::Key_T);
    EXPECT_EQ(text(), kHtml);
    editor()->undo();
    EXPECT_EQ(text(), kMarks);
    editor()->redo();
    editor()->selectAll();
    f.dialogs.expectAsk("Alle HTML-Tags entfernen?", Answer::No);
    ctrlA(Qt::Key_H);
    EXPECT_EQ(text(),
              "<pre>\n*     *     *    \nName  Fach  Note \nAnna  Mathe 2    \nBernd       3    \n</pre>");
    EXPECT_TRUE(f.dialogs.scriptDone());
}

TEST_F(TableConversionTest, TheMenuAsksFirstAndNoChangesNothing) {
    selectAll(QString::fromStdString(kMarks));
    f.dialogs.expectAsk(html::convert::kStarToHtmlQuestion, Answer::No);
    trigger("SternInHtmlTabelle1");
    EXPECT_EQ(text(), kMarks);
    f.dialogs.expectAsk(html::convert::kStarToHtmlQuestion, Answer::Yes);
    trigger("SternInHtmlTabelle1");
    EXPECT_EQ(text(), kHtml);
    editor()->setPlainText("kein Stern");
    f.dialogs.expectAsk(html::convert::kStarToHtmlQuestion, Answer::Yes)
        .expectInform("1. Text muss ausgewählt sein.\r2. Ausgewählter Text muss mit \"* ....\" beginnen!");
    trigger("SternInHtmlTabelle1");
    EXPECT_EQ(text(), "kein Stern");
    EXPECT_TRUE(f.dialogs.scriptDone());
}

TEST_F(TableConversionTest, MenusHoldEveryItemOnce) {
    const struct {
        const char* menu;
        std::vector<const char*> items;
    } menus[] = {{"TabellenUndListen1",
                  {"SternInHtmlTabelle1", "HtmlInSternTabelle1", "HinweisTabellen1", "TabelleUebersichtlich1",
                   "AusgewaehltesInUl1", "HinweisListen1"}},
                 {"ExportImport1",
                  {"ExportDelphi1", "WikiTabelle1", "WikiSpalte1", "StundenplanLehrer1", "StundenplanKlassen1",
                   "StundenplanRaeume1", "ImportExcelTab1", "ImportExcelSemikolon1", "TelefonbuchSortieren1",
                   "EMailFiltern1", "CsvInHtml1", "TabelleAusZwischenablage1"}}};
    for (const auto& m : menus) {
        auto* menu = window->findChild<QMenu*>(m.menu);
        ASSERT_NE(menu, nullptr) << m.menu;
        for (const char* item : m.items) {
            EXPECT_EQ(window->findChildren<QAction*>(item).size(), 1) << item;
        }
    }
    EXPECT_EQ(window->findChild<QAction*>("AusgewaehltesInUl1")->shortcut(), QKeySequence("Ctrl+Alt+L"));
    EXPECT_EQ(window->findChild<QMenu*>("TabellenUndListen1")->title(), "Ausgewählte Tabellen und Listen umwandel");
}

TEST_F(TableConversionTest, LayoutListPrefixesAndCsvPage) {
    selectAll("<table>\n<tr bgcolor=silver><th>Mo</th><td>Mathe</td></tr>\n</table>");
    trigger("TabelleUebersichtlich1");
    EXPECT_TRUE(editor()->toPlainText().contains("  <tr bgcolor=silver>\n    <th>Mo</th>\n    <td>Mathe</td>\n  </tr>"));
    selectAll("a\nb");
    trigger("NbspVorJederZeile1");
    EXPECT_EQ(text(), "&nbsp; a\n&nbsp; b");  // the last line break ends the text
    editor()->setPlainText("x");
    f.dialogs.expectAsk("Den ganzen Text?", Answer::Yes);
    trigger("AusgewaehltesInUl1");
    EXPECT_EQ(text(), "<ul>\n<li>x</li>\n</ul>");

    window->setCurrentFileName(f.dir.path() + "/noten.csv");
    editor()->setPlainText("Name;Note\nAnna;2");
    trigger("CsvInHtml1");
    EXPECT_EQ(window->currentFileName(), f.dir.path() + "/noten.html");
    EXPECT_EQ(window->documents().tabText(window->documents().currentIndex()), "noten.html*");  // the tab follows
    EXPECT_TRUE(editor()->toPlainText().contains("<th>N a m e</th>"));
    EXPECT_TRUE(editor()->toPlainText().contains("<td>Anna</td>"));
    EXPECT_TRUE(editor()->toPlainText().contains("</html>"));
    EXPECT_TRUE(f.dialogs.scriptDone());
}

TEST_F(TableConversionTest, TimetableDelphiAndClipboardTable) {
    editor()->setPlainText("1,\"7a\",\"Mue\",\"M\",\"R1\",1,1\n2,\"7b\",\"Ab\",\"D\",\"R2\",2,2\n");
    f.dialogs.expectInform(html::exports::kTimetableFormat);
    trigger("StundenplanLehrer1");
    EXPECT_EQ(window->documents().count(), 2);
    const QString page = editor()->toPlainText();
    EXPECT_TRUE(page.startsWith("<html>\n<title>Stundenplan Lehrer</title>"));
    EXPECT_LT(page.indexOf("colspan=6>Ab<"), page.indexOf("colspan=6>Mue<"));
    EXPECT_EQ(window->browsers().count(), 1);  // the page is shown in the full preview

    editor()->setPlainText("ab\nit's");
    editor()->selectAll();
    f.dialogs.expectInform(html::exports::kDelphiIntro)
        .expectAsk(html::exports::kDelphiQuestion, Answer::No)
        .expectInform(html::exports::kDelphiDone);
    trigger("ExportDelphi1");
    EXPECT_EQ(QApplication::clipboard()->text(), "'ab'#13#10+\r\n'it''s';\r\n");

    QApplication::clipboard()->setText("Name\tNote\nAnna\t2\n");
    editor()->setPlainText("");
    trigger("TabelleAusZwischenablage1");
    EXPECT_EQ(text(), "*    *\nName Note\nAnna 2");
    EXPECT_TRUE(f.dialogs.scriptDone());
}

TEST_F(TableConversionTest, ImportExcelThroughTheSheetAndDelphiFromARawFile) {
    const std::string tsv = f.dir.path() + "/liste.txt";
    std::ofstream(tsv, std::ios::binary) << "Name\tNote\r\nAnna\t2\r\n";
    editor()->setPlainText("nicht leer");
    f.dialogs.expectOpenFile(tsv).expectAskText("In Feld 1 soll stehen?", std::nullopt);
    trigger("ImportExcelTab1");
    EXPECT_EQ(window->documents().count(), 2);  // the text stays in its own document
    auto* sheet = window->findChild<ui::TableSheetWindow*>("FORM19");
    ASSERT_NE(sheet, nullptr);
    bool found = false;
    for (const auto& row : sheet->sheet().rows) found = found || (row.size() >= 2 && row[0] == "Anna" && row[1] == "2");
    EXPECT_TRUE(found);
    sheet->abandon();

    const std::string rtf = f.dir.path() + "/brief.rtf";
    std::ofstream(rtf, std::ios::binary) << "{\\rtf1 it's}";
    f.dialogs.expectInform(html::exports::kDelphiIntro)
        .expectAsk(html::exports::kDelphiQuestion, Answer::Yes)
        .expectOpenFile(rtf)
        .expectShowText("Export für Delphi")
        .expectInform(html::exports::kDelphiDone);
    trigger("ExportDelphi1");
    EXPECT_EQ(QApplication::clipboard()->text(), "'{\\rtf1 it''s}';\r\n");
    EXPECT_TRUE(f.dialogs.scriptDone());
}

TEST_F(TableConversionTest, AddressFilterSavesFirstAndRenamesPhoneBookSorts) {
    const std::string path = f.dir.path() + "/adressen.txt";
    window->setCurrentFileName(path);
    editor()->setPlainText("Bitte an anna@example.de schreiben\nkeine Adresse\nbernd@example.de");
    trigger("EMailFiltern1");
    std::ifstream saved(path, std::ios::binary);
    const std::string onDisk((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_EQ(onDisk.rfind("Bitte an anna@example.de schreiben\r\n", 0), 0u);  // the source is kept as it was
    EXPECT_EQ(text(), "anna@example.de;\nbernd@example.de;");
    EXPECT_EQ(window->currentFileName(), path + "0");

    editor()->setPlainText("Meier 12345\nHuber 0815  ");
    trigger("TelefonbuchSortieren1");
    EXPECT_EQ(text(), "345 Meier 12345\n815 Huber 0815");
    EXPECT_TRUE(f.dialogs.scriptDone());
}
