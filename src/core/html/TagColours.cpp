#include "TagColours.h"

#include <algorithm>

#include "common/Text.h"

namespace pictra::html {

namespace {

constexpr std::uint32_t rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

constexpr std::uint32_t kRed = rgb(255, 0, 0);
constexpr std::uint32_t kDarkRed = rgb(193, 0, 0);
constexpr std::uint32_t kLightRed = rgb(255, 62, 62);
constexpr std::uint32_t kCyan = rgb(0, 255, 255);

}  // namespace

const std::vector<ColourRule>& colourRules(ColourSet set) {
    static const std::vector<ColourRule> tags{{"<", kRed}};
    static const std::vector<ColourRule> table{{"<table", kDarkRed}, {"/table>", kDarkRed}, {"<tr", kRed},
                                               {"/tr>", kRed},       {"<td", kLightRed},    {"</td>", kLightRed},
                                               {"<th", kLightRed},   {"</th>", kLightRed}};
    static const std::vector<ColourRule> lists{{"<ul", kDarkRed},  {"/ul>", kDarkRed},    {"<li", kRed},
                                               {"/li>", kRed},     {"<ol", kLightRed},    {"</ol>", kLightRed},
                                               {"<dl", kLightRed}, {"</dl>", kLightRed},  {"<dd", kLightRed},
                                               {"</dd>", kLightRed}};
    static const std::vector<ColourRule> links{{"<a ", rgb(0, 0, 255)}, {"</a>", rgb(0, 0, 255)}, {"<img", rgb(128, 128, 255)}};
    static const std::vector<ColourRule> formatting{
        {"<b", rgb(255, 0, 255)},   {"</b>", rgb(255, 0, 255)}, {"<u", rgb(255, 0, 255)},   {"</u>", rgb(255, 0, 255)},
        {"<p", rgb(255, 0, 255)},   {"</p>", rgb(255, 0, 255)}, {"<pre", rgb(255, 0, 255)}, {"</pre>", rgb(255, 0, 255)},
        {"<h", kRed},               {"</h", kRed},              {"<div", kRed},             {"</div>", kRed},
        {"<span", kRed},            {"</span>", kRed}};
    switch (set) {
    case ColourSet::Tags: return tags;
    case ColourSet::Table: return table;
    case ColourSet::Lists: return lists;
    case ColourSet::Links: return links;
    case ColourSet::Formatting: return formatting;
    }
    return tags;
}

bool colourOccurrences(EditorView& view, Dialogs& dialogs, const std::vector<ColourRule>& rules) {
    const int caret = view.caret();
    const std::string text = view.plainText();
    const std::string lower = text::toLowerCp1252(text);
    struct Range {
        size_t at, length;
        std::uint32_t colour;
    };
    std::vector<Range> ranges;
    for (const ColourRule& rule : rules) {
        const std::string needle = text::toLowerCp1252(rule.search);
        const bool toClosing = rule.search.find('>') == std::string::npos;
        for (size_t at = lower.find(needle); at != std::string::npos; at = lower.find(needle, at + 1)) {
            size_t length = needle.size();
            if (toClosing) {
                const size_t gt = text.find('>', at);
                if (gt != std::string::npos && gt - at <= 239) length = gt - at + 1;
            }
            const bool lineBreak = length == 4 && lower.compare(at, 4, "<br>") == 0;
            ranges.push_back({at, length, lineBreak ? kCyan : rule.colour});
        }
    }
    // One change of the editor for the whole run; every 250 occurrences the user may stop.
    bool stopped = false;
    view.paintBatch([&] {
        for (size_t i = 0; i < ranges.size(); ++i) {
            view.paint(static_cast<int>(ranges[i].at), static_cast<int>(ranges[i].length), Paint{ranges[i].colour, true, -4});
            if ((i + 1) % 250 == 0 && dialogs.ask(kAskGoOn) != Answer::Yes) {
                stopped = true;
                return;
            }
        }
    });
    view.setCaret(caret);
    return !stopped;
}

}  // namespace pictra::html
