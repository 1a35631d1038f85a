#pragma once

// The plain-text editor port over QScintilla, as a measured alternative to the
// QTextDocument-based editor: the text stays in Windows-1252 bytes inside the
// editor (code page 0, "\n" line ends), so offsets, bytes and characters agree
// and the text never exists a second time as UTF-16.
#include <map>
#include <string>
#include <tuple>

#include "shell/EditorView.h"

class QsciScintilla;
class QFont;

namespace pictra::bench {

// Sets up an editor as the program's plain-text editor: 8-bit text, "\n" line
// ends, no margins, no wrapping, rectangular selection with virtual space.
// `withStyles` false drops the style byte per character (paints then show as
// coloured text only).
void setUpPlainEditor(QsciScintilla& editor, const QFont& font, bool withStyles = true);

// QScintilla 2.13 tells its accessibility interface the caret's character offset after every
// change and caret move, counting the characters from the start of the text: 5 ms per keystroke
// at the end of 1 MB, 50 ms at 10 MB. Qt 6.4 creates that interface even when no assistive
// technology listens. Called before the first editor is made, this hands such editors a plain
// widget interface instead, as long as accessibility is inactive.
void avoidCountingAccessibility();

class QsciEditorView : public EditorView {
public:
    explicit QsciEditorView(QsciScintilla& editor) : m_editor(editor) {}

    // A file's bytes as the new text: CR LF and CR become "\n", no undo step, unmodified.
    void load(const std::string& cp1252);

    std::vector<std::string> lines() const override;
    void setLines(const std::vector<std::string>& lines) override;
    void setText(const std::string& text) override;
    std::string plainText() const override;
    int caret() const override;
    void setCaret(int offset) override;
    int selectionStart() const override;
    int selectionLength() const override;
    std::string selectedText() const override;
    void setSelection(int start, int length) override;
    void replaceSelection(const std::string& text) override;
    void focus() override;
    int find(const std::string& term, int from, bool matchCase) const override;
    int findBackward(const std::string& term, int at, bool matchCase) const override;
    void paint(int start, int length, const Paint& paint) override;
    void clearPaint() override;

private:
    long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const;
    std::string_view bytes() const;
    int length() const;
    int clamped(int offset) const;
    void replaceRange(int start, int end, const std::string& lfText);
    int styleFor(const Paint& paint);

    QsciScintilla& m_editor;
    std::map<std::tuple<std::uint32_t, bool, int>, int> m_styles;
};

}  // namespace pictra::bench
