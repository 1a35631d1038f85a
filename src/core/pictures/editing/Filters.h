#pragma once

#include "pictures/Bitmap32.h"

// The neighbourhood filters of the picture editor.
namespace pictra::pictures::editing {

// "Glätten": columns outside, rows inside, each inner pixel the integer mean of its
// 3 × 3 block, written back at once (so left and upper neighbours are already
// smoothed). The border stays. The working picture has no alpha of its own, so
// the result stays opaque for the screen.
void smooth(Bitmap32& picture);

// The factor of "Schärfen" as it is used: a ≤ 1 → 1.1, a ≥ 6 → 5.9.
double sharpenFactor(double a);
// "Schärfen" with factor a in 16.16 fixed point into a new bitmap; the border is
// copied; pictures of 2 pixels or less in either direction stay as they are.
Bitmap32 sharpened(const Bitmap32& picture, double a);

// The threshold of "Konturen zeichnen" from the user's input: 256 − input, 128 outside 1 … 255.
int contourThreshold(int input);
// One channel's contour passes: rows, then columns, each against a reference that
// moves on only where the jump exceeds t; marked target pixels take `mark`.
// `channel` is 0 red, 1 green, 2 blue.
void contourRows(const Bitmap32& source, Bitmap32& target, int channel, int t, Color32 mark);
void contourColumns(const Bitmap32& source, Bitmap32& target, int channel, int t, Color32 mark);
// The grey passes: whole colour values (blue × 65536 + green × 256 + red) against t³, marked black.
void contourGreyRows(const Bitmap32& source, Bitmap32& target, int t);
void contourGreyColumns(const Bitmap32& source, Bitmap32& target, int t);
// "Ins Hauptbild übertragen": non-white target pixels with x ≥ 1 and y ≥ 1 go into the picture.
void takeContours(const Bitmap32& target, Bitmap32& picture);

}  // namespace pictra::pictures::editing
