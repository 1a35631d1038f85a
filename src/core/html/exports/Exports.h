#pragma once

#include <optional>
#include <string>
#include <vector>

// The converters of "Export/Import": timetable pages from a timetabling
// program's export, source-code string literals, phone book and address lists,
// and spreadsheet ranges as star tables. Text is Windows-1252; messages UTF-8.
namespace pictra::html::exports {

struct Exported {
    std::optional<std::string> text;
    std::string message;
};

enum class TimetableKey { Teachers, Classes, Rooms };

extern const char* const kTimetableFormat;

// The seven fields of an export line: trimmed, quotes removed, a missing field
// repeating the last one; nullopt for a quote left open.
std::optional<std::vector<std::string>> timetableFields(const std::string& line);
// The whole page, one table per teacher, class or room.
Exported timetablePage(const std::string& exportText, TimetableKey key);

inline constexpr const char* kDelphiIntro =
    "Jede Zeile abc wird zu 'abc'#13#10+ übersetzt (Hochkommas verdoppelt).";
inline constexpr const char* kDelphiQuestion =
    "Datei (zum Beispiel RTF-Datei) einlesen? (Nein = Ausgewähltes wird umgeformt.)";
inline constexpr const char* kDelphiNothingSelected = "Der zu exportierende Text muß zuerst markiert werden.";
inline constexpr const char* kDelphiDone = "In der Zwischenablage befindet sich der Quellcode für Delphi.";
// Every line as a Pascal string literal, CR LF after each.
std::string delphiSource(const std::string& input);

// "Telefonbuch nach Nummern sortieren": the last three characters in front.
std::vector<std::string> phoneBookLines(const std::vector<std::string>& lines);
// "E-Mail-Adressen herausfiltern": every word holding "@", followed by ";".
std::string mailAddresses(const std::vector<std::string>& lines);

// A range copied from a spreadsheet (tab-separated lines) as a star table.
Exported starTableFromTabs(const std::string& clipboard);

}  // namespace pictra::html::exports
