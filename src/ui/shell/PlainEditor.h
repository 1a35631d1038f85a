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
    bool m_refusalShown = false;
};

}  // namespace pictra::ui
