#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "html/Entities.h"
#include "html/preview/Browser.h"
#include "html/preview/PreviewFiles.h"
#include "settings/SettingsStore.h"

namespace pictra::preview {

// The current document as the preview sees it.
struct DocumentState {
    std::string fileName;  // empty or holding "?" while untitled
    std::string text;      // Windows-1252
    bool modified = false;
};

// What the preview needs of the main window.
class PreviewHost {
public:
    virtual ~PreviewHost() = default;
    virtual DocumentState document() = 0;
    // "Speichern" of the current document; true when it is saved afterwards.
    virtual bool saveDocument() = 0;
    // The temporary page of an untitled document ("tmp" + hour + "uhr.html").
    virtual std::string temporaryPreviewName() = 0;
    virtual bool searchPanelVisible() = 0;
    virtual void hideSearchPanel() = 0;
    virtual void showNotice(const std::string& text) = 0;
    // Makes the tab before the current one current when it holds an ".htm" file.
    virtual bool switchToPreviousHtmlTab() = 0;
    // Starts a program with an argument vector; false when it could not start.
    virtual bool startProgram(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

inline constexpr const char* kMsgCssNotShown = "CSS-Datei wird nicht im Browser angezeigt!";
inline constexpr const char* kMsgFindBrowser = "Suchen Sie bitte die Datei \"GoogleChrome.exe\" oder so ähnlich";
inline constexpr const char* kMsgNoSuccess = "Kein Erfolg!";

// Esc in the editor previews a text of at least two lines whose first two hold "<html" (any case).
bool escapeShowsPage(const std::string& text);
// A document with more than five lines whose lines 2 to 5 hold "<svg".
bool isSvgDocument(const std::string& text);
// Untitled: no name, a "?" name, or a name without extension (shown from a temporary page).
bool isUntitled(const std::string& fileName);

// An executable named `program` (a path, or a name looked up in `searchPath`, the
// PATH list); empty when there is none.
std::string findProgram(const std::string& program, const std::string& searchPath);
// The outside browser of setting "Browser"/"Chrome", else the first of chromium,
// firefox-esr and the desktop's opener; a configured one that is missing is asked
// for once and remembered. Empty when the user gives none.
std::string outsideBrowser(SettingsStore& store, Dialogs& dialogs, const std::string& searchPath);

// The full preview ("Vollbild", F9, and Esc in the editor).
class FullPreview {
public:
    FullPreview(PreviewHost& host, BrowserList& browsers, Dialogs& dialogs, SettingsStore& store,
                EntityTable& entities, PreviewFiles& files)
        : m_host(host), m_browsers(browsers), m_dialogs(dialogs), m_store(store), m_entities(entities),
          m_files(files) {}

    void run(bool byEscape);
    // "Browser zeigen": every window, the current one in front (one is made if there is none).
    void showBrowsers();
    // "Browser zeigen und aktualisieren": a page that cannot be reloaded is saved and shown anew.
    void showAndReload();

    const std::string& lastShown() const { return m_lastShown; }
    void setSearchPath(std::string path) { m_searchPath = std::move(path); }

private:
    struct Shown {
        std::size_t textHash;
        std::filesystem::file_time_type time;
    };
    void showOutside();
    void showWithIncludes(const DocumentState& doc);
    void showCss();
    Browser& browserFor(const std::string& target);
    bool writePage(const std::string& path, const std::string& bytes);
    std::filesystem::file_time_type timeOf(const std::string& path) const;

    PreviewHost& m_host;
    BrowserList& m_browsers;
    Dialogs& m_dialogs;
    SettingsStore& m_store;
    EntityTable& m_entities;
    PreviewFiles& m_files;
    std::string m_lastShown;
    std::map<std::string, Shown> m_shown;
    std::string m_searchPath;
};

}  // namespace pictra::preview
