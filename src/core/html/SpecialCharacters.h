#pragma once

#include <string>
#include <vector>

// The special-character dialog "HTM- Sonderzeichen": its rows and what a key
// press in it does.
namespace pictra::special {

struct Row {
    char key;             // '_' for a section heading
    std::string snippet;  // as shown and inserted ("_" already turned into blanks)
    std::string remark;   // UTF-8
};

// The rows in their order; `today` is the date the row "H" inserts.
std::vector<Row> rows(const std::string& today);

enum class Outcome {
    Ignored,  // "_": nothing happens, the dialog stays
    Cancel,   // Esc
    Unknown,  // no row: error tone, the dialog stays
    Quote,    // the selection is put in „ “ at once
    Insert,   // the text replaces the selection
};

struct Result {
    Outcome outcome = Outcome::Ignored;
    std::string text;  // Windows-1252
};

// A key press (Windows-1252 character; control characters as typed) with the
// editor's selection (CR LF between lines).
Result pressKey(char key, const std::string& selection, const std::string& today);

// Where the caret goes after an insertion: right behind the first ">" of the
// inserted text when there was no selection, the caret was not at the start and
// the text has a ">"; otherwise -1 (behind the inserted text).
int caretAfterInsert(const std::string& inserted, int insertStart, bool hadSelection);

}  // namespace pictra::special
