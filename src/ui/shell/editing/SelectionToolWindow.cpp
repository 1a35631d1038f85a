#include "SelectionToolWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "shell/editing/LineTools.h"
#include "shell/editing/SelectionTools.h"

namespace pictra::ui {

SelectionToolWindow::SelectionToolWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("Form18StrgA");
    setWindowTitle("Ausgewähltes");
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel("Taste drücken (Esc = Abbruch):");
    layout->addWidget(hint);
    QString lines;
    for (const char* const* line = selectiontools::toolLines(); *line; ++line) lines += QString::fromUtf8(*line) + "\n";
    auto* list = new QLabel(lines.trimmed());
    list->setObjectName("LStrgA");
    list->setFont(QFont("Courier New", 10));
    layout->addWidget(list);
}

char SelectionToolWindow::chooseKey() {
    m_key = 0;
    exec();
    return m_key;
}

void SelectionToolWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    const QString text = event->text();
    int code = 0;
    if (!text.isEmpty() && text.at(0).unicode() < 128) {
        code = text.at(0).unicode();
    } else if (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) {
        code = event->key();
    }
    if (code == 0) return;  // Shift, Ctrl and the like wait for the real key
    m_key = linetools::ctrlAKey(code);
    accept();
}

}  // namespace pictra::ui
