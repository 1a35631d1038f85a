#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "explorer/compare/CompareGrid.h"

// The line diff of two texts through libgit2 (git's own xdiff).
namespace pictra::platform {

// The stretches where `oldLines` and `newLines` differ, in order. Lines are
// compared as bytes; every file is taken as text.
std::vector<compare::Hunk> diffLines(const std::vector<std::string>& oldLines, const std::vector<std::string>& newLines);
// The same of two texts whose lines each end in "\n" (CompareGrid::diffKeys).
std::vector<compare::Hunk> diffTexts(std::string_view oldText, std::string_view newText);

// Starts the diff library on a thread of its own, so a first diff soon after
// finds it ready (optional; the diff starts it itself otherwise).
void prepareLineDiff();

}  // namespace pictra::platform
