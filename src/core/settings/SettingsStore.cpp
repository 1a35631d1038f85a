#include "SettingsStore.h"

#include <algorithm>
#include <cstdio>

#include "common/Text.h"

namespace pictra {

namespace {

// The file holds one entry per line, so a line break inside a section, key or
// value would turn its tail into a line of its own (even into another key).
std::string oneLine(std::string_view s) {
    std::string out(s);
    std::replace(out.begin(), out.end(), '\r', ' ');
    std::replace(out.begin(), out.end(), '\n', ' ');
    return out;
}

std::string valuePrefix(std::string_view section, std::string_view key) {
    std::string p;
    p.reserve(section.size() + key.size() + 4);
    p.append(oneLine(section)).append("|").append(oneLine(key)).append(" = ");
    return p;
}

std::string listPrefix(std::string_view section, std::string_view key) {
    std::string p;
    p.append(section).append("|").append(key).append("|");
    return p;
}

// Number, "|" and " = " behind a list prefix: "0003| = " is 8 characters.
constexpr size_t kListNumberPart = 8;

}  // namespace

std::string SettingsStore::readValue(std::string_view section, std::string_view key) const {
    const std::string prefix = valuePrefix(section, key);
    for (const auto& line : m_lines) {
        if (text::startsWith(line, prefix)) return line.substr(prefix.size());
    }
    return {};
}

void SettingsStore::writeValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string prefix = valuePrefix(section, key);
    auto it = std::find_if(m_lines.begin(), m_lines.end(),
                           [&](const std::string& line) { return text::startsWith(line, prefix); });
    if (it != m_lines.end()) {
        if (value.empty()) {
            m_lines.erase(it);
        } else {
            *it = prefix + oneLine(value);
        }
    } else if (!value.empty()) {
        m_lines.push_back(prefix + oneLine(value));
    }
}

std::string SettingsStore::readList(std::string_view section, std::string_view key) const {
    const std::string prefix = listPrefix(section, key);
    std::vector<std::string> items;
    for (const auto& line : m_lines) {
        if (text::startsWith(line, prefix)) {
            size_t from = prefix.size() + kListNumberPart;
            items.push_back(from <= line.size() ? line.substr(from) : std::string());
        }
    }
    return text::joinLines(items);
}

void SettingsStore::writeList(std::string_view section, std::string_view key, std::string_view textValue) {
    deletePrefix(listPrefix(section, key));
    const auto lines = text::splitLines(textValue);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        char number[32];
        std::snprintf(number, sizeof number, "%04zu", i);
        writeValue(section, std::string(key) + "|" + number + "|", lines[i]);
    }
}

void SettingsStore::deletePrefix(std::string_view prefix) {
    std::erase_if(m_lines, [&](const std::string& line) { return text::startsWith(line, prefix); });
}

std::string SettingsStore::text() const { return text::joinLines(m_lines); }

long long SettingsStore::readInt(std::string_view section, std::string_view key, long long fallback) const {
    return text::toIntDef(readValue(section, key), fallback);
}

void sortSettingsLines(std::vector<std::string>& lines) {
    std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            auto lx = static_cast<unsigned char>(x >= 'A' && x <= 'Z' ? x + 32 : x);
            auto ly = static_cast<unsigned char>(y >= 'A' && y <= 'Z' ? y + 32 : y);
            return lx < ly;
        });
    });
}

}  // namespace pictra
