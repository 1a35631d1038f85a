// Whole-process picture paths of the picture window, for timing against peer
// programs (bench/pictures_peer.sh):
//   picture_tool fit IN W H OUT      fit into W × H with Lanczos (DCT-scaled decoding), save as JPEG 90
//   picture_tool exact IN W H OUT    the same from the full-size decode
//   picture_tool turn IN OUT         quarter turn right, save as JPEG 90
//   picture_tool compare IN W H      how far the DCT-scaled fit differs from the exact one
// and the picture editor's jobs on a whole file (bench/picture_peer.sh):
//   picture_tool sharpen|invert|mirror|grey IN OUT   the filter at full size, save as JPEG 90
//   picture_tool lossless IN OUT     a quarter turn right without decoding (copy, then turn in place)
//   picture_tool photo OUT W H       a photograph-like test picture (smooth colours, fine noise), JPEG 92
// and a ".jp0" shown over its picture (bench/pictures_peer.sh):
//   picture_tool caption IN OUT      IN at full size with the lines of its ".jp0" drawn in, save as JPEG 90
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <filesystem>
#include <random>

#include <QGuiApplication>

#include "pictures/Resampler.h"
#include "pictures/editing/Colours.h"
#include "pictures/editing/Filters.h"
#include "platform/pictures/CaptionDrawing.h"
#include "platform/pictures/LosslessTurn.h"
#include "platform/pictures/PictureCodecs.h"
#include "platform/pictures/PictureEditingCodecs.h"
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

// As the editor does it: the picture at full size, the filter, then saving.
int filter(const std::string& mode, const std::string& in, const std::string& out) {
    namespace ed = pictures::editing;
    LoadedPicture p = loadPicture(in);
    if (mode == "sharpen") {
        p.bitmap = ed::sharpened(p.bitmap, 3);
    } else if (mode == "invert") {
        ed::invertColours(p.bitmap);
    } else if (mode == "mirror") {
        ed::mirror(p.bitmap);
    } else {
        p.bitmap = decodeJpeg(encodeJpegGrey(p.bitmap)).bitmap;
    }
    savePicture(out, p.bitmap, 90);
    return 0;
}

pictures::Bitmap32 photo(int w, int h) {
    pictures::Bitmap32 b(w, h);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> noise(-12, 12);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double u = static_cast<double>(x) / w;
            const double v = static_cast<double>(y) / h;
            const int r = static_cast<int>(128 + 100 * std::sin(6.0 * u + 2.0 * v)) + noise(random);
            const int g = static_cast<int>(128 + 90 * std::cos(4.0 * v - 3.0 * u)) + noise(random);
            const int bl = static_cast<int>(128 + 80 * std::sin(9.0 * u * v + 1.0)) + noise(random);
            b.row(y)[x] = pictures::editing::rgb(pictures::editing::clampByte(r), pictures::editing::clampByte(g),
                                                 pictures::editing::clampByte(bl));
        }
    }
    return b;
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
        if ((mode == "sharpen" || mode == "invert" || mode == "mirror" || mode == "grey") && argc == 4) {
            return filter(mode, argv[2], argv[3]);
        }
        if (mode == "lossless" && argc == 4) {
            std::filesystem::copy_file(argv[2], argv[3], std::filesystem::copy_options::overwrite_existing);
            if (!turnJpegFile(argv[3], true)) std::fprintf(stderr, "not lossless: re-encoded\n");
            return 0;
        }
        if (mode == "photo" && argc == 5) {
            savePicture(argv[2], photo(std::atoi(argv[3]), std::atoi(argv[4])), 92);
            return 0;
        }
        if (mode == "caption" && argc == 4) {
            // Text needs the fonts of a GUI application, though nothing is shown.
            setenv("QT_QPA_PLATFORM", "offscreen", 0);
            int qtArgc = 1;
            QGuiApplication app(qtArgc, argv);
            LoadedPicture p = loadPicture(argv[2]);
            drawCaptionFile(p.bitmap, argv[2], {20, 0x000000, 0xFFFFFF});
            savePicture(argv[3], p.bitmap, 90);
            return 0;
        }
        if (mode == "compare" && argc == 5) return compare(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: picture_tool fit|exact IN W H OUT | turn IN OUT | compare IN W H | "
                         "sharpen|invert|mirror|grey|lossless IN OUT | photo OUT W H | caption IN OUT\n");
    return 2;
}
