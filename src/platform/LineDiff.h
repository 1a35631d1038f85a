#pragma once

#include <string>
#include <vector>

#include "explorer/compare/CompareGrid.h"

// The line diff of two texts through libgit2 (git's own xdiff).
namespace pictra::platform {

// The stretches where `oldLines` and `newLines` differ, in order. Lines are
// compared as bytes; every file is taken as text.
std::vector<compare::Hunk> diffLines(const std::vector<std::string>& oldLines, const std::vector<std::string>& newLines);
// The same of two texts whose lines each end in "\n" (CompareGrid::joinedText).
std::vector<compare::Hunk> diffTexts(const std::string& oldText, const std::string& newText);

}  // namespace pictra::platform
