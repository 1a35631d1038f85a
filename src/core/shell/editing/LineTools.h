#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Dialogs.h"
#include "settings/SettingsStore.h"
#include "shell/EditorView.h"

// Line-oriented editing: the line buffer, rectangular blocks, shifting, the
// editor's spare line and virtual space, sorting and cleaning of lines.
namespace pictra::linetools {

// `lineBuffer`: a stack of lines for the run.
class LineBuffer {
public:
    // Ctrl+Y: the caret line goes onto the stack and out of the text.
    void cutLine(EditorView& view);
    // Alt+Shift+Y: the caret line goes onto the stack; the text stays.
    void keepLine(EditorView& view);
    // Ctrl+Alt+Y: the top line goes in before the caret line; false when empty.
    bool insertLine(EditorView& view);
    void clear() { m_lines.clear(); }
    // "Bearbeite Zeilenpuffer...": the stack, one entry per line.
    std::string text() const;
    void setText(const std::string& text);
    bool empty() const { return m_lines.empty(); }

private:
    std::vector<std::string> m_lines;
};

inline constexpr const char* kMsgBufferEmpty = "Puffer leer";

// A rectangle taken out of (or copied from) the lines.
struct Rectangle {
    std::vector<std::string> lines;  // the text afterwards
    std::string clipboard;           // the pieces, each followed by CR LF
};
// The block of the selection: from its start line and column over 1 + the line
// breaks inside it, to the column of its end (or the selection's length when that
// column is not right of the start).
Rectangle takeRectangle(const std::vector<std::string>& lines, int selectionStart, int selectionLength,
                        const std::string& selectedText, bool cut);
// The clipboard's lines put in at the caret's column, line under line.
std::vector<std::string> pasteRectangle(std::vector<std::string> lines, int caretLine, int caretColumn,
                                        const std::string& clipboard);
std::string rectangleMessage(const std::string& clipboard);
// "Beispiel dazu".
std::vector<std::string> rectangleExample();

// Shift right: `blanks` in front of `count` lines from `firstLine` (lines added as needed).
std::vector<std::string> shiftRight(std::vector<std::string> lines, int firstLine, int count, int blanks);
// Ctrl+A ">": asks, checks 1..80, stores "Leerzeichen"/"Leerzeichen".
void shiftSelectionRight(EditorView& view, Dialogs& dialogs, SettingsStore& store);

// The spare line below the caret line: appended when the caret is in the last line.
bool addSpareLine(std::vector<std::string>& lines, int caretLine, int column);
// Virtual space: the lines around the caret lengthened to column + 1.
bool lengthenAroundCaret(std::vector<std::string>& lines, int caretLine, int column);

// Trailing blanks removed from every line and empty lines at the end removed.
std::vector<std::string> trimmedLines(std::vector<std::string> lines);
// Ctrl + "-": trailing blanks removed and every line then empty removed.
std::vector<std::string> withoutEmptyLines(std::vector<std::string> lines);
// "Leerzeilen entfernen": lines that are empty or only blanks removed.
std::vector<std::string> withoutBlankLines(std::vector<std::string> lines);

// "Datei alphabetisch ordnen" (byte order) and "Datei numerisch Ordnen".
void sortAlphabetically(std::vector<std::string>& lines);
void sortNumerically(std::vector<std::string>& lines);
// The same on a whole text: its lines sorted and joined with `separator`.
std::string sortedText(std::string_view text, bool numeric, std::string_view separator);

// The key chosen in the Ctrl+A window: control characters and capitals become
// the small letter; digits and signs stay.
char ctrlAKey(int code);

}  // namespace pictra::linetools
