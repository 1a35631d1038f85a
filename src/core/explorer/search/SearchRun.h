#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "explorer/search/ContentMatcher.h"
#include "explorer/search/Criteria.h"

// A search over a folder tree on worker threads. The window's thread takes the
// hits as they come and steps the cancel window; the workers walk and read.
namespace pictra::filesearch {

struct Hit {
    std::string path;
    std::uintmax_t size = 0;
    std::time_t modified = 0;
    bool unreadable = false;  // could not be read: listed so the user knows it was not searched
};

// path + "|" + size + "|" + date, or path + " | konnte nicht durchsucht werden".
std::string resultLine(const Hit& hit);
// The path a result line stands for: the text up to the first "|", trimmed.
std::string pathOfResultLine(const std::string& line);

// Whether one file matches; nullopt when its content was needed and could not be read.
// `scanner` belongs to the calling thread.
std::optional<bool> testFile(const Criteria& criteria, const ContentMatcher& matcher,
                             ContentMatcher::Scanner& scanner, const std::string& path, bool regular);

class SearchRun {
public:
    SearchRun(Criteria criteria, std::string root, bool recursive, std::time_t now, Engine engine = Engine::Best);
    ~SearchRun();
    SearchRun(const SearchRun&) = delete;
    SearchRun& operator=(const SearchRun&) = delete;

    void start(unsigned threads);
    // Asks the workers to stop; they leave at their next file or block.
    void stop();
    bool finished() const { return m_finished.load(); }
    bool stopped() const { return m_stop.load(); }
    // Waits until the run ended or the time is up (hits are taken in batches).
    void waitForNews(std::chrono::milliseconds longest);
    // The hits found since the last call.
    std::vector<Hit> takeHits();
    // The file a worker looks at now (for the cancel window).
    std::string currentPath() const;
    std::uint64_t filesLookedAt() const { return m_files.load(); }

private:
    void work(unsigned threads);
    void add(Hit hit);

    Criteria m_criteria;
    std::string m_root;
    bool m_recursive;
    std::time_t m_now;
    ContentMatcher m_matcher;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_finished{false};
    std::atomic<std::uint64_t> m_files{0};
    mutable std::mutex m_mutex;
    std::condition_variable m_news;
    std::vector<Hit> m_hits;
    std::string m_current;
    std::thread m_thread;
};

}  // namespace pictra::filesearch
