#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "UiFixture.h"
#include "html/HtmlCommands.h"
#include "html/SpecialCharacterDialog.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"

using namespace pictra;

namespace {

struct HtmlMenuTest : test::MainWindowTestBase {
    // Sends keys to the special-character dialog once it is open.
    struct Key {
        int key;
        Qt::KeyboardModifiers mods;
        QString text;
    };
    void pressInDialogLater(std::vector<Key> keys) {
        QTimer::singleShot(0, window.get(), [this, keys] {
            auto* dialog = window->findChild<ui::SpecialCharacterDialog*>();
            ASSERT_NE(dialog, nullptr);
            for (const Key& k : keys) {
                QKeyEvent event(QEvent::KeyPress, k.key, k.mods, k.text);
                QApplication::sendEvent(dialog->grid(), &event);
            }
        });
    }
};

}  // namespace

TEST_F(HtmlMenuTest, ReadableAndConformUmlautsKeepCharactersWindows1252Lacks) {
    editor()->setPlainText("Gr&uuml;&szlig;e\n&rarr; \u2192 ä");
    trigger("Umlautelesbar1");
    // The arrow has no Windows-1252 character: it becomes its numeric reference, never a "?".
    EXPECT_EQ(editor()->toPlainText(), "Grüße\n&rarr; &#8594; ä");
    trigger("UmlauteHTMLkonform1");
    EXPECT_EQ(editor()->toPlainText(), "Gr&uuml;&szlig;e\n&rarr; &#8594; &auml;");
}

TEST_F(HtmlMenuTest, MathToggleShowsItsMessagesAndCheckMark) {
    editor()->setPlainText("x");
    f.dialogs.expectInform(html::kMsgMathOn);
    trigger("UmlauteHTMLkonformMath1");
    EXPECT_TRUE(window->entities().mathMode());
    EXPECT_TRUE(window->findChild<QAction*>("UmlauteHTMLkonformMath1")->isChecked());
    EXPECT_EQ(editor()->toPlainText(), "<!-- Mathematischer Text -->\nx");
    f.dialogs.expectInform(html::kMsgMathOff);
    trigger("UmlauteHTMLkonformMath1");
    EXPECT_FALSE(window->entities().mathMode());
}

TEST_F(HtmlMenuTest, CtrlHTwiceInsertsABreakWithTheCaretBehindIt) {
    editor()->setPlainText("ab");
    editor()->moveCursor(QTextCursor::End);
    pressInDialogLater({Key{Qt::Key_H, Qt::ControlModifier, QString(QChar(8))}});
    trigger("MSonderzeichen");
    EXPECT_EQ(editor()->toPlainText(), "ab<br>");
    EXPECT_EQ(editor()->textCursor().position(), 6);
}

TEST_F(HtmlMenuTest, SnippetsWrapTheSelectionAndUnknownKeysSoundTheErrorTone) {
    editor()->setPlainText("fett");
    editor()->selectAll();
    pressInDialogLater({Key{Qt::Key_Q, Qt::ShiftModifier, "Q"}, Key{Qt::Key_B, Qt::NoModifier, "b"}});
    trigger("MSonderzeichen");
    EXPECT_EQ(editor()->toPlainText(), "<b>fett</b>");
    EXPECT_EQ(f.sound.played.size(), 1u);
}

TEST_F(HtmlMenuTest, EscapeChangesNothing) {
    editor()->setPlainText("bleibt");
    editor()->selectAll();
    pressInDialogLater({Key{Qt::Key_Escape, Qt::NoModifier, QString(QChar(27))}});
    trigger("MSonderzeichen");
    EXPECT_EQ(editor()->toPlainText(), "bleibt");
    auto* dialog = window->findChild<ui::SpecialCharacterDialog*>();
    EXPECT_EQ(dialog->windowTitle(), "HTM- Sonderzeichen");
    EXPECT_EQ(dialog->grid()->horizontalHeaderItem(0)->text(), "Taste");
    EXPECT_EQ(dialog->grid()->item(1, 1)->text(), "<br>");
}

TEST_F(HtmlMenuTest, AsciiRepairsWorkOnTheWholeText) {
    editor()->setPlainText(QString::fromLatin1("Gr\x81\xE1" "e"));  // DOS bytes as typed into the editor
    trigger("AsciiUmlauteUmwandeln1");
    EXPECT_EQ(editor()->toPlainText(), "Grüße");
}
