#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "shell/EditorView.h"

// "Tags farbig" and its siblings: tags painted in the editor without an edit.
namespace pictra::html {

enum class ColourSet { Tags, Table, Lists, Links, Formatting };

struct ColourRule {
    std::string search;
    std::uint32_t colour;  // Windows colour number (red in the low byte)
};

const std::vector<ColourRule>& colourRules(ColourSet set);

// Paints every occurrence (case ignored) of each rule's text: through the next
// ">" (at most 239 characters on) when the text has none, else the text alone;
// bold, 4 points smaller, "<br>" in cyan. Every 250 occurrences the user may stop.
// False when stopped.
bool colourOccurrences(EditorView& view, Dialogs& dialogs, const std::vector<ColourRule>& rules);

inline constexpr const char* kAskGoOn = "Weitermachen oder abbrechen?";

}  // namespace pictra::html
