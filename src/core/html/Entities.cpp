#include "Entities.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "common/Text.h"

namespace pictra {

namespace {

constexpr std::pair<unsigned char, const char*> kLatin1Names[] = {
    {0xA1, "iexcl"},  {0xA2, "cent"},   {0xA3, "pound"},  {0xA4, "curren"}, {0xA5, "yen"},    {0xA6, "brvbar"},
    {0xA7, "sect"},   {0xA8, "uml"},    {0xA9, "copy"},   {0xAA, "ordf"},   {0xAB, "laquo"},  {0xAC, "not"},
    {0xAE, "reg"},    {0xAF, "macr"},   {0xB0, "deg"},    {0xB1, "plusmn"}, {0xB2, "sup2"},   {0xB3, "sup3"},
    {0xB4, "acute"},  {0xB5, "micro"},  {0xB6, "para"},   {0xB7, "middot"}, {0xB8, "cedil"},  {0xB9, "sup1"},
    {0xBA, "ordm"},   {0xBB, "raquo"},  {0xBC, "frac14"}, {0xBD, "frac12"}, {0xBE, "frac34"}, {0xBF, "iquest"},
    {0xC0, "Agrave"}, {0xC1, "Aacute"}, {0xC2, "Acirc"},  {0xC3, "Atilde"}, {0xC4, "Auml"},   {0xC5, "Aring"},
    {0xC6, "AElig"},  {0xC7, "Ccedil"}, {0xC8, "Egrave"}, {0xC9, "Eacute"}, {0xCA, "Ecirc"},  {0xCB, "Euml"},
    {0xCC, "Igrave"}, {0xCD, "Iacute"}, {0xCE, "Icirc"},  {0xCF, "Iuml"},   {0xD0, "ETH"},    {0xD1, "Ntilde"},
    {0xD2, "Ograve"}, {0xD3, "Oacute"}, {0xD4, "Ocirc"},  {0xD5, "Otilde"}, {0xD6, "Ouml"},   {0xD7, "times"},
    {0xD8, "Oslash"}, {0xD9, "Ugrave"}, {0xDA, "Uacute"}, {0xDB, "Ucirc"},  {0xDC, "Uuml"},   {0xDD, "Yacute"},
    {0xDE, "THORN"},  {0xDF, "szlig"},  {0xE0, "agrave"}, {0xE1, "aacute"}, {0xE2, "acirc"},  {0xE3, "atilde"},
    {0xE4, "auml"},   {0xE5, "aring"},  {0xE6, "aelig"},  {0xE7, "ccedil"}, {0xE8, "egrave"}, {0xE9, "eacute"},
    {0xEA, "ecirc"},  {0xEB, "euml"},   {0xEC, "igrave"}, {0xED, "iacute"}, {0xEE, "icirc"},  {0xEF, "iuml"},
    {0xF0, "eth"},    {0xF1, "ntilde"}, {0xF2, "ograve"}, {0xF3, "oacute"}, {0xF4, "ocirc"},  {0xF5, "otilde"},
    {0xF6, "ouml"},   {0xF7, "divide"}, {0xF8, "oslash"}, {0xF9, "ugrave"}, {0xFA, "uacute"}, {0xFB, "ucirc"},
    {0xFC, "uuml"},   {0xFD, "yacute"}, {0xFE, "thorn"},  {0xFF, "yuml"}};

constexpr std::pair<unsigned char, const char*> kMathRows[] = {
    {0xA5, "&radic;"}, {0x87, "&ne;"},     {0xD9, "&ge;"},    {0xDA, "&le;"},    {0x98, "&asymp;"},
    {0xFB, "&infin;"}, {0xA2, "&quot;"},   {0xCB, "&amp;"},   {0xB1, "&plusmn;"}, {0xC7, "&sum;"},
    {0xB6, "&pi;"},    {0xCF, "&int;"},    {0xE3, "&alpha;"}, {0xFE, "&beta;"},  {0xFD, "&gamma;"},
    {0xD0, "&Delta;"}, {0xEB, "&epsilon;"}, {0xAF, "&oline;"}, {0xD7, "&times;"}, {0xB7, "&middot;"},
    {0xAB, "&lt;"},    {0xBB, "&gt;"}};

char ch(unsigned char c) { return static_cast<char>(c); }

// Position of `what` in `s` from `from` on, or npos. glibc's memmem is much faster
// than a search that stops at every "&" of an entity-laden text.
size_t findIn(const std::string& s, std::string_view what, size_t from = 0) {
    if (from > s.size()) return std::string::npos;
    const void* hit = ::memmem(s.data() + from, s.size() - from, what.data(), what.size());
    return hit ? static_cast<size_t>(static_cast<const char*>(hit) - s.data()) : std::string::npos;
}

// Replaces every occurrence of `from` (left to right, not rescanning what was put
// in). The hits are collected first, so the result is written once at its size.
void replaceAllIn(std::string& s, std::string_view from, std::string_view to) {
    std::vector<size_t> hits;
    const char* data = s.data();
    const size_t n = s.size();
    if (from.size() <= 2) {
        // memchr on the first character beats memmem's set-up for very short patterns.
        for (size_t i = 0; i + from.size() <= n;) {
            const void* hit = std::memchr(data + i, from[0], n - i);
            if (!hit) break;
            const size_t at = static_cast<size_t>(static_cast<const char*>(hit) - data);
            if (at + from.size() <= n && std::memcmp(data + at, from.data(), from.size()) == 0) {
                hits.push_back(at);
                i = at + from.size();
            } else {
                i = at + 1;
            }
        }
    } else {
        for (size_t at = findIn(s, from); at != std::string::npos; at = findIn(s, from, at + from.size())) {
            hits.push_back(at);
        }
    }
    if (hits.empty()) return;
    std::string out(n + hits.size() * to.size() - hits.size() * from.size(), '\0');
    char* w = out.data();
    size_t copied = 0;
    for (size_t at : hits) {
        std::memcpy(w, data + copied, at - copied);
        w += at - copied;
        std::memcpy(w, to.data(), to.size());
        w += to.size();
        copied = at + from.size();
    }
    std::memcpy(w, data + copied, n - copied);
    s = std::move(out);
}

// Where the next byte marked in `starts` is, from `i` on (n when none); a single
// mark is found with memchr.
struct Scanner {
    explicit Scanner(const std::array<bool, 256>& marks) : starts(marks) {
        int count = 0;
        for (int b = 0; b < 256; ++b) {
            if (!marks[static_cast<size_t>(b)]) continue;
            ++count;
            single = static_cast<char>(b);
        }
        useMemchr = count == 1;
    }

    size_t next(const char* data, size_t i, size_t n) const {
        if (useMemchr) {
            const void* hit = std::memchr(data + i, single, n - i);
            return hit ? static_cast<size_t>(static_cast<const char*>(hit) - data) : n;
        }
        while (i < n && !starts[static_cast<unsigned char>(data[i])]) ++i;
        return i;
    }

    const std::array<bool, 256>& starts;
    bool useMemchr = false;
    char single = 0;
};

// One left-to-right pass over `s` that replaces tokens starting at bytes marked in
// `starts`: `match(s, i, replacement)` sets the replacement and returns the length
// it consumed, or 0 when nothing matches at i. Every replacement of decoding is
// shorter than what it replaces, so the text is compacted in place.
template <typename Match>
void tokenPass(std::string& s, const std::array<bool, 256>& starts, Match match) {
    const Scanner scanner(starts);
    const size_t n = s.size();
    char* data = s.data();
    size_t write = 0;
    size_t copied = 0;
    bool changed = false;
    for (size_t i = scanner.next(data, 0, n); i < n; i = scanner.next(data, i, n)) {
        std::string_view replacement;
        const size_t used = match(s, i, replacement);
        if (used == 0 || replacement.size() > used) {
            ++i;
            continue;
        }
        if (changed) std::memmove(data + write, data + copied, i - copied);
        write += i - copied;
        std::memcpy(data + write, replacement.data(), replacement.size());
        write += replacement.size();
        i += used;
        copied = i;
        changed = true;
    }
    if (!changed) return;
    std::memmove(data + write, data + copied, n - copied);
    s.resize(write + n - copied);
}

// One-character strings for every byte, to hand out as replacements.
std::string_view single(char c) {
    static const std::array<char, 256> bytes = [] {
        std::array<char, 256> a{};
        for (int b = 0; b < 256; ++b) a[static_cast<size_t>(b)] = static_cast<char>(b);
        return a;
    }();
    return {&bytes[static_cast<unsigned char>(c)], 1};
}

std::array<bool, 256> startsAt(std::initializer_list<unsigned char> bytes) {
    std::array<bool, 256> a{};
    for (auto b : bytes) a[b] = true;
    return a;
}

// The entity "&...;" at i (at most 12 characters, no second "&"), or empty.
std::string_view entityAt(const std::string& s, size_t i) {
    const size_t last = std::min(s.size(), i + 13);
    for (size_t k = i + 1; k < last; ++k) {
        if (s[k] == ';') return std::string_view(s.data() + i, k - i + 1);
        if (s[k] == '&') return {};
    }
    return {};
}

size_t bucketOf(std::string_view entity) {
    const auto first = static_cast<unsigned char>(entity.size() > 1 ? entity[1] : 0) & 0x7F;
    return entity.size() * 128 + first;
}

// The fixed entities of the decoding steps, each an index built once.
EntityIndex indexOf(std::initializer_list<std::pair<std::string_view, char>> pairs) {
    EntityIndex index;
    for (auto [entity, c] : pairs) index.insert(entity, c);
    return index;
}

}  // namespace

void EntityIndex::clear() {
    for (auto& bucket : m_buckets) bucket.clear();
}

void EntityIndex::insert(std::string_view entity, char character) {
    if (entity.size() >= kMaxLength) return;
    auto& bucket = m_buckets[bucketOf(entity)];
    for (auto& entry : bucket) {
        if (entry.first == entity) {
            entry.second = character;
            return;
        }
    }
    bucket.emplace_back(entity, character);
}

bool EntityIndex::find(std::string_view entity, char& character) const {
    if (entity.size() >= kMaxLength) return false;
    for (const auto& entry : m_buckets[bucketOf(entity)]) {
        if (entry.first == entity) {
            character = entry.second;
            return true;
        }
    }
    return false;
}

void EntityTable::build(bool math) {
    m_rows.clear();
    m_rows.push_back({ch(0x80), "&euro;"});
    for (auto [c, name] : kLatin1Names) m_rows.push_back({ch(c), std::string("&") + name + ";"});
    m_rows.push_back({ch(0x99), "&#153;"});
    if (math) {
        for (auto [c, entity] : kMathRows) m_rows.push_back({ch(c), entity});
    }
    m_mathMode = math;
    m_encodeMap = {};
    m_decodeMap.clear();
    for (const Row& row : m_rows) {
        m_encodeMap[static_cast<unsigned char>(row.character)] = row.entity;
        m_decodeMap.insert(row.entity, row.character);
    }
}

void EntityTable::ensure() {
    if (m_rows.empty()) build(false);
}

void EntityTable::buildMath() { build(true); }

void EntityTable::clear() {
    m_rows.clear();
    m_mathMode = false;
    m_encodeMap = {};
    m_decodeMap.clear();
}

std::string EntityTable::encode(std::string_view input) {
    ensure();
    std::string s(input);
    if (findIn(s, "str_replace") != std::string::npos) return s;

    // The long dash first: the hyphen rule below works on its entity. The other
    // dashes and quotes give entities that rule never looks at, so they go with
    // the table in one pass afterwards.
    if (std::memchr(s.data(), 0x97, s.size())) replaceAllIn(s, "\x97", "&mdash;");

    // Double hyphens become dashes except on lines with comments, whose brackets survive.
    if (findIn(s, "<!--") == std::string::npos) replaceAllIn(s, "--", "&mdash;&mdash;");
    replaceAllIn(s, "&mdash;-", "&mdash;&mdash;");
    replaceAllIn(s, "<!&mdash;&mdash;", "<!--");
    replaceAllIn(s, "&mdash;&mdash;>", "-->");

    mapCharacters(s);
    return s;
}

namespace {

// The next byte from i on that is "<" or above 0x7F. Plain runs are skipped
// eight bytes at a time; short runs, frequent in German text, byte by byte.
size_t nextLessOrHigh(const char* data, size_t i, size_t n) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
    auto special = [](char c) { return c == '<' || static_cast<unsigned char>(c) >= 0x80; };
    for (int k = 0; k < 8 && i < n; ++k, ++i) {
        if (special(data[i])) return i;
    }
    while (i + 8 <= n) {
        std::uint64_t word;
        std::memcpy(&word, data + i, 8);
        const std::uint64_t lt = word ^ (kOnes * '<');
        if (((lt - kOnes) & ~lt & kHigh) | (word & kHigh)) break;
        i += 8;
    }
    while (i < n && !special(data[i])) ++i;
    return i;
}

// "<br />", "<br/>" or "<hr />" at i: how long it is (0 for none) and its short form.
size_t shortTagAt(const char* data, size_t i, size_t n, std::string_view& shortForm) {
    if (i + 5 > n || (data[i + 1] != 'b' && data[i + 1] != 'h') || data[i + 2] != 'r') return 0;
    const bool br = data[i + 1] == 'b';
    shortForm = br ? "<br>" : "<hr>";
    if (i + 6 <= n && data[i + 3] == ' ' && data[i + 4] == '/' && data[i + 5] == '>') return 6;
    if (br && data[i + 3] == '/' && data[i + 4] == '>') return 5;
    return 0;
}

}  // namespace

// The UTF-8 en dash, the short dash and the low and high double quotes, the table,
// the single quotes, the ellipsis, "<br />" and "<hr />" and the low single quotes
// in one pass: each step's results are plain ASCII that no later step of these looks at.
void EntityTable::mapCharacters(std::string& s) const {
    std::array<std::string_view, 256> replacement{};
    for (int b = 0x80; b < 256; ++b) replacement[static_cast<size_t>(b)] = m_encodeMap[static_cast<size_t>(b)];
    replacement[0x96] = "&ndash;";
    replacement[0x84] = "&bdquo;";
    replacement[0x93] = "&ldquo;";
    replacement[0x92] = "'";
    replacement[0x85] = "...";
    replacement[0x82] = "\"";
    replacement[0x91] = "\"";
    const char* data = s.data();
    const size_t n = s.size();
    // What replaces the special byte at i and how many bytes it takes (0: it stays).
    auto special = [&](size_t i, std::string_view& put) -> size_t {
        if (data[i] == '<') return shortTagAt(data, i, n, put);
        if (data[i] == '\xE2' && i + 2 < n && data[i + 1] == '\x80' && data[i + 2] == '\x93') {
            put = "&ndash;";
            return 3;
        }
        put = replacement[static_cast<unsigned char>(data[i])];
        return put.empty() ? 0 : 1;
    };
    std::string out;
    size_t write = 0;
    size_t copied = 0;
    bool changed = false;
    for (size_t i = nextLessOrHigh(data, 0, n); i < n; i = nextLessOrHigh(data, i, n)) {
        std::string_view put;
        const size_t used = special(i, put);
        if (used == 0) {
            ++i;
            continue;
        }
        // Room for the plain run before the token, the token and what is still to come.
        const size_t need = write + (i - copied) + put.size() + (n - i);
        if (!changed || need > out.size()) out.resize(std::max(need + n / 4, out.size() * 3 / 2));
        changed = true;
        std::memcpy(out.data() + write, data + copied, i - copied);
        write += i - copied;
        std::memcpy(out.data() + write, put.data(), put.size());
        write += put.size();
        i += used;
        copied = i;
    }
    if (!changed) return;
    std::memcpy(out.data() + write, data + copied, n - copied);
    out.resize(write + n - copied);
    s = std::move(out);
}

std::string EntityTable::decode(std::string_view input) {
    ensure();
    std::string s(input);
    static const EntityIndex early = indexOf({
        {"&mdash;", '-'},         {"&ndash;", ch(0x96)},    {"&bdquo;", ch(0x84)},    {"&ldquo;", ch(0x93)},
        {"&#228;", ch(0xE4)},     {"&#246;", ch(0xF6)},     {"&#252;", ch(0xFC)},     {"&#223;", ch(0xDF)},
        {"&#196;", ch(0xC4)},     {"&#214;", ch(0xD6)},     {"&#220;", ch(0xDC)}});
    static const EntityIndex late = indexOf({
        {"&#8212;", '-'},         {"&#183;", ch(0xB7)},     {"&#945;", ch(0xE3)},     {"&#176;", ch(0xB0)},
        {"&#8800;", ch(0x87)},    {"&#949;", ch(0xEB)},     {"&#946;", ch(0xFE)},     {"&#177;", ch(0xB1)},
        {"&#8222;", ch(0x84)},    {"&#8220;", '"'}});
    static const EntityIndex afterAtilde = indexOf({
        {"&#188;", ch(0xFC)}, {"&#182;", ch(0xF6)}, {"&#164;", ch(0xE4)},
        {"&#8211;", ch(0xD6)}, {"&#376;", ch(0xDF)}, {"&#339;", ch(0xDC)}});

    // Table entities, named dashes and quotes, and numeric umlauts: whole "&...;"
    // tokens with distinct names, so their order among each other does not matter.
    tokenPass(s, startsAt({'&'}), [this](const std::string& t, size_t i, std::string_view& out) {
        const std::string_view e = entityAt(t, i);
        if (e.empty()) return size_t{0};
        char c = 0;
        if (!m_decodeMap.find(e, c) && !early.find(e, c)) return size_t{0};
        out = single(c);
        return e.size();
    });

    // These overlap one another, so they keep their own order.
    replaceAllIn(s, "&nbsp;&gt;&nbsp;", " \xBB ");
    replaceAllIn(s, "&nbsp;&lt;&nbsp;", " \xAB ");
    replaceAllIn(s, "&nbsp;=&nbsp;", " = ");

    // UTF-8 umlaut pairs read as Windows-1252.
    tokenPass(s, startsAt({0xC3}), [](const std::string& t, size_t i, std::string_view& out) {
        if (i + 1 >= t.size()) return size_t{0};
        char c = 0;
        switch (static_cast<unsigned char>(t[i + 1])) {
            case 0xA4: c = ch(0xE4); break;
            case 0xB6: c = ch(0xF6); break;
            case 0xBC: c = ch(0xFC); break;
            case 0x9F: c = ch(0xDF); break;
            case 0x84: c = ch(0xC4); break;
            case 0x96: c = ch(0xD6); break;
            case 0x9C: c = ch(0xDC); break;
            default: return size_t{0};
        }
        out = single(c);
        return size_t{2};
    });

    // Numeric references of mathematical characters, UTF-8 written as two
    // references, percent-encoded UTF-8 and the numeric quotes; all of them begin
    // with "&#" or "%", so a text without those is left as it is.
    if (findIn(s, "&#") == std::string::npos && !std::memchr(s.data(), '%', s.size())) return s;
    tokenPass(s, startsAt({'&', '%'}), [](const std::string& t, size_t i, std::string_view& out) {
        if (t[i] == '%') {
            if (t.compare(i, 6, "%c3%a4") == 0 || t.compare(i, 6, "%c3%bc") == 0) {
                out = single(t[i + 5] == '4' ? ch(0xE4) : ch(0xFC));
                return size_t{6};
            }
            if (t.compare(i, 3, "%2f") != 0) return size_t{0};
            out = " ";
            return size_t{3};
        }
        const std::string_view e = entityAt(t, i);
        if (e.empty()) return size_t{0};
        if (e == "&#195;") {
            const std::string_view next = entityAt(t, i + e.size());
            char c = 0;
            if (!next.empty() && afterAtilde.find(next, c)) {
                out = single(c);
                return e.size() + next.size();
            }
        }
        char c = 0;
        if (!late.find(e, c)) return size_t{0};
        out = single(c);
        return e.size();
    });
    return s;
}

}  // namespace pictra
