#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// The expression evaluator of the calculator line, the calculator dialog and the
// grade formulas: arithmetic on 80-bit extended values (long double on x86-64).
namespace pictra::calc {

using Value = long double;

// An operand that is no number, function, constant or variable, an overflow, or
// nesting too deep to follow. Every caller catches it.
class EvaluationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Text typed by the user: blanks removed, "," and "." both the decimal mark;
// "dummy1" and "dummy2" are 0.
Value EvaluateExpression(std::string_view text);

// Text as it is (the decimal mark is ","), with two named variables.
Value EvaluateWithVariables(std::string_view text, std::string_view name1, std::string_view name2, Value value1,
                            Value value2);

// " = p/q" when the value is a common fraction within 10^-12, else empty.
std::string FractionSuffix(Value value);

// The value shown with a pattern such as "### ### ##0.### ### ###": blanks of the
// pattern copied where they stand, the German decimal comma, trailing "#" zeros dropped.
std::string FormatNumber(Value value, std::string_view pattern);

inline constexpr const char* kResultPattern = "### ### ##0.### ### ###";

// Parentheses and function names nested deeper than this fail the evaluation
// instead of exhausting the stack.
inline constexpr int kMaxNesting = 3000;

}  // namespace pictra::calc
