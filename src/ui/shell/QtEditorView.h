#pragma once

#include "shell/EditorView.h"

namespace pictra::ui {

class PlainEditor;

// The EditorView port over the program's editor widget.
class QtEditorView : public EditorView {
public:
    explicit QtEditorView(PlainEditor& editor) : m_editor(editor) {}

    std::vector<std::string> lines() const override;
    void setLines(const std::vector<std::string>& lines) override;
    int caret() const override;
    void setCaret(int offset) override;
    int selectionStart() const override;
    int selectionLength() const override;
    std::string selectedText() const override;
    void setSelection(int start, int length) override;
    void replaceSelection(const std::string& text) override;
    void focus() override;
    void setText(const std::string& text) override;
    std::string plainText() const override;
    bool replaceEveryInPlace(const std::string& term, const std::string& replacement, bool matchCase) override;
    int find(const std::string& term, int from, bool matchCase) const override;
    int findBackward(const std::string& term, int at, bool matchCase) const override;
    void paint(int start, int length, const Paint& paint) override;
    void paintBatch(const std::function<void()>& paints) override;
    void clearPaint() override;

private:
    PlainEditor& m_editor;
};

}  // namespace pictra::ui
