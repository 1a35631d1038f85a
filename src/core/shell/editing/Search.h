#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "shell/EditorView.h"

// Search and replace in the current document, with painted hits, and the search
// over all open documents.
namespace pictra::search {

// What the search commands need of the search bar and the windows around it.
class SearchBar {
public:
    virtual ~SearchBar() = default;
    virtual std::string term() const = 0;               // Windows-1252
    virtual std::string replacement() const = 0;        // Windows-1252
    virtual bool matchCase() const = 0;                 // "Großschreibung berücks."
    virtual void setMatchCase(bool on) = 0;
    virtual bool bigHits() const = 0;                   // "Treffer groß schreiben"
    // Shows the bar with the buttons (or the replace panel) and focuses the term.
    virtual void showBar(bool replacePanel) = 0;
    virtual void termSearched() = 0;                    // the term field turns white
    virtual void showNotice(const std::string& text) = 0;
    virtual void showStatusBar() = 0;
    virtual void beep() = 0;
};

inline constexpr const char* kMsgEnterTerm = "Geben Sie das Suchwort links oben ein!";
inline constexpr const char* kAskReplaceAll = "Gleich bei allen Vorkommen ersetzten?";

// The red bold paint of a hit, 4 points larger when asked.
Paint hitPaint(bool big);
void paintHit(EditorView& view, int position, int length, bool big);

// The state of the search for the run: the history and whether "Ersetzte durch"
// still offers to replace every occurrence.
class SearchSession {
public:
    // "<<", "> F3", ">>", "<", "Ersetzte durch".
    void first(EditorView& view, SearchBar& bar);
    void next(EditorView& view, SearchBar& bar);
    void last(EditorView& view, SearchBar& bar);
    void previous(EditorView& view, SearchBar& bar);
    void replace(EditorView& view, SearchBar& bar, Dialogs& dialogs);

    // Oldest first; a term searched with "> F3" is added once.
    const std::vector<std::string>& history() const { return m_history; }
    void setHistory(std::vector<std::string> history) { m_history = std::move(history); }
    // The last six terms, as they are stored at exit.
    std::vector<std::string> storedHistory() const;
    bool askReplaceAll() const { return m_askReplaceAll; }

    // The tab width of "Klartext", asked once per run (0: not yet asked).
    int tabWidth = 0;

private:
    bool termMissing(SearchBar& bar);
    int lastHit(EditorView& view, const std::string& term);

    std::vector<std::string> m_history;
    bool m_askReplaceAll = true;
};

// Every occurrence replaced in one pass; case ignored unless `matchCase`.
std::string replaceEvery(const std::string& text, const std::string& term, const std::string& replacement,
                         bool matchCase);

// "Klartext": tabs to blanks up to a multiple of `tabWidth`, control characters
// to blanks, trailing blanks and trailing empty lines removed.
std::vector<std::string> plainLines(const std::vector<std::string>& lines, int tabWidth);
// "Klartext (Tabs zu Tabelle)": every tab-separated piece starts in its column,
// one blank after the widest piece before it; `tone` sounds once when there was a tab.
std::vector<std::string> tabsToTable(const std::vector<std::string>& lines, const std::function<void()>& tone);

// "Alle geöffneten Dateien durchsuchen": "document|line:text" for every line
// holding the term (case-sensitive), documents from 1 and lines from 0, then the count.
std::vector<std::string> searchDocuments(const std::vector<std::vector<std::string>>& documents,
                                         const std::string& term, const std::function<void(int)>& progress);

// The single-document search of the result window: from behind the selection,
// case ignored, the hit painted large and the caret one behind its start.
bool searchFromSelection(EditorView& view, const std::string& term);

}  // namespace pictra::search
