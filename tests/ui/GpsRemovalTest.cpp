// GPS tags taken out of real JPEG files before a gallery is uploaded.
#include <gtest/gtest.h>

#include <libexif/exif-data.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "PhoneExif.h"
#include "PictureFixtures.h"
#include "UiFixture.h"
#include "platform/pictures/ExifGpsTags.h"
#include "platform/pictures/PictureCodecs.h"
#include "platform/pictures/PictureFiles.h"

using namespace pictra;
using namespace pictra::platform::pictures;
namespace fs = std::filesystem;

TEST(GpsRemoval, OnlyTheExifSegmentChangesAndDateAndCameraStay) {
    const std::string exif = test::phoneExif();
    const std::string jpeg = encodeJpeg(test::gradient(40, 30), 80, exif);
    ASSERT_NE(jpeg.find(exif), std::string::npos);
    EXPECT_TRUE(hasGps(jpeg));
    const std::string cleaned = withoutGps(jpeg);
    EXPECT_FALSE(hasGps(cleaned));
    EXPECT_LT(cleaned.size(), jpeg.size());
    // The compressed picture is copied byte for byte: no second JPEG loss.
    const std::size_t tail = jpeg.size() - (jpeg.find(exif) + exif.size());
    EXPECT_EQ(cleaned.substr(cleaned.size() - tail), jpeg.substr(jpeg.size() - tail));
    EXPECT_NE(cleaned.find("Kamera"), std::string::npos);
    EXPECT_NE(cleaned.find("2024:05:01 10:20:30"), std::string::npos);
    for (const std::string& plain : {encodeJpeg(test::gradient(4, 4), 80), std::string("kein Bild"), std::string()}) {
        EXPECT_FALSE(hasGps(plain));
        EXPECT_EQ(withoutGps(plain), plain);
    }
}

TEST(GpsRemoval, UploadPreparationOffersItForTheFolder) {
    test::UiFixture f;
    const std::string folder = f.dir.path() + "g";
    fs::create_directories(folder);
    const std::string jpeg = encodeJpeg(test::gradient(40, 30), 80, test::phoneExif());
    f.dir.write("g/am see.jpg", jpeg);
    f.dir.write("g/zz_am see.jpg", encodeJpeg(test::gradient(20, 15), 80));
    f.dir.write("g/kaputt.jpg", "nur Text");
    f.dialogs
        .expectAsk("Leerzeichen und Umlaute in Bilddateien werde umgeschrieben.\rDie entsprechende Referenzen in der "
                   "HTML-Datei angepaßt.\r\rWollen Sie dies wirklich durchführen?",
                   Answer::Yes)
        .expectAsk("1 Bild enthält GPS-Daten, die zeigen, wo es aufgenommen wurde.\rSollen diese Daten vor dem "
                   "Hochladen entfernt werden?",
                   Answer::Yes);
    ExifGpsTags gps;
    const auto text = pictures::batch::prepareUpload(pictures::batch::UploadNames::Umlauts, folder + "/g.html",
                                                     "<img src=\"zz_am see.jpg\">", folder,
                                                     {"am see.jpg", "kaputt.jpg", "zz_am see.jpg"}, f.dialogs, "", &gps);
    EXPECT_TRUE(f.dialogs.scriptDone());
    ASSERT_TRUE(text);
    const std::string renamed = f.dir.read("g/am_see.jpg");
    EXPECT_FALSE(hasGps(renamed));
    EXPECT_EQ(loadPicture(folder + "/am_see.jpg").bitmap.width(), 40);
    EXPECT_EQ(f.dir.read("g/kaputt.jpg"), "nur Text");
}
