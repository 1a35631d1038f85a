#include "TableTokens.h"

#include <algorithm>
#include <array>

#include "common/Text.h"

namespace pictra::html::convert {

namespace {

constexpr std::array<const char*, 6> kKinds = {"<tr", "<th", "<td", "</tr", "</th", "</td"};
constexpr std::array<const char*, 6> kMarks = {"<tr>", "<td>", "<td>", "</tr>", "</td>", "</td>"};

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool matchesAt(const std::string& line, size_t at, const char* kind) {
    for (size_t k = 0; kind[k] != 0; ++k) {
        if (at + k >= line.size() || lowerAscii(line[at + k]) != kind[k]) return false;
    }
    return true;
}

// A piece of the line still to be split, or a mark to emit.
struct Work {
    size_t from;
    size_t to;
    int level;  // kinds below it are known to be absent from [from, to)
    int mark;   // >= 0: emit kMarks[mark] instead
};

}  // namespace

void appendLineTokens(const std::string& line, TableTokens& out) {
    // Every occurrence of every kind, found once; a piece asks for the first one
    // inside it by binary search instead of scanning its text again.
    // Kept between calls: a table of many short lines would otherwise allocate them per line.
    thread_local std::array<std::vector<size_t>, 6> at;
    thread_local std::vector<size_t> closers;
    thread_local std::vector<Work> stack;
    for (auto& positions : at) positions.clear();
    closers.clear();
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '>') {
            closers.push_back(i);
            continue;
        }
        if (line[i] != '<') continue;
        for (size_t k = 0; k < kKinds.size(); ++k) {
            if (matchesAt(line, i, kKinds[k])) at[k].push_back(i);
        }
    }
    const auto firstIn = [](const std::vector<size_t>& positions, size_t from, size_t to) {
        const auto it = std::lower_bound(positions.begin(), positions.end(), from);
        return it != positions.end() && *it < to ? *it : std::string::npos;
    };
    stack.assign(1, Work{0, line.size(), 0, -1});
    while (!stack.empty()) {
        const Work w = stack.back();
        stack.pop_back();
        if (w.mark >= 0) {
            out.tokens.emplace_back(kMarks[static_cast<size_t>(w.mark)]);
            continue;
        }
        bool split = false;
        for (int k = w.level; k < static_cast<int>(kKinds.size()) && !split; ++k) {
            const size_t pos = firstIn(at[static_cast<size_t>(k)], w.from, w.to);
            if (pos == std::string::npos) continue;
            split = true;
            const size_t close = firstIn(closers, pos, w.to);
            if (close == std::string::npos) {
                out.unclosedTag = true;
            } else if (close + 1 < w.to) {
                stack.push_back({close + 1, w.to, k, -1});
            }
            stack.push_back({0, 0, 0, k});
            if (pos > w.from) stack.push_back({w.from, pos, k + 1, -1});
        }
        if (!split) {
            std::string piece = text::trim(std::string_view(line).substr(w.from, w.to - w.from));
            if (!piece.empty()) out.tokens.push_back(std::move(piece));
        }
    }
}

}  // namespace pictra::html::convert
