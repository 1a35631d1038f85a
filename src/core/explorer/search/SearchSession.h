#pragma once

#include <string>

// What the search in files keeps for the program run.
namespace pictra::filesearch {

struct SearchSession {
    // Off: text comparisons ignore case (here, in the explorer's simple search and
    // in the bin's search); on: they respect it.
    bool matchCase = false;
    // Set: the search replaces T1 in the files it finds it in.
    std::string replacement;
    // "Dateien mit Ordner kopieren in folgenden Ordner".
    std::string copyTarget;
    bool copyChoiceShown = false;
    bool copyAll = false;           // "alle" rather than "nur die noch nicht existieren"
    bool copyWebTextsAlways = true;  // "Textdateien auf jeden Fall kopieren"
    // The extension last confirmed by "Anwendung ... starten?".
    std::string confirmedExtension;
};

}  // namespace pictra::filesearch
