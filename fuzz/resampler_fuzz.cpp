// libFuzzer target: sizes, rectangles, filters and angles for the stretch transfer,
// the resampler and the rotation inside the frame. TransformError is the answer
// to invalid rectangles; anything else is a fault.
#include <cstddef>
#include <cstdint>

#include "pictures/AffineTransformation.h"
#include "pictures/Resampler.h"

using namespace pictra::pictures;

namespace {

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    int next(int range) {
        const int v = at < size ? data[at] : 0;
        ++at;
        return range > 0 ? v % range : v;
    }
    int signedNext(int range) { return next(2 * range + 1) - range; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader r{data, size};
    Bitmap32 source(r.next(48), r.next(48));
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) source.row(y)[x] = 0x01010101u * static_cast<Color32>(r.next(256));
    }
    source.stretchFilter = static_cast<StretchFilter>(r.next(7));
    source.drawMode = static_cast<DrawMode>(r.next(2));
    source.masterAlpha = r.next(256);
    Bitmap32 destination(r.next(200), r.next(200));
    const Rect srcRect{r.signedNext(8), r.signedNext(8), r.next(56), r.next(56)};
    const Rect dstRect{r.signedNext(100), r.signedNext(100), r.signedNext(250), r.signedNext(250)};
    try {
        stretchDraw(destination, dstRect, source, srcRect);
    } catch (const TransformError&) {
    }
    const Bitmap32 scaled = resized(source, r.next(120), r.next(120), static_cast<StretchFilter>(r.next(7)));
    Bitmap32 turned;
    turned.assign(scaled);
    rotateInFrame(turned, static_cast<float>(r.signedNext(360)));
    AffineTransformation t;
    t.srcRect = {static_cast<float>(r.signedNext(10)), 0, static_cast<float>(r.next(60)), 40};
    t.scale(static_cast<float>(r.signedNext(4)) / 2.0f, static_cast<float>(r.signedNext(4)) / 2.0f);
    t.rotate(static_cast<float>(r.next(50)), 3, static_cast<float>(r.signedNext(180)));
    transform(destination, source, t);
    return 0;
}
