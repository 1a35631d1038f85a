#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "html/NestingDepth.h"

// The HTML checker Tidy, used as a library in place of the outside program.
namespace pictra::platform {

struct TidyResult {
    bool ok = false;         // false when Tidy wrote no corrected page
    bool refused = false;    // the page was not handed to Tidy; `errors` says why
    std::string output;      // the corrected page (Windows-1252)
    std::string errors;      // Tidy's messages (UTF-8)
};

enum class TidyStyle {
    // The document in the editor: "--wrap 120 --indent yes -clean", characters stay characters.
    Document,
    // A page file handed over by the explorer: indented, nothing else changed beyond
    // Tidy's own corrections; characters outside ASCII come out as entities.
    File,
};

// Tidy on a thread of its own. Tidy descends recursively into nested elements,
// so the thread gets a stack that holds hundreds of times the nesting a page may
// have, and a page nested deeper than the limit is refused before Tidy sees it.
class TidyJob {
public:
    TidyJob(const std::string& cp1252Page, TidyStyle style, int depthLimit = html::kTidyDepthLimit);
    // A job still running is abandoned: its thread finishes on its own and its
    // result is dropped; nothing ever waits for it, not even the program's end.
    ~TidyJob();
    TidyJob(const TidyJob&) = delete;
    TidyJob& operator=(const TidyJob&) = delete;

    // True once the result is there; waits at most `wait` for it.
    bool finished(std::chrono::milliseconds wait);
    // The result; only after finished() said true.
    TidyResult result() const;

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};

// The job, waited for to its end.
TidyResult tidyPage(const std::string& cp1252Page);
TidyResult tidyPageIndented(const std::string& cp1252Page);

// The stack of Tidy's thread.
inline constexpr std::size_t kTidyStackBytes = std::size_t{256} << 20;

}  // namespace pictra::platform
