#pragma once

#include <vector>

#include "pictures/Bitmap32.h"
#include "pictures/RowGate.h"

// Stretch transfer: drawing a source rectangle into a destination rectangle.
namespace pictra::pictures {

struct KernelInfo {
    float radius;
    float (*f)(float);
};
KernelInfo kernelOf(StretchFilter filter);

// One destination pixel's source positions and weights (summing to 256).
struct Contributor {
    int position;
    int weight;
};
using MappingTable = std::vector<std::vector<Contributor>>;

// The table of one axis: source span [srcStart, srcEnd), destination span
// [dstStart, dstEnd), entries only for destination positions inside [clipStart, clipEnd).
MappingTable buildMappingTable(int srcStart, int srcEnd, int dstStart, int dstEnd, int clipStart, int clipEnd,
                               StretchFilter filter);

// Draws `srcRect` of the source into `dstRect` of the destination by the source's
// stretch filter and draw mode, clipped to the destination. Throws TransformError
// for an empty bitmap or a source rectangle outside the source.
void stretchDraw(Bitmap32& destination, const Rect& dstRect, const Bitmap32& source, const Rect& srcRect);

// A new bitmap of the given size holding the whole source resampled by `filter`.
// With a gate the source is still being filled: each destination row waits for
// the source rows it needs (one thread, rows in order; the result is the same).
Bitmap32 resized(const Bitmap32& source, int width, int height, StretchFilter filter, const RowGate* gate = nullptr);

// Threads used by the resampler (rows are split; the results never depend on it).
void setResamplerThreads(int threads);

}  // namespace pictra::pictures
