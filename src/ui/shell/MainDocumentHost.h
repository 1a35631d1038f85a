#pragma once

#include <map>
#include <memory>

#include "shell/DocumentFiles.h"

namespace pictra::ui {

class MainWindow;
class PlainEditor;
class QtEditorView;

// The main window's document list as loading and saving see it.
class MainDocumentHost : public DocumentHost {
public:
    explicit MainDocumentHost(MainWindow& window);
    ~MainDocumentHost() override;

    int documentCount() override;
    int currentIndex() override;
    int findOpen(const std::string& path) override;
    void switchTo(int index) override;
    void newDocument() override;
    EditorView& editor(int index) override;
    bool isEmpty(int index) override;
    void loadText(int index, const std::string& text, int caret) override;
    std::string unstorableCharacters(int index) override;
    std::string fileName(int index) override;
    void setFileName(int index, const std::string& path) override;
    std::string tabCaption(int index) override;
    void setTabCaption(int index, const std::string& caption) override;
    void refreshCaption() override;
    void setSaveSnapshot(int index, const std::string& snapshot) override;
    std::string saveSnapshot(int index) override;
    std::string firstEditSnapshot(int index) override;
    void removeDocument(int index) override;
    void removeAllDocuments() override;
    void showStatus(const std::string& text) override;
    void showNotice(const std::string& text) override;
    void openSettings(int group) override;
    void switchMathModeOn() override;
    void recordFile(const std::string& path) override;
    bool sameVolume(const std::string& a, const std::string& b) override;
    int currentHour() override;

private:
    MainWindow& m_window;
    std::map<PlainEditor*, std::unique_ptr<QtEditorView>> m_views;
};

}  // namespace pictra::ui
