#pragma once

#include <QPlainTextEdit>
#include <functional>

namespace pictra::ui {

// Case-folded unit by unit, so that every offset stays.
QString foldedCase(const QString& text);

// The program's text editor: plain text with character formatting, no word wrap,
// both scroll bars. The maximum length limits what the user types or pastes,
// never what a command puts in.
class PlainEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int kMaxTypedLength = 1000000;

    explicit PlainEditor(QWidget* parent = nullptr);

    int maxLength() const { return m_maxLength; }
    void setMaxLength(int length) { m_maxLength = length; }
    // Each paragraph drawn with its own alignment again (after a new width).
    void realignParagraphs();
    // The text with "\n" between lines, kept until the text changes, so that
    // searching again in a large text does not copy it every time.
    const QString& rawText() const;
    // The same case-folded, for searches that ignore case; offsets are unchanged.
    const QString& lowerText() const;
    // A change of character formats only: the kept text stays valid.
    void formatWithoutEditing(const std::function<void()>& change);
    // Guide lines at 80 ... 640 pixels.
    void setGuideLines(bool on) { m_guides = on; viewport()->update(); }

signals:
    // The first key refused because the text is at its maximum length.
    void typingRefused();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    int roomLeft() const;

    int m_maxLength = kMaxTypedLength;
    mutable QString m_rawText;
    mutable QString m_lowerText;
    mutable bool m_rawValid = false;
    mutable bool m_lowerValid = false;
    bool m_formatOnly = false;
    bool m_guides = false;
    bool m_refusalShown = false;
};

}  // namespace pictra::ui
