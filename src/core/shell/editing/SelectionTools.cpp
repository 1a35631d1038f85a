#include "SelectionTools.h"

#include <algorithm>

#include "common/Text.h"
#include "shell/editing/LineTools.h"
#include "shell/editing/LineWrap.h"

namespace pictra::selectiontools {

namespace {

const char* const kLines[] = {
    "a  Ganzen Text auswählen",
    "0  Vom Anfang bis zum Cursor auswählen",
    "9  Vom Cursor bis zum Ende auswählen",
    "g  Ausgewähltes in Großbuchstaben",
    "k  Ausgewähltes in Kleinbuchstaben",
    "l  Zeilen mit Leerzeichen auf 80 Zeichen auffüllen",
    "e  Leerzeilen entfernen (auch z)",
    "o  Ausgewähltes alphabetisch ordnen",
    "p  Ausgewähltes ohne Leerzeilen drucken",
    "d  Zwischenablage drucken",
    "c  Zwischenablage nur noch als reiner Text",
    "v  Zwischenablage umgebrochen einfügen",
    "w  Rechtschreibung der Zwischenablage prüfen",
    "r  Rechtschreibung des Ausgewählten prüfen",
    "t  *-Tabelle zu HTML-Tabelle",
    "h  HTML-Tabelle zu *-Tabelle",
    "y  Vor jede Zeile etwas einfügen",
    "x  An jede Zeile etwas anhängen",
    ">  Zeilen nach rechts verschieben",
    nullptr,
};

// Commands marked with a star take the whole text when nothing is selected.
void selectAllIfNone(EditorView& view) {
    if (view.selectionLength() > 0) return;
    view.setSelection(0, static_cast<int>(text::joinLines(view.lines(), "\n").size()));
}

int textLength(const EditorView& view) { return static_cast<int>(text::joinLines(view.lines(), "\n").size()); }

// Rewrites the selection line by line, each line followed by CR LF.
void rewriteLines(EditorView& view, const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) out += line + "\r\n";
    const int caret = view.selectionStart();
    view.replaceSelection(out);
    view.setCaret(caret);
}

std::vector<std::string> selectedLines(const EditorView& view) { return text::splitLines(view.selectedText()); }

void affixLines(EditorView& view, Dialogs& dialogs, bool front) {
    const std::string title = front ? "An jede Zeile wird vorne was drangehängt (Kann auch mehrzeilig sein)"
                                    : "An jede Zeile wird hinten was angehängt (Kann auch mehrzeilig sein)";
    const std::string affix = dialogs.editText(title, "");
    if (affix == kCancelMarker) return;
    std::vector<std::string> lines = selectedLines(view);
    for (auto& line : lines) line = front ? affix + line : line + affix;
    rewriteLines(view, lines);
}

void sortedSelection(EditorView& view, Dialogs& dialogs) {
    std::vector<std::string> lines = selectedLines(view);
    linetools::sortAlphabetically(lines);
    const int caret = view.caret();
    std::string result = dialogs.editText("Geordnet", text::joinLines(lines));
    if (result == kCancelMarker) return;
    // Whole selected lines keep their last line break, or the line after the selection joins the last one.
    const std::string selected = view.selectedText();
    if (!selected.empty() && selected.back() == '\n' && (result.empty() || result.back() != '\n')) result += "\r\n";
    view.replaceSelection(result);
    view.setCaret(caret);
}

}  // namespace

const char* const* toolLines() { return kLines; }

std::string preparedClipboard(const std::string& text) {
    std::string plain = text::replaceAll(text::replaceAll(text, "&shy;", ""), "\t", " ");
    return text::joinLines(linewrap::wrapEach(text::splitLines(plain), 80));
}

bool runTool(char key, EditorView& view, Dialogs& dialogs, SettingsStore& store, Services& services) {
    switch (key) {
    case 'a': view.setSelection(0, textLength(view)); return true;
    case '0': view.setSelection(0, view.caret()); return true;
    case '9': view.setSelection(view.caret(), textLength(view) - view.caret()); return true;
    case 'g':
    case 'k': {
        selectAllIfNone(view);
        const int start = view.selectionStart();
        const std::string s = view.selectedText();
        view.replaceSelection(key == 'g' ? text::toUpperCp1252(s) : text::toLowerCp1252(s));
        view.setCaret(start);
        return true;
    }
    case 'l': {
        selectAllIfNone(view);
        std::vector<std::string> lines = selectedLines(view);
        for (auto& line : lines) {
            if (line.size() < 80) line.resize(80, ' ');
        }
        rewriteLines(view, lines);
        return true;
    }
    case 'e':
    case 'z':
        selectAllIfNone(view);
        rewriteLines(view, linetools::withoutBlankLines(selectedLines(view)));
        return true;
    case 'o': selectAllIfNone(view); sortedSelection(view, dialogs); return true;
    case 'p':
        selectAllIfNone(view);
        services.print(text::joinLines(linetools::withoutBlankLines(selectedLines(view))));
        return true;
    case 'd': services.print(services.clipboardText()); return true;
    case 'c': services.setClipboardText(services.clipboardText()); return true;
    case 'v': view.replaceSelection(preparedClipboard(services.clipboardText())); return true;
    case 'w': services.spellCheck(services.clipboardText()); return true;
    case 'r': selectAllIfNone(view); services.spellCheck(view.selectedText()); return true;
    case 't':
    case 'h': services.tableConversion(key == 't'); return true;
    case 'y': affixLines(view, dialogs, true); return true;
    case 'x': affixLines(view, dialogs, false); return true;
    case '>': selectAllIfNone(view); linetools::shiftSelectionRight(view, dialogs, store); return true;
    default: return false;
    }
}

}  // namespace pictra::selectiontools
