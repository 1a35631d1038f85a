#include "explorer/search/ContentMatcher.h"

#include <fcntl.h>
#include <hs/hs.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <stdexcept>

#include "common/CaseFold.h"
#include "common/Codec.h"

namespace pictra::filesearch {

namespace {

// Large enough that nearly every file is read with one call; small enough that a
// 2 GB file never needs more than this much memory.
constexpr std::size_t kBlock = 4u << 20;

// The Windows-1252 bytes that fold to the same letter as `byte` (itself first).
std::vector<unsigned char> partnersOf(unsigned char byte) {
    std::vector<unsigned char> all{byte};
    const char folded = casefold::foldCp1252(static_cast<char>(byte));
    for (int b = 0; b < 256; ++b)
        if (b != byte && casefold::foldCp1252(static_cast<char>(b)) == folded) all.push_back(static_cast<unsigned char>(b));
    return all;
}

void appendEscaped(std::string& out, unsigned char byte) {
    static const char* const kHex = "0123456789abcdef";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
}

int onMatch(unsigned id, unsigned long long, unsigned long long, unsigned, void* context);

struct MatchState {
    unsigned found;
    const ContentMatcher::Done* done;
    const std::vector<Spelling>* spellings;
};

int onMatch(unsigned id, unsigned long long, unsigned long long, unsigned, void* context) {
    auto& state = *static_cast<MatchState*>(context);
    state.found |= (*state.spellings)[id].bit;
    return (*state.done)(state.found) ? 1 : 0;
}

}  // namespace

std::vector<Spelling> spellingsOf(const Criteria& criteria) {
    std::vector<Spelling> spellings;
    auto add = [&](const std::string& text, unsigned bit) {
        if (text.empty()) return;
        std::string lost;
        const std::string cp1252 = codec::utf8ToCp1252(text, '?', &lost);
        if (lost.empty()) spellings.push_back({bit, cp1252, false});
        // An all-ASCII text is spelt alike in both.
        if (cp1252 != text || !lost.empty()) spellings.push_back({bit, text, true});
    };
    for (int i = 0; i < 3; ++i) add(criteria.texts[i], kTextBit(i));
    add(criteria.textExclusion, kExclusionBit);
    return spellings;
}

std::string expressionOf(const Spelling& spelling, bool matchCase) {
    std::string out;
    if (!spelling.utf8) {
        for (unsigned char byte : spelling.bytes) {
            const auto partners = matchCase ? std::vector<unsigned char>{byte} : partnersOf(byte);
            if (partners.size() == 1) {
                appendEscaped(out, byte);
                continue;
            }
            out += '[';
            for (unsigned char p : partners) appendEscaped(out, p);
            out += ']';
        }
        return out;
    }
    for (char32_t cp : codec::utf8ToCodePoints(spelling.bytes)) {
        std::string own;
        codec::appendUtf8(own, cp);
        const int ansi = codec::unicodeToCp1252(cp);
        std::vector<std::string> forms{own};
        if (!matchCase && ansi >= 0) {
            for (unsigned char p : partnersOf(static_cast<unsigned char>(ansi))) {
                std::string form;
                codec::appendUtf8(form, codec::cp1252ToUnicode(p));
                if (std::find(forms.begin(), forms.end(), form) == forms.end()) forms.push_back(form);
            }
        }
        if (forms.size() > 1) out += "(?:";
        for (std::size_t i = 0; i < forms.size(); ++i) {
            if (i) out += '|';
            for (unsigned char byte : forms[i]) appendEscaped(out, byte);
        }
        if (forms.size() > 1) out += ')';
    }
    return out;
}

bool hyperscanAvailable() { return hs_valid_platform() == HS_SUCCESS; }

ContentMatcher::ContentMatcher(const Criteria& criteria, Engine engine)
    : m_matchCase(criteria.matchCase), m_spellings(spellingsOf(criteria)) {
    for (const auto& s : m_spellings) {
        m_longest = std::max(m_longest, s.bytes.size());
        if (m_matchCase) m_foldedNeedles.push_back(s.bytes);
        else m_foldedNeedles.push_back(s.utf8 ? casefold::foldUtf8(s.bytes) : casefold::foldCp1252(s.bytes));
    }
    const bool wantHyperscan = engine == Engine::Hyperscan || (engine == Engine::Best && hyperscanAvailable());
    if (m_spellings.empty() || !wantHyperscan) return;
    std::vector<std::string> expressions;
    std::vector<const char*> pointers;
    std::vector<unsigned> flags;
    std::vector<unsigned> ids;
    for (std::size_t i = 0; i < m_spellings.size(); ++i) {
        expressions.push_back(expressionOf(m_spellings[i], m_matchCase));
        flags.push_back(HS_FLAG_SINGLEMATCH);
        ids.push_back(static_cast<unsigned>(i));
    }
    for (const auto& e : expressions) pointers.push_back(e.c_str());
    hs_compile_error_t* error = nullptr;
    if (hs_compile_multi(pointers.data(), flags.data(), ids.data(), static_cast<unsigned>(pointers.size()),
                         HS_MODE_BLOCK, nullptr, &m_database, &error) != HS_SUCCESS) {
        // Literal byte patterns always compile; should one not, the fallback still answers.
        hs_free_compile_error(error);
        m_database = nullptr;
    }
}

ContentMatcher::~ContentMatcher() {
    if (m_database) hs_free_database(m_database);
}

ContentMatcher::Scanner::Scanner(const ContentMatcher& matcher) {
    if (matcher.m_database && hs_alloc_scratch(matcher.m_database, &m_scratch) != HS_SUCCESS)
        throw std::runtime_error("hs_alloc_scratch");
}

ContentMatcher::Scanner::~Scanner() {
    if (m_scratch) hs_free_scratch(m_scratch);
}

unsigned ContentMatcher::scan(Scanner& scanner, std::string_view bytes, unsigned found, const Done& done) const {
    if (m_spellings.empty() || done(found)) return found;
    if (!m_database) return scanFallback(scanner, bytes, found, done);
    MatchState state{found, &done, &m_spellings};
    hs_scan(m_database, bytes.data(), static_cast<unsigned>(bytes.size()), 0, scanner.m_scratch, onMatch, &state);
    return state.found;
}

unsigned ContentMatcher::scanFallback(Scanner& scanner, std::string_view bytes, unsigned found,
                                      const Done& done) const {
    std::string_view plain = bytes;
    std::string_view utf8 = bytes;
    if (!m_matchCase) {
        scanner.m_folded.assign(bytes);
        for (char& c : scanner.m_folded) c = casefold::foldCp1252(c);
        scanner.m_foldedUtf8 = casefold::foldUtf8(bytes);
        plain = scanner.m_folded;
        utf8 = scanner.m_foldedUtf8;
    }
    for (std::size_t i = 0; i < m_spellings.size(); ++i) {
        if (found & m_spellings[i].bit) continue;
        const std::string& needle = m_foldedNeedles[i];
        const std::string_view hay = m_spellings[i].utf8 ? utf8 : plain;
        const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
        if (std::search(hay.begin(), hay.end(), searcher) != hay.end()) {
            found |= m_spellings[i].bit;
            if (done(found)) break;
        }
    }
    return found;
}

std::optional<unsigned> ContentMatcher::scanFile(Scanner& scanner, const std::string& path, const Done& done) const {
    // Non-blocking, so a file that became a FIFO since it was listed cannot hang the search.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? std::optional<unsigned>(0) : std::nullopt;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    const std::size_t keep = m_longest > 0 ? m_longest - 1 : 0;
    std::string& buffer = scanner.m_buffer;
    const std::size_t wanted = std::min<std::size_t>(kBlock, static_cast<std::size_t>(st.st_size) + 1);
    if (buffer.size() < wanted + keep) buffer.resize(wanted + keep);
    unsigned found = 0;
    std::size_t carried = 0;
    bool failed = false;
    for (;;) {
        const std::size_t room = buffer.size() - carried;
        const ssize_t got = ::read(fd, buffer.data() + carried, room);
        if (got < 0) {
            if (errno == EINTR) continue;
            failed = true;
            break;
        }
        if (got == 0) break;
        const std::size_t filled = carried + static_cast<std::size_t>(got);
        found = scan(scanner, std::string_view(buffer.data(), filled), found, done);
        if (done(found)) break;
        // A criterion cut by the block's end is found in the next block.
        carried = std::min(keep, filled);
        std::copy(buffer.begin() + static_cast<std::ptrdiff_t>(filled - carried),
                  buffer.begin() + static_cast<std::ptrdiff_t>(filled), buffer.begin());
    }
    ::close(fd);
    if (failed) return std::nullopt;
    return found;
}

std::optional<Occurrence> firstOccurrence(std::string_view bytes, const std::string& text, bool matchCase) {
    if (text.empty()) return std::nullopt;
    Criteria criteria;
    criteria.texts[0] = text;
    criteria.matchCase = matchCase;
    std::optional<Occurrence> best;
    std::string folded;
    for (const auto& spelling : spellingsOf(criteria)) {
        std::string_view hay = bytes;
        std::string needle = spelling.bytes;
        if (!matchCase) {
            folded = spelling.utf8 ? casefold::foldUtf8(bytes) : casefold::foldCp1252(bytes);
            needle = spelling.utf8 ? casefold::foldUtf8(needle) : casefold::foldCp1252(needle);
            hay = folded;
        }
        const auto at = hay.find(needle);
        if (at != std::string_view::npos && (!best || at < best->offset)) best = Occurrence{at, needle.size()};
    }
    return best;
}

}  // namespace pictra::filesearch
