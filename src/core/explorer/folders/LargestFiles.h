#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The largest files of a tree: a bounded heap that keeps the n largest seen so
// far, whatever order the files come in.
namespace pictra::folders {

inline constexpr std::uintmax_t kLargeFileBytes = 9999999;  // only files above this count
inline constexpr std::size_t kLargestKept = 100;

struct SizedPath {
    std::uintmax_t size = 0;
    std::string path;
};

class LargestFiles {
public:
    explicit LargestFiles(std::size_t keep = kLargestKept) : m_keep(keep) {}
    // Files of kLargeFileBytes or less are ignored.
    void add(std::uintmax_t size, const std::string& path);
    // Merges what another collector found (the workers keep one each).
    void merge(const LargestFiles& other);
    // Smallest first; equal sizes by path.
    std::vector<SizedPath> sorted() const;

private:
    std::size_t m_keep;
    std::vector<SizedPath> m_heap;  // min-heap on size: its front is the first to go
};

// "-->" + the size with leading zeros to ten digits (more when it needs them) + " " + path.
std::string largestFileLine(const SizedPath& file);

}  // namespace pictra::folders
