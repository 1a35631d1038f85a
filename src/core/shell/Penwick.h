#pragma once

#include <optional>
#include <string>

#include "common/Dialogs.h"
#include "settings/ProgramPaths.h"

// "Umschalten nach Penwick": the text goes to the sister authoring program
// through a hand-off file and comes back from it.
namespace pictra::penwick {

inline constexpr const char* kProgram = "penwick";

// The program file name with the extension ".penwick".
std::string handOffFile(const ProgramPaths& paths);

// Writes the text (Windows-1252) after deleting an older hand-off file; false
// with the message when it cannot be written.
bool prepare(const std::string& file, const std::string& text, Dialogs& dialogs);

// "Weiter mit Pictra": the text from the hand-off file, which is then deleted.
std::optional<std::string> takeBack(const std::string& file, Dialogs& dialogs);

}  // namespace pictra::penwick
