// Printing the source text and handing it to the sister program Penwick.
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QThread>

#include "shell/MainWindow.h"
#include "shell/files/PenwickWindow.h"
#include "shell/PlainEditor.h"
#include "shell/QtEditorView.h"
#include "common/UiText.h"
#include "shell/Documents.h"
#include "common/Text.h"
#include "platform/CupsPrinter.h"
#include "platform/Processes.h"
#include "shell/Penwick.h"
#include "shell/RawPrint.h"

namespace pictra::ui {

namespace {

// The selection, or the whole text when nothing is selected.
std::vector<std::string> printSource(QtEditorView& view) {
    if (view.selectionLength() > 0) return text::splitLines(view.selectedText());
    return view.lines();
}

}  // namespace

// Empty lines and blanks of direct printing: 2 and 4 until the settings dialog was
// opened in this run, then the stored values.
std::pair<int, int> MainWindow::printMargins() const {
    if (!m_settingsOpened) return {2, 4};
    return {static_cast<int>(m_context.store.readInt("Einstellungen", "Leerzeilen", 0)),
            static_cast<int>(m_context.store.readInt("Einstellungen", "Leerstellen", 0))};
}

RawPrinter& MainWindow::rawPrinter() {
    if (!m_rawPrinter) m_rawPrinter = std::make_unique<platform::CupsPrinter>();
    return *m_rawPrinter;
}

void MainWindow::printDirect() {
    QtEditorView view(*currentEditor());
    const auto [lines, blanks] = printMargins();
    pictra::printDirect(rawPrinter(), m_context.dialogs, printSource(view), currentFileName(), lines, blanks);
}

void MainWindow::printFair() {
    QtEditorView view(*currentEditor());
    const auto [emptyLines, blanks] = printMargins();
    QString content(emptyLines, '\n');
    const std::string prefix(static_cast<size_t>(blanks), ' ');
    for (const auto& line : printSource(view)) content += fromCp1252(text::trimRight(prefix + line)) + '\n';
    QTextDocument document;
    document.setDefaultFont(currentEditor()->font());
    document.setPlainText(content);
    document.setTextWidth(800);
    QPrinter printer;
    // The file name alone: a PDF printer proposes the title as the name of its file.
    printer.setDocName(q(documents::fileNamePart(m_files->saveTargetOfCurrent())));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle("Drucken");
    if (dialog.exec() == QDialog::Accepted) document.print(&printer);
}

void MainWindow::switchToPenwick() {
    QtEditorView view(*currentEditor());
    const std::string file = penwick::handOffFile(m_context.paths);
    if (!penwick::prepare(file, text::joinLines(view.lines()), m_context.dialogs)) return;
    for (int i = 0; i < 25 && !QFileInfo::exists(q(file)); ++i) QThread::msleep(100);
    if (!platform::startProgram(penwick::kProgram, {file})) {
        m_context.dialogs.inform("Hat nicht geklappt");
        return;
    }
    PenwickWindow wait(this);
    wait.setWindowState(Qt::WindowFullScreen);
    if (wait.exec() != QDialog::Accepted) return;
    if (auto back = penwick::takeBack(file, m_context.dialogs)) view.setLines(text::splitLines(*back));
}

}  // namespace pictra::ui
