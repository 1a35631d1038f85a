#include <gtest/gtest.h>

#include <cmath>

#include "MemoryEditor.h"
#include "calc/CalculatorLine.h"

using namespace pictra::calc;
using pictra::test::MemoryEditor;

TEST(CalculatorLine, StepExpressionTakesTheNumberBehindTheCaret) {
    EXPECT_EQ(stepExpression("13 860,00 EUR"), "13 860,00");
    EXPECT_EQ(stepExpression("Mieten      12\xB7(5\xB7" "250+ 4\xB7" "315) EUR =  ???"), "12\xB7(5\xB7" "250+ 4\xB7" "315)");
    EXPECT_EQ(stepExpression("Handwerker    - 2 112.70 EUR"), "-2 112.70");
    EXPECT_EQ(stepExpression("12 St\xFC" "ck 3"), "12");
    EXPECT_EQ(stepExpression("12  Stück"), "12");
    EXPECT_EQ(stepExpression("12 3"), "12 3");
}

TEST(CalculatorLine, F4AddsCountsAveragesAndStepsDown) {
    MemoryEditor editor("13 860,00 EUR\nMieten      12\xB7(5\xB7" "250+ 4\xB7" "315) EUR =  ???\n12 3\nEnde");
    CalculatorLine line;
    addFromText(line, editor, +1);
    EXPECT_EQ(line.lastValue, " 13 860  ");
    EXPECT_EQ(editor.caret(), 14);  // column 0 of the next line
    addFromText(line, editor, +1);
    EXPECT_EQ(line.sum, 13860 + 30120);
    addFromText(line, editor, +1);
    EXPECT_EQ(line.sum, 13860 + 30120 + 123);
    EXPECT_EQ(line.countText, "3");
    EXPECT_EQ(line.averageText, FormatNumber((13860.0L + 30120 + 123) / 3, "0.##"));
}

TEST(CalculatorLine, F5SubtractsWithoutCountingAndFailuresAddNothing) {
    MemoryEditor editor("10\n5\n1,2,3\nx");
    CalculatorLine line;
    addFromText(line, editor, +1);
    addFromText(line, editor, -1);
    EXPECT_EQ(line.sum, 5);
    EXPECT_EQ(line.countText, "1");
    EXPECT_EQ(line.averageText, "10");  // only an addition computes the average
    addFromText(line, editor, +1);
    EXPECT_EQ(line.lastValue, "Fehler");
    EXPECT_EQ(line.sum, 5);
    EXPECT_EQ(line.averageText, "2,5");  // the sum, subtractions included, by the additions
}

TEST(CalculatorLine, NextLineIsPaddedInBlocksOfFiveAndTheLastLineStopsAtTheEnd) {
    MemoryEditor editor("Betrag     12\nx\nEnde");
    CalculatorLine line;
    editor.setCaret(11);
    addFromText(line, editor, +1);
    EXPECT_EQ(editor.text(), "Betrag     12\nx" + std::string(15, ' ') + "\nEnde");  // 1 + 5 + 5 + 5 reaches column 11
    EXPECT_EQ(editor.caret(), 14 + 11);
    addFromText(line, editor, +1);
    EXPECT_EQ(editor.caret(), static_cast<int>(editor.text().size()));
}

TEST(CalculatorLine, ResetAndInsert) {
    CalculatorLine line;
    line.sum = 13860;
    EXPECT_EQ(insertText(line), " 13 860");
    line.sum = 41867.3L;
    EXPECT_EQ(insertText(line), " 41 867,30");
    reset(line);
    EXPECT_EQ(line.sum, 0);
    EXPECT_EQ(line.sumText, "0");
    EXPECT_EQ(line.countText, "0");
    EXPECT_EQ(line.averageText, "");
}

TEST(CalculatorLine, F6CompletesTheSelectionWithTheUnitWhereItStood) {
    EXPECT_EQ(completeExpression("12*30,50 \x80 ="), "12*30,50 \x80 =   366  \x80");
    EXPECT_EQ(completeExpression("12*30,50 \x80 ="), std::string("12*30,50 \x80") + " = " + "  366  " + "\x80");
    EXPECT_EQ(completeExpression("\x80 12*30,50"), std::string("\x80 12*30,50") + " = " + "\x80" + "  366  ");
    EXPECT_EQ(completeExpression("50 + 30 + 20 + 80 \x80 ="), std::string("50 + 30 + 20 + 80 \x80") + " = " + "\x80" + "  180  ");
    EXPECT_EQ(completeExpression("2^3"), "2^3 =   23  ^");
    EXPECT_EQ(completeExpression("1,2,3 ="), "1,2,3 = ");
    EXPECT_EQ(completeExpression(std::string(5000, '9') + " ="), std::string(5000, '9') + " = ");
}

TEST(CalculatorLine, ASumBeyondTheExtendedRangeIsRefusedNotInfinite) {
    const std::string huge = "9" + std::string(4931, '0');  // 9·10^4931: two of them leave the extended range
    MemoryEditor editor(huge + "\n" + huge + "\n" + huge + "\nx");
    CalculatorLine line;
    addFromText(line, editor, +1);
    addFromText(line, editor, +1);
    addFromText(line, editor, +1);
    EXPECT_EQ(line.lastValue, "Fehler");
    EXPECT_TRUE(std::isfinite(line.sum));
    EXPECT_EQ(line.sumText.find("inf"), std::string::npos);
}
