#pragma once

#include <string>
#include <vector>

// "Zeilen umbrechen": wrapping lines at a maximum width.
namespace pictra::linewrap {

// One line: longer than `width`, it breaks at the last blank at a position
// up to `width` (counted from 1, a blank at position 1 does not count) and the
// rest is wrapped again; without such a blank it stays long.
std::vector<std::string> wrapLine(const std::string& line, int width);

// Every line on its own (the whole text, no paragraph joining).
std::vector<std::string> wrapEach(const std::vector<std::string>& lines, int width);

// A selection with paragraph joining: trailing blanks go, empty lines stay as
// paragraph breaks, other line breaks become blanks, each paragraph is wrapped.
// Returns the text with CR LF between the lines.
std::string wrapParagraphs(const std::string& selection, int width);

}  // namespace pictra::linewrap
