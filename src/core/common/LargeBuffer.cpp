#include "LargeBuffer.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace pictra::common {

void adviseLarge(const void* data, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    if (bytes < kHuge) return;
    // Only whole large pages inside the buffer; a refusal leaves ordinary pages, which work as before.
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t last = (begin + bytes) & ~(kHuge - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

void reserveLarge(std::string& text, std::size_t bytes) {
    text.reserve(bytes);
    adviseLarge(text.data(), text.capacity());
}

}  // namespace pictra::common
