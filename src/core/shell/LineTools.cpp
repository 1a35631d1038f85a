#include "LineTools.h"

#include <algorithm>

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
    return {"Beispiel: Eine Spalte von Zahlen ausschneiden und woanders einfügen",
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

void sortAlphabetically(std::vector<std::string>& lines) {
    // std::string compares by char_traits<char>, which orders bytes as unsigned: accents after "z".
    std::sort(lines.begin(), lines.end());
}

void sortNumerically(std::vector<std::string>& lines) {
    std::vector<std::pair<double, std::string>> keyed;
    keyed.reserve(lines.size());
    for (auto& line : lines) keyed.emplace_back(text::decimalOf(line), std::move(line));
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 0; i < lines.size(); ++i) lines[i] = std::move(keyed[i].second);
}

char ctrlAKey(int code) {
    if (code < 32) code += 64;
    if (code >= 'A' && code <= 'Z') code += 32;
    return static_cast<char>(code);
}

}  // namespace pictra::linetools
