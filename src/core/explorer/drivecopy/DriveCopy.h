#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// "Laufwerk gänzlich kopieren": a backup of chosen folders that the next run
// brings up to date.
namespace pictra::drivecopy {

inline constexpr const char* kTargetNote = "Das Verzeichnis rechts darf nicht auf dem links angegebenen Laufwerk sein!";

// Every folder directly below `source` whose name does not begin with ".",
// sorted, each with a trailing "/".
std::vector<std::string> topFolders(const std::string& source);

// A folder path with exactly one trailing "/".
std::string asFolder(std::string path);

// A target inside one of the listed folders would copy its own copies until the
// disk is full: the message to show, or nothing.
std::optional<std::string> targetProblem(const std::string& target, const std::vector<std::string>& folders);

struct FileState {
    std::uintmax_t size = 0;
    std::int64_t modifiedSeconds = 0;
};

enum class Verdict {
    Copy,         // missing on the target, or changed since the last copy
    Same,         // the target is current
    TargetNewer,  // the target was changed after the source: kept and listed
};

// Size or last-write time differ (with 2 s tolerance on FAT and exFAT, which keep
// times in steps of two seconds); `onlyNew` copies missing files only.
Verdict decide(const FileState& source, const std::optional<FileState>& target, bool onlyNew, bool coarseTimes);

// Whether a FAT or exFAT volume cannot hold this relative path (":" "?" "*" "<"
// ">" "|" "\"" "\\" or a name ending in a dot or blank).
bool fatCannotHold(const std::string& relativePath);

struct Job {
    std::string source;                // a folder
    std::string target;                // a folder
    std::vector<std::string> folders;  // absolute folders below `source`, each with "/"
    bool onlyNew = false;
};

// Counters and current paths, read by the window while a worker writes them.
struct Progress {
    std::atomic<std::uint64_t> seen{0};
    std::atomic<std::uint64_t> copied{0};
    std::mutex mutex;
    std::string sourcePath;
    std::string targetPath;
};

struct Report {
    std::vector<std::string> failed;  // path + ": " + reason
    std::vector<std::string> newer;   // kept targets that are newer than their source
    std::vector<std::string> unfit;   // names the target's file system cannot hold
    bool stopped = false;
    bool targetFull = false;
};

// Walks `job.source` (its own file system only, no links followed, FIFOs and
// devices never opened) and copies every new or changed file of the listed
// folders through a temporary file; one sync of the target at the end. A full
// target sets `stop` itself.
Report run(const Job& job, Progress& progress, std::atomic<bool>& stop);

// The report as lines for the user; empty when there is nothing to say.
std::string reportText(const Report& report);

// The window's last word on a run, so the user sees that it is over and the stick
// may be pulled: "Fertig: 3 Dateien kopiert", with the files not copied, or
// "Gestoppt: …" and "Ziel voll: …" when the run was cut short.
std::string endText(const Report& report, std::uint64_t copied);

}  // namespace pictra::drivecopy
