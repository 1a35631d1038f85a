#pragma once

#include <algorithm>

#include "common/Text.h"
#include "shell/EditorView.h"

namespace pictra::test {

// An editor held in memory: text with "\n" between lines, offsets as the editor counts them.
class MemoryEditor : public EditorView {
public:
    explicit MemoryEditor(std::string text = {}) { setText(text); }

    void setText(const std::string& text) override { m_text = text::replaceAll(text::replaceAll(text, "\r\n", "\n"), "\r", "\n"); }
    const std::string& text() const { return m_text; }

    std::vector<std::string> lines() const override {
        if (m_text.empty()) return {};
        std::vector<std::string> out;
        size_t start = 0;
        while (true) {
            const size_t br = m_text.find('\n', start);
            out.push_back(m_text.substr(start, br == std::string::npos ? std::string::npos : br - start));
            if (br == std::string::npos) return out;
            start = br + 1;
        }
    }
    void setLines(const std::vector<std::string>& lines) override { m_text = text::joinLines(lines, "\n"); }
    int caret() const override { return m_start + m_length; }
    void setCaret(int offset) override {
        m_start = std::clamp(offset, 0, static_cast<int>(m_text.size()));
        m_length = 0;
    }
    int selectionStart() const override { return m_start; }
    int selectionLength() const override { return m_length; }
    std::string selectedText() const override {
        return text::replaceAll(m_text.substr(static_cast<size_t>(m_start), static_cast<size_t>(m_length)), "\n", "\r\n");
    }
    void setSelection(int start, int length) override {
        m_start = std::clamp(start, 0, static_cast<int>(m_text.size()));
        m_length = std::clamp(length, 0, static_cast<int>(m_text.size()) - m_start);
    }
    void replaceSelection(const std::string& text) override {
        std::string plain = text::replaceAll(text, "\r\n", "\n");
        m_text.replace(static_cast<size_t>(m_start), static_cast<size_t>(m_length), plain);
        m_start += static_cast<int>(plain.size());
        m_length = 0;
    }
    void focus() override { ++focused; }
    void paint(int start, int length, const Paint& p) override { paints.push_back({start, length, p}); }
    void clearPaint() override { paints.clear(); }

    struct Painted {
        int start;
        int length;
        Paint paint;
    };
    int focused = 0;
    std::vector<Painted> paints;

private:
    std::string m_text;
    int m_start = 0;
    int m_length = 0;
};

}  // namespace pictra::test
