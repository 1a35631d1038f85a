#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pictures/captions/Captions.h"
#include "pictures/captions/TextOnPicture.h"

using namespace pictra::pictures::captions;

TEST(TextOnPicture, PlaceAtTheDialogsCornerOrAtTheBottomLeft) {
    const struct {
        int dx, dy, height, size;
        TextPlace place;
    } cases[] = {{40, 50, 300, 20, {40, 50}},
                 {-5, -7, 300, 20, {-5, -7}},     // above or left of the picture: cut off there
                 {40, 299, 300, 20, {40, 299}},   // the last row still belongs to the picture
                 {40, 300, 300, 20, {10, 270}},   // below it: height − size − 10
                 {900, 5000, 100, 12, {10, 78}},
                 {0, 1, 1, 12, {10, -21}}};       // a 1 × 1 picture
    for (const auto& c : cases) {
        EXPECT_EQ(textPlace(c.dx, c.dy, c.height, c.size), c.place) << c.dx << "," << c.dy;
    }
    EXPECT_EQ(lineStep(20), 25);
    EXPECT_EQ(lineStep(12), 15);
    EXPECT_EQ(lineStep(7), 8);
}

TEST(TextOnPicture, HistoryFileAndAdding) {
    EXPECT_EQ(historyLines("a\r\nb\rc\n\r\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_TRUE(historyLines("").empty());
    std::vector<std::string> h = historyLines("Gruß\r\n");
    EXPECT_FALSE(addToHistory(h, "Gruß"));
    EXPECT_FALSE(addToHistory(h, ""));
    EXPECT_TRUE(addToHistory(h, "gruß"));  // another text
    EXPECT_EQ(historyFileBytes(h), "Gruß\r\ngruß\r\n");
    EXPECT_EQ(historyLines(historyFileBytes(h)), h);
    EXPECT_EQ(historyFileBytes({}), "");
    EXPECT_EQ(historyPath("/p/", "pictra"), "/p/pictra._text_auf_bild");
}

TEST(TextOnPicture, SymbolFontLetters) {
    const struct {
        char32_t in, out;
    } cases[] = {{U'a', U'α'}, {U'b', U'β'}, {U'c', U'χ'}, {U'p', U'π'}, {U'q', U'θ'}, {U'w', U'ω'},
                 {U'z', U'ζ'}, {U'A', U'Α'}, {U'D', U'Δ'}, {U'S', U'Σ'}, {U'W', U'Ω'}, {U'Z', U'Ζ'},
                 {U'1', U'1'}, {U' ', U' '}, {U'ä', U'ä'}, {U'@', U'@'}};
    for (const auto& c : cases) EXPECT_EQ(symbolCharacter(c.in), c.out) << static_cast<unsigned>(c.in);
}

TEST(CaptionPicture, TheJpegOfTheSameBaseNameElseAnotherPicture) {
    const struct {
        const char* caption;
        std::vector<std::string> names;
        const char* picture;
    } cases[] = {{"foto.jp0", {"foto.jp0", "foto.png", "foto.jpg"}, "foto.jpg"},
                 {"foto.jp0", {"foto.jp0", "foto.png", "fotos.jpg"}, "foto.png"},
                 {"Foto.jp0", {"FOTO.JPG"}, "FOTO.JPG"},
                 {"foto.jp0", {"foto.jp0", "foto.txt", "foto.html"}, ""},
                 {"foto.jp0", {"foto.jpg.txt", "xfoto.jpg"}, ""},
                 {"a.b.jp0", {"a.jpg", "a.b.gif"}, "a.b.gif"},
                 {"foto.jp0", {}, ""}};
    for (const auto& c : cases) EXPECT_EQ(pictureNameForCaption(c.caption, c.names), c.picture) << c.caption;
}
