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
    for (std::size_t r = 0; r < grid.rows(); ++r) out.emplace_back(grid.cell(c, r).text);
    return out;
}

Lines texts(const Cells& cells) {
    Lines out;
    for (const Cell& c : cells) out.emplace_back(c.text);
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
        // What the diff reads: one stand-in per line of each side without fillers.
        const auto keys = grid.diffKeys();
        EXPECT_EQ(keys.first.view(), grid.diffKeys(Column::Left).view()) << c.what;
        EXPECT_EQ(keys.second.view(), grid.diffKeys(Column::Right).view()) << c.what;
        EXPECT_EQ(keys.first.size, 11 * grid.linesOf(Column::Left).size()) << c.what;
        EXPECT_EQ(keys.second.size, 11 * grid.linesOf(Column::Right).size()) << c.what;
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

TEST(CompareGrid, EqualLinesAndOnlyEqualLinesGetEqualStandInsForTheDiff) {
    // Trailing blanks are no difference, as in the grid; everything else is.
    CompareGrid grid = opened({"Haus", "Maus", "", "Haus  ", "haus", "Haus\r", std::string("\0x", 2)},
                              {"Haus", std::string(1000, 'x'), "Maus", std::string("\0x", 2)});
    const auto keys = grid.diffKeys();
    const auto line = [](const std::string& side, std::size_t i) { return side.substr(11 * i, 11); };
    const std::string l(keys.first.view());
    const std::string r(keys.second.view());
    for (const std::string* side : {&l, &r}) {
        ASSERT_EQ(side->size() % 11, 0u);
        for (std::size_t i = 0; i < side->size() / 11; ++i) {
            EXPECT_EQ(line(*side, i).find_first_of("\r\n"), 10u) << i;
        }
    }
    EXPECT_EQ(line(l, 0), line(r, 0));
    EXPECT_EQ(line(l, 1), line(r, 2));
    EXPECT_EQ(line(l, 3), line(l, 0));
    EXPECT_EQ(line(l, 5), line(l, 0));
    EXPECT_EQ(line(l, 6), line(r, 3));
    for (const std::size_t other : {1u, 2u, 4u, 6u}) EXPECT_NE(line(l, 0), line(l, other)) << other;
    EXPECT_NE(line(r, 1), line(r, 0));
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
    const auto read = readSecondFile(dir.file("brief.txt"));
    ASSERT_TRUE(std::holds_alternative<FileLines>(read));
    EXPECT_EQ(texts(std::get<FileLines>(read).lines), (Lines{"Hallo", "Welt  "}));
    dir.write("bild.bin", std::string("GIF89a\0\x01\x02", 9));
    EXPECT_EQ(std::get<std::string>(readSecondFile(dir.file("bild.bin"))),
              "Keine Textdatei: \"" + dir.file("bild.bin") + "\" wird nicht verglichen.");
    ASSERT_EQ(::mkfifo(dir.file("rohr").c_str(), 0600), 0);
    EXPECT_EQ(std::get<std::string>(readSecondFile(dir.file("rohr"))),
              "Datei \"" + dir.file("rohr") + "\"kann nicht geladen werden.");
    EXPECT_EQ(std::get<std::string>(readSecondFile(dir.file("fehlt.txt"))),
              "Die Datei \"" + dir.file("fehlt.txt") + "\" ist nicht vorhanden.");
}

TEST(SecondFile, EveryLineEndCutAndTheCaretTrailerTakenOff) {
    struct Case {
        const char* bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\rc", {"a", "b", "c"}},
        {"a\nb\r\rc\r\n", {"a", "b", "", "c"}},
        {"a\r\n\r\nb\r\n   \r\n", {"a", "", "b"}},
        {"a\r\n   ", {"a"}},
        {"a\r\n\r\n", {"a"}},
        {"a\nb\n\nc", {"a", "b", "", "c"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\r\nb\rc\n", {"a", "b", "c"}},
        {"\na\r\n", {"", "a"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(texts(fileLines(c.bytes).lines), c.lines) << c.bytes;
    }
    // The grid keeps the file: its cells still read after the lines are gone.
    CompareGrid grid(fileLines("eins\r\nzwei\r\n"));
    grid.setRight(fileLines("eins\r\ndrei\r\n"));
    EXPECT_EQ(grid.recompare(), 1u);
    CompareGrid moved = std::move(grid);
    EXPECT_EQ(column(moved, Column::Right), (Lines{"eins", "drei"}));
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
