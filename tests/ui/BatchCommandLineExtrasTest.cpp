// pictra-batch beyond the explorer's commands: GPS left out, captions burnt in, and phone
// photos (HEIC, WebP) read by the batch and by the picture windows' loader alike.
#include <gtest/gtest.h>

#include <libexif/exif-data.h>
#include <libheif/heif.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "PhoneExif.h"
#include "PictureFixtures.h"
#include "TempDir.h"
#include "common/FileIo.h"
#include "pictures/PictureNames.h"
#include "platform/pictures/ExifGpsTags.h"
#include "platform/pictures/PictureFiles.h"
#include "platform/pictures/QtPictureCodecs.h"

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

// Left half red, right half blue.
Bitmap32 twoColours(int w, int h) {
    Bitmap32 b(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) b.row(y)[x] = x < w / 2 ? 0xFFE01010u : 0xFF1010E0u;
    }
    return b;
}

heif_error collect(heif_context*, const void* data, size_t size, void* userdata) {
    static_cast<std::string*>(userdata)->append(static_cast<const char*>(data), size);
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
}

// A HEIC as a phone writes it, through libheif's own HEVC encoder.
std::string heicOf(const Bitmap32& picture) {
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    EXPECT_EQ(heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder).code, heif_error_Ok);
    heif_encoder_set_lossy_quality(encoder, 90);
    heif_image* image = nullptr;
    heif_image_create(picture.width(), picture.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, picture.width(), picture.height(), 8);
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint32_t c = picture.pixel(x, y);
            std::uint8_t* p = plane + y * stride + 3 * x;
            p[0] = static_cast<std::uint8_t>(c >> 16);
            p[1] = static_cast<std::uint8_t>(c >> 8);
            p[2] = static_cast<std::uint8_t>(c);
        }
    }
    EXPECT_EQ(heif_context_encode_image(context, image, encoder, nullptr, nullptr).code, heif_error_Ok);
    std::string bytes;
    heif_writer writer{1, &collect};
    heif_context_write(context, &writer, &bytes);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return bytes;
}

std::string webpOf(const Bitmap32& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(platform::pictures::toQImage(picture).save(&buffer, "WEBP", 95));
    return bytes.toStdString();
}

// Within what a lossy phone format changes of a flat colour.
void expectNear(std::uint32_t got, std::uint32_t wanted) {
    for (int shift : {0, 8, 16}) {
        const int a = static_cast<int>(got >> shift & 0xFF);
        const int b = static_cast<int>(wanted >> shift & 0xFF);
        EXPECT_NEAR(a, b, 24) << std::hex << got << " for " << wanted;
    }
}

}  // namespace

TEST(BatchCommandLineExtras, StripGpsLeavesOutOnlyWhereThePhotoWasTaken) {
    for (const ExifByteOrder order : {EXIF_BYTE_ORDER_MOTOROLA, EXIF_BYTE_ORDER_INTEL}) {
        test::TempDir dir;
        dir.write("foto.jpg", platform::pictures::encodeJpeg(test::gradient(80, 60), 90, test::phoneExif(order)));
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

TEST(BatchCommandLineExtras, PhonePhotosBecomeJpegs) {
    test::TempDir dir;
    dir.write("handy.heic", heicOf(twoColours(64, 48)));
    dir.write("web.webp", webpOf(twoColours(60, 40)));
    EXPECT_EQ(pictures::signatureOf(dir.read("handy.heic").substr(0, 16)), pictures::Signature::Heif);
    EXPECT_EQ(pictures::signatureOf(dir.read("web.webp").substr(0, 16)), pictures::Signature::Webp);

    // The picture windows' loader reads both.
    struct Case {
        const char* name;
        int width, height;
    };
    for (const Case& c : {Case{"handy.heic", 64, 48}, Case{"web.webp", 60, 40}}) {
        const Bitmap32 shown = platform::pictures::loadPicture(dir.file(c.name)).bitmap;
        ASSERT_EQ(shown.width(), c.width) << c.name;
        ASSERT_EQ(shown.height(), c.height) << c.name;
        expectNear(shown.pixel(c.width / 4, c.height / 2), 0xE01010);
        expectNear(shown.pixel(3 * c.width / 4, c.height / 2), 0x1010E0);
    }

    Ran ran = runBatch({"convert", "--to", "jpg", q(dir.file("handy.heic")), q(dir.file("web.webp"))});
    ASSERT_EQ(ran.exitCode, 0) << ran.err;
    EXPECT_EQ(ran.out, dir.file("_handy.jpg") + "\n" + dir.file("_web.jpg") + "\n");
    for (const Case& c : {Case{"_handy.jpg", 64, 48}, Case{"_web.jpg", 60, 40}}) {
        const std::string bytes = dir.read(c.name);
        EXPECT_EQ(pictures::signatureOf(bytes.substr(0, 16)), pictures::Signature::Jpeg) << c.name;
        const Bitmap32 jpeg = platform::pictures::loadPicture(dir.file(c.name)).bitmap;
        ASSERT_EQ(jpeg.width(), c.width) << c.name;
        expectNear(jpeg.pixel(c.width / 4, c.height / 2), 0xE01010);
        expectNear(jpeg.pixel(3 * c.width / 4, c.height / 2), 0x1010E0);
    }

    // Made smaller they are written as JPEGs too: nothing here writes HEIC or WebP.
    ran = runBatch({"resize", "--percent", "50", "-o", q(dir.file("klein")), q(dir.file("handy.heic")),
                    q(dir.file("web.webp"))});
    ASSERT_EQ(ran.exitCode, 0) << ran.err;
    EXPECT_EQ(ran.out, dir.file("klein/handy.jpg") + "\n" + dir.file("klein/web.jpg") + "\n");
    EXPECT_EQ(platform::pictures::loadPicture(dir.file("klein/handy.jpg")).bitmap.width(), 32);
    EXPECT_EQ(platform::pictures::loadPicture(dir.file("klein/web.jpg")).bitmap.width(), 30);
}

TEST(BatchCommandLineExtras, PathsOnTheProgressScreenStandOnLinesOfTheirOwn) {
    test::TempDir dir;
    platform::pictures::savePicture(dir.file("a.jpg"), test::gradient(20, 10), 90);
    platform::pictures::savePicture(dir.file("b.jpg"), test::gradient(20, 10), 90);
    // Under a pseudo-terminal (script(1)) stdout and stderr are one screen.
    QProcess p;
    const std::string command = "'" + (QCoreApplication::applicationDirPath() + "/pictra-batch").toStdString() +
                                "' resize --percent 50 -j 1 -o '" + dir.file("z") + "' '" + dir.path() + "'";
    p.start("script", {"-qec", q(command), "/dev/null"});
    ASSERT_TRUE(p.waitForFinished(60000));
    const std::string screen = p.readAllStandardOutput().toStdString();
    // The progress line is wiped before a path is written, and drawn again after it.
    for (const char* name : {"z/a.jpg", "z/b.jpg"})
        EXPECT_NE(screen.find("\r\033[K" + dir.file(name) + "\r\n"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\r1/2  a.jpg"), std::string::npos) << screen;
}
