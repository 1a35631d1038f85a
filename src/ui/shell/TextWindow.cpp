#include "TextWindow.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTextBlock>
#include <QVBoxLayout>
#include <algorithm>

#include "PlainEditor.h"
#include "common/UiText.h"
#include "common/Dialogs.h"
#include "common/TextFiles.h"
#include "tools/Tones.h"

namespace pictra::ui {

TextWindow::TextWindow(Dialogs& dialogs, Tones& tones, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_tones(tones) {
    setObjectName("Form8");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QMenuBar(this);
    buildMenu(bar);
    layout->setMenuBar(bar);
    m_editor = new PlainEditor(this);
    m_editor->setObjectName("RichEdit1");
    QPalette pal = m_editor->palette();
    pal.setColor(QPalette::Text, Qt::black);
    m_editor->setPalette(pal);
    layout->addWidget(m_editor);
    m_message = new QLabel(this);
    m_message->setObjectName("LMeldung");
    m_message->hide();
    layout->addWidget(m_message);
}

void TextWindow::buildMenu(QMenuBar* bar) {
    auto add = [this](QWidget* menu, const QString& name, const QString& text, auto slot,
                      const QKeySequence& key = {}) {
        auto* action = new QAction(text, this);
        action->setObjectName(name);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        menu->addAction(action);
        return action;
    };
    // Alt mnemonics as in the main window's menu bar.
    add(bar, "Zurueck1", "&Zurück", &TextWindow::back);
    QMenu* file = bar->addMenu("&Datei");
    add(file, "oeffnen1", "öffnen", &TextWindow::openFile);
    add(file, "speichern1", "speichern", &TextWindow::saveFile);
    add(bar, "Abbrechen1", "&Abbrechen", &TextWindow::cancel);
    add(bar, "DiesesFensterschliessen1", "Dieses Fenster &schließen", &TextWindow::closeWithText);
    QMenu* edit = bar->addMenu("&Bearbeiten");
    add(edit, "Suchen1", "Suchen", &TextWindow::search, QKeySequence::Find);
    add(edit, "Weitersuchen1", "Weitersuchen", &TextWindow::searchNext, QKeySequence(Qt::Key_F3));
    add(edit, "AlphabetischSortieren1", "Alphabetisch sortieren", &TextWindow::sortLines);
    add(edit, "Drucken1", "Drucken", &TextWindow::print);
}

void TextWindow::present(const QString& title, const QString& text, const QFont& font) {
    setWindowTitle(title);
    m_original = text;
    m_result = text;
    m_message->hide();
    m_editor->setFont(font);
    m_editor->setPlainText(text);
    m_editor->moveCursor(QTextCursor::Start);
    fitToContent();
}

QString TextWindow::editText(const QString& title, const QString& text, const QFont& font) {
    present(title, text, font);
    exec();
    return m_result;
}

void TextWindow::showText(const QString& title, const QString& text, const QFont& font, bool modal) {
    present(title, text, font);
    if (modal) {
        exec();
    } else {
        show();
        raise();
        activateWindow();
    }
}

void TextWindow::fitToContent() {
    const QFontMetrics metrics(m_editor->font());
    int longest = 0;
    int lines = 0;
    for (QTextBlock b = m_editor->document()->begin(); b.isValid(); b = b.next(), ++lines) {
        if (b.length() > 1) longest = std::max(longest, metrics.horizontalAdvance(b.text()));
    }
    const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int chrome = 60;
    const int maxWidth = std::min(avail.height() * 4 / 3, avail.width());
    const int width = std::clamp(longest + chrome, 300, maxWidth);
    const int height = std::clamp(lines * metrics.lineSpacing() + 2 * chrome, 200, avail.height() * 9 / 10);
    resize(width, height);
}

void TextWindow::back() {
    m_result = m_original;
    QDialog::accept();
}

void TextWindow::cancel() {
    m_result = QString::fromUtf8(kCancelMarker);
    QDialog::reject();
}

void TextWindow::closeWithText() {
    m_result = m_editor->toPlainText();
    QDialog::accept();
}

// Esc and the window's close button leave nothing changed behind.
void TextWindow::reject() { cancel(); }

void TextWindow::openFile() {
    auto path = m_dialogs.chooseOpenFile("öffnen", "");
    if (!path) return;
    auto text = textfiles::readText(*path);
    if (!text) {
        m_dialogs.inform("Kann \"" + *path + "\" nicht lesen!");
        return;
    }
    m_editor->setPlainText(q(*text));
}

void TextWindow::saveFile() {
    auto path = m_dialogs.chooseSaveFile("speichern", "");
    if (!path) return;
    QString lost;
    toCp1252(m_editor->toPlainText(), &lost);
    if (!lost.isEmpty() && m_dialogs.ask(textfiles::unstorableQuestion(u(lost))) != Answer::Yes) return;
    const std::string bytes = toCp1252Referenced(m_editor->toPlainText());
    if (!textfiles::writeCp1252(*path, bytes)) m_dialogs.inform("Kann nicht speichern!\r" + *path);
}

void TextWindow::search() {
    auto term = m_dialogs.askText("Suchen", "Geben Sie das Suchwort ein! (Weitersuchen: F3)", u(m_searchTerm));
    if (!term || term->empty()) return;
    m_searchTerm = q(*term);
    searchNext();
}

void TextWindow::searchNext() {
    if (m_searchTerm.isEmpty()) {
        search();
        return;
    }
    const QTextCursor cursor = m_editor->textCursor();
    QTextCursor hit = m_editor->document()->find(m_searchTerm, cursor.selectionEnd());
    if (hit.isNull()) {
        m_tones.errorTone();
        showMessage("Nichts gefunden");
        return;
    }
    m_message->hide();
    m_editor->setTextCursor(hit);
    m_editor->ensureCursorVisible();
}

void TextWindow::sortLines() {
    QStringList lines = m_editor->toPlainText().split('\n');
    // Byte order of the program's Windows-1252 text.
    std::stable_sort(lines.begin(), lines.end(), [](const QString& a, const QString& b) {
        return toCp1252(a) < toCp1252(b);
    });
    m_editor->setPlainText(lines.join('\n'));
}

void TextWindow::print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle("Drucken");
    if (dialog.exec() == QDialog::Accepted) m_editor->print(&printer);
}

void TextWindow::showMessage(const QString& text) {
    m_message->setText(text);
    m_message->show();
}

}  // namespace pictra::ui
