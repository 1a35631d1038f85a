#pragma once

#include <string>

#include "html/Entities.h"

namespace pictra::preview {

// A plain text (Windows-1252) as a page in the given font size: blank-line runs
// become one paragraph break, dash lines stand apart, and a text without blank
// lines (or a line indented by a blank) keeps its line breaks.
std::string plainTextPage(const std::string& text, long long fontSize, EntityTable& entities);

// True when the text is a page already rather than plain text.
bool isHtmlText(const std::string& text);

}  // namespace pictra::preview
