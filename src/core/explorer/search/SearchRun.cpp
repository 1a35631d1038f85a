#include "explorer/search/SearchRun.h"

#include "common/Text.h"
#include "explorer/FileLines.h"
#include "explorer/walk/FolderWalk.h"

namespace pictra::filesearch {

std::string resultLine(const Hit& hit) {
    if (hit.unreadable) return hit.path + " | konnte nicht durchsucht werden";
    return hit.path + "|" + explorer::formatSize(hit.size) + "|" + explorer::formatDate(hit.modified);
}

std::string pathOfResultLine(const std::string& line) { return text::trim(line.substr(0, line.find('|'))); }

std::optional<bool> testFile(const Criteria& criteria, const ContentMatcher& matcher,
                             ContentMatcher::Scanner& scanner, const std::string& path, bool regular) {
    const NameFacts names = nameFacts(criteria, path);
    if (settled(criteria, names, 0) || matcher.empty() || !regular || isUnreadExtension(path))
        return decide(criteria, names, 0);
    const auto found =
        matcher.scanFile(scanner, path, [&](unsigned bits) { return settled(criteria, names, bits); });
    if (!found) return std::nullopt;
    return decide(criteria, names, *found);
}

SearchRun::SearchRun(Criteria criteria, std::string root, bool recursive, std::time_t now, Engine engine)
    : m_criteria(std::move(criteria)),
      m_root(std::move(root)),
      m_recursive(recursive),
      m_now(now),
      m_matcher(m_criteria, engine) {}

SearchRun::~SearchRun() {
    stop();
    if (m_thread.joinable()) m_thread.join();
}

void SearchRun::start(unsigned threads) {
    m_thread = std::thread([this, threads] { work(threads); });
}

void SearchRun::stop() {
    m_stop = true;
    m_news.notify_all();
}

void SearchRun::add(Hit hit) {
    {
        std::lock_guard lock(m_mutex);
        m_hits.push_back(std::move(hit));
    }
    m_news.notify_all();
}

void SearchRun::work(unsigned threads) {
    walk::WalkOptions options;
    options.recursive = m_recursive;
    walk::WalkSink sink;
    sink.unreadable = [this](const std::string& path) { add(Hit{path, 0, 0, true}); };
    sink.file = [this](const walk::WalkFile& file) {
        thread_local std::unique_ptr<ContentMatcher::Scanner> scanner;
        thread_local const ContentMatcher* scannerOf = nullptr;
        if (scannerOf != &m_matcher) {
            scanner = std::make_unique<ContentMatcher::Scanner>(m_matcher);
            scannerOf = &m_matcher;
        }
        ++m_files;
        {
            std::unique_lock lock(m_mutex, std::try_to_lock);
            if (lock) m_current = file.path;
        }
        if (!withinLimits(m_criteria, file.size, file.modified, m_now)) return;
        const auto hit = testFile(m_criteria, m_matcher, *scanner, file.path, file.regular);
        if (!hit) add(Hit{file.path, 0, 0, true});
        else if (*hit) add(Hit{file.path, file.size, file.modified, false});
    };
    walk::walkParallel(m_root, options, sink, m_stop, threads);
    m_finished = true;
    m_news.notify_all();
}

void SearchRun::waitForNews(std::chrono::milliseconds longest) {
    std::unique_lock lock(m_mutex);
    m_news.wait_for(lock, longest, [this] { return m_finished.load() || m_stop.load(); });
}

std::vector<Hit> SearchRun::takeHits() {
    std::lock_guard lock(m_mutex);
    std::vector<Hit> hits;
    hits.swap(m_hits);
    return hits;
}

std::string SearchRun::currentPath() const {
    std::lock_guard lock(m_mutex);
    return m_current;
}

}  // namespace pictra::filesearch
