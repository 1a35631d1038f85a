// The decoders against hostile and broken pictures: sizes from the header beyond
// the budget, their own allocation limits, and data cut short.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "PictureFixtures.h"
#include "TempDir.h"
#include "platform/pictures/PictureFiles.h"

using namespace pictra;
using namespace pictra::test;
using Fixture = PictureFixture;

TEST(PictureBudget, SizesFromTheHeaderBeyondTheBudgetAreRefusedBeforeDecoding) {
    test::TempDir dir;
    const std::string progressive = progressiveJpeg(gradient(64, 64), false);
    for (const Fixture& f : {Fixture{"riesig.png", pngClaiming(60000, 60000)}, Fixture{"bombe.png", pngClaiming(20000, 20000)},
                             Fixture{"schirm.gif", gifOnScreen(20000, 20000)},
                             Fixture{"riesig.jpg", withFrameSize(progressive, 65000, 65000)},
                             Fixture{"gross.jpg", withFrameSize(progressive, 20000, 20000)}}) {
        dir.write(f.name, f.bytes);
        EXPECT_THROW(loadPicture(dir.file(f.name)), pictures::BitmapTooLarge) << f.name;
        EXPECT_TRUE(beyondBudget(dir.file(f.name))) << f.name;
    }
    dir.write("klein.jpg", progressive);
    EXPECT_FALSE(beyondBudget(dir.file("klein.jpg")));
    EXPECT_EQ(loadPicture(dir.file("klein.jpg")).bitmap.width(), 64);
    EXPECT_LE(pictureBudgetBytes(), std::uint64_t{256} * 1024 * 1024 * 4);
}

// A progressive JPEG keeps all its coefficients (6 bytes a pixel here) while the
// picture takes 4: libjpeg's own limit refuses what the header check let pass.
TEST(PictureBudget, TheJpegDecodersOwnAllocationsAreCapped) {
    const Bitmap32 picture = gradient(1000, 1000);
    const std::string progressive = progressiveJpeg(picture, true);
    const std::string baseline = encodeJpeg(picture, 90);
    const auto old = pictures::maxBitmapBytes();
    pictures::setMaxBitmapBytes(4200 * 1000);
    EXPECT_EQ(decodeJpeg(baseline).bitmap.width(), 1000);
    EXPECT_THROW(decodeJpeg(progressive), pictures::BitmapTooLarge);
    pictures::setMaxBitmapBytes(old);
    EXPECT_EQ(decodeJpeg(progressive).bitmap.width(), 1000);
}

TEST(BrokenPictures, CutOffDataIsShownAsFarAsItGoesAndMarkedDamaged) {
    test::TempDir dir;
    const std::string baseline = encodeJpeg(gradient(256, 256), 90);
    const std::string progressive = progressiveJpeg(gradient(256, 256), false);
    for (const Fixture& f : {Fixture{"halb.jpg", baseline.substr(0, baseline.size() / 2)},
                             Fixture{"erster-scan.jpg", cutAfterFirstScan(progressive)},
                             Fixture{"mitten-im-scan.jpg", progressive.substr(0, progressive.size() * 3 / 4)}}) {
        dir.write(f.name, f.bytes);
        const LoadedPicture picture = loadPicture(dir.file(f.name));
        EXPECT_TRUE(picture.damaged) << f.name;
        EXPECT_EQ(picture.bitmap.width(), 256) << f.name;
    }
    dir.write("ganz.jpg", progressive);
    EXPECT_FALSE(loadPicture(dir.file("ganz.jpg")).damaged);
    // A pipe would never end: it is not read at all.
    ASSERT_EQ(mkfifo(dir.file("rohr.jpg").c_str(), 0600), 0);
    EXPECT_THROW(loadPicture(dir.file("rohr.jpg")), PictureError);
}

