#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "MemoryEditor.h"
#include "ScriptedDialogs.h"
#include "common/Text.h"
#include "html/convert/TableCommands.h"
#include "html/convert/TableConversion.h"
#include "html/convert/TableTokens.h"
#include "shell/editing/Search.h"
#include "tables/SheetFields.h"

using namespace pictra;
using namespace pictra::html::convert;

namespace {

// The token rule written as the plain recursion, the reference for the reader.
void literalTokens(const std::string& text, std::vector<std::string>& out) {
    static const char* kinds[] = {"<tr", "<th", "<td", "</tr", "</th", "</td"};
    static const char* marks[] = {"<tr>", "<td>", "<td>", "</tr>", "</td>", "</td>"};
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (int k = 0; k < 6; ++k) {
        const size_t at = lower.find(kinds[k]);
        if (at == std::string::npos) continue;
        literalTokens(text.substr(0, at), out);
        out.emplace_back(marks[k]);
        const size_t gt = text.find('>', at);
        if (gt != std::string::npos) literalTokens(text.substr(gt + 1), out);
        return;
    }
    const std::string piece = text::trim(text);
    if (!piece.empty()) out.push_back(piece);
}

// The repeated passes of tab alignment, as first written.
std::vector<std::string> literalTabs(std::vector<std::string> lines) {
    for (auto& l : lines) {
        for (char& c : l) {
            if (static_cast<unsigned char>(c) < 32 && c != '\t') c = ' ';
        }
        while (!l.empty() && l.back() == ' ') l.pop_back();
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    while (std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.find('\t') != std::string::npos; })) {
        size_t longest = 0;
        for (const auto& l : lines) longest = std::max(longest, std::min(l.find('\t'), l.size()));
        for (auto& l : lines) {
            const size_t tab = l.find('\t');
            std::string head = l.substr(0, tab);
            const std::string tail = tab == std::string::npos ? "" : l.substr(tab + 1);
            head.resize(longest + 1, ' ');
            l = head + tail;
        }
    }
    return lines;
}

std::vector<std::string> tokensOf(const std::string& line) {
    TableTokens t;
    appendLineTokens(line, t);
    return t.tokens;
}

}  // namespace

TEST(TableTokens, EqualTheRecursiveRuleOnRandomLinesMalformedOnesToo) {
    const std::vector<std::string> parts = {"<tr>", "<TR class=a>", "<td>", "<td class=x>", "<th>", "</td>", "</TH>",
                                            "</tr>", "<b>", "</b>", "x", " yz ", "<td", ">", "<", "<thead>", "3 < 5"};
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        std::string line;
        const int n = static_cast<int>(random() % 9);
        for (int i = 0; i < n; ++i) line += parts[random() % parts.size()];
        std::vector<std::string> expected;
        literalTokens(line, expected);
        ASSERT_EQ(tokensOf(line), expected) << line;
    }
}

TEST(TableTokens, AMegabyteLineNeitherOverflowsNorRescans) {
    std::string line = "<tr>";
    for (int i = 0; i < 100000; ++i) line += "<td>ab</td>";
    const auto tokens = tokensOf(line);
    ASSERT_EQ(tokens.size(), 1u + 3u * 100000u);
    EXPECT_EQ(tokens[1], "<td>");
    EXPECT_EQ(tokens[2], "ab");
}

TEST(StarToHtml, RowsCellsAndMessages) {
    const std::string table = "*     *     *\r\nName  Ort   Note\r\nAnna        1\r\nBernd Bonn  2";
    const Converted c = starToHtml(table);
    ASSERT_TRUE(c.text);
    EXPECT_EQ(*c.text,
              "<table border=1>\r\n"
              "  <tr><td>Name</td><td>Ort</td><td>Note</td></tr>\r\n"
              "  <tr><td>Anna</td><td>&nbsp;</td><td>1</td></tr>\r\n"
              "  <tr><td>Bernd</td><td>Bonn</td><td>2</td></tr>\r\n"
              "</table>");
    EXPECT_EQ(*starToHtml("<pre>\r\n" + table + "\r\n</pre>").text, *c.text);
    const struct {
        const char* input;
        const char* message;
    } bad[] = {{"", "1. Text muss ausgewählt sein.\r2. Ausgewählter Text muss mit \"* ....\" beginnen!"},
               {"Name Ort", "1. Text muss ausgewählt sein.\r2. Ausgewählter Text muss mit \"* ....\" beginnen!"},
               {"*", "Keine Tabelle! (1. Zeile: \"*  ...\")"},
               {"*\r\n\r\n", "Keine Tabelle! (1. Zeile: \"*  ...\")"}};
    for (const auto& b : bad) {
        const Converted r = starToHtml(b.input);
        EXPECT_FALSE(r.text) << b.input;
        EXPECT_EQ(r.message, b.message) << b.input;
    }
}

TEST(HtmlToStar, CellsOfTheGrid) {
    const struct {
        const char* html;
        tables::Grid grid;
    } cases[] = {
        {"<table border=1>\r\n<tr><th>Mo</th><td class=x>Mathe</td></tr>\r\n</table>", {{"Mo", "Mathe"}}},
        {"<table><tr><td><b>fett</b>&nbsp;</td></tr></table>", {{"<b>fett</b>"}}},
        {"<table>\r\n<tr><td>a</td><td>b</td><td>c</td></tr>\r\n<tr><td>d</td><td>e</td></tr>\r\n</table>",
         {{"a", "b", "c"}, {"d", "e", ""}}},
        // A cell written over two lines keeps both, and a tag split over lines is read whole.
        {"<table>\r\n<tr><td>erste\r\nzweite</td></tr>\r\n</table>", {{"erste zweite"}}},
        {"<table>\r\n<tr><td\r\nclass=x>Zelle</td></tr>\r\n</table>", {{"Zelle"}}},
        {"<TABLE>\r\n<TR><TD>gross</TD></TR></TABLE>", {{"gross"}}},
    };
    for (const auto& c : cases) {
        const ParsedTable p = readHtmlTable(c.html);
        EXPECT_EQ(p.message, "") << c.html;
        EXPECT_EQ(p.grid, c.grid) << c.html;
    }
    const struct {
        const char* html;
        const char* message;
    } bad[] = {{"<table><td>vor der Zeile</td><tr><td>a</td></tr></table>", "Diese Tabelle ist zu kompliziert"},
               {"<table><tr><td>a<table><tr><td>b</td></tr></table></td></tr></table>",
                "Diese Tabelle ist zu kompliziert\r(Eine Tabelle in der Tabelle)"},
               {"<table><tr><td class=x", "Diese Tabelle ist zu kompliziert\r(Ein \"<tr\"- oder \"<td\"-Tag ist nicht "
                                          "mit \">\" geschlossen)"},
               {"<table>nur Text</table>", "Diese Tabelle ist zu kompliziert"}};
    for (const auto& b : bad) EXPECT_EQ(readHtmlTable(b.html).message, b.message) << b.html;
}

TEST(HtmlToStar, RoundTripAndTagBlanking) {
    const std::string star = "*     *     *\r\nName  Ort   Note\r\nAnna        1\r\nBernd Bonn  2";
    const ParsedTable back = readHtmlTable(*starToHtml(star).text);
    EXPECT_EQ(starTableBlock(back.grid),
              "<pre>\r\n*     *    *    \r\nName  Ort  Note \r\nAnna       1    \r\nBernd Bonn 2    \r\n</pre>");
    EXPECT_EQ(blankTags("<b>fett</b> 3 < 5\r\n<i>x"), "   fett     3 < 5\r\n   x");
    EXPECT_EQ(blankTags("a <b\r\nc>"), "a <b\r\nc>");
}

TEST(HtmlToStar, CommandAsksAndChangesNothingOnFailure) {
    test::MemoryEditor view("<table><tr><td>a</td><td><b>b</b></td></tr></table>");
    view.setSelection(0, static_cast<int>(view.text().size()));
    {
        test::ScriptedDialogs dialogs;
        dialogs.expectAsk(kHtmlToStarQuestion, Answer::No);
        EXPECT_FALSE(htmlTableToStar(view, dialogs, true));
    }
    {
        test::ScriptedDialogs dialogs;
        dialogs.expectAsk("Alle HTML-Tags entfernen?", Answer::Yes);
        EXPECT_TRUE(htmlTableToStar(view, dialogs, false));
        EXPECT_EQ(view.text(), "     \n* *        \na    b     \n      ");
    }
    test::MemoryEditor wrong("Text <table>");
    wrong.setSelection(0, 4);
    test::ScriptedDialogs dialogs;
    dialogs.expectInform("1. Text muss ausgewählt sein.\r2. Ausgewählter Text muß mit \"<table\" beginnen!");
    EXPECT_FALSE(htmlTableToStar(wrong, dialogs, false));
    EXPECT_EQ(wrong.text(), "Text <table>");
}

TEST(TableLayout, RowsAndCellsOneALine) {
    const std::string header = "<table border=1><!-- =================== Tabelle ===================== -->\r\n"
                               "                <!-- <tr>(Beginn) neue Zeile  </tr> (Ende) -->\r\n"
                               "                <!-- <td>(Beginn) neue Spalte </td> (Ende) -->\r\n";
    const std::string footer = "</table><!-- ================ Ende Tabelle =================== -->\r\n";
    const Converted c = layoutTable("<table>\r\n<tr bgcolor=silver><th>Mo</th><td> Mathe </td><TD></TD></tr>\r\n"
                                    "<TR><td>x</td></TR>\r\n</table>");
    ASSERT_TRUE(c.text) << c.message;
    EXPECT_EQ(*c.text, header + "  <tr bgcolor=silver>\r\n    <th>Mo</th>\r\n    <td>Mathe</td>\r\n    <TD>-</TD>\r\n"
                                "  </tr>\r\n  <TR>\r\n    <td>x</td>\r\n  </TR>\r\n" + footer);
    const struct {
        const char* input;
        const char* message;
    } bad[] = {{"<table><tr><td>a</td></tr></table>", "Bitte die Tabelle markieren!"},
               {"x\r\n<table><tr><td>a</td></tr></table>", "Die erste Zeile muss mit \"<table\" beginnen!"},
               {"<table>\r\n<tr><td>a</td></tr>", "Die letze Zeile  \"</table\" enthalten"},
               {"<table>\r\n<tr><td>a</td>\r\n</table>", "Abbruch: Kein passendes \"</tr>\" vorhanden!"},
               {"<table>\r\n<tr><th>a</tr>\r\n</table>", " in \"<th>a\" fehlt \" ein \"</th>\""},
               {"<table>\r\n<tr><td>a</tr>\r\n</table>", " in \"<td>a\" fehlt \" ein \"</td>\""},
               {"<table>\r\nText\r\n</table>", "Abbruch: Kein \"<tr>\" in der Tabelle gefunden!"}};
    for (const auto& b : bad) {
        const Converted r = layoutTable(b.input);
        EXPECT_FALSE(r.text) << b.input;
        EXPECT_EQ(r.message, b.message) << b.input;
    }
}

TEST(ListsAndPrefixes, LineCommands) {
    const std::vector<std::string> lines = {"eins", "<br>zwei"};
    EXPECT_EQ(wrapInList(lines), "<ul>\r\n<li>eins</li>\r\n<li><br>zwei</li>\r\n</ul>\r\n");
    EXPECT_EQ(breakBeforeLines(lines), "<br> eins\r\n<br> <br>zwei\r\n");
    EXPECT_EQ(spaceBeforeLines(lines), "&nbsp; eins\r\n<br> &nbsp;zwei\r\n");
    test::MemoryEditor view("a\nb");
    test::ScriptedDialogs dialogs;
    dialogs.expectAsk("Den ganzen Text?", Answer::No).expectAsk("Den ganzen Text?", Answer::Yes);
    EXPECT_FALSE(rewriteSelectedLines(view, dialogs, wrapInList));
    EXPECT_EQ(view.text(), "a\nb");
    EXPECT_TRUE(rewriteSelectedLines(view, dialogs, wrapInList));
    EXPECT_EQ(view.text(), "<ul>\n<li>a</li>\n<li>b</li>\n</ul>\n");
}

TEST(TabsToTable, OnePassEqualsTheRepeatedPasses) {
    int tones = 0;
    const auto tone = [&] { ++tones; };
    EXPECT_EQ(search::tabsToTable({"a\tbb", "ccc\td"}, tone), (std::vector<std::string>{"a   bb", "ccc d"}));
    EXPECT_EQ(tones, 1);
    const std::string alphabet = "ab \t\t\x01 ";
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::string> lines(random() % 5);
        for (auto& l : lines) {
            const int n = static_cast<int>(random() % 8);
            for (int i = 0; i < n; ++i) l += alphabet[random() % alphabet.size()];
        }
        ASSERT_EQ(search::tabsToTable(lines, [] {}), literalTabs(lines)) << text::joinLines(lines, "|");
    }
}

TEST(CsvToHtml, HeaderSpreadLongWordsBrokenQuotes) {
    const Converted c = csvToTable("Name;Ort\r\n\"M\x84\x93ller; A\";abcdefghijklmnopqrstuvwxy\r\n\r\n");
    ASSERT_TRUE(c.text) << c.message;
    EXPECT_EQ(*c.text, "<table border=\"1\">\r\n"
                       "  <tr>    <th>N a m e</th>\r\n    <th>O r t</th>\r\n</tr>\r\n"
                       "  <tr>    <td>Mller; A</td>\r\n    <td>abcdefghijk lmnopqrstuv wxy</td>\r\n</tr>\r\n"
                       "</table>");
    const Converted open = csvToTable("a;b\r\n\"offen;c");
    EXPECT_FALSE(open.text);
    EXPECT_EQ(open.message, "In Zeile 2 fehlt ein schließendes Anführungszeichen (\"). Die Datei bleibt unverändert.");
    EXPECT_EQ(csvToTable(" \r\n").message, "Die Datei enthält keine Zeile mit Daten.");
    EXPECT_EQ(htmlFileName("/home/a/liste.csv"), "/home/a/liste.html");
    EXPECT_EQ(htmlFileName("/home/a.b/liste"), "/home/a.b/liste.html");
}

namespace {

// The field rule read one character at a time, the reference for the reader.
std::vector<std::string> literalFields(const std::string& line, char separator, bool& open) {
    std::vector<std::string> fields(1);
    open = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char ch = line[i];
        if (open) {
            if (ch == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (ch == '"') {
                open = false;
            } else {
                fields.back() += ch;
            }
        } else if (ch == '"' && text::trim(fields.back()).empty()) {
            fields.back().clear();
            open = true;
        } else if (ch == separator) {
            fields.emplace_back();
        } else {
            fields.back() += ch;
        }
    }
    return fields;
}

}  // namespace

TEST(SeparatedFields, EqualTheCharacterRuleWithReusedFields) {
    std::mt19937 random(11);
    const std::string alphabet = "ab ;\"\t";
    std::vector<std::string> reused;
    for (int round = 0; round < 5000; ++round) {
        std::string line;
        const int n = static_cast<int>(random() % 14);
        for (int i = 0; i < n; ++i) line += alphabet[random() % alphabet.size()];
        bool open = false;
        const std::vector<std::string> expected = literalFields(line, ';', open);
        bool unbalanced = !open;
        const size_t count = tables::splitSeparated(line, ';', reused, &unbalanced);
        ASSERT_EQ(std::vector<std::string>(reused.begin(), reused.begin() + static_cast<long>(count)), expected)
            << line;
        ASSERT_EQ(unbalanced, open) << line;
        ASSERT_EQ(tables::splitSeparated(line, ';'), expected) << line;
    }
}

TEST(WikiTable, RowsColumnsAndName) {
    EXPECT_EQ(wikiTable({"eins  ", "  ", "zwei"}), "{| class=\"wikitable\"\r\n|-\r\n|eins\r\n|-\r\n|zwei\r\n|}\r\n");
    EXPECT_EQ(wikiFileName("/a/t.txt"), "/a/t.txtwikitable");
    EXPECT_EQ(wikiFileName("/a/wikitable.txt"), "/a/wikitable.txt");
    EXPECT_EQ(insertWikiColumn({"kopf", "|ab cd", "|-", "xy", "|}", "ab"}, 1, 3),
              (std::vector<std::string>{"kopf", "|ab|| cd", "|-", "|xy ||", "|}", "ab"}));
    test::MemoryEditor view("|ab\n!cdef\n|}\nzz");
    view.setCaret(2);
    insertWikiColumnAtCaret(view);
    EXPECT_EQ(view.text(), "|a||b\n!c||def\n|}\nzz");
}

TEST(TableScale, WideRowsBigCellsAndControlBytesConvert) {
    // 1,000 columns, a cell of a megabyte, and NUL and control bytes kept as they are.
    std::string row = "<table>\r\n<tr>";
    for (int c = 0; c < 1000; ++c) row += "<td>" + std::to_string(c) + "</td>";
    row += "</tr>\r\n<tr><td>" + std::string(1 << 20, 'x') + "</td><td>a" + std::string(1, '\0') + "\x01" +
           "b</td></tr>\r\n</table>";
    const ParsedTable p = readHtmlTable(row);
    ASSERT_EQ(p.message, "");
    ASSERT_EQ(p.grid.size(), 2u);
    ASSERT_EQ(p.grid[0].size(), 1000u);
    EXPECT_EQ(p.grid[0][999], "999");
    EXPECT_EQ(p.grid[1][0].size(), 1u << 20);
    EXPECT_EQ(p.grid[1][1], std::string("a") + '\0' + "\x01" + "b");
    // 100,000 rows on one line: no recursion, so no stack to overflow.
    std::string oneLine = "<table>";
    for (int r = 0; r < 100000; ++r) oneLine += "<tr><td>z</td></tr>";
    oneLine += "</table>";
    EXPECT_EQ(readHtmlTable(oneLine).grid.size(), 100000u);
    const Converted laid = layoutTable("<table>\r\n" + oneLine.substr(7, 19 * 1000) + "\r\n</table>");
    ASSERT_TRUE(laid.text) << laid.message;
    EXPECT_EQ(std::count(laid.text->begin(), laid.text->end(), '\n'), 3 + 3 * 1000 + 1);
}

namespace {

// A selection of more than a megabyte for each command, so that it runs with the cancel window.
struct LongConversion {
    const char* name;
    std::string text;
    bool (*run)(EditorView&, Dialogs&);
};

std::vector<LongConversion> longConversions() {
    std::string star = "*     *     *\n";
    std::string html = "<table>\n";
    for (int i = 0; i < 60000; ++i) {
        star += "aaaaa bbbbb ccccc\n";
        html += "<tr><td>aaaaa</td><td>bbbbb</td></tr>\n";
    }
    html += "</table>";
    return {{"star", star, [](EditorView& v, Dialogs& d) { return starTableToHtml(v, d, false); }},
            {"html", html, [](EditorView& v, Dialogs& d) { return htmlTableToStar(v, d, false); }},
            {"layout", html, [](EditorView& v, Dialogs& d) { return structureTable(v, d); }}};
}

}  // namespace

TEST(TableScale, LongConversionsStopInTheCancelWindowAndChangeNothing) {
    for (const LongConversion& c : longConversions()) {
        ASSERT_GE(c.text.size(), kCancelWindowFrom) << c.name;
        test::MemoryEditor view(c.text);
        view.setSelection(0, static_cast<int>(view.text().size()));
        test::ScriptedDialogs dialogs;
        dialogs.clickCancelAtStep(2);
        EXPECT_FALSE(c.run(view, dialogs)) << c.name;
        EXPECT_EQ(view.text(), c.text) << c.name;
        EXPECT_EQ(dialogs.cancelSteps(), 2) << c.name;
        EXPECT_FALSE(dialogs.cancelWindowVisible()) << c.name;
        // Not stopped, the same command converts, the window polled all along and closed before anything is asked.
        test::ScriptedDialogs patient;
        if (std::string(c.name) == "html") patient.expectAsk("Alle HTML-Tags entfernen?", Answer::No);
        EXPECT_TRUE(c.run(view, patient)) << c.name;
        EXPECT_NE(view.text(), c.text) << c.name;
        EXPECT_GT(patient.cancelSteps(), 10) << c.name;
        EXPECT_FALSE(patient.cancelWindowVisible()) << c.name;
    }
    // CSV, converted as a whole file by the window, stops the same way.
    std::string csv;
    for (int i = 0; i < 5000; ++i) csv += "a;b\r\n";
    int asked = 0;
    const Converted stopped = csvToTable(csv, [&asked] { return ++asked < 3; });
    EXPECT_FALSE(stopped.text);
    EXPECT_EQ(stopped.message, "");
    EXPECT_EQ(asked, 3);
    // A small text never opens the window.
    test::MemoryEditor small("*  *\na  b\n");
    small.setSelection(0, static_cast<int>(small.text().size()));
    test::ScriptedDialogs dialogs;
    EXPECT_TRUE(starTableToHtml(small, dialogs, false));
    EXPECT_EQ(dialogs.cancelSteps(), 0);
}
