#pragma once

#include <string>
#include <vector>

#include "html/Entities.h"
#include "settings/SettingsStore.h"
#include "shell/EditorView.h"

// The "Text und Browser" window's building blocks and the page its text is shown in.
namespace pictra::preview {

// What choosing a building block does beyond inserting its snippet.
enum class BlockKind {
    Snippet,            // the snippet (and its message, if any)
    MessageOnly,        // only the message
    SpecialCharacters,  // the special-character dialog
    TableForm,          // the table-writing form
    EditorPicture,      // the picture of the picture editor, saved as the program's ".bmp"
    LinkPage,           // a small page written as the program's ".html", linked
};

struct BuildingBlock {
    const char* objectName;
    const char* caption;
    BlockKind kind;
    const char* snippet;  // "\r" between lines, as the table gives it
    // Characters the caret goes back from the end of the inserted text (snippet and CR LF),
    // counted with a line break as two characters.
    int caretBack;
    const char* message;  // empty for none
};

const std::vector<BuildingBlock>& buildingBlocks();
const BuildingBlock* findBlock(const std::string& caption);

inline constexpr const char* kLinkTargetPage = "<html><body><h1>mit Taste oder Knopf\"<-\"</h1></body></html>";

// Line breaks ("\r", "\n" or CR LF) as CR LF.
std::string withCrLf(const std::string& text);

// Inserts `snippet` and a line break at the caret (nothing replaced) and moves the
// caret `caretBack` characters back (CR LF counted as two, as in the table).
void insertSnippet(EditorView& view, const std::string& snippet, int caretBack);

// The element of "Bild einfügen" for the picture saved as `bmpPath`, and of "Link einfügen" for `pagePath`.
std::string editorPictureSnippet(const std::string& bmpPath);
std::string linkPageSnippet(const std::string& pagePath);

// The page the window shows for its text: CR LF, entities encoded, and without "<html"
// wrapped in a body with the margins "Rand oben", "Rand links" and "Rand rechts".
std::string textPreviewPage(const std::string& text, EntityTable& entities, const SettingsStore& store);

// The colouring kinds the window is opened with: 1 tables, 2 lists, 3 links, 999 all
// of them and the text elements; other kinds none.
enum class ColouringPart { Tables, Lists, Links, TextElements };
std::vector<ColouringPart> colouringOf(int kind);

// "Zeilen mit Leerstellen auffüllen": every line filled with blanks to the longest one's length.
std::string padLines(const std::string& text);
// "überflüssige Leerstellen entfernen": runs of blanks as one, none at a line's end.
std::string removeSurplusBlanks(const std::string& text);

}  // namespace pictra::preview
