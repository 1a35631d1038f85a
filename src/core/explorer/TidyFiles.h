#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "explorer/RecycleBin.h"

// "Ausgewählten HTML-Dateien mit Tidy prüfen": the checker corrects each selected
// page in its file, as the outside checker did with "-m".
namespace pictra::explorer {

struct TidyCheck {
    bool corrected = false;  // false: the checker found errors it would not correct
    std::string page;        // the corrected page
    std::string messages;    // the checker's messages (UTF-8)
};
using TidyChecker = std::function<TidyCheck(const std::string& page)>;

struct TidyFilesResult {
    int changed = 0;
    int failed = 0;  // could not be read, kept or written: left as it was
    bool cancelled = false;
    std::string report;  // per page its path and the checker's messages (UTF-8, CR LF)
};

// The pages (".htm" in the extension) among `paths`. Every page that changes has
// its day backup in `binFolder` first; only when all backups are on disk are the
// pages replaced, each through a temporary file, so no page is ever half written
// or changed without its old text kept. The cancel window can stop the run before
// anything is replaced.
TidyFilesResult tidyFiles(const std::vector<std::string>& paths, const std::string& binFolder, const bin::Date& today,
                          const TidyChecker& check, Dialogs& dialogs);

// The pages among the paths.
std::vector<std::string> htmlPages(const std::vector<std::string>& paths);

inline constexpr const char* kTidyReportTitle = "Fehlermeldungen von TINY";
inline constexpr const char* kNoHtmlSelected = "Keine HTML-Datei ausgewählt.";

}  // namespace pictra::explorer
