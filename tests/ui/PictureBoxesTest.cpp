#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QThread>
#include <cstdio>
#include <functional>

#include "PictureFixtures.h"
#include "TempDir.h"
#include "explorer/folders/PictureBoxes.h"
#include "platform/pictures/JpegPreview.h"

using namespace pictra;

namespace {

// Red left, blue right: a picture turned or shifted by the decode would show.
test::Bitmap32 halves(int w, int h) {
    test::Bitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.row(y)[x] = x < w / 2 ? 0xFFE02020u : 0xFF2020E0u;
    return b;
}

struct PreviewCase {
    QSize box;
    QSize decoded;
};

class JpegPreviewScale : public ::testing::TestWithParam<PreviewCase> {};

TEST_P(JpegPreviewScale, DecodesAtTheLeastScaleCoveringTheBox) {
    const std::string jpeg = platform::pictures::encodeJpeg(halves(800, 600), 90);
    const auto image = platform::pictures::decodeJpegPreview(jpeg, GetParam().box);
    ASSERT_TRUE(image && !image->isNull());
    EXPECT_EQ(image->size(), GetParam().decoded);
    EXPECT_EQ(image->format(), QImage::Format_RGB32);
    const QColor left = image->pixelColor(image->width() / 8, image->height() / 2);
    const QColor right = image->pixelColor(image->width() * 7 / 8, image->height() / 2);
    EXPECT_NEAR(left.red(), 0xE0, 12);
    EXPECT_NEAR(left.blue(), 0x20, 12);
    EXPECT_NEAR(right.red(), 0x20, 12);
    EXPECT_NEAR(right.blue(), 0xE0, 12);
}

INSTANTIATE_TEST_SUITE_P(Boxes, JpegPreviewScale,
                         ::testing::Values(PreviewCase{{100, 75}, {100, 75}},     // an eighth
                                           PreviewCase{{150, 150}, {200, 150}},   // an eighth is too small
                                           PreviewCase{{600, 300}, {400, 300}},   // the height decides
                                           PreviewCase{{600, 450}, {600, 450}},   // six eighths
                                           PreviewCase{{2000, 2000}, {800, 600}}  // never enlarged
                                           ));

TEST(JpegPreview, TellsOtherFormatsFromDamagedJpegs) {
    EXPECT_FALSE(platform::pictures::decodeJpegPreview(test::encodeWithQt(halves(40, 30), "png"), {100, 100}));
    EXPECT_FALSE(platform::pictures::decodeJpegPreview("", {100, 100}));
    const auto damaged =
        platform::pictures::decodeJpegPreview(std::string("\xFF\xD8\xFF\xE0 kein Bild", 14), {100, 100});
    ASSERT_TRUE(damaged);
    EXPECT_TRUE(damaged->isNull());
    // Cut short, a photo is still shown as far as it goes.
    const std::string jpeg = platform::pictures::encodeJpeg(halves(800, 600), 90);
    const auto cut =
        platform::pictures::decodeJpegPreview(std::string_view(jpeg).substr(0, jpeg.size() / 2), {100, 75});
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->size(), QSize(100, 75));
}

struct PictureCacheTest : ::testing::Test {
    test::TempDir dir;
    std::string photo(const std::string& name) {
        dir.write(name, platform::pictures::encodeJpeg(halves(800, 600), 90));
        return dir.file(name);
    }
    // Waits for a condition, never for a fixed time.
    static bool eventually(const std::function<bool()>& condition) {
        QElapsedTimer timer;
        timer.start();
        while (!condition()) {
            if (timer.elapsed() > 20000) return false;
            QThread::msleep(2);
        }
        return true;
    }
};

TEST_F(PictureCacheTest, FitsAPictureIntoTheBoxAndAPlaceholderForWhatCannotBeShown) {
    ui::PictureCache cache(QSize(200, 200));
    EXPECT_EQ(cache.picture(photo("a.jpg")).size(), QSize(200, 150));
    dir.write("kaputt.jpg", std::string("\xFF\xD8\xFF\xE0 kein Bild", 14));
    dir.write("leer.png", "");
    for (const char* name : {"kaputt.jpg", "leer.png", "fehlt.jpg"}) {
        const QImage shown = cache.picture(dir.file(name));
        EXPECT_EQ(shown.size(), QSize(200, 200)) << name;
        EXPECT_EQ(shown.pixelColor(2, 2), QColor(0xC0, 0xC0, 0xC0)) << name;
    }
}

TEST_F(PictureCacheTest, ANeighbourDecodedAheadIsOnlySwappedIn) {
    ui::PictureCache cache(QSize(200, 200));
    const std::vector<std::string> neighbours{photo("b.jpg"), photo("c.jpg"), photo("d.jpg")};
    cache.prefetch(neighbours);
    for (const auto& path : neighbours) ASSERT_TRUE(eventually([&] { return cache.ready(path); })) << path;
    // Gone from the disk: only a picture decoded ahead can still be shown.
    for (const auto& path : neighbours) std::remove(path.c_str());
    for (const auto& path : neighbours) EXPECT_EQ(cache.picture(path).size(), QSize(200, 150)) << path;
}

TEST_F(PictureCacheTest, AJumpGetsItsPictureWhileTheDecodesAheadGiveUp) {
    std::vector<std::string> ahead;
    for (int i = 0; i < 8; ++i) ahead.push_back(photo("n" + std::to_string(i) + ".jpg"));
    const std::string far = photo("weit.jpg");
    {
        ui::PictureCache cache(QSize(120, 120));
        // The next picture, wanted while it is being decoded ahead and the others are held.
        cache.prefetch(ahead);
        EXPECT_EQ(cache.picture(ahead[0]).size(), QSize(120, 90));
        EXPECT_EQ(cache.picture(ahead[1]).size(), QSize(120, 90));
        cache.prefetch(ahead);
        EXPECT_EQ(cache.picture(far).size(), QSize(120, 90));
        EXPECT_EQ(cache.picture(ahead.back()).size(), QSize(120, 90));
        cache.prefetch(ahead);
        cache.setBox(QSize(100, 100));
        EXPECT_EQ(cache.picture(ahead.front()).size(), QSize(100, 75));
        cache.prefetch(ahead);
    }  // ends with decodes running: they stop and the threads are joined
}

}  // namespace

namespace {

TEST(PictureBox, ShowsThePictureWholeInABoxSmallerThanTheDecodedOne) {
    test::TempDir dir;
    dir.write("a.jpg", platform::pictures::encodeJpeg(halves(800, 600), 90));
    ui::PictureCache cache(QSize(200, 200));
    QWidget window;
    ui::PictureBox box("Image1", &window);
    box.resize(130, 100);
    window.show();
    box.showPicture(dir.file("a.jpg"), cache);
    EXPECT_EQ(box.pixmap().size(), QSize(200, 150).scaled(box.contentsRect().size(), Qt::KeepAspectRatio));
    box.resize(400, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(box.pixmap().size(), QSize(200, 150));  // as decoded, never enlarged
}

}  // namespace
