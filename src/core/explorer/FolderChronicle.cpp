#include "FolderChronicle.h"

#include <algorithm>

#include "common/CaseFold.h"

namespace pictra::explorer {

void FolderChronicle::setEntries(std::vector<std::string> entries) {
    std::erase_if(entries, [](const std::string& e) { return e.empty(); });
    m_entries = std::move(entries);
    sort();
}

void FolderChronicle::sort() {
    std::stable_sort(m_entries.begin(), m_entries.end(), [](const std::string& a, const std::string& b) {
        return casefold::lessUtf8(a, b);
    });
}

bool FolderChronicle::addedThisRun(const std::string& folder) const {
    return std::find(m_runFolders.begin(), m_runFolders.end(), folder) != m_runFolders.end();
}

void FolderChronicle::add(const std::string& folder) {
    if (folder.empty() || addedThisRun(folder)) return;
    m_runFolders.push_back(folder);
    if (std::find(m_entries.begin(), m_entries.end(), folder) == m_entries.end()) {
        m_entries.push_back(folder);
        sort();
    }
    while (m_entries.size() > kLimit) {
        auto older = std::find_if(m_entries.rbegin(), m_entries.rend(),
                                  [this](const std::string& e) { return !addedThisRun(e); });
        if (older != m_entries.rend()) {
            m_entries.erase(std::next(older).base());
        } else {
            m_entries.pop_back();
        }
    }
}

}  // namespace pictra::explorer
