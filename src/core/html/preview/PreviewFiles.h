#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "common/Dialogs.h"
#include "explorer/RecycleBin.h"

namespace pictra::preview {

inline constexpr std::uintmax_t kMaxIncludeBytes = 10u * 1024 * 1024;

// True when the text holds a line the include expansion would look at.
bool hasIncludes(const std::string& text);

// Every line holding " include" but not "counter" is replaced by the file named
// between its first pair of quotes (single or double), relative to `folder`
// (with a trailing "/"). A line without a quoted name stays; so does one whose
// file is no regular file of at most 10 MB, with a message.
std::string expandIncludes(const std::string& text, const std::string& folder, Dialogs& dialogs);

// The temporary pages this run writes. A file of that name the program did not
// write (the user's own "tmp.html") goes to the own recycle bin before it is replaced.
class PreviewFiles {
public:
    PreviewFiles(std::string binFolder, bin::Date today) : m_binFolder(std::move(binFolder)), m_today(today) {}

    // False when the page could not be written (nothing of the user's is lost then).
    bool write(const std::string& path, const std::string& bytes);
    bool wroteLast(const std::string& path) const;

private:
    struct Stamp {
        std::uintmax_t size;
        std::filesystem::file_time_type time;
    };
    std::string m_binFolder;
    bin::Date m_today;
    std::map<std::string, Stamp> m_written;
};

}  // namespace pictra::preview
