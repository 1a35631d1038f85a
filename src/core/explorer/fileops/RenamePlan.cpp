#include "RenamePlan.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdint>
#include <deque>
#include <memory>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

#include "common/PathNames.h"
#include "common/Text.h"

namespace pictra::fileops {

namespace {

constexpr const char* kJournalPrefix = "umbenennen-";
constexpr const char* kJournalSuffix = ".journal";
constexpr const char* kJournalHeader = "pictra rename plan 1";
constexpr size_t kJournalPiece = 1 << 16;

std::optional<std::size_t> g_killAfter;
std::size_t g_renames = 0;

RenameResult counted(const std::string& from, const std::string& to, std::unique_ptr<OpenFolder>& folder) {
    if (!folder || !folder->holds(from)) folder = std::make_unique<OpenFolder>(pathnames::folderOf(from));
    const RenameResult result = folder->renameNoReplace(from, to);
    if (g_killAfter && result.ok() && ++g_renames >= *g_killAfter) ::kill(::getpid(), SIGKILL);
    return result;
}

// On a file system that ignores case two names differing in case are one file, so
// the order of the plan is worked out on names folded to lower case: at worst a
// step waits that need not. The names are folded while hashing and comparing, not
// copied: a plan of many thousand files would otherwise spend more on its keys
// than on the renames.
char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

struct FoldedHash {
    size_t operator()(std::string_view s) const {
        std::uint64_t h = 14695981039346656037ull;
        for (char c : s) h = (h ^ static_cast<unsigned char>(folded(c))) * 1099511628211ull;
        return static_cast<size_t>(h);
    }
};

struct FoldedEqual {
    bool operator()(std::string_view a, std::string_view b) const {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i) {
            if (folded(a[i]) != folded(b[i])) return false;
        }
        return true;
    }
};

constexpr size_t kNone = static_cast<size_t>(-1);

std::string identityOf(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return {};
    return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
}

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

void appendField(std::string& out, const std::string& field) {
    out += field;
    out += '\0';
}

// The record of a running plan: locked for as long as its process lives, so a
// record whose lock can be taken was left by a crash.
class Journal {
public:
    Journal(const std::string& folder, const std::vector<PlannedRename>& plan, const std::vector<std::string>& ids) {
        if (folder.empty()) return;
        static int counter = 0;
        m_path = folder + "/" + kJournalPrefix + std::to_string(::getpid()) + "-" + std::to_string(++counter) +
                 kJournalSuffix;
        m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (m_fd < 0) return;
        ::flock(m_fd, LOCK_EX);
        // Written in pieces, so a long plan never holds a second copy of all its names.
        std::string bytes;
        appendField(bytes, kJournalHeader);
        for (size_t i = 0; i < plan.size(); ++i) {
            appendField(bytes, "S");
            appendField(bytes, plan[i].from);
            appendField(bytes, plan[i].to);
            appendField(bytes, i < ids.size() ? ids[i] : std::string());
            if (bytes.size() < kJournalPiece) continue;
            writeAll(m_fd, bytes);
            bytes.clear();
        }
        // Not synced: the record is there for a killed or crashed program, whose
        // writes the system still completes; after a power cut the marked names
        // ("~~") still tell which files were half way.
        writeAll(m_fd, bytes);
    }
    ~Journal() {
        if (m_fd < 0) return;
        if (m_keep) {
            ::close(m_fd);
            return;
        }
        ::unlink(m_path.c_str());
        ::close(m_fd);
    }
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // Written before the file is parked: a crash between the two leaves a record
    // of a temporary name that does not exist, which the repair takes as unused.
    void parked(size_t step, const std::string& temporary) {
        if (m_fd < 0) return;
        std::string bytes;
        appendField(bytes, "T");
        appendField(bytes, std::to_string(step));
        appendField(bytes, temporary);
        writeAll(m_fd, bytes);
    }
    void keep() { m_keep = true; }

private:
    std::string m_path;
    int m_fd = -1;
    bool m_keep = false;
};

struct Node {
    std::vector<size_t> waiters;  // steps whose new name this step's file holds now
    size_t pending = 0;           // files of the plan still holding this step's new name
    bool finished = false;
    bool parked = false;          // its file waits under a temporary name
};

// A step on a cycle: following what each step waits for from `start` must come
// round to a step seen before.
size_t stepOnCycle(size_t start, const std::vector<std::vector<size_t>>& waitsFor, const std::vector<Node>& nodes) {
    std::vector<bool> seen(nodes.size(), false);
    size_t at = start;
    while (!seen[at]) {
        seen[at] = true;
        size_t next = at;
        for (size_t j : waitsFor[at]) {
            if (!nodes[j].finished && !nodes[j].parked) {
                next = j;
                break;
            }
        }
        if (next == at) return at;
        at = next;
    }
    return at;
}

}  // namespace

void setKillAfterRenames(std::optional<std::size_t> renames) {
    g_killAfter = renames;
    g_renames = 0;
}

PlanOutcome runPlan(const std::vector<PlannedRename>& plan, const std::string& journalFolder,
                    const std::function<bool()>& cancelled, const std::string& marker) {
    PlanOutcome outcome;
    const size_t n = plan.size();
    outcome.results.assign(n, RenameResult{RenameStatus::Failed, ECANCELED});
    std::vector<Node> nodes(n);
    // Both stay empty for a plan without a name another step frees, the usual
    // case of thousands of new names: fresh pages cost more than the renames.
    std::vector<std::vector<size_t>> waitsFor;
    // Steps by old name: the first step of each name in the map, the others chained.
    std::unordered_map<std::string_view, size_t, FoldedHash, FoldedEqual> bySource;
    std::vector<size_t> sameSource(n, kNone);
    bySource.reserve(n);
    for (size_t i = n; i-- > 0;) {
        const auto [at, added] = bySource.try_emplace(plan[i].from, i);
        if (!added) {
            sameSource[i] = at->second;
            at->second = i;
        }
    }
    for (size_t i = 0; i < n; ++i) {
        const auto holders = bySource.find(plan[i].to);
        if (holders == bySource.end()) continue;
        for (size_t j = holders->second; j != kNone; j = sameSource[j]) {
            if (j == i) continue;
            if (waitsFor.empty()) waitsFor.resize(n);
            nodes[j].waiters.push_back(i);
            waitsFor[i].push_back(j);
            ++nodes[i].pending;
        }
    }
    // Only a file whose old name is another file's new name can be mistaken at a
    // repair; its identity tells which of the two names it is under.
    std::vector<std::string> ids;
    if (!waitsFor.empty()) {
        ids.resize(n);
        for (size_t i = 0; i < n; ++i) {
            if (!nodes[i].waiters.empty()) ids[i] = identityOf(plan[i].from);
        }
    }
    Journal journal(journalFolder, plan, ids);
    std::unique_ptr<OpenFolder> folder;
    std::unordered_map<size_t, std::string> parkedAt;

    std::deque<size_t> ready;
    for (size_t i = 0; i < n; ++i) {
        if (nodes[i].pending == 0) ready.push_back(i);
    }
    size_t finished = 0;
    size_t searchFrom = 0;
    const auto release = [&](size_t j) {
        for (size_t w : nodes[j].waiters) {
            if (--nodes[w].pending == 0) ready.push_back(w);
        }
    };
    while (finished < n) {
        if (cancelled && cancelled()) {
            outcome.cancelled = true;
            break;
        }
        if (ready.empty()) {
            // Only cycles are left: one file steps aside under a temporary name.
            while (nodes[searchFrom].finished || nodes[searchFrom].parked) ++searchFrom;
            const size_t r = stepOnCycle(searchFrom, waitsFor, nodes);
            RenameResult away;
            std::string temporary;
            for (int attempt = 0; attempt < 100; ++attempt) {
                temporary = withMarker(plan[r].from, attempt == 0 ? marker : marker + std::to_string(attempt));
                journal.parked(r, temporary);
                away = counted(plan[r].from, temporary, folder);
                if (away.status != RenameStatus::TargetExists) break;
            }
            if (away.ok()) {
                nodes[r].parked = true;
                parkedAt[r] = temporary;
            } else {
                // It cannot step aside: it stays, and so do the steps waiting for its name.
                outcome.results[r] = away;
                nodes[r].finished = true;
                ++finished;
            }
            release(r);
            continue;
        }
        const size_t i = ready.front();
        ready.pop_front();
        const bool parked = nodes[i].parked;
        outcome.results[i] = counted(parked ? parkedAt[i] : plan[i].from, plan[i].to, folder);
        nodes[i].finished = true;
        ++finished;
        if (!parked) release(i);
    }
    // Files parked but not arrived go back to their old names.
    for (const auto& [i, temporary] : parkedAt) {
        if (nodes[i].finished && outcome.results[i].ok()) continue;
        if (!renameNoReplace(temporary, plan[i].from).ok()) outcome.leftTemporary.push_back(temporary);
    }
    if (!outcome.leftTemporary.empty()) journal.keep();
    return outcome;
}

std::size_t InterruptedPlan::unfinished() const {
    size_t count = 0;
    for (const File& file : files) count += file.place != Place::New ? 1 : 0;
    return count;
}

namespace {

std::optional<InterruptedPlan> readJournal(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    // A plan still running holds the lock.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1) {
        fields.push_back(bytes.substr(start, end - start));
    }
    if (fields.empty() || fields[0] != kJournalHeader) return std::nullopt;
    InterruptedPlan plan;
    plan.journal = path;
    std::vector<std::string> ids;
    for (size_t f = 1; f < fields.size();) {
        if (fields[f] == "S" && f + 3 < fields.size()) {
            plan.files.push_back({fields[f + 1], {}, fields[f + 2], InterruptedPlan::Place::Missing});
            ids.push_back(fields[f + 3]);
            f += 4;
        } else if (fields[f] == "T" && f + 2 < fields.size()) {
            size_t step = 0;
            const std::string& number = fields[f + 1];
            const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), step);
            if (ec != std::errc() || end != number.data() + number.size() || step >= plan.files.size()) {
                return std::nullopt;
            }
            // Of several tries the last one is where the file went, if anywhere.
            if (identityOf(fields[f + 2]).size() > 0 || plan.files[step].temporary.empty()) {
                plan.files[step].temporary = fields[f + 2];
            }
            f += 3;
        } else {
            // A record cut off in the middle of its last write ends the journal.
            break;
        }
    }
    for (size_t i = 0; i < plan.files.size(); ++i) {
        InterruptedPlan::File& file = plan.files[i];
        const auto at = [&](const std::string& name) {
            if (name.empty()) return false;
            const std::string id = identityOf(name);
            return ids[i].empty() ? !id.empty() : id == ids[i];
        };
        using Place = InterruptedPlan::Place;
        if (at(file.temporary)) {
            file.place = Place::Temporary;
        } else if (at(file.from)) {
            file.place = Place::Old;
        } else if (at(file.to)) {
            file.place = Place::New;
        }
    }
    return plan;
}

}  // namespace

std::vector<InterruptedPlan> interruptedPlans(const std::string& journalFolder) {
    std::vector<InterruptedPlan> plans;
    DIR* dir = ::opendir(journalFolder.c_str());
    if (!dir) return plans;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!text::startsWith(name, kJournalPrefix) || !text::endsWith(name, kJournalSuffix)) continue;
        if (auto plan = readJournal(journalFolder + "/" + name)) plans.push_back(std::move(*plan));
    }
    ::closedir(dir);
    return plans;
}

bool finishInterruptedPlan(const InterruptedPlan& plan, bool forward, const std::string& journalFolder,
                           std::vector<std::string>& failed) {
    using Place = InterruptedPlan::Place;
    std::vector<PlannedRename> steps;
    for (const auto& file : plan.files) {
        const std::string& goal = forward ? file.to : file.from;
        switch (file.place) {
            case Place::Old:
                if (forward) steps.push_back({file.from, goal});
                break;
            case Place::Temporary: steps.push_back({file.temporary, goal}); break;
            case Place::New:
                if (!forward) steps.push_back({file.to, goal});
                break;
            case Place::Missing: failed.push_back(file.from + ": " + "Die Datei ist nicht mehr vorhanden."); break;
        }
    }
    const PlanOutcome outcome = runPlan(steps, journalFolder);
    bool parkedLeft = !outcome.leftTemporary.empty();
    for (size_t i = 0; i < steps.size(); ++i) {
        if (outcome.results[i].ok()) continue;
        failed.push_back(steps[i].from + ": " + renameErrorText(outcome.results[i]));
        // A file that could not leave its temporary name keeps the record alive.
        for (const auto& file : plan.files) {
            if (file.place == Place::Temporary && file.temporary == steps[i].from) parkedLeft = true;
        }
    }
    if (parkedLeft) return false;
    ::unlink(plan.journal.c_str());
    return true;
}

}  // namespace pictra::fileops
