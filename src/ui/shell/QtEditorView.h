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

private:
    PlainEditor& m_editor;
};

}  // namespace pictra::ui
