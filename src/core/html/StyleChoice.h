#pragma once

#include <string>
#include <vector>

// The font and style dialog's output: a piece of text wrapped in a div or span
// element with an inline style from fixed lists.
namespace pictra::html {

inline constexpr const char* kUnchanged = "ungeändert";

// The colour table, one row each: German name, optional English name, value.
const std::vector<std::string>& colourTable();
// The n-th blank-separated word of a row (from 1), "" when there is none.
std::string wordOf(const std::string& row, int n);
// The value of a colour entry (its row's third word, else the second, else the
// row); "ungeändert" when no row starts with it.
std::string colourValue(const std::string& entry);

const std::vector<std::string>& sizeChoices();
const std::vector<std::string>& familyChoices();
const std::vector<std::string>& alignmentChoices();

enum class Element { Div, Span, None };

struct StyleChoice {
    std::string size = kUnchanged;
    std::string colour = kUnchanged;
    std::string family = kUnchanged;
    std::string background = kUnchanged;
    std::string alignment = kUnchanged;
    Element element = Element::Span;
    bool leftMargin = false;
    bool rightMargin = false;
    bool frame = false;
    bool bold = false;
};

// The text wrapped as chosen (UTF-8 or Windows-1252 alike); unchanged when no
// style was chosen.
std::string applyStyle(const StyleChoice& choice, const std::string& text);

// The two insertion buttons.
std::string sqrtTwoText();
std::string styleBlockText();

inline constexpr const char* kShortcutHint =
    "Statt der doppelten Tastenkombination: Zuerst \"Str+H\", dann \"F\" (Font=Schrift allgemein)\rkönnen Sie die "
    "Tastenkombination \"Strg+<\" wählen (das HTML-Tag <span style=\"...\"> wird dann eingefügt.";

}  // namespace pictra::html
