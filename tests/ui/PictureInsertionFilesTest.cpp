// The sizes "Bild einfügen" writes, read from the files' headers only, and its copies.
#include <gtest/gtest.h>

#include <optional>

#include "PictureFixtures.h"
#include "TempDir.h"
#include "platform/pictures/PictureInsertionFiles.h"

using namespace pictra;

namespace {

std::string jpeg(int w, int h) { return test::encodeJpeg(test::gradient(w, h), 90); }

// An APP1 segment holding only the EXIF orientation tag, in either byte order.
std::string exifOrientation(int orientation, bool intel = false) {
    std::string exif = intel ? std::string("\xFF\xE1\0\x22"
                                           "Exif\0\0II\x2A\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\0\0\0\0\0\0\0\0",
                                           36)
                             : std::string("\xFF\xE1\0\x22"
                                           "Exif\0\0MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\0\0\0\0\0\0\0",
                                           36);
    exif[intel ? 28 : 29] = static_cast<char>(orientation);
    return exif;
}

// Segments behind the start of the file, before everything the encoder wrote.
std::string withSegments(const std::string& picture, const std::string& segments) {
    return picture.substr(0, 2) + segments + picture.substr(2);
}

// Colour-profile segments that push the frame header 320 kB into the file.
std::string largeProfile() {
    std::string segment = "\xFF\xE2\xFF\xFF" + std::string(0xFFFD, 'p');
    std::string all;
    for (int i = 0; i < 5; ++i) all += segment;
    return all;
}

struct SizeCase {
    const char* label;
    std::string bytes;
    std::optional<preview::PictureSize> expected;
};

std::vector<SizeCase> sizeCases() {
    const std::string photo = jpeg(48, 32);
    return {
        {"jpeg", photo, preview::PictureSize{48, 32}},
        {"jpeg standing upright by its orientation", withSegments(photo, exifOrientation(6)), preview::PictureSize{32, 48}},
        {"jpeg standing upright, Intel byte order", withSegments(photo, exifOrientation(8, true)),
         preview::PictureSize{32, 48}},
        {"jpeg turned upside down keeps its sides", withSegments(photo, exifOrientation(3)), preview::PictureSize{48, 32}},
        {"jpeg with its frame header 320 kB in", withSegments(photo, largeProfile()), preview::PictureSize{48, 32}},
        {"jpeg cut in its picture data", photo.substr(0, photo.find("\xFF\xDA") + 30), preview::PictureSize{48, 32}},
        {"jpeg cut before its frame header", photo.substr(0, 100), std::nullopt},
        {"png", test::encodeWithQt(test::gradient(7, 9), "png"), preview::PictureSize{7, 9}},
        {"100-megapixel png, from its header", test::pngClaiming(10000, 10000), preview::PictureSize{10000, 10000}},
        {"gif: its logical screen", test::gifOnScreen(20, 10), preview::PictureSize{20, 10}},
        {"bmp", test::encodeWithQt(test::gradient(5, 3), "bmp"), preview::PictureSize{5, 3}},
        {"text named as a picture", "Kein Bild\r\n", std::nullopt},
        {"empty file", "", std::nullopt},
    };
}

TEST(PictureInsertionFiles, SizesComeFromTheHeaders) {
    test::TempDir dir;
    int n = 0;
    for (const SizeCase& c : sizeCases()) {
        const std::string path = dir.file("bild" + std::to_string(++n) + ".jpg");
        dir.write("bild" + std::to_string(n) + ".jpg", c.bytes);
        const auto size = platform::pictures::headerSize(path);
        ASSERT_EQ(size.has_value(), c.expected.has_value()) << c.label;
        if (size) {
            EXPECT_EQ(size->width, c.expected->width) << c.label;
            EXPECT_EQ(size->height, c.expected->height) << c.label;
        }
    }
    EXPECT_FALSE(platform::pictures::headerSize(dir.file("fehlt.jpg")));
}

TEST(PictureInsertionFiles, ACopyNeverReplacesAFile) {
    test::TempDir dir;
    dir.write("Foto.jpg", "neu");
    dir.write("da.jpg", "alt");
    const preview::PictureSources sources = platform::pictures::pictureInsertionSources(dir.path());
    EXPECT_EQ(sources.documentFolder, dir.path());
    EXPECT_TRUE(sources.copy(dir.file("Foto.jpg"), dir.file("Kopie.jpg")));
    EXPECT_EQ(dir.read("Kopie.jpg"), "neu");
    EXPECT_FALSE(sources.copy(dir.file("Foto.jpg"), dir.file("da.jpg")));
    EXPECT_EQ(dir.read("da.jpg"), "alt");
}

}  // namespace
