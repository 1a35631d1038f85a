// The program ends when its main window is closed, with a picture shown and a
// decoder still at work.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <future>

#include "UiFixture.h"
#include "pictures/PictureWindow.h"
#include "platform/pictures/PictureFiles.h"
#include "platform/pictures/PictureJob.h"

using namespace pictra;
using pictures::Bitmap32;
using namespace platform::pictures;

// Alt+F4 on the main window: nothing of the picture window stays up to keep the
// program alive, and a decoder still at work is not waited for.
namespace {

// A main window that closes without questions, and a small picture beside it.
struct Ending {
    test::UiFixture f;
    std::unique_ptr<ui::MainWindow> window = std::make_unique<ui::MainWindow>(f.context);
    std::string path = f.dir.path() + "bild.png";
    Ending() {
        window->newDocument();
        window->confirmClose = [](int) { return true; };
        Bitmap32 small(40, 30);
        small.clear(0xFF336699);
        savePicture(path, small);
    }
};

}  // namespace

TEST(ProgramEnd, ClosingTheMainWindowLeavesNoPictureWindowAndWaitsForNoDecoder) {
    Ending end;
    auto& window = end.window;
    const std::string& path = end.path;
    ui::PictureWindow* pictures = window->pictureWindow();
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    pictures->setLoader([released](const std::string& file, QSize, bool) {
        released.wait();  // a decoder that would never end on its own
        return loadPicture(file);
    });
    // Decoders of earlier tests have run out first, so that the count is this test's own.
    ASSERT_TRUE(QTest::qWaitFor([] { return PictureJob::running() == 0; }, 20000));
    const int before = PictureJob::running();
    window->show();
    pictures->showPictureFile(path, {path});
    ASSERT_TRUE(pictures->loading());
    ASSERT_TRUE(pictures->background()->isVisible());
    window->close();
    EXPECT_FALSE(pictures->isVisible());
    EXPECT_FALSE(pictures->background()->isVisible());
    for (QWidget* w : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(w->isVisible() && !w->parentWidget()) << w->objectName().toStdString() << " keeps the program alive";
    }
    window.reset();  // returns although the decoder is still blocked
    EXPECT_EQ(PictureJob::running(), before + 1);
    release.set_value();
    EXPECT_TRUE(QTest::qWaitFor([before] { return PictureJob::running() == before; }, 20000));
}

// An overview of the pictures left open goes with the main window as well.
TEST(ProgramEnd, AnOpenPictureOverviewGoesWithTheMainWindow) {
    Ending end;
    auto& window = end.window;
    const std::string& path = end.path;
    ui::PictureWindow* pictures = window->pictureWindow();
    window->show();
    pictures->showPictureFile(path, {path});
    ASSERT_TRUE(QTest::qWaitFor([pictures] { return !pictures->loading(); }, 20000));
    pictures->showOverview();
    const auto overviewShown = [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == "TForm18aimage" && w->isVisible()) return true;
        }
        return false;
    };
    ASSERT_TRUE(overviewShown());
    window->close();
    EXPECT_FALSE(overviewShown());
}
