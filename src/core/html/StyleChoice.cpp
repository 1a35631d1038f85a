#include "StyleChoice.h"

#include "common/Text.h"

namespace pictra::html {

const std::vector<std::string>& colourTable() {
    static const std::vector<std::string> rows{
        "schwarz black #000000", "grau gray #808080", "hellgrau silver #C0C0C0", "weiß white #FFFFFF",
        "rot red #FF0000", "grün green #008000", "blau blue #0000FF", "gelb yellow #FFFF00",
        "schöngelb dandelion #F4EB00", "zartviolett pansy #A37D92", "dunkelrot #800000", "dunkelgrün #006000",
        "dunkelblau #000080", "blaudunkel indigo #466883", "tiefblau #5759E2", "rötlich #FFA07A", "bläulich #aaddff",
        "grünlich #80ff80", "hellgrün forest #1DB35C", "graugrün leaf #9CBF9F", "pink #FFB6C1", "orange #F79200",
        "braun maroon #800000", "dunkelbraun coffee #582802", "blaugrün teal #008080",
        "grünblauhell turquois #1A96BA", "hellblau aqua  #00FFFF", "dunkelviolett purple #800080",
        "violettblau navy #000080", "bräunlich olive  #808000", "hellviolett fuchsia  #FF00FF",
        "hellgrün lime #00FF00", "schönlime #99E000"};
    return rows;
}

std::string wordOf(const std::string& row, int n) {
    size_t at = 0;
    std::string word;
    for (int i = 0; i < n; ++i) {
        at = row.find_first_not_of(' ', at);
        if (at == std::string::npos) return {};
        const size_t end = row.find(' ', at);
        word = row.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end;
        if (at == std::string::npos && i + 1 < n) return {};
    }
    return word;
}

std::string colourValue(const std::string& entry) {
    for (const std::string& row : colourTable()) {
        if (wordOf(row, 1) != entry) continue;
        if (const std::string third = wordOf(row, 3); !third.empty()) return third;
        if (const std::string second = wordOf(row, 2); !second.empty()) return second;
        return row;
    }
    return kUnchanged;
}

const std::vector<std::string>& sizeChoices() {
    static const std::vector<std::string> sizes{kUnchanged, "1.6em", "1.4em", "1.2em", "0.9em", "0.8em", "0.7em"};
    return sizes;
}

const std::vector<std::string>& familyChoices() {
    static const std::vector<std::string> families{kUnchanged,
                                                   "Arial,sans-serif",
                                                   "Times New Roman, Times",
                                                   "Tahoma",
                                                   "Trebuchet MS",
                                                   "Verdana,Arial,Helvetica,sans-serif",
                                                   "Geneva,Arial,Helvetica,sans-serif",
                                                   "Palatino Linotype,Book antiqua,Sylfaen,Times",
                                                   "Lucida Handwriting,Comic Sans MS,Chicago",
                                                   "Monotype Corsiva",
                                                   "Impact, Arial Black",
                                                   "Symbol"};
    return families;
}

const std::vector<std::string>& alignmentChoices() {
    static const std::vector<std::string> alignments{kUnchanged, "links ", "zentriert", "rechts", "Blocksatz"};
    return alignments;
}

namespace {

std::string alignmentValue(const std::string& a) {
    if (a == "links ") return "left";
    if (a == "zentriert") return "center";
    if (a == "rechts") return "right";
    if (a == "Blocksatz") return "justify";
    return a;
}

}  // namespace

std::string applyStyle(const StyleChoice& c, const std::string& text) {
    const std::string tag = c.element == Element::Div ? "div" : "span";
    std::string style;
    if (c.leftMargin) style += "margin-left: 3%;";
    if (c.rightMargin) style += "margin-right: 3%;";
    if (c.frame) style += "border: 1px solid #D7C0DC; padding: 1em;";
    if (c.alignment != kUnchanged) style += "text-align:" + alignmentValue(c.alignment) + ";";
    if (c.size != kUnchanged) style += "font-size:" + c.size + ";";
    if (c.family != kUnchanged) style += "font-family:" + c.family + ";";
    if (c.colour != kUnchanged) style += "color:" + colourValue(c.colour) + ";";
    if (c.background != kUnchanged) style += "background-color:" + colourValue(c.background) + ";";
    if (c.bold) style += "font-weight:bold;";
    if (style.empty()) return text;
    std::string result = "<" + tag + "  style=\"" + style + "\">" + text + "</" + tag + ">";
    if (c.element == Element::None) {
        // No element: the style has nowhere to go, so only the text remains.
        return text;
    }
    if (c.element == Element::Div) {
        result = "<br><br>" + result;
        std::string indented;
        for (const std::string& line : text::splitLines(result)) indented += "\r\n     " + line;
        result = indented;
    }
    return result;
}

std::string sqrtTwoText() { return "&radic;<span  style=\"text-decoration: overline;\">2</span>"; }

std::string styleBlockText() {
    return "<style type=\"text/css\">\r\n"
           "body { font-family: Arial,Helvetica,Verdana,sans-serif; margin-left: 10%; margin-right: 10%; }\r\n"
           "a:link { color: #6600bb; font-weight: bold; text-decoration: none; }\r\n"
           "a:visited { color: #660099; font-weight: bold; text-decoration: none; }\r\n"
           "a:hover { color: #FF3399; font-weight: bold; text-decoration: underline; }\r\n"
           "a:active { color: #AA00AA; font-weight: bold; text-decoration: none; }\r\n"
           "h1, h2, h3, h4, h5, h6 { font-family: Tahoma, Arial, Helvetica; }\r\n"
           "h1, h2, h3, h4, h6 { font-weight: bold; }\r\n"
           "h1, h2, h3, h4 { color: #5294A9; }\r\n"
           "h5 { font-size: 12pt; }\r\n"
           "</style>";
}

}  // namespace pictra::html
