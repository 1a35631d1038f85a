// The line tools of the "Extras" menu, the Ctrl+A tools, the font and style
// dialog and the editor's own keys.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "shell/QtEditorView.h"
#include "SelectionToolWindow.h"
#include "calc/CalculatorPanel.h"
#include "common/Codec.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "html/preview/FullPreview.h"
#include "html/StyleDialog.h"
#include "html/TableConversionMenu.h"
#include "shell/editing/LineTools.h"
#include "shell/editing/LineWrap.h"
#include "shell/editing/SelectionTools.h"
#include "tables/TableSheetWindow.h"

namespace pictra::ui {

namespace {

// The desktop services the Ctrl+A tools hand their text to.
class DesktopServices : public selectiontools::Services {
public:
    DesktopServices(QWidget* parent, Dialogs& dialogs) : m_parent(parent), m_dialogs(dialogs) {}
    std::string clipboardText() override { return toCp1252Referenced(QApplication::clipboard()->text()); }
    void setClipboardText(const std::string& text) override { QApplication::clipboard()->setText(fromCp1252(text)); }
    void print(const std::string& text) override {
        QPrinter printer;
        QPrintDialog dialog(&printer, m_parent);
        if (dialog.exec() != QDialog::Accepted) return;
        QTextDocument document(fromCp1252(text));
        document.setDefaultFont(QFont("Courier New", 10));
        document.print(&printer);
    }
    void spellCheck(const std::string& text) override {
        const QString checker = QStandardPaths::findExecutable("hunspell");
        if (checker.isEmpty()) {
            m_dialogs.inform("Keine Rechtschreibprüfung installiert (hunspell mit deutschem Wörterbuch).");
            return;
        }
        QProcess process;
        process.start(checker, {"-d", "de_DE", "-l"});
        if (!process.waitForStarted(5000)) {
            m_dialogs.inform("Die Rechtschreibprüfung lässt sich nicht starten.");
            return;
        }
        process.write(QString(fromCp1252(text)).toUtf8());
        process.closeWriteChannel();
        process.waitForFinished(30000);
        const QString unknown = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
        if (process.exitCode() != 0) {
            m_dialogs.inform("Für die Rechtschreibprüfung fehlt das deutsche Wörterbuch (hunspell-de-de).");
        } else if (unknown.isEmpty()) {
            m_dialogs.inform("Keine unbekannten Wörter gefunden.");
        } else {
            m_dialogs.showText("Unbekannte Wörter", u(unknown));
        }
    }
    // Ctrl+A "t" and "h" are the quick way: no confirmation.
    void tableConversion(bool toHtml) override {
        if (auto* window = qobject_cast<MainWindow*>(m_parent)) convertSelectedTable(*window, toHtml, false);
    }

private:
    QWidget* m_parent;
    Dialogs& m_dialogs;
};

bool modifierOnly(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
           key == Qt::Key_AltGr || key == Qt::Key_CapsLock || key == Qt::Key_NumLock;
}

}  // namespace

void MainWindow::buildLineToolCommands(QMenu* extras) {
    m_cursorInText = addCommand(extras, "CursorNichtUeberEnde1", "Cursor nicht über Ende der Zeile bewegen",
                                [this] { toggleVirtualSpace(); });
    m_cursorInText->setCheckable(true);
    addCommand(extras, "DateiAlphabetisch1", "Datei alphabetisch ordnen", [this] { sortDocument(false); });
    addCommand(extras, "DateiNumerisch1", "Datei numerisch Ordnen", [this] { sortDocument(true); });
    addCommand(extras, "ZeilenUmbrechen1", "Zeilen umbrechen", [this] { wrapLines(); });
    addCommand(extras, "LeerzeilenEntfernen1", "Leerzeilen entfernen   (\"Strg\"+\"-\")", [this] {
        QtEditorView view(*currentEditor());
        view.setLines(linetools::withoutBlankLines(view.lines()));
    }, QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Slash)));
}

void MainWindow::toggleVirtualSpace() {
    const QSignalBlocker block(m_cursorInText);
    if (m_virtualSpace &&
        m_context.dialogs.ask("Soll sich der Cursor nur noch im Text bewegen können?\rVorteil:   Bei \"Ende\"-Taste "
                              "springt er stets an das Ende der Zeile.\r               Rückwärtslöschen über die Zeilen "
                              "geht schneller.\rNachteil: Bei \"Curor-Auf/Ab\" - Taste springt der Cursor möglichweise "
                              "nach links ans Ende der Zeile.\r               Das Schreiben von Brüchen wird dadurch "
                              "erschwert.\rBei jedem Aufruf wird der Modus umgeschaltet.") != Answer::Yes) {
        m_cursorInText->setChecked(!m_virtualSpace);
        return;
    }
    m_virtualSpace = !m_virtualSpace;
    QtEditorView view(*currentEditor());
    const LineColumn at = lineColumnOf(view.lines(), view.caret());
    const std::vector<std::string> lines = linetools::trimmedLines(view.lines());
    view.setLines(lines);
    view.setCaret(offsetOf(lines, at.line, at.column));
    m_cursorInText->setChecked(!m_virtualSpace);
}

void MainWindow::sortDocument(bool numeric) {
    if (m_context.dialogs.ask("Soll ihre Datei wirklich geordnet werden?") != Answer::Yes) return;
    PlainEditor* editor = currentEditor();
    QtEditorView view(*editor);
    m_context.dialogs.beginCancelWindow("Bitte etwas Geduld");
    m_context.dialogs.stepCancelWindow("Bitte etwas Geduld");
    const std::string sorted = linetools::sortedText(view.plainText(), numeric, "\n");
    editor->hide();
    view.setText(sorted);
    editor->show();
    m_context.dialogs.endCancelWindow();
    editor->setFocus();
}

void MainWindow::wrapLines() {
    long long width = 80;
    if (!m_context.dialogs.askNumber("Zeilen umbrechen", "Wie lang soll eine Zeile maximal werden?", width)) return;
    if (width < 1) return;
    QtEditorView view(*currentEditor());
    const int w = static_cast<int>(std::min(width, 100000LL));
    if (view.selectionLength() == 0) {
        showNoticeBriefly("|Beim gesamten Text werden zu lange Zeilen umgebrochen (ohne Zeilenausgleich)|");
        view.setLines(linewrap::wrapEach(view.lines(), w));
    } else {
        showNoticeBriefly("|Der ausgewählte Text wird mit Zeilenausgleich umgebrochen|");
        view.replaceSelection(linewrap::wrapParagraphs(view.selectedText(), w));
    }
}

void MainWindow::runSelectionTool() {
    if (!m_selectionTools) m_selectionTools = new SelectionToolWindow(this);
    const char key = m_selectionTools->chooseKey();
    if (key == 0) return;
    showNoticeBriefly(QString("|%1|").arg(QChar(key)));
    QtEditorView view(*currentEditor());
    DesktopServices services(this, m_context.dialogs);
    if (!selectiontools::runTool(key, view, m_context.dialogs, m_context.store, services)) {
        m_context.tones.errorTone();
        return;
    }
    m_context.tones.tone(880);
}

StyleDialog* MainWindow::styleDialog() {
    if (!m_styleDialog) m_styleDialog = new StyleDialog(this);
    return m_styleDialog;
}

// Ctrl+"<": the selection, or the word around the caret, wrapped in a styled element.
void MainWindow::styleSelectionOrWord() {
    QtEditorView view(*currentEditor());
    if (view.selectionLength() == 0) {
        const std::vector<std::string> lines = view.lines();
        const int caret = view.caret();
        const LineColumn at = lineColumnOf(lines, caret);
        const std::string line = lines.empty() ? std::string() : lines[static_cast<size_t>(at.line)];
        int from = at.column;
        int to = at.column;
        const auto wordChar = [&](int i) { return i >= 0 && i < static_cast<int>(line.size()) && line[static_cast<size_t>(i)] != ' '; };
        while (from > 0 && at.column - from < 50 && wordChar(from - 1)) --from;
        while (to - at.column < 50 && wordChar(to)) ++to;
        view.setSelection(caret - (at.column - from), to - from);
    }
    const StyleDialog::Result result = styleDialog()->chooseStyle(codec::cp1252ToUtf8(view.selectedText()));
    if (result.outcome == StyleDialog::Outcome::Cancelled) return;
    if (result.outcome == StyleDialog::Outcome::Insert) {
        view.replaceSelection(view.selectedText() + codec::utf8ToCp1252(result.text));
        return;
    }
    view.replaceSelection(codec::utf8ToCp1252(result.text));
}

// Keys of the document editors before the editor handles them; true consumes the key.
bool MainWindow::editorKey(PlainEditor* editor, QKeyEvent* key) {
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    if (ctrl && (key->key() == Qt::Key_Less || key->key() == Qt::Key_Greater)) {
        styleSelectionOrWord();
        return true;
    }
    if (ctrl && key->key() == Qt::Key_Minus && !(key->modifiers() & Qt::KeypadModifier)) {
        QtEditorView view(*editor);
        view.setLines(linetools::withoutEmptyLines(view.lines()));
        return true;
    }
    if (key->key() == Qt::Key_Escape) {
        escapeFromEditor(editor);
        return false;
    }
    if (key->key() == Qt::Key_F3 && key->modifiers() == Qt::NoModifier) {
        searchNext();
        return true;
    }
    // Undo and redo must reach the editor's history untouched: a spare line added first
    // would be the step that Ctrl+Z takes back, and the step before it could never be reached.
    if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) return false;
    if (!modifierOnly(key->key())) keepSpareAndVirtualSpace(editor, key->key());
    return false;
}

// Esc: an HTML page goes to the browser view, a table to the table sheet.
void MainWindow::escapeFromEditor(PlainEditor* editor) {
    const QTextDocument* document = editor->document();
    if (document->blockCount() <= 1) return;
    const QString firstTwo = document->firstBlock().text() + "\n" + document->firstBlock().next().text();
    if (preview::escapeShowsPage(toCp1252(firstTwo))) {
        fullPreview(true);
        return;
    }
    const QString first = document->firstBlock().text();
    if (first.startsWith('*') || first.startsWith("[!Xtt]")) tableSheet()->openOnDocument();
}

// The spare line below the last line, and virtual space for Up, Down and Right.
void MainWindow::keepSpareAndVirtualSpace(PlainEditor* editor, int key) {
    QTextCursor cursor = editor->textCursor();
    const int column = cursor.positionInBlock();
    const QTextBlock block = cursor.block();
    const bool arrow = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Right;
    const bool lastLine = !block.next().isValid();
    if (!lastLine && !(m_virtualSpace && arrow)) return;
    // Only the lines around the caret are looked at, so a key costs the same in any text.
    std::vector<std::string> around;
    const QTextBlock above = block.previous();
    if (above.isValid()) around.push_back(toCp1252Referenced(above.text()));
    const int caretLine = static_cast<int>(around.size());
    around.push_back(toCp1252Referenced(block.text()));
    if (block.next().isValid()) around.push_back(toCp1252Referenced(block.next().text()));
    const size_t before = around.size();
    bool changed = linetools::addSpareLine(around, caretLine, column);
    if (m_virtualSpace && arrow) changed = linetools::lengthenAroundCaret(around, caretLine, column) || changed;
    if (!changed) return;
    QTextCursor edit(editor->document());
    edit.beginEditBlock();
    QTextBlock b = above.isValid() ? above : block;
    for (size_t i = 0; i < before && b.isValid(); ++i, b = b.next()) {
        const QString text = fromCp1252(around[i]);
        if (b.text() == text) continue;
        edit.setPosition(b.position());
        edit.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        edit.insertText(text);
    }
    for (size_t i = before; i < around.size(); ++i) {
        edit.movePosition(QTextCursor::End);
        edit.insertText("\n" + fromCp1252(around[i]));
    }
    edit.endEditBlock();
    cursor = editor->textCursor();
    cursor.setPosition(editor->document()->findBlockByNumber(block.blockNumber()).position() + column);
    editor->setTextCursor(cursor);
}

}  // namespace pictra::ui
