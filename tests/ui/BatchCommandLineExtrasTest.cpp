// pictra-batch beyond the explorer's commands: GPS left out, captions burnt in.
#include <gtest/gtest.h>

#include <libexif/exif-data.h>

#include <QCoreApplication>
#include <QProcess>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "PictureFixtures.h"
#include "TempDir.h"
#include "common/FileIo.h"
#include "platform/pictures/ExifGpsTags.h"
#include "platform/pictures/PictureFiles.h"

using namespace pictra;
using pictra::pictures::Bitmap32;
namespace fs = std::filesystem;

namespace {

struct Ran {
    int exitCode = -1;
    std::string out;
    std::string err;
};

Ran runBatch(const QStringList& args) {
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + "/pictra-batch", args);
    EXPECT_TRUE(p.waitForStarted());
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

QString q(const std::string& s) { return QString::fromStdString(s); }

void addAscii(ExifData* data, ExifIfd ifd, int tag, const char* text) {
    ExifEntry* e = exif_entry_new();
    exif_content_add_entry(data->ifd[ifd], e);
    e->tag = static_cast<ExifTag>(tag);
    e->format = EXIF_FORMAT_ASCII;
    e->size = static_cast<unsigned int>(std::strlen(text) + 1);
    e->components = e->size;
    e->data = static_cast<unsigned char*>(std::malloc(e->size));
    std::memcpy(e->data, text, e->size);
    exif_entry_unref(e);
}

// A phone's block: camera, date and where the photo was taken.
std::string phoneExif(ExifByteOrder order) {
    ExifData* data = exif_data_new();
    exif_data_set_byte_order(data, order);
    addAscii(data, EXIF_IFD_0, EXIF_TAG_MAKE, "Kamera");
    addAscii(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, "2024:05:01 10:20:30");
    addAscii(data, EXIF_IFD_GPS, EXIF_TAG_GPS_LATITUDE_REF, "N");
    addAscii(data, EXIF_IFD_GPS, EXIF_TAG_GPS_LONGITUDE_REF, "E");
    unsigned char* out = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &out, &size);
    std::string block(reinterpret_cast<const char*>(out), size);
    std::free(out);
    exif_data_unref(data);
    return block;
}

}  // namespace

TEST(BatchCommandLineExtras, StripGpsLeavesOutOnlyWhereThePhotoWasTaken) {
    for (const ExifByteOrder order : {EXIF_BYTE_ORDER_MOTOROLA, EXIF_BYTE_ORDER_INTEL}) {
        test::TempDir dir;
        dir.write("foto.jpg", platform::pictures::encodeJpeg(test::gradient(80, 60), 90, phoneExif(order)));
        Ran ran = runBatch({"resize", "--percent", "50", "-o", q(dir.file("mit")), q(dir.file("foto.jpg"))});
        ASSERT_EQ(ran.exitCode, 0) << ran.err;
        EXPECT_TRUE(platform::pictures::hasGps(dir.read("mit/foto.jpg")));
        ran = runBatch(
            {"resize", "--percent", "50", "--strip-gps", "-o", q(dir.file("ohne")), q(dir.file("foto.jpg"))});
        ASSERT_EQ(ran.exitCode, 0) << ran.err;
        const std::string result = dir.read("ohne/foto.jpg");
        EXPECT_FALSE(platform::pictures::hasGps(result));
        EXPECT_NE(result.find("Kamera"), std::string::npos);
        EXPECT_NE(result.find("2024:05:01 10:20:30"), std::string::npos);
        EXPECT_EQ(platform::pictures::loadPicture(dir.file("ohne/foto.jpg")).bitmap.width(), 40);
    }
}

TEST(BatchCommandLineExtras, WithCaptionBurnsTheCaptionInAndLeavesPicturesWithoutOne) {
    test::TempDir dir;
    fs::create_directories(dir.file("fotos"));
    platform::pictures::savePicture(dir.file("fotos/a.jpg"), test::gradient(300, 200), 90);
    platform::pictures::savePicture(dir.file("fotos/b.jpg"), test::gradient(300, 200), 90);
    dir.write("fotos/a.jp0", "#14000000ffffff Am See\r\n");
    Ran ran = runBatch({"convert", "--to", "png", "-o", q(dir.file("ohne")), q(dir.file("fotos"))});
    ASSERT_EQ(ran.exitCode, 0) << ran.err;
    ran = runBatch({"convert", "--to", "png", "--with-caption", "-o", q(dir.file("mit")), q(dir.file("fotos"))});
    ASSERT_EQ(ran.exitCode, 0) << ran.err;
    EXPECT_EQ(ran.out, dir.file("mit/a.png") + "\n" + dir.file("mit/b.png") + "\n");

    const Bitmap32 plain = platform::pictures::loadPicture(dir.file("ohne/a.png")).bitmap;
    const Bitmap32 captioned = platform::pictures::loadPicture(dir.file("mit/a.png")).bitmap;
    ASSERT_EQ(captioned.width(), 300);
    // The caption's first line stands at x 25, y 0, 20 points high on white.
    int changedInCaption = 0;
    int changedElsewhere = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) {
            const bool differs = plain.pixel(x, y) != captioned.pixel(x, y);
            (x >= 25 && x < 200 && y < 40 ? changedInCaption : changedElsewhere) += differs ? 1 : 0;
        }
    }
    EXPECT_GT(changedInCaption, 500);
    EXPECT_EQ(changedElsewhere, 0);
    EXPECT_EQ(dir.read("mit/b.png"), dir.read("ohne/b.png"));
}
