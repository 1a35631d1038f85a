#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include "UiFixture.h"
#include "html/StyleDialog.h"
#include "shell/DocumentArea.h"
#include "shell/editing/SearchBar.h"
#include "shell/editing/SearchResults.h"
#include "shell/editing/SelectionToolWindow.h"
#include "shell/StatusBars.h"
#include "tables/TableSheetWindow.h"

using namespace pictra;

namespace {

struct EditToolsTest : test::MainWindowTestBase {
    void setText(const QString& text) {
        editor()->setPlainText(text);
        window->documents().setTabText(0, "?");  // a freshly loaded document: no "*"
    }
    QColor colourAt(int position) {
        QTextCursor c(editor()->document());
        c.setPosition(position + 1);
        return c.charFormat().foreground().color();
    }
    void click(const char* name) { window->findChild<QPushButton*>(name)->click(); }
    // Presses a key in the modal window of the given type once it is open.
    template <class Window>
    void pressLater(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
        QTimer::singleShot(0, window.get(), [this, key, mods, text] {
            auto* w = window->findChild<Window*>();
            ASSERT_NE(w, nullptr);
            QTest::keyClick(w, static_cast<Qt::Key>(key), mods);
            (void)text;
        });
    }
};

}  // namespace

TEST_F(EditToolsTest, SearchBarPaintsHitsWithoutMarkingTheDocument) {
    setText("Ein Hund, noch ein hund.");
    trigger("Suchen1");
    auto& bar = window->searchBar();
    EXPECT_TRUE(bar.isVisibleTo(window.get()));
    EXPECT_FALSE(window->findChild<QWidget*>("Persetze")->isVisibleTo(window.get()));
    bar.combo()->setCurrentText("hund");
    click("Babwaerts");
    EXPECT_EQ(editor()->textCursor().position(), 4);
    EXPECT_EQ(colourAt(4), QColor(Qt::red));
    EXPECT_EQ(window->documents().tabText(0), "?");  // painting is no edit
    QTest::keyClick(editor(), Qt::Key_F3);
    EXPECT_EQ(editor()->textCursor().position(), 19);
    QTest::keyClick(editor(), Qt::Key_F3);  // wraps to the top
    EXPECT_EQ(editor()->textCursor().position(), 4);
    EXPECT_EQ(window->statusBars().noticeText(), "Suche \"hund\" wieder von Anfang");

    // Removing the paint: every character black again.
    f.dialogs.expectAskNumber("Tabulator an welcher Stelle", 8);
    trigger("FarbigeSuchergebnisseLoeschen1");
    EXPECT_NE(colourAt(4), QColor(Qt::red));
    trigger("Klartext1");  // the tab width is asked once per run

    // The history goes into the settings at exit (last six terms).
    window->confirmClose = [](int) { return true; };
    window->close();
    EXPECT_EQ(f.store.readList("Hauptmenu", "Suchen"), "hund");
}

TEST_F(EditToolsTest, ReplaceFieldAndTheQuestionForAll) {
    setText("a-b-a-b");
    trigger("Ersetzten1");
    EXPECT_TRUE(window->findChild<QWidget*>("Persetze")->isVisibleTo(window.get()));
    window->searchBar().combo()->setCurrentText("a");
    window->searchBar().replaceField()->setText("x");
    f.dialogs.expectAsk("Gleich bei allen Vorkommen ersetzten?", Answer::No);
    QTest::keyClick(window->searchBar().replaceField(), Qt::Key_Return);
    QTest::keyClick(window->searchBar().replaceField(), Qt::Key_Return);
    EXPECT_EQ(editor()->toPlainText(), "x-b-x-b");
}

TEST_F(EditToolsTest, ReplacingEveryHitIsOneStepThatUndoTakesBack) {
    setText("a-b-a-b");
    QTest::keyClicks(editor(), "c");  // typed before: undo must stop at this text
    trigger("Ersetzten1");
    window->searchBar().combo()->setCurrentText("a");
    window->searchBar().replaceField()->setText("x");
    f.dialogs.expectAsk("Gleich bei allen Vorkommen ersetzten?", Answer::Yes);
    QTest::keyClick(window->searchBar().replaceField(), Qt::Key_Return);
    // Typing on the last line has added the spare line below it.
    EXPECT_EQ(editor()->toPlainText(), "cx-b-x-b\n ");
    // Painted hits are no step of their own: the next Ctrl+Z still takes back the replacement.
    trigger("Suchen1");
    window->searchBar().combo()->setCurrentText("x");
    click("Babwaerts");
    ASSERT_EQ(colourAt(1), QColor(Qt::red));
    QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor()->toPlainText(), "ca-b-a-b\n ");
    QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor()->toPlainText(), "cx-b-x-b\n ");
}

TEST_F(EditToolsTest, AllDocumentsSearchListsEveryLine) {
    setText("Wort eins\nnichts");
    window->newDocument();
    editor()->setPlainText("zwei Wort\nwort");
    f.dialogs.expectAskText("Geben Sie das Suchwort ein!", "Wort");
    trigger("AlleDateienDurchsuchen1");
    auto* results = window->findChild<ui::SearchResults*>("Form4");
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(results->list()->toPlainText(), "1|0:Wort eins\n2|0:zwei Wort\n2 Fundstellen");
    window->findChild<QPushButton*>("BDateiDurchsuchen")->click();  // from the caret in the current document
    EXPECT_EQ(editor()->textCursor().position(), 6);                 // one behind the hit's start
}

TEST_F(EditToolsTest, LineBufferKeysAndCtrlAWindow) {
    window->show();
    QApplication::setActiveWindow(window.get());  // menu keys reach only the active window
    editor()->setFocus();
    setText("a\nb\nc");
    for (int i = 0; i < 3; ++i) QTest::keyClick(editor(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(editor()->toPlainText().trimmed(), "");
    for (int i = 0; i < 3; ++i) QTest::keyClick(editor(), Qt::Key_Y, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(editor()->toPlainText().startsWith("a\nb\nc"));
    trigger("ZeilenpufferLoeschen1");
    trigger("ZeileZufuegen1");
    EXPECT_EQ(window->statusBars().panelText(3), "Puffer leer");

    setText("klein");
    pressLater<ui::SelectionToolWindow>(Qt::Key_G, Qt::ShiftModifier);  // "G" chooses the same tool as "g"
    QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(editor()->toPlainText(), "KLEIN");
}

TEST_F(EditToolsTest, EscOpensTheTableSheetAndCtrlMinusCleansLines) {
    setText("*    *\nName Note\nAnna 2");
    QTest::keyClick(editor(), Qt::Key_Escape);
    auto* sheet = window->findChild<ui::TableSheetWindow*>("FORM19");
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    sheet->abandon();

    setText("a  \n   \nb");
    QTest::keyClick(editor(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(editor()->toPlainText(), "a\nb");
}

TEST_F(EditToolsTest, VirtualSpaceKeepsTheColumnAndCanBeSwitchedOff) {
    setText("abcdef\nab\nx");
    QTextCursor c = editor()->textCursor();
    c.setPosition(5);
    editor()->setTextCursor(c);
    QTest::keyClick(editor(), Qt::Key_Down);
    EXPECT_EQ(editor()->document()->findBlockByNumber(1).text(), "ab    ");
    EXPECT_EQ(editor()->textCursor().positionInBlock(), 5);
    f.dialogs.expectAsk("", Answer::Yes);
    trigger("CursorNichtUeberEnde1");
    EXPECT_FALSE(window->virtualSpace());
    EXPECT_TRUE(window->findChild<QAction*>("CursorNichtUeberEnde1")->isChecked());
    EXPECT_EQ(editor()->document()->findBlockByNumber(1).text(), "ab");
}

TEST_F(EditToolsTest, CtrlLessWrapsTheWordInAStyledSpan) {
    setText("ein Wort hier");
    QTextCursor c = editor()->textCursor();
    c.setPosition(6);
    editor()->setTextCursor(c);
    QTimer::singleShot(0, window.get(), [this] {
        auto* dialog = window->findChild<ui::StyleDialog*>("Form2Font");
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QCheckBox*>("CBfett")->setChecked(true);
        dialog->findChild<QPushButton*>("BOK")->click();
    });
    QTest::keyClick(editor(), Qt::Key_Less, Qt::ControlModifier);
    EXPECT_EQ(editor()->toPlainText(), "ein <span  style=\"font-weight:bold;\">Wort</span> hier");
}

TEST_F(EditToolsTest, SortWrapAndRectangleFromTheMenus) {
    setText("x 10\ny 9\nz -3");
    f.dialogs.expectAsk("Soll ihre Datei wirklich geordnet werden?", Answer::Yes);
    trigger("DateiNumerisch1");
    EXPECT_EQ(editor()->toPlainText(), "z -3\ny 9\nx 10");

    setText("aaa bbb ccc");
    f.dialogs.expectAskNumber("Wie lang soll eine Zeile maximal werden?", 5);
    trigger("ZeilenUmbrechen1");
    EXPECT_EQ(editor()->toPlainText(), "aaa\nbbb\nccc");

    setText("ab12cd\nef34gh");
    QTextCursor c = editor()->textCursor();
    c.setPosition(2);
    c.setPosition(11, QTextCursor::KeepAnchor);
    editor()->setTextCursor(c);
    f.dialogs.expectAsk("Wirklich ausschneiden?", Answer::Yes)
        .expectInform("In der Zwischenablage befindet sich folgender Text:\r12\r\n34\r\n");
    trigger("RechteckAusschneiden1");
    EXPECT_EQ(editor()->toPlainText(), "abcd\nefgh");
    c.setPosition(4);
    editor()->setTextCursor(c);
    trigger("RechteckEinfuegen1");
    EXPECT_EQ(editor()->toPlainText(), "abcd12\nefgh34");
}

TEST_F(EditToolsTest, EnterInTheTermFieldSearchesFromTheTop) {
    setText("x hund y hund");
    trigger("Suchen1");
    window->searchBar().combo()->setCurrentText("hund");
    // The key comes to the combo, which keeps the focus for its line edit.
    QTest::keyClick(window->searchBar().combo(), Qt::Key_Return);
    EXPECT_EQ(editor()->textCursor().position(), 2);
    EXPECT_EQ(colourAt(2), QColor(Qt::red));
}
