#include "LineTools.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>
#include <thread>

#include "common/Codec.h"
#include "common/LargeBuffer.h"
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
    if (from + 8 <= s.size()) {
        std::uint64_t v;
        std::memcpy(&v, s.data() + from, 8);
        return __builtin_bswap64(v);
    }
    std::uint64_t v = 0;
    for (size_t i = 0; i < 8; ++i) {
        v <<= 8;
        if (from + i < s.size()) v |= static_cast<unsigned char>(s[from + i]);
    }
    return v;
}

constexpr size_t kOneCoreLines = 20000;

// How many of the first `count` items of the stable merge of `a` and `b` come from `a`.
template <class Item, class Less>
size_t takenFromFirst(const Item* a, size_t lengthA, const Item* b, size_t lengthB, size_t count, Less less) {
    size_t low = count > lengthB ? count - lengthB : 0;
    size_t high = std::min(count, lengthA);
    while (low < high) {
        const size_t i = low + (high - low) / 2;
        if (!less(b[count - i - 1], a[i])) {
            low = i + 1;
        } else {
            high = i;
        }
    }
    return low;
}

// Large texts use both cores, as GNU sort does: each sorts a half, then each
// merges one half of the result. Small ones are not worth a thread: they are
// sorted whole, and the first "half" is all of them.
template <class Item, class Less>
size_t sortHalves(std::vector<Item>& items, Less less) {
    const size_t n = items.size();
    if (n <= kOneCoreLines) {
        std::sort(items.begin(), items.end(), less);
        return n;
    }
    const auto middle = items.begin() + static_cast<long>(n / 2);
    std::thread first([&] { std::sort(items.begin(), middle, less); });
    std::sort(middle, items.end(), less);
    first.join();
    return n / 2;
}

template <class Item, class Less>
void sortOnBothCores(std::vector<Item>& items, Less less) {
    const size_t n = items.size();
    const size_t middle = sortHalves(items, less);
    if (middle == n) return;
    const Item* a = items.data();
    const Item* b = items.data() + middle;
    std::vector<Item> merged(n);
    const size_t half = n / 2;
    const size_t fromA = takenFromFirst(a, middle, b, n - middle, half, less);
    const size_t fromB = half - fromA;
    std::thread first([&] { std::merge(a, a + fromA, b, b + fromB, merged.data(), less); });
    std::merge(a + fromA, a + middle, b + fromB, b + (n - middle), merged.data() + half, less);
    first.join();
    items.swap(merged);
}

// Calls `line(start, length)` for each line of a text (CR LF, LF or a lone CR end a line).
template <class Line>
void forEachLine(std::string_view text, Line line) {
    const char* begin = text.data();
    const char* p = begin;
    const char* end = p + text.size();
    while (p < end) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* stop = lf ? lf : end;
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(stop - p)));
        if (cr && cr + 1 != lf) {
            line(static_cast<size_t>(p - begin), static_cast<size_t>(cr - p));
            p = cr + 1;
            continue;
        }
        line(static_cast<size_t>(p - begin), static_cast<size_t>((cr ? cr : stop) - p));
        p = lf ? lf + 1 : end;
    }
}

size_t lineCountAtMost(std::string_view text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
}

std::vector<std::string_view> lineViews(std::string_view text) {
    std::vector<std::string_view> lines;
    lines.reserve(lineCountAtMost(text));
    forEachLine(text, [&](size_t start, size_t length) { lines.emplace_back(text.data() + start, length); });
    return lines;
}

// Bytes compare as unsigned (char_traits<char>): upper case first, accents after "z".
// Equal keys of short lines: the shorter is a prefix padded with zero bytes.
bool restBefore(std::string_view x, std::string_view y) {
    const int rest = x.substr(std::min<size_t>(16, x.size())).compare(y.substr(std::min<size_t>(16, y.size())));
    return rest != 0 ? rest < 0 : x.size() < y.size();
}

// A line of one text by its place in it, with its first 16 bytes as the key.
struct TextKey {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    std::uint32_t start = 0;
    std::uint32_t length = 0;
};

// The text's lines in byte order, joined by `separator`. The sorted halves are
// merged straight into the result, one half of it on each core, so neither a
// merged copy of the keys nor a list of the order is ever made.
std::string sortedInByteOrder(std::string_view text, std::string_view separator) {
    std::vector<TextKey> keys;
    keys.reserve(lineCountAtMost(text));
    common::adviseLarge(keys.data(), keys.capacity() * sizeof(TextKey));
    size_t total = 0;
    forEachLine(text, [&](size_t start, size_t length) {
        const std::string_view line = text.substr(start, length);
        keys.push_back({bigEndian(line, 0), bigEndian(line, 8), static_cast<std::uint32_t>(start),
                        static_cast<std::uint32_t>(length)});
        total += length;
    });
    const size_t n = keys.size();
    if (n == 0) return {};
    const char* base = text.data();
    const auto less = [base](const TextKey& a, const TextKey& b) {
        if (a.high != b.high) return a.high < b.high;
        if (a.low != b.low) return a.low < b.low;
        return restBefore({base + a.start, a.length}, {base + b.start, b.length});
    };
    const size_t middle = sortHalves(keys, less);
    const TextKey* a = keys.data();
    const TextKey* b = keys.data() + middle;
    std::string out;
    // Room for one more separator: a final line break then needs no second copy.
    common::reserveLarge(out, total + n * separator.size());
    out.resize(total + (n - 1) * separator.size());
    const auto write = [&](const TextKey* x, const TextKey* xEnd, const TextKey* y, const TextKey* yEnd, char* at,
                           bool separatorFirst) {
        while (x != xEnd || y != yEnd) {
            const TextKey* next = (y == yEnd || (x != xEnd && !less(*y, *x))) ? x++ : y++;
            if (separatorFirst) at = std::copy(separator.begin(), separator.end(), at);
            separatorFirst = true;
            at = std::copy_n(base + next->start, next->length, at);
        }
    };
    if (middle == n) {
        write(a, a + n, b, b, out.data(), false);
        return out;
    }
    // The first half of the result, and where the second begins (with its separator).
    const size_t half = n / 2;
    const size_t fromA = takenFromFirst(a, middle, b, n - middle, half, less);
    const size_t fromB = half - fromA;
    size_t before = (half - 1) * separator.size();
    for (size_t i = 0; i < fromA; ++i) before += a[i].length;
    for (size_t i = 0; i < fromB; ++i) before += b[i].length;
    std::thread firstHalf([&] { write(a, a + fromA, b, b + fromB, out.data(), false); });
    write(a + fromA, a + middle, b + fromB, b + (n - middle), out.data() + before, true);
    firstHalf.join();
    return out;
}

// The order of the lines, sorted byte by byte or by their numeric key.
std::vector<std::uint32_t> sortedOrder(const std::vector<std::string_view>& lines, bool numeric) {
    std::vector<std::uint32_t> order(lines.size());
    if (numeric) {
        std::vector<std::pair<double, std::uint32_t>> keyed(lines.size());
        for (size_t i = 0; i < lines.size(); ++i) keyed[i] = {text::decimalOf(lines[i]), static_cast<std::uint32_t>(i)};
        sortOnBothCores(keyed, [](const auto& a, const auto& b) { return a.first < b.first; });
        for (size_t i = 0; i < keyed.size(); ++i) order[i] = keyed[i].second;
        return order;
    }
    std::vector<SortKey> keys(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        keys[i] = {bigEndian(lines[i], 0), bigEndian(lines[i], 8), static_cast<std::uint32_t>(i)};
    }
    sortOnBothCores(keys, [&lines](const SortKey& a, const SortKey& b) {
        if (a.high != b.high) return a.high < b.high;
        if (a.low != b.low) return a.low < b.low;
        return restBefore(lines[a.index], lines[b.index]);
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
    if (!numeric && text.size() <= std::numeric_limits<std::uint32_t>::max()) {
        return sortedInByteOrder(text, separator);
    }
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
