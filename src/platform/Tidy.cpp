#include "Tidy.h"

#include <pthread.h>
#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <condition_variable>
#include <mutex>

#include "html/NestingDepth.h"

namespace pictra::platform {

namespace {

TidyResult runTidy(const std::string& cp1252Page, TidyStyle style) {
    TidyResult result;
    TidyDoc doc = tidyCreate();
    // Freeing a buffer that Tidy never wrote into needs its allocator set, or
    // libtidy dereferences null (a page with errors gets no output buffer).
    TidyBuffer output;
    TidyBuffer errors;
    tidyBufInit(&output);
    tidyBufInit(&errors);
    tidyOptSetInt(doc, TidyIndentContent, TidyYesState);
    if (style == TidyStyle::Document) {
        // "--wrap 120 --indent yes -clean"
        tidyOptSetInt(doc, TidyWrapLen, 120);
        tidyOptSetBool(doc, TidyMakeClean, yes);
    }
    tidyOptSetBool(doc, TidyForceOutput, no);
    tidyOptSetValue(doc, TidyInCharEncoding, "win1252");
    // A page file keeps its special characters as entities, as the program saves
    // pages; a document in the editor keeps them as characters.
    tidyOptSetValue(doc, TidyOutCharEncoding, style == TidyStyle::Document ? "win1252" : "ascii");
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

TidyResult refusal(std::string message) {
    TidyResult result;
    result.refused = true;
    result.errors = std::move(message);
    return result;
}

TidyResult waitedFor(const std::string& page, TidyStyle style) {
    TidyJob job(page, style);
    while (!job.finished(std::chrono::hours(1))) {
    }
    return job.result();
}

}  // namespace

struct TidyJob::Shared {
    std::mutex mutex;
    std::condition_variable ready;
    bool done = false;
    std::string page;
    TidyStyle style = TidyStyle::Document;
    TidyResult result;

    void finish(TidyResult r) {
        {
            const std::lock_guard lock(mutex);
            result = std::move(r);
            done = true;
        }
        ready.notify_all();
    }

    // The thread holds its own reference, so an abandoned job stays valid until it ends.
    static void* run(void* argument) {
        std::unique_ptr<std::shared_ptr<Shared>> self(static_cast<std::shared_ptr<Shared>*>(argument));
        Shared& s = **self;
        TidyResult r = runTidy(s.page, s.style);
        s.page.clear();
        s.finish(std::move(r));
        return nullptr;
    }
};

TidyJob::TidyJob(const std::string& cp1252Page, TidyStyle style, int depthLimit)
    : m_shared(std::make_shared<Shared>()) {
    const int depth = html::nestingDepth(cp1252Page);
    if (depth > depthLimit) {
        m_shared->finish(refusal(html::tooDeepForTidy(depth)));
        return;
    }
    m_shared->page = cp1252Page;
    m_shared->style = style;
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, kTidyStackBytes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    auto* reference = new std::shared_ptr<Shared>(m_shared);
    pthread_t thread;
    const int failed = pthread_create(&thread, &attributes, &Shared::run, reference);
    pthread_attr_destroy(&attributes);
    if (failed != 0) {
        delete reference;
        m_shared->finish(refusal(html::kTidyNotStarted));
    }
}

TidyJob::~TidyJob() = default;

bool TidyJob::finished(std::chrono::milliseconds wait) {
    std::unique_lock lock(m_shared->mutex);
    return m_shared->ready.wait_for(lock, wait, [this] { return m_shared->done; });
}

TidyResult TidyJob::result() const {
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->result;
}

TidyResult tidyPage(const std::string& cp1252Page) { return waitedFor(cp1252Page, TidyStyle::Document); }

TidyResult tidyPageIndented(const std::string& cp1252Page) { return waitedFor(cp1252Page, TidyStyle::File); }

}  // namespace pictra::platform
