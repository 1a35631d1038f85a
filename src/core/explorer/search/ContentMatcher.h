#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "explorer/search/Criteria.h"

struct hs_database;
struct hs_scratch;

// One pass over a file's bytes answers every text criterion at once. Each
// criterion is looked for in its Windows-1252 and its UTF-8 spelling, so a word
// with umlauts is found in old and new files alike; without the case flag the
// Windows-1252 letters (ä/Ä, é/É, Š/š …) match in either case, in both spellings.
namespace pictra::filesearch {

enum class Engine {
    Best,       // Hyperscan where the processor supports it, else the fallback
    Hyperscan,  // the SIMD multi-literal matcher
    Fallback,   // Boyer-Moore-Horspool over case-folded blocks
};

// One way of writing a criterion in a file.
struct Spelling {
    unsigned bit = 0;    // kTextBit(i) or kExclusionBit
    std::string bytes;   // as it stands in a file
    bool utf8 = false;   // folded as UTF-8 rather than byte by byte
};

// The spellings of the filled criteria.
std::vector<Spelling> spellingsOf(const Criteria& criteria);

// The Hyperscan expression of a spelling: every byte escaped, each cased letter an
// alternative of its two forms unless `matchCase`.
std::string expressionOf(const Spelling& spelling, bool matchCase);

// Whether Hyperscan runs on this processor.
bool hyperscanAvailable();

class ContentMatcher {
public:
    explicit ContentMatcher(const Criteria& criteria, Engine engine = Engine::Best);
    ~ContentMatcher();
    ContentMatcher(const ContentMatcher&) = delete;
    ContentMatcher& operator=(const ContentMatcher&) = delete;

    bool usesHyperscan() const { return m_database != nullptr; }
    bool empty() const { return m_spellings.empty(); }

    // What one thread needs to scan: the matcher's scratch space and a reused buffer.
    class Scanner {
    public:
        explicit Scanner(const ContentMatcher& matcher);
        ~Scanner();
        Scanner(const Scanner&) = delete;
        Scanner& operator=(const Scanner&) = delete;

    private:
        friend class ContentMatcher;
        hs_scratch* m_scratch = nullptr;
        std::string m_buffer;
        std::string m_folded;
        std::string m_foldedUtf8;
    };

    // Returns true from `done` once the verdict cannot change: the scan stops there.
    using Done = std::function<bool(unsigned found)>;

    // The criteria found in `bytes` (added to `found`).
    unsigned scan(Scanner& scanner, std::string_view bytes, unsigned found, const Done& done) const;
    // The same over a whole file, read in bounded blocks; nullopt when it cannot be read.
    std::optional<unsigned> scanFile(Scanner& scanner, const std::string& path, const Done& done) const;

private:
    unsigned scanFallback(Scanner& scanner, std::string_view bytes, unsigned found, const Done& done) const;

    bool m_matchCase;
    std::vector<Spelling> m_spellings;
    std::vector<std::string> m_foldedNeedles;
    std::size_t m_longest = 0;
    hs_database* m_database = nullptr;
};

// The first occurrence of a text (UTF-8 as typed) in a file's bytes, in either
// spelling and, unless `matchCase`, in any case: offset and length, as found.
struct Occurrence {
    std::size_t offset = 0;
    std::size_t length = 0;
};
std::optional<Occurrence> firstOccurrence(std::string_view bytes, const std::string& text, bool matchCase);

}  // namespace pictra::filesearch
