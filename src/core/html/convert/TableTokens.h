#pragma once

#include <string>
#include <vector>

// The token reader of the HTML table conversion: a line is broken into the
// structural marks "<tr>", "</tr>", "<td>", "</td>" (header cells count as
// ordinary cells) and pieces of cell text. Every other tag stays in the text.
namespace pictra::html::convert {

struct TableTokens {
    std::vector<std::string> tokens;
    // A row or cell tag without its ">": what followed it on the line is lost.
    bool unclosedTag = false;
};

// The split rule, applied without recursion: the first kind present among
// "<tr", "<th", "<td", "</tr", "</th", "</td" (in that order of preference,
// any case) splits the text into the part before it, a mark, and the part
// after the next ">"; both parts are split further; a text without any of
// them is one trimmed token (none when empty).
void appendLineTokens(const std::string& line, TableTokens& out);

}  // namespace pictra::html::convert
