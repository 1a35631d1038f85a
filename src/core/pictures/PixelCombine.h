#pragma once

#include "pictures/Bitmap32.h"

// The pixel-combine operations; per channel of 0xAARRGGBB, weights 0 to 255.
namespace pictra::pictures::combine {

// ((X·W + 128) >> 8) + ((Y·(255 − W) + 128) >> 8) per channel.
Color32 combine(Color32 x, Color32 y, int weight);
// By the foreground's alpha: 255 the foreground, 0 the background, else combine.
Color32 blend(Color32 foreground, Color32 background);
// w = (M + 1) · alpha(F): below 256 the background, else the colour channels of
// combine(F, B, w >> 8) with an alpha byte of 0.
Color32 blendMaster(Color32 foreground, Color32 background, int masterAlpha);
void blendMemory(Color32 foreground, Color32& background);
void blendMemoryMaster(Color32 foreground, Color32& background, int masterAlpha);
void blendLine(const Color32* source, Color32* destination, int count);
void blendLineMaster(const Color32* source, Color32* destination, int count, int masterAlpha);

Color32 add(Color32 f, Color32 b);         // min(F + B, 255), alpha included
Color32 subtract(Color32 f, Color32 b);    // max(F − B, 0)
Color32 modulate(Color32 f, Color32 b);    // (F · B) >> 8
Color32 maximum(Color32 f, Color32 b);
Color32 minimum(Color32 f, Color32 b);
Color32 difference(Color32 f, Color32 b);  // |F − B|
Color32 exclusion(Color32 f, Color32 b);   // F + B − (F · B) div 128

}  // namespace pictra::pictures::combine
