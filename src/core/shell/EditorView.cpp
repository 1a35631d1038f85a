#include "EditorView.h"

#include <algorithm>

#include "common/Text.h"

namespace pictra {

namespace {


bool sameAt(const std::string& s, size_t at, const std::string& term, bool matchCase) {
    for (size_t i = 0; i < term.size(); ++i) {
        const char a = s[at + i];
        const char b = term[i];
        if (matchCase ? a != b : text::lowerCp1252(a) != text::lowerCp1252(b)) return false;
    }
    return true;
}

}  // namespace

void EditorView::setText(const std::string& text) { setLines(text::splitLines(text)); }

std::string EditorView::plainText() const { return text::joinLines(lines(), "\n"); }

int EditorView::find(const std::string& term, int from, bool matchCase) const {
    const std::string s = plainText();
    if (term.empty() || term.size() > s.size()) return -1;
    for (size_t at = static_cast<size_t>(std::max(from, 0)); at + term.size() <= s.size(); ++at) {
        if (sameAt(s, at, term, matchCase)) return static_cast<int>(at);
    }
    return -1;
}

int EditorView::findBackward(const std::string& term, int at, bool matchCase) const {
    const std::string s = plainText();
    if (term.empty() || term.size() > s.size() || at < 0) return -1;
    for (size_t p = std::min(static_cast<size_t>(at), s.size() - term.size()) + 1; p-- > 0;) {
        if (sameAt(s, p, term, matchCase)) return static_cast<int>(p);
    }
    return -1;
}

void EditorView::paint(int, int, const Paint&) {}

void EditorView::clearPaint() {}

std::string wholeText(const EditorView& view) { return text::joinLines(view.lines()); }

LineColumn lineColumnOf(const std::vector<std::string>& lines, int offset) {
    int start = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int end = start + static_cast<int>(lines[i].size());
        if (offset <= end) return {static_cast<int>(i), std::max(0, offset - start)};
        start = end + 1;
    }
    if (lines.empty()) return {0, 0};
    return {static_cast<int>(lines.size()) - 1, static_cast<int>(lines.back().size())};
}

int offsetOf(const std::vector<std::string>& lines, int line, int column) {
    int offset = 0;
    const int last = std::min(line, static_cast<int>(lines.size()));
    for (int i = 0; i < last; ++i) offset += static_cast<int>(lines[static_cast<size_t>(i)].size()) + 1;
    if (line >= static_cast<int>(lines.size())) return std::max(0, offset - 1);
    return offset + std::clamp(column, 0, static_cast<int>(lines[static_cast<size_t>(line)].size()));
}

}  // namespace pictra
