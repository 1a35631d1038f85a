#pragma once

#include <cstddef>
#include <memory>
#include <new>

// Memory for the compare's buffers of megabytes. Fresh memory costs a page fault
// for every 4 KB page on first touch, and on a busy machine the faults of reading
// two long files and laying out their rows took longer than the work itself; a
// buffer of megabytes therefore lies on 2 MB pages where the system has them.
namespace pictra::compare {

void* takePages(std::size_t bytes);
void givePages(void* p, std::size_t bytes);
// Unmaps what given-back blocks are kept for the next ones (a window closing).
void releaseKeptPages();

struct PageDeleter {
    std::size_t bytes = 0;
    void operator()(char* p) const { givePages(p, bytes); }
};
// A block of `bytes` bytes, not cleared.
using PageBlock = std::unique_ptr<char[], PageDeleter>;
PageBlock pageBlock(std::size_t bytes);

// For the grid's long vectors.
template <class T>
struct LargePageAllocator {
    using value_type = T;
    LargePageAllocator() = default;
    template <class U>
    LargePageAllocator(const LargePageAllocator<U>&) {}
    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
        void* p = takePages(n * sizeof(T));
        if (!p) throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t n) { givePages(p, n * sizeof(T)); }
    template <class U>
    bool operator==(const LargePageAllocator<U>&) const {
        return true;
    }
};

}  // namespace pictra::compare
