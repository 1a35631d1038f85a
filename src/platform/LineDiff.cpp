#include "LineDiff.h"

#include <git2.h>
#include <git2/sys/alloc.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "explorer/compare/LargePages.h"

namespace pictra::platform {

namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + 1;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

int onHunk(const git_diff_delta*, const git_diff_hunk* hunk, void* payload) {
    auto* hunks = static_cast<std::vector<compare::Hunk>*>(payload);
    // git counts from 1 and names the line before an insertion; here a stretch
    // starts at its first line, or before the line an insertion goes in front of.
    const auto start = [](int begin, int count) {
        return static_cast<std::size_t>(count > 0 ? begin - 1 : begin);
    };
    hunks->push_back({start(hunk->old_start, hunk->old_lines), static_cast<std::size_t>(hunk->old_lines),
                      start(hunk->new_start, hunk->new_lines), static_cast<std::size_t>(hunk->new_lines)});
    return 0;
}

// libgit2 takes some 140 bytes a line in many small pieces, all given back before
// the diff returns. From fresh memory every 4 KB page of that costs a page fault,
// and on a busy machine those faults took longer than the diff itself; so while a
// diff runs, the pieces come one after the other from a region on large pages,
// which the aligning after it uses again. What libgit2 might keep beyond the call
// (an error text) keeps its region alive.
class Arena {
public:
    static constexpr std::size_t kHeader = 16;

    explicit Arena(std::size_t bytes) : m_size(bytes) {
        m_base = static_cast<char*>(compare::takePages(bytes));
        if (!m_base) m_size = 0;
    }
    ~Arena() { compare::givePages(m_base, m_size); }
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;

    bool holds(const void* p) const {
        return m_base && static_cast<const char*>(p) >= m_base && static_cast<const char*>(p) < m_base + m_size;
    }
    std::size_t live() const { return m_live; }

    // nullptr when full: the caller takes ordinary memory then.
    void* take(std::size_t n) {
        const std::size_t need = (n + kHeader + 15) / 16 * 16;
        if (!m_base || need > m_size - m_used) return nullptr;
        char* block = m_base + m_used;
        m_used += need;
        std::memcpy(block, &n, sizeof n);
        ++m_live;
        return block + kHeader;
    }
    void give(const void* p) {
        (void)p;
        --m_live;
    }
    static std::size_t sizeOf(const void* p) {
        std::size_t n = 0;
        std::memcpy(&n, static_cast<const char*>(p) - kHeader, sizeof n);
        return n;
    }

private:
    char* m_base = nullptr;
    std::size_t m_size = 0;
    std::size_t m_used = 0;
    std::size_t m_live = 0;
};

thread_local Arena* t_arena = nullptr;
std::mutex g_keptMutex;
std::vector<Arena*> g_kept;  // regions with pieces still in libgit2's hands

Arena* arenaHolding(const void* p) {
    if (!p) return nullptr;
    if (t_arena && t_arena->holds(p)) return t_arena;
    std::lock_guard lock(g_keptMutex);
    for (Arena* arena : g_kept) {
        if (arena->holds(p)) return arena;
    }
    return nullptr;
}

void* take(std::size_t n) {
    if (t_arena) {
        if (void* p = t_arena->take(n)) return p;
    }
    return std::malloc(n);
}

void give(void* p) {
    if (Arena* arena = arenaHolding(p)) {
        arena->give(p);
        return;
    }
    std::free(p);
}

void* retake(void* p, std::size_t n) {
    Arena* arena = arenaHolding(p);
    if (!arena) {
        if (t_arena && !p) return take(n);
        return std::realloc(p, n);
    }
    const std::size_t old = Arena::sizeOf(p);
    if (n <= old) return p;
    void* grown = take(n);
    if (grown) {
        std::memcpy(grown, p, old);
        arena->give(p);
    }
    return grown;
}

bool product(std::size_t a, std::size_t b, std::size_t& out) { return !__builtin_mul_overflow(a, b, &out); }

git_allocator arenaAllocator() {
    git_allocator a{};
    a.gmalloc = [](std::size_t n, const char*, int) { return take(n); };
    a.gcalloc = [](std::size_t count, std::size_t size, const char*, int) -> void* {
        std::size_t n = 0;
        if (!product(count, size, n)) return nullptr;
        void* p = take(n);
        if (p) std::memset(p, 0, n);
        return p;
    };
    a.gstrdup = [](const char* s, const char*, int) -> char* {
        const std::size_t n = std::strlen(s) + 1;
        auto* p = static_cast<char*>(take(n));
        if (p) std::memcpy(p, s, n);
        return p;
    };
    a.gstrndup = [](const char* s, std::size_t n, const char*, int) -> char* {
        const std::size_t length = ::strnlen(s, n);
        auto* p = static_cast<char*>(take(length + 1));
        if (p) {
            std::memcpy(p, s, length);
            p[length] = '\0';
        }
        return p;
    };
    a.gsubstrdup = [](const char* s, std::size_t n, const char*, int) -> char* {
        auto* p = static_cast<char*>(take(n + 1));
        if (p) {
            std::memcpy(p, s, n);
            p[n] = '\0';
        }
        return p;
    };
    a.grealloc = [](void* p, std::size_t n, const char*, int) { return retake(p, n); };
    a.greallocarray = [](void* p, std::size_t count, std::size_t size, const char*, int) -> void* {
        std::size_t n = 0;
        return product(count, size, n) ? retake(p, n) : nullptr;
    };
    a.gmallocarray = [](std::size_t count, std::size_t size, const char*, int) -> void* {
        std::size_t n = 0;
        return product(count, size, n) ? take(n) : nullptr;
    };
    a.gfree = [](void* p) { give(p); };
    return a;
}

void start() {
    git_libgit2_init();
    static git_allocator allocator = arenaAllocator();
    git_libgit2_opts(GIT_OPT_SET_ALLOCATOR, &allocator);
}

std::once_flag g_started;

void startOnce() { std::call_once(g_started, start); }

// Starting libgit2 reads the system's certificates for its network part: 5 to 12 ms
// that a diff of buffers does not need but cannot skip, spent beforehand on a thread.
struct Preparing {
    std::mutex mutex;
    std::thread thread;
    ~Preparing() {
        if (thread.joinable()) thread.join();
    }
    void wait() {
        std::lock_guard lock(mutex);
        if (thread.joinable()) thread.join();
    }
};

Preparing& preparing() {
    static Preparing p;
    return p;
}

}  // namespace

void prepareLineDiff() {
    Preparing& p = preparing();
    std::lock_guard lock(p.mutex);
    if (!p.thread.joinable()) p.thread = std::thread(startOnce);
}

std::vector<compare::Hunk> diffTexts(std::string_view oldText, std::string_view newText) {
    preparing().wait();
    startOnce();
    git_diff_options options = GIT_DIFF_OPTIONS_INIT;
    options.flags = GIT_DIFF_FORCE_TEXT;
    options.context_lines = 0;
    options.interhunk_lines = 0;
    std::vector<compare::Hunk> hunks;
    const auto lines = [](std::string_view text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); };
    // Room for what libgit2 takes, some 140 bytes a line; should it need more, the
    // rest comes from the ordinary heap.
    auto* arena = new Arena(192 * (lines(oldText) + lines(newText)) + (std::size_t{8} << 20));
    t_arena = arena;
    git_diff_buffers(oldText.data(), oldText.size(), nullptr, newText.data(), newText.size(), nullptr, &options,
                     nullptr, nullptr, onHunk, nullptr, &hunks);
    t_arena = nullptr;
    if (arena->live() == 0) {
        delete arena;
    } else {
        std::lock_guard lock(g_keptMutex);
        g_kept.push_back(arena);
    }
    return hunks;
}

std::vector<compare::Hunk> diffLines(const std::vector<std::string>& oldLines, const std::vector<std::string>& newLines) {
    return diffTexts(joined(oldLines), joined(newLines));
}

}  // namespace pictra::platform
