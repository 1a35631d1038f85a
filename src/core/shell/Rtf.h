#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Rich text in RTF: the formatting the editor shows (fonts, sizes, colours,
// bold, italic, underline, strike-out, paragraph alignment). Text is Windows-1252.
namespace pictra::rtf {

struct CharFormat {
    std::string font = "Courier New";
    int halfPoints = 24;
    std::uint32_t colour = 0;  // Windows colour: red in the low byte
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const CharFormat&) const = default;
};

enum class Align { Left, Center, Right, Justify };

struct Run {
    std::string text;
    CharFormat format;
};

struct Paragraph {
    Align align = Align::Left;
    std::vector<Run> runs;
};

struct Document {
    std::vector<Paragraph> paragraphs;
};

std::string write(const Document& document);

// Reads what the program writes and what word processors commonly write;
// unknown control words and destinations are skipped, never an error.
Document read(const std::string& rtf);

}  // namespace pictra::rtf
