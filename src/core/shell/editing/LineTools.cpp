#include "LineTools.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <thread>

#include "common/Codec.h"
#include "common/Text.h"

namespace pictra::linetools {

namespace {

bool blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

}  // namespace

void LineBuffer::cutLine(EditorView& view) {
    std::vector<std::string> lines = view.lines();
    if (lines.empty()) return;
    const LineColumn at = lineColumnOf(lines, view.caret());
    m_lines.push_back(lines[static_cast<size_t>(at.line)]);
    lines.erase(lines.begin() + at.line);
    view.setLines(lines);
    view.setCaret(offsetOf(lines, at.line, 0));
}

void LineBuffer::keepLine(EditorView& view) {
    const std::vector<std::string> lines = view.lines();
    if (lines.empty()) return;
    m_lines.push_back(lines[static_cast<size_t>(lineColumnOf(lines, view.caret()).line)]);
}

bool LineBuffer::insertLine(EditorView& view) {
    if (m_lines.empty()) return false;
    std::vector<std::string> lines = view.lines();
    const int caret = view.caret();
    const LineColumn at = lineColumnOf(lines, caret);
    lines.insert(lines.begin() + std::min(at.line, static_cast<int>(lines.size())), m_lines.back());
    m_lines.pop_back();
    view.setLines(lines);
    view.setCaret(caret);
    return true;
}

std::string LineBuffer::text() const { return text::joinLines(m_lines); }

void LineBuffer::setText(const std::string& text) { m_lines = text::splitLines(text); }

Rectangle takeRectangle(const std::vector<std::string>& lines, int selectionStart, int selectionLength,
                        const std::string& selectedText, bool cut) {
    const LineColumn start = lineColumnOf(lines, selectionStart);
    const LineColumn end = lineColumnOf(lines, selectionStart + selectionLength);
    size_t breaks = 0;
    for (size_t i = 0; i < selectedText.size(); ++i) {
        if (selectedText[i] == '\n' || (selectedText[i] == '\r' && (i + 1 >= selectedText.size() || selectedText[i + 1] != '\n'))) ++breaks;
    }
    const size_t left = static_cast<size_t>(start.column);
    const size_t right = end.column > start.column ? static_cast<size_t>(end.column) : static_cast<size_t>(selectionLength);
    Rectangle result{lines, {}};
    for (size_t l = static_cast<size_t>(start.line); l <= static_cast<size_t>(start.line) + breaks && l < lines.size(); ++l) {
        const std::string& line = lines[l];
        const std::string piece = left < line.size() ? line.substr(left, right - left) : std::string();
        result.clipboard += piece + "\r\n";
        if (cut && left < line.size()) result.lines[l] = line.substr(0, left) + (right < line.size() ? line.substr(right) : "");
    }
    return result;
}

std::vector<std::string> pasteRectangle(std::vector<std::string> lines, int caretLine, int caretColumn,
                                        const std::string& clipboard) {
    const std::vector<std::string> pieces = text::splitLines(clipboard);
    const size_t column = static_cast<size_t>(std::max(caretColumn, 0));
    for (size_t i = 0; i < pieces.size(); ++i) {
        const size_t target = static_cast<size_t>(caretLine) + i;
        while (lines.size() <= target) lines.emplace_back();
        std::string& line = lines[target];
        while (line.size() < column) line += "     ";
        line = line.substr(0, column) + pieces[i] + line.substr(column);
    }
    return lines;
}

std::string rectangleMessage(const std::string& clipboard) {
    return "In der Zwischenablage befindet sich folgender Text:\r" + clipboard;
}

std::vector<std::string> rectangleExample() {
    // Written here in UTF-8, but it goes into a document, which holds Windows-1252.
    std::vector<std::string> lines = {"Beispiel: Eine Spalte von Zahlen ausschneiden und woanders einfügen",
            "",
            "Markieren Sie mit der Maus von der ersten \"1\" bis hinter das Leerzeichen nach der letzten \"5\".",
            "Wählen Sie dann \"Rechteck auschneiden\": Die Zahlen verschwinden aus allen fünf Zeilen.",
            "Setzen Sie den Cursor vor das erste \"i\" und wählen Sie \"Rechteck einfügen\".",
            "",
            "aaa 111 iii",
            "bbb 222 iii",
            "ccc 333 iii",
            "ddd 444 iii",
            "eee 555 iii"};
    for (auto& line : lines) line = codec::utf8ToCp1252(line);
    return lines;
}

std::vector<std::string> shiftRight(std::vector<std::string> lines, int firstLine, int count, int blanks) {
    const std::string prefix(static_cast<size_t>(std::max(blanks, 0)), ' ');
    for (int i = 0; i < count; ++i) {
        const size_t l = static_cast<size_t>(firstLine + i);
        while (lines.size() <= l) lines.emplace_back();
        lines[l] = prefix + lines[l];
    }
    return lines;
}

void shiftSelectionRight(EditorView& view, Dialogs& dialogs, SettingsStore& store) {
    long long width = store.readInt("Leerzeichen", "Leerzeichen", 5);
    if (width < 1 || width > 80) width = 5;
    if (!dialogs.askNumber("Leerzeichen an den Anfang", "Wieviel?", width)) return;
    if (width < 1 || width > 80) {
        dialogs.inform("Eine Zahl zwischen 1 und 80 eingeben!");
        return;
    }
    store.writeValue("Leerzeichen", "Leerzeichen", std::to_string(width));
    const std::vector<std::string> lines = view.lines();
    const int first = lineColumnOf(lines, view.selectionStart()).line;
    const int count = static_cast<int>(text::splitLines(view.selectedText()).size());
    const int caret = view.caret();
    view.setLines(shiftRight(lines, first, std::max(count, 1), static_cast<int>(width)));
    view.setCaret(caret);
}

bool addSpareLine(std::vector<std::string>& lines, int caretLine, int column) {
    if (!lines.empty() && caretLine < static_cast<int>(lines.size()) - 1) return false;
    if (lines.empty()) lines.emplace_back();
    lines.emplace_back(static_cast<size_t>(column + 1), ' ');
    return true;
}

bool lengthenAroundCaret(std::vector<std::string>& lines, int caretLine, int column) {
    bool changed = false;
    for (int l = caretLine - 1; l <= caretLine + 1; ++l) {
        if (l < 0 || l >= static_cast<int>(lines.size())) continue;
        std::string& line = lines[static_cast<size_t>(l)];
        if (line.size() < static_cast<size_t>(column + 1)) {
            line.resize(static_cast<size_t>(column + 1), ' ');
            changed = true;
        }
    }
    return changed;
}

std::vector<std::string> trimmedLines(std::vector<std::string> lines) {
    for (auto& line : lines) line = text::trimRight(line);
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

std::vector<std::string> withoutEmptyLines(std::vector<std::string> lines) {
    for (auto& line : lines) {
        while (!line.empty() && line.back() == ' ') line.pop_back();
    }
    std::erase_if(lines, [](const std::string& l) { return l.empty(); });
    return lines;
}

std::vector<std::string> withoutBlankLines(std::vector<std::string> lines) {
    std::erase_if(lines, blank);
    return lines;
}

namespace {

// The first 16 bytes of a line as two big-endian numbers: most comparisons are
// decided there without touching the line itself, which keeps the sort in the cache.
struct SortKey {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    std::uint32_t index = 0;
};

std::uint64_t bigEndian(std::string_view s, size_t from) {
    std::uint64_t v = 0;
    for (size_t i = 0; i < 8; ++i) {
        v <<= 8;
        if (from + i < s.size()) v |= static_cast<unsigned char>(s[from + i]);
    }
    return v;
}

template <class Item, class Less>
void sortInTwoHalves(std::vector<Item>& items, Less less) {
    const auto middle = items.begin() + static_cast<long>(items.size() / 2);
    // Large texts use the second core for one half; small ones are not worth a thread.
    if (items.size() > 20000) {
        std::thread first([&] { std::sort(items.begin(), middle, less); });
        std::sort(middle, items.end(), less);
        first.join();
    } else {
        std::sort(items.begin(), middle, less);
        std::sort(middle, items.end(), less);
    }
    std::inplace_merge(items.begin(), middle, items.end(), less);
}

// The lines of a text as views into it (CR LF, LF or a lone CR end a line).
std::vector<std::string_view> lineViews(std::string_view text) {
    std::vector<std::string_view> lines;
    lines.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* stop = lf ? lf : end;
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(stop - p)));
        if (cr && cr + 1 != lf) {
            lines.emplace_back(p, static_cast<size_t>(cr - p));
            p = cr + 1;
            continue;
        }
        lines.emplace_back(p, static_cast<size_t>((cr ? cr : stop) - p));
        p = lf ? lf + 1 : end;
    }
    return lines;
}

// The order of the lines, sorted byte by byte or by their numeric key.
std::vector<std::uint32_t> sortedOrder(const std::vector<std::string_view>& lines, bool numeric) {
    std::vector<std::uint32_t> order(lines.size());
    if (numeric) {
        std::vector<std::pair<double, std::uint32_t>> keyed(lines.size());
        for (size_t i = 0; i < lines.size(); ++i) keyed[i] = {text::decimalOf(lines[i]), static_cast<std::uint32_t>(i)};
        sortInTwoHalves(keyed, [](const auto& a, const auto& b) { return a.first < b.first; });
        for (size_t i = 0; i < keyed.size(); ++i) order[i] = keyed[i].second;
        return order;
    }
    std::vector<SortKey> keys(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        keys[i] = {bigEndian(lines[i], 0), bigEndian(lines[i], 8), static_cast<std::uint32_t>(i)};
    }
    // Bytes compare as unsigned (char_traits<char>): upper case first, accents after "z".
    sortInTwoHalves(keys, [&lines](const SortKey& a, const SortKey& b) {
        if (a.high != b.high) return a.high < b.high;
        if (a.low != b.low) return a.low < b.low;
        const std::string_view x = lines[a.index];
        const std::string_view y = lines[b.index];
        return x.substr(std::min<size_t>(16, x.size())) < y.substr(std::min<size_t>(16, y.size()));
    });
    for (size_t i = 0; i < keys.size(); ++i) order[i] = keys[i].index;
    return order;
}

void sortLines(std::vector<std::string>& lines, bool numeric) {
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    const std::vector<std::uint32_t> order = sortedOrder(views, numeric);
    std::vector<std::string> sorted;
    sorted.reserve(lines.size());
    for (std::uint32_t i : order) sorted.push_back(std::move(lines[i]));
    lines = std::move(sorted);
}

}  // namespace

void sortAlphabetically(std::vector<std::string>& lines) { sortLines(lines, false); }

void sortNumerically(std::vector<std::string>& lines) { sortLines(lines, true); }

std::string sortedText(std::string_view text, bool numeric, std::string_view separator) {
    const std::vector<std::string_view> lines = lineViews(text);
    const std::vector<std::uint32_t> order = sortedOrder(lines, numeric);
    std::string out;
    out.reserve(text.size() + lines.size() * separator.size());
    for (size_t i = 0; i < order.size(); ++i) {
        if (i) out += separator;
        out += lines[order[i]];
    }
    return out;
}

char ctrlAKey(int code) {
    if (code < 32) code += 64;
    if (code >= 'A' && code <= 'Z') code += 32;
    return static_cast<char>(code);
}

}  // namespace pictra::linetools
