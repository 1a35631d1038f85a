#pragma once

#include <QString>
#include <string>

#include "pictures/Bitmap32.h"
#include "pictures/captions/Captions.h"

// Text written into a picture's own pixels by `TForm_text`: straight, slanted
// (character by character) or in 3D (shadow copies under each character).
namespace pictra::platform::pictures {

struct TextLook {
    std::string family = "Arial";  // "Symbol" shows Latin letters as Greek ones
    int size = 12;                 // points at 96 dpi
    bool bold = false;
    bool italic = false;
    bool underline = false;
    pictra::pictures::captions::BgrColour colour = 0x000000;
    // Behind an opaque text; also the colour of the 3D shadow.
    pictra::pictures::captions::BgrColour background = 0xFFFFFF;
    bool transparent = false;
    bool threeD = false;
    int slant = 0;  // pixels the line climbs per character; 0 = straight
};

// Writes the text with its top-left corner at (x, y); what falls outside the picture is cut off.
void writeText(pictra::pictures::Bitmap32& picture, const QString& text, const TextLook& look, int x, int y);
// The text as the font shows it (Latin letters turned Greek for "Symbol").
QString shownText(const QString& text, const std::string& family);

}  // namespace pictra::platform::pictures
