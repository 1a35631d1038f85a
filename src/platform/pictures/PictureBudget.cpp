#include <algorithm>
#include <fstream>
#include <string>

#include "PictureCodecs.h"

namespace pictra::platform::pictures {

namespace {

constexpr std::uint64_t kMaxPixels = std::uint64_t{256} * 1024 * 1024;

// "MemAvailable" of the kernel: free memory plus what the caches would give back.
// Without it (another system) only the fixed limits count.
std::uint64_t availableMemory() {
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::uint64_t kilobytes = 0;
    std::string unit;
    while (meminfo >> key >> kilobytes >> unit) {
        if (key == "MemAvailable:") return kilobytes * 1024;
    }
    return UINT64_MAX;
}

}  // namespace

std::uint64_t pictureBudgetBytes() {
    const std::uint64_t available = availableMemory();
    return std::min({kMaxPixels * 4, pictra::pictures::maxBitmapBytes(),
                     available == UINT64_MAX ? UINT64_MAX : available / 4});
}

void checkPictureBudget(long long width, long long height) {
    const std::uint64_t w = static_cast<std::uint64_t>(std::max(width, 0LL));
    const std::uint64_t h = static_cast<std::uint64_t>(std::max(height, 0LL));
    // Both below 2^31, so the product cannot overflow.
    if (w > INT32_MAX || h > INT32_MAX || w * h > pictureBudgetBytes() / 4) {
        throw pictra::pictures::BitmapTooLarge("Das Bild ist zu groß für den Arbeitsspeicher (" + std::to_string(w) +
                                               " × " + std::to_string(h) + " Bildpunkte).");
    }
}

}  // namespace pictra::platform::pictures
