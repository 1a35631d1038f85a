#pragma once

#include <string>
#include <vector>

namespace pictra {

// What a command needs of the current document's editor. Text is Windows-1252;
// offsets count every character once and a line break as one character, as the
// editor does.
class EditorView {
public:
    virtual ~EditorView() = default;

    virtual std::vector<std::string> lines() const = 0;
    // Replaces the whole text (one undo step) without touching the caret rules of the caller.
    virtual void setLines(const std::vector<std::string>& lines) = 0;

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
};

// The whole text with CR LF between the lines.
std::string wholeText(const EditorView& view);

}  // namespace pictra
