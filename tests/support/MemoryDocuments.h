#pragma once

#include <memory>
#include <vector>

#include "MemoryEditor.h"
#include "common/Codec.h"
#include "shell/DocumentFiles.h"
#include "shell/Documents.h"

namespace pictra::test {

// A document list in memory with the main window's caption rules.
class MemoryDocuments : public DocumentHost {
public:
    struct Doc {
        std::unique_ptr<MemoryEditor> editor = std::make_unique<MemoryEditor>();
        std::string fileName = "?";
        std::string caption = "?";
        std::string saveSnapshot;
        std::string firstEditSnapshot;
    };

    MemoryDocuments() { newDocument(); }

    // Typing: text and the "*" mark as the editor would set it.
    void type(int index, const std::string& text) {
        docs[static_cast<size_t>(index)].editor->setText(text);
        markModified(index);
    }

    int documentCount() override { return static_cast<int>(docs.size()); }
    int currentIndex() override { return current; }
    int findOpen(const std::string& path) override {
        std::vector<std::string> names;
        for (auto& d : docs) names.push_back(d.fileName);
        return documents::findOpen(names, path);
    }
    void switchTo(int index) override { current = index; }
    void newDocument() override {
        docs.emplace_back();
        current = static_cast<int>(docs.size()) - 1;
    }
    EditorView& editor(int index) override { return *docs[static_cast<size_t>(index)].editor; }
    bool isEmpty(int index) override {
        return text::trim(docs[static_cast<size_t>(index)].editor->text()).empty();
    }
    void loadText(int index, const std::string& text, int caret) override {
        docs[static_cast<size_t>(index)].editor->setText(text);
        markModified(index);
        docs[static_cast<size_t>(index)].editor->setCaret(caret);
    }
    std::string unstorableCharacters(int) override { return unstorable; }
    std::string fileName(int index) override { return docs[static_cast<size_t>(index)].fileName; }
    void setFileName(int index, const std::string& path) override { docs[static_cast<size_t>(index)].fileName = path; }
    std::string tabCaption(int index) override { return docs[static_cast<size_t>(index)].caption; }
    void setTabCaption(int index, const std::string& caption) override {
        docs[static_cast<size_t>(index)].caption = caption;
    }
    void refreshCaption() override { ++captionRefreshes; }
    void setSaveSnapshot(int index, const std::string& s) override { docs[static_cast<size_t>(index)].saveSnapshot = s; }
    std::string saveSnapshot(int index) override { return docs[static_cast<size_t>(index)].saveSnapshot; }
    std::string firstEditSnapshot(int index) override { return docs[static_cast<size_t>(index)].firstEditSnapshot; }
    void removeDocument(int index) override {
        docs.erase(docs.begin() + index);
        current = std::max(0, index - 1);
        if (docs.empty()) newDocument();
    }
    void removeAllDocuments() override {
        docs.clear();
        newDocument();
    }
    void showStatus(const std::string& text) override { statuses.push_back(text); }
    void showNotice(const std::string& text) override { notices.push_back(text); }
    void openSettings(int group) override { settingsOpened.push_back(group); }
    void switchMathModeOn() override { ++mathModeOn; }
    void recordFile(const std::string& path) override { recorded.push_back(path); }
    bool sameVolume(const std::string& a, const std::string& b) override {
        return (a.rfind(secondVolume, 0) == 0) == (b.rfind(secondVolume, 0) == 0);
    }
    int currentHour() override { return 9; }

    std::vector<Doc> docs;
    int current = 0;
    std::string unstorable;
    // Paths below this folder count as another volume.
    std::string secondVolume = "/nowhere/";
    int captionRefreshes = 0;
    int mathModeOn = 0;
    std::vector<std::string> statuses, notices, recorded;
    std::vector<int> settingsOpened;

private:
    void markModified(int index) {
        auto& d = docs[static_cast<size_t>(index)];
        d.caption = documents::tabCaption(d.fileName, !isEmpty(index));
    }
};

}  // namespace pictra::test
