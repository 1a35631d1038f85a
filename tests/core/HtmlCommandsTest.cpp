#include <gtest/gtest.h>

#include "MemoryEditor.h"
#include "ScriptedDialogs.h"
#include "html/HtmlCommands.h"
#include "html/SpecialCharacters.h"
#include "shell/editing/LineWrap.h"

using namespace pictra;
using test::MemoryEditor;

namespace {
struct HtmlCommandsTest : ::testing::Test {
    SettingsStore store;
    test::RecordingSound sound;
    Tones tones{store, sound};
    test::ScriptedDialogs dialogs;
    EntityTable table;
    std::vector<std::string> notices;
    std::function<void(const std::string&)> notice = [this](const std::string& n) { notices.push_back(n); };
};
}  // namespace

TEST_F(HtmlCommandsTest, WholeDocumentCommandsKeepTheCaretAtItsPlaceInTheText) {
    MemoryEditor editor("&Auml;rger\n&uuml;ber &uuml;ber\nEnde");
    editor.setCaret(20);  // before "Ende"? line 1 is 11 long, so 20 is in line 2 after "&uuml;ber "
    html::decodeDocument(editor, table, tones);
    EXPECT_EQ(editor.text(), "\xC4rger\n\xFC" "ber \xFC" "ber\nEnde");
    // Lines 1 and 2 begin before the caret: 5 + 10 characters shorter.
    EXPECT_EQ(editor.caret(), 5);
    EXPECT_EQ(editor.focused, 1);
    ASSERT_EQ(sound.played.size(), 1u);
    EXPECT_EQ(sound.played[0].size(), 2205u);
    html::encodeDocument(editor, table, tones);
    EXPECT_EQ(editor.text(), "&Auml;rger\n&uuml;ber &uuml;ber\nEnde");
}

TEST_F(HtmlCommandsTest, MathModeInsertsTheMarkerBehindTheTitleOrInFront) {
    MemoryEditor page("<html><head><title>x</title></head>\n<body>\xA5</body></html>");
    dialogs.expectInform(html::kMsgMathOn);
    html::setMathMode(true, page, table, dialogs);
    EXPECT_TRUE(table.mathMode());
    EXPECT_EQ(page.text(), "<html><head><title>x</title>\n    <!-- Mathematischer Text --></head>\n<body>\xA5</body></html>");
    EXPECT_EQ(table.encode("\xA5"), "&radic;");

    dialogs.expectInform(html::kMsgMathOn);
    html::setMathMode(true, page, table, dialogs);  // the marker is there already
    EXPECT_EQ(page.text().find(kMathMarker), page.text().rfind(kMathMarker));

    MemoryEditor plain("a\xDA" "b");
    dialogs.expectInform(html::kMsgMathOn);
    html::setMathMode(true, plain, table, dialogs);
    EXPECT_EQ(plain.text(), "<!-- Mathematischer Text -->\na\xDA" "b");

    dialogs.expectInform(html::kMsgMathOff);
    html::setMathMode(false, plain, table, dialogs);
    EXPECT_FALSE(table.mathMode());
    EXPECT_EQ(table.encode("\xA5"), "&yen;");
}

TEST_F(HtmlCommandsTest, AngleCommandsNeedASelectionAndEndEveryLine) {
    MemoryEditor editor("<b>x</b>\n<i>");
    dialogs.expectInform("Zeilen sind noch nicht markiert!");
    html::anglesToGuillemets(editor, dialogs);
    editor.setSelection(0, 12);
    html::anglesToGuillemets(editor, dialogs);
    EXPECT_EQ(editor.text(), "\xAB" "b\xBBx\xAB/b\xBB\n\xABi\xBB\n");
    editor.setSelection(0, static_cast<int>(editor.text().size()));
    html::guillemetsToAngles(editor, dialogs);
    EXPECT_EQ(editor.text(), "<b>x</b>\n<i>\n");
}

TEST_F(HtmlCommandsTest, CodePageRepairs) {
    MemoryEditor dos("\x84rger \x81" "ber Stra\xE1" "e");
    html::repairDosUmlauts(dos, tones);
    EXPECT_EQ(dos.text(), "\xE4rger \xFC" "ber Stra\xDF" "e");
    EXPECT_EQ(html::atildeToAnsi("\xC3\xA4 \xE2\x80\x9E" "a\xE2\x80\x9C \xE2\x80\x99"), "\xE4 \"a\" '");
    EXPECT_EQ(html::quotedPrintableToAnsi("Gr=C3=BC=C3=9Fe=20an=\r\nalle =E2=80=9Ex=E2=80=9C"),
              "Gr\xFC\xDF" "e analle \"x\"");

    MemoryEditor mail("eins zwei=\r\ndrei vier");
    dialogs.expectAskNumber("Wie lang soll eine Zeile maximal werden?", 9);
    html::repairQuotedPrintable(mail, dialogs, tones, notice);
    EXPECT_EQ(mail.text(), "eins\nzweidrei\nvier");
    EXPECT_EQ(notices, std::vector<std::string>{"|Beim gesamten Text werden zu lange Zeilen umgebrochen (ohne Zeilenausgleich)|"});
}

TEST(LineWrap, WrapsAtTheLastBlankWithinTheWidth) {
    using V = std::vector<std::string>;
    EXPECT_EQ(linewrap::wrapLine("kurz", 10), V{"kurz"});
    EXPECT_EQ(linewrap::wrapLine("eins zwei drei vier", 10), (V{"eins zwei", "drei vier"}));
    EXPECT_EQ(linewrap::wrapLine("Donaudampfschiff fahrt", 10), V{"Donaudampfschiff fahrt"});
    EXPECT_EQ(linewrap::wrapLine(" abcdefghijkl", 5), V{" abcdefghijkl"});  // a blank at position 1 does not count
    EXPECT_EQ(linewrap::wrapLine("abc defg    ", 5), (V{"abc", "defg"}));
    EXPECT_EQ(linewrap::wrapParagraphs("eins  \r\nzwei\r\n\r\ndrei vier fuenf", 9),
              "eins zwei\r\n\r\ndrei\r\nvier\r\nfuenf");
}

TEST(SpecialCharacters, KeysGiveTheirSnippets) {
    using special::Outcome;
    const std::string today = "10.12.2026";
    EXPECT_EQ(special::pressKey('\x08', "", today).text, "<br>");  // Ctrl+H twice
    EXPECT_EQ(special::pressKey('b', "fett", today).text, "<b>fett</b>");
    EXPECT_EQ(special::pressKey('c', "x", today).text, "align=centerx");
    EXPECT_EQ(special::pressKey('l', "a\r\nb", today).text, "<li class=\"\">  a\r\n  b\r\n</li>");
    EXPECT_EQ(special::pressKey('9', "", today).text, "<ol type=\"1\"></ol>");
    EXPECT_EQ(special::pressKey('H', "", today).text, today);
    EXPECT_EQ(special::pressKey('D', "", today).text, "\xD0");  // the first row with key D wins
    EXPECT_EQ(special::pressKey('\x1b', "x", today).outcome, Outcome::Cancel);
    EXPECT_EQ(special::pressKey('_', "x", today).outcome, Outcome::Ignored);
    EXPECT_EQ(special::pressKey('Q', "x", today).outcome, Outcome::Unknown);
    const auto quote = special::pressKey('"', "\"Zitat\"", today);
    EXPECT_EQ(quote.outcome, Outcome::Quote);
    EXPECT_EQ(quote.text, "\x84Zitat\x93");
    EXPECT_EQ(special::caretAfterInsert("<b></b>", 10, false), 13);
    EXPECT_EQ(special::caretAfterInsert("<b></b>", 0, false), -1);
    EXPECT_EQ(special::caretAfterInsert("<b>x</b>", 10, true), -1);
    EXPECT_EQ(special::rows(today).front().remark, "Zeile umbrechen und Leerstelle");
    EXPECT_EQ(special::rows(today)[3].remark, " mögliche Worttrennung");
}
