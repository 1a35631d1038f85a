#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "TempDir.h"
#include "explorer/RecycleBin.h"
#include "explorer/compare/CompareGrid.h"
#include "explorer/compare/SecondFile.h"

namespace pictra::compare {
namespace {

using Lines = std::vector<std::string>;

std::vector<std::string> column(const CompareGrid& grid, Column c) {
    std::vector<std::string> out;
    for (std::size_t r = 0; r < grid.rows(); ++r) out.push_back(grid.cell(c, r).text);
    return out;
}

std::string markers(const CompareGrid& grid) {
    std::string out;
    for (std::size_t r = 0; r < grid.rows(); ++r) out += grid.marker(r)[0] == '=' ? '=' : '<';
    return out;
}

CompareGrid opened(const Lines& document, const Lines& file) {
    CompareGrid grid(document);
    grid.setRight(file);
    grid.recompare();
    return grid;
}

TEST(CompareGrid, OpeningTrimsBothSidesAndDropsRowsEmptyOnBoth) {
    CompareGrid grid = opened({"a  ", "b", ""}, {"a", "c\t", "", "d"});
    EXPECT_EQ(column(grid, Column::Left), (Lines{"a", "b", "", ""}));
    EXPECT_EQ(column(grid, Column::Right), (Lines{"a", "c", "", "d"}));
    EXPECT_EQ(markers(grid), "=<=<");
    EXPECT_EQ(grid.differing(), 2u);
    // A document compared with itself; the row below the last line goes.
    CompareGrid same = opened({"x", "y"}, {"x", "y"});
    EXPECT_EQ(same.rows(), 2u);
    EXPECT_EQ(same.differing(), 0u);
    // Nothing on either side still leaves one row.
    EXPECT_EQ(opened({}, {}).rows(), 1u);
}

TEST(CompareGrid, ABlankTypedAtTheEndDiffersInTheMarkersButNotForTheSearch) {
    CompareGrid grid = opened({"eins", "zwei", "drei"}, {"eins  ", "zwei", "vier"});
    EXPECT_EQ(markers(grid), "==<");
    grid.setText(Column::Left, 0, "eins ");
    grid.recompare();
    EXPECT_EQ(markers(grid), "<=<");
    EXPECT_EQ(grid.findDifferent(0), 2u);
    EXPECT_EQ(grid.findDifferent(3), std::nullopt);
}

TEST(CompareGrid, OneBlankInsertedAboveAShiftedBlockBringsItIntoStep) {
    CompareGrid grid = opened({"a", "neu", "b", "c", "d"}, {"a", "b", "c", "d"});
    EXPECT_EQ(grid.differing(), 4u);
    grid.insertBlankCells(Column::Right, 1, 1);
    grid.recompare();
    EXPECT_EQ(column(grid, Column::Right), (Lines{"a", "", "b", "c", "d"}));
    EXPECT_EQ(grid.differing(), 1u);
    // And taken back out again.
    grid.deleteCells(Column::Right, 1, 1);
    grid.recompare();
    EXPECT_EQ(column(grid, Column::Right), (Lines{"a", "b", "c", "d", ""}));
    EXPECT_EQ(grid.differing(), 4u);
}

TEST(CompareGrid, DeleteInsertAndMoveLeftOnEachColumn) {
    struct Case {
        const char* what;
        void (*edit)(CompareGrid&);
        Lines left;
        Lines right;
    };
    const Case cases[] = {
        {"delete left 2", [](CompareGrid& g) { g.deleteCells(Column::Left, 1, 2); }, {"1", "4", "", ""}, {"a", "b", "c", "d"}},
        {"delete right past the end", [](CompareGrid& g) { g.deleteCells(Column::Right, 3, 9); }, {"1", "2", "3", "4"}, {"a", "b", "c", ""}},
        {"insert left 2", [](CompareGrid& g) { g.insertBlankCells(Column::Left, 0, 2); }, {"", "", "1", "2", "3", "4"}, {"a", "b", "c", "d", "", ""}},
        {"insert right 1", [](CompareGrid& g) { g.insertBlankCells(Column::Right, 2, 1); }, {"1", "2", "3", "4", ""}, {"a", "b", "", "c", "d"}},
        {"move left", [](CompareGrid& g) { g.moveLeft(1, 2); }, {"1", "b", "c", "4"}, {"a", "b", "c", "d"}},
    };
    for (const Case& c : cases) {
        CompareGrid grid = opened({"1", "2", "3", "4"}, {"a", "b", "c", "d"});
        c.edit(grid);
        EXPECT_EQ(column(grid, Column::Left), c.left) << c.what;
        EXPECT_EQ(column(grid, Column::Right), c.right) << c.what;
    }
}

TEST(CompareGrid, TakingOverWritesTheLeftSideWithoutRowsThatStandForNoLine) {
    // The file is longer: the rows it adds have no line of the document.
    CompareGrid grid = opened({"a", "b"}, {"a", "b", "c", "d"});
    EXPECT_EQ(grid.documentLines(), (Lines{"a", "b"}));
    grid.moveLeft(3, 1);
    EXPECT_EQ(grid.documentLines(), (Lines{"a", "b", "d"}));
    // Blank lines the user inserts into the document column are lines of it.
    grid.insertBlankCells(Column::Left, 0, 1);
    EXPECT_EQ(grid.documentLines(), (Lines{"", "a", "b", "d"}));
    // Deleted lines are gone from the document.
    grid.deleteCells(Column::Left, 0, 2);
    EXPECT_EQ(grid.documentLines(), (Lines{"b", "d"}));
}

TEST(CompareGrid, AligningPutsEqualLinesOppositeAndKeepsBothTexts) {
    struct Case {
        const char* what;
        Lines left;
        Lines right;
        std::vector<Hunk> hunks;
        Lines alignedLeft;
        Lines alignedRight;
    };
    const Case cases[] = {
        {"inserted", {"a", "b"}, {"a", "x", "b"}, {{1, 0, 1, 1}}, {"a", "", "b"}, {"a", "x", "b"}},
        {"deleted", {"a", "x", "b"}, {"a", "b"}, {{1, 1, 1, 0}}, {"a", "x", "b"}, {"a", "", "b"}},
        {"changed", {"a", "x", "b"}, {"a", "y", "b"}, {{1, 1, 1, 1}}, {"a", "x", "b"}, {"a", "y", "b"}},
        {"changed and grown", {"a", "x", "b"}, {"a", "y", "z", "b"}, {{1, 1, 1, 2}}, {"a", "x", "", "b"}, {"a", "y", "z", "b"}},
        {"inserted at the top", {"a"}, {"x", "a"}, {{0, 0, 0, 1}}, {"", "a"}, {"x", "a"}},
        {"unrelated", {"a", "b"}, {"x"}, {{0, 2, 0, 1}}, {"a", "b"}, {"x", ""}},
        {"no hunks", {"a"}, {"a"}, {}, {"a"}, {"a"}},
    };
    for (const Case& c : cases) {
        CompareGrid grid = opened(c.left, c.right);
        // What the diff reads: each side without fillers, every line ended by "\n".
        for (const Column side : {Column::Left, Column::Right}) {
            std::string expected;
            for (const std::string& line : grid.linesOf(side)) expected += line + "\n";
            EXPECT_EQ(grid.joinedText(side), expected) << c.what;
        }
        grid.align(c.hunks);
        grid.recompare();
        EXPECT_EQ(column(grid, Column::Left), c.alignedLeft) << c.what;
        EXPECT_EQ(column(grid, Column::Right), c.alignedRight) << c.what;
        EXPECT_EQ(grid.documentLines(), c.left) << c.what;
        EXPECT_EQ(grid.linesOf(Column::Right), c.right) << c.what;
    }
    // Aligning again after an edit starts from the texts, not from the old blanks.
    CompareGrid grid = opened({"a", "b"}, {"a", "x", "b"});
    grid.align({{1, 0, 1, 1}});
    grid.setText(Column::Left, 1, "x");
    EXPECT_EQ(grid.linesOf(Column::Left), (Lines{"a", "x", "b"}));
    grid.align({});
    grid.recompare();
    EXPECT_EQ(grid.differing(), 0u);
    EXPECT_EQ(grid.documentLines(), (Lines{"a", "x", "b"}));
}

TEST(CompareGrid, DifferenceLineAndSelectionRules) {
    EXPECT_EQ(differenceLine("Haus", "Maus"), "-   ");
    EXPECT_EQ(differenceLine("ab", "abcd"), "  --");
    EXPECT_EQ(differenceLine("ab ", "ab"), std::nullopt);
    EXPECT_EQ(differenceLine("", ""), std::nullopt);
    const std::string both = "Nur Teil von Spalte 2 oder Spalte 4 auswählen";
    const std::string right = "Nur Teil von Spalte 4 auswählen";
    EXPECT_EQ(selectionProblem(2, 2, false), std::nullopt);
    EXPECT_EQ(selectionProblem(4, 4, false), std::nullopt);
    EXPECT_EQ(selectionProblem(2, 4, false), both);
    EXPECT_EQ(selectionProblem(3, 3, false), both);
    EXPECT_EQ(selectionProblem(1, 1, false), both);
    EXPECT_EQ(selectionProblem(4, 4, true), std::nullopt);
    EXPECT_EQ(selectionProblem(2, 2, true), right);
    EXPECT_EQ(selectionProblem(2, 4, true), right);
}

TEST(SecondFile, ReadLikeADocumentOrRefusedWithAMessage) {
    test::TempDir dir;
    dir.write("brief.txt", "Hallo\r\nWelt  \r\n   \r\n");
    const auto lines = readSecondFile(dir.file("brief.txt"));
    ASSERT_TRUE(std::holds_alternative<Lines>(lines));
    EXPECT_EQ(std::get<Lines>(lines), (Lines{"Hallo", "Welt  "}));
    dir.write("bild.bin", std::string("GIF89a\0\x01\x02", 9));
    EXPECT_EQ(std::get<std::string>(readSecondFile(dir.file("bild.bin"))),
              "Keine Textdatei: \"" + dir.file("bild.bin") + "\" wird nicht verglichen.");
    ASSERT_EQ(::mkfifo(dir.file("rohr").c_str(), 0600), 0);
    EXPECT_EQ(std::get<std::string>(readSecondFile(dir.file("rohr"))),
              "Datei \"" + dir.file("rohr") + "\"kann nicht geladen werden.");
    EXPECT_EQ(std::get<std::string>(readSecondFile(dir.file("fehlt.txt"))),
              "Die Datei \"" + dir.file("fehlt.txt") + "\" ist nicht vorhanden.");
}

TEST(SecondFile, TheNewestBackupOfExactlyThisFile) {
    test::TempDir dir;
    const std::string binFolder = dir.path() + "papierkorb";
    std::filesystem::create_directories(binFolder);
    const std::string path = "/home/lehrer/brief.txt";
    EXPECT_EQ(newestBackup(binFolder, path), std::nullopt);
    const std::string older = bin::binName(path, {2026, 12, 1}, 10);
    const std::string newer = bin::binName(path, {2026, 12, 9}, 12);
    const std::string other = bin::binName("/home/lehrer/brief_2.txt", {2026, 12, 10}, 12);
    const std::string otherType = bin::binName("/home/lehrer/brief.html", {2026, 12, 10}, 12);
    for (const auto& name : {older, newer, other, otherType}) dir.write("papierkorb/" + name, "x");
    EXPECT_EQ(newestBackup(binFolder, path), binFolder + "/" + newer);
}

}  // namespace
}  // namespace pictra::compare
