#pragma once

#include <string>
#include <string_view>
#include <vector>

// Text written into a picture's own pixels (`TForm_text`): where it lands, the
// list of texts written so far, and the Latin-to-Greek letters of the Symbol font.
namespace pictra::pictures::captions {

struct TextPlace {
    int x = 0;
    int y = 0;
    bool operator==(const TextPlace&) const = default;
};
// The dialog's corner over the picture (dx, dy from the picture's top-left pixel);
// a corner below the picture puts the text at (10, height − size − 10), so it is
// never written where nobody sees it.
TextPlace textPlace(int dx, int dy, int pictureHeight, int size);

// How far the picture window moves up after a text with "links", so that the next
// text, written at the unchanged dialog, lands one line lower in the picture.
inline int lineStep(int size) { return size * 5 / 4; }

// The texts written so far, one per line (Windows-1252, CR LF in the file).
std::vector<std::string> historyLines(std::string_view fileBytes);
std::string historyFileBytes(const std::vector<std::string>& lines);
// Adds the text at the end unless it is empty or already there; true when added.
bool addToHistory(std::vector<std::string>& history, const std::string& text);

// The character the Symbol font shows for a Latin letter (its own encoding puts
// the Greek letters there); every other character stays as it is.
char32_t symbolCharacter(char32_t c);

}  // namespace pictra::pictures::captions
