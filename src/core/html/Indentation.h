#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Hand-written HTML re-indented by its tag nesting, and the tag/text line list
// that the indentation, the tag counter and the single-tag check share.
namespace pictra::html {

// A tag that opens nothing: "<col w" (any case), "<img ", "<meta ", "<hr ",
// "<link ", "<hr>", "<br>", "<input ", "<!".
bool isVoidTag(const std::string& tag);

// Every tag ("<" to the next ">") on a line of its own, every run of text between
// tags on another (trimmed, empty runs dropped). With `normalise` a tag's name is
// lower-cased and runs of blanks inside it become one blank. Line breaks inside a
// tag become blanks; a "<" without ">" is text.
std::vector<std::string> tagTextLines(const std::string& text, bool normalise);

// The indentation of a selection (Windows-1252, any line breaks). `report` gets
// the message of a protected block whose closing text is missing. The lines of
// the result, to be joined with CR LF.
std::vector<std::string> indentByNesting(const std::string& text, const std::function<void(const std::string&)>& report);

// The same for long texts: `keepGoing` is asked between the passes and every few
// thousand lines within them; once it says no, the work stops and nothing is returned.
std::optional<std::vector<std::string>> indentByNesting(const std::string& text,
                                                        const std::function<void(const std::string&)>& report,
                                                        const std::function<bool()>& keepGoing);

}  // namespace pictra::html
