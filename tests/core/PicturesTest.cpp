#include <gtest/gtest.h>

#include "pictures/AffineTransformation.h"
#include "pictures/Bitmap32.h"
#include "pictures/PictureNames.h"
#include "pictures/PixelCombine.h"
#include "pictures/Resampler.h"
#include "pictures/Viewer.h"

using namespace pictra::pictures;

namespace {

Color32 grey(int v) { return 0xFF000000u | static_cast<Color32>(v) * 0x010101u; }
int red(Color32 c) { return static_cast<int>((c >> 16) & 0xFF); }

// A w × h bitmap whose pixel (x, y) is 0xFF000000 + 16·y + x, so every pixel says where it came from.
Bitmap32 numbered(int w, int h) {
    Bitmap32 b(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) b.row(y)[x] = 0xFF000000u + static_cast<Color32>(16 * y + x);
    }
    return b;
}

Bitmap32 greyRow(std::initializer_list<int> values) {
    Bitmap32 b(static_cast<int>(values.size()), 1);
    int x = 0;
    for (int v : values) b.row(0)[x++] = grey(v);
    return b;
}

}  // namespace

TEST(Bitmap32, SizeRules) {
    Bitmap32 b;
    EXPECT_TRUE(b.setSize(-5, 10));
    EXPECT_EQ(b.width(), 0);
    EXPECT_EQ(b.height(), 10);
    EXPECT_TRUE(b.empty());
    EXPECT_FALSE(b.setSize(0, 10));
    EXPECT_TRUE(b.setWidth(3));
    EXPECT_EQ(b.height(), 10);
    b.outerColor = 0x12345678;
    b.clear(0xFF00FF00);
    EXPECT_EQ(b.pixelChecked(2, 9), 0xFF00FF00u);
    EXPECT_EQ(b.pixelChecked(3, 0), 0x12345678u);
    b.setPixelChecked(-1, 0, 0);  // outside: ignored
    int changes = 0;
    b.onChange = [&] { ++changes; };
    b.beginUpdate();
    b.clear(0);
    EXPECT_EQ(changes, 0);
    b.endUpdate();
    b.clear(0);
    EXPECT_EQ(changes, 1);
    EXPECT_THROW(b.endUpdate(), std::logic_error);
}

TEST(Bitmap32, APictureBeyondTheMemoryIsRefused) {
    const auto old = maxBitmapBytes();
    setMaxBitmapBytes(1000);
    Bitmap32 b;
    EXPECT_THROW(b.setSize(100, 100), BitmapTooLarge);
    EXPECT_TRUE(b.empty());
    setMaxBitmapBytes(old);
}

TEST(Bitmap32, TurnsMovePixelsWhereTheyBelong) {
    const Bitmap32 source = numbered(3, 2);
    Bitmap32 right;
    turnRight(source, right);
    ASSERT_EQ(right.width(), 2);
    ASSERT_EQ(right.height(), 3);
    EXPECT_EQ(right.pixel(1, 0), source.pixel(0, 0));  // former top-left at the top-right
    EXPECT_EQ(right.pixel(0, 2), source.pixel(2, 1));
    Bitmap32 left;
    turnLeft(source, left);
    EXPECT_EQ(left.pixel(0, 2), source.pixel(0, 0));  // former top-left at the bottom-left
    EXPECT_EQ(left.pixel(1, 0), source.pixel(2, 1));
    Bitmap32 half;
    turnHalf(source, half);
    EXPECT_EQ(half.pixel(0, 0), source.pixel(2, 1));
    // In place: four right turns give the picture back, properties kept.
    Bitmap32 b = numbered(5, 3);
    b.stretchFilter = StretchFilter::Lanczos;
    for (int i = 0; i < 4; ++i) turnRight(b);
    const Bitmap32 original = numbered(5, 3);
    EXPECT_EQ(std::vector<Color32>(b.bits(), b.bits() + 15), std::vector<Color32>(original.bits(), original.bits() + 15));
    EXPECT_EQ(b.stretchFilter, StretchFilter::Lanczos);
    Bitmap32 inverted;
    invert(numbered(2, 1), inverted);
    EXPECT_EQ(inverted.pixel(1, 0), 0xFFFFFFFEu);
}

TEST(PixelCombine, Operations) {
    using namespace combine;
    struct Case {
        Color32 result;
        Color32 expected;
    };
    const Color32 f = 0x80C04020;
    const Color32 b = 0x40206090;
    const Case cases[] = {
        {combine::combine(0xFFFFFFFF, 0x00000000, 128), 0x80808080},
        {combine::combine(f, b, 255), 0x80BF4020},  // (X·255 + 128) >> 8: 0xC0 becomes 0xBF
        {blend(0xFF123456, b), 0xFF123456},
        {blend(0x00123456, b), b},
        {blend(0x80FF0000, 0xFF0000FF), combine::combine(0x80FF0000, 0xFF0000FF, 0x80)},
        {blendMaster(0xFFFF0000, 0xFF0000FF, 0), 0xFF0000FF},  // w = 255 < 256: the background
        {blendMaster(0xFFFF0000, 0xFF0000FF, 255), combine::combine(0xFFFF0000, 0xFF0000FF, 255) & 0x00FFFFFF},
        {add(f, b), 0xC0E0A0B0},
        {add(0xFFFF0101, 0x01010101), 0xFFFF0202},
        {subtract(f, b), 0x40A00000},
        {modulate(0xFFFF8040, 0xFF808080), 0xFE7F4020},
        {maximum(f, b), 0x80C06090},
        {minimum(f, b), 0x40204020},
        {difference(f, b), 0x40A02070},
        {exclusion(0xFFFF0080, 0x00FF8080), 0xFF028080},
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].result, cases[i].expected) << "case " << i;
    Color32 line[2] = {0xFF0000FF, 0xFF0000FF};
    const Color32 src[2] = {0xFFFF0000, 0x00FF0000};
    blendLine(src, line, 2);
    EXPECT_EQ(line[0], 0xFFFF0000u);
    EXPECT_EQ(line[1], 0xFF0000FFu);
}

TEST(Resampler, MappingTablesFollowTheRules) {
    // 4 → 2 with the linear kernel: widened by 1 / scale, clamped at the edge.
    const MappingTable shrink = buildMappingTable(0, 4, 0, 2, 0, 2, StretchFilter::Linear);
    ASSERT_EQ(shrink.size(), 2u);
    const std::vector<std::pair<int, int>> first = {{0, 32}, {0, 96}, {1, 96}, {2, 32}};
    const std::vector<std::pair<int, int>> second = {{1, 32}, {2, 96}, {3, 96}, {3, 32}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(shrink[0][i].position, first[i].first);
        EXPECT_EQ(shrink[0][i].weight, first[i].second);
        EXPECT_EQ(shrink[1][i].position, second[i].first);
        EXPECT_EQ(shrink[1][i].weight, second[i].second);
    }
    // 2 → 4 with Mitchell: negative lobes kept, weights summing to 256.
    const MappingTable grow = buildMappingTable(0, 2, 0, 4, 0, 4, StretchFilter::Mitchell);
    ASSERT_EQ(grow[0].size(), 4u);
    EXPECT_EQ(grow[0][0].weight, -4);
    EXPECT_EQ(grow[0][1].weight, 66);
    EXPECT_EQ(grow[0][2].weight, 200);
    EXPECT_EQ(grow[0][3].weight, -6);
    for (const auto& entries : grow) {
        int sum = 0;
        for (const auto& e : entries) sum += e.weight;
        EXPECT_EQ(sum, 256);
    }
    // Only the clipped positions get entries; a single source pixel takes everything.
    EXPECT_EQ(buildMappingTable(0, 4, 0, 8, 2, 5, StretchFilter::Lanczos).size(), 3u);
    const MappingTable single = buildMappingTable(3, 4, 0, 5, 0, 5, StretchFilter::Lanczos);
    EXPECT_EQ(single[4].size(), 1u);
    EXPECT_EQ(single[4][0].position, 3);
    EXPECT_EQ(single[4][0].weight, 256);
}

TEST(Resampler, GoldenPixelsFromTheTables) {
    const Bitmap32 shrunk = resized(greyRow({0, 64, 128, 255}), 2, 1, StretchFilter::Linear);
    EXPECT_EQ(shrunk.pixel(0, 0), grey(40));
    EXPECT_EQ(shrunk.pixel(1, 0), grey(183));
    const Bitmap32 grown = resized(greyRow({100, 200}), 4, 1, StretchFilter::Mitchell);
    EXPECT_EQ(red(grown.pixel(0, 0)), 97);  // (262·100 − 6·200) / 256
}

TEST(Resampler, SameSizeIsACopyAndAOnePixelColumnRepeats) {
    const Bitmap32 source = numbered(7, 5);
    for (auto filter : {StretchFilter::Lanczos, StretchFilter::Mitchell, StretchFilter::Nearest}) {
        const Bitmap32 same = resized(source, 7, 5, filter);
        EXPECT_EQ(std::vector<Color32>(same.bits(), same.bits() + 35),
                  std::vector<Color32>(source.bits(), source.bits() + 35));
        const Bitmap32 column = numbered(1, 3);
        const Bitmap32 wide = resized(column, 9, 3, filter);
        for (int y = 0; y < 3; ++y) {
            // Mitchell does not interpolate, so only the kernels that do keep the rows' values.
            if (filter != StretchFilter::Mitchell) {
                EXPECT_EQ(wide.pixel(0, y), column.pixel(0, y));
            }
            for (int x = 0; x < 9; ++x) EXPECT_EQ(wide.pixel(x, y), wide.pixel(0, y)) << x << "," << y;
        }
    }
}

TEST(Resampler, LanczosOnAHardEdgeStaysInRange) {
    Bitmap32 edge(100, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 100; ++x) edge.row(y)[x] = x < 50 ? grey(0) : grey(255);
    }
    for (int width : {37, 13, 240}) {
        const Bitmap32 out = resized(edge, width, 3, StretchFilter::Lanczos);
        EXPECT_LT(red(out.pixel(0, 1)), 16) << width;
        EXPECT_GT(red(out.pixel(width - 1, 1)), 239) << width;
        for (int x = 0; x < width; ++x) {
            const Color32 p = out.pixel(x, 1);
            EXPECT_EQ(p >> 24, 255u);
            EXPECT_EQ(red(p), static_cast<int>(p & 0xFF));
            // Without the clamp a negative lobe would wrap round to a bright pixel on the dark side.
            if (x < width / 3) {
                EXPECT_LT(red(p), 128) << width << " " << x;
            }
        }
    }
}

TEST(Resampler, ThreadsNeverChangeTheResult) {
    Bitmap32 photo(640, 480);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) photo.row(y)[x] = 0xFF000000u | static_cast<Color32>((x * 7 + y * 13) * 2654435761u >> 8);
    }
    setResamplerThreads(1);
    const Bitmap32 one = resized(photo, 300, 200, StretchFilter::Lanczos);
    setResamplerThreads(2);
    const Bitmap32 two = resized(photo, 300, 200, StretchFilter::Lanczos);
    EXPECT_EQ(std::vector<Color32>(one.bits(), one.bits() + 60000), std::vector<Color32>(two.bits(), two.bits() + 60000));
}

TEST(Resampler, NearestStretchRules) {
    const Bitmap32 source = numbered(4, 4);
    // Width 1 takes the middle column (0 + 4 − 1) div 2 = 1.
    const Bitmap32 thin = resized(source, 1, 4, StretchFilter::Nearest);
    EXPECT_EQ(thin.pixel(0, 2), source.pixel(1, 2));
    // Doubling: destination column i takes trunc(i · 0.5); rows repeat.
    const Bitmap32 twice = resized(source, 8, 8, StretchFilter::Nearest);
    EXPECT_EQ(twice.pixel(5, 3), source.pixel(2, 1));
    EXPECT_EQ(twice.pixel(7, 7), source.pixel(3, 3));
}

TEST(Resampler, ErrorsAndClipping) {
    Bitmap32 empty;
    Bitmap32 dest(4, 4);
    const Bitmap32 source = numbered(4, 4);
    try {
        stretchDraw(dest, dest.bounds(), empty, {0, 0, 1, 1});
        ADD_FAILURE();
    } catch (const TransformError& e) {
        EXPECT_STREQ(e.what(), "Source bitmap is nil or empty");
    }
    try {
        stretchDraw(empty, {0, 0, 1, 1}, source, source.bounds());
        ADD_FAILURE();
    } catch (const TransformError& e) {
        EXPECT_STREQ(e.what(), "Destination bitmap is nil or empty");
    }
    try {
        stretchDraw(dest, dest.bounds(), source, {0, 0, 5, 4});
        ADD_FAILURE();
    } catch (const TransformError& e) {
        EXPECT_STREQ(e.what(), "Source rectangle is invalid");
    }
    // Drawn half outside: only the inside part changes, the same-size path copies.
    dest.clear(0);
    stretchDraw(dest, {2, 2, 6, 6}, source, source.bounds());
    EXPECT_EQ(dest.pixel(3, 3), source.pixel(1, 1));
    EXPECT_EQ(dest.pixel(1, 1), 0u);
    // Blend mode with a master alpha below 255.
    Bitmap32 over(1, 1);
    over.clear(0xFFFFFFFF);
    over.drawMode = DrawMode::Blend;
    over.masterAlpha = 127;
    Bitmap32 under(1, 1);
    under.clear(0xFF000000);
    draw(under, 0, 0, over);
    EXPECT_EQ(under.pixel(0, 0), combine::blendMaster(0xFFFFFFFF, 0xFF000000, 127));
}

TEST(AffineTransformation, MatrixPreparationAndBounds) {
    AffineTransformation t;
    t.translate(10.5f, -2.0f);
    const auto& p = t.prepared();
    EXPECT_EQ(p.a, 4096);
    EXPECT_EQ(p.c, -43008);
    EXPECT_EQ(p.f, 8192);
    t.srcRect = {0, 0, 4, 3};
    const Rect b = t.transformedBounds();
    EXPECT_EQ(b.left, 10);    // round(10.5 − 0.5)
    EXPECT_EQ(b.right, 15);   // round(14.5 + 0.5)
    EXPECT_EQ(b.top, -2);     // round(−2.5), ties to even
    EXPECT_EQ(b.bottom, 2);   // round(1.5)
}

TEST(AffineTransformation, SingularMatrixUsesTheIdentity) {
    AffineTransformation t;
    t.scale(0, 0);
    EXPECT_EQ(determinant(t.matrix()), 0.0f);
    const Bitmap32 source = numbered(4, 3);
    Bitmap32 dest(4, 3);
    dest.clear(0);
    t.srcRect = {0, 0, 4, 3};
    transform(dest, source, t);
    EXPECT_EQ(dest.pixel(0, 0), source.pixel(0, 0));  // the bounds of a point at (0, 0)
    const Matrix3 inv = inverse(t.matrix());
    EXPECT_EQ(inv, identityMatrix());
}

TEST(AffineTransformation, RotationInsideTheFrame) {
    Bitmap32 picture(9, 9);
    picture.clear(0xFFFF0000);
    rotateInFrame(picture, 45.0f);
    EXPECT_EQ(picture.width(), 9);
    EXPECT_EQ(picture.pixel(0, 0), 0xFF7F7F7Fu);  // uncovered corner
    EXPECT_EQ(picture.pixel(4, 4), 0xFFFF0000u);
    // A quarter turn to the left: the top-right corner comes to the top-left.
    Bitmap32 square = numbered(5, 5);
    rotateInFrame(square, 90.0f);
    EXPECT_EQ(square.pixel(2, 2), numbered(5, 5).pixel(2, 2));
    EXPECT_EQ(square.pixel(1, 1), numbered(5, 5).pixel(3, 1));
    Bitmap32 dot(1, 1);
    dot.clear(0xFF00FF00);
    rotateInFrame(dot, 30.0f);  // nothing to divide by: no crash, the pixel stays
    EXPECT_EQ(dot.pixel(0, 0), 0xFF00FF00u);
}

TEST(PictureNames, SubstringRuleAndSignatures) {
    EXPECT_TRUE(isPictureFile("/x/Urlaub.JPG"));
    EXPECT_TRUE(isPictureFile("x.jpg.txt"));
    EXPECT_TRUE(isPictureFile("bild.jpeg"));
    EXPECT_FALSE(isPictureFile("brief.txt"));
    for (const char* phone : {"IMG_0001.HEIC", "/x/a.heif", "bild.webp"}) {
        EXPECT_TRUE(isPictureFile(phone)) << phone;
        EXPECT_TRUE(isReadOnlyPicture(phone)) << phone;
    }
    EXPECT_FALSE(isPictureFile("seite.webpage.html"));
    EXPECT_FALSE(isReadOnlyPicture("bild.jpg"));
    EXPECT_EQ(signatureOf(std::string("\0\0\0\x18" "ftypheic\0\0\0\0", 16)), Signature::Heif);
    EXPECT_EQ(signatureOf(std::string("\0\0\0\x18" "ftypmif1", 12)), Signature::Heif);
    EXPECT_EQ(signatureOf(std::string("\0\0\0\x18" "ftypisom", 12)), Signature::Unknown);
    EXPECT_EQ(signatureOf(std::string("RIFF\x10\0\0\0WEBPVP8 ", 16)), Signature::Webp);
    EXPECT_EQ(signatureOf(std::string("RIFF\x10\0\0\0WAVEfmt ", 16)), Signature::Unknown);
    EXPECT_EQ(signatureOf("\xFF\xD8\xFF\xE0"), Signature::Jpeg);
    EXPECT_EQ(signatureOf("GIF89a"), Signature::Gif);
    EXPECT_EQ(signatureOf("BM6"), Signature::Bmp);
    EXPECT_EQ(signatureOf("\x89PNG\r\n"), Signature::Png);
    const auto png = wrongExtension("/b/foto.jpg", "\x89PNG\r\n");
    ASSERT_TRUE(png);
    EXPECT_EQ(png->question, "Die Datei\r/b/foto.jpg\rist eine PNG-Datei mit falscher Erweiterung! Umbenennen?");
    EXPECT_EQ(png->newPath, "/b/foto.png");
    EXPECT_EQ(wrongExtension("/b/foto.png", "\x89PNG"), std::nullopt);
    EXPECT_EQ(wrongExtension("/b/foto.jpeg", "\xFF\xD8"), std::nullopt);
    EXPECT_EQ(wrongExtension("/b/x.gif", "\xFF\xD8")->newPath, "/b/x.jpg");
}

namespace v = pictra::pictures::viewer;

TEST(Viewer, DisplaySizeAndZoom) {
    // 4000 × 3000 on 1280 × 1024: the width may pass the screen by an eighth.
    EXPECT_EQ(v::displaySize({4000, 3000}, {1280, 1024}, false, true), (v::Size{1365, 1024}));
    // Wider than 9/8 of the screen: the width limits.
    EXPECT_EQ(v::displaySize({6000, 2000}, {1280, 1024}, false, true), (v::Size{1280, 426}));
    EXPECT_EQ(v::displaySize({4000, 3000}, {1280, 1024}, true, true), (v::Size{4000, 3000}));
    EXPECT_EQ(v::displaySize({4000, 3000}, {1280, 1024}, false, false), (v::Size{4000, 3000}));
    EXPECT_EQ(v::displaySize({640, 480}, {1280, 1024}, false, false), (v::Size{640, 480}));  // never enlarged
    struct Case {
        v::ZoomKey key;
        v::Size expected;
    };
    for (const Case& c : {Case{v::ZoomKey::Larger, {1448, 1086}}, Case{v::ZoomKey::Smaller, {938, 704}},
                          Case{v::ZoomKey::Slightly, {1013, 760}}}) {
        EXPECT_EQ(v::zoomed({1024, 768}, {4000, 3000}, c.key), c.expected);
    }
}

TEST(Viewer, StepsWrapAndCaptions) {
    const std::vector<std::string> list =
        v::pictureList({"/b/a.jpg", "/b/brief.txt", "/b/B.PNG", "/b/x.jpg.txt", "/b/c.gif"});
    ASSERT_EQ(list, (std::vector<std::string>{"/b/a.jpg", "/b/B.PNG", "/b/x.jpg.txt", "/b/c.gif"}));
    EXPECT_EQ(v::step(list, "/b/b.png", true)->index, 2);
    const auto wrapped = v::step(list, "/b/c.gif", true);
    EXPECT_EQ(wrapped->index, 0);
    EXPECT_TRUE(wrapped->wrapped);
    EXPECT_EQ(v::step(list, "/b/a.jpg", false)->index, 3);
    EXPECT_EQ(v::step(list, "/anders/weg.jpg", true)->index, 1);  // not in the list: counts as index 0
    EXPECT_FALSE(v::step({}, "/b/a.jpg", true));
    EXPECT_EQ(v::sizeCaption({4000, 3000}), "Original: 4000:3000 (4:3)");
    EXPECT_EQ(v::sizeCaption({1920, 1080}), "Original: 1920:1080 (16:9)");
    EXPECT_EQ(v::sizeCaption({10, 7}), "Original: 10:7");  // the width is the ratio itself
}

TEST(Viewer, CutAndColourSteps) {
    const Bitmap32 source = numbered(8, 6);
    // Marked on a display of half the size: doubled and rounded.
    const Rect r = v::toSource({1, 1, 3, 2}, {4, 3}, {8, 6});
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.right, 6);
    const Bitmap32 piece = v::cut(source, r);
    ASSERT_EQ(piece.width(), 4);
    ASSERT_EQ(piece.height(), 2);
    EXPECT_EQ(piece.pixel(0, 0), source.pixel(2, 2));
    Bitmap32 grey(4, 4);
    grey.clear(0xFF646464);  // 100
    v::applyCurve(grey, {5, 0, -5, 5});
    EXPECT_EQ(grey.pixel(0, 0), 0xFF6E6964u);  // 5 + 105, 5 + 100, 5 + 95
    Bitmap32 white(3, 3);
    white.clear(0xFFFAFAFA);
    v::brighten(white, 5);
    EXPECT_EQ(white.pixel(1, 1), 0xFFFFFFFFu);  // clamped at 255
}

TEST(Viewer, RatioMarkingAndColouringIn) {
    EXPECT_EQ(v::parseRatio("13:9").a, 13);
    EXPECT_EQ(v::parseRatio("13:9").b, 9);
    EXPECT_EQ(v::parseRatio("13-9").error, "Doppelpunkt fehlt!\rBeispiel für die Eingabe: \"13:9\" !");
    EXPECT_EQ(v::parseRatio("a:9").error, "Falsche Eingabe!\rBeispiel für die Eingabe: \"13:9\" !");
    // A landscape marking keeps 3:2; a portrait one turns the ratio round.
    const auto wide = v::keepRatio({10, 10, 100, 50}, 3, 2, 1000);
    EXPECT_EQ(wide.x1, 10 + 40 * 3 / 2);
    const auto tall = v::keepRatio({10, 10, 40, 100}, 3, 2, 1000);
    EXPECT_EQ(tall.x1, 10 + 90 * 2 / 3);
    // Too wide for the picture: moved up until it fits.
    const auto clipped = v::keepRatio({0, 0, 300, 100}, 4, 1, 200);
    EXPECT_LT(clipped.x1, 200);
    EXPECT_EQ(clipped.x1, clipped.y1 * 4);
    Bitmap32 b(3, 1);
    b.row(0)[0] = 0xFFFF0000;
    b.row(0)[1] = 0xFFF80808;
    b.row(0)[2] = 0xFFFFFFFF;
    Bitmap32 tolerant;
    tolerant.assign(b);
    v::colourIn(b, 0xFFFF0000, 10, 0xFF00FF00);
    EXPECT_EQ(b.pixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(b.pixel(1, 0), 0xFF00FF00u);  // every channel within 10
    EXPECT_EQ(b.pixel(2, 0), 0xFFFFFFFFu);
    v::colourIn(tolerant, 0, 256, 0xFF0000FF);  // 256: everything not white
    EXPECT_EQ(tolerant.pixel(1, 0), 0xFF0000FFu);
    EXPECT_EQ(tolerant.pixel(2, 0), 0xFFFFFFFFu);
    Bitmap32 grey(1, 1);
    grey.clear(0xFF646464);
    v::applyCurve(grey, {5, 0, 0, 0, true});  // "mehr rot": only red gets its offset
    EXPECT_EQ(grey.pixel(0, 0), 0xFF6E6464u);
}

TEST(Viewer, RainbowAndSmoothInsert) {
    Bitmap32 b(7, 2);
    v::drawRainbow(b);
    EXPECT_EQ(b.pixel(0, 0), 0xFFFF0000u);  // red
    EXPECT_EQ(b.pixel(6, 1), 0xFFFF00FFu);  // violet
    Bitmap32 picture(8, 8);
    picture.clear(0xFF000000);
    Bitmap32 extra(8, 8);
    extra.clear(0xFFFFFFFF);
    v::insertPicture(picture, extra, 0, 0, v::InsertMode::Smooth);
    EXPECT_EQ(picture.pixel(0, 0), 0xFF000000u);  // the edge keeps the picture
    EXPECT_EQ(picture.pixel(3, 3), 0xFFFFFFFFu);  // the middle is the extra picture
}

TEST(Viewer, DarkerKeepingWhiteVisiblePartAndNextCutName) {
    Bitmap32 b = greyRow({100, 251, 252, 255});
    v::darkenKeepingWhite(b, 10);  // channel sums below 765 − 10 darken by 5 % and 5
    EXPECT_EQ(b.pixel(0, 0), grey(-5 + 100 * 95 / 100));
    EXPECT_EQ(b.pixel(1, 0), grey(-5 + 251 * 95 / 100));  // 753
    EXPECT_EQ(b.pixel(2, 0), grey(252));                  // 756: near white stays
    EXPECT_EQ(b.pixel(3, 0), grey(255));
    // A 2000 × 1000 display at (−500, −100) on a 1000 × 800 screen of a 4000 × 2000 picture.
    const Rect part = v::visiblePart(-500, -100, {2000, 1000}, {1000, 800}, {4000, 2000});
    EXPECT_EQ(part.left, 1000);
    EXPECT_EQ(part.top, 200);
    EXPECT_EQ(part.right, 3000);
    EXPECT_EQ(part.bottom, 1800);
    EXPECT_TRUE(v::visiblePart(2000, 0, {100, 100}, {1000, 800}, {100, 100}).empty());
    struct Name {
        const char* base;
        const char* next;
    };
    for (const Name& n : {Name{"bild07", "bild08"}, Name{"foto", "foto1"}, Name{"urlaub9a", "urlaub10a"},
                          Name{"x99", "x100"}, Name{"2019_12", "2020_12"}}) {
        EXPECT_EQ(v::nextCutName(n.base), n.next) << n.base;
    }
    // Within 5 pixels of an edge, but not on it.
    EXPECT_TRUE(v::nearEdge(4, 100, true));
    EXPECT_FALSE(v::nearEdge(0, 100, true));
    EXPECT_FALSE(v::nearEdge(5, 100, true));
    EXPECT_TRUE(v::nearEdge(95, 100, false));
    EXPECT_FALSE(v::nearEdge(99, 100, false));
}

TEST(PictureNames, EveryWrongExtensionHasItsQuestion) {
    struct Case {
        std::string_view bytes;
        const char* path;
        const char* word;
        const char* renamed;
    };
    for (const Case& c : {Case{"\xFF\xD8\xFF\xE0", "/b/x.png", "JPG", "/b/x.jpg"}, Case{"GIF89a", "/b/x.jpg", "GIF", "/b/x.gif"},
                          Case{"BM\x36\x00", "/b/x.jpg", "BMP", "/b/x.bmp"}, Case{"\x89PNG\r\n", "/b/x.gif", "PNG", "/b/x.png"}}) {
        const auto wrong = wrongExtension(c.path, c.bytes);
        ASSERT_TRUE(wrong) << c.path;
        EXPECT_EQ(wrong->question, std::string("Die Datei\r") + c.path + "\rist eine " + c.word +
                                       "-Datei mit falscher Erweiterung! Umbenennen?");
        EXPECT_EQ(wrong->newPath, c.renamed);
    }
    EXPECT_FALSE(wrongExtension("/b/x.jpeg", "\xFF\xD8\xFF\xE0"));
}
