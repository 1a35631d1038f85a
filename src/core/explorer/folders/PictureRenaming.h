#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "common/Dialogs.h"

// The two windows that rename the pictures of a folder: numbering in steps of
// ten, a planned order ("Bilddateien umbenennen") and stems with counters
// ("Dateien umbenennen und umordnen"). Every rename goes through a rename plan:
// names exchanged among the files are safe, and a planned name that another file
// outside the plan already has is reported, never replaced.
namespace pictra::folders {

// The picture files of a folder (the explorer's picture-name test), sorted by name ignoring case.
std::vector<std::string> pictureNames(const std::string& folder);

// Digits of the numbers for `count` files: 2 when count + 1 ≤ 9, 3 up to 99, 4 up
// to 999, 5 up to 9999, else 7.
int numberDigits(std::size_t count);

struct NameChange {
    std::string from;  // names within the folder
    std::string to;
};

// Runs the changes (unchanged names left out) and reports every file that did not
// get its new name with `failure(from, to)`. Returns the number renamed.
std::size_t renameInFolder(const std::string& folder, const std::vector<NameChange>& changes,
                           const std::string& journalFolder, Dialogs& dialogs,
                           std::string (*failure)(const std::string&, const std::string&));

// "Alle Dateien umbenennen" / "Ausgewählte Dateien umbenennen": the names, in
// list order, numbered 10, 20, 30, … behind the prefix (asked first; cancelled:
// nothing). The extension stays.
void numberPictures(const std::string& folder, const std::vector<std::string>& names, const std::string& journalFolder,
                    Dialogs& dialogs);
std::vector<NameChange> numberingPlan(const std::vector<std::string>& names, const std::string& prefix);

// The planned order of `Form10umb`: each entry the file's name and its planned name.
struct PlannedName {
    std::string name;
    std::string planned;  // equal to name while nothing is planned
};
// The line of the planned list: planned name + " <-" + name, or the name alone.
std::string plannedLine(const PlannedName& entry);
// "Umbenennen in": the typed name (without extension) planned for entry `index`;
// false with the window's message when refused.
bool planName(std::vector<PlannedName>& entries, std::size_t index, const std::string& typed, Dialogs& dialogs);
// "Aktualisieren": every planned name carried out.
void applyPlannedNames(const std::string& folder, const std::vector<PlannedName>& entries,
                       const std::string& journalFolder, Dialogs& dialogs);

// `Form10umb2`: a line is a name, or name + "->" + new name without extension.
std::vector<std::string> fineTuneLines(const std::vector<std::string>& names, const std::string& stem);
// The name a line gives its file: the text after "->" with the old extension, or the line itself.
std::string newNameOfLine(const std::string& line);
// "Wichtig: Folgende Dateien haben gleiche Namen …" with every pair, or empty.
std::string duplicateReport(const std::vector<std::string>& lines);
// "Schließen": the duplicate check, then every planned line carried out; false
// when duplicates stopped it.
bool applyLines(const std::string& folder, const std::vector<std::string>& lines, const std::string& journalFolder,
                Dialogs& dialogs);
// "Extender aller Dateien als .jpg": only files whose bytes are JPEG; the report
// names the others.
void extensionsToJpg(const std::string& folder, const std::vector<std::string>& names, const std::string& journalFolder,
                     Dialogs& dialogs);

}  // namespace pictra::folders
