#pragma once

#include <functional>
#include <string>

// "Tags zählen" and "Einzelnes Tag überprüfen": the checks of hand-written HTML.
// Reports are Windows-1252 like the document they quote.
namespace pictra::html {

struct TagCount {
    std::string report;      // for the text window "Zählergebnis"
    std::string suggestion;  // the last start tag whose end tags do not match ("" when none)
};

// The whole document (Windows-1252). `keepGoing` is asked after every line of
// the scan and stops it when it returns false.
TagCount countTags(const std::string& text, const std::function<bool()>& keepGoing);

// The report of the single-tag check for tag name `tag` (without "<" and ">").
std::string checkSingleTag(const std::string& text, const std::string& tag);

}  // namespace pictra::html
