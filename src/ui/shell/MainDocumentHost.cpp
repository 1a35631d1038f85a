#include "MainDocumentHost.h"

#include <QTextBlock>
#include <QTime>

#include "DocumentArea.h"
#include "MainWindow.h"
#include "PlainEditor.h"
#include "QtEditorView.h"
#include "common/UiText.h"
#include "common/Codec.h"
#include "platform/Drives.h"

namespace pictra::ui {

MainDocumentHost::MainDocumentHost(MainWindow& window) : m_window(window) {}
MainDocumentHost::~MainDocumentHost() = default;

int MainDocumentHost::documentCount() { return m_window.documents().count(); }
int MainDocumentHost::currentIndex() { return m_window.currentIndex(); }
int MainDocumentHost::findOpen(const std::string& path) { return m_window.findOpen(path); }
void MainDocumentHost::switchTo(int index) { m_window.switchTo(index); }
void MainDocumentHost::newDocument() { m_window.newDocument(); }

EditorView& MainDocumentHost::editor(int index) {
    PlainEditor* editor = m_window.documents().slot(index).editor;
    auto& view = m_views[editor];
    if (!view) view = std::make_unique<QtEditorView>(*editor);
    return *view;
}

bool MainDocumentHost::isEmpty(int index) { return !hasVisibleText(m_window.documents().slot(index).editor); }

void MainDocumentHost::loadText(int index, const std::string& text, int caret) {
    PlainEditor* editor = m_window.documents().slot(index).editor;
    editor->setPlainText(fromCp1252Lines(text));
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(std::clamp(caret, 0, editor->document()->characterCount() - 1));
    editor->setTextCursor(cursor);
    editor->ensureCursorVisible();
    editor->setFocus();
}

std::string MainDocumentHost::unstorableCharacters(int index) {
    QString lost;
    for (QTextBlock b = m_window.documents().slot(index).editor->document()->begin(); b.isValid(); b = b.next()) {
        toCp1252(b.text(), &lost);
    }
    return u(lost);
}

std::string MainDocumentHost::fileName(int index) { return m_window.documents().slot(index).fileName; }
void MainDocumentHost::setFileName(int index, const std::string& path) { m_window.documents().slot(index).fileName = path; }
std::string MainDocumentHost::tabCaption(int index) { return u(m_window.documents().tabText(index)); }
void MainDocumentHost::setTabCaption(int index, const std::string& caption) {
    m_window.documents().setTabText(index, q(caption));
}
void MainDocumentHost::refreshCaption() { m_window.refreshCaption(); }
void MainDocumentHost::setSaveSnapshot(int index, const std::string& snapshot) {
    m_window.documents().slot(index).saveSnapshot = snapshot;
}
std::string MainDocumentHost::saveSnapshot(int index) { return m_window.documents().slot(index).saveSnapshot; }
std::string MainDocumentHost::firstEditSnapshot(int index) {
    return m_window.documents().slot(index).firstEditSnapshot;
}
void MainDocumentHost::removeDocument(int index) { m_window.removeDocument(index); }
void MainDocumentHost::removeAllDocuments() { m_window.removeAllDocuments(); }
void MainDocumentHost::showStatus(const std::string& text) { m_window.showStatus(q(text)); }
void MainDocumentHost::showNotice(const std::string& text) { m_window.showNotice(message(text)); }
void MainDocumentHost::openSettings(int group) { m_window.openSettings(group); }
void MainDocumentHost::switchMathModeOn() { m_window.setMathMode(true); }

// The recent-files menu keeps the path once it exists; the last file is already in the settings.
void MainDocumentHost::recordFile(const std::string&) { m_window.noteRecordedFile(); }

bool MainDocumentHost::sameVolume(const std::string& a, const std::string& b) { return platform::sameVolume(a, b); }
int MainDocumentHost::currentHour() { return QTime::currentTime().hour(); }

}  // namespace pictra::ui
