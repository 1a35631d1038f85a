#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Rename.h"

// Renaming many files at once (old name → new name) without losing one, even
// when names are exchanged among them or the program is killed half way.
namespace pictra::fileops {

struct PlannedRename {
    std::string from;
    std::string to;
};

struct PlanOutcome {
    // Per step, in the order of the plan. A step that was not reached (cancelled) is Failed with ECANCELED.
    std::vector<RenameResult> results;
    // Files that could go neither to their new nor back to their old name.
    std::vector<std::string> leftTemporary;
    bool cancelled = false;
};

// Renames in one pass wherever the new name is free. A new name that another file
// of the plan still holds waits until that file has moved (a chain); names that
// are exchanged in a circle (a cycle) free the circle by parking one file under
// its old name + `marker` (shortened to fit the name limit) for the moment. A step
// whose new name is taken outside the plan fails and its file keeps its old name,
// and so does a step waiting for it. `journalFolder` (the program folder; empty:
// none) keeps a record of the plan while it runs, so that a crash leaves every
// file findable (interruptedPlans). `cancelled` is asked between renames.
PlanOutcome runPlan(const std::vector<PlannedRename>& plan, const std::string& journalFolder,
                    const std::function<bool()>& cancelled = {}, const std::string& marker = "~~");

// A plan cut off by a crash: where each of its files is now.
struct InterruptedPlan {
    enum class Place { Old, Temporary, New, Missing };
    struct File {
        std::string from;
        std::string temporary;  // empty when the file was never parked
        std::string to;
        Place place = Place::Missing;
    };
    std::string journal;
    std::vector<File> files;
    // Files not yet under their new name.
    std::size_t unfinished() const;
};

// The plans of processes that are gone, found in `journalFolder`. Records that
// cannot be read are left alone.
std::vector<InterruptedPlan> interruptedPlans(const std::string& journalFolder);

// Finishes the plan (every file to its new name) or takes it back (every file to
// its old name); the files that failed come back in `failed` with their reasons.
// The record goes once nothing is left under a temporary name.
bool finishInterruptedPlan(const InterruptedPlan& plan, bool forward, const std::string& journalFolder,
                           std::vector<std::string>& failed);

// Test hook: the process kills itself (SIGKILL) after this many renames of runPlan.
void setKillAfterRenames(std::optional<std::size_t> renames);

}  // namespace pictra::fileops
