#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pictra {

// Entity text to character, looked up by length and first letter: a hash of
// every candidate "&...;" costs more than the conversions themselves.
class EntityIndex {
public:
    void clear();
    // A later insert of the same entity wins.
    void insert(std::string_view entity, char character);
    // False when the entity is unknown.
    bool find(std::string_view entity, char& character) const;

private:
    static constexpr size_t kMaxLength = 16;
    std::array<std::vector<std::pair<std::string_view, char>>, kMaxLength * 128> m_buckets;
};

inline constexpr const char* kMathMarker = "<!-- Mathematischer Text -->";

// The table between Windows-1252 characters and HTML entities, and the two
// conversions over it. Empty at start; the basic table is built on first use;
// the mathematical table (basic rows and 22 more) lasts until it is cleared.
class EntityTable {
public:
    struct Row {
        char character;
        std::string entity;
    };

    // Builds the basic table when the table is empty.
    void ensure();
    void buildMath();
    void clear();
    bool mathMode() const { return m_mathMode; }
    const std::vector<Row>& rows() const { return m_rows; }

    // Characters to entities (also dashes and quotes); a text holding
    // "str_replace" is script code and stays as it is.
    std::string encode(std::string_view text);
    // Entities, numeric references and broken UTF-8 back to characters.
    std::string decode(std::string_view text);

private:
    void build(bool math);
    void mapCharacters(std::string& s) const;

    std::vector<Row> m_rows;
    bool m_mathMode = false;
    // Derived from the rows; where a character or an entity has two rows, the
    // later row wins, as when the rows are walked from the last to the first.
    std::array<std::string, 256> m_encodeMap;
    EntityIndex m_decodeMap;  // views into m_rows
};

}  // namespace pictra
