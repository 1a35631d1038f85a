#include "TableCommands.h"

#include "TableConversion.h"
#include "common/Text.h"

namespace pictra::html::convert {

const char* const kStarToHtmlQuestion =
    "Haben Sie eine Tabelle der Form ...\r*       *      *\ra1      a2     a3\rb1      b2     b3\r... so wird sie nun "
    "umgeformt zu ...\r<table><tr><td>a1</td> ...\rSind Sie damit einverstanden?\r\rTastaturkürzel dafür ist "
    "\"Strg+A+T\".";
const char* const kHtmlToStarQuestion =
    "Haben Sie eine HTML-Tabelle der Form ...\r<table><tr><td>a1</td> ...\r... so wird sie nun umgeformt zu "
    "...\r*       *      *\ra1      a2     a3\rb1      b2     b3\rSind Sie damit einverstanden?\r\rTastaturkürzel dafür "
    "ist \"Strg+A+H\".";
const char* const kTableHint =
    "Eine Tabelle in Pictra (\"*-Tabelle\") steht in Spalten unter einer Zeile aus Sternchen:\r\r"
    "*         *       *\r"
    "Name      Punkte  Note\r"
    "Anna      48      1\r"
    "Bernd     31      3\r\r"
    "Markieren Sie sie und wählen Sie \"* ...-Tablle in <table>-Tabelle umwandlen\" (oder Strg+A, dann t). "
    "Daraus wird:\r\r"
    "<table border=1>\r"
    "  <tr><td>Name</td><td>Punkte</td><td>Note</td></tr>\r"
    "  <tr><td>Anna</td><td>48</td><td>1</td></tr>\r"
    "  <tr><td>Bernd</td><td>31</td><td>3</td></tr>\r"
    "</table>\r\r"
    "Der umgekehrte Weg (Strg+A, dann h) macht aus einer markierten HTML-Tabelle wieder eine *-Tabelle in <pre>.";
const char* const kListHint =
    "Aus den markierten Zeilen\r\rÄpfel\rBirnen\rKirschen\r\rwird die Liste\r\r<ul>\r<li>Äpfel</li>\r"
    "<li>Birnen</li>\r<li>Kirschen</li>\r</ul>";

namespace {

constexpr const char* kPatience = "Bitte etwas Geduld";

}  // namespace

ConversionWindow::ConversionWindow(Dialogs& dialogs, size_t textSize)
    : m_dialogs(dialogs), m_open(textSize >= kCancelWindowFrom) {
    if (!m_open) return;
    m_dialogs.beginCancelWindow(kPatience);
    m_keepGoing = [this] { return !m_dialogs.stepCancelWindow(kPatience); };
}

ConversionWindow::~ConversionWindow() { close(); }

void ConversionWindow::close() {
    if (m_open) m_dialogs.endCancelWindow();
    m_open = false;
}

bool starTableToHtml(EditorView& view, Dialogs& dialogs, bool confirm) {
    if (confirm && dialogs.ask(kStarToHtmlQuestion) != Answer::Yes) return false;
    const std::string selection = view.selectedText();
    ConversionWindow window(dialogs, selection.size());
    const Converted result = starToHtml(selection, window.keepGoing());
    window.close();
    if (!result.text) {
        // Stopped in the cancel window: nothing to tell, nothing changed.
        if (!result.message.empty()) dialogs.inform(result.message);
        return false;
    }
    view.replaceSelection(*result.text);
    return true;
}

bool htmlTableToStar(EditorView& view, Dialogs& dialogs, bool confirm) {
    if (confirm && dialogs.ask(kHtmlToStarQuestion) != Answer::Yes) return false;
    const std::string selection = view.selectedText();
    if (!startsWithTable(selection)) {
        dialogs.inform("1. Text muss ausgewählt sein.\r2. Ausgewählter Text muß mit \"<table\" beginnen!");
        return false;
    }
    ConversionWindow window(dialogs, selection.size());
    const ParsedTable parsed = readHtmlTable(selection, window.keepGoing());
    window.close();
    if (parsed.stopped) return false;
    if (!parsed.message.empty()) dialogs.inform(parsed.message);
    std::string result = parsed.message.empty() ? starTableBlock(parsed.grid) : selection;
    const bool blank = dialogs.ask("Alle HTML-Tags entfernen?") == Answer::Yes;
    if (blank) result = blankTags(result);
    if (result == selection) return false;
    view.replaceSelection(result);
    return true;
}

bool structureTable(EditorView& view, Dialogs& dialogs) {
    const std::string selection = view.selectedText();
    ConversionWindow window(dialogs, selection.size());
    const Converted result = layoutTable(selection, window.keepGoing());
    window.close();
    if (!result.text) {
        if (!result.message.empty()) dialogs.inform(result.message);
        return false;
    }
    view.replaceSelection(*result.text);
    return true;
}

bool rewriteSelectedLines(EditorView& view, Dialogs& dialogs,
                          const std::function<std::string(const std::vector<std::string>&)>& rewrite) {
    if (view.selectionLength() == 0) {
        if (dialogs.ask("Den ganzen Text?") != Answer::Yes) return false;
        view.setSelection(0, static_cast<int>(view.plainText().size()));
    }
    view.replaceSelection(rewrite(text::splitLines(view.selectedText())));
    return true;
}

void insertWikiColumnAtCaret(EditorView& view) {
    const std::vector<std::string> lines = view.lines();
    if (lines.empty()) return;
    const int caret = view.caret();
    const LineColumn at = lineColumnOf(lines, caret);
    const std::vector<std::string> changed =
        insertWikiColumn(lines, static_cast<size_t>(at.line), static_cast<size_t>(at.column));
    if (changed == lines) return;
    view.setLines(changed);
    view.setCaret(caret);
}

}  // namespace pictra::html::convert
