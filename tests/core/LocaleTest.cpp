#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <optional>
#include <string>

#include "MemoryEditor.h"
#include "calc/CalculatorLine.h"
#include "calc/Evaluator.h"
#include "common/Numbers.h"
#include "pictures/Viewer.h"
#include "tables/SheetComputing.h"
#include "tables/StarTable.h"

// The program's users run under the German locale, and the windowing toolkit puts
// its LC_NUMERIC into the C library at start. Every result of the core must be the
// same under it as under "C".
namespace {

using namespace pictra;

class UnderLocale : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        m_saved = std::setlocale(LC_ALL, nullptr);
        if (!std::setlocale(LC_ALL, GetParam())) {
            GTEST_SKIP() << "Locale " << GetParam() << " is not installed (scripts/deps generates it)";
        }
    }
    void TearDown() override { std::setlocale(LC_ALL, m_saved.c_str()); }

private:
    std::string m_saved;
};

INSTANTIATE_TEST_SUITE_P(Locales, UnderLocale, ::testing::Values("C", "de_DE.UTF-8"),
                         [](const auto& locale) { return std::string(locale.param[0] == 'C' ? "C" : "German"); });

TEST_P(UnderLocale, NumbersReadAndWriteTheCForm) {
    struct Read {
        const char* text;
        std::optional<double> value;
    };
    const double inf = std::numeric_limits<double>::infinity();
    for (const Read& r : {Read{"30.50", 30.5}, Read{"-12.5", -12.5}, Read{".5", 0.5}, Read{"5.", 5}, Read{"1e3", 1000},
                          Read{"1e999", inf}, Read{"-1e999", -inf}, Read{"1e-999", 0}, Read{"30,50", std::nullopt},
                          Read{"1.2.3", std::nullopt}, Read{" 1", std::nullopt}, Read{"+1", std::nullopt},
                          Read{"inf", std::nullopt}, Read{"nan", std::nullopt}, Read{"", std::nullopt}}) {
        EXPECT_EQ(text::parseDouble(r.text), r.value) << r.text;
    }
    EXPECT_EQ(text::parseLongDouble("30.50"), 30.5L);
    EXPECT_EQ(text::parseLongDouble(std::string(5000, '9')), std::numeric_limits<long double>::infinity());
    EXPECT_EQ(text::formatFixed(366.0L, 9), "366.000000000");
    EXPECT_EQ(text::formatFixed(-0.004, 2), "-0.00");
    EXPECT_EQ(text::formatFixed(1e600L, 0).size(), 601u);  // every integer digit, however many
    EXPECT_EQ(text::formatGeneral(1.75), "1.75");
    EXPECT_EQ(text::formatGeneral(1234567), "1.23457e+06");
}

TEST_P(UnderLocale, EvaluatorReadsBothMarksAndWritesTheComma) {
    struct Case {
        const char* expression;
        const char* shown;
    };
    for (const Case& c : {Case{"12*30,50", "  366  "}, Case{"12*30.50", "  366  "}, Case{"1.5+1,5", "  3  "},
                          Case{"1/3", "  0,333 333 333"}, Case{"100/EUR", "  51,129 188 12"},
                          Case{"fak(3,5)", "  13,125  "}, Case{"int(-2,5)", "-  3  "}, Case{"arcsi_(0,5)", "  30  "},
                          Case{"5580,48", " 5 580,48  "}, Case{"1234567,5", "1 234 567,5  "},
                          Case{"0,000 000 000 4", "  0  "}, Case{"2,5e", ""}}) {
        std::string shown;
        try {
            shown = calc::FormatNumber(calc::EvaluateExpression(c.expression), calc::kResultPattern);
        } catch (const calc::EvaluationError&) {
        }
        EXPECT_EQ(shown, c.shown) << c.expression;
    }
    EXPECT_EQ(calc::EvaluateWithVariables("6,5 - 5,5*p/max", "p", "max", 12, 24), 3.75L);
    EXPECT_EQ(calc::EvaluateWithVariables("p/max*6", "p", "max", 15, 20), 4.5L);
    EXPECT_EQ(calc::FractionSuffix(calc::EvaluateExpression("1/2+1/3+1/4")), " = 13/12");
    EXPECT_EQ(calc::FractionSuffix(-2.5L), " = -5/2");
    EXPECT_EQ(calc::FormatNumber(0.25L, "0.##"), "0,25");
    EXPECT_EQ(calc::FormatNumber(13860, "### ### ##0.00"), " 13 860,00");
    EXPECT_EQ(calc::FormatNumber(2.675L, "##0.##"), "2,67");  // the binary value lies below 2.675
}

TEST_P(UnderLocale, CalculatorLine) {
    test::MemoryEditor editor("12*30,50");
    editor.setSelection(0, 8);
    calc::completeSelection(editor);
    EXPECT_EQ(editor.text(), "12*30,50 =   366  ");

    test::MemoryEditor column("B\xFC" "cher          12,50  EUR\nHefte            3.80  EUR\n"
                              "Stifte           7,45  EUR\nEnde");
    column.setCaret(10);
    calc::CalculatorLine line;
    for (int i = 0; i < 3; ++i) calc::addFromText(line, column, +1);
    EXPECT_EQ(line.sumText, "  23,75  ");
    EXPECT_EQ(line.averageText, "7,92");
    EXPECT_EQ(calc::insertText(line), "  23,75");
}

TEST_P(UnderLocale, StarTableReadsDecimalsAndGrades) {
    struct Case {
        const char* cell;
        double decimal;
    };
    tables::GradeReader grades;
    for (const Case& c : {Case{"2,5", 2.5}, Case{"-12,5", -12.5}, Case{"2.5", 2.5}, Case{"-12.5", -12.5},
                          Case{"1.234,5", 0}, Case{"7 EUR", 7}}) {
        EXPECT_EQ(tables::cellDecimal(c.cell), c.decimal) << c.cell;
        EXPECT_EQ(grades.read(c.cell), c.decimal) << c.cell;
    }
    for (const char* grade : {"2+", "3-", "2/3", "1/2"}) grades.read(grade);
    EXPECT_EQ(grades.report(),
              (std::vector<std::string>{"?Note? 2+=1.75", "?Note? 3-=3.25", "?Note? 2/3=2.5", "?Note? 1/2=1.5"}));
    EXPECT_EQ(tables::gradeText(0, tables::cellDecimal("12,5"), 24, ""), "3,5");
    EXPECT_EQ(tables::gradeText(2, tables::cellDecimal("13,5"), 24, "7 - 6*p/max"), "3,5");
}

TEST_P(UnderLocale, PicturePercent) {
    EXPECT_EQ(pictures::viewer::fromWidth({300, 200}, 100).percent, "33,33");
    EXPECT_EQ(pictures::viewer::fromWidth({400, 200}, 100).percent, "25");
    EXPECT_EQ(pictures::viewer::fromPercent({400, 200}, 12.5).percent, "12,5");
}

}  // namespace
