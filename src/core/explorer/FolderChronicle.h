#pragma once

#include <string>
#include <vector>

namespace pictra::explorer {

// The folders clicked so far, shared by both explorers: kept sorted, at most 25,
// stored in the explorer folder list file between runs. Folders added in this
// run survive trimming as long as older ones exist.
class FolderChronicle {
public:
    static constexpr size_t kLimit = 25;

    void setEntries(std::vector<std::string> entries);
    const std::vector<std::string>& entries() const { return m_entries; }

    void add(const std::string& folder);
    void clear() { m_entries.clear(); }

    // What the "Chr" menu lists: entries longer than three characters for which `exists` holds.
    template <typename Exists>
    std::vector<std::string> menuEntries(Exists exists) const {
        std::vector<std::string> out;
        for (const auto& e : m_entries) {
            if (e.size() > 3 && exists(e)) out.push_back(e);
        }
        return out;
    }

private:
    void sort();
    bool addedThisRun(const std::string& folder) const;

    std::vector<std::string> m_entries;
    std::vector<std::string> m_runFolders;
};

}  // namespace pictra::explorer
