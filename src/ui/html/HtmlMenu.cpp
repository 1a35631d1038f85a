// The "HTML" menu and the "ASCII ..." repairs of the main window.
#include <QMenu>
#include <QMenuBar>

#include "html/HtmlCommands.h"
#include "html/SpecialCharacterDialog.h"
#include "html/TableConversionMenu.h"
#include "html/TextBrowserMenus.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "shell/QtEditorView.h"
#include "common/Text.h"
#include "common/UiText.h"

namespace pictra::ui {

void MainWindow::buildHtmlMenu() {
    QMenu* menu = menuBar()->addMenu("&HTML");
    menu->setObjectName("HTML1");
    auto withView = [this](auto command) {
        return [this, command] {
            QtEditorView view(*currentEditor());
            command(view);
        };
    };
    QAction* readable = addCommand(menu, "Umlautelesbar1", "Umlaute lesbar", withView([this](EditorView& v) {
        html::decodeDocument(v, m_entities, m_context.tones);
    }));
    readable->setStatusTip("ä ö ü lesbar. Zeichen werden beim Abspeichern automatisch wieder HTML-konform dargestellt");
    QAction* conform = addCommand(menu, "UmlauteHTMLkonform1", "Umlaute HTML-konform", withView([this](EditorView& v) {
        html::encodeDocument(v, m_entities, m_context.tones);
    }));
    conform->setStatusTip("Auch viele weiteren Sonderzeichen");
    m_mathAction = addCommand(menu, "UmlauteHTMLkonformMath1", "Umlaute HTML-konform (mathematischer Text)",
                              [this] { toggleMathMode(); });
    m_mathAction->setCheckable(true);
    QAction* special = addCommand(menu, "MSonderzeichen", "Sonderzeichen ...", [this] { insertSpecialCharacter(); },
                                  QKeySequence("Ctrl+H"));
    special->setStatusTip("<br>, &nbsp; etc...");
    buildHtmlStructureMenus(menu);
    addCommand(menu, "Tabelleschreiben1", "Tabelle schreiben", [this] { writeTableFromSelection(); });
    addTableConversionMenu(*this, menu);
    addCommand(menu, "ImAusgewaehltenKleinerGroesser1", "Im Ausgewählten < und > durch « und » ersetzten",
               withView([this](EditorView& v) { html::anglesToGuillemets(v, m_context.dialogs); }));
    addCommand(menu, "ImAusgewaehltenGuillemets1", "Im Ausgewählten « und  » durch < und > ersetzten",
               withView([this](EditorView& v) { html::guillemetsToAngles(v, m_context.dialogs); }));
    addHtmlInsertCommands(*this, menu);
}

void MainWindow::buildAsciiMenu(QMenu* extras) {
    QMenu* ascii = extras->addMenu("ASCII ...");
    ascii->setObjectName("ASCII1");
    QAction* dos = addCommand(ascii, "AsciiUmlauteUmwandeln1", "Ascii-Umlaute umwandeln", [this] {
        QtEditorView view(*currentEditor());
        html::repairDosUmlauts(view, m_context.tones);
    });
    dos->setStatusTip("Alte DOS-Datein einlesen.");
    addCommand(ascii, "AtildeNachAnsi1", "Atilde... nach Ansi", [this] {
        QtEditorView view(*currentEditor());
        html::repairAtilde(view, m_context.tones);
    });
    addCommand(ascii, "AsciiFuerZeile1", "Ascii für Zeile angeben", [this] { files().showCharacterCodes(); });
    addCommand(ascii, "TextvorschauNichtAscii1", "Textvorschau (für nicht ASCII-Datei)",
               [this] { textPreviewOfChosenFile(); });
    addCommand(ascii, "UTF8NachAnsi1", "UTF8 nach Ansi", [this] {
        QtEditorView view(*currentEditor());
        html::repairQuotedPrintable(view, m_context.dialogs, m_context.tones, [this](const std::string& text) {
            showNoticeBriefly(q(text));
        });
    });
}

void MainWindow::setMathMode(bool on) {
    const QSignalBlocker block(m_mathAction);
    m_mathAction->setChecked(on);
    QtEditorView view(*currentEditor());
    html::setMathMode(on, view, m_entities, m_context.dialogs);
}

void MainWindow::toggleMathMode() { setMathMode(m_mathAction->isChecked()); }

void MainWindow::insertSpecialCharacter() {
    if (!m_specialDialog) m_specialDialog = new SpecialCharacterDialog(m_context.tones, this);
    QtEditorView view(*currentEditor());
    const std::string selection = view.selectedText();
    const int start = view.selectionStart();
    const special::Result result = m_specialDialog->choose(selection);
    if (result.outcome != special::Outcome::Insert && result.outcome != special::Outcome::Quote) return;
    if (text::startsWith(result.text, "<div font>")) {
        view.setSelection(start, static_cast<int>(selection.size()) - static_cast<int>(std::count(selection.begin(), selection.end(), '\r')));
        styleSelectionOrWord();
        return;
    }
    view.replaceSelection(result.text);
    const int caret = special::caretAfterInsert(result.text, start, !selection.empty());
    if (caret >= 0) view.setCaret(caret);
    view.focus();
}

}  // namespace pictra::ui
