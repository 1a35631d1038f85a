#pragma once

#include <string>

#include "settings/ProgramPaths.h"

namespace pictra::ui {

class MainWindow;

// This run's emergency copy of unsaved texts in the program folder.
std::string emergencyCopyName(const ProgramPaths& paths);

// Before a command that runs a library over the whole text: every modified
// document's text is put into the emergency copy. False stops the command.
bool secureUnsavedTexts(MainWindow& window);

// At start-up: the texts that a run which did not end left behind are offered
// back, each as a modified document under its old name.
void offerEmergencyRestore(MainWindow& window);

}  // namespace pictra::ui
