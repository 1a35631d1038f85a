#pragma once

#include <string>
#include <vector>

// Rules of the document list that do not need the editors.
namespace pictra::documents {

inline constexpr const char* kUnnamed = "?";

// The file-name part of a path (behind the last "/").
std::string fileNamePart(const std::string& path);

// Tab caption: the file-name part, with "*" when the document is modified. An
// empty document and a non-text file (name ending in "~") never carry the mark.
std::string tabCaption(const std::string& fileName, bool modified);
bool captionShowsModified(const std::string& caption);

// Window caption: file name + "[" + lines + "]  " + alarm times; a star table
// (first line begins with "*") does not count its two heading lines.
std::string windowCaption(const std::string& fileName, int lineCount, bool firstLineIsStar,
                          const std::string& alarmTimes);

// Index of the first document with this path (ignoring case), -1 when none.
int findOpen(const std::vector<std::string>& fileNames, const std::string& path);

struct MenuEntry {
    std::string caption;
    std::string hint;
    bool startsColumn = false;
};

inline constexpr const char* kExplorerEntry = "spezieller Dateienexplorer";

// The right-click document menu: one entry per document, then the explorer entry;
// from the 31st entry on, every 30th starts a new column.
std::vector<MenuEntry> documentMenu(const std::vector<std::string>& fileNames);

// What the first argument asks to open at start: without arguments "index.html"
// beside the program when it exists; control characters (code 12 and below) removed.
// A relative name counts from the folder the program was started in.
std::string startRequest(const std::vector<std::string>& arguments, const std::string& programFolder,
                         bool indexExists, const std::string& workingFolder);

}  // namespace pictra::documents
