// The HTML menu's structuring, checking and colouring commands.
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <chrono>
#include <optional>

#include "common/Codec.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "explorer/Explorers.h"
#include "explorer/ExplorerWindow.h"
#include "html/DoctypeStamping.h"
#include "html/HtmlRewrites.h"
#include "html/Indentation.h"
#include "html/TagCheck.h"
#include "html/TableConversionMenu.h"
#include "html/TagColours.h"
#include "platform/Tidy.h"
#include "shell/editing/LineTools.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "shell/QtEditorView.h"
#include "shell/UnsavedTexts.h"

namespace pictra::ui {

namespace {

bin::Date today() {
    const QDate d = QDate::currentDate();
    return {d.year(), d.month(), d.day()};
}

constexpr const char* kIndenting = "HTML wird je nach Verschachtelung eingerückt ...";
constexpr const char* kTidyRunning = "Tidy überprüft die Datei ...";
constexpr const char* kChangedMeanwhile = "Abgebrochen: Der Text wurde inzwischen geändert.";

// The editor of a long command keeps its text while the windows stay responsive.
class EditorPause {
public:
    explicit EditorPause(PlainEditor* editor) : m_editor(editor) { m_editor->setEnabled(false); }
    ~EditorPause() {
        if (!m_editor) return;
        m_editor->setEnabled(true);
        m_editor->setFocus();
    }
    EditorPause(const EditorPause&) = delete;
    EditorPause& operator=(const EditorPause&) = delete;
    // False once the document was closed in the meantime.
    bool alive() const { return !m_editor.isNull(); }

private:
    QPointer<PlainEditor> m_editor;
};

// Puts long text in place of the characters from `start` in pieces and lets the
// windows repaint between them; the whole change stays one step for undoing.
// Once `keepGoing` says no, the old text is put back and false returned.
bool replaceInPieces(PlainEditor& editor, int start, int length, const std::vector<std::string>& lines,
                     const std::string& old, const std::function<bool()>& keepGoing) {
    constexpr int kRemovedPiece = 1 << 20;
    constexpr size_t kLinesPiece = 20000;
    QTextCursor cursor(editor.document());
    cursor.beginEditBlock();
    bool stopped = false;
    int removed = 0;
    while (removed < length && !stopped) {
        const int piece = std::min(length - removed, kRemovedPiece);
        cursor.setPosition(start + length - removed - piece);
        cursor.setPosition(start + length - removed, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        removed += piece;
        stopped = !keepGoing();
    }
    cursor.setPosition(start);
    for (size_t i = 0; i < lines.size() && !stopped; i += kLinesPiece) {
        std::string piece;
        for (size_t k = i; k < std::min(lines.size(), i + kLinesPiece); ++k) {
            if (k > 0) piece += '\n';
            piece += lines[k];
        }
        cursor.insertText(fromCp1252(piece));
        stopped = !keepGoing();
    }
    if (stopped) {
        // The editor counts a line break as one character, as the text below does.
        QString back = fromCp1252(old);
        back.replace("\r\n", "\n");
        back.replace('\r', '\n');
        cursor.setPosition(start, QTextCursor::KeepAnchor);
        cursor.insertText(back.right(removed));
    }
    cursor.endEditBlock();
    return !stopped;
}

}  // namespace

// With nothing selected: the whole text after `question` (none: without asking); false stops.
bool MainWindow::selectionOrAll(EditorView& view, const std::string& question) {
    if (view.selectionLength() > 0) return true;
    if (!question.empty() && m_context.dialogs.ask(question) != Answer::Yes) return false;
    view.setSelection(0, static_cast<int>(view.plainText().size()));
    return true;
}

void MainWindow::rewriteSelection(const std::string& question, const std::function<std::string(const std::string&)>& rewrite) {
    QtEditorView view(*currentEditor());
    if (!selectionOrAll(view, question)) return;
    const int start = view.selectionStart();
    view.replaceSelection(rewrite(view.selectedText()));
    view.setCaret(start);
}

void MainWindow::rewriteSelectedLines(const std::string& question, const std::function<html::Lines(const html::Lines&)>& rewrite) {
    rewriteSelection(question, [&](const std::string& s) { return text::joinLines(rewrite(text::splitLines(s))); });
}

void MainWindow::buildHtmlStructureMenus(QMenu* menu) {
    // These run over the whole text: the unsaved texts are secured first.
    const auto secured = [this](std::function<void()> command) {
        return [this, command = std::move(command)] {
            if (secureUnsavedTexts(*this)) command();
        };
    };
    QMenu* structure = menu->addMenu("Strukturieren ...");
    structure->setObjectName("Strukturieren1");
    addCommand(structure, "HTMLEinruecken1", "HTML Ausgewähltes einrücken je nach Verschachtelung",
               secured([this] { indentHtml(); }));
    addCommand(structure, "CSSKomprimieren1", "CSS komprimieren", secured([this] {
        QtEditorView view(*currentEditor());
        view.setLines(html::compressCss(view.lines()));
    }));
    addCommand(structure, "AlleDateienDoctype1",
               "Alle Dateien mit \"<!DOCTYPE ... HTML 4.01 Transitional .../loose.dtd\">\" versehen", [this] { stampDoctypes(); });
    addCommand(structure, "UeberlangeZeilen1", "überlange Zeilen umbrechen", secured([this] {
        rewriteSelectedLines("Im gesamten Text überlange Zeilen umbrechen?", html::wrapLongLines);
    }));
    addCommand(structure, "TextAusserhalbPre1", "Ausgewählten Text (auserhalb von <pre> einrücken, aber Tags belassen",
               secured([this] { rewriteSelectedLines("Im gesamten Text?", html::indentTextOutsidePre); }));
    addCommand(structure, "TabelleStrukturieren1", "Tabelle an Cursorpostion strukturieren",
               secured([this] { structureAtCaret(false); }));
    addCommand(structure, "ListenStrukturieren1", "Listen an Cursorpostion strukturieren",
               secured([this] { structureAtCaret(true); }));
    addCommand(structure, "LeerstellenA1", "Leerstellen  zwischen <a ...> und  </a> etc. entfernen", secured([this] {
        QtEditorView view(*currentEditor());
        view.setText(html::trimElementContents(view.plainText(), "a"));
    }));
    addCommand(structure, "LeerstellenB1", "Leerstellen  nach <b>, <i>, <sub>, <sup>,  und  <nobr> etc. entfernen",
               secured([this] {
        QtEditorView view(*currentEditor());
        std::string t = view.plainText();
        for (const char* name : {"b", "u", "i", "sub", "sup", "nobr"}) t = html::trimElementContents(t, name);
        view.setText(t);
    }));
    addCommand(structure, "TdDurchTh1", "Im Ausgewählten <td> und </td> durch <th> und </th> ersetzten",
               secured([this] { rewriteSelection("", html::cellsToHeaders); }));
    addCommand(structure, "BrDurchP1", "<br><br> ersetzen durch </p><p>", secured([this] { paragraphsFromBreaks(); }));

    QMenu* check = menu->addMenu("Überprüfen ...");
    check->setObjectName("Ueberpruefen1");
    addCommand(check, "Tidy1", "HTML überprüfen mit Tidy (nach den Regeln des W3C)", secured([this] { checkWithTidy(); }));
    addCommand(check, "TagsZaehlen1", "Tags zählen", [this] { countTags(); }, QKeySequence("Ctrl+Alt+H"));
    addCommand(check, "TagsUndText1", "Zeige Tags und Text getrennt", [this] {
        const auto lines = html::tagTextLines(QtEditorView(*currentEditor()).plainText(), false);
        m_context.dialogs.showText("Tags und Text getrennt", codec::cp1252ToUtf8(text::joinLines(lines)));
    });
    addCommand(check, "EinzelnesTag1", "Einzelnes Tag überprüfen", [this] { checkSingleTag(); }, QKeySequence("Ctrl+Alt+F"));

    buildHtmlSelectionMenu(menu);
    addCommand(menu, "HTMLGeruest1", "Text in HTML-Gerüst einbetten", [this] { embedInSkeleton(); });
    const struct {
        const char* name;
        const char* text;
        html::ColourSet set;
    } colours[] = {{"TagsFarbig1", "Tags farbig", html::ColourSet::Tags},
                   {"TabelleFarbig1", "Tabelle farbig", html::ColourSet::Table},
                   {"ListenFarbig1", "Listen farbig", html::ColourSet::Lists},
                   {"LinksFarbig1", "Links farbig", html::ColourSet::Links},
                   {"BUPreFarbig1", "<b> <u> <pre> <p> farbig", html::ColourSet::Formatting}};
    for (const auto& c : colours) {
        addCommand(menu, c.name, c.text, [this, set = c.set] { colourTags(html::colourRules(set)); });
    }
    addCommand(menu, "LeerzeilenEntfernenHtml1", "Leerzeilen entfernen   (\"Strg\"+\"-\")", [this] {
        QtEditorView view(*currentEditor());
        view.setLines(linetools::withoutBlankLines(view.lines()));
    });
}

void MainWindow::buildHtmlSelectionMenu(QMenu* menu) {
    QMenu* fit = menu->addMenu("Ausgewähltes passend für HTML machen ...");
    fit->setObjectName("AusgewaehltesPassend1");
    addCommand(fit, "ZwischenP1", "Ausgewähltes zwischen <p class=\"\"> und </p> setzten", [this] {
        rewriteSelection("", [](const std::string& s) { return html::wrapInClassElement(text::splitLines(s), "p"); });
    }, QKeySequence("Ctrl+P"));
    addCommand(fit, "ZwischenDiv1", "Ausgewähltes zwischen <div class=\"\"> und </div> setzten", [this] {
        rewriteSelection("", [](const std::string& s) { return html::wrapInClassElement(text::splitLines(s), "div"); });
    }, QKeySequence("Ctrl+D"));
    addCommand(fit, "PEntfernen1", "\"<p \"und \"</p>\" entfernen", [this] { rewriteSelection("", html::blankParagraphTags); });
    addCommand(fit, "KommentarEntfernen1", "\"<!..\" entfernen", [this] { rewriteSelection("", html::blankDeclarations); });
    addCommand(fit, "DoppelteLeerzeichen1", "doppelte Leerzeichen entfernen (ausser nach <pre>",
               [this] { rewriteSelectedLines("", html::singleBlanksOutsidePre); });
    addCommand(fit, "AlleLeerzeichen1", "Im Ausgewählten alle Leerzeichen entfernen", [this] {
        long long column = 1;
        if (!m_context.dialogs.askNumber("Ab welchem Zeichen", "Bitte eine Zahl eingeben", column)) return;
        rewriteSelectedLines("", [column](const html::Lines& l) { return html::removeBlanksFrom(l, static_cast<int>(column)); });
    });
    addCommand(fit, "MetatagDescription1", "Metatag Description zufügen", [this] { addDescription(); });
    addCommand(fit, "WochentageFett1", "\"Sonntag\", \"Montag\" etc. fett. ",
               [this] { rewriteSelectedLines("Den ganzen Text?", html::boldWeekdays); });
    addCommand(fit, "ZwischenablageBr1", "Zwischenablage einfügen, dabei Zeileumbruch wird zu \"<br>  \"",
               [this] { pasteWithBreaks(); });
    addCommand(fit, "KelpwikiHtml1", "Ausgewähltes Kelpwiki->HTML", [this] { wikiToHtml(); });
    addCommand(fit, "Mp3Einbinden1", "Mp3-Datei einbinden", [this] { playerToClipboard(false); });
    addCommand(fit, "FlvEinbinden1", "FLV-Datei einbinden", [this] { playerToClipboard(true); });
    addCommand(fit, "TextNachTd1", "Text nach \"<td\" und \"<tr\" entfernen",
               [this] { rewriteSelection("", html::blankRowAndCellAttributes); });
    addLinePrefixItems(*this, fit);
}

void MainWindow::indentHtml() {
    PlainEditor* editor = currentEditor();
    QtEditorView view(*editor);
    const int caret = view.caret();
    if (!selectionOrAll(view, "Alles umstrukturieren?")) return;
    const std::string selection = view.selectedText();
    const int revision = editor->document()->revision();
    const int start = view.selectionStart();
    const int length = view.selectionLength();
    const auto keepGoing = [this] { return !m_context.dialogs.stepCancelWindow(kIndenting); };
    bool done = false;
    bool stopped = false;
    {
        EditorPause pause(editor);
        m_context.dialogs.beginCancelWindow(kIndenting);
        const auto lines = html::indentByNesting(
            selection, [this](const std::string& message) { m_context.dialogs.inform(codec::cp1252ToUtf8(message)); },
            keepGoing);
        // Another command may have run while the windows stayed responsive.
        const bool unchanged = pause.alive() && editor->document()->revision() == revision &&
                               view.selectionStart() == start && view.selectionLength() == length;
        if (lines && !unchanged && pause.alive()) showStatus(kChangedMeanwhile);
        done = lines && unchanged && replaceInPieces(*editor, start, length, *lines, selection, keepGoing);
        stopped = unchanged && !done;
        m_context.dialogs.endCancelWindow();
    }
    // Stopped, the text is as it was, and so is the caret.
    if (stopped || done) view.setCaret(caret);
    if (!done) return;
    m_context.tones.completionTone();
}

void MainWindow::structureAtCaret(bool list) {
    QtEditorView view(*currentEditor());
    const int caret = view.caret();
    const std::string text = view.plainText();
    const html::Structured result = list ? html::structureListAt(text, caret) : html::structureTableAt(text, caret);
    if (!result.message.empty()) {
        m_context.dialogs.inform(result.message);
        return;
    }
    view.setText(result.text);
    view.setCaret(caret);
}

void MainWindow::paragraphsFromBreaks() {
    QtEditorView view(*currentEditor());
    const auto lines = view.lines();
    const auto converted = html::paragraphsFromBreaks(lines);
    if (converted != lines) view.setLines(converted);
    QApplication::clipboard()->setText(q(html::kParagraphStyle));
    m_context.dialogs.inform(html::kParagraphMessage);
}

void MainWindow::checkWithTidy() {
    PlainEditor* editor = currentEditor();
    const std::string page = text::joinLines(QtEditorView(*editor).lines());
    const int revision = editor->document()->revision();
    platform::TidyJob job(page, platform::TidyStyle::Document);
    if (!job.finished(std::chrono::milliseconds(0))) {
        // Tidy cannot be interrupted: a cancelled job is left to finish alone and its result dropped.
        EditorPause pause(editor);
        m_context.dialogs.beginCancelWindow(kTidyRunning);
        bool cancelled = false;
        while (!cancelled && !job.finished(std::chrono::milliseconds(40))) {
            cancelled = m_context.dialogs.stepCancelWindow(kTidyRunning);
        }
        m_context.dialogs.endCancelWindow();
        if (cancelled || !pause.alive()) return;
    }
    const platform::TidyResult result = job.result();
    if (result.refused) {
        m_context.dialogs.inform(result.errors);
        return;
    }
    QtEditorView view(*editor);
    if (result.ok) {
        if (editor->document()->revision() != revision) {
            showStatus(kChangedMeanwhile);
            return;
        }
        view.setText(result.output);
    } else {
        m_context.dialogs.inform("Konnte Tidy-Datei nicht einlesen.\rIm Dos-Fenster ist erkenntlich, warum?");
    }
    const std::string errors = codec::isValidUtf8(result.errors) ? result.errors : codec::cp1252ToUtf8(result.errors);
    m_context.dialogs.showText("Fehlermeldungen von TINY", errors.empty() ? "Keine Fehler gefunden." : errors);
}

void MainWindow::countTags() {
    m_context.dialogs.beginCancelWindow("Tags zählen");
    const html::TagCount count = html::countTags(QtEditorView(*currentEditor()).plainText(), [this] {
        return !m_context.dialogs.stepCancelWindow("Tags zählen");
    });
    m_context.dialogs.endCancelWindow();
    if (!count.suggestion.empty()) m_singleTag = count.suggestion;
    m_context.dialogs.showText("Zählergebnis", codec::cp1252ToUtf8(count.report));
}

void MainWindow::checkSingleTag() {
    const auto asked = m_context.dialogs.askText("Tag eingeben", "Welches Tag? (z.B. \"<a>\"", "<" + m_singleTag + ">");
    if (!asked) return;
    std::string tag = codec::utf8ToCp1252(*asked);
    if (text::startsWith(tag, "<")) tag.erase(0, 1);
    if (text::endsWith(tag, ">")) tag.pop_back();
    if (tag.empty()) return;
    QtEditorView view(*currentEditor());
    colourTags({{"<" + tag, 255}, {"</" + tag, 255}});
    const std::string report = html::checkSingleTag(view.plainText(), tag);
    m_context.dialogs.showText("Alle Zeilen mit <" + codec::cp1252ToUtf8(tag) + ">", codec::cp1252ToUtf8(report));
}

void MainWindow::colourTags(const std::vector<html::ColourRule>& rules) {
    PlainEditor* editor = currentEditor();
    QtEditorView view(*editor);
    editor->setEnabled(false);
    html::colourOccurrences(view, m_context.dialogs, rules);
    editor->setEnabled(true);
    editor->setFocus();
}

void MainWindow::embedInSkeleton() {
    QtEditorView view(*currentEditor());
    const std::string text = view.plainText();
    if (text::toLowerCp1252(text).find("<html") != std::string::npos &&
        m_context.dialogs.ask("Ist schon HTML-Datei! Trotzdem ausführen? (Dann 2. Dateikopf löschen!)") != Answer::Yes) {
        return;
    }
    view.setText(html::embedInSkeleton(text, m_skeletonDate));
    const std::string name = currentFileName();
    if (name != "?" && !name.empty()) {
        setCurrentFileName(html::embeddedFileName(name));
        refreshCaption();
    }
}

void MainWindow::stampDoctypes() {
    const auto folder = m_context.dialogs.chooseFolder("HTML-Kopf ergänzen", pathnames::folderOf(currentFileName()));
    if (!folder) return;
    html::stampFolderTree(*folder, m_context.paths.binFolder(), today(), m_context.dialogs);
    explorers().first().show();
    explorers().first().showFiles(*folder);
}

void MainWindow::addDescription() {
    QtEditorView view(*currentEditor());
    const std::string text = view.plainText();
    const html::Structured check = html::addDescription(text, "");
    if (!check.message.empty()) {
        m_context.dialogs.inform(check.message);
        return;
    }
    const auto description = m_context.dialogs.askText("Beschreibung", "Beschreibung", "");
    if (!description) return;
    view.setText(html::addDescription(text, codec::utf8ToCp1252(*description)).text);
}

void MainWindow::pasteWithBreaks() {
    if (m_context.dialogs.ask("Es wird angenommen, dass sich in der Zwischendatei ein koperter Text eines Doc-Dokumentes "
                              "oder \rÄhnliches befindet. Alle Formatierungen, wie Schräg- oder Großschrift werden "
                              "entfernt. \rDie Zeilenumbrücher werden jedoch durch \"<br> &nbsp; &nbsp; \" ersetzt und "
                              "der Text auf 80 Zeichen pro Seite \rumgebrochen.\r\rSiehe auch Kelpwiki!\r!!!... "
                              "Überschriften <h1> ... <h6>, bei ^^^... mit \"align=\"center\"\râFettdruck(â) "
                              "êrot(ê)\r\rWeiter?") != Answer::Yes) {
        return;
    }
    QtEditorView view(*currentEditor());
    view.replaceSelection(html::clipboardWithBreaks(toCp1252Referenced(QApplication::clipboard()->text())));
}

void MainWindow::wikiToHtml() {
    if (m_context.dialogs.ask(
            "î -> Zeilenumbruch + zwei Leerstellen\rbeliebig viele Leerzeilen -> (ein) \"<br><br>\"\r! -> <h1>, "
            "!!<h2>, !!!<h3> ... !!!!!! -> <h6> (! am Anfang einer Zeile)\r^ -> <h1 align=\"center\">, ^^ <h2 "
            "align=\"center\"> ... (^ am Anfang einer Zeile)\rû -> <div  style=\"<div style=\"text-align:right;\"> (û "
            "am anfang einer Zeile)\râwort -> Fettdruck (âbei mehreren Worten auch am Endeâ)\rêwort -> rot <span  "
            "style=\"color:#FF0000;\">...</span> (êbei mehreren Worten auch am Endeê)\r\rFür Listen und Tabellen gibt "
            "es extra Menüpunkte\r\rWirklich?") != Answer::Yes) {
        return;
    }
    QtEditorView view(*currentEditor());
    const bool whole = view.selectionLength() == 0;
    if (!selectionOrAll(view, "Den ganzen Text?")) return;
    view.replaceSelection(text::joinLines(html::wikiToHtml(text::splitLines(view.selectedText()))));
    if (whole && text::toLowerCp1252(view.plainText()).find("<html") == std::string::npos) embedInSkeleton();
}

void MainWindow::playerToClipboard(bool video) {
    const std::string object = html::playerObject(video);
    QApplication::clipboard()->setText(q(object));
    m_context.dialogs.inform("In der Zwischenablage ist folgender Text:\r" + object);
}

}  // namespace pictra::ui
