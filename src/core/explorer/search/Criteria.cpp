#include "explorer/search/Criteria.h"

#include <cmath>

#include "common/CaseFold.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "pictures/PictureNames.h"

namespace pictra::filesearch {

std::optional<long long> parseLimit(std::string_view field) { return text::parseInt(text::trim(field)); }

long long ageInDays(std::time_t now, std::time_t modified) {
    const long long seconds = static_cast<long long>(now) - static_cast<long long>(modified);
    // Rounded half away from zero, in whole numbers so no floating point is involved.
    const long long day = 86400;
    return seconds >= 0 ? (seconds + day / 2) / day : -((-seconds + day / 2) / day);
}

bool withinLimits(const Criteria& c, std::uintmax_t size, std::time_t modified, std::time_t now) {
    const long long age = ageInDays(now, modified);
    if (c.maxAgeDays && age > *c.maxAgeDays) return false;
    if (c.minAgeDays && age < *c.minAgeDays) return false;
    if (c.minKb && static_cast<long double>(size) <= static_cast<long double>(*c.minKb) * 1000) return false;
    return true;
}

bool nameContains(std::string_view path, std::string_view needle, bool matchCase) {
    if (matchCase) return path.find(needle) != std::string_view::npos;
    return casefold::containsUtf8(path, needle);
}

bool isUnreadExtension(const std::string& path) {
    const std::string ext = pathnames::lowerExtension(path);
    if (ext == ".pdf" || ext == ".doc" || ext == ".rar") return true;
    return !ext.empty() && pictures::isPictureFile(ext);
}

NameFacts nameFacts(const Criteria& c, std::string_view path) {
    NameFacts facts;
    for (int i = 0; i < 3; ++i) facts.names[i] = !c.names[i].empty() && nameContains(path, c.names[i], c.matchCase);
    facts.exclusion = !c.nameExclusion.empty() && nameContains(path, c.nameExclusion, c.matchCase);
    return facts;
}

unsigned filledTextBits(const Criteria& c) {
    unsigned bits = 0;
    for (int i = 0; i < 3; ++i)
        if (!c.texts[i].empty()) bits |= kTextBit(i);
    if (!c.textExclusion.empty()) bits |= kExclusionBit;
    return bits;
}

bool decide(const Criteria& c, const NameFacts& names, unsigned found) {
    bool hit;
    if (!c.orMode) {
        hit = true;
        for (int i = 0; i < 3; ++i) {
            if (!c.names[i].empty() && !names.names[i]) hit = false;
            if (!c.texts[i].empty() && !(found & kTextBit(i))) hit = false;
        }
    } else if (c.names[0].empty() && c.texts[0].empty()) {
        hit = true;
    } else {
        hit = false;
        for (int i = 0; i < 3; ++i) {
            if (!c.names[i].empty() && names.names[i]) hit = true;
            if (!c.texts[i].empty() && (found & kTextBit(i))) hit = true;
        }
    }
    if (names.exclusion) return false;
    if (!c.textExclusion.empty() && (found & kExclusionBit)) return false;
    return hit;
}

bool settled(const Criteria& c, const NameFacts& names, unsigned found) {
    const unsigned filled = filledTextBits(c);
    const unsigned open = filled & ~found;
    const bool now = decide(c, names, found);
    // Every combination of the criteria not found yet must give the same verdict.
    for (unsigned more = open;; more = (more - 1) & open) {
        if (decide(c, names, found | more) != now) return false;
        if (more == 0) break;
    }
    return true;
}

}  // namespace pictra::filesearch
