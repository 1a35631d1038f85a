#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>
#include <string>
#include <vector>

class QTabBar;

namespace pictra::ui {

class EditorHost;
class PlainEditor;

// One open document: its editor and what the program remembers about it.
struct DocumentSlot {
    PlainEditor* editor = nullptr;
    std::string fileName = "?";
    std::string firstEditSnapshot;
    std::string saveSnapshot;
};

// The tab strip `TabControl1` with one editor per document; only the current
// document's editor is visible, the others keep text, caret and formatting.
class DocumentArea : public QWidget {
    Q_OBJECT
public:
    explicit DocumentArea(QWidget* parent = nullptr);

    // Editor look for every new document (cream; light green in a second instance).
    void setEditorBackground(const QColor& colour) { m_background = colour; }
    void setEditorFont(const QFont& font) { m_font = font; }
    // Gives every editor the font again (and drops formatting defaults).
    void resetFonts(const QFont& font);

    int count() const { return static_cast<int>(m_slots.size()); }
    void ensureDocument();
    int currentIndex();
    PlainEditor* currentEditor();
    DocumentSlot& slot(int index) { return m_slots[static_cast<size_t>(index)]; }
    DocumentSlot& currentSlot() { return slot(currentIndex()); }
    std::string currentFileName() { return currentSlot().fileName; }
    // The tab names the file too, and keeps its "*".
    void setCurrentFileName(const std::string& path);
    std::vector<std::string> fileNames() const;

    // Creates a document "?", selects it and focuses its editor.
    void newDocument();
    // False (and nothing changes) for an index beyond the last document.
    bool switchTo(int index);
    int findOpen(const std::string& path) const;
    void removeDocument(int index);
    void removeAllDocuments();

    QString tabText(int index) const;
    void setTabText(int index, const QString& text);
    // The "*" rule applied to the document's present text.
    void updateModifiedMark(int index);
    bool isModified(int index) const;

    QTabBar* tabBar() const { return m_tabs; }

signals:
    void currentChanged();
    void documentCreated(PlainEditor* editor);
    void textChanged(PlainEditor* editor);

private:
    int indexOf(const PlainEditor* editor) const;
    void showOnly(int index);

    QTabBar* m_tabs = nullptr;
    EditorHost* m_host = nullptr;
    std::vector<DocumentSlot> m_slots;
    QColor m_background{255, 248, 198};
    QFont m_font{"Courier New", 12};
};

// True when the text has anything but blanks and control characters; stops at
// the first such character, so it is cheap on large texts.
bool hasVisibleText(const PlainEditor* editor);

}  // namespace pictra::ui
