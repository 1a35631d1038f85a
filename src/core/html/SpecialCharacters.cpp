#include "SpecialCharacters.h"

#include "common/Codec.h"
#include "common/Text.h"

namespace pictra::special {

namespace {

// Key, blank, snippet (with "_" for blanks), blank, remark: as the dialog's fixed text.
// Keys and snippets are Windows-1252; remarks UTF-8.
const char* const kLines[] = {
    "_ _ Zeile umbrechen und Leerstelle",
    "h <br> Neue Zeile. Einfach: h h tippen (am öftesten gebraucht)",
    "s &nbsp; space=zusätzliche Leerstelle",
    "t &shy;  mögliche Worttrennung",
    "_ _ Formatierungen (Ausgewähltes erscheint dazwischen)",
    "i <i></i> Schrägschrift     -> <i></i> \"Italic\"",
    "b <b></b> Fettschrift       -> <b></b> \"Bold\"",
    "u <u></u> Unterstrichen     -> <u></u> \"Underline\"",
    "n <nobr></nobr> no Break (Keinen Umbruch)",
    "^ <sup></sup> Hochgestellt",
    "\xB0 <sub></sub> Tiefgestellt",
    "f <div_font> Schrift allgemein",
    "1 <h1></h1> Überschrift",
    "2 <h2></h2> Überschrift",
    "3 <h3></h3> Überschrift",
    "4 <h4></h4> Überschrift",
    "c align=center",
    "_ _ Zeichen, die in HTML reserviert sind",
    "< \xAB kleiner als (in HTML Sonderfunktion)",
    "> \xBB größer  als (in HTML Sonderfunktion)",
    "\" \x84\x93 Anführungszeichen (in HTML Sonderfunktion)",
    "& \xCB Kaufmännisch und  (in HTML Sonderfunktion)",
    "_ _ griechische, mathemetische und Sonderzeichen",
    "A \xE3 alpha",
    "B \xFE beta",
    "D \xD0 Delta",
    "e \xEB epsilon",
    "P \xB6 Pi",
    "E \x80 Euro-Zeichen",
    "Z \xB2 Hoch zwei",
    "D \xB3 Hoch drei",
    "+ \xB1 plus minus",
    "# \x87 ungleich",
    "* \xB7 Punkt als Malzeichen",
    "w \xA5 quadratwurzel",
    "k \xDA kleiner gleich",
    "g \xD9 größer gleich",
    "~ \x98 beinahe gleich",
    "U \xFB unendlich",
    "S \xC7 Summe",
    "I \xCF Integral",
    "- \xAF Überstrich",
    "_ _ Listen definieren (Tabelle siehe Strg+A und Menü \"Bausteine\")",
    "0 <ul></ul> (Null) Liste definieren",
    "9 <ol_type=\"1\"></ol> (Neun) Nummerierte Liste definieren",
    "l <li></li> (klein l) Listenelement",
    "8 <dl></dl> (Acht) Definitionsliste definieren",
    "7 <dt></dt> (Sieben) Zu Definierendes",
    "d <dd></dd> Definitionslistenelement",
    "_ _ Sonstiges",
    "H @TODAY@ Heute (das heutige Datum)",
    "p <pre_style=\"font-size:1em;line-height:0.7em;\"></pre>",
    "q <pre_style=\"font-size:1em;font-weight:bold;line-height:0.7;\"></pre>",
    "R <table_border=1_cellspacing=0_cellpadding=10_bgcolor=\"F0F0F0\"><tr><td></td></tr></table> Table als Kasten",
    "/ <a_href=\"javascript:history.back()\">zur&uuml;ck</a> Link \"zurück\"",
    "@ <div_style=\"page-break-before:always\"></div> Neue Seite",
};

Row parse(const std::string& line, const std::string& today) {
    Row row;
    row.key = line[0];
    const size_t second = line.find(' ', 2);
    std::string snippet = line.substr(2, second == std::string::npos ? std::string::npos : second - 2);
    // A line without a remark repeats its snippet as stored.
    row.remark = second == std::string::npos ? codec::cp1252ToUtf8(snippet) : line.substr(second + 1);
    if (snippet == "@TODAY@") snippet = today;
    for (char& c : snippet) {
        if (c == '_') c = ' ';
    }
    row.snippet = row.key == '_' ? std::string() : snippet;
    return row;
}

char normalisedKey(char key) {
    switch (key) {
        case 8: return 'h';
        case 9: return 'i';
        case 16: return 'p';
        case 19: return 's';
        default: return key;
    }
}

std::string unquoted(const std::string& s) {
    if (s.size() > 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
    return s;
}

}  // namespace

std::vector<Row> rows(const std::string& today) {
    std::vector<Row> result;
    for (const char* line : kLines) result.push_back(parse(line, today));
    return result;
}

Result pressKey(char rawKey, const std::string& selection, const std::string& today) {
    const char key = normalisedKey(rawKey);
    if (key == '_') return {Outcome::Ignored, {}};
    if (key == 27) return {Outcome::Cancel, {}};
    const auto all = rows(today);
    const Row* row = nullptr;
    for (const auto& r : all) {
        if (r.key == key) {
            row = &r;
            break;
        }
    }
    if (!row) return {Outcome::Unknown, {}};
    if (key == '"') return {Outcome::Quote, "\x84" + unquoted(selection) + "\x93"};
    if (selection.empty()) return {Outcome::Insert, row->snippet};
    std::string inner = selection;
    if (selection.find_first_of("\r\n") != std::string::npos) {
        inner.clear();
        for (const auto& line : text::splitLines(selection)) inner += "  " + line + "\r\n";
    }
    std::string result = row->snippet;
    const size_t gt = result.find('>');
    if (gt == std::string::npos) {
        result += inner;
    } else {
        result.insert(gt + 1, inner);
    }
    if (const size_t li = result.find("<li>"); li != std::string::npos) result.replace(li, 4, "<li class=\"\">");
    return {Outcome::Insert, result};
}

int caretAfterInsert(const std::string& inserted, int insertStart, bool hadSelection) {
    const size_t gt = inserted.find('>');
    if (hadSelection || insertStart == 0 || gt == std::string::npos) return -1;
    return insertStart + static_cast<int>(gt) + 1;
}

}  // namespace pictra::special
