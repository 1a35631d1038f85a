#pragma once

#include <string>

// How deeply a page's elements stand inside one another, so that a checker that
// descends recursively is never handed a page it cannot survive.
namespace pictra::html {

// The deepest chain of open elements as a browser would build it from the page
// (Windows-1252): elements whose end tag may be left out ("p", "li", "td", ...)
// and void elements open nothing; an end tag closes its element and every one
// opened inside it; comments, declarations, scripts and style sheets are skipped.
// Linear in the page.
int nestingDepth(const std::string& page);

// The deepest page handed to Tidy. Tidy descends once per level and takes
// quadratic time in the depth; hand-written pages stay far below this.
inline constexpr int kTidyDepthLimit = 2000;

// The refusal for a page nested `depth` levels deep (UTF-8).
std::string tooDeepForTidy(int depth);

// When no thread for Tidy could be made.
inline constexpr const char* kTidyNotStarted =
    "Tidy konnte nicht gestartet werden (zu wenig Speicher?).\rDer Text bleibt unverändert.";

}  // namespace pictra::html
