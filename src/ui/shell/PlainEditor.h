#pragma once

#include <QPlainTextEdit>

namespace pictra::ui {

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
    mutable int m_rawRevision = -1;
    bool m_guides = true;
    bool m_refusalShown = false;
};

}  // namespace pictra::ui
