#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "html/Entities.h"
#include "shell/editing/LineTools.h"
#include "shell/editing/Search.h"

class QLabel;
class QMenu;
class QMenuBar;
class QSplitter;
class QStatusBar;
class QTimer;

namespace pictra {
class Dialogs;
class SettingsStore;
class Tones;
namespace preview {
class PreviewFiles;
struct BuildingBlock;
struct PictureSources;
}  // namespace preview
}  // namespace pictra

namespace pictra::ui {

class BrowserWindow;
class PlainEditor;
class SearchBarWidget;

// What the "Text und Browser" window asks of the program around it.
struct TextBrowserHooks {
    std::function<std::string()> previewFileName;  // the current document's preview page
    std::function<std::string()> ownFileName;      // the program's own path without extension
    std::function<void()> saveMainDocument;
    std::function<void()> showExplorer;
    std::function<QFont()> editorFont;
    // The table-writing form's table, or none when it was cancelled.
    std::function<std::optional<std::string>()> writeTable;
    // The special-character dialog's insertion into the window's editor.
    std::function<void(PlainEditor&)> specialCharacter;
    // The picture of the picture editor saved as `path`; false when there is none.
    std::function<bool(const std::string& path)> saveEditorPicture;
    // A link that opens a new window gets one of the browser list.
    std::function<BrowserWindow*()> newBrowserWindow;
    // The program's line buffer and search state, shared with the main editor
    // (the window keeps its own when none is given).
    // Where a dropped picture's path is relative to, its size and the copy into that folder.
    std::function<preview::PictureSources()> pictureSources;
    linetools::LineBuffer* lineBuffer = nullptr;
    search::SearchSession* search = nullptr;
};

// `FormTextUndBrowser`: a copy of a text beside its rendering, with building blocks;
// created once, shown modally over the whole screen.
class TextBrowserWindow : public QDialog {
    Q_OBJECT
public:
    TextBrowserWindow(Dialogs& dialogs, SettingsStore& store, Tones& tones, EntityTable& entities,
                      preview::PreviewFiles& files, TextBrowserHooks hooks, QWidget* parent);

    // Shows `text` (Windows-1252) under `title`, coloured by `colouring` (1, 2, 3, 999), modal over the
    // whole screen; `takeOver` gets the text to put in place of the main document's selection.
    void open(const std::string& title, const std::string& text, int colouring,
              std::function<void(const std::string&)> takeOver);

    PlainEditor* editor() const { return m_editor; }
    SearchBarWidget* searchBar() const { return m_searchBar; }
    QStatusBar* statusBar() const { return m_status; }
    BrowserWindow* browser() const { return m_browser; }
    // The preview is being written or loaded.
    bool refreshing() const;
    // Rewrites the preview from the text (a newer call replaces a pending one).
    void refresh();
    void chooseBlock(const preview::BuildingBlock& block);
    void takeOver();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Keys the editor would take for itself.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void buildMenus(QMenuBar* bar);
    QAction* add(QMenu* menu, const char* name, const QString& text, std::function<void()> command,
                 const QKeySequence& key = {});
    void writePreview();
    void colour(int colouring);
    void overwriteFromFile();
    void savePart();
    void buildEditMenu(QMenu* edit);
    void buildSearchBar();
    // Runs a search command; its painted hits are no change of the text.
    void search(const std::function<void(EditorView&, search::SearchBar&)>& command);

    Dialogs& m_dialogs;
    SettingsStore& m_store;
    Tones& m_tones;
    EntityTable& m_entities;
    preview::PreviewFiles& m_files;
    TextBrowserHooks m_hooks;
    PlainEditor* m_editor;
    BrowserWindow* m_browser;
    QSplitter* m_split;
    QStatusBar* m_status;
    QTimer* m_refreshTimer;
    SearchBarWidget* m_searchBar = nullptr;
    linetools::LineBuffer m_ownLineBuffer;
    search::SearchSession m_ownSearch;
    linetools::LineBuffer& m_lineBuffer;
    search::SearchSession& m_search;
    std::string m_shownPage;
    std::function<void(const std::string&)> m_takeOver;
    bool m_changed = false;
    bool m_silentClose = false;
    bool m_painting = false;
};

}  // namespace pictra::ui
