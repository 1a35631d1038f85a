#include "Sheet.h"

#include <algorithm>

#include "calc/Evaluator.h"
#include "common/Codec.h"
#include "common/PathNames.h"
#include "common/Text.h"

namespace pictra::tables {

bool Sheet::hasPrintRow() const { return rows.size() > 1 && !rows.back().empty() && text::startsWith(rows.back()[0], "@D@"); }

int Sheet::recordEnd() const { return static_cast<int>(rows.size()) - (hasPrintRow() ? 1 : 0); }

void Sheet::setColumns(int count) {
    if (rows.empty()) rows.emplace_back();
    for (auto& row : rows) row.resize(static_cast<size_t>(std::max(count, 0)));
}

void Sheet::addRecords(int count) {
    const auto at = rows.begin() + recordEnd();
    rows.insert(at, static_cast<size_t>(std::max(count, 0)), std::vector<std::string>(static_cast<size_t>(columns())));
}

int Sheet::filledEnd() const {
    int end = recordEnd();
    const auto blankRow = [](const std::vector<std::string>& row) {
        return std::all_of(row.begin(), row.end(), [](const std::string& c) { return text::trim(c).empty(); });
    };
    while (end > 1 && blankRow(rows[static_cast<size_t>(end - 1)])) --end;
    return end;
}

void Sheet::dropTrailingEmptyRecords() { rows.erase(rows.begin() + filledEnd(), rows.begin() + recordEnd()); }

void Sheet::insertField(int field) {
    for (auto& row : rows) row.insert(row.begin() + std::clamp(field - 1, 0, static_cast<int>(row.size())), "");
}

void Sheet::removeField(int field) {
    if (!validField(field)) return;
    for (auto& row : rows) row.erase(row.begin() + (field - 1));
}

void Sheet::moveRow(int from, int to) {
    const int n = static_cast<int>(rows.size());
    if (from < 0 || to < 0 || from >= n || to >= n || from == to) return;
    auto row = std::move(rows[static_cast<size_t>(from)]);
    rows.erase(rows.begin() + from);
    rows.insert(rows.begin() + to, std::move(row));
}

void Sheet::moveField(int from, int to) {
    if (!validField(from) || !validField(to) || from == to) return;
    for (auto& row : rows) {
        auto cellText = std::move(row[static_cast<size_t>(from - 1)]);
        row.erase(row.begin() + (from - 1));
        row.insert(row.begin() + (to - 1), std::move(cellText));
    }
}

std::string settingsSection(const std::string& fileName) {
    std::string name = pathnames::fileNamePart(fileName);
    // The section must be the one the file had under Windows, where names were
    // Windows-1252: an umlaut counts as one byte.
    if (codec::isValidUtf8(name)) name = codec::utf8ToCp1252(name);
    unsigned sum = 0;
    for (unsigned char c : name) sum += c;
    unsigned c = sum % 255;
    if (c < 32) c += 32;
    return "Tabellenberechnung" + codec::cp1252ToUtf8(std::string(1, static_cast<char>(c)));
}

SheetSettings readSheetSettings(const SettingsStore& store, const std::string& section, int columns) {
    const auto value = [&](const char* key, const std::string& fallback) {
        std::string v = store.readValue(section, key);
        return v.empty() ? fallback : v;
    };
    SheetSettings s;
    s.from = value("von", "2");
    s.to = value("bis", std::to_string(columns - 1));
    s.sumField = value("Summe/Durchschnitt in Feld", std::to_string(columns));
    s.pointsField = value("Summe/Durchschnitt in Feld", std::to_string(columns - 1));
    s.gradeField = value("Note in Feld", std::to_string(columns));
    s.scheme = static_cast<int>(store.readInt(section, "Stufe", 0));
    if (s.scheme < 0 || s.scheme > 2) s.scheme = 0;
    s.maximum = value("max", s.scheme == 1 ? "60" : "24");
    s.formula = value("Formel", "7 - 6*p/max");
    s.order = value("ordnen", "1 2");
    s.rowFormula = store.readValue(section, "Rechenausdruck");
    return s;
}

std::string formatValue(double value, const char* pattern) {
    return calc::FormatNumber(static_cast<calc::Value>(value), pattern);
}

}  // namespace pictra::tables
