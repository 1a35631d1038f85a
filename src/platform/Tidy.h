#pragma once

#include <string>

// The HTML checker Tidy, used as a library in place of the outside program.
namespace pictra::platform {

struct TidyResult {
    bool ok = false;         // false when Tidy wrote no corrected page
    std::string output;      // the corrected page (Windows-1252)
    std::string errors;      // Tidy's messages (UTF-8)
};

// Checks and corrects a page with the options of the program's checker: lines
// wrapped at 120, indented, presentational markup made clean.
TidyResult tidyPage(const std::string& cp1252Page);

// The checker as the explorer hands it a page file: indented, nothing else
// changed beyond Tidy's own corrections; characters outside ASCII come out as
// entities.
TidyResult tidyPageIndented(const std::string& cp1252Page);

}  // namespace pictra::platform
