#include "SheetComputing.h"

#include <algorithm>
#include <cmath>

#include "calc/Evaluator.h"
#include "common/Codec.h"
#include "common/Text.h"

namespace pictra::tables {

namespace {

// A field number typed into the sheet's fields; 0 (never valid) when it is no number.
long long fieldNumber(const std::string& text) { return text::toIntDef(text, 0); }

bool hasDigit(const std::string& s) {
    return std::any_of(s.begin(), s.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

bool confirmOverwrite(SheetContext& c, int field, const std::string& lead) {
    c.markTarget(field);
    const std::string question = lead + "Achtung! Das Feld " + std::to_string(field) + " wird überschrieben!\r" +
                                 "Sind Sie damit einverstanden?";
    if (c.dialogs.ask(question) == Answer::Yes) return true;
    c.dialogs.inform(kMsgAbort);
    c.markTarget(-1);
    return false;
}

// Validates a field number typed into the sheet, storing it under `key` when valid.
bool acceptField(SheetContext& c, const std::string& text, const char* key, const char* label, long long min = 1) {
    const long long f = fieldNumber(text);
    if (!c.sheet.validField(f) || f < min) {
        c.dialogs.inform(std::string("Wert in \"") + label + "\" nicht zulässig!");
        return false;
    }
    c.store.writeValue(c.section, key, std::to_string(f));
    return true;
}

double roundedDownToQuarter(double value) { return std::trunc(value * 4 + 1.0 / 4096) / 4; }

std::string limitedGrade(double g) { return formatValue(std::clamp(g, 1.0, 6.0), "#.##"); }

// The next word from `at` on. Not a stream: that would take its white space from the global locale.
std::string nextWord(const std::string& s, size_t& at) {
    constexpr const char* kWhite = " \t\n\v\f\r";
    const size_t begin = std::min(s.find_first_not_of(kWhite, at), s.size());
    at = std::min(s.find_first_of(kWhite, begin), s.size());
    return s.substr(begin, at - begin);
}

std::string padRight(std::string s, size_t width, char fill = ' ') {
    if (s.size() < width) s.resize(width, fill);
    return s;
}

}  // namespace

bool computeSumsOrAverages(SheetContext& c, const std::string& from, const std::string& to, const std::string& in,
                           bool sums) {
    if (!acceptField(c, from, "von", "von Feldnr.")) return false;
    if (!acceptField(c, to, "bis", "bis Feldnr.", fieldNumber(from))) return false;
    if (!acceptField(c, in, "Summe/Durchschnitt in Feld", "in Feldnr.")) return false;
    const int first = static_cast<int>(fieldNumber(from));
    const int last = static_cast<int>(fieldNumber(to));
    const int target = static_cast<int>(fieldNumber(in));
    if (!confirmOverwrite(c, target, "Wirklich überall was eingetragen?\r")) return false;
    for (int r = 1; r < c.sheet.recordEnd(); ++r) {
        double sum = 0;
        int count = 0;
        for (int f = first; f <= last; ++f) {
            const std::string& cellText = c.sheet.cell(r, f);
            if (sums ? hasDigit(cellText) : !text::trim(cellText).empty()) ++count;
            if (!sums || hasDigit(cellText)) sum += cellDecimal(cellText);
        }
        if (count == 0) continue;
        c.sheet.cell(r, target) = sums ? formatValue(sum, "##0.#####") : formatValue(sum / count, "##0.###");
    }
    c.markTarget(-1);
    return true;
}

std::optional<std::string> gradeText(int scheme, double p, double m, const std::string& formula) {
    if (scheme == 1) {
        const double q = m == 0 ? 0 : p * 60 / m;
        double n = 0;
        if (q > 56) n = 15;
        else if (q > 55) n = 14;
        else if (q > 25) n = (q - 12) / 3;
        else if (q > 22) n = 4;
        else if (q > 18) n = 3;
        else if (q > 14) n = 2;
        else if (q > 10) n = 1;
        return formatValue(std::trunc(n + 1.0 / 4096), "#0.##");
    }
    if (scheme == 2) {
        try {
            const double value =
                static_cast<double>(calc::EvaluateWithVariables(formula, "p", "max", static_cast<calc::Value>(p),
                                                                static_cast<calc::Value>(m)));
            if (!std::isfinite(value)) return std::nullopt;
            return limitedGrade(roundedDownToQuarter(value));
        } catch (const calc::EvaluationError&) {
            return std::nullopt;
        }
    }
    if (m == 0) return std::nullopt;
    return limitedGrade(roundedDownToQuarter(6.5 - 5.5 * p / m));
}

std::string shownFormula(int scheme, const std::string& ownFormula) {
    if (scheme == 0) return "6,5 - 5,5*p/max";
    if (scheme == 1) return "(p*60/max - 12)/3";
    return ownFormula;
}

bool computeGrades(SheetContext& c, const GradeRequest& request) {
    if (!acceptField(c, request.pointsField, "Summe/Durchschnitt in Feld", "Summe in Feldnr.")) return false;
    if (!acceptField(c, request.gradeField, "Note in Feld", "Note in Feldnr.")) return false;
    const long long maximum = text::toIntDef(request.maximum, 0);
    c.store.writeValue(c.section, "max", std::to_string(maximum));
    c.store.writeValue(c.section, "Stufe", std::to_string(request.scheme));
    if (request.scheme == 2) c.store.writeValue(c.section, "Formel", request.formula);
    const int points = static_cast<int>(fieldNumber(request.pointsField));
    const int target = static_cast<int>(fieldNumber(request.gradeField));
    if (!confirmOverwrite(c, target, "")) return false;
    for (int r = 1; r < c.sheet.recordEnd(); ++r) {
        const std::string& p = c.sheet.cell(r, points);
        if (text::trim(p).empty()) continue;
        const auto grade = gradeText(request.scheme, cellDecimal(p), static_cast<double>(maximum), request.formula);
        c.sheet.cell(r, target) = grade ? *grade : "###";
    }
    c.markTarget(-1);
    return true;
}

std::string gradeTable(int scheme, double maximum, const std::string& formula) {
    std::string out = "Punkte|Note  |Punkte|Note  |";
    const auto cellOf = [](const std::string& s) { return padRight(s, 6) + "|"; };
    const auto grade = [&](double p) { return gradeText(scheme, p, maximum, formula).value_or("###"); };
    const long long last = static_cast<long long>(std::trunc(maximum + 0.5));
    for (long long k = 0; k <= last; ++k) {
        const double p = static_cast<double>(k);
        out += "\r\n" + cellOf(std::to_string(k)) + cellOf(grade(p)) + cellOf(formatValue(p + 0.5, "0.#")) +
               cellOf(grade(p + 0.5));
    }
    return out;
}

std::string gradeExplanation() {
    return "Note ab Kl.5:\r"
           "Note = 6,5 - 5,5*p/max (p = Punkte, max = Höchstpunktzahl).\r"
           "Die Note wird auf Viertelnoten abgerundet (3,52 wird 3,5) und liegt stets zwischen 1 und 6.\r\r"
           "Note Kursstufe:\r"
           "Aus q = p*60/max ergeben sich die Notenpunkte: über 56: 15, über 55: 14, über 25: (q - 12)/3,\r"
           "über 22: 4, über 18: 3, über 14: 2, über 10: 1, sonst 0. Nachkommastellen fallen weg.\r\r"
           "Note nach Formel:\r"
           "Der eigene Rechenausdruck mit p (Punkte) und max (Höchstpunktzahl) wird berechnet,\r"
           "auf Viertelnoten abgerundet und auf 1 bis 6 begrenzt.";
}

bool applyRowFormula(SheetContext& c, const std::string& typed) {
    const std::string formula = text::toLowerCp1252(text::trim(typed));
    c.store.writeValue(c.section, "Rechenausdruck", codec::cp1252ToUtf8(formula));
    const size_t equals = formula.find('=');
    if (equals == std::string::npos) {
        c.dialogs.inform("\"=\"-Zeichen fehlt!");
        return false;
    }
    const long long target = cellInteger(formula.substr(0, equals));
    if (!c.sheet.validField(target)) {
        c.dialogs.inform("Feld " + std::to_string(target) + " nicht vorhanden");
        return false;
    }
    if (!confirmOverwrite(c, static_cast<int>(target), "")) return false;
    const std::string expression = formula.substr(equals + 1);
    // The grid's empty spare rows are no records: a value there would become a new line of the table.
    for (int r = 1; r < c.sheet.filledEnd(); ++r) {
        std::string filled = expression;
        for (int f = 1; f <= c.sheet.columns(); ++f) {
            filled = text::replaceAll(filled, "f" + std::to_string(f), c.sheet.cell(r, f));
        }
        std::string result = "###";
        try {
            const calc::Value value = calc::EvaluateExpression(codec::cp1252ToUtf8(filled));
            if (std::isfinite(static_cast<double>(value))) result = formatValue(static_cast<double>(value), "##0.#####");
        } catch (const calc::EvaluationError&) {
        }
        c.sheet.cell(r, static_cast<int>(target)) = result;
    }
    c.markTarget(-1);
    return true;
}

ColumnStatistics columnStatistics(const Sheet& sheet, int field, GradeReader& grades) {
    ColumnStatistics stats;
    for (int r = 1; r < sheet.recordEnd(); ++r) {
        const std::string& cellText = sheet.cell(r, field);
        const double value = grades.read(cellValuePart(cellText));
        if (cellText.find('0') == std::string::npos && value == 0) continue;
        ++stats.count;
        stats.sum += value;
    }
    return stats;
}

std::string statisticsLine(const std::string& header, const ColumnStatistics& stats) {
    const double average = stats.count > 0 ? stats.sum / stats.count : 0;
    return "\r" + codec::cp1252ToUtf8(padRight(header, 10, '.')) + " Anzahl: " +
           padRight(std::to_string(stats.count), 3) + " Summe: " + padRight(formatValue(stats.sum, "##0.###"), 4) +
           " Durchschnitt: " + formatValue(average, "##0.###");
}

namespace {

void showStatistics(SheetContext& c, int first, int last) {
    GradeReader grades;
    std::string lines;
    for (int f = first; f <= last; ++f) {
        const ColumnStatistics stats = columnStatistics(c.sheet, f, grades);
        if (stats.count > 0) lines += statisticsLine(c.sheet.cell(0, f), stats);
    }
    for (const std::string& line : grades.report()) lines += "\r" + codec::cp1252ToUtf8(line);
    c.dialogs.showText("Summe und Durchschnitte", lines);
}

}  // namespace

void oneColumnStatistics(SheetContext& c, ColumnResult what, const std::function<void(const std::string&)>& toClipboard) {
    long long field = c.sheet.columns();
    if (!c.dialogs.askNumber("Spalte", "In welcher Spalte?", field)) return;
    if (!c.sheet.validField(field)) {
        c.dialogs.inform("Feld nicht vorhanden!");
        return;
    }
    const int f = static_cast<int>(field);
    GradeReader grades;
    const ColumnStatistics stats = columnStatistics(c.sheet, f, grades);
    const double value = what == ColumnResult::Sum ? stats.sum : (stats.count > 0 ? stats.sum / stats.count : 0);
    toClipboard(formatValue(value, "##0.###"));
    c.dialogs.inform(what == ColumnResult::Sum ? "Summe In Zwischenablage." : "Durchschnitt in Zwischenablage.");
    showStatistics(c, f, f);
}

void allColumnStatistics(SheetContext& c) { showStatistics(c, 1, c.sheet.columns()); }

void sortRecordRange(Sheet& sheet, int key, int second, bool numeric, bool descending) {
    int end = sheet.recordEnd();
    while (end > 2 && text::trim(sheet.cell(end - 1, key)).empty()) --end;
    if (end <= 2) return;
    const auto k = static_cast<size_t>(key - 1);
    const auto s = static_cast<size_t>(second - 1);
    const auto byCodes = [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        });
    };
    // Keys are read once, not at every comparison: large mark lists sort in milliseconds.
    struct Keyed {
        double number;
        std::vector<std::string>* row;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(static_cast<size_t>(end - 1));
    for (int r = 1; r < end; ++r) {
        auto& row = sheet.rows[static_cast<size_t>(r)];
        keyed.push_back({numeric ? cellDecimal(row[k]) : 0.0, &row});
    }
    const auto less = [&](const Keyed& a, const Keyed& b) {
        const bool tie = numeric ? a.number == b.number : (*a.row)[k] == (*b.row)[k];
        if (tie) return second > 0 && byCodes((*a.row)[s], (*b.row)[s]);
        return numeric ? a.number < b.number : byCodes((*a.row)[k], (*b.row)[k]);
    };
    std::stable_sort(keyed.begin(), keyed.end(),
                     [&](const Keyed& a, const Keyed& b) { return descending ? less(b, a) : less(a, b); });
    Grid sorted;
    sorted.reserve(keyed.size());
    for (Keyed& item : keyed) sorted.push_back(std::move(*item.row));
    std::move(sorted.begin(), sorted.end(), sheet.rows.begin() + 1);
}

bool sortRecords(SheetContext& c, bool numeric, bool descending) {
    const std::string stored = c.store.readValue(c.section, "ordnen");
    const auto answer = c.dialogs.askText("Ordnen", "In welchem Feld ordnen?", stored.empty() ? "1 2" : stored);
    if (!answer) return false;
    c.store.writeValue(c.section, "ordnen", *answer);
    size_t at = 0;
    const std::string first = nextWord(*answer, at);
    const std::string second = nextWord(*answer, at);
    const long long key = text::toIntDef(first, 0);
    const long long tieKey = second.empty() ? 0 : text::toIntDef(second, 0);
    for (const long long f : {key, second.empty() ? 1 : tieKey}) {
        if (!c.sheet.validField(f)) {
            c.dialogs.inform("Feld " + std::to_string(f) + " nicht vorhanden");
            return false;
        }
    }
    sortRecordRange(c.sheet, static_cast<int>(key), static_cast<int>(tieKey), numeric, descending);
    return true;
}

}  // namespace pictra::tables
