// libFuzzer target: any text through the HTML structuring and checks, the star
// table reader and writer, and the line tools. None of them may crash or read
// outside the text, whatever the text holds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "html/HtmlRewrites.h"
#include "html/Indentation.h"
#include "html/TagCheck.h"
#include "common/Text.h"
#include "shell/editing/LineTools.h"
#include "shell/editing/Search.h"
#include "tables/StarTable.h"

using namespace pictra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int caret = size > 0 ? data[0] % static_cast<int>(size + 1) : 0;
    (void)html::indentByNesting(text, [](const std::string&) {});
    (void)html::countTags(text, [] { return true; });
    (void)html::checkSingleTag(text, "b");
    (void)html::structureTableAt(text, caret);
    (void)html::structureListAt(text, caret);
    (void)html::trimElementContents(text, "a");
    (void)html::blankParagraphTags(text);
    (void)html::blankDeclarations(text);
    (void)html::blankRowAndCellAttributes(text);
    (void)html::stampedDoctype(text);
    const auto lines = text::splitLines(text);
    (void)html::wikiToHtml(lines);
    (void)html::compressCss(lines);
    (void)html::paragraphsFromBreaks(lines);
    (void)html::boldWeekdays(lines);
    (void)html::clipboardWithBreaks(text);
    const tables::Grid grid = tables::readStarTable(text);
    (void)tables::writeStarTable(grid, caret % 2);
    (void)linetools::sortedText(text, caret % 2 == 1, "\n");
    (void)linetools::takeRectangle(lines, caret, static_cast<int>(size) - caret, text, true);
    (void)linetools::pasteRectangle(lines, caret % 7, caret % 13, text);
    (void)search::plainLines(lines, caret % 9);
    (void)search::tabsToTable(lines, [] {});
    return 0;
}
