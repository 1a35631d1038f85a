#include "CalculatorLine.h"

#include <cmath>

#include "common/Text.h"

namespace pictra::calc {

namespace {

bool inStepClass(char c) {
    const auto b = static_cast<unsigned char>(c);
    return c == ' ' || (b >= '(' && b <= ':') || b == 0xB7;
}

bool inCompleteClass(char c) { return c >= '*' && c <= ':'; }

std::string trimBlanks(const std::string& s) { return text::trim(s); }

struct Position {
    int line = 0;
    int column = 0;
};

Position positionOf(const std::vector<std::string>& lines, int offset) {
    Position p;
    int start = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int end = start + static_cast<int>(lines[i].size());
        if (offset <= end) return {static_cast<int>(i), offset - start};
        start = end + 1;
    }
    if (!lines.empty()) p = {static_cast<int>(lines.size()) - 1, static_cast<int>(lines.back().size())};
    return p;
}

int offsetOf(const std::vector<std::string>& lines, int line) {
    int offset = 0;
    for (int i = 0; i < line; ++i) offset += static_cast<int>(lines[static_cast<size_t>(i)].size()) + 1;
    return offset;
}

}  // namespace

std::string stepExpression(const std::string& lineFromCaret) {
    std::string s = trimBlanks(lineFromCaret);
    size_t first = 0;
    while (first < s.size() && !inStepClass(s[first])) ++first;
    s = trimBlanks(s.substr(first));
    while (s.size() >= 2 && (s[0] == '+' || s[0] == '-') && s[1] == ' ') s.erase(1, 1);
    if (const size_t pair = s.find("  "); pair != std::string::npos) s.resize(pair);
    size_t run = 0;
    while (run < s.size() && inStepClass(s[run])) ++run;
    return trimBlanks(s.substr(0, run));
}

void addFromText(CalculatorLine& line, EditorView& view, int sign) {
    std::vector<std::string> lines = view.lines();
    const Position at = positionOf(lines, view.caret());
    const std::string current = lines.empty() ? std::string() : lines[static_cast<size_t>(at.line)];
    Value v = 0;
    try {
        v = EvaluateExpression(stepExpression(current.substr(static_cast<size_t>(at.column))));
        if (sign < 0) v = -v;
        line.lastValue = FormatNumber(v, kResultPattern);
    } catch (const EvaluationError&) {
        line.lastValue = "Fehler";
        v = 0;
    }
    if (!std::isfinite(line.sum + v)) {
        // The sum itself would leave the extended range: refused like a bad number.
        line.lastValue = "Fehler";
        v = 0;
    }
    line.sum += v;
    line.sumText = FormatNumber(line.sum, kResultPattern);
    if (sign > 0) {
        const long long count = text::toIntDef(line.countText, 0) + 1;
        line.countText = std::to_string(count);
        line.averageText = FormatNumber(line.sum / static_cast<Value>(count), "0.##");
    }

    // Down to the same column of the next line; a line in the middle that is too
    // short gets blanks in blocks of five, on the last line the caret stops at the end.
    const size_t next = static_cast<size_t>(at.line) + 1;
    if (next < lines.size()) {
        std::string& target = lines[next];
        const size_t column = static_cast<size_t>(at.column);
        if (next + 1 < lines.size() && target.size() < column + 1) {
            const size_t padding = (column + 1 - target.size() + 4) / 5 * 5;
            view.setSelection(offsetOf(lines, static_cast<int>(next)) + static_cast<int>(target.size()), 0);
            view.replaceSelection(std::string(padding, ' '));
            target.append(padding, ' ');
        }
        view.setCaret(offsetOf(lines, static_cast<int>(next)) + static_cast<int>(std::min(column, target.size())));
    } else {
        view.setCaret(offsetOf(lines, static_cast<int>(lines.size())) - 1);
    }
    view.focus();
}

void reset(CalculatorLine& line) {
    line.sum = 0;
    line.lastValue.clear();
    line.averageText.clear();
    line.countText = "0";
    line.sumText = "0";
}

std::string insertText(const CalculatorLine& line) {
    const std::string text = FormatNumber(line.sum, "### ### ##0.##");
    if (text.find(',') != std::string::npos) return FormatNumber(line.sum, "### ### ##0.00");
    return text;
}

std::string completeExpression(const std::string& selection) {
    std::string s = trimBlanks(selection);
    if (const size_t eq = s.find('='); eq != std::string::npos) s = trimBlanks(s.substr(0, eq));
    std::string expression;
    std::string rest;
    bool unitInFront = false;
    const size_t half = s.size() / 2;
    for (size_t i = 0; i < s.size(); ++i) {
        if (inCompleteClass(s[i])) {
            expression += s[i];
        } else {
            rest += s[i];
            if (i + 1 < half) unitInFront = true;
        }
    }
    rest = trimBlanks(rest);
    std::string result;
    try {
        result = FormatNumber(EvaluateExpression(expression), kResultPattern);
    } catch (const EvaluationError&) {
        result.clear();
    }
    return unitInFront ? s + " = " + rest + result : s + " = " + result + rest;
}

void completeSelection(EditorView& view) { view.replaceSelection(completeExpression(view.selectedText())); }

const char* const kStepHelp =
    "Wie kann man im Text Rechnungen durchführen?\r\n\r\n"
    "1. Setzen Sie den Cursor vor die Zahl, die addiert werden soll.\r\n"
    "2. Drücken Sie \"+ (F4)\" oder F4. Die Zahl wird zur \"Summe\" addiert, mit \"- (F5)\" oder F5 abgezogen.\r\n"
    "   Der Cursor springt in die nächste Zeile an dieselbe Stelle: So addieren Sie Spalten mit mehrfachem F4.\r\n"
    "3. Text hinter der Zahl wird nicht beachtet, muss aber mit zwei Leerstellen abgetrennt sein.\r\n"
    "4. \"Einfügen\" fügt die Summe an der Cursorposition ein. \"Löschen\" setzt die Summe auf 0.\r\n\r\n"
    "Beispiel (Punkt oder Komma als Dezimalzeichen):\r\n\r\n"
    "Bücher          12,50  EUR\r\n"
    "Hefte            3.80  EUR\r\n"
    "Stifte           7,45  EUR\r\n\r\n"
    "Lösung: 23,75 EUR\r\n\r\n"
    "Auch Rechenausdrücke sind erlaubt, zum Beispiel mit dem Malzeichen \"\xC2\xB7\" (Strg+H+*):\r\n\r\n"
    "Mieten      12\xC2\xB7(5\xC2\xB7" "250+ 4\xC2\xB7" "315)  EUR\r\n"
    "Nebenkosten 12\xC2\xB7" "180  EUR\r\n\r\n"
    "Lösung: 32 280 EUR";

const char* const kCompleteHelp =
    "F6 im Rechenblattmodus (Strg+R): Ein markierter Rechenausdruck, der mit \" = \" endet, wird mit seinem "
    "Ergebnis ergänzt.\rZum Beispiel: 12*30,50 € =\rDas erspart den Aufruf des Rechners (Menü: Ansicht|Rechner).";

const char* const kExampleSheet =
    "Spendenliste Schulfest\r\n\r\n"
    "Klasse 5a        125,50  EUR\r\n"
    "Klasse 5b         98,20  EUR\r\n"
    "Klasse 6a        143,00  EUR\r\n"
    "Klasse 6b         87,75  EUR\r\n"
    "Elternbeirat     250,00  EUR\r\n\r\n"
    "Summe:           ???\r\n\r\n"
    "Kuchenverkauf:   48\xC2\xB7" "1,50  EUR\r\n"
    "Getränke:        12*30,50 \xE2\x82\xAC =\r\n\r\n"
    "Cursor vor die erste Zahl setzen und F4 drücken, bis alle Beträge addiert sind; dann \"Einfügen\".\r\n"
    "Den Ausdruck \"12*30,50 \xE2\x82\xAC =\" markieren und F6 drücken.";

const char* const kDialogHelp =
    "Alle Rechnausdrücke mit folgenden Funktionen sind erlaubt:\r\n"
    "\r\n"
    "Konstante Pi  = 3,141 592 654 = Verhältnis Umfang zu Durchmesser im Kreis\r\n"
    "          EUR = 1,95583 Umrechnung 1 EUR = 1,95583 DM\r\n"
    "\r\n"
    "       Standardfunktionen\r\n"
    "\r\n"
    "abs(x) sqrt(x) fak(x)   Betrag,Wurzel, Fakultät\r\n"
    "int(x) exp(x)           Gaußsche Klammerfunktion, e hoch x\r\n"
    "ln(x)  lg(x)  lb(x)     nat. Logarithmus,10-Logarithmus, 2-Lograithmus\r\n"
    "\r\n"
    "       trigonometrische Funktionen\r\n"
    "\r\n"
    "sin(x) cos(x) tan(x)           im Bogenmaß\r\n"
    "si_(x) co_(x) ta_(x)           im Gradmaß (Hier Zum Beispiel LEx=1/90)\r\n"
    "arcsin(x) arccos(x)arctan(x)   Die Umkehrfunktionen. Ergebnis im Bogenmaß\r\n"
    "\r\n"
    "erlaubt zum Beispiel:\r\n"
    "\r\n"
    "1/2+1/3+1/4 Brüche werden mit einer Genauigkeit von 10^(-9) angegeben.\r\n"
    "sqrt(3^2 + 4^2)     Hinweis: \"^\"=\"hoch\", d.h. 4^2=4*4 4^3=4*4*4\r\n"
    "1/2*(8+14,8+15,9)   Komma oder Punkt ist \"Dezimalseparator\"\r\n"
    "1/2*(8+14.8+15.9)";

}  // namespace pictra::calc
