#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pictra {

// Character formatting laid over the text; it never changes the text and never
// counts as an edit. Colours are Windows colour numbers (red in the low byte).
struct Paint {
    std::uint32_t colour = 255;
    bool bold = true;
    // Points added to the editor font's size.
    int sizeIncrease = 0;
};

// What a command needs of the current document's editor. Text is Windows-1252;
// offsets count every character once and a line break as one character, as the
// editor does.
class EditorView {
public:
    virtual ~EditorView() = default;

    virtual std::vector<std::string> lines() const = 0;
    // Replaces the whole text (one undo step) without touching the caret rules of the caller.
    virtual void setLines(const std::vector<std::string>& lines) = 0;
    // The whole text with CR LF (or LF) between lines; the same as setLines.
    virtual void setText(const std::string& text);
    // The whole text with "\n" between lines, as the offsets count it.
    virtual std::string plainText() const;

    virtual int caret() const = 0;
    // Puts the caret there, without a selection, and scrolls it into view.
    virtual void setCaret(int offset) = 0;

    virtual int selectionStart() const = 0;
    virtual int selectionLength() const = 0;
    // The selected text with CR LF between lines.
    virtual std::string selectedText() const = 0;
    virtual void setSelection(int start, int length) = 0;
    // Replaces the selection (CR LF or LF mark line breaks); the caret goes behind it.
    virtual void replaceSelection(const std::string& text) = 0;

    virtual void focus() = 0;

    // Replaces every occurrence of `term` (left to right, never overlapping) as one undo
    // step, in the editor's own text; false when the view has no such way and the caller
    // should hand over the whole text instead.
    virtual bool replaceEveryInPlace(const std::string& term, const std::string& replacement, bool matchCase) {
        (void)term;
        (void)replacement;
        (void)matchCase;
        return false;
    }

    // The first occurrence at or after `from`, -1 when there is none; never whole-word.
    virtual int find(const std::string& term, int from, bool matchCase) const;
    // The last occurrence starting at or before `at`, -1 when there is none.
    virtual int findBackward(const std::string& term, int at, bool matchCase) const;

    // Paints a range; the document does not become modified by it.
    virtual void paint(int start, int length, const Paint& paint);
    // Many paints as one change of the editor (much faster than one by one).
    virtual void paintBatch(const std::function<void()>& paints) { paints(); }
    // Drops every paint: the settings font and plain black text again.
    virtual void clearPaint();
};

// The whole text with CR LF between the lines.
std::string wholeText(const EditorView& view);

// Line and column of an offset (line counted from 0), and back.
struct LineColumn {
    int line = 0;
    int column = 0;
};
LineColumn lineColumnOf(const std::vector<std::string>& lines, int offset);
int offsetOf(const std::vector<std::string>& lines, int line, int column);

}  // namespace pictra
