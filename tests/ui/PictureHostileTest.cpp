// Hostile and broken pictures in the picture window: the message for a size
// beyond the budget, never decoded ahead; pictures cut short shown under the
// message; wrong names offered also when stepped to.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <filesystem>

#include "PictureFixtures.h"
#include "UiFixture.h"
#include "pictures/PictureWindow.h"
#include "platform/pictures/PictureCodecs.h"
#include "platform/pictures/PictureFiles.h"
#include "platform/pictures/QtPictureCodecs.h"
#include "shell/StatusBars.h"

using namespace pictra;
namespace fs = std::filesystem;
using pictures::Bitmap32;
using namespace platform::pictures;

using namespace pictra::test;

namespace {

struct HostilePictureTest : test::MainWindowTestBase {
    std::string folder;
    ui::PictureWindow* pictures = nullptr;

    void SetUp() override {
        test::MainWindowTestBase::SetUp();
        folder = f.dir.path() + "bilder";
        fs::create_directories(folder);
        savePicture(folder + "/a.png", gradient(40, 30));
        pictures = window->pictureWindow();
        pictures->setScreenSize(QSize(1280, 1024));
    }
    void TearDown() override {
        if (window) pictures->close();
        test::MainWindowTestBase::TearDown();
    }
    void settle() { ASSERT_TRUE(QTest::qWaitFor([this] { return !pictures->loading(); }, 20000)); }
    std::string write(const std::string& name, const std::string& bytes) {
        std::FILE* file = std::fopen((folder + "/" + name).c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        return folder + "/" + name;
    }
};

}  // namespace

TEST_F(HostilePictureTest, AHugeHeaderGetsTheMessageAndIsNeverDecodedAhead) {
    const std::string huge = write("riesig.png", pngClaiming(60000, 60000));
    pictures->showPictureFile(folder + "/a.png", {folder + "/a.png", huge});
    settle();
    EXPECT_FALSE(pictures->prefetching(huge));
    f.dialogs.expectAsk(cannotLoad(huge), Answer::No);
    QTest::keyClick(pictures, Qt::Key_Down);
    settle();
    EXPECT_EQ(pictures->displayed().width(), 600);  // the message picture
    EXPECT_EQ(window->statusBars().panelText(3).trimmed().toStdString(),
              "Hat nicht geklappt! Das Bild ist zu groß für den Arbeitsspeicher (60000 × 60000 Bildpunkte).");
    EXPECT_TRUE(f.dialogs.scriptDone());
}

TEST_F(HostilePictureTest, BrokenJpegsAreShownUnderTheMessageOrGetTheMessagePicture) {
    const std::string progressive = progressiveJpeg(gradient(256, 256), false);
    struct Case {
        const char* name;
        std::string bytes;
        int shownWidth;  // 600: the message picture
    };
    for (const Case& c : {Case{"erster-scan.jpg", cutAfterFirstScan(progressive), 256},
                          Case{"halb.jpg", progressive.substr(0, progressive.size() / 2), 256},
                          Case{"hoehe-null.jpg", withFrameSize(progressive, 256, 0), 600},
                          Case{"breite-riesig.jpg", withFrameSize(progressive, 65500, 65500), 600}}) {
        const std::string path = write(c.name, c.bytes);
        f.dialogs.expectAsk(cannotLoad(path), Answer::No);
        pictures->showPictureFile(path, {path});
        settle();
        EXPECT_EQ(pictures->displayed().width(), c.shownWidth) << c.name;
        EXPECT_TRUE(f.dialogs.scriptDone()) << c.name;
    }
}

TEST_F(HostilePictureTest, AWrongExtensionIsOfferedAlsoWhenSteppedTo) {
    const Bitmap32 small = gradient(40, 30);
    struct Case {
        const char* name;
        std::string bytes;
        const char* word;
        const char* renamed;
    };
    for (const Case& c : {Case{"png.jpg", encodeWithQt(small, "png"), "PNG", "png.png"},
                          Case{"gif.jpg", encodeGif(small), "GIF", "gif.gif"},
                          Case{"bmp.jpg", encodeWithQt(small, "bmp"), "BMP", "bmp.bmp"},
                          Case{"jpeg.png", encodeJpeg(small, 90), "JPG", "jpeg.jpg"}}) {
        const std::string path = write(c.name, c.bytes);
        pictures->showPictureFile(folder + "/a.png", {folder + "/a.png", path});
        settle();
        ASSERT_TRUE(QTest::qWaitFor([&] { return pictures->prefetching(path); }, 1000)) << c.name;
        f.dialogs.expectAsk("Die Datei\r" + path + "\rist eine " + c.word + "-Datei mit falscher Erweiterung! Umbenennen?",
                            Answer::Yes);
        QTest::keyClick(pictures, Qt::Key_Down);
        settle();
        EXPECT_EQ(pictures->currentPath(), folder + "/" + c.renamed) << c.name;
        EXPECT_TRUE(fs::exists(folder + "/" + c.renamed)) << c.name;
        EXPECT_TRUE(f.dialogs.scriptDone()) << c.name;
    }
}
