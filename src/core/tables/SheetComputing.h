#pragma once

#include <optional>
#include <string>

#include "tables/Sheet.h"

// The computations of the table sheet: sums and averages, school grades, row
// formulas, column statistics and sorting of records. Each asks through the
// context's dialogs and changes nothing when a field number is invalid or the
// user says no.
namespace pictra::tables {

// "Berechne": sums (`sums`) or averages of the fields from..to into the field `in`.
bool computeSumsOrAverages(SheetContext& c, const std::string& from, const std::string& to, const std::string& in,
                           bool sums);

// Grade schemes: 0 from class 5, 1 upper-school points, 2 own formula.
// The grade's text, nullopt when the own formula cannot be evaluated.
std::optional<std::string> gradeText(int scheme, double points, double maximum, const std::string& formula);
// The read-only formula shown for schemes 0 and 1.
std::string shownFormula(int scheme, const std::string& ownFormula);

struct GradeRequest {
    std::string pointsField, gradeField, maximum, formula;
    int scheme = 0;
};
// "Berechne Note".
bool computeGrades(SheetContext& c, const GradeRequest& request);

// "Notentabelle": the points 0 .. max in half steps with their grades.
std::string gradeTable(int scheme, double maximum, const std::string& formula);
// "Hinweis zur Berechnung der Notentabelle".
std::string gradeExplanation();

// "Rechenausdruck": "f6 = 1/2*f3 + ..." for every record.
bool applyRowFormula(SheetContext& c, const std::string& formula);

// Column statistics over the records: cells without "0" whose grade value is 0 are skipped.
struct ColumnStatistics {
    int count = 0;
    double sum = 0;
};
ColumnStatistics columnStatistics(const Sheet& sheet, int field, GradeReader& grades);
// One line of the "Summe und Durchschnitte" window (beginning with "\r").
std::string statisticsLine(const std::string& header, const ColumnStatistics& stats);

enum class ColumnResult { Sum, Average };
// "Von einer Spalte die Summe/den Durchschnitt berechnen": asks for the column,
// hands the value to `toClipboard` and shows the statistics window.
void oneColumnStatistics(SheetContext& c, ColumnResult what, const std::function<void(const std::string&)>& toClipboard);
// "Von allen Spalten Summe und Durchschnitte berechnen".
void allColumnStatistics(SheetContext& c);

// "Alphabetisch ordnen <" and its siblings: asks for one or two key fields.
bool sortRecords(SheetContext& c, bool numeric, bool descending);
// The sort itself, keys counted from 1 (second 0: none).
void sortRecordRange(Sheet& sheet, int key, int second, bool numeric, bool descending);

}  // namespace pictra::tables
