#include <gtest/gtest.h>

#include <libexif/exif-data.h>

#include <QMenu>
#include <QTest>
#include <atomic>
#include <cstdlib>
#include <thread>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "UiFixture.h"
#include "pictures/PictureWindow.h"
#include "shell/StatusBars.h"
#include "pictures/editing/Colours.h"
#include "pictures/editor/PictureEditor.h"
#include "platform/pictures/LosslessTurn.h"
#include "platform/pictures/PictureCodecs.h"
#include "platform/pictures/PictureExif.h"
#include "platform/pictures/PictureFiles.h"

using namespace pictra;
using namespace pictra::platform::pictures;
namespace fs = std::filesystem;
using pictures::Bitmap32;
namespace ed = pictures::editing;

namespace {

ExifEntry* addEntry(ExifData* data, ExifIfd ifd, ExifTag tag) {
    ExifEntry* e = exif_entry_new();
    exif_content_add_entry(data->ifd[ifd], e);
    exif_entry_initialize(e, tag);
    exif_entry_unref(e);
    return e;
}

// A phone's EXIF block: orientation, size, camera make, date and a thumbnail.
std::string phoneExif(int orientation, int width, int height) {
    ExifData* data = exif_data_new();
    exif_data_set_byte_order(data, EXIF_BYTE_ORDER_INTEL);
    exif_set_short(addEntry(data, EXIF_IFD_0, EXIF_TAG_ORIENTATION)->data, EXIF_BYTE_ORDER_INTEL,
                   static_cast<ExifShort>(orientation));
    ExifEntry* x = addEntry(data, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION);
    exif_set_short(x->data, EXIF_BYTE_ORDER_INTEL, static_cast<ExifShort>(width));
    ExifEntry* y = addEntry(data, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION);
    exif_set_short(y->data, EXIF_BYTE_ORDER_INTEL, static_cast<ExifShort>(height));
    ExifEntry* date = addEntry(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL);
    std::memcpy(date->data, "2024:05:01 10:20:30", 20);
    const std::string thumbnail = encodeJpeg(Bitmap32(8, 8), 50);
    data->data = static_cast<unsigned char*>(std::malloc(thumbnail.size()));
    std::memcpy(data->data, thumbnail.data(), thumbnail.size());
    data->size = static_cast<unsigned int>(thumbnail.size());
    unsigned char* out = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &out, &size);
    std::string block(reinterpret_cast<const char*>(out), size);
    std::free(out);
    exif_data_unref(data);
    return block;
}

int shortTag(const std::string& block, ExifIfd ifd, ExifTag tag) {
    ExifData* data = exif_data_new_from_data(reinterpret_cast<const unsigned char*>(block.data()),
                                             static_cast<unsigned int>(block.size()));
    ExifEntry* e = exif_content_get_entry(data->ifd[ifd], tag);
    const int value = e ? exif_get_short(e->data, exif_data_get_byte_order(data)) : -1;
    exif_data_unref(data);
    return value;
}

std::string dateOf(const std::string& block) {
    ExifData* data = exif_data_new_from_data(reinterpret_cast<const unsigned char*>(block.data()),
                                             static_cast<unsigned int>(block.size()));
    ExifEntry* e = exif_content_get_entry(data->ifd[EXIF_IFD_EXIF], EXIF_TAG_DATE_TIME_ORIGINAL);
    std::string date = e ? std::string(reinterpret_cast<const char*>(e->data)) : "";
    exif_data_unref(data);
    return date;
}

bool hasThumbnail(const std::string& block) {
    ExifData* data = exif_data_new_from_data(reinterpret_cast<const unsigned char*>(block.data()),
                                             static_cast<unsigned int>(block.size()));
    const bool has = data->data != nullptr && data->size > 0;
    exif_data_unref(data);
    return has;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Dark left third, light rest: the sides can be told apart after a turn.
Bitmap32 leftDark(int w, int h) {
    Bitmap32 b(w, h);
    b.clear(ed::rgb(220, 220, 220));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w / 3; ++x) b.row(y)[x] = ed::rgb(20, 20, 20);
    }
    return b;
}

}  // namespace

TEST(PictureEditorExif, OrientationTagsOneToEight) {
    for (int o = 1; o <= 8; ++o) EXPECT_EQ(exifOrientation(phoneExif(o, 40, 30)), o);
    EXPECT_EQ(exifOrientation(""), 1);
    EXPECT_EQ(exifOrientation("Exif\0\0garbage"), 1);
}

TEST(PictureEditorExif, ChangedPixelsAreUprightWithTheNewSizeAndNoThumbnail) {
    const std::string old = phoneExif(6, 4000, 3000);
    ASSERT_TRUE(hasThumbnail(old));
    const std::string fresh = exifForChangedPixels(old, 768, 1024);
    EXPECT_EQ(shortTag(fresh, EXIF_IFD_0, EXIF_TAG_ORIENTATION), 1);
    EXPECT_EQ(shortTag(fresh, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION), 768);
    EXPECT_EQ(shortTag(fresh, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION), 1024);
    EXPECT_FALSE(hasThumbnail(fresh));
    EXPECT_EQ(dateOf(fresh), "2024:05:01 10:20:30");
    EXPECT_EQ(exifForChangedPixels("", 1, 1), "");
}

TEST(PictureEditorExif, FileOrientationFromTheHeader) {
    test::TempDir dir;
    const std::string path = dir.path() + "phone.jpg";
    savePicture(path, leftDark(48, 32), 90, phoneExif(8, 48, 32));
    EXPECT_EQ(fileOrientation(path), 8);
    savePicture(dir.path() + "plain.png", leftDark(4, 4));
    EXPECT_EQ(fileOrientation(dir.path() + "plain.png"), 1);
    EXPECT_EQ(fileOrientation(dir.path() + "missing.jpg"), 1);
}

// A size of whole 16-pixel blocks turns without decoding: four turns give the bytes back.
TEST(PictureEditorExif, LosslessTurnAndItsFallback) {
    test::TempDir dir;
    const std::string whole = dir.path() + "whole.jpg";
    savePicture(whole, leftDark(4000, 3008), 90);
    const std::string before = readAll(whole);
    EXPECT_TRUE(turnJpegFile(whole, true));
    const auto turned = loadPicture(whole);
    EXPECT_EQ(turned.bitmap.width(), 3008);
    EXPECT_EQ(turned.bitmap.height(), 4000);
    EXPECT_LT(ed::redOf(turned.bitmap.pixel(1500, 100)), 60);    // the dark left side is now at the top
    EXPECT_GT(ed::redOf(turned.bitmap.pixel(1500, 3900)), 180);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(turnJpegFile(whole, true));
    EXPECT_EQ(readAll(whole), before);

    // 3000 rows are no whole number of 4:2:0 blocks: turned right, the partial blocks would
    // become the left edge, so it is decoded, turned and written at 91; turned left they end
    // on the right edge, where they may stay.
    const std::string partial = dir.path() + "partial.jpg";
    savePicture(partial, leftDark(4000, 3000), 90);
    EXPECT_FALSE(turnJpegLossless(readAll(partial), true));
    EXPECT_TRUE(turnJpegLossless(readAll(partial), false));
    EXPECT_FALSE(turnJpegFile(partial, true));
    const auto right = loadPicture(partial);
    EXPECT_EQ(right.bitmap.width(), 3000);
    EXPECT_EQ(right.bitmap.height(), 4000);
    EXPECT_LT(ed::redOf(right.bitmap.pixel(1500, 100)), 60);
    EXPECT_GT(ed::redOf(right.bitmap.pixel(1500, 3900)), 180);
}

TEST(PictureEditorExif, APhoneStoredSidewaysIsShownUprightAndSavedUpright) {
    test::UiFixture f;
    ui::MainWindow window(f.context);
    const std::string path = f.dir.path() + "phone.jpg";
    // Stored 400 × 300 with tag 6: upright it is 300 × 400 with the dark side at the top.
    savePicture(path, leftDark(400, 300), 95, phoneExif(6, 400, 300));
    ui::PictureWindow* pictures = window.pictureWindow();
    pictures->setScreenSize(QSize(1024, 768));
    pictures->showPictureFile(path, {path});
    ASSERT_TRUE(QTest::qWaitFor([pictures] { return !pictures->loading(); }, 20000));
    EXPECT_EQ(pictures->sourceSize(), (pictures::viewer::Size{300, 400}));
    EXPECT_LT(ed::redOf(pictures->displayed().pixel(pictures->displayed().width() / 2, 5)), 60);

    ui::PictureEditor* editor = pictures->editor();
    editor->setWorkingScreen(QSize(300, 400));
    pictures->contextMenu()->findChild<QAction*>("Experten1")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([editor] { return !editor->loading(); }, 20000));
    EXPECT_EQ(editor->picture().width(), 300);
    EXPECT_EQ(editor->picture().height(), 400);
    f.dialogs.expectAskText("Wollen Sie den Dateinamen ändern", f.dir.path() + "upright.jpg");
    editor->contextMenu()->findChild<QAction*>("BildSpeichern1")->trigger();
    const auto saved = loadPicture(f.dir.path() + "upright.jpg");
    EXPECT_EQ(exifOrientation(saved.exif), 1);
    EXPECT_FALSE(hasThumbnail(saved.exif));
    EXPECT_EQ(dateOf(saved.exif), "2024:05:01 10:20:30");
    EXPECT_EQ(saved.bitmap.width(), 300);
    editor->close();
    pictures->close();
    window.confirmClose = [](int) { return true; };
}

namespace {

// A picture window whose reader waits until the test lets it go on.
struct SlowLoadTest : test::MainWindowTestBase {
    std::shared_ptr<std::atomic<bool>> release = std::make_shared<std::atomic<bool>>(false);
    ui::PictureWindow* pictures = nullptr;
    std::string path;
    void SetUp() override {
        test::MainWindowTestBase::SetUp();
        path = f.dir.path() + "langsam.png";
        savePicture(path, leftDark(60, 40));
        pictures = window->pictureWindow();
        pictures->setScreenSize(QSize(1024, 768));
        pictures->setLoader([release = release](const std::string& p, QSize, bool) {
            while (!release->load()) std::this_thread::yield();
            return loadPicture(p);
        });
    }
    void TearDown() override {
        release->store(true);
        pictures->close();
        test::MainWindowTestBase::TearDown();
    }
};

}  // namespace

TEST_F(SlowLoadTest, ALoadOverHalfASecondOpensTheCancelWindowUntilThePictureIsThere) {
    pictures->showPictureFile(path, {path});
    ASSERT_TRUE(QTest::qWaitFor([this] { return f.dialogs.cancelWindowVisible(); }, 10000));
    release->store(true);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !pictures->loading(); }, 10000));
    EXPECT_FALSE(f.dialogs.cancelWindowVisible());
    EXPECT_EQ(pictures->displayed().width(), 60);
}

TEST_F(SlowLoadTest, ItsButtonStopsTheLoad) {
    f.dialogs.clickCancelAtStep(1);
    pictures->showPictureFile(path, {path});
    ASSERT_TRUE(QTest::qWaitFor([this] { return !pictures->loading(); }, 10000));
    EXPECT_FALSE(f.dialogs.cancelWindowVisible());
    EXPECT_EQ(pictures->displayed().width(), 600);  // the message picture
    EXPECT_EQ(window->statusBars().panelText(3).trimmed().toStdString(), "Bild wurde nicht geladen");
}
