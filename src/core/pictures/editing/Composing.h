#pragma once

#include <cstddef>
#include <deque>

#include "pictures/Bitmap32.h"

// Putting pictures together: tiles with raster operations, the soft-edged paste
// of a part picture, tracing a colour into the field, and the undo steps.
namespace pictra::pictures::editing {

// Raster operation number 1 … 15 of the tiles command on destination d, tile s, brush p (RGB only).
Color32 rasterOperation(int number, Color32 d, Color32 s, Color32 p);
// The tile drawn at every (column × tile width, row × tile height) for columns
// 0 … width div tile width and rows likewise, combined by raster operation `number`.
void tile(Bitmap32& picture, const Bitmap32& tilePicture, int number, Color32 brush);

// The border widths of "Gleitender Übergang" (0 skips that side).
struct SoftEdges {
    int top = 100;
    int left = 100;
    int right = 100;
    int bottom = 100;
};
// The weight 0 … 1000 (truncated) of part pixel (j, i) of a c × d part.
int softWeight(int j, int i, int c, int d, const SoftEdges& edges);
// The part blended into the picture with its top-left at (x0, y0); the picture grows
// (white) to hold it; pixels falling left or above the picture are left out.
void softPaste(Bitmap32& picture, const Bitmap32& part, int x0, int y0, const SoftEdges& edges);

// The second picture window's other ways of putting its part into the picture at
// (x, y), clipped to the picture: "tranparent zeichnen" leaves out the part's
// colour of its bottom-left pixel, "Mittelwert bilden" takes the mean per channel
// (part + old) div 2, "Geschwärztes nicht" leaves out pixels whose colour value
// (blue × 65536 + green × 256 + red) is 6 or less.
enum class PartPaste { Transparent, Average, NotBlackened };
void pastePart(Bitmap32& picture, const Bitmap32& part, int x, int y, PartPaste how);
// "Weißes schwärzen": the part's pixels with all three channels at 250 or above become black,
// so that "Geschwärztes nicht" leaves them out.
void blackenWhite(Bitmap32& part);

// "Farbe abzeichnen": field pixels inside the picture whose picture pixel differs from
// the sample by less than the tolerance in each channel take the sample colour.
void traceColour(Bitmap32& field, const Bitmap32& picture, Color32 sample, int tolerance);

// The undo steps of the editor: the ten latest pictures before an edit, within a
// memory limit so that a huge picture never keeps copies that would not fit.
class EditHistory {
public:
    explicit EditHistory(std::size_t steps = 10, std::size_t maxBytes = std::size_t{512} << 20)
        : m_steps(steps), m_maxBytes(maxBytes) {}
    // Keeps the picture as it is before an edit; false when it is too large to keep.
    bool remember(const Bitmap32& picture);
    // Puts the latest kept picture back; false when there is none.
    bool undo(Bitmap32& picture);
    std::size_t size() const { return m_pictures.size(); }
    void clear() { m_pictures.clear(); }

private:
    std::size_t bytes() const;
    std::size_t m_steps;
    std::size_t m_maxBytes;
    std::deque<Bitmap32> m_pictures;
};

}  // namespace pictra::pictures::editing
