#include <gtest/gtest.h>

#include "ScriptedDialogs.h"
#include "common/Text.h"
#include "tables/HtmlTableWriter.h"
#include "tables/SheetComputing.h"
#include "tables/SheetDocument.h"
#include "tables/SheetFields.h"
#include "tables/SheetPrint.h"

using namespace pictra;
using namespace pictra::tables;

namespace {

struct SheetTest : ::testing::Test {
    test::ScriptedDialogs dialogs;
    SettingsStore store;
    Sheet sheet;
    std::vector<int> marks;
    SheetContext context{sheet, dialogs, store, "Tabellenberechnung!", [this](int f) { marks.push_back(f); }};

    void load(const std::vector<std::string>& lines) { sheet.rows = readStarTable(text::joinLines(lines)); }
    std::vector<std::string> column(int field) const {
        std::vector<std::string> out;
        for (int r = 1; r < sheet.recordEnd(); ++r) out.push_back(sheet.cell(r, field));
        return out;
    }
};

}  // namespace

TEST(SheetSettings, SectionFollowsTheByteSumOfTheFileName) {
    // "a.txt": 97 + 46 + 116 + 120 + 116 = 495, 495 mod 255 = 240 ("ð").
    EXPECT_EQ(settingsSection("/home/x/a.txt"), "Tabellenberechnung\xC3\xB0");
    // Same letters, other order and folder: the same sum shares the settings.
    EXPECT_EQ(settingsSection("/tmp/t.axt"), settingsSection("a.txt"));
    // Sum 255 + 20 -> 20 is below 32 and becomes 52 ("4").
    EXPECT_EQ(settingsSection(std::string("\x7f\x80") + "\x14"), "Tabellenberechnung4");
    // A name with an umlaut counts it as one Windows-1252 byte: "\xC3\xA4" (UTF-8 "ä") is 228.
    EXPECT_EQ(settingsSection("\xC3\xA4"), "Tabellenberechnung\xC3\xA4");

    SettingsStore store;
    SheetSettings s = readSheetSettings(store, "T", 7);
    EXPECT_EQ(s.from, "2");
    EXPECT_EQ(s.to, "6");
    EXPECT_EQ(s.sumField, "7");
    EXPECT_EQ(s.pointsField, "6");
    EXPECT_EQ(s.maximum, "24");
    EXPECT_EQ(s.order, "1 2");
    store.writeValue("T", "Stufe", "1");
    EXPECT_EQ(readSheetSettings(store, "T", 7).maximum, "60");
    store.writeValue("T", "Stufe", "kaputt");
    EXPECT_EQ(readSheetSettings(store, "T", 7).scheme, 0);
}

TEST(SheetGrades, SchemesAsSpecifiedForTeachers) {
    struct Case {
        int scheme;
        double p, m;
        const char* grade;
    };
    const Case cases[] = {
        {0, 24, 24, "1"},  {0, 12, 24, "3,75"}, {0, 13, 24, "3,5"}, {0, 0, 24, "6"},  {0, 30, 24, "1"},
        {1, 56, 60, "14"}, {1, 57, 60, "15"},   {1, 24, 60, "4"},   {1, 26, 60, "4"}, {1, 10, 60, "0"},
        {1, 40, 60, "9"},  {2, 24, 24, "1"},    {2, 12, 24, "4"},   {2, 0, 24, "6"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gradeText(c.scheme, c.p, c.m, "7 - 6*p/max").value_or("?"), c.grade)
            << c.scheme << " " << c.p << "/" << c.m;
    }
    EXPECT_FALSE(gradeText(2, 1, 24, "7 - 6*q/max"));
    const std::string table = gradeTable(0, 2, "");
    EXPECT_EQ(table, "Punkte|Note  |Punkte|Note  |\r\n"
                     "0     |6     |0,5   |5     |\r\n"
                     "1     |3,75  |1,5   |2,25  |\r\n"
                     "2     |1     |2,5   |1     |");
}

TEST_F(SheetTest, SumsSkipCellsWithoutDigitsAndAveragesSkipEmptyCells) {
    load({"*    *   *   *   *", "Name P1  P2  P3  Su", "Anna 2   x   4", "Ben      3", "Cem"});
    dialogs.expectAsk("Wirklich überall was eingetragen?\rAchtung! Das Feld 5 wird überschrieben!\rSind Sie damit "
                      "einverstanden?",
                      Answer::Yes);
    ASSERT_TRUE(computeSumsOrAverages(context, "2", "4", "5", true));
    EXPECT_EQ(column(5), (std::vector<std::string>{"6", "3", ""}));  // "x" has no digits, Cem has none at all
    EXPECT_EQ(store.readValue(context.section, "Summe/Durchschnitt in Feld"), "5");
    EXPECT_EQ(marks, (std::vector<int>{5, -1}));

    dialogs.expectAsk("", Answer::Yes);
    ASSERT_TRUE(computeSumsOrAverages(context, "2", "4", "5", false));
    // Anna: "x" is not empty, so it counts with 0: (2 + 0 + 4) / 3.
    EXPECT_EQ(column(5), (std::vector<std::string>{"2", "3", ""}));

    dialogs.expectInform("Wert in \"bis Feldnr.\" nicht zulässig!");
    EXPECT_FALSE(computeSumsOrAverages(context, "3", "2", "5", true));
    dialogs.expectInform("Wert in \"in Feldnr.\" nicht zulässig!");
    EXPECT_FALSE(computeSumsOrAverages(context, "2", "3", "9", true));
    dialogs.expectAsk("", Answer::No).expectInform("Abbruch!");
    EXPECT_FALSE(computeSumsOrAverages(context, "2", "2", "5", true));
    EXPECT_EQ(column(5)[0], "2");
}

TEST_F(SheetTest, GradesFromPointsAndTheRowFormula) {
    load({"*    *   *   *", "Name Pkt No  X", "Anna 24", "Ben  13", "Cem  x?", "Dora"});
    dialogs.expectAsk("Achtung! Das Feld 3 wird überschrieben!\rSind Sie damit einverstanden?", Answer::Yes);
    ASSERT_TRUE(computeGrades(context, {"2", "3", "24", "", 0}));
    EXPECT_EQ(column(3), (std::vector<std::string>{"1", "3,5", "6", ""}));  // garbage reads as 0 points
    EXPECT_EQ(store.readValue(context.section, "max"), "24");

    sheet.addRecords(2);  // the grid's spare rows stay empty
    dialogs.expectAsk("Achtung! Das Feld 4 wird überschrieben!\rSind Sie damit einverstanden?", Answer::Yes);
    ASSERT_TRUE(applyRowFormula(context, "  F4 = f2/2 + f3 "));
    EXPECT_EQ(store.readValue(context.section, "Rechenausdruck"), "f4 = f2/2 + f3");
    // Cem's points are no number: the formula cannot be evaluated there only.
    EXPECT_EQ(column(4), (std::vector<std::string>{"13", "10", "###", "0", "", ""}));

    dialogs.expectInform("\"=\"-Zeichen fehlt!");
    EXPECT_FALSE(applyRowFormula(context, "f2 + f3"));
    dialogs.expectInform("Feld 9 nicht vorhanden");
    EXPECT_FALSE(applyRowFormula(context, "f9 = 1"));
}

TEST_F(SheetTest, ColumnStatisticsReadGradesAndReportThem) {
    load({"*      *", "Name   Note", "Anna   2+", "Ben    3-", "Cem    ", "Dora   0", "Emil   Note: 2,5"});
    GradeReader grades;
    const ColumnStatistics stats = columnStatistics(sheet, 2, grades);
    EXPECT_EQ(stats.count, 4);  // Cem's empty cell is skipped, Dora's 0 counts
    EXPECT_DOUBLE_EQ(stats.sum, 1.75 + 3.25 + 0 + 2.5);
    EXPECT_EQ(statisticsLine("Note", stats), "\rNote...... Anzahl: 4   Summe: 7,5  Durchschnitt: 1,875");

    std::string clip;
    dialogs.expectAskNumber("In welcher Spalte?", 2).expectInform("Durchschnitt in Zwischenablage.");
    dialogs.expectShowText("Summe und Durchschnitte");
    oneColumnStatistics(context, ColumnResult::Average, [&](const std::string& s) { clip = s; });
    EXPECT_EQ(clip, "1,875");
    EXPECT_EQ(dialogs.shownTexts().back(),
              "\rNote...... Anzahl: 4   Summe: 7,5  Durchschnitt: 1,875\r?Note? 2+=1.75\r?Note? 3-=3.25");
    dialogs.expectAskNumber("In welcher Spalte?", 7).expectInform("Feld nicht vorhanden!");
    oneColumnStatistics(context, ColumnResult::Sum, [&](const std::string& s) { clip = s; });
}

TEST_F(SheetTest, SortingWithTwoKeysAndTrailingEmptyKeys) {
    load({"*    *  *", "Name K  Z", "b    2  x", "a    1  y", "c    2  z", "d    10 a", "e       q"});
    dialogs.expectAskText("In welchem Feld ordnen?", "2 3");
    ASSERT_TRUE(sortRecords(context, true, true));
    EXPECT_EQ(column(1), (std::vector<std::string>{"d", "c", "b", "a", "e"}));
    EXPECT_EQ(store.readValue(context.section, "ordnen"), "2 3");
    sortRecordRange(sheet, 2, 0, false, false);  // by character codes: "1" < "10" < "2"
    EXPECT_EQ(column(2), (std::vector<std::string>{"1", "10", "2", "2", ""}));  // the empty key stays last
    sortRecordRange(sheet, 1, 0, false, true);
    EXPECT_EQ(column(1), (std::vector<std::string>{"e", "d", "c", "b", "a"}));
    dialogs.expectAskText("In welchem Feld ordnen?", "4").expectInform("Feld 4 nicht vorhanden");
    EXPECT_FALSE(sortRecords(context, false, false));
}

TEST_F(SheetTest, NamesAreSplitAndMergedKeepingParticlesWithTheSurname) {
    load({"*                 *", "Name Vorname      Note", "Meier Anna Lena   2", "von Berg Karl     1", "Li Wang Mei       3",
          "Solo              4"});
    splitNames(sheet);
    EXPECT_EQ(column(1), (std::vector<std::string>{"Meier", "von Berg", "Li Wang", "Solo"}));
    EXPECT_EQ(column(2), (std::vector<std::string>{"Anna Lena", "Karl", "Mei", ""}));
    EXPECT_EQ(column(3), (std::vector<std::string>{"2", "1", "3", "4"}));
    mergeNames(sheet);
    EXPECT_EQ(column(1)[0], "Meier Anna Lena");
    EXPECT_EQ(column(2), (std::vector<std::string>{"2", "1", "3", "4"}));
    EXPECT_EQ(column(3), (std::vector<std::string>{"", "", "", ""}));
}

TEST_F(SheetTest, WritingBackOnlyWhenSomethingChanged) {
    const std::vector<std::string> document{"*    *", "Name Note", "Anna 2"};
    load(document);
    sheet.addRecords(3);  // the spare rows of the grid
    EXPECT_FALSE(writtenBack(sheet, 1, {"*    *", "  Name Note  ", "Anna 2"}));
    addPrintRow(sheet);
    sheet.cell(1, 2) = "1";
    EXPECT_EQ(*writtenBack(sheet, 1, document), (std::vector<std::string>{"*    *", "Name Note", "Anna 1"}));
    EXPECT_EQ(*writtenBack(sheet, 0, document), (std::vector<std::string>{"*   *", "NameNote", "Anna1"}));
}

TEST(SheetDocument, ExampleAndNameListAreTables) {
    const Grid example = readStarTable(text::joinLines(exampleTable()));
    ASSERT_EQ(example.size(), 6u);
    EXPECT_EQ(example[0], (std::vector<std::string>{"Name Vorname", "1(6)", "2(10)", "3(8)", "4(6)", "Su", "No"}));
    EXPECT_EQ(example[1][2], "9,5");
    EXPECT_EQ(exampleTable()[0].find('*', 1), 20u);
    EXPECT_EQ(exampleTable()[0].rfind('*'), 51u);

    const auto lines = tableFromNameList({"Meier Anna", "Schmidt-Rottluff Eva"});
    EXPECT_EQ(lines[0].find('*', 1), 20u);
    EXPECT_EQ(lines[1], "Name Vorname");
    EXPECT_EQ(readStarTable(text::joinLines(lines))[2][0], "Schmidt-Rottluff Eva");
    EXPECT_EQ(classifySheetText("[!Xtt]a"), SheetOpening::CommaVariant);
    EXPECT_EQ(classifySheetText("Name"), SheetOpening::NotATable);
}

TEST_F(SheetTest, SeparatedFilesWithQuotesAndASecondTable) {
    load({"*    *", "Name Ort"});
    appendSeparated(sheet, {"\"Meier; Anna\";Ulm;\"sagt \"\"hallo\"\"\"", "", "Li;Bonn"}, std::nullopt);
    ASSERT_EQ(sheet.columns(), 3);  // the extra field widens the table instead of being dropped
    EXPECT_EQ(sheet.rows[1], (std::vector<std::string>{"Meier; Anna", "Ulm", "sagt \"hallo\""}));
    EXPECT_EQ(separatedLines(sheet, ';', true)[1], "\"Meier; Anna\";Ulm;\"sagt \"\"hallo\"\"\"");
    appendSeparated(sheet, {"x\ty"}, "7a");
    EXPECT_EQ(sheet.rows.back(), (std::vector<std::string>{"7a", "x", "y"}));

    Sheet second;
    dialogs.expectInform("Zuerst zweite Tabelle öffnen oder\rDas Fenster der zweiten Tabelle vergrößern!");
    EXPECT_FALSE(copyFieldFromSecond(context, second, true));
    second.rows = {{"Tel"}, {"1"}, {"2"}, {"3"}, {"4"}};
    dialogs.expectAskNumber("Welches Feld", 1);
    ASSERT_TRUE(copyFieldFromSecond(context, second, true));
    EXPECT_EQ(column(4), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(missingCodes(sheet, 4, "1 3 4"), (std::vector<std::string>{"2"}));
}

TEST_F(SheetTest, PrintRowMarksNumericFields) {
    load({"*    *   *", "Name Pkt Note", "Anna 2,5 2+", "Ben  -3"});
    addPrintRow(sheet);
    EXPECT_EQ(sheet.rows.back(), (std::vector<std::string>{"@D@x", "X", "X"}));
    EXPECT_EQ(sheet.recordEnd(), 3);
    sheet.rows.back()[1] = "";
    const std::string page = browserPrintPage(sheet);
    EXPECT_NE(page.find("<tr><th>Name</th><th>Note</th></tr>\r\n<tr><td>Anna</td><td align=right>2+</td></tr>"),
              std::string::npos);
    EXPECT_NE(page.find("<td>Ben</td><td align=right>&nbsp;</td>"), std::string::npos);
    const std::string job = quickPrintJob(sheet, true);
    EXPECT_EQ(job.substr(0, 3), std::string("\x1bI\0", 3));
    EXPECT_NE(job.find("\x1b-\x01Name Note\x1b-"), std::string::npos);
    EXPECT_EQ(job.back(), '\f');
}

TEST(HtmlTableWriter, SmallGridByteForByte) {
    const Grid cells{{"a", "", "c"}, {"d", "e", "  "}, {"", "", ""}};
    HtmlTableOptions o;
    EXPECT_EQ(writeHtmlTable(cells, o), "<table width=750 border=1>\r\n"
                                        "  <tr>\r\n    <td width=\"33%\">a</td><td width=\"33%\">&nbsp;</td><td "
                                        "width=\"33%\">c</td>\r\n  </tr>\r\n"
                                        "  <tr>\r\n    <td width=\"33%\">d</td><td width=\"33%\">e</td><td "
                                        "width=\"33%\">&nbsp;</td>\r\n  </tr>\r\n"
                                        "</table>");
    o = {};
    o.heading = "Kopf";
    o.border = 0;
    o.indent = 2;
    o.captionAbove = "oben";
    o.captionBelow = "unten";
    o.firstRowHeader = true;
    o.centreTable = true;
    o.centreText = true;
    o.compressed = false;
    o.equalWidths = false;
    EXPECT_EQ(writeHtmlTable({{"a"}, {"b"}}, o),
              "  <table align=center><caption align=top>oben<caption align=bottom>unten\r\n"
              "  <th colspan=1>Kopf</th>\r\n"
              "    <tr>\r\n      <th align=center>\r\n        a\r\n      </th>\r\n    </tr>\r\n"
              "    <tr>\r\n      <td align=center>\r\n        b\r\n      </td>\r\n    </tr>\r\n"
              "  </table>");
    o.equalWidths = true;
    o.totalWidth = "breit";
    EXPECT_EQ(writeHtmlTable({{"a"}}, o).find("<table width=800 align=center>"), 2u);
    EXPECT_EQ(writeHtmlTable({{"", ""}}, o), "");
    EXPECT_EQ(fillFromLines({"1", "2", "3", "4", "5"}, 2), (Grid{{"1", "3", "5"}, {"2", "4"}}));
}
