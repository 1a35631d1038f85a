// The table commands of the main window: the table sheet and the table-writing form.
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QUrl>
#include <QWebEngineView>

#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "shell/QtEditorView.h"
#include "shell/UnsavedTexts.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "html/BrowserWindow.h"
#include "tables/SheetDocument.h"
#include "tables/TableFormWindow.h"
#include "tables/TableSheetWindow.h"

namespace pictra::ui {

void MainWindow::buildTableCommands(QMenu* view) {
    // The sheet reads the whole text: the unsaved texts are secured first.
    const auto openSheet = [this] {
        if (secureUnsavedTexts(*this)) tableSheet()->openOnDocument();
    };
    addCommand(view, "Tabelle1", "Tabelle", openSheet, QKeySequence("Ctrl+T"));
    addCommand(view, "CSVDatenblatt1", "CSV-Datenblatt", openSheet);
    QMenu* useful = view->addMenu("Nützliches zu \"Tabelle\"");
    useful->setObjectName("NuetzlichesTabelle1");
    addCommand(useful, "TabelleGanzNeu1", "Tabelle ganz neu", [this] {
        newDocumentUnlessEmpty();
        tableSheet()->openEmpty();
    });
    addCommand(useful, "BeispielTabelle1", "Beispiel einer Tabelle", [this] { showExampleTable(); });
    // The list of names is the current text: this command works on it instead of a new document.
    addCommand(useful, "TabelleAusNamensliste1", "Tabelle aus Namensliste erstellen", [this] { tableFromNameList(); });
    addCommand(useful, "HilfeTabellen1", "Hilfe zu Tabellen",
               [this] { m_context.dialogs.showText("Tabellen", tables::tablesHelp()); });
}

void MainWindow::newDocumentUnlessEmpty() {
    if (!currentEditor()->toPlainText().isEmpty()) newDocument();
}

TableSheetWindow* MainWindow::tableSheet() {
    if (m_tableSheet) return m_tableSheet;
    SheetHost host;
    host.documentLines = [this] { return QtEditorView(*currentEditor()).lines(); };
    host.setDocumentLines = [this](const std::vector<std::string>& lines) {
        QtEditorView(*currentEditor()).setLines(lines);
    };
    host.fileName = [this] { return currentFileName(); };
    host.caption = [this] { return windowTitle(); };
    host.saveDocument = [this] {
        files().save();
        return !currentEditor()->document()->isModified();
    };
    host.editorFont = [this] { return editorFont(); };
    host.showInBrowser = [this](const std::string& path) { showPageInBrowser(path); };
    host.previewFile = [this] { return files().previewFileName(); };
    host.printer = [this]() -> RawPrinter& { return rawPrinter(); };
    host.showExample = [this] { showExampleTable(); };
    host.newTable = [this] {
        newDocumentUnlessEmpty();
        tableSheet()->openEmpty();
    };
    host.toClipboard = [](const std::string& text) { QApplication::clipboard()->setText(q(text)); };
    m_tableSheet = new TableSheetWindow(m_context.dialogs, m_context.store, std::move(host), this);
    return m_tableSheet;
}

void MainWindow::showExampleTable() {
    newDocumentUnlessEmpty();
    QtEditorView(*currentEditor()).setLines(tables::exampleTable());
    m_context.dialogs.inform(tables::kMsgExampleMade);
    tableSheet()->openExample();
}

void MainWindow::tableFromNameList() {
    if (!secureUnsavedTexts(*this)) return;
    QtEditorView view(*currentEditor());
    std::vector<std::string> lines = view.lines();
    if (!lines.empty() && tables::classifySheetText(lines.front()) == tables::SheetOpening::Table) {
        m_context.dialogs.inform(tables::alreadyATableMessage());
        return;
    }
    while (!lines.empty() && text::trim(lines.back()).empty()) lines.pop_back();
    view.setLines(tables::tableFromNameList(lines));
    tableSheet()->openWithoutFixedRows();
}

TableFormWindow* MainWindow::tableForm() {
    if (!m_tableForm) {
        m_tableForm = new TableFormWindow(this);
        m_tableForm->onReturn = [this](const std::string& table) {
            QApplication::clipboard()->setText(fromCp1252(table));
            m_context.dialogs.inform(
                "Die Tabelle befindet sich in der Zwischenablage.\rFügen Sie diese an passender Stelle ein!");
        };
    }
    return m_tableForm;
}

// "Tabelle schreiben": the selected lines distributed over the grid.
void MainWindow::writeTableFromSelection() {
    TableFormWindow* form = tableForm();
    form->openTableForm(true, editorFont());
    long long rows = 2;
    if (!m_context.dialogs.askNumber("Wieviel Zeilen soll die Tabelle haben", "Geben Sie eine Zahl ein", rows)) return;
    const std::string selection = QtEditorView(*currentEditor()).selectedText();
    form->fillFromLines(text::splitLines(selection), static_cast<int>(std::clamp(rows, 1LL, 100000LL)));
    form->showMaximized();
    form->raise();
}

}  // namespace pictra::ui
