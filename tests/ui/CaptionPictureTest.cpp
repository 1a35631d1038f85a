// A ".jp0" opened as a picture shows the picture of its name with the caption over
// it (never saved over either file), and the editor writes the caption into a copy.
#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "common/FileIo.h"
#include "UiFixture.h"
#include "explorer/RecycleBin.h"
#include "pictures/PictureWindow.h"
#include "pictures/editing/Colours.h"
#include "pictures/editor/PictureEditor.h"
#include "platform/pictures/PictureFiles.h"

using namespace pictra;
namespace fs = std::filesystem;
namespace ed = pictures::editing;
using pictures::Bitmap32;

namespace {

Bitmap32 white(int w, int h) {
    Bitmap32 b(w, h);
    b.clear(ed::kWhite);
    return b;
}

// Dark pixels in the band of rows [top, bottom) right of x = 20.
bool inkIn(const Bitmap32& b, int top, int bottom) {
    for (int y = top; y < bottom && y < b.height(); ++y) {
        for (int x = 20; x < b.width(); ++x) {
            if (ed::redOf(b.pixel(x, y)) < 128) return true;
        }
    }
    return false;
}

std::string bytesOf(const std::string& path) { return fileio::readFile(path).value_or(std::string()); }

struct CaptionPictureTest : test::MainWindowTestBase {
    std::string folder;
    ui::PictureWindow* pictures = nullptr;
    void SetUp() override {
        test::MainWindowTestBase::SetUp();
        folder = f.dir.path() + "fotos";
        fs::create_directories(folder);
        pictures = window->pictureWindow();
        pictures->setScreenSize(QSize(1024, 768));
    }
    void TearDown() override {
        pictures->editor()->close();
        pictures->close();
        test::MainWindowTestBase::TearDown();
    }
    void show(const std::string& path) {
        pictures->showPictureFile(path, {path});
        ASSERT_TRUE(QTest::qWaitFor([this] { return !pictures->loading(); }, 20000));
    }
};

}  // namespace

TEST_F(CaptionPictureTest, AJp0IsShownOverItsPictureAndNeverSaved) {
    platform::pictures::savePicture(folder + "/meer.jpg", white(400, 300), 95);
    const std::string caption = "#14000000fffffe Ferien\r\n#14000000fffffe am Meer\r\n";
    std::ofstream(folder + "/meer.jp0", std::ios::binary) << caption;
    show(folder + "/meer.jp0");
    EXPECT_EQ(pictures->displayed().width(), 400);
    EXPECT_TRUE(inkIn(pictures->displayed(), 0, 30));
    EXPECT_TRUE(inkIn(pictures->displayed(), 30, 60));
    EXPECT_FALSE(inkIn(pictures->displayed(), 60, 300));
    f.dialogs.expectInform("Bild kann nur ohne den eingeblendeten Text abgespeichert werden");
    EXPECT_FALSE(pictures->saveTo(folder + "/meer.jp0", 0));
    EXPECT_EQ(bytesOf(folder + "/meer.jp0"), caption);
    // At full size the picture is its own, with the caption as on the screen.
    pictures->showFullSize();
    EXPECT_EQ(pictures->displayed().width(), 400);
    EXPECT_TRUE(inkIn(pictures->displayed(), 0, 30));
    // The editor takes the picture itself, without the caption in its pixels.
    pictures->switchToEditor();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !pictures->editor()->loading(); }, 20000));
    EXPECT_GT(pictures->editor()->picture().width(), 0);  // loaded (at the editor's working size)
    EXPECT_FALSE(inkIn(pictures->editor()->picture(), 0, 300));
    EXPECT_FALSE(pictures->editor()->carriesText());
    pictures->editor()->close();

    // No JPEG of that name: another picture of it; none at all: said plainly.
    std::ofstream(folder + "/see.jp0", std::ios::binary) << "See";
    platform::pictures::savePicture(folder + "/see.png", white(200, 100));
    show(folder + "/see.jp0");
    EXPECT_EQ(pictures->displayed().width(), 200);
    EXPECT_TRUE(inkIn(pictures->displayed(), 0, 18));
    std::ofstream(folder + "/leer.jp0", std::ios::binary) << "Nichts";
    f.dialogs.expectInform("\"" + folder + "/leer.jp0\"\rZum Begleittext gibt es kein Bild desselben Namens.");
    show(folder + "/leer.jp0");
}

TEST_F(CaptionPictureTest, BeschriftungInsBildUebernehmenWritesACopyWithTheCaption) {
    const std::string path = folder + "/meer.jpg";
    platform::pictures::savePicture(path, white(600, 400), 95);
    const std::string original = bytesOf(path);
    show(path);
    ui::PictureEditor* editor = pictures->editor();
    editor->setWorkingScreen(QSize(1024, 768));
    pictures->contextMenu()->findChild<QAction*>("Experten1")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([editor] { return !editor->loading() && !editor->picture().empty(); }, 20000));
    QAction* burn = editor->contextMenu()->findChild<QAction*>("BeschriftungUebernehmen1");
    ASSERT_NE(burn, nullptr);
    EXPECT_EQ(burn->text(), "Beschriftung ins Bild übernehmen");
    burn->trigger();  // no caption yet: only the hint
    EXPECT_FALSE(fs::exists(folder + "/_meer.jpg"));
    EXPECT_EQ(editor->hintText(), "Kein Begleittext zum Bild vorhanden (Datei .jp0)");

    std::ofstream(folder + "/meer.jp0", std::ios::binary) << "#14000000ffffff Ferien\r\n";
    for (int round = 0; round < 2; ++round) {
        burn->trigger();
        ASSERT_TRUE(fs::exists(folder + "/_meer.jpg")) << round;
        const Bitmap32 copy = platform::pictures::loadPicture(folder + "/_meer.jpg").bitmap;
        EXPECT_EQ(copy.width(), 600);
        EXPECT_TRUE(inkIn(copy, 0, 30));
        EXPECT_FALSE(inkIn(copy, 40, 400));
    }
    EXPECT_EQ(bytesOf(path), original);  // the original untouched
    EXPECT_FALSE(editor->carriesText());
    // The first copy went into the bin before the second was written.
    EXPECT_EQ(bin::binEntries(f.paths.binFolder()).size(), 1u);
}
