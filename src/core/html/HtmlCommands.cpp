#include "HtmlCommands.h"

#include "common/Codec.h"
#include "common/Text.h"
#include "shell/editing/LineWrap.h"

namespace pictra::html {

const char* const kMsgMathOn =
    "Mathematischer Text\r(Falls kein mathematischer Text: Entferne \"<!-- Mathematischer Text -->\"!)\rSiehe Strg + "
    "H. In diesem Fall wird zum Beispiel:\rStrg+H+w mit Kurzform \xC2\xA5 Quadratwurzel\rStrg+H+k              "
    "\xC3\x9A kleiner gleich\rStrg+H+g              \xC3\x99 größer gleich\r\rBei nicht mathematischen Texten "
    "werden \xC2\xA5, \xC3\x9A, \xC3\x99, etc. auf der Webseite auch so dargestellt.";
const char* const kMsgMathOff =
    "Kein mathematischer Text: Alle Zeichen \xC2\xA5, \xC3\x9A, \xC3\x99, etc. werden so dargestellt wie auf dem "
    "Bildschirm.\rFalls die Auszeichnung \"<!-- Mathematischer Text -->\" im Text steht, muss diese Zeile entfernt "
    "werden.";

namespace {

// Converts every line and moves the caret by the change in length of every line
// that begins before it.
template <typename Convert>
void convertLines(EditorView& view, Tones& tones, Convert convert) {
    std::vector<std::string> lines = view.lines();
    const int caret = view.caret();
    long lineStart = 0;
    long shift = 0;
    bool changed = false;
    for (auto& line : lines) {
        const long oldLength = static_cast<long>(line.size());
        std::string converted = convert(line);
        if (converted == line) {
            lineStart += oldLength + 1;
            continue;
        }
        changed = true;
        line = std::move(converted);
        if (lineStart < caret) shift += static_cast<long>(line.size()) - oldLength;
        lineStart += oldLength + 1;
    }
    // Nothing to convert: the text, its paint and its unmodified state stay.
    if (changed) {
        view.setLines(lines);
        view.setCaret(static_cast<int>(std::max(0L, caret + shift)));
    }
    view.focus();
    tones.completionTone();
}

void replaceSelectedLines(EditorView& view, Dialogs& dialogs, char from1, char to1, char from2, char to2) {
    if (view.selectionLength() == 0) {
        dialogs.inform(kMsgNoSelection);
        return;
    }
    std::string out;
    for (std::string line : text::splitLines(view.selectedText())) {
        for (char& c : line) {
            if (c == from1) {
                c = to1;
            } else if (c == from2) {
                c = to2;
            }
        }
        out += line + "\r\n";
    }
    view.replaceSelection(out);
}

void replaceWholeText(EditorView& view, const std::string& text) { view.setLines(text::splitLines(text)); }

}  // namespace

void decodeDocument(EditorView& view, EntityTable& table, Tones& tones) {
    convertLines(view, tones, [&](const std::string& l) { return table.decode(l); });
}

void encodeDocument(EditorView& view, EntityTable& table, Tones& tones) {
    convertLines(view, tones, [&](const std::string& l) { return table.encode(l); });
}

std::string withMathMarker(const std::string& text) {
    if (text.find(kMathMarker) != std::string::npos) return text;
    const size_t title = text.find("</title>");
    if (title == std::string::npos) return std::string(kMathMarker) + "\r\n" + text;
    const size_t at = title + 8;
    return text.substr(0, at) + "\r\n    " + kMathMarker + text.substr(at);
}

void setMathMode(bool on, EditorView& view, EntityTable& table, Dialogs& dialogs) {
    if (!on) {
        table.clear();
        dialogs.inform(kMsgMathOff);
        return;
    }
    table.buildMath();
    dialogs.inform(kMsgMathOn);
    const std::string text = wholeText(view);
    if (text.find(kMathMarker) == std::string::npos) replaceWholeText(view, withMathMarker(text));
}

void anglesToGuillemets(EditorView& view, Dialogs& dialogs) {
    replaceSelectedLines(view, dialogs, '<', '\xAB', '>', '\xBB');
}

void guillemetsToAngles(EditorView& view, Dialogs& dialogs) {
    replaceSelectedLines(view, dialogs, '\xAB', '<', '\xBB', '>');
}

std::string atildeToAnsi(const std::string& text) {
    std::string s = text;
    for (auto [from, to] : {std::pair{"\xC3\xA4", "\xE4"}, {"\xC3\xB6", "\xF6"}, {"\xC3\x9C", "\xDC"},
                            {"\xC3\xBC", "\xFC"}, {"\xC3\x9F", "\xDF"}, {"\xE2\x80\x9E", "\""},
                            {"\xE2\x80\x9C", "\""}, {"\xE2\x80\x99", "'"}}) {
        s = text::replaceAll(s, from, to);
    }
    return s;
}

std::string quotedPrintableToAnsi(const std::string& text) {
    std::string s = text::replaceAll(text, "=\r\n", "");
    for (auto [from, to] : {std::pair{"=20", " "}, {"=C3=A4", "\xE4"}, {"=C3=B6", "\xF6"}, {"=C3=9C", "\xDC"},
                            {"=C3=BC", "\xFC"}, {"=C3=9F", "\xDF"}, {"=E2=80=9C", "\""}, {"=E2=80=9E", "\""}}) {
        s = text::replaceAll(s, from, to);
    }
    return s;
}

void repairDosUmlauts(EditorView& view, Tones& tones) {
    replaceWholeText(view, codec::cp850ToCp1252(wholeText(view)));
    tones.completionTone();
}

void repairAtilde(EditorView& view, Tones& tones) {
    replaceWholeText(view, atildeToAnsi(wholeText(view)));
    tones.completionTone();
}

void repairQuotedPrintable(EditorView& view, Dialogs& dialogs, Tones& tones,
                           const std::function<void(const std::string&)>& notice) {
    replaceWholeText(view, quotedPrintableToAnsi(wholeText(view)));
    tones.completionTone();
    view.setSelection(view.caret(), 0);
    wrapLines(view, dialogs, notice);
}

void wrapLines(EditorView& view, Dialogs& dialogs, const std::function<void(const std::string&)>& notice) {
    long long width = 80;
    if (!dialogs.askNumber("Zeilen umbrechen", "Wie lang soll eine Zeile maximal werden?", width)) return;
    const int w = static_cast<int>(std::clamp<long long>(width, 0, 1000000));
    if (view.selectionLength() == 0) {
        notice("|Beim gesamten Text werden zu lange Zeilen umgebrochen (ohne Zeilenausgleich)|");
        view.setLines(linewrap::wrapEach(view.lines(), w));
        return;
    }
    notice("|Der ausgewählte Text wird mit Zeilenausgleich umgebrochen|");
    view.replaceSelection(linewrap::wrapParagraphs(view.selectedText(), w));
}

}  // namespace pictra::html
