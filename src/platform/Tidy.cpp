#include "Tidy.h"

#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

namespace pictra::platform {

namespace {

enum class Style { Document, File };

TidyResult runTidy(const std::string& cp1252Page, Style style) {
    TidyResult result;
    TidyDoc doc = tidyCreate();
    TidyBuffer output{};
    TidyBuffer errors{};
    tidyOptSetInt(doc, TidyIndentContent, TidyYesState);
    if (style == Style::Document) {
        // "--wrap 120 --indent yes -clean"
        tidyOptSetInt(doc, TidyWrapLen, 120);
        tidyOptSetBool(doc, TidyMakeClean, yes);
    }
    tidyOptSetBool(doc, TidyForceOutput, no);
    tidyOptSetValue(doc, TidyInCharEncoding, "win1252");
    // A page file keeps its special characters as entities, as the program saves
    // pages; a document in the editor keeps them as characters.
    tidyOptSetValue(doc, TidyOutCharEncoding, style == Style::Document ? "win1252" : "ascii");
    tidySetErrorBuffer(doc, &errors);
    int rc = tidyParseString(doc, cp1252Page.c_str());
    if (rc >= 0) rc = tidyCleanAndRepair(doc);
    if (rc >= 0) rc = tidyRunDiagnostics(doc);
    if (rc >= 0 && rc < 2) {
        rc = tidySaveBuffer(doc, &output);
        if (rc >= 0 && output.bp) {
            result.output.assign(reinterpret_cast<const char*>(output.bp), output.size);
            result.ok = true;
        }
    }
    if (errors.bp) result.errors.assign(reinterpret_cast<const char*>(errors.bp), errors.size);
    tidyBufFree(&output);
    tidyBufFree(&errors);
    tidyRelease(doc);
    return result;
}

}  // namespace

TidyResult tidyPage(const std::string& cp1252Page) { return runTidy(cp1252Page, Style::Document); }

TidyResult tidyPageIndented(const std::string& cp1252Page) { return runTidy(cp1252Page, Style::File); }

}  // namespace pictra::platform
