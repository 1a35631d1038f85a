#include "Evaluator.h"

#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <vector>

#include "common/Numbers.h"

namespace pictra::calc {

namespace {

constexpr std::array<char, 7> kOperators = {'+', '-', '*', '\xB7', '/', ':', '^'};
constexpr Value kPi = 3.14159265358979323846264338327950288L;
constexpr Value kEur = 1.95583L;
constexpr Value kDegree = 0.017453292519943295769L;
constexpr Value kPiForDegrees = 3.1415926535897932385L;

bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlankOrControl(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlankOrControl(s.back())) s.remove_suffix(1);
    return s;
}

// "*" wherever ")" or a digit is directly followed by "(" or a letter. Cutting a
// text into parts never makes a new such pair, so once for the whole text is enough.
std::string withImplicitMultiplication(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 4);
    for (size_t i = 0; i < s.size(); ++i) {
        out += s[i];
        if (i + 1 < s.size() && (s[i] == ')' || isDigit(s[i])) && (s[i + 1] == '(' || isLetter(s[i + 1]))) out += '*';
    }
    return out;
}

Value checked(Value v) {
    if (!std::isfinite(v)) throw EvaluationError("Überlauf");
    return v;
}

Value guardedLn(Value x) { return x < 1e-15L ? 0.0L : std::log(x); }

Value guardedSin(Value x) { return std::fabs(x) >= 9223372036854775808.0L ? 0.0L : std::sin(x); }
Value guardedCos(Value x) { return std::fabs(x) >= 9223372036854775808.0L ? 0.0L : std::cos(x); }

Value guardedTan(Value x) {
    const Value c = guardedCos(x);
    if (c == 0) return 0;
    const Value t = guardedSin(x) / c;
    return std::isfinite(t) ? t : 0.0L;
}

Value arcsin(Value x) { return std::fabs(x) > 1 ? 0.0L : std::atan2(x, std::sqrt(1 - x * x)); }
Value arccos(Value x) { return std::fabs(x) > 1 ? 0.0L : std::atan2(std::sqrt(1 - x * x), x); }

Value factorial(Value x) {
    Value result = 1;
    for (Value f = x; f > 1; f -= 1) {
        result *= f;
        if (!std::isfinite(result)) throw EvaluationError("Überlauf");
    }
    return result;
}

Value floorValue(Value x) {
    const Value t = std::trunc(x);
    return x >= t ? t : t - 1;
}

Value guardedDivide(Value a, Value b) {
    if (b == 0) return 0;
    const Value q = a / b;
    return std::isfinite(q) ? q : 0.0L;
}

Value integerPower(Value base, unsigned long long n) {
    Value result = 1;
    Value square = base;
    while (n > 0) {
        if (n & 1) result *= square;
        n >>= 1;
        if (n) square *= square;
    }
    return result;
}

Value guardedPower(Value base, Value exponent) {
    if (exponent == 0) return 1;
    if (base == 0 && exponent > 0) return 0;
    const Value a = std::fabs(exponent) + 1e-18L;
    const bool integral = a - std::trunc(a) < 2e-18L;
    Value result = 0;
    if (integral && std::fabs(exponent) <= 2147483647.0L) {
        const long long n = std::llround(exponent);
        if (n >= 0) {
            result = integerPower(base, static_cast<unsigned long long>(n));
        } else {
            const Value denominator = integerPower(base, static_cast<unsigned long long>(-n));
            if (denominator == 0) return 0;
            result = 1 / denominator;
        }
    } else if (base > 0) {
        result = std::exp(exponent * std::log(base));
    }
    return std::isfinite(result) ? result : 0.0L;
}

struct Function {
    std::string_view name;
    Value (*apply)(Value);
};

const Function kFunctions[] = {
    {"ln", [](Value x) { return guardedLn(x); }},
    {"lg", [](Value x) { return guardedLn(x) / std::log(10.0L); }},
    {"lb", [](Value x) { return guardedLn(x) / std::log(2.0L); }},
    {"sin", [](Value x) { return guardedSin(x); }},
    {"cos", [](Value x) { return guardedCos(x); }},
    {"tan", [](Value x) { return guardedTan(x); }},
    {"arctan", [](Value x) { return std::atan2(x, 1.0L); }},
    {"arcsin", [](Value x) { return arcsin(x); }},
    {"arccos", [](Value x) { return arccos(x); }},
    {"si_", [](Value x) { return guardedSin(x * kDegree); }},
    {"co_", [](Value x) { return guardedCos(x * kDegree); }},
    {"ta_", [](Value x) { return guardedTan(x * kDegree); }},
    {"arcta_", [](Value x) { return std::atan2(x, 1.0L) * 180 / kPiForDegrees; }},
    {"arcsi_", [](Value x) { return arcsin(x) * 180 / kPiForDegrees; }},
    {"arcco_", [](Value x) { return arccos(x) * 180 / kPiForDegrees; }},
    {"abs", [](Value x) { return std::fabs(x); }},
    {"exp", [](Value x) { return checked(std::exp(x)); }},
    {"fak", [](Value x) { return factorial(x); }},
    {"int", [](Value x) { return floorValue(x); }},
    {"sqrt", [](Value x) { return x < 0 ? 0.0L : std::sqrt(x); }},
};

// Digits with at most one decimal comma.
Value toNumber(std::string_view s) {
    std::string plain;
    bool mark = false;
    bool digit = false;
    for (char c : s) {
        if (isDigit(c)) {
            digit = true;
            plain += c;
        } else if (c == ',' && !mark) {
            mark = true;
            plain += '.';
        } else {
            throw EvaluationError("Keine Zahl: " + std::string(s));
        }
    }
    if (!digit) throw EvaluationError("Keine Zahl: " + std::string(s));
    // Thousands of digits are beyond the extended range: that is an overflow, not "inf".
    const auto value = text::parseLongDouble(plain);
    if (!value) throw EvaluationError("Keine Zahl: " + std::string(s));
    return checked(*value);
}

Value combine(char op, Value left, Value right) {
    switch (op) {
        case '+': return checked(left + right);
        case '-': return checked(left - right);
        case '*':
        case '\xB7': return checked(left * right);
        case '/':
        case ':': return guardedDivide(left, right);
        default: return guardedPower(left, right);
    }
}

class Evaluator {
public:
    Evaluator(std::string_view name1, std::string_view name2, Value value1, Value value2)
        : m_name1(name1), m_name2(name2), m_value1(value1), m_value2(value2) {}

    Value evaluate(std::string_view text, int depth) {
        if (depth > kMaxNesting) throw EvaluationError("Zu tief geschachtelt");
        const std::string_view s = trimmed(text);
        if (s.empty()) return 0;
        // A leading "-" would get a "0" in front; an empty left operand is 0 just as well.
        if (auto split = splitPositions(s); !split.empty()) return evaluateChain(s, split, depth);
        return operand(s, depth);
    }

private:
    // The depth-0 positions of the loosest operator, scanning from the right end as
    // the definition does, so that unbalanced parentheses count the same way.
    std::vector<size_t> splitPositions(std::string_view s) {
        std::array<bool, kOperators.size()> present{};
        forEachTopLevel(s, [&](size_t, char c) {
            for (size_t k = 0; k < kOperators.size(); ++k) {
                if (c == kOperators[k]) present[k] = true;
            }
        });
        std::vector<size_t> positions;
        for (size_t k = 0; k < kOperators.size(); ++k) {
            if (!present[k]) continue;
            forEachTopLevel(s, [&](size_t i, char c) {
                if (c == kOperators[k]) positions.push_back(i);
            });
            std::reverse(positions.begin(), positions.end());
            break;
        }
        return positions;
    }

    // Every character outside parentheses, from the right end to the left: ")" lowers
    // the depth, "(" raises it, and only characters at depth 0 count.
    template <typename Visit>
    static void forEachTopLevel(std::string_view s, Visit visit) {
        int depth = 0;
        for (size_t i = s.size(); i-- > 0;) {
            const char c = s[i];
            if (c == ')') {
                --depth;
            } else if (c == '(') {
                ++depth;
            } else if (depth == 0) {
                visit(i, c);
            }
        }
    }

    // The definition splits at the rightmost occurrence and evaluates the left part
    // again, which splits at the next one: the same as folding from the left, but
    // without a stack frame per operator.
    Value evaluateChain(std::string_view s, const std::vector<size_t>& positions, int depth) {
        const char op = s[positions.front()];
        Value result = evaluate(s.substr(0, positions.front()), depth + 1);
        for (size_t k = 0; k < positions.size(); ++k) {
            const size_t from = positions[k] + 1;
            const size_t to = k + 1 < positions.size() ? positions[k + 1] : s.size();
            result = combine(op, result, evaluate(s.substr(from, to - from), depth + 1));
        }
        return result;
    }

    Value operand(std::string_view s, int depth) {
        for (const Function& f : kFunctions) {
            if (s.substr(0, f.name.size()) == f.name) return f.apply(evaluate(s.substr(f.name.size()), depth + 1));
        }
        if (s == "EUR") return kEur;
        if (s == "Pi") return kPi;
        if (s.front() == '(') return evaluate(s.substr(1, s.size() >= 2 ? s.size() - 2 : 0), depth + 1);
        if (s == m_name1) return m_value1;
        if (s == m_name2) return m_value2;
        return toNumber(s);
    }

    std::string_view m_name1;
    std::string_view m_name2;
    Value m_value1;
    Value m_value2;
};

}  // namespace

Value EvaluateWithVariables(std::string_view text, std::string_view name1, std::string_view name2, Value value1,
                            Value value2) {
    const std::string prepared = withImplicitMultiplication(trimmed(text));
    // No "inf" or "nan" may ever reach the text, whatever path produced it.
    return checked(Evaluator(name1, name2, value1, value2).evaluate(prepared, 0));
}

Value EvaluateExpression(std::string_view text) {
    std::string normalised;
    normalised.reserve(text.size());
    for (char c : text) {
        if (c == ' ') continue;
        normalised += c == '.' ? ',' : c;
    }
    return EvaluateWithVariables(normalised, "dummy1", "dummy2", 0, 0);
}

}  // namespace pictra::calc

namespace pictra::calc {

namespace {

constexpr Value kEpsilon = 1e-12L;

// Euclid on the floating values; false when it cannot finish.
bool reduce(Value& p, Value& q) {
    Value a = std::fabs(p);
    Value b = std::fabs(q);
    for (int guard = 0; b >= 0.5L; ++guard) {
        if (guard > 10000) return false;
        const Value r = a - std::trunc(a / b) * b;
        a = b;
        b = r;
    }
    if (a < 0.5L) return false;
    p = std::round(p / a);
    q = std::round(q / a);
    return true;
}

}  // namespace

std::string FractionSuffix(Value x) {
    const Value ax = std::fabs(x);
    if (!std::isfinite(ax)) return {};
    Value y = ax;
    Value p = 1, p0 = 0, q = 0, q0 = 1;
    for (int term = 0; term < 50; ++term) {
        const Value a = std::trunc(y + kEpsilon);
        const Value f = y - a;
        const Value np = a * p + p0;
        const Value nq = a * q + q0;
        p0 = p;
        q0 = q;
        p = np;
        q = nq;
        if (!std::isfinite(p) || !std::isfinite(q) || !reduce(p, q)) return {};
        if (kEpsilon > f) break;
        y = 1 / f;
        if (!std::isfinite(y) || q == 0) return {};
        if (std::fabs(ax - p / q) < kEpsilon) break;
    }
    if (q == 0 || !(std::fabs(ax - p / q) < kEpsilon)) return {};
    if (x < 0) p = -p;
    std::string text = " = " + text::formatFixed(p, 0) + "/" + text::formatFixed(q, 0);
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "/1") == 0) return {};
    return text;
}

std::string FormatNumber(Value value, std::string_view pattern) {
    const size_t dot = pattern.find('.');
    const std::string_view intPattern = pattern.substr(0, dot);
    const std::string_view fracPattern = dot == std::string_view::npos ? std::string_view() : pattern.substr(dot + 1);
    int fractionPlaces = 0;
    for (char c : fracPattern) fractionPlaces += c == '#' || c == '0';

    std::string digits = text::formatFixed(std::fabs(value), fractionPlaces);
    std::string fraction;
    if (const size_t point = digits.find('.'); point != std::string::npos) {
        fraction = digits.substr(point + 1);
        digits.resize(point);
    }
    // Trailing zeros go where the pattern has optional places.
    std::vector<char> kinds;
    for (char c : fracPattern) {
        if (c == '#' || c == '0') kinds.push_back(c);
    }
    size_t keep = fraction.size();
    while (keep > 0 && fraction[keep - 1] == '0' && kinds[keep - 1] == '#') --keep;
    fraction.resize(keep);
    // A value that rounds to zero shows no minus sign.
    const bool negative = value < 0 && (digits.find_first_not_of('0') != std::string::npos ||
                                        fraction.find_first_not_of('0') != std::string::npos);

    // Integer digits fill the placeholders from the right; what does not fit goes to the first one.
    std::vector<size_t> places;
    for (size_t i = 0; i < intPattern.size(); ++i) {
        if (intPattern[i] == '#' || intPattern[i] == '0') places.push_back(i);
    }
    std::vector<std::string> slot(intPattern.size());
    if (digits == "0" && !places.empty()) {
        // Zero shows only where the pattern requires a digit.
        for (size_t i : places) {
            if (intPattern[i] == '0') slot[i] = "0";
        }
    } else {
        size_t d = digits.size();
        for (size_t k = places.size(); k-- > 0 && d > 0;) slot[places[k]] = std::string(1, digits[--d]);
        if (d > 0 && !places.empty()) slot[places.front()] = digits.substr(0, d) + slot[places.front()];
    }
    std::string out = negative ? "-" : "";
    for (size_t i = 0; i < intPattern.size(); ++i) {
        if (intPattern[i] == '#' || intPattern[i] == '0') {
            out += slot[i];
        } else {
            out += intPattern[i];
        }
    }
    if (!fraction.empty()) out += ',';
    size_t f = 0;
    for (char c : fracPattern) {
        if (c == '#' || c == '0') {
            if (f < fraction.size()) out += fraction[f];
            ++f;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace pictra::calc
