#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "platform/pictures/PictureCodecs.h"
#include "platform/pictures/PictureFiles.h"
#include "platform/pictures/QtPictureCodecs.h"
#include "pictures/Resampler.h"

using namespace pictra;
using namespace pictra::platform::pictures;
using pictra::pictures::Bitmap32;
using pictra::pictures::Color32;

namespace {

// Opaque colour fields with a gradient, so that lossy formats stay close.
Bitmap32 testPicture(int w, int h) {
    Bitmap32 b(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Color32 r = static_cast<Color32>(x * 255 / std::max(w - 1, 1));
            const Color32 g = static_cast<Color32>(y * 255 / std::max(h - 1, 1));
            b.row(y)[x] = 0xFF000000u | (r << 16) | (g << 8) | (x < w / 2 ? 0x40u : 0xC0u);
        }
    }
    return b;
}

int maxDifference(const Bitmap32& a, const Bitmap32& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            for (int shift = 0; shift < 32; shift += 8) {
                const int d = static_cast<int>((a.pixel(x, y) >> shift) & 0xFF) -
                              static_cast<int>((b.pixel(x, y) >> shift) & 0xFF);
                worst = std::max(worst, std::abs(d));
            }
        }
    }
    return worst;
}

bool samePixels(const Bitmap32& a, const Bitmap32& b) {
    return a.width() == b.width() && a.height() == b.height() && maxDifference(a, b) == 0;
}

}  // namespace

TEST(PictureFiles, RoundTripsThroughEveryWritableFormat) {
    test::TempDir dir;
    const Bitmap32 picture = testPicture(40, 30);
    for (const char* name : {"a.png", "a.bmp", "a.tif", "a.ico"}) {
        savePicture(dir.file(name), picture);
        const LoadedPicture back = loadPicture(dir.file(name));
        EXPECT_TRUE(samePixels(back.bitmap, picture)) << name;
    }
    savePicture(dir.file("a.jpg"), picture, 95);
    const LoadedPicture jpeg = loadPicture(dir.file("a.jpg"));
    ASSERT_EQ(jpeg.bitmap.width(), 40);
    EXPECT_LT(maxDifference(jpeg.bitmap, picture), 40);
    savePicture(dir.file("a.gif"), picture);
    const LoadedPicture gif = loadPicture(dir.file("a.gif"));
    ASSERT_EQ(gif.bitmap.height(), 30);
    EXPECT_LT(maxDifference(gif.bitmap, picture), 48);  // 256 colours for a gradient
}

TEST(PictureFiles, APngOfAPhotoIsRgbAndKeepsTransparencyWhereThereIsAny) {
    test::TempDir dir;
    Bitmap32 seeThrough = testPicture(40, 30);
    seeThrough.row(3)[5] = 0x00123456u;
    seeThrough.row(4)[6] = 0x80FFFFFFu;
    struct Case {
        const char* name;
        Bitmap32 picture;
        char colourType;  // byte 25 of the file: 2 RGB, 6 RGBA
    };
    const Case cases[] = {{"foto.png", testPicture(40, 30), 2}, {"durchsichtig.png", seeThrough, 6}};
    for (const Case& c : cases) {
        savePicture(dir.file(c.name), c.picture);
        const std::string bytes = dir.read(c.name);
        ASSERT_GT(bytes.size(), 26u) << c.name;
        EXPECT_EQ(bytes.substr(1, 3), "PNG") << c.name;
        EXPECT_EQ(bytes[25], c.colourType) << c.name;
        EXPECT_TRUE(samePixels(loadPicture(dir.file(c.name)).bitmap, c.picture)) << c.name;
    }
}

TEST(PictureFiles, GifTransparencyBecomesAlphaZero) {
    // A 2 × 1 GIF89a: colour 0 black, colour 1 white and transparent.
    const unsigned char gif[] = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0,  // screen, 2-colour table
                                 0, 0, 0, 255, 255, 255,                                 // black, white
                                 0x21, 0xF9, 4, 0x01, 0, 0, 1, 0,                        // transparent index 1
                                 0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0,                        // image 2 × 1
                                 2, 2, 0x44, 0x0A, 0, 0x3B};                             // LZW: clear, 0, 1, end
    const Bitmap32 b = decodeGif(std::string_view(reinterpret_cast<const char*>(gif), sizeof gif));
    ASSERT_EQ(b.width(), 2);
    EXPECT_EQ(b.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(b.pixel(1, 0) >> 24, 0u);
}

TEST(PictureFiles, ABadFileIsAnErrorAndAPngNamedJpgIsReadByItsBytes) {
    test::TempDir dir;
    const Bitmap32 picture = testPicture(8, 8);
    savePicture(dir.file("echt.png"), picture);
    std::filesystem::copy_file(dir.file("echt.png"), dir.file("falsch.jpg"));
    EXPECT_TRUE(samePixels(loadPicture(dir.file("falsch.jpg")).bitmap, picture));

    dir.write("leer.jpg", "");
    EXPECT_THROW(loadPicture(dir.file("leer.jpg")), PictureError);
    dir.write("text.jpg.txt", "Das ist kein Bild.");
    EXPECT_THROW(loadPicture(dir.file("text.jpg.txt")), PictureError);
    EXPECT_THROW(loadPicture(dir.file("fehlt.png")), PictureError);
    // A GIF without any image: giflib has no error text for that (found by the fuzzer).
    EXPECT_THROW(decodeGif(std::string_view("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14)), PictureError);
    // A cut-off JPEG is shown as far as it goes; cut in its header it is an error.
    savePicture(dir.file("ganz.jpg"), testPicture(256, 256));
    const std::string whole = dir.read("ganz.jpg");
    dir.write("halb.jpg", whole.substr(0, whole.size() / 2));
    EXPECT_EQ(loadPicture(dir.file("halb.jpg")).bitmap.width(), 256);
    dir.write("kopf.jpg", whole.substr(0, 20));
    EXPECT_THROW(loadPicture(dir.file("kopf.jpg")), PictureError);
}

TEST(PictureFiles, DctScalingAndExifKeptOnResaving) {
    test::TempDir dir;
    savePicture(dir.file("gross.jpg"), testPicture(400, 300), 90);
    const std::string bytes = dir.read("gross.jpg");
    EXPECT_EQ(decodeJpeg(bytes, 4).bitmap.width(), 200);
    EXPECT_EQ(decodeJpeg(bytes, 1).bitmap.height(), 38);  // ceil(300 / 8)
    EXPECT_EQ(jpegScaleFor(6000, 4000, 1620, 1080), 5);   // 3750 × 2500 is still twice the target
    EXPECT_EQ(jpegScaleFor(400, 300, 300, 200), 8);
    const LoadedPicture preview = loadPicture(dir.file("gross.jpg"), 100, 75);
    EXPECT_EQ(preview.bitmap.width(), 200);
    EXPECT_EQ(preview.fullWidth, 400);

    const std::string exif = std::string("Exif\0\0", 6) + "MM\0*orientation";
    const std::string tagged = encodeJpeg(testPicture(16, 16), 90, exif);
    const JpegPicture read = decodeJpeg(tagged);
    EXPECT_EQ(read.exif, exif);
    savePicture(dir.file("neu.jpg"), read.bitmap, 90, read.exif);
    EXPECT_EQ(loadPicture(dir.file("neu.jpg")).exif, exif);
}

TEST(PictureFiles, FittingAndTurningBesideTheDecoderGiveTheSamePixels) {
    test::TempDir dir;
    savePicture(dir.file("foto.jpg"), testPicture(900, 700), 92);
    savePicture(dir.file("foto.png"), testPicture(90, 70));
    // 900 × 700 into 300 × 300: 300 × 233, decoded at 6/8 (675 × 525 is still twice the target).
    const LoadedPicture fitted = loadFitted(dir.file("foto.jpg"), 300, 300);
    const LoadedPicture scaled = loadPicture(dir.file("foto.jpg"), 300, 233);
    const Bitmap32 expected = pictra::pictures::resized(scaled.bitmap, 300, 233, pictra::pictures::StretchFilter::Lanczos);
    EXPECT_TRUE(samePixels(fitted.bitmap, expected));
    EXPECT_EQ(fitted.fullWidth, 900);
    const LoadedPicture turned = loadTurnedRight(dir.file("foto.jpg"));
    Bitmap32 turnedAfter = loadPicture(dir.file("foto.jpg")).bitmap;
    pictra::pictures::turnRight(turnedAfter);
    EXPECT_TRUE(samePixels(turned.bitmap, turnedAfter));
    // Other formats, and enlarging with Mitchell.
    const LoadedPicture grown = loadFitted(dir.file("foto.png"), 180, 180);
    EXPECT_EQ(grown.bitmap.width(), 180);
    EXPECT_EQ(grown.bitmap.height(), 140);
    EXPECT_EQ(fittedSize(4000, 3000, 1280, 1024), (std::pair<int, int>(1280, 960)));
}

TEST(PictureFiles, APictureTooLargeForTheMemoryIsRefused) {
    test::TempDir dir;
    savePicture(dir.file("a.jpg"), testPicture(200, 200));
    savePicture(dir.file("a.png"), testPicture(200, 200));
    const auto old = pictra::pictures::maxBitmapBytes();
    pictra::pictures::setMaxBitmapBytes(100 * 100 * 4);
    EXPECT_THROW(loadPicture(dir.file("a.jpg")), pictra::pictures::BitmapTooLarge);
    EXPECT_THROW(loadPicture(dir.file("a.png")), pictra::pictures::BitmapTooLarge);
    pictra::pictures::setMaxBitmapBytes(old);
}

TEST(PictureFiles, ASaveThatFailsLeavesTheOldFile) {
    test::TempDir dir;
    savePicture(dir.file("a.png"), testPicture(8, 8));
    const std::string before = dir.read("a.png");
    EXPECT_THROW(savePicture(dir.file("a.xyz"), testPicture(8, 8)), PictureError);
    EXPECT_THROW(savePicture(dir.file("fehlt/a.png"), testPicture(8, 8)), PictureError);
    EXPECT_THROW(savePicture(dir.file("a.png"), Bitmap32()), PictureError);
    EXPECT_EQ(dir.read("a.png"), before);
}

TEST(PictureFiles, QImageConversionKeepsTheLayout) {
    const Bitmap32 picture = testPicture(5, 4);
    const QImage image = toQImage(picture);
    EXPECT_EQ(image.pixel(3, 2), picture.pixel(3, 2));
    EXPECT_TRUE(samePixels(fromQImage(image), picture));
}
