#include <algorithm>
#include <gtest/gtest.h>

#include "MemoryEditor.h"
#include "ScriptedDialogs.h"
#include "common/Text.h"
#include "html/StyleChoice.h"
#include "shell/editing/LineTools.h"
#include "shell/editing/LineWrap.h"
#include "shell/editing/SelectionTools.h"

using namespace pictra;
using namespace pictra::linetools;

TEST(LineBufferTest, ThreeLinesComeBackInTheirOrder) {
    test::MemoryEditor view("a\nb\nc\nrest");
    LineBuffer buffer;
    for (int i = 0; i < 3; ++i) buffer.cutLine(view);
    EXPECT_EQ(view.text(), "rest");
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(buffer.insertLine(view));
    EXPECT_EQ(view.text(), "a\nb\nc\nrest");
    EXPECT_FALSE(buffer.insertLine(view));
    view.setCaret(2);  // line "b"
    buffer.keepLine(view);
    EXPECT_EQ(buffer.text(), "b");
    EXPECT_EQ(view.text(), "a\nb\nc\nrest");
}

TEST(RectangleTest, ExampleColumnCutAndPastedBack) {
    const std::vector<std::string> lines = rectangleExample();
    const std::vector<std::string> block(lines.end() - 5, lines.end());
    // From the first "1" to behind the blank after the last "5".
    const int start = 4;
    const int length = offsetOf(block, 4, 8) - start;
    const std::string selected = text::replaceAll(text::joinLines(block, "\n").substr(4, static_cast<size_t>(length)), "\n", "\r\n");
    const Rectangle cut = takeRectangle(block, start, length, selected, true);
    EXPECT_EQ(cut.clipboard, "111 \r\n222 \r\n333 \r\n444 \r\n555 \r\n");
    EXPECT_EQ(cut.lines, (std::vector<std::string>{"aaa iii", "bbb iii", "ccc iii", "ddd iii", "eee iii"}));
    EXPECT_EQ(pasteRectangle(cut.lines, 0, 4, cut.clipboard), block);
    EXPECT_EQ(rectangleMessage("x\r\n"), "In der Zwischenablage befindet sich folgender Text:\rx\r\n");
    // The end column left of the start: the selection's length is the right edge.
    const Rectangle copy = takeRectangle({"abcdef", "ghijkl"}, 3, 5, "def\r\ng", false);
    EXPECT_EQ(copy.clipboard, "de\r\njk\r\n");
    EXPECT_EQ(copy.lines[0], "abcdef");
}

TEST(RectangleTest, PastingBeyondTheEndLengthensInStepsOfFive) {
    EXPECT_EQ(pasteRectangle({"erste", "zweite Zeile"}, 1, 7, "A\r\nB\r\nC\r\n"),
              (std::vector<std::string>{"erste", "zweite AZeile", "       B   ", "       C   "}));
}

// Enough lines for both cores, many sharing their first 16 bytes, some a zero
// byte where a shorter line ends: the order must be plain byte order.
TEST(LineToolsTest, ALongSortIsByteOrder) {
    std::vector<std::string> lines;
    std::uint32_t seed = 7;
    for (int i = 0; i < 60000; ++i) {
        seed = seed * 1103515245u + 12345u;
        std::string line = (seed >> 28) % 2 ? "Gemeinsamer Anfang " : "";
        line += std::to_string((seed >> 8) % 5000);
        if (seed % 7 == 0) line.push_back('\0');
        if (seed % 11 == 0) line += "\xFC";
        lines.push_back(line);
    }
    lines.push_back("");  // an odd count, and an empty line
    std::vector<std::string> expected = lines;
    std::sort(expected.begin(), expected.end());
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    // Compared as a flag: a failing comparison of megabytes would swamp the report.
    const std::string sorted = sortedText(text, false, "\r\n");
    const std::string joined = text::joinLines(expected, "\r\n");
    EXPECT_EQ(sorted.size(), joined.size());
    const size_t differs = std::mismatch(sorted.begin(), sorted.end(), joined.begin(), joined.end()).first - sorted.begin();
    EXPECT_EQ(differs, sorted.size()) << sorted.substr(differs > 40 ? differs - 40 : 0, 80) << "\n-----\n" << joined.substr(differs > 40 ? differs - 40 : 0, 80);
    sortAlphabetically(lines);
    EXPECT_EQ(lines, expected);
    std::vector<std::string> numeric;
    for (int i = 0; i < 30000; ++i) numeric.push_back("Wert " + std::to_string((i * 7919) % 30000));
    sortNumerically(numeric);
    for (int i = 0; i < 30000; ++i) ASSERT_EQ(numeric[static_cast<size_t>(i)], "Wert " + std::to_string(i));
}

TEST(LineToolsTest, SortingWrappingAndCleaning) {
    std::vector<std::string> lines{"x 10", "y 9", "z -3", "1.2.3"};
    sortNumerically(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"z -3", "1.2.3", "y 9", "x 10"}));
    lines = {"b", "\xE4", "B", "a"};
    sortAlphabetically(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"B", "a", "b", "\xE4"}));  // capitals first, accents after "z"
    EXPECT_EQ(sortedText("b\r\nZ\ra\n\xE4\n", false, "|"), "Z|a|b|\xE4");
    EXPECT_EQ(sortedText("x 10\ny 9\nz -3", true, "\n"), "z -3\ny 9\nx 10");
    lines = {"zwei", "eins"};
    sortAlphabetically(lines);
    EXPECT_EQ(lines.front(), "eins");
    EXPECT_EQ(linewrap::wrapLine("aaa bbb ccc", 5), (std::vector<std::string>{"aaa", "bbb", "ccc"}));
    EXPECT_EQ(linewrap::wrapLine("langeswort", 5), std::vector<std::string>{"langeswort"});
    EXPECT_EQ(withoutEmptyLines({"a  ", "   ", "", "b"}), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(withoutBlankLines({"a  ", "   ", "", "b"}), (std::vector<std::string>{"a  ", "b"}));
    EXPECT_EQ(trimmedLines({"a  ", "", " b ", " ", ""}), (std::vector<std::string>{"a", "", " b"}));
    EXPECT_EQ(shiftRight({"a", "b"}, 1, 3, 2), (std::vector<std::string>{"a", "  b", "  ", "  "}));
}

TEST(LineToolsTest, SpareLineAndVirtualSpace) {
    std::vector<std::string> lines{"ab", "abcdef"};
    EXPECT_TRUE(addSpareLine(lines, 1, 3));
    EXPECT_EQ(lines.back(), "    ");
    EXPECT_FALSE(addSpareLine(lines, 1, 3));
    lines = {"a", "abcdef", ""};
    EXPECT_TRUE(lengthenAroundCaret(lines, 1, 4));
    EXPECT_EQ(lines, (std::vector<std::string>{"a    ", "abcdef", "     "}));
    EXPECT_FALSE(lengthenAroundCaret(lines, 1, 4));
}

TEST(LineToolsTest, ShiftRightAsksForOneToEighty) {
    test::MemoryEditor view("eins\nzwei\ndrei");
    test::ScriptedDialogs dialogs;
    SettingsStore store;
    view.setSelection(0, 6);
    dialogs.expectAskNumber("Wieviel?", 81).expectInform("Eine Zahl zwischen 1 und 80 eingeben!");
    shiftSelectionRight(view, dialogs, store);
    EXPECT_EQ(view.text(), "eins\nzwei\ndrei");
    dialogs.expectAskNumber("Wieviel?", 2);
    shiftSelectionRight(view, dialogs, store);
    EXPECT_EQ(view.text(), "  eins\n  zwei\ndrei");
    EXPECT_EQ(store.readValue("Leerzeichen", "Leerzeichen"), "2");
}

TEST(SelectionToolsTest, KeysAreNormalisedAndToolsWork) {
    struct Case {
        int code;
        char key;
    };
    for (const Case c : {Case{1, 'a'}, Case{'A', 'a'}, Case{'a', 'a'}, Case{'0', '0'}, Case{'9', '9'}, Case{'>', '>'},
                         Case{7, 'g'}}) {
        EXPECT_EQ(ctrlAKey(c.code), c.key) << c.code;
    }
    struct NoServices : selectiontools::Services {
        std::string clip = "Wort&shy;trennung\tmit Tab";
        std::string clipboardText() override { return clip; }
        void setClipboardText(const std::string& t) override { clip = t; }
        void print(const std::string&) override {}
        void spellCheck(const std::string&) override {}
        void tableConversion(bool) override {}
    } services;
    test::ScriptedDialogs dialogs;
    SettingsStore store;
    test::MemoryEditor view("gro\xDF und klein\n\n   \nzwei");
    EXPECT_TRUE(selectiontools::runTool('g', view, dialogs, store, services));  // nothing selected: the whole text
    EXPECT_EQ(view.text(), "GRO\xDF UND KLEIN\n\n   \nZWEI");
    view.setSelection(0, static_cast<int>(view.text().size()));
    EXPECT_TRUE(selectiontools::runTool('e', view, dialogs, store, services));
    EXPECT_EQ(view.text(), "GRO\xDF UND KLEIN\nZWEI\n");
    view.setSelection(0, 20);
    dialogs.expectEditText("An jede Zeile wird vorne was drangehängt (Kann auch mehrzeilig sein)", "- ");
    EXPECT_TRUE(selectiontools::runTool('y', view, dialogs, store, services));
    EXPECT_EQ(view.text(), "- GRO\xDF UND KLEIN\n- ZWEI\n");
    view.setCaret(0);
    EXPECT_TRUE(selectiontools::runTool('v', view, dialogs, store, services));
    EXPECT_EQ(view.text().substr(0, 22), "Worttrennung mit Tab- ");
    EXPECT_FALSE(selectiontools::runTool('q', view, dialogs, store, services));
}

TEST(SelectionToolsTest, SortingWholeLinesKeepsTheLineAfterTheSelectionApart) {
    struct NoServices : selectiontools::Services {
        std::string clipboardText() override { return {}; }
        void setClipboardText(const std::string&) override {}
        void print(const std::string&) override {}
        void spellCheck(const std::string&) override {}
        void tableConversion(bool) override {}
    } services;
    SettingsStore store;
    const struct {
        int length;  // of the selection from the start of "b\nc\na\nz"
        const char* expected;
    } cases[] = {
        {6, "a\nb\nc\nz"},   // three whole lines with their line break
        {5, "a\nb\nc\nz"},   // without its break selected, the break after the selection stays
    };
    for (const auto& c : cases) {
        test::ScriptedDialogs dialogs;
        test::MemoryEditor view("b\nc\na\nz");
        view.setSelection(0, c.length);
        dialogs.expectEditText("Geordnet", "a\r\nb\r\nc");
        EXPECT_TRUE(selectiontools::runTool('o', view, dialogs, store, services));
        EXPECT_EQ(view.text(), c.expected) << c.length;
    }
}

TEST(RectangleTest, ExampleIsWindows1252) {
    const std::string all = text::joinLines(rectangleExample());
    EXPECT_NE(all.find("W\xE4hlen"), std::string::npos);
    EXPECT_EQ(all.find("\xC3"), std::string::npos);
}

TEST(StyleChoiceTest, ElementsAndStyles) {
    html::StyleChoice c;
    EXPECT_EQ(html::applyStyle(c, "Text"), "Text");
    c.bold = true;
    EXPECT_EQ(html::applyStyle(c, "Text"), "<span  style=\"font-weight:bold;\">Text</span>");
    c.bold = false;
    c.element = html::Element::Div;
    c.frame = true;
    c.colour = "rot";
    c.alignment = "zentriert";
    EXPECT_EQ(html::applyStyle(c, "Zeile 1\r\nZeile 2"),
              "\r\n     <br><br><div  style=\"border: 1px solid #D7C0DC; padding: 1em;text-align:center;color:#FF0000;\">"
              "Zeile 1\r\n     Zeile 2</div>");
    EXPECT_EQ(html::colourValue("dunkelrot"), "#800000");
    EXPECT_EQ(html::colourValue("hellblau"), "#00FFFF");  // two blanks before the value
    EXPECT_EQ(html::colourValue("lila"), html::kUnchanged);
    EXPECT_EQ(html::colourTable().size(), 33u);
}
