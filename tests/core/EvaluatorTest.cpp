#include <gtest/gtest.h>

#include <cmath>

#include "calc/Evaluator.h"

using namespace pictra::calc;

namespace {

struct Case {
    std::string text;
    long double expected;
};

struct Failing {
    std::string text;
};

}  // namespace

class Evaluates : public ::testing::TestWithParam<Case> {};

TEST_P(Evaluates, ToTheExpectedValue) {
    const Case& c = GetParam();
    const long double v = EvaluateExpression(c.text);
    EXPECT_NEAR(static_cast<double>(v), static_cast<double>(c.expected), 1e-12) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Evaluates,
    ::testing::Values(Case{"", 0}, Case{"   ", 0}, Case{"5+", 5}, Case{"*3", 0}, Case{"-5", -5}, Case{"-2^2", -4},
                      Case{"2*-3", -3}, Case{"5--3", 2}, Case{"2^-1", 0}, Case{"2*(-3)", -6}, Case{"2^3^2", 64},
                      Case{"8-3-2", 3}, Case{"8/4:2", 4}, Case{"8:4/2", 1}, Case{"2Pi", 2 * 3.14159265358979323846L},
                      Case{"3(4+1)", 15}, Case{"1/2+1/3+1/4", 13.0L / 12}, Case{"si_(30)", 0.5},
                      Case{"arcsi_(0,5)", 30}, Case{"sin(30)", std::sin(30.0L)}, Case{"ln(0)", 0},
                      Case{"lg(-5)", 0}, Case{"sqrt(-1)", 0}, Case{"arcsin(2)", 0}, Case{"1/0", 0},
                      Case{"0^(-1)", 0}, Case{"0^0", 1}, Case{"fak(3,5)", 13.125}, Case{"fak5", 120},
                      Case{"int(-2,5)", -3}, Case{"int(2,5)", 2}, Case{"100/EUR", 100 / 1.95583L}, 
                      Case{"1.5+1,5", 3}, Case{"sqrt16", 4}, Case{"sinPi", 0}, Case{"lg(1000)", 3}, Case{"lb8", 3},
                      Case{"2\xB7" "3", 6}, Case{"dummy1+dummy2+1", 1}, Case{"(1+2)(3+4)", 21}, Case{"2sin(0)", 0},
                      Case{"exp(0)", 1}, Case{"abs(-3)", 3}, Case{"2^0,5", std::sqrt(2.0L)}, Case{"(-8)^0,5", 0},
                      Case{"2,49+5,38*(4,79+1)+cos(Pi/4)", 2.49L + 5.38L * 5.79L + std::cos(3.14159265358979L / 4)}));

class Fails : public ::testing::TestWithParam<Failing> {};

TEST_P(Fails, WithAnEvaluationError) { EXPECT_THROW(EvaluateExpression(GetParam().text), EvaluationError); }

INSTANTIATE_TEST_SUITE_P(Cases, Fails,
                         ::testing::Values(Failing{"(1+2)3"}, Failing{"eur"}, Failing{"pi"}, Failing{"1E5"},
                                           Failing{"x"}, Failing{"1,2,3"}, Failing{"fak(100000)"},
                                           Failing{"exp(100000)"}, Failing{"2#3"},
                                           // Beyond the extended range as written: an overflow, never "inf".
                                           Failing{std::string(5000, '9')}, Failing{"1" + std::string(4940, '0') + "/3"}));

TEST(Evaluator, VariablesOfTheGradeFormula) {
    EXPECT_EQ(EvaluateWithVariables("p/max*6", "p", "max", 15, 20), 4.5L);
    EXPECT_THROW(EvaluateWithVariables("p/maxi*6", "p", "max", 15, 20), EvaluationError);
    // Without normalisation the decimal mark is the comma only.
    EXPECT_THROW(EvaluateWithVariables("1.5", "p", "max", 0, 0), EvaluationError);
    EXPECT_EQ(EvaluateWithVariables(" 1,5 + 1 ", "p", "max", 0, 0), 2.5L);
}

TEST(Evaluator, LongChainsAndDeepNestingNeverCrash) {
    std::string sum = "1";
    for (int i = 1; i < 20000; ++i) sum += "+1";
    EXPECT_EQ(EvaluateExpression(sum), 20000);
    std::string difference = "100000";
    for (int i = 0; i < 20000; ++i) difference += "-1";
    EXPECT_EQ(EvaluateExpression(difference), 80000);
    EXPECT_THROW(EvaluateExpression(std::string(100000, '(') + "1"), EvaluationError);
    EXPECT_THROW(EvaluateExpression(std::string(100000, '(') + "1" + std::string(100000, ')')), EvaluationError);
    EXPECT_EQ(EvaluateExpression(std::string(100, '(') + "1+2" + std::string(100, ')')), 3);
    std::string functions;
    for (int i = 0; i < 50000; ++i) functions += "abs";
    EXPECT_THROW(EvaluateExpression(functions + "1"), EvaluationError);
}

TEST(Evaluator, FractionSuffixes) {
    EXPECT_EQ(FractionSuffix(EvaluateExpression("1/2+1/3+1/4")), " = 13/12");
    EXPECT_EQ(FractionSuffix(0.1L), " = 1/10");
    EXPECT_EQ(FractionSuffix(3), "");
    EXPECT_EQ(FractionSuffix(0), "");
    EXPECT_EQ(FractionSuffix(-2.5L), " = -5/2");
}

TEST(Evaluator, ResultPattern) {
    EXPECT_EQ(FormatNumber(5580.48L, kResultPattern), " 5 580,48  ");
    EXPECT_EQ(FormatNumber(180, kResultPattern), "  180  ");
    EXPECT_EQ(FormatNumber(1.0L / 3, kResultPattern), "  0,333 333 333");
    EXPECT_EQ(FormatNumber(1234567.5L, kResultPattern), "1 234 567,5  ");
    EXPECT_EQ(FormatNumber(1234567890, kResultPattern), "1234 567 890  ");
    EXPECT_EQ(FormatNumber(-180, kResultPattern), "-  180  ");
    EXPECT_EQ(FormatNumber(0.25L, "0.##"), "0,25");
    EXPECT_EQ(FormatNumber(2, "0.##"), "2");
    EXPECT_EQ(FormatNumber(13860, "### ### ##0.00"), " 13 860,00");
    EXPECT_EQ(FormatNumber(41867.3L, "### ### ##0.##"), " 41 867,3");
    EXPECT_EQ(FormatNumber(-0.0000000001L, kResultPattern), "  0  ");
}
