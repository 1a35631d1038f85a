#include "BuildingBlocks.h"

#include <algorithm>

#include "common/Text.h"

namespace pictra::preview {

const std::vector<BuildingBlock>& buildingBlocks() {
    static const std::vector<BuildingBlock> blocks = {
        {"HtmlGeruest1", "Html-Gerüst", BlockKind::MessageOnly, "", 0,
         "Bitte \"Esc\" und dort (gelb) Text in HTML-Gerüst einbetten!\r"
         "Grund: In diesem Bearbeitungsmodus wird nicht immer der ganze Text bearbeitet."},
        {"UeberschriftGross1", "Überschrift groß zentral", BlockKind::Snippet, "<h1 align=center></h1>", 7, ""},
        {"UeberschriftKleiner1", "Überschrift kleiner links", BlockKind::Snippet, "<h2></h2>", 7, ""},
        {"Abschnitt1", "Abschnitt", BlockKind::Snippet, "<p></p>", 6, ""},
        {"BrNbsp1", "<br>, &nbsp; etc...", BlockKind::SpecialCharacters, "", 0, ""},
        {"Kommentar1", "Kommentar", BlockKind::Snippet, "<!--   -->", 7, ""},
        {"TabelleGitter1", "Tabelle (Gitter) einfügen", BlockKind::TableForm, "", 0, ""},
        {"Aufzaehlungsliste1", "Aufzählungsliste einfügen", BlockKind::Snippet,
         "<ul type=disk>\r  <li> </li>\r  <li> </li>\r  <li> </li>\r  <li> </li>\r</ul>", 0,
         "Kürzer: mit Strg+H+0 (Null) und Str+H+l (klein L)\rMöglichkeiten für type: square circle disc"},
        {"NumerierteListe1", "Numerierte Liste einfügen", BlockKind::Snippet,
         "<ol type=a start=1>\r  <li> </li>\r  <li> </li>\r  <li> </li>\r  <li> </li>\r</ol>", 0,
         "Kürzer: mit Strg+H+9 und Str+H+l\rMöglichkeiten für type:1 a A I i"},
        {"Definitionsliste1", "Definitionsliste einfügen", BlockKind::Snippet,
         "<dl>\r  <dt></dt>\r    <dd> </dd>\r  <dt></dt>\r    <dd> </dd>\r  <dt></dt>\r    <dd> </dd>\r  <dt></dt>\r"
         "    <dd> </dd>\r</dl>",
         0, "Kürzer: mit Strg+H+8, Strg+H+7 und Str+H+l (klein d)"},
        {"Linie1", "Linie", BlockKind::Snippet, "<hr>", 0, ""},
        {"BausteinBild1", "Bild einfügen", BlockKind::EditorPicture, "", 0, ""},
        {"BausteinLink1", "Link einfügen", BlockKind::LinkPage, "", 0, ""},
    };
    return blocks;
}

const BuildingBlock* findBlock(const std::string& caption) {
    for (const BuildingBlock& block : buildingBlocks()) {
        if (caption == block.caption) return &block;
    }
    return nullptr;
}

std::string withCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

void insertSnippet(EditorView& view, const std::string& snippet, int caretBack) {
    const std::string inserted = withCrLf(snippet) + "\r\n";
    const int start = view.caret();
    view.setSelection(start, 0);
    view.replaceSelection(inserted);
    if (caretBack <= 0) return;
    // The table counts a line break as CR LF; the editor counts it once.
    const auto target = inserted.size() - std::min<std::size_t>(static_cast<std::size_t>(caretBack), inserted.size());
    int offset = 0;
    for (std::size_t i = 0; i < target; ++i) offset += inserted[i] == '\r' ? 0 : 1;
    view.setCaret(start + offset);
}

std::string editorPictureSnippet(const std::string& bmpPath) {
    return "<img src=\"" + bmpPath + "\" width=\"105\" height=\"105\" alt=\"Bild\">";
}

std::string linkPageSnippet(const std::string& pagePath) { return "<a href=\"" + pagePath + "\">Link</a>"; }

std::string textPreviewPage(const std::string& text, EntityTable& entities, const SettingsStore& store) {
    entities.ensure();
    const std::string encoded = entities.encode(withCrLf(text));
    if (text.find("<html") != std::string::npos) return encoded;
    return "<html><head><title></title></head><body style=\"margin-top:" + store.readValue("Einstellungen", "Rand oben") +
           "mm; margin-left:" + store.readValue("Einstellungen", "Rand links") +
           "mm; margin-right:" + store.readValue("Einstellungen", "Rand rechts") + "mm;\">\r\n" + encoded +
           "\r\n</body></html>";
}

std::vector<ColouringPart> colouringOf(int kind) {
    switch (kind) {
        case 1: return {ColouringPart::Tables};
        case 2: return {ColouringPart::Lists};
        case 3: return {ColouringPart::Links};
        case 999:
            return {ColouringPart::Tables, ColouringPart::Lists, ColouringPart::Links, ColouringPart::TextElements};
        default: return {};
    }
}

std::string padLines(const std::string& text) {
    auto lines = text::splitLines(text);
    std::size_t longest = 0;
    for (const auto& line : lines) longest = std::max(longest, line.size());
    for (auto& line : lines) line.resize(longest, ' ');
    return text::joinLines(lines, "\r\n");
}

std::string removeSurplusBlanks(const std::string& text) {
    auto lines = text::splitLines(text);
    for (auto& line : lines) {
        std::string out;
        for (const char c : line) {
            if (c == ' ' && !out.empty() && out.back() == ' ') continue;
            out += c;
        }
        while (!out.empty() && out.back() == ' ') out.pop_back();
        line = std::move(out);
    }
    return text::joinLines(lines, "\r\n");
}

}  // namespace pictra::preview
