#pragma once

#include <optional>
#include <string>
#include <string_view>

// Floating numbers read and written in the C form ("-12.5"), whatever the process
// locale says. The windowing toolkit puts the user's LC_NUMERIC into the C library
// at start, and under a German one strtod stops at the "." and printf writes ",";
// so the core never uses those for floating values, only these.
namespace pictra::text {

// The whole text as a number: an optional "-", digits with at most one ".", an
// optional exponent ("e5", "E-3"). Blanks, "+", ",", "inf" and "nan" do not
// convert. A value beyond the type's range gives infinity with its sign, one too
// small for it gives zero.
std::optional<double> parseDouble(std::string_view s);
std::optional<long double> parseLongDouble(std::string_view s);

// As printf's "%.*f" and "%.*Lf" in the "C" locale: `places` decimals after a ".",
// every integer digit, "-" for negative values (also for one that rounds to zero).
std::string formatFixed(double value, int places);
std::string formatFixed(long double value, int places);

// As printf's "%.*g" in the "C" locale; "%g" is 6 significant digits ("1.75", "1e+06").
std::string formatGeneral(double value, int significant = 6);

}  // namespace pictra::text
