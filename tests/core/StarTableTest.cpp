#include <gtest/gtest.h>

#include "common/Text.h"
#include "tables/StarTable.h"

using namespace pictra::tables;

TEST(StarTable, ReadingSuppliesTheClosingStarAndKeepsMiddleBlankLines) {
    const std::string text =
        "*         *       *\r\n"
        "Name      Vorname Note\r\n"
        "Meier     Anna    2+\r\n"
        "\r\n"
        "M\xFCller     Bernd   3-\r\n"
        "   \r\n"
        "\r\n";
    const Grid grid = readStarTable(text);
    ASSERT_EQ(grid.size(), 4u);  // trailing blank lines dropped, the middle one kept
    ASSERT_EQ(grid[0].size(), 3u);
    EXPECT_EQ(grid[0], (std::vector<std::string>{"Name", "Vorname", "Note"}));
    EXPECT_EQ(grid[1][2], "2+");
    EXPECT_EQ(grid[2], (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(grid[3][1], " Bernd");  // a leading blank inside the field stays
    // A closing star already beyond the longest line: nothing supplied, text behind it is outside.
    const Grid closed = readStarTable("*  *     *\nab cd   x\n");
    ASSERT_EQ(closed[0].size(), 2u);
    EXPECT_EQ(closed[0][1], "cd   x");
    // Without one, the closing star goes one column right of the longest line.
    EXPECT_EQ(readStarTable("*  *\nab cdef\n")[0], (std::vector<std::string>{"ab", "cdef"}));
    EXPECT_TRUE(readStarTable("kein Stern\nText")[0].empty());
}

TEST(StarTable, WritingAndReadingBackAsATable) {
    const Grid rows = {{"Name", "", "Note"}, {"Meier", "", "2"}, {"@D", "", "x"}, {"Schmidt", "", "1-"}};
    const auto one = writeStarTable(rows, 1);
    EXPECT_EQ(one, (std::vector<std::string>{"*       *", "Name    Note", "Meier   2", "Schmidt 1-"}));
    const auto zero = writeStarTable(rows, 0);
    EXPECT_EQ(zero.front(), "*      *");
    EXPECT_EQ(zero[3], "Schmidt1-");
    std::string text;
    for (const auto& line : one) text += line + "\r\n";
    const Grid back = readStarTable(text);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[2], (std::vector<std::string>{"Schmidt", "1-"}));  // the empty column is gone
}

TEST(StarTable, NumbersValuesAndGrades) {
    struct Case {
        const char* text;
        double decimal;
    };
    for (const Case& c : {Case{"-12,5", -12.5}, Case{"-12.5", -12.5}, Case{"1.234,5", 0}, Case{"", 0},
                          Case{"7 EUR", 7}, Case{"ca. 7", 0.7}, Case{"3-", -0.0}}) {
        EXPECT_DOUBLE_EQ(cellDecimal(c.text), c.decimal) << c.text;
    }
    EXPECT_EQ(cellInteger("Nr. 12a"), 12);
    EXPECT_EQ(cellInteger("--"), 0);
    EXPECT_EQ(cellValuePart("Summe - 12,50  EUR"), "-12,50");
    EXPECT_EQ(cellValuePart("Summe: 12  EUR"), ": 12");
    EXPECT_EQ(cellValuePart("Miete + 5"), "+5");
    GradeReader grades;
    EXPECT_DOUBLE_EQ(grades.read("2+"), 1.75);
    EXPECT_DOUBLE_EQ(grades.read("3-"), 3.25);
    EXPECT_DOUBLE_EQ(grades.read("1/2"), 1.5);
    EXPECT_DOUBLE_EQ(grades.read("2,5"), 2.5);
    EXPECT_DOUBLE_EQ(grades.read("2+"), 1.75);
    EXPECT_EQ(grades.report(), (std::vector<std::string>{"?Note? 2+=1.75", "?Note? 3-=3.25", "?Note? 1/2=1.5"}));
}

TEST(StarTable, AMarkerLineOfTwoHundredKilobytesIsReadFieldByField) {
    // 30,000 fields seven columns wide; the last record is shorter than the marker line.
    std::string marker, header, record;
    for (int f = 0; f < 30000; ++f) {
        marker += "*      ";
        std::string title = "F" + std::to_string(f);
        title.resize(7, ' ');
        header += title;
        std::string value = std::to_string(f % 1000);
        value.resize(7, ' ');
        record += value;
    }
    ASSERT_GT(marker.size(), 200'000u);
    const std::string text = marker + "\r\n" + header + "\r\n" + record + "\r\n" + record.substr(0, 16) + "\r\n";
    const Grid grid = readStarTable(text);
    ASSERT_EQ(grid.size(), 3u);
    for (const auto& row : grid) ASSERT_EQ(row.size(), 30000u);  // the closing star supplied after the last field
    for (const size_t f : {size_t{0}, size_t{1}, size_t{14999}, size_t{29999}}) {
        EXPECT_EQ(grid[0][f], "F" + std::to_string(f));
        EXPECT_EQ(grid[1][f], std::to_string(f % 1000));
    }
    EXPECT_EQ(grid[2][1], "1");
    EXPECT_EQ(grid[2][2], "2");  // cut inside the field
    EXPECT_EQ(grid[2][3], "");
    // Written and read back, every cell is where it was.
    EXPECT_TRUE(readStarTable(pictra::text::joinLines(writeStarTable(grid, 1))) == grid);
}
