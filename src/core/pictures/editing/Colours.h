#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "pictures/Bitmap32.h"

// The colour filters of the picture editor, as functions on the working picture.
// Pixels are 0xAARRGGBB; every filter leaves the alpha byte opaque.
namespace pictra::pictures::editing {

constexpr Color32 kWhite = 0xFFFFFFFFu;
constexpr Color32 kBlack = 0xFF000000u;

inline int redOf(Color32 c) { return static_cast<int>((c >> 16) & 0xFF); }
inline int greenOf(Color32 c) { return static_cast<int>((c >> 8) & 0xFF); }
inline int blueOf(Color32 c) { return static_cast<int>(c & 0xFF); }
inline Color32 rgb(int r, int g, int b) {
    return 0xFF000000u | static_cast<Color32>(r) << 16 | static_cast<Color32>(g) << 8 | static_cast<Color32>(b);
}
inline int clampByte(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

// The bit mask carried by a "Farbe" item name after its first seven characters
// ("Mheller448" → 448); a leading "_" moves the digits one character on. 0 when none.
int maskFromItemName(std::string_view name);
// One channel value under the mask's rule, `channelBits` being 73, 146 or 292.
int maskedChannel(int mask, int channelBits, int value);
void applyMask(Bitmap32& picture, int mask);

// "schwarz wird weiß": pixels with all three channels below `below` become white.
void darkToWhite(Bitmap32& picture, int below);

// The default threshold of "Schwarz-Weiß": round(sum of 1000 sampled pixels' channels ÷ 3000).
// `random(n)` returns a number in 0 … n − 1. Rows and columns are drawn from
// 0 … size − 2, or from the whole picture when it is only 1 pixel in that direction.
int blackWhiteThreshold(const Bitmap32& picture, const std::function<int(int)>& random);
// Pixels with all three channels below t become black, the others white.
void blackWhite(Bitmap32& picture, int t);
// "Graustufen in Schwarz-weiss umwandeln": a channel sum above 127 becomes white.
void greyToBlackWhite(Bitmap32& picture);

// v × (100 + percent) ÷ 100, rounded to nearest with ties to even, capped at 255.
int scaledChannel(int value, int percent);
// "Dunkle Flächen aufhellen" with the degree d (sum bands below d, 2d, 3d).
void brightenDark(Bitmap32& picture, int d);
// "Helle Flächen abdunkeln" with the degree d.
void darkenBright(Bitmap32& picture, int d);

void invertColours(Bitmap32& picture);
// "Spiegeln": every row reversed.
void mirror(Bitmap32& picture);
// The left half becomes the mirror image of the right half.
void mirrorToMiddleVertical(Bitmap32& picture);
// The upper half becomes the mirror image of the lower half.
void mirrorToMiddleHorizontal(Bitmap32& picture);

// "Ein Cartoon machen": each channel (v div f) × f; false (nothing done) for f < 1.
bool cartoon(Bitmap32& picture, int f);

// "Farbkorrektur für gesamtes Bild": the shifts added to every pixel, clamped.
void shiftColours(Bitmap32& picture, int red, int green, int blue);

// Every pixel whose channels each lie strictly within `tolerance` of `old` becomes `replacement`.
void replaceColour(Bitmap32& picture, Color32 old, int tolerance, Color32 replacement);

// "Einzelne Farbe hart ändern": colour 1 gives the lower, colour 2 the upper bounds (unsorted).
void hardChange(Bitmap32& picture, Color32 colour1, Color32 colour2, int tolerance, Color32 chosen);
// "Einzelne Farbe weich ändern": the mean colour of the two, and the blend of each inner
// in-range pixel with its shifted colour, weighted by its in-range neighbours.
Color32 meanColour(Color32 colour1, Color32 colour2);
void softChange(Bitmap32& picture, Color32 colour1, Color32 colour2, int tolerance, Color32 chosen);

// The colour code of "Farbcode zeigen": "#" and upper-case hex, two digits per channel.
std::string colourCode(Color32 colour);

}  // namespace pictra::pictures::editing
