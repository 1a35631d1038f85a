#pragma once

#include <functional>
#include <string>
#include <vector>

#include "TableConversion.h"
#include "common/Dialogs.h"
#include "shell/EditorView.h"

// The table and list commands on the current document's selection. Each
// changes the text in one replacement (one undo step) or not at all.
namespace pictra::html::convert {

extern const char* const kStarToHtmlQuestion;
extern const char* const kHtmlToStarQuestion;
inline constexpr const char* kHintTitle = "Tabellen in Pictra und HTML";
extern const char* const kTableHint;
extern const char* const kListHint;

// A text of a megabyte or more is converted with the cancel window open;
// smaller ones finish before the window could be seen.
inline constexpr size_t kCancelWindowFrom = size_t{1} << 20;

// The cancel window for the time of one conversion, when the text is large.
class ConversionWindow {
public:
    ConversionWindow(Dialogs& dialogs, size_t textSize);
    ~ConversionWindow();
    ConversionWindow(const ConversionWindow&) = delete;
    ConversionWindow& operator=(const ConversionWindow&) = delete;
    // What the conversion asks between rows: false once the user has clicked the window.
    const KeepGoing& keepGoing() const { return m_keepGoing; }
    // Closes the window before the command asks or tells anything more.
    void close();

private:
    Dialogs& m_dialogs;
    bool m_open;
    KeepGoing m_keepGoing;
};

// `confirm`: the menu asks first; Ctrl+A "t" and "h" do not.
bool starTableToHtml(EditorView& view, Dialogs& dialogs, bool confirm);
bool htmlTableToStar(EditorView& view, Dialogs& dialogs, bool confirm);
bool structureTable(EditorView& view, Dialogs& dialogs);
// List wrapping and the line prefixes: the selected lines (after "Den ganzen Text?"
// when nothing is selected) through `rewrite`.
bool rewriteSelectedLines(EditorView& view, Dialogs& dialogs,
                          const std::function<std::string(const std::vector<std::string>&)>& rewrite);
// "Wikipediatabelle (An Cursor \"|\")".
void insertWikiColumnAtCaret(EditorView& view);

}  // namespace pictra::html::convert
