#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pictra {

// All settings of the program as an ordered list of lines "section|key = value"
// (list values: "section|key|0007| = line"). First match wins; the empty value
// means absent. Texts are UTF-8.
class SettingsStore {
public:
    std::string readValue(std::string_view section, std::string_view key) const;
    // An empty value deletes the key; a new key is appended at the end.
    void writeValue(std::string_view section, std::string_view key, std::string_view value);

    // The lines of a list value joined with CR LF.
    std::string readList(std::string_view section, std::string_view key) const;
    // Empty lines are not stored but use up their number.
    void writeList(std::string_view section, std::string_view key, std::string_view text);

    void deletePrefix(std::string_view prefix);

    const std::vector<std::string>& lines() const { return m_lines; }
    void setLines(std::vector<std::string> lines) { m_lines = std::move(lines); }

    // The whole store, one entry per line, CR LF between the lines.
    std::string text() const;

    // Integer of a value; `fallback` when absent or not a number.
    long long readInt(std::string_view section, std::string_view key, long long fallback) const;

private:
    std::vector<std::string> m_lines;
};

// Sorts alphabetically ignoring (ASCII) case; stable, so list lines keep their order.
void sortSettingsLines(std::vector<std::string>& lines);

}  // namespace pictra
