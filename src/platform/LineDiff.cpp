#include "LineDiff.h"

#include <git2.h>

#include <mutex>

namespace pictra::platform {

namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + 1;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

int onHunk(const git_diff_delta*, const git_diff_hunk* hunk, void* payload) {
    auto* hunks = static_cast<std::vector<compare::Hunk>*>(payload);
    // git counts from 1 and names the line before an insertion; here a stretch
    // starts at its first line, or before the line an insertion goes in front of.
    const auto start = [](int begin, int count) {
        return static_cast<std::size_t>(count > 0 ? begin - 1 : begin);
    };
    hunks->push_back({start(hunk->old_start, hunk->old_lines), static_cast<std::size_t>(hunk->old_lines),
                      start(hunk->new_start, hunk->new_lines), static_cast<std::size_t>(hunk->new_lines)});
    return 0;
}

}  // namespace

std::vector<compare::Hunk> diffTexts(const std::string& oldText, const std::string& newText) {
    static std::once_flag started;
    std::call_once(started, [] { git_libgit2_init(); });
    git_diff_options options = GIT_DIFF_OPTIONS_INIT;
    options.flags = GIT_DIFF_FORCE_TEXT;
    options.context_lines = 0;
    options.interhunk_lines = 0;
    std::vector<compare::Hunk> hunks;
    git_diff_buffers(oldText.data(), oldText.size(), nullptr, newText.data(), newText.size(), nullptr, &options,
                     nullptr, nullptr, onHunk, nullptr, &hunks);
    return hunks;
}

std::vector<compare::Hunk> diffLines(const std::vector<std::string>& oldLines, const std::vector<std::string>& newLines) {
    return diffTexts(joined(oldLines), joined(newLines));
}

}  // namespace pictra::platform
