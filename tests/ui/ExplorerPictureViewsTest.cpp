// The explorer's picture views: contact sheet, empty page, preset picture size.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>
#include <filesystem>

#include "ExplorerParts.h"
#include "PictureFixtures.h"
#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/pictures/ContactSheetWindow.h"
#include "platform/pictures/PictureFiles.h"

using namespace pictra;
namespace fs = std::filesystem;

namespace {

struct ExplorerPictureViews : ::testing::Test {
    test::UiFixture f;
    test::ExplorerParts parts{f};
    std::string folder = f.dir.path() + "fotos";
    std::string shown;
    std::unique_ptr<ui::ExplorerWindow> explorer;

    void SetUp() override {
        fs::create_directories(folder);
        ui::ExplorerHooks hooks;
        hooks.showPicture = [this](const std::string& path, const std::vector<std::string>&) { shown = path; };
        explorer = std::make_unique<ui::ExplorerWindow>(parts.shared, '1', hooks);
    }
    void trigger(const char* name) {
        auto* action = explorer->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
};

}  // namespace

TEST_F(ExplorerPictureViews, ContactSheetsOfTwelveThenTheRest) {
    for (int i = 10; i < 30; ++i) platform::pictures::savePicture(folder + "/b" + std::to_string(i) + ".jpg", test::gradient(90, 60), 90);
    f.dir.write("fotos/b15x.jpg", "kein Bild");
    f.dir.write("fotos/liesmich.txt", "Text");
    f.store.writeValue("SectBild", "Expertenmenue", "1");
    explorer->start(folder);
    trigger("UeberblickBilder1");
    auto* window = explorer->findChild<ui::ContactSheetWindow*>("Ueberblick");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    // The offscreen screen is 800 × 800: 4 columns of 200 px, 4 rows, 16 pictures.
    ASSERT_EQ(QApplication::primaryScreen()->geometry().size(), QSize(800, 800));
    const QImage& sheet = window->sheet();
    EXPECT_EQ(sheet.size(), QSize(800, (4 + 16 - 1) * 200 / 4));
    EXPECT_NE(sheet.pixelColor(100, 100), QColor(Qt::red));    // 90 × 60 stretched to 200 × 133
    EXPECT_EQ(sheet.pixelColor(100, 150), QColor(Qt::red));    // below it
    EXPECT_NE(sheet.pixelColor(700, 700), QColor(Qt::red));    // the sixteenth
    EXPECT_EQ(sheet.pixelColor(100, 850), QColor(Qt::red));    // no fifth row
    EXPECT_EQ(window->thumbAt(QPoint(210, 10)), folder + "/b11.jpg");
    EXPECT_EQ(window->thumbAt(QPoint(610, 10)), folder + "/b13.jpg");
    EXPECT_EQ(window->thumbAt(QPoint(10, 210)), folder + "/b14.jpg");
    EXPECT_EQ(window->thumbAt(QPoint(210, 210)), folder + "/b15.jpg");  // b15x.jpg cannot be decoded
    auto* note = window->findChild<QMessageBox*>("UeberblickHinweis");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->text().startsWith("Weiter mit Taste: \"Nach unten\"\n\n    Hinweis\nIm Menü"));
    note->close();
    auto* down = window->findChild<QShortcut*>();
    ASSERT_NE(down, nullptr);
    emit down->activated();
    EXPECT_EQ(window->sheet().size(), QSize(800, (4 + 4 - 1) * 200 / 4));
    EXPECT_EQ(window->thumbAt(QPoint(10, 10)), folder + "/b26.jpg");
    // At the end the next sheet starts again with the first picture.
    emit down->activated();
    EXPECT_EQ(window->thumbAt(QPoint(10, 10)), folder + "/b10.jpg");
}

TEST_F(ExplorerPictureViews, FolderWithoutJpegs) {
    f.dir.write("fotos/a.png", "x");
    f.store.writeValue("SectBild", "Expertenmenue", "1");
    explorer->start(folder);
    f.dialogs.expectInform("Im Verzeichnis befinden sich keine (jpg-)Bilder");
    auto* popup = explorer->findChild<QMenu*>("PopupMenu2");
    ASSERT_NE(popup, nullptr);
    auto* item = explorer->findChild<QAction*>("UeberblickBilder2");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(popup->actions().contains(item));
    EXPECT_EQ(item->text(), "Überblick über Bilder");
    item->trigger();
    EXPECT_TRUE(f.dialogs.scriptDone());
}

TEST_F(ExplorerPictureViews, EmptyA4PageAndPresetOnlyForExperts) {
    trigger("LeereSeite1");
    ASSERT_FALSE(shown.empty());
    const auto page = platform::pictures::loadPicture(shown);
    EXPECT_EQ(page.bitmap.width(), 770);
    EXPECT_EQ(page.bitmap.height(), 1090);
    EXPECT_EQ(page.bitmap.pixel(400, 600) & 0xFFFFFF, 0xFFFFFFu);
    auto* preset = explorer->findChild<QAction*>("Vorabeinstellungen1");
    ASSERT_NE(preset, nullptr);
    EXPECT_FALSE(preset->isEnabled());
    f.dialogs.expectInform("Nur im \"Expertenmodus\" nötig!");
    preset->setEnabled(true);
    preset->trigger();
    EXPECT_TRUE(f.dialogs.scriptDone());
    f.store.writeValue("SectBild", "Expertenmenue", "1");
    emit explorer->findChild<QMenu*>("Bilder1")->aboutToShow();
    EXPECT_TRUE(preset->isEnabled());
}
