// The "Bearbeiten" menu: search and replace, the line buffer, rectangles and the
// paint-removing commands.
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>

#include "html/TableConversionMenu.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "shell/QtEditorView.h"
#include "SearchBar.h"
#include "SearchResults.h"
#include <QComboBox>
#include "shell/StatusBars.h"
#include "shell/DocumentArea.h"
#include "common/Codec.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "html/HtmlCommands.h"
#include "html/StyleChoice.h"
#include "shell/editing/LineTools.h"

namespace pictra::ui {

void MainWindow::buildSearchBar(QWidget* parent) {
    SearchBarWidget::Hooks hooks;
    hooks.notice = [this](const std::string& text) { showNotice(q(text)); };
    hooks.statusBar = [this] { m_status->hideNotice(); };
    hooks.beep = [this] { m_context.tones.errorTone(); };
    hooks.focusEditor = [this] {
        QTextCursor c = currentEditor()->textCursor();
        c.clearSelection();
        currentEditor()->setTextCursor(c);
        currentEditor()->setFocus();
    };
    hooks.resetFont = [this] { QtEditorView(*currentEditor()).clearPaint(); };
    m_searchBar = new SearchBarWidget(std::move(hooks), parent);
    const auto run = [this](void (search::SearchSession::*command)(EditorView&, search::SearchBar&)) {
        return [this, command] {
            QtEditorView view(*currentEditor());
            (m_search.*command)(view, *m_searchBar);
        };
    };
    connect(m_searchBar, &SearchBarWidget::first, this, run(&search::SearchSession::first));
    connect(m_searchBar, &SearchBarWidget::next, this, run(&search::SearchSession::next));
    connect(m_searchBar, &SearchBarWidget::previous, this, run(&search::SearchSession::previous));
    connect(m_searchBar, &SearchBarWidget::last, this, run(&search::SearchSession::last));
    connect(m_searchBar, &SearchBarWidget::replaceNext, this, [this] {
        QtEditorView view(*currentEditor());
        m_search.replace(view, *m_searchBar, m_context.dialogs);
    });
    m_search.setHistory(text::splitLines(codec::utf8ToCp1252(m_context.store.readList("Hauptmenu", "Suchen"))));
    m_searchBar->setHistory(m_search.history());
}

void MainWindow::storeSearchHistory() {
    m_context.store.writeList("Hauptmenu", "Suchen",
                              codec::cp1252ToUtf8(text::joinLines(m_search.storedHistory())));
}

void MainWindow::buildEditMenu() {
    QMenu* edit = menuBar()->addMenu("&Bearbeiten");
    edit->setObjectName("Bearbeiten1");
    addCommand(edit, "Suchen1", "Suchen", [this] { openSearch(false); }, QKeySequence("Ctrl+F"));
    addCommand(edit, "Ersetzten1", "Ersetzten", [this] { openSearch(true); });
    addCommand(edit, "AlleDateienDurchsuchen1", "Alle geöffneten Dateien durchsuchen", [this] { searchAllDocuments(); });
    addCommand(edit, "Klartext1", "Klartext (Plaintext)", [this] { removePaint(false); });
    addCommand(edit, "KlartextTabs1", "Klartext (Tabs zu Tabelle)", [this] { removePaint(true); });
    addCommand(edit, "FarbigeSuchergebnisseLoeschen1", "farbige Suchergebnisse löschen", [this] { removePaint(false); });
    addCommand(edit, "PlainTextNichtAscii1", "Plain Text (Nicht ASCII-Zeichen entfernen) ",
               [this] { removePaint(false); });
    edit->addSeparator();
    addCommand(edit, "ZeileLoeschen1", "Zeile löschen (in Zeilenpuffer)", [this] {
        QtEditorView view(*currentEditor());
        m_lineBuffer.cutLine(view);
    }, QKeySequence("Ctrl+Y"));
    addCommand(edit, "ZeileBeibehalten1", "Zeile beibehalten und in Zeilenpuffer", [this] {
        QtEditorView view(*currentEditor());
        m_lineBuffer.keepLine(view);
    }, QKeySequence("Alt+Shift+Y"));
    addCommand(edit, "ZeileZufuegen1", "Zeile aus Zeilenpuffer zufügen", [this] {
        QtEditorView view(*currentEditor());
        if (!m_lineBuffer.insertLine(view)) showStatus(linetools::kMsgBufferEmpty);
    }, QKeySequence("Ctrl+Alt+Y"));
    addCommand(edit, "ZeilenpufferLoeschen1", "Zeilenpuffer löschen", [this] { m_lineBuffer.clear(); },
               QKeySequence("Ctrl+Shift+Y"));
    addCommand(edit, "BearbeiteZeilenpuffer1", "Bearbeite Zeilenpuffer...", [this] {
        const std::string edited = m_context.dialogs.editText("Zeilenpuffer", codec::cp1252ToUtf8(m_lineBuffer.text()));
        if (edited != kCancelMarker) m_lineBuffer.setText(codec::utf8ToCp1252(edited));
    });
    edit->addSeparator();
    addCommand(edit, "RechteckAusschneiden1", "Rechteck auschneiden", [this] { takeRectangle(true); });
    addCommand(edit, "RechteckKopieren1", "Rechteck kopieren", [this] { takeRectangle(false); });
    addCommand(edit, "RechteckEinfuegen1", "Rechteck einfügen", [this] { pasteRectangle(); });
    addCommand(edit, "BeispielDazu1", "Beispiel dazu", [this] {
        newDocumentUnlessEmpty();
        QtEditorView(*currentEditor()).setLines(linetools::rectangleExample());
    });
    edit->addSeparator();
    addCommand(edit, "ZwischenablageAusgewaehltes1", "Zwischenablage, Ausgewähltes ...", [this] { runSelectionTool(); },
               QKeySequence("Ctrl+A"));
    addCommand(edit, "SchriftErsetzt1", "Schrift ... \"Strg+<\" ersetzt: \"Strg+H+F\"",
               [this] { m_context.dialogs.inform(html::kShortcutHint); });
    addExportImportMenu(*this, edit);
}

void MainWindow::openSearch(bool replacePanel) {
    if (!replacePanel) {
        QtEditorView view(*currentEditor());
        html::decodeDocument(view, m_entities, m_context.tones);
    }
    m_searchBar->showBar(replacePanel);
}

void MainWindow::searchNext() {
    QtEditorView view(*currentEditor());
    m_search.next(view, *m_searchBar);
}

void MainWindow::removePaint(bool tabsToTable) {
    PlainEditor* editor = currentEditor();
    QtEditorView view(*editor);
    const std::vector<std::string> all = view.lines();
    const LineColumn caret = lineColumnOf(all, view.caret());
    const bool selection = view.selectionLength() > 0;
    const std::vector<std::string> source = selection ? text::splitLines(view.selectedText()) : all;
    std::vector<std::string> converted;
    if (tabsToTable) {
        converted = search::tabsToTable(source, [this] { m_context.tones.tone(880); });
    } else {
        if (m_search.tabWidth == 0) {
            long long width = 25;
            if (!m_context.dialogs.askNumber("Einmalabfrage: Statt Tabs Leerstellen", "Tabulator an welcher Stelle",
                                             width)) {
                width = 0;
            }
            m_search.tabWidth = width > 0 ? static_cast<int>(std::min(width, 1000LL)) : -1;
        }
        converted = search::plainLines(source, m_search.tabWidth);
    }
    editor->hide();
    if (selection) {
        view.replaceSelection(text::joinLines(converted));
    } else {
        view.setLines(converted);
    }
    // The settings font over the whole text drops every colour, size and style.
    editor->setFont(editorFont());
    editor->document()->setDefaultFont(editorFont());
    view.clearPaint();
    view.setCaret(offsetOf(view.lines(), caret.line, caret.column));
    editor->show();
    editor->setFocus();
    refreshCaption();
}

void MainWindow::searchAllDocuments() {
    const auto term = m_context.dialogs.askText("Suchen", "Geben Sie das Suchwort ein!", "");
    if (!term || term->empty()) return;
    runSearchAll(q(*term));
}

SearchResults* MainWindow::searchResults() {
    if (!m_searchResults) {
        SearchResults::Hooks hooks;
        hooks.searchAll = [this](const QString& term) {
            if (!term.isEmpty()) runSearchAll(term);
        };
        hooks.searchOne = [this](const QString& term) { searchCurrentFromResults(term); };
        m_searchResults = new SearchResults(std::move(hooks), this);
    }
    return m_searchResults;
}

void MainWindow::runSearchAll(const QString& term) {
    m_searchBar->setTerm(term);
    SearchResults* results = searchResults();
    results->setTerm(term);
    results->clearResults();
    results->show();
    std::vector<std::vector<std::string>> documents;
    for (int i = 0; i < m_documents->count(); ++i) documents.push_back(QtEditorView(*m_documents->slot(i).editor).lines());
    const auto lines = search::searchDocuments(documents, toCp1252Referenced(term), [this](int count) {
        showStatus(QString("%1 Fundstellen").arg(count));
    });
    for (const auto& line : lines) results->addResult(fromCp1252(line));
}

void MainWindow::searchCurrentFromResults(QString term) {
    if (term.isEmpty()) {
        const auto asked = m_context.dialogs.askText("Suchen", "Geben Sie das Suchwort ein! (Weitersuchen: F3)",
                                                     u(m_searchBar->combo()->currentText()));
        if (!asked || asked->empty()) return;
        term = q(*asked);
    }
    m_searchBar->setTerm(term);
    QtEditorView view(*currentEditor());
    if (!search::searchFromSelection(view, toCp1252Referenced(term))) {
        showNotice("Nichts gefunden");
        m_context.tones.errorTone();
    }
}

void MainWindow::takeRectangle(bool cut) {
    if (cut && m_context.dialogs.ask("Wirklich ausschneiden?") != Answer::Yes) return;
    QtEditorView view(*currentEditor());
    const std::vector<std::string> lines = view.lines();
    const int start = view.selectionStart();
    const auto block = linetools::takeRectangle(lines, start, view.selectionLength(), view.selectedText(), cut);
    if (cut) {
        view.setLines(block.lines);
        view.setCaret(start);
    }
    QApplication::clipboard()->setText(fromCp1252(block.clipboard));
    m_context.dialogs.inform(codec::cp1252ToUtf8(linetools::rectangleMessage(block.clipboard)));
}

void MainWindow::pasteRectangle() {
    QtEditorView view(*currentEditor());
    const std::vector<std::string> lines = view.lines();
    const int caret = view.caret();
    const LineColumn at = lineColumnOf(lines, caret);
    const std::string clip = toCp1252Referenced(QApplication::clipboard()->text());
    view.setLines(linetools::pasteRectangle(lines, at.line, at.column, clip));
    view.setCaret(caret);
}

}  // namespace pictra::ui
