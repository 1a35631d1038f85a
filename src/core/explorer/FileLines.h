#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

// The explorer's file list: one line per file, "name | attributes and size | date".
namespace pictra::explorer {

// One entry of a folder as the file list needs it. Names are the file system's bytes.
struct FileEntry {
    std::string name;
    std::uintmax_t size = 0;
    std::time_t modified = 0;
    bool readOnly = false;  // "R": the owner may not write
    bool hidden = false;    // "H": the name begins with "."
    bool system = false;    // "S": not a regular file (FIFO, socket, device)
    bool directory = false;
};

struct FileLine {
    std::string text;  // as shown
    std::string name;  // the file's real name, whatever the line holds
};

// "### ### ##0": groups of three digits separated by blanks.
std::string formatSize(std::uintmax_t size);
// "dd.mm.yy ddd hh:mm" in local time with German weekday abbreviations.
std::string formatDate(std::time_t time);
std::string attributeLetters(const FileEntry& entry);

// ".htm" or ".php" in the extension and no "zz" at the start of the name.
bool isWebPage(const std::string& name);

// The lines of every file (not folder) of the listing, sorted by their whole
// text ignoring case, so that web pages (one leading blank) come first. Names are
// padded to the longest name up to 40 characters; longer names are not cut.
std::vector<FileLine> buildFileLines(const std::vector<FileEntry>& entries);

// Subfolder count + " Ordner / " + file count + " Datei"/" Dateien" + two blanks + folder.
std::string listingCaption(int folders, int files, const std::string& folder);

// The path a line stands for: the text up to the first "|" (the whole line
// without one), trimmed, behind the folder and a separator.
std::string pathOfLine(const std::string& folder, const std::string& line);

// "-->" + ten-digit size + blank + full path: a result line of the largest-files search.
bool isSpecialLine(const std::string& line);
std::string specialLinePath(const std::string& line);

// Sum of the size parts of the lines (digits and "-" only, 0 when none is left).
long long sumOfSizes(const std::vector<std::string>& lines);

// Lines holding `term` (UTF-8 like the lines), case ignored unless `matchCase`.
std::vector<int> simpleSearch(const std::vector<std::string>& lines, const std::string& term, bool matchCase);

// The window caption while files are selected, one or several:
// "Größe der ausgewählten Dateien: " + the sum of the selected lines' sizes.
std::string selectionCaption(const std::vector<std::string>& selectedLines);

// The status text of a clicked file: its type name, " (", the command that opens
// files of that type, ")".
std::string fileTypeStatus(const std::string& typeName, const std::string& openCommand);

}  // namespace pictra::explorer
