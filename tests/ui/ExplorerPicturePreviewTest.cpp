// The explorer's picture preview shows a phone photo upright by its orientation tag.
#include <gtest/gtest.h>

#include <libexif/exif-data.h>

#include <QLabel>
#include <QListWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ExplorerParts.h"
#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/Explorers.h"
#include "pictures/editing/Colours.h"
#include "platform/pictures/PictureFiles.h"

using namespace pictra;
namespace fs = std::filesystem;
namespace ed = pictures::editing;

namespace {

std::string orientationExif(int orientation) {
    ExifData* data = exif_data_new();
    exif_data_set_byte_order(data, EXIF_BYTE_ORDER_INTEL);
    ExifEntry* e = exif_entry_new();
    exif_content_add_entry(data->ifd[EXIF_IFD_0], e);
    exif_entry_initialize(e, EXIF_TAG_ORIENTATION);
    exif_set_short(e->data, EXIF_BYTE_ORDER_INTEL, static_cast<ExifShort>(orientation));
    exif_entry_unref(e);
    unsigned char* out = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &out, &size);
    std::string block(reinterpret_cast<const char*>(out), size);
    std::free(out);
    exif_data_unref(data);
    return block;
}

}  // namespace

TEST(ExplorerPicturePreview, APhotoStoredSidewaysIsPreviewedUpright) {
    test::UiFixture f;
    test::ExplorerParts parts{f};
    ui::ExplorerShared& shared = parts.shared;
    const std::string folder = f.dir.path() + "fotos";
    fs::create_directories(folder);
    // Stored 48 × 32 with a dark left third: turned right (6) it is dark on top, turned left (8) below.
    pictures::Bitmap32 stored(48, 32);
    stored.clear(ed::rgb(230, 230, 230));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 16; ++x) stored.row(y)[x] = ed::rgb(10, 10, 10);
    }
    const struct {
        int orientation;
        int width, height;
        bool darkTop, darkBottom;
    } cases[] = {{1, 24, 16, true, true}, {6, 16, 24, true, false}, {8, 16, 24, false, true}};
    ui::ExplorerWindow explorer(shared, '1', {});
    for (const auto& c : cases) {
        const std::string name = "foto" + std::to_string(c.orientation) + ".jpg";
        platform::pictures::savePicture(folder + "/" + name, stored, 95, orientationExif(c.orientation));
        explorer.start(folder);
        QListWidget* files = explorer.fileList();
        int row = 0;
        while (row < files->count() && explorer.pathOfRow(row) != folder + "/" + name) ++row;
        ASSERT_LT(row, files->count()) << name;
        emit files->itemClicked(files->item(row));
        auto* preview = explorer.findChild<QLabel*>("Bildvorschau");
        ASSERT_NE(preview, nullptr);
        ASSERT_TRUE(preview->isVisibleTo(&explorer)) << name;
        const QImage shown = preview->pixmap().toImage();
        EXPECT_EQ(shown.size(), QSize(c.width, c.height)) << name;
        // Left of the size text: the top left corner, and the bottom left corner.
        EXPECT_EQ(qGray(shown.pixel(1, 1)) < 100, c.darkTop) << name;
        EXPECT_EQ(qGray(shown.pixel(1, c.height - 2)) < 100, c.darkBottom) << name;
    }
}

TEST(ExplorerPicturePreview, TheCompanionTextIsWrittenUnderThePictureSize) {
    test::UiFixture f;
    test::ExplorerParts parts{f};
    ui::ExplorerShared& shared = parts.shared;
    const std::string folder = f.dir.path() + "fotos";
    fs::create_directories(folder);
    pictures::Bitmap32 dark(400, 300);
    dark.clear(ed::rgb(20, 20, 20));
    platform::pictures::savePicture(folder + "/meer.jpg", dark, 95);
    std::ofstream(folder + "/meer.jp0", std::ios::binary) << "#0c000000ffffff Ferien\r\n\r\n_am Meer\r\n";
    ui::ExplorerWindow explorer(shared, '1', {});
    explorer.start(folder);
    QListWidget* files = explorer.fileList();
    int row = 0;
    while (row < files->count() && explorer.pathOfRow(row) != folder + "/meer.jpg") ++row;
    ASSERT_LT(row, files->count());
    emit files->itemClicked(files->item(row));
    const QImage shown = explorer.findChild<QLabel*>("Bildvorschau")->pixmap().toImage();
    ASSERT_EQ(shown.height(), 75);  // decoded at a quarter
    // Lines 0 and 2 are written (on white behind the letters), line 1 is empty.
    auto whiteIn = [&shown](int top) {
        int white = 0;
        for (int y = top; y < top + 8; ++y) {
            for (int x = 4; x < 40; ++x) white += qGray(shown.pixel(x, y)) > 200 ? 1 : 0;
        }
        return white > 40;
    };
    EXPECT_TRUE(whiteIn(16));  // below the white size text
    EXPECT_FALSE(whiteIn(33));
    EXPECT_TRUE(whiteIn(53));
}
