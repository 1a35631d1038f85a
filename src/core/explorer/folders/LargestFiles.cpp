#include "explorer/folders/LargestFiles.h"

#include <algorithm>

namespace pictra::folders {

namespace {

// The heap's front is the entry to drop first: the smallest, and of equal sizes the last path.
bool dropsLater(const SizedPath& a, const SizedPath& b) {
    if (a.size != b.size) return a.size > b.size;
    return a.path < b.path;
}

}  // namespace

void LargestFiles::add(std::uintmax_t size, const std::string& path) {
    if (size <= kLargeFileBytes || m_keep == 0) return;
    if (m_heap.size() == m_keep) {
        const SizedPath& smallest = m_heap.front();
        if (!dropsLater({size, path}, smallest)) return;
        std::pop_heap(m_heap.begin(), m_heap.end(), dropsLater);
        m_heap.back() = {size, path};
    } else {
        m_heap.push_back({size, path});
    }
    std::push_heap(m_heap.begin(), m_heap.end(), dropsLater);
}

void LargestFiles::merge(const LargestFiles& other) {
    for (const auto& file : other.m_heap) add(file.size, file.path);
}

std::vector<SizedPath> LargestFiles::sorted() const {
    std::vector<SizedPath> files = m_heap;
    std::sort(files.begin(), files.end(), [](const SizedPath& a, const SizedPath& b) {
        return a.size != b.size ? a.size < b.size : a.path < b.path;
    });
    return files;
}

std::string largestFileLine(const SizedPath& file) {
    std::string digits = std::to_string(file.size);
    if (digits.size() < 10) digits.insert(0, 10 - digits.size(), '0');
    return "-->" + digits + " " + file.path;
}

}  // namespace pictra::folders
