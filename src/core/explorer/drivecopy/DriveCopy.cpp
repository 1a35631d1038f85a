#include "DriveCopy.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <unordered_set>

#include "common/FileIo.h"
#include "common/Text.h"
#include "explorer/walk/FolderWalk.h"

namespace pictra::drivecopy {

namespace {

constexpr long kMsdosMagic = 0x4d44;
constexpr long kExfatMagic = 0x2011BAB0;

bool coarseTimesOn(const std::string& folder) {
    struct statfs fs {};
    if (::statfs(folder.c_str(), &fs) != 0) return false;
    return static_cast<long>(fs.f_type) == kMsdosMagic || static_cast<long>(fs.f_type) == kExfatMagic;
}

std::optional<FileState> stateOf(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return std::nullopt;
    return FileState{static_cast<std::uintmax_t>(st.st_size), st.st_mtim.tv_sec};
}

// The chosen folders, looked up by a piece of a path without copying it.
struct ViewHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
struct ViewEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return a == b; }
};
using FolderSet = std::unordered_set<std::string, ViewHash, ViewEqual>;

// Whether a folder of the list holds `path`: each folder on the path is looked up
// once, instead of testing every line of the list for every file.
bool listed(std::string_view path, const FolderSet& folders) {
    for (std::size_t slash = path.find('/'); slash != std::string_view::npos; slash = path.find('/', slash + 1)) {
        if (folders.count(path.substr(0, slash + 1)) != 0) return true;
    }
    return false;
}

}  // namespace

std::string asFolder(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

std::vector<std::string> topFolders(const std::string& source) {
    std::vector<std::string> folders;
    const std::string root = asFolder(source);
    DIR* dir = ::opendir(root.c_str());
    if (!dir) return folders;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        struct stat st {};
        const std::string path = root + entry->d_name;
        if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) folders.push_back(path + "/");
    }
    ::closedir(dir);
    std::sort(folders.begin(), folders.end());
    return folders;
}

std::optional<std::string> targetProblem(const std::string& target, const std::vector<std::string>& folders) {
    std::error_code ec;
    std::string resolved = std::filesystem::weakly_canonical(target, ec).string();
    if (ec) resolved = target;
    resolved = asFolder(resolved);
    for (const auto& folder : folders) {
        std::string f = std::filesystem::weakly_canonical(folder, ec).string();
        if (ec) f = folder;
        if (text::startsWith(resolved, asFolder(f))) return std::string(kTargetNote);
    }
    return std::nullopt;
}

Verdict decide(const FileState& source, const std::optional<FileState>& target, bool onlyNew, bool coarseTimes) {
    if (!target) return Verdict::Copy;
    if (onlyNew) return Verdict::Same;
    const std::int64_t tolerance = coarseTimes ? 2 : 0;
    const std::int64_t difference = target->modifiedSeconds - source.modifiedSeconds;
    if (difference > tolerance) return Verdict::TargetNewer;
    if (target->size == source.size && difference >= -tolerance) return Verdict::Same;
    return Verdict::Copy;
}

bool fatCannotHold(const std::string& relativePath) {
    if (relativePath.find_first_of(":?*<>|\"\\") != std::string::npos) return true;
    std::size_t start = 0;
    while (start <= relativePath.size()) {
        std::size_t end = relativePath.find('/', start);
        if (end == std::string::npos) end = relativePath.size();
        if (end > start && (relativePath[end - 1] == '.' || relativePath[end - 1] == ' ')) return true;
        start = end + 1;
    }
    return false;
}

Report run(const Job& job, Progress& progress, std::atomic<bool>& stop) {
    Report report;
    std::mutex reportMutex;
    const std::string source = asFolder(job.source);
    const std::string target = asFolder(job.target);
    const bool coarse = coarseTimesOn(target);
    FolderSet folders;
    for (const auto& folder : job.folders) folders.insert(asFolder(folder));
    std::atomic<bool> full{false};
    // Where a file system has no unnamed temporary files (FAT sticks), a copy cut
    // off by a crash or a pulled stick leaves a named one: cleared from each target
    // folder before the first copy into it, once per run.
    std::mutex cleanedMutex;
    std::unordered_set<std::string> cleaned;
    const auto clearLeftovers = [&](const std::string& folder) {
        {
            std::lock_guard lock(cleanedMutex);
            if (!cleaned.insert(folder).second) return;
        }
        fileio::removeStaleTemporaries(folder);
    };
    const auto note = [&](std::vector<std::string>& list, const std::string& line) {
        std::lock_guard lock(reportMutex);
        list.push_back(line);
    };
    walk::WalkOptions options;
    options.oneFileSystem = true;
    walk::WalkSink sink;
    sink.unreadable = [&](const std::string& path) { note(report.failed, path + ": nicht lesbar"); };
    sink.file = [&](const walk::WalkFile& file) {
        if (stop.load(std::memory_order_relaxed)) return;
        progress.seen.fetch_add(1, std::memory_order_relaxed);
        if (!file.regular || !listed(file.path, folders)) return;
        // A run with nothing new does little more per file than two stat calls:
        // the target name goes into a buffer kept by the thread, and the window,
        // which shows a few paths a second, is told every 64th file.
        thread_local std::string copy;
        copy.assign(target);
        copy.append(file.path, source.size());
        const std::string_view relative = std::string_view(copy).substr(target.size());
        const auto tellWindow = [&] {
            std::lock_guard lock(progress.mutex);
            progress.sourcePath = file.path;
            progress.targetPath = copy;
        };
        if (progress.seen.load(std::memory_order_relaxed) % 64 == 1) tellWindow();
        const FileState state{file.size, static_cast<std::int64_t>(file.modified)};
        const Verdict verdict = decide(state, stateOf(copy), job.onlyNew, coarse);
        if (verdict == Verdict::Same) return;
        if (verdict == Verdict::TargetNewer) {
            note(report.newer, copy);
            return;
        }
        if (coarse && fatCannotHold(std::string(relative))) {
            note(report.unfit, file.path);
            return;
        }
        tellWindow();
        std::error_code ec;
        const std::filesystem::path folder = std::filesystem::path(copy).parent_path();
        std::filesystem::create_directories(folder, ec);
        clearLeftovers(folder.string());
        std::string error;
        int number = 0;
        if (!fileio::copyFileAtomic(file.path, copy, error, fileio::Durability::Cached, &number)) {
            note(report.failed, file.path + ": " + error);
            if (number == ENOSPC || number == EDQUOT) {
                // Nothing more fits: the walk ends here.
                full = true;
                stop = true;
            }
            return;
        }
        progress.copied.fetch_add(1, std::memory_order_relaxed);
    };
    walk::walkParallel(source, options, sink, stop, 2);
    // One sync, so the stick can be pulled when the counts show; a run that copied
    // nothing has nothing of its own to wait for.
    if (progress.copied.load() > 0) fileio::syncFileSystemOf(target);
    report.targetFull = full.load();
    report.stopped = stop.load() && !report.targetFull;
    std::sort(report.failed.begin(), report.failed.end());
    std::sort(report.newer.begin(), report.newer.end());
    std::sort(report.unfit.begin(), report.unfit.end());
    return report;
}

std::string reportText(const Report& report) {
    std::string out;
    if (report.targetFull) out += "Das Ziel ist voll. Die Sicherung wurde beendet.\r\n\r\n";
    const auto section = [&](const char* title, const std::vector<std::string>& lines) {
        if (lines.empty()) return;
        out += title;
        out += "\r\n";
        for (const auto& line : lines) out += line + "\r\n";
        out += "\r\n";
    };
    section("Nicht kopiert (Fehler):", report.failed);
    section("Nicht ersetzt, weil auf dem Ziel neuer:", report.newer);
    section("Nicht kopiert, weil der Name auf dem Ziel nicht möglich ist:", report.unfit);
    return out;
}

namespace {

std::string files(std::uint64_t count) { return std::to_string(count) + (count == 1 ? " Datei" : " Dateien"); }

}  // namespace

std::string endText(const Report& report, std::uint64_t copied) {
    std::string text = report.targetFull ? "Ziel voll: " : report.stopped ? "Gestoppt: " : "Fertig: ";
    text += files(copied) + " kopiert";
    const std::size_t missed = report.failed.size() + report.unfit.size();
    if (missed > 0) text += ", " + files(missed) + " nicht kopiert";
    return text;
}

}  // namespace pictra::drivecopy
