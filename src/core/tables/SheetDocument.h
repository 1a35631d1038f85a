#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tables/Sheet.h"

// Between the document and the table sheet: whether a text is a star table, the
// texts that start a new one, and the writing back.
namespace pictra::tables {

enum class SheetOpening { Table, CommaVariant, NotATable };
// "[!Xtt]" marks the comma-separated variant; a star table begins with "*".
SheetOpening classifySheetText(const std::string& text);

inline constexpr const char* kMsgNotYetReady = "Noch nicht fertig ????";
inline constexpr const char* kMsgNotATable =
    "Es handelt sich noch nicht um eine Tabelle!\rDie erste Zeile muß mit \"*\" die Felder kennzeichnen!\rDie zweite "
    "Zeile muß die Kopfzeile enthalten.";
inline constexpr const char* kAskShowExample = "Soll ein Beispiel einer Tabelle gezeigt werden?";
inline constexpr const char* kAskNewTable = "Soll eine neue Tabelle erstellt werden?";
inline constexpr const char* kMsgExampleMade =
    "Es wurde eine neue Textdatei generiert, die als Tabelle interpretiert werden kann.\rNun wird das Menü \"Tabelle\" "
    "aufgerufen. Sie sehen dann, wie Sie mit ihr arbeiten können.";
inline constexpr const char* kMsgCloseModified =
    "Bitte Datei abspeichern oder mit Menü \"Datei|Abbrechen\" zurücksetzten!";

// The sample mark list of "Beispiel einer Tabelle" (Windows-1252 lines).
std::vector<std::string> exampleTable();

// "Tabelle aus Namensliste erstellen": the message when the text already is a
// table, else the list under a marker line and the header "Name Vorname".
std::string alreadyATableMessage();
std::vector<std::string> tableFromNameList(const std::vector<std::string>& names);

// "Hilfe zu Tabellen".
std::string tablesHelp();

// The written lines when they differ from the document's (another line count, or
// a line that differs after trimming); nullopt when the document stays as it is.
std::optional<std::vector<std::string>> writtenBack(const Sheet& sheet, int gap,
                                                    const std::vector<std::string>& documentLines);

}  // namespace pictra::tables
