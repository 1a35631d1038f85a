#include <gtest/gtest.h>

#include <QLabel>
#include <QScrollArea>
#include <QTest>
#include <filesystem>
#include <functional>

#include "UiFixture.h"
#include "calc/CalculatorDialog.h"
#include "common/Placement.h"
#include "explorer/Explorers.h"
#include "html/BrowserWindow.h"
#include "html/StyleDialog.h"
#include "pictures/PictureWindow.h"
#include "platform/pictures/PictureFiles.h"
#include "settings/SettingsDialog.h"
#include "shell/CancelWindow.h"
#include "shell/TextWindow.h"
#include "shell/editing/SearchResults.h"
#include "tables/TableFormWindow.h"
#include "tables/TableSheetWindow.h"

using namespace pictra;

namespace {

// The smallest screen the program is made for, less a title bar and borders.
const QSize kSmallScreenRoom(1024 - 8, 768 - 34);

struct ClampCase {
    QRect frame;
    QRect area;
    QRect expected;
};

class ClampIntoScreen : public ::testing::TestWithParam<ClampCase> {};

bool inside(const QRect& inner, const QRect& outer) {
    return outer.contains(inner);
}

}  // namespace

TEST_P(ClampIntoScreen, MovesAndNarrowsOnlyWhatDoesNotFit) {
    EXPECT_EQ(ui::clampedInto(GetParam().frame, GetParam().area), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ClampIntoScreen,
                         ::testing::Values(
                             // fits: stays as it is
                             ClampCase{{100, 100, 400, 300}, {0, 0, 1024, 768}, {100, 100, 400, 300}},
                             // past the right edge: moved in
                             ClampCase{{801, 50, 900, 600}, {0, 0, 1024, 768}, {124, 50, 900, 600}},
                             ClampCase{{801, 50, 900, 600}, {0, 0, 1600, 1000}, {700, 50, 900, 600}},
                             // wider than the screen: as wide as the screen
                             ClampCase{{0, 0, 1271, 700}, {0, 0, 1024, 768}, {0, 0, 1024, 700}},
                             // taller than the screen and below it: as tall as the screen, at its top
                             ClampCase{{0, 100, 400, 800}, {0, 0, 1024, 768}, {0, 0, 400, 768}},
                             ClampCase{{10, 748, 400, 40}, {0, 0, 1024, 768}, {10, 728, 400, 40}},
                             // above and left of the screen
                             ClampCase{{-50, -20, 300, 200}, {0, 0, 1024, 768}, {0, 0, 300, 200}},
                             // a panel at the top: the area starts lower
                             ClampCase{{10, 0, 300, 200}, {0, 24, 1600, 976}, {10, 24, 300, 200}},
                             ClampCase{{10, 900, 300, 200}, {0, 24, 1600, 976}, {10, 800, 300, 200}},
                             // a second screen to the right
                             ClampCase{{3000, 10, 500, 400}, {1600, 0, 1280, 1024}, {2380, 10, 500, 400}}));

TEST(StyleDialogSize, FitsAScreenOf1024By768) {
    ui::StyleDialog dialog;
    EXPECT_LE(dialog.minimumSizeHint().width(), kSmallScreenRoom.width());
    EXPECT_LE(dialog.minimumSizeHint().height(), kSmallScreenRoom.height());
    EXPECT_LE(dialog.sizeHint().width(), kSmallScreenRoom.width());
    EXPECT_LE(dialog.sizeHint().height(), kSmallScreenRoom.height());
}

namespace {

// Explorers with a stored layout from a large screen: 900 pixels wide each.
struct ExplorerPlacementTest : test::MainWindowTestBase {
    void SetUp() override {
        for (const char* section : {"Explorer1", "Explorer2"}) {
            f.store.writeValue(section, "Explorermaße1left", "100");
            f.store.writeValue(section, "Explorermaße1top", "100");
            f.store.writeValue(section, "Explorermaße1width", "900");
            f.store.writeValue(section, "Explorermaße1height", "600");
        }
        test::MainWindowTestBase::SetUp();
    }
    ui::ExplorerWindow& first() { return window->explorers().first(); }
    ui::ExplorerWindow& second() { return window->explorers().second(); }
    QRect area() { return ui::availableArea(&first()); }
    void pressF11() { QTest::keyClick(&first(), Qt::Key_F11); }
};

}  // namespace

TEST_F(ExplorerPlacementTest, F11PutsTheSecondExplorerBesideTheFirstInsideTheScreen) {
    first().show();
    for (int round = 0; round < 2; ++round) {
        pressF11();  // shows explorer 2
        ASSERT_TRUE(second().isVisible());
        const QRect one = first().frameGeometry();
        const QRect two = second().frameGeometry();
        EXPECT_EQ(one.topLeft(), area().topLeft() + QPoint(24, 50));
        EXPECT_LE(one.width(), area().width() / 2 - 24);
        EXPECT_EQ(two.left(), one.right() + 1) << "round " << round;
        EXPECT_EQ(two.top(), one.top());
        EXPECT_TRUE(inside(one, area())) << "round " << round;
        EXPECT_TRUE(inside(two, area())) << "round " << round;
        pressF11();  // hides it; explorer 1 widens to 50 pixels before the right edge
        EXPECT_FALSE(second().isVisible());
        EXPECT_EQ(first().frameGeometry().right(), area().right() - 50);
    }
}

TEST_F(ExplorerPlacementTest, StoredLayoutsAndTheTwoExplorersCommandStayOnTheScreen) {
    second().start("");
    EXPECT_TRUE(inside(second().frameGeometry(), area()));
    // "Zwei Dateienexplorer": explorer 1 at the right edge, explorer 2 narrowed to the room left of it.
    ui::placeFrame(&first(), QRect(area().topLeft(), QSize(area().width() / 2, 400)));
    window->explorers().showBoth();
    const QRect one = first().frameGeometry();
    const QRect two = second().frameGeometry();
    EXPECT_EQ(one.right(), area().right());
    EXPECT_EQ(two.right(), one.left() - 1);
    EXPECT_EQ(two.left(), area().left());
    EXPECT_TRUE(inside(one, area()));
    EXPECT_TRUE(inside(two, area()));
}

TEST(ExplorerDefaultPlacement, WithoutStoredLayoutTheExplorersStandSideBySide) {
    test::UiFixture f;
    ui::MainWindow window(f.context);
    const QRect one = window.explorers().first().geometry();
    const QRect two = window.explorers().second().geometry();
    EXPECT_FALSE(one.intersects(two));
    const QRect area = ui::availableArea(&window.explorers().first());
    EXPECT_TRUE(area.contains(one));
    EXPECT_TRUE(area.contains(two));
}

namespace {

struct SmallScreenTest : test::MainWindowTestBase {
    QRect area() { return ui::availableArea(window.get()); }
};

struct WindowCase {
    const char* name;
    std::function<QWidget*(ui::MainWindow&, test::UiFixture&)> open;
};

}  // namespace

// Every window and dialog of the program shows on a screen of 1024 x 768 whole.
TEST_F(SmallScreenTest, EveryWindowFitsIt) {
    const std::vector<WindowCase> cases = {
        {"main window", [](ui::MainWindow& w, test::UiFixture&) { return &w; }},
        {"explorer 1", [](ui::MainWindow& w, test::UiFixture&) { return &w.explorers().first(); }},
        {"explorer 2", [](ui::MainWindow& w, test::UiFixture&) { return &w.explorers().second(); }},
        {"settings dialog", [](ui::MainWindow& w, test::UiFixture&) { return w.settingsDialog(); }},
        {"calculator dialog", [](ui::MainWindow& w, test::UiFixture&) { return w.calculatorDialog(); }},
        {"style dialog", [](ui::MainWindow& w, test::UiFixture&) { return w.styleDialog(); }},
        {"table sheet", [](ui::MainWindow& w, test::UiFixture&) { return w.tableSheet(); }},
        {"table form", [](ui::MainWindow& w, test::UiFixture&) { return w.tableForm(); }},
        {"search results", [](ui::MainWindow& w, test::UiFixture&) { return w.searchResults(); }},
        {"browser", [](ui::MainWindow& w, test::UiFixture&) { return w.browserWindow(); }},
        {"text window",
         [](ui::MainWindow& w, test::UiFixture& fx) { return new ui::TextWindow(fx.dialogs, fx.tones, &w); }},
        {"cancel window", [](ui::MainWindow& w, test::UiFixture&) { return new ui::CancelWindow(&w); }},
    };
    for (const WindowCase& c : cases) {
        QWidget* w = c.open(*window, f);
        ASSERT_NE(w, nullptr) << c.name;
        w->show();
        EXPECT_LE(w->minimumSizeHint().width(), kSmallScreenRoom.width()) << c.name;
        EXPECT_LE(w->minimumSizeHint().height(), kSmallScreenRoom.height()) << c.name;
        EXPECT_LE(w->frameGeometry().width(), 1024) << c.name;
        EXPECT_LE(w->frameGeometry().height(), 768) << c.name;
        w->hide();
    }
}

TEST_F(SmallScreenTest, ThePictureOverviewScrollsInsteadOfPassingTheScreen) {
    const std::string folder = f.dir.path() + "bilder";
    std::filesystem::create_directories(folder);
    std::vector<std::string> paths;
    pictures::Bitmap32 small(40, 30);
    small.clear(0xFF00FF00);
    // More rows of thumbnails than the screen holds.
    const int count = (area().width() / 150) * (area().height() / 150 + 2);
    for (int i = 0; i < count; ++i) {
        paths.push_back(folder + "/b" + std::to_string(100 + i) + ".png");
        platform::pictures::savePicture(paths.back(), small);
    }
    ui::PictureWindow* pictures = window->pictureWindow();
    pictures->showPictureFile(paths.front(), paths);
    ASSERT_TRUE(QTest::qWaitFor([pictures] { return !pictures->loading(); }, 20000));
    pictures->showOverview();
    QScrollArea* overview = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == "TForm18aimage" && w->isVisible())
            overview = qobject_cast<QScrollArea*>(w);
    }
    ASSERT_NE(overview, nullptr);
    EXPECT_TRUE(inside(overview->frameGeometry(), area()));
    ASSERT_NE(overview->widget(), nullptr);
    EXPECT_GT(overview->widget()->height(), overview->viewport()->height());  // the rows go on below
    EXPECT_EQ(overview->findChildren<QLabel*>().size(), static_cast<qsizetype>(count));
    overview->close();
    pictures->close();
}
