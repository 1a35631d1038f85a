#include "QtEditorView.h"

#include <QSignalBlocker>
#include <QTextBlock>

#include "PlainEditor.h"
#include "common/UiText.h"
#include "common/Text.h"

namespace pictra::ui {

namespace {
QString withLineBreaks(const std::string& cp1252) {
    QString s = fromCp1252(cp1252);
    s.replace("\r\n", "\n");
    s.replace('\r', '\n');
    return s;
}
}  // namespace

std::vector<std::string> QtEditorView::lines() const {
    std::vector<std::string> out;
    const QTextDocument* doc = m_editor.document();
    out.reserve(static_cast<size_t>(doc->blockCount()));
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) out.push_back(toCp1252Referenced(b.text()));
    // An empty editor has one empty block but no lines.
    if (out.size() == 1 && out.front().empty()) out.clear();
    return out;
}

void QtEditorView::setLines(const std::vector<std::string>& lines) {
    QTextCursor cursor(m_editor.document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(withLineBreaks(text::joinLines(lines)));
    cursor.endEditBlock();
}

int QtEditorView::caret() const { return m_editor.textCursor().position(); }

void QtEditorView::setCaret(int offset) {
    QTextCursor cursor = m_editor.textCursor();
    cursor.setPosition(std::clamp(offset, 0, m_editor.document()->characterCount() - 1));
    m_editor.setTextCursor(cursor);
    m_editor.ensureCursorVisible();
}

int QtEditorView::selectionStart() const { return m_editor.textCursor().selectionStart(); }

int QtEditorView::selectionLength() const {
    const QTextCursor c = m_editor.textCursor();
    return c.selectionEnd() - c.selectionStart();
}

std::string QtEditorView::selectedText() const {
    QString s = m_editor.textCursor().selectedText();
    s.replace(QChar::ParagraphSeparator, "\r\n");
    return toCp1252Referenced(s);
}

void QtEditorView::setSelection(int start, int length) {
    QTextCursor cursor = m_editor.textCursor();
    const int last = m_editor.document()->characterCount() - 1;
    cursor.setPosition(std::clamp(start, 0, last));
    cursor.setPosition(std::clamp(start + length, 0, last), QTextCursor::KeepAnchor);
    m_editor.setTextCursor(cursor);
}

void QtEditorView::replaceSelection(const std::string& text) {
    QTextCursor cursor = m_editor.textCursor();
    cursor.insertText(withLineBreaks(text));
    m_editor.setTextCursor(cursor);
    m_editor.ensureCursorVisible();
}

void QtEditorView::focus() { m_editor.setFocus(); }

void QtEditorView::setText(const std::string& text) {
    QTextCursor cursor(m_editor.document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(withLineBreaks(text));
    cursor.endEditBlock();
}

std::string QtEditorView::plainText() const { return toCp1252Referenced(m_editor.rawText()); }

bool QtEditorView::replaceEveryInPlace(const std::string& term, const std::string& replacement, bool matchCase) {
    // Line breaks would change the document's blocks: those go the whole-text way.
    if (term.empty() || term.find_first_of("\r\n") != std::string::npos ||
        replacement.find_first_of("\r\n") != std::string::npos)
        return false;
    const QString needle = matchCase ? fromCp1252(term) : foldedCase(fromCp1252(term));
    const QString& searched = matchCase ? m_editor.rawText() : m_editor.lowerText();
    std::vector<qsizetype> hits;
    for (qsizetype at = searched.indexOf(needle); at >= 0; at = searched.indexOf(needle, at + needle.size()))
        hits.push_back(at);
    if (hits.empty()) return true;
    const QString by = fromCp1252(replacement);
    // One edit block: the document lays itself out once, after the last hit; from the end,
    // so that the hits before keep their offsets.
    QTextCursor cursor(m_editor.document());
    cursor.beginEditBlock();
    for (auto hit = hits.rbegin(); hit != hits.rend(); ++hit) {
        cursor.setPosition(static_cast<int>(*hit));
        cursor.setPosition(static_cast<int>(*hit + needle.size()), QTextCursor::KeepAnchor);
        cursor.insertText(by);
    }
    cursor.endEditBlock();
    // The caret ends behind the text, as after the whole text was put back.
    QTextCursor caret = m_editor.textCursor();
    caret.movePosition(QTextCursor::End);
    m_editor.setTextCursor(caret);
    return true;
}

int QtEditorView::find(const std::string& term, int from, bool matchCase) const {
    if (term.empty()) return -1;
    const QString needle = fromCp1252(term);
    if (matchCase) return static_cast<int>(m_editor.rawText().indexOf(needle, std::max(from, 0)));
    // A plain search in the case-folded copy is several times faster than comparing case on the way.
    return static_cast<int>(m_editor.lowerText().indexOf(foldedCase(needle), std::max(from, 0)));
}

int QtEditorView::findBackward(const std::string& term, int at, bool matchCase) const {
    if (term.empty() || at < 0) return -1;
    const QString& text = m_editor.rawText();
    return static_cast<int>(text.lastIndexOf(fromCp1252(term), std::min<qsizetype>(at, text.size()),
                                             matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive));
}

void QtEditorView::paint(int start, int length, const Paint& paint) {
    QTextCharFormat format;
    format.setForeground(colourFromWindows(paint.colour));
    format.setFontWeight(paint.bold ? QFont::Bold : QFont::Normal);
    if (paint.sizeIncrease != 0) format.setFontPointSize(m_editor.font().pointSizeF() + paint.sizeIncrease);
    QTextCursor cursor(m_editor.document());
    const int last = m_editor.document()->characterCount() - 1;
    cursor.setPosition(std::clamp(start, 0, last));
    cursor.setPosition(std::clamp(start + length, 0, last), QTextCursor::KeepAnchor);
    // A change of format is no edit: the tab keeps its caption.
    const QSignalBlocker block(&m_editor);
    m_editor.formatWithoutEditing([&] { cursor.mergeCharFormat(format); });
}

void QtEditorView::paintBatch(const std::function<void()>& paints) {
    // One edit block: the document lays itself out once, not after every range.
    QTextCursor block(m_editor.document());
    const QSignalBlocker quiet(&m_editor);
    m_editor.formatWithoutEditing([&] {
        block.beginEditBlock();
        paints();
        block.endEditBlock();
    });
}

void QtEditorView::clearPaint() {
    QTextCharFormat format;
    format.setFont(m_editor.font());
    format.setForeground(QColor(Qt::black));
    QTextCursor cursor(m_editor.document());
    cursor.select(QTextCursor::Document);
    const QSignalBlocker block(&m_editor);
    m_editor.formatWithoutEditing([&] { cursor.setCharFormat(format); });
    m_editor.setCurrentCharFormat(format);
}

}  // namespace pictra::ui
