#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

// What the search window asks of a file, and the verdict on it. Every text is
// UTF-8 as typed; file paths are the file system's bytes.
namespace pictra::filesearch {

struct Criteria {
    std::array<std::string, 3> names;  // N1..N3: parts of the path
    std::string nameExclusion;         // NX
    std::array<std::string, 3> texts;  // T1..T3: parts of the content
    std::string textExclusion;         // TX
    bool orMode = false;               // "Oder" instead of "Und"
    std::optional<long long> maxAgeDays;
    std::optional<long long> minAgeDays;
    std::optional<long long> minKb;
    bool matchCase = false;
};

// The content criteria as bits of a "found" mask.
inline constexpr unsigned kTextBit(int i) { return 1u << i; }
inline constexpr unsigned kExclusionBit = 1u << 3;

// An age or size field: a whole number, or no limit when empty or not a number.
std::optional<long long> parseLimit(std::string_view field);

// Days between the last write and now, rounded to the nearest day.
long long ageInDays(std::time_t now, std::time_t modified);

// Age range and "min. KB" (the file must be larger than value x 1000 bytes).
bool withinLimits(const Criteria& criteria, std::uintmax_t size, std::time_t modified, std::time_t now);

// `needle` occurs in `path`; case ignored (Windows-1252 letters too) unless `matchCase`.
bool nameContains(std::string_view path, std::string_view needle, bool matchCase);

// Pictures, ".pdf", ".doc" and ".rar" are never read: they hold no text to find.
bool isUnreadExtension(const std::string& path);

struct NameFacts {
    std::array<bool, 3> names{};
    bool exclusion = false;
};
NameFacts nameFacts(const Criteria& criteria, std::string_view path);

// The verdict given what is known of the names and which content criteria were found.
bool decide(const Criteria& criteria, const NameFacts& names, unsigned found);
// No content found later could change the verdict any more: reading can stop.
bool settled(const Criteria& criteria, const NameFacts& names, unsigned found);
// The bits of the content criteria that are filled.
unsigned filledTextBits(const Criteria& criteria);

}  // namespace pictra::filesearch
