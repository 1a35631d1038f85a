#pragma once

#include <optional>
#include <string>
#include <vector>

#include "settings/ProgramPaths.h"
#include "settings/SettingsStore.h"

// Names and text rules of loading and saving documents.
namespace pictra::filerules {

// Extension from the last "." of the file-name part, with the dot ("" when none).
std::string extensionOf(const std::string& path);
std::string folderOf(const std::string& path);  // with a trailing "/"

// ".doc", ".pdf", anything with ".mp" and the like: never plain text.
bool isNonTextExtension(const std::string& path);
// The lower-cased name contains a picture extension.
bool hasPictureExtension(const std::string& path);

// Setting `Temp` with a trailing "/" when it is set and can be created, else the program folder.
std::string temporaryFolder(const SettingsStore& store, const ProgramPaths& paths);
std::string temporaryName(const SettingsStore& store, const ProgramPaths& paths, const std::string& suffix);
// "tmp" + hour + "uhr.html" in the temporary folder.
std::string hourFileName(const SettingsStore& store, const ProgramPaths& paths, int hour);
// The hour file for unnamed documents, else "tmp.html" in the document's folder.
std::string previewFileName(const SettingsStore& store, const ProgramPaths& paths, const std::string& fileName,
                            int hour);

// The caret trailer: the last line of a saved file holds caret / 100 blanks.
std::string caretTrailer(int caret);
// Removes a last line of only blanks (or empty) and returns the caret it stands
// for (100 × blanks + 50); nullopt when there is no such line.
std::optional<int> takeCaretTrailer(std::vector<std::string>& lines);

// A loaded file's bytes as the editor takes them, in one pass: every line end
// (CR LF, CR or LF) as CR LF, none after the last line, and the caret trailer
// taken off. The same as splitting into lines, taking the trailer and joining.
struct LoadedText {
    std::string text;
    std::optional<int> caret;
};
LoadedText loadedText(std::string_view bytes);

// The lines a save writes: trailing blanks removed, empty lines at the end dropped, the trailer appended.
std::vector<std::string> linesToSave(std::vector<std::string> lines, int caret);

// The first 800 characters hold "<html" (any case).
bool isHtml(const std::string& text);
// For HTML, an extension without "h" and "p" becomes ".html".
std::string htmlPath(const std::string& path);

// Codes below 7 as decimal numbers each followed by a blank, until the list is longer than 60 characters.
std::string controlCodes(const std::string& text);

}  // namespace pictra::filerules
