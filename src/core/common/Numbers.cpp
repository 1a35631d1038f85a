#include "Numbers.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>

namespace pictra::text {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Whether a text that from_chars found out of range lies beyond 1 in magnitude
// (an overflow) rather than below it (an underflow): the decimal exponent of its
// first significant digit plus its own exponent.
bool aboveOne(std::string_view s) {
    const size_t mantissaEnd = std::min(s.find_first_of("eE"), s.size());
    const std::string_view mantissa = s.substr(0, mantissaEnd);
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::string_view whole = mantissa.substr(0, point);
    const std::string_view fraction = point < mantissa.size() ? mantissa.substr(point + 1) : std::string_view();
    long long position = 0;
    if (const size_t first = whole.find_first_not_of('0'); first != std::string_view::npos) {
        position = static_cast<long long>(whole.size() - first) - 1;
    } else if (const size_t lead = fraction.find_first_not_of('0'); lead != std::string_view::npos) {
        position = -static_cast<long long>(lead) - 1;
    } else {
        return false;
    }
    long long exponent = 0;
    if (mantissaEnd < s.size()) {
        std::string_view e = s.substr(mantissaEnd + 1);
        const bool negative = !e.empty() && e.front() == '-';
        if (negative || (!e.empty() && e.front() == '+')) e.remove_prefix(1);
        if (std::from_chars(e.data(), e.data() + e.size(), exponent).ec != std::errc()) {
            exponent = std::numeric_limits<long long>::max() / 2;
        }
        if (negative) exponent = -exponent;
    }
    return position + exponent >= 0;
}

template <typename T>
std::optional<T> parse(std::string_view s) {
    std::string_view digits = s;
    const bool negative = !digits.empty() && digits.front() == '-';
    if (negative) digits.remove_prefix(1);
    // from_chars also takes "inf" and "nan"; a number starts with a digit or the point.
    if (digits.empty() || !(isDigit(digits.front()) || digits.front() == '.')) return std::nullopt;
    T value = 0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (ptr != s.data() + s.size()) return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        const T magnitude = aboveOne(digits) ? std::numeric_limits<T>::infinity() : T(0);
        return negative ? -magnitude : magnitude;
    }
    if (ec != std::errc()) return std::nullopt;
    return value;
}

template <typename T>
std::string format(T value, std::chars_format form, int precision) {
    // Enough for any double; a long double with thousands of integer digits gets a second try.
    std::string out(64 + static_cast<size_t>(std::max(precision, 0)), '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto [ptr, ec] = std::to_chars(out.data(), out.data() + out.size(), value, form, precision);
        if (ec == std::errc()) {
            out.resize(static_cast<size_t>(ptr - out.data()));
            return out;
        }
        out.resize(out.size() + std::numeric_limits<T>::max_exponent10 + 64);
    }
    return {};
}

}  // namespace

std::optional<double> parseDouble(std::string_view s) { return parse<double>(s); }
std::optional<long double> parseLongDouble(std::string_view s) { return parse<long double>(s); }

std::string formatFixed(double value, int places) { return format(value, std::chars_format::fixed, places); }
std::string formatFixed(long double value, int places) { return format(value, std::chars_format::fixed, places); }

std::string formatGeneral(double value, int significant) {
    return format(value, std::chars_format::general, significant);
}

}  // namespace pictra::text
