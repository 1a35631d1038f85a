// Whole-process picture paths of the picture window, for timing against peer
// programs (bench/pictures_peer.sh):
//   picture_tool fit IN W H OUT      fit into W × H with Lanczos (DCT-scaled decoding), save as JPEG 90
//   picture_tool exact IN W H OUT    the same from the full-size decode
//   picture_tool turn IN OUT         quarter turn right, save as JPEG 90
//   picture_tool compare IN W H      how far the DCT-scaled fit differs from the exact one
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "pictures/Resampler.h"
#include "platform/pictures/PictureFiles.h"

using namespace pictra;
using namespace pictra::platform::pictures;

namespace {

pictures::Bitmap32 fit(const std::string& in, int w, int h, bool scaled) {
    if (scaled) return loadFitted(in, w, h).bitmap;
    LoadedPicture p = loadPicture(in);
    const auto [tw, th] = fittedSize(p.fullWidth, p.fullHeight, w, h);
    return pictures::resized(p.bitmap, tw, th, pictures::StretchFilter::Lanczos);
}

int compare(const std::string& in, int w, int h) {
    const pictures::Bitmap32 a = fit(in, w, h, true);
    const pictures::Bitmap32 b = fit(in, w, h, false);
    long long total = 0;
    int worst = 0;
    const long long n = static_cast<long long>(a.width()) * a.height();
    for (long long i = 0; i < n; ++i) {
        for (int shift = 0; shift < 24; shift += 8) {
            const int d = std::abs(static_cast<int>((a.bits()[i] >> shift) & 0xFF) -
                                   static_cast<int>((b.bits()[i] >> shift) & 0xFF));
            total += d;
            worst = std::max(worst, d);
        }
    }
    std::printf("%dx%d: mean |difference| %.3f, largest %d (of 255)\n", a.width(), a.height(),
                static_cast<double>(total) / static_cast<double>(n * 3), worst);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    try {
        if ((mode == "fit" || mode == "exact") && argc == 6) {
            savePicture(argv[5], fit(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), mode == "fit"), 90);
            return 0;
        }
        if (mode == "turn" && argc == 4) {
            const LoadedPicture p = loadTurnedRight(argv[2]);
            savePicture(argv[3], p.bitmap, 90, p.exif);
            return 0;
        }
        if (mode == "compare" && argc == 5) return compare(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: picture_tool fit|exact IN W H OUT | turn IN OUT | compare IN W H\n");
    return 2;
}
