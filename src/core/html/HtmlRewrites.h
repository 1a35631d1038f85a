#pragma once

#include <optional>
#include <string>
#include <vector>

// The small rewrites of hand-written HTML: structuring a table or list, cleaning
// tags and blanks, paragraphs, the light wiki markup and the page skeleton. All
// text is Windows-1252; lines are without line ends.
namespace pictra::html {

using Lines = std::vector<std::string>;

// "überlange Zeilen umbrechen": each line on its own at 120 characters.
Lines wrapLongLines(const Lines& lines);
// Text lines outside "<pre>" blocks trimmed and set three blanks in.
Lines indentTextOutsidePre(const Lines& lines);

// "Tabelle/Listen an Cursorpostion strukturieren": the new text, or the message
// why nothing changes.
struct Structured {
    std::string text;
    std::string message;  // UTF-8; empty when the text was structured
};
Structured structureTableAt(const std::string& text, int caret);
Structured structureListAt(const std::string& text, int caret);

// The content of every element `name` trimmed (an empty content becomes one blank).
std::string trimElementContents(const std::string& text, const std::string& name);
// "<td" to "<th" and "</td" to "</th".
std::string cellsToHeaders(const std::string& text);
// "<br><br> ersetzen durch </p><p>" (documents of three lines or more).
Lines paragraphsFromBreaks(const Lines& lines);
inline constexpr const char* kParagraphStyle =
    "    <style type=\"text/css\">\r\n      p{margin: 0; padding: 0.25em;}\r\n    </style>";
inline constexpr const char* kParagraphMessage =
    "Erganzen Sie noch das erste \"<p>\" und das letzte \"</p\">\rUnd vor \"</head>\"\r<style type=\"text/css\">\rp{margin: "
    "0; padding: 0.25em;}\r</style>\r\r(Steht in der Zwischenablage.";
// Ctrl+P and Ctrl+D: the lines set in by two blanks between "<p class=\"\">" (or div) and its end tag.
std::string wrapInClassElement(const Lines& lines, const std::string& element);
// "\"<p \"und \"</p>\" entfernen" and "\"<!..\" entfernen": the tags become blanks.
std::string blankParagraphTags(std::string text);
std::string blankDeclarations(std::string text);
// "Text nach \"<td\" und \"<tr\" entfernen": attributes of rows and cells become blanks.
std::string blankRowAndCellAttributes(std::string text);
// Outside "<pre>" every run of blanks becomes one blank.
Lines singleBlanksOutsidePre(const Lines& lines);
// From `column` (counted from 1) on every blank goes.
Lines removeBlanksFrom(const Lines& lines, int column);
// "Sonntag" ... "Samstag" bold, and the time up to "Uhr".
Lines boldWeekdays(const Lines& lines);
// "CSS komprimieren": one line per rule.
Lines compressCss(const Lines& lines);
// "Metatag Description zufügen": the new text, or the message (UTF-8) why not.
Structured addDescription(const std::string& text, const std::string& description);
inline constexpr const char* kMsgDescriptionExists = "Metatag <meta name=\"Description\" CONTENT=\"\"> schon vorhanden";
inline constexpr const char* kMsgNoTitle = "Abbruch, da kein \"</title>\", in der Datei!";

// "Ausgewähltes Kelpwiki->HTML" on lines.
Lines wikiToHtml(const Lines& lines);
// "Zwischenablage einfügen, dabei Zeileumbruch wird zu \"<br>  \"".
std::string clipboardWithBreaks(const std::string& clipboard);
// "Mp3-Datei einbinden" and "FLV-Datei einbinden".
std::string playerObject(bool video);

// The page skeleton with the date as title, each line ending in CR LF.
std::string pageSkeleton(const std::string& date);
inline constexpr const char* kDoctype =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">";
// "Text in HTML-Gerüst einbetten": skeleton, old text and, when missing, the end of the page.
std::string embedInSkeleton(const std::string& text, const std::string& date);
// A name without ".htm" gets "z.html" instead of its extension ("brief.txt" -> "briefz.html").
std::string embeddedFileName(const std::string& fileName);

// Document type stamping of one file's text: nullopt when it stays as it is.
std::optional<std::string> stampedDoctype(const std::string& text);

}  // namespace pictra::html
