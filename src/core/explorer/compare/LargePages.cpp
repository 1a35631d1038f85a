#include "LargePages.h"

#include "common/LargeBuffer.h"

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace pictra::compare {

namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;
// Below this a block comes from the ordinary heap: a large page would be mostly empty.
constexpr std::size_t kLeast = std::size_t{512} << 10;

std::size_t rounded(std::size_t bytes) { return (bytes + kLargePage - 1) / kLargePage * kLargePage; }

#if defined(__linux__) && defined(MADV_HUGEPAGE)
// Memory given back stays mapped for the next buffer, up to a limit: a page the
// process has touched once costs nothing more, while a fresh one is cleared by the
// system first, and clearing was the largest part of aligning two long files. Kept
// in pieces of whole large pages; a request takes the front of the first piece
// that is big enough and leaves the rest.
class Kept {
public:
    void* take(std::size_t size) {
        std::lock_guard lock(m_mutex);
        for (std::size_t i = 0; i < m_pieces.size(); ++i) {
            Piece& piece = m_pieces[i];
            if (piece.size < size) continue;
            char* p = piece.start;
            piece.start += size;
            piece.size -= size;
            m_total -= size;
            if (piece.size == 0) m_pieces.erase(m_pieces.begin() + static_cast<std::ptrdiff_t>(i));
            return p;
        }
        return nullptr;
    }
    void give(char* p, std::size_t size) {
        {
            std::lock_guard lock(m_mutex);
            if (m_total + size <= kKeptMost) {
                m_pieces.push_back({p, size});
                m_total += size;
                return;
            }
        }
        ::munmap(p, size);
    }
    void release() {
        std::lock_guard lock(m_mutex);
        for (const Piece& piece : m_pieces) ::munmap(piece.start, piece.size);
        m_pieces.clear();
        m_total = 0;
    }

private:
    static constexpr std::size_t kKeptMost = std::size_t{96} << 20;
    struct Piece {
        char* start;
        std::size_t size;
    };
    std::mutex m_mutex;
    std::vector<Piece> m_pieces;
    std::size_t m_total = 0;
};

Kept& kept() {
    static Kept k;
    return k;
}

void* fresh(std::size_t size) {
    void* region = ::mmap(nullptr, size + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (region == MAP_FAILED) return nullptr;
    // Large pages start on a 2 MB boundary: the pieces before and after go back.
    auto* raw = static_cast<char*>(region);
    const std::size_t skip = (kLargePage - reinterpret_cast<std::uintptr_t>(raw) % kLargePage) % kLargePage;
    if (skip > 0) ::munmap(raw, skip);
    if (kLargePage - skip > 0) ::munmap(raw + skip + size, kLargePage - skip);
    common::adviseLarge(raw + skip, size);
    return raw + skip;
}
#endif

}  // namespace

void* takePages(std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (bytes >= kLeast) {
        const std::size_t size = rounded(bytes);
        if (void* p = kept().take(size)) return p;
        return fresh(size);
    }
#endif
    return std::malloc(bytes == 0 ? 1 : bytes);
}

void givePages(void* p, std::size_t bytes) {
    if (!p) return;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (bytes >= kLeast) {
        kept().give(static_cast<char*>(p), rounded(bytes));
        return;
    }
#endif
    std::free(p);
}

void releaseKeptPages() {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    kept().release();
#endif
}

PageBlock pageBlock(std::size_t bytes) {
    void* p = takePages(bytes);
    if (!p) throw std::bad_alloc();
    return PageBlock(static_cast<char*>(p), PageDeleter{bytes});
}

}  // namespace pictra::compare
