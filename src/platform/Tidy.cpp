#include "Tidy.h"

#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

namespace pictra::platform {

TidyResult tidyPage(const std::string& cp1252Page) {
    TidyResult result;
    TidyDoc doc = tidyCreate();
    TidyBuffer output{};
    TidyBuffer errors{};
    // "--wrap 120 --indent yes -clean"; the page stays in the document's code page.
    tidyOptSetInt(doc, TidyWrapLen, 120);
    tidyOptSetInt(doc, TidyIndentContent, TidyYesState);
    tidyOptSetBool(doc, TidyMakeClean, yes);
    tidyOptSetBool(doc, TidyForceOutput, no);
    tidyOptSetValue(doc, TidyInCharEncoding, "win1252");
    tidyOptSetValue(doc, TidyOutCharEncoding, "win1252");
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

}  // namespace pictra::platform
