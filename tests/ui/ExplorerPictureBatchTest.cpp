// The explorer's picture commands over the selected files.
#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <filesystem>
#include <fstream>

#include "PictureFixtures.h"
#include "ExplorerParts.h"
#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"
#include "platform/pictures/PictureFiles.h"

using namespace pictra;
namespace fs = std::filesystem;

namespace {

struct ExplorerPictureBatch : ::testing::Test {
    test::UiFixture f;
    test::ExplorerParts parts{f};
    ui::ExplorerShared& shared = parts.shared;
    std::string folder = f.dir.path() + "fotos";
    std::unique_ptr<ui::ExplorerWindow> explorer;

    void SetUp() override {
        fs::create_directories(folder);
        explorer = std::make_unique<ui::ExplorerWindow>(shared, '1', ui::ExplorerHooks{});
    }
    void select(const std::vector<std::string>& names) {
        QListWidget* files = explorer->fileList();
        files->clearSelection();
        for (int row = 0; row < files->count(); ++row) {
            for (const auto& name : names) {
                if (explorer->pathOfRow(row) == folder + "/" + name)
                    files->item(row)->setSelected(true);
            }
        }
        ASSERT_EQ(explorer->selectedPaths().size(), names.size());
    }
    bool listed(const std::string& name) {
        for (int row = 0; row < explorer->fileList()->count(); ++row) {
            if (explorer->pathOfRow(row) == folder + "/" + name)
                return true;
        }
        return false;
    }
    void trigger(const char* name) {
        auto* action = explorer->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
};

}  // namespace

TEST_F(ExplorerPictureBatch, ThreePhotosHalvedFromTheExplorer) {
    const std::vector<std::string> names = {"Foto 1.jpg", "foto#2.jpg", "foto3.jpg"};
    for (const auto& name : names) platform::pictures::savePicture(folder + "/" + name, test::gradient(601, 401), 90);
    platform::pictures::savePicture(folder + "/andere.jpg", test::gradient(40, 40), 90);
    explorer->start(folder);
    select(names);
    f.dialogs.expectAskNumber("Zum Beispiel 50%: Halbe Breite, Halbe Höhe = 50", 50)
        .expectConfirmText("Dateien verkleinert abspeichern.", true);
    trigger("HalbeGroesse2");
    EXPECT_TRUE(f.dialogs.scriptDone());
    EXPECT_EQ(
        f.dialogs.shownTexts().back(),
        "Folgende Bilder werden verkleinert\rim selben Ordner als \"_\"- Dateien abgespeichert:\r(\"Umbenennen\" und "
        "\"löschen\" möglich!)\rDie ursrünglichen Dateien bleiben erhalten.\n----\n" +
            folder + "/Foto 1.jpg\r\n" + folder + "/foto#2.jpg\r\n" + folder + "/foto3.jpg");
    for (const auto& name : names) {
        const auto half = platform::pictures::loadPicture(folder + "/_" + name);
        EXPECT_EQ(half.bitmap.width(), 300) << name;
        EXPECT_EQ(half.bitmap.height(), 200) << name;
        EXPECT_TRUE(listed("_" + name)) << name;
        EXPECT_TRUE(fs::exists(folder + "/" + name));
    }
    EXPECT_FALSE(fs::exists(folder + "/_andere.jpg"));
    EXPECT_GE(f.dialogs.cancelSteps(), 3);
    EXPECT_FALSE(f.dialogs.cancelWindowVisible());
}

TEST_F(ExplorerPictureBatch, NothingSelectedSelectsEveryLine) {
    platform::pictures::savePicture(folder + "/a.png", test::gradient(10, 10), 90);
    f.store.writeValue("SectBild", "SchlBild", "");
    explorer->start(folder);
    struct Case {
        const char* action;
        std::function<void()> script;
    } cases[] = {
        {"GleicheHoehe1",
         [&] {
             f.dialogs.expectAskNumber("Zum Beispiel 700 => Höhe = 700 Pixel", 700)
                 .expectInform("Keine Datei ausgewählt!");
         }},
        {"Komprimieren1", [&] { f.dialogs.expectInform("Keine Datei ausgewählt!"); }},
        {"Graustufen1", [&] { f.dialogs.expectInform("Keine Datei ausgewählt!"); }},
    };
    for (const auto& c : cases) {
        explorer->fileList()->clearSelection();
        c.script();
        trigger(c.action);
        EXPECT_TRUE(f.dialogs.scriptDone()) << c.action;
        EXPECT_EQ(explorer->fileList()->selectedItems().size(), explorer->fileList()->count()) << c.action;
    }
}

TEST_F(ExplorerPictureBatch, GreyCopyReplacesAnOlderCopyOnlyThroughTheBin) {
    platform::pictures::savePicture(folder + "/a.png", test::gradient(30, 20), 90);
    f.dialogs.expectConfirmText("Bilder schwarz-weiß", true);
    platform::pictures::savePicture(folder + "/_a.jpg", test::gradient(5, 5), 90);
    explorer->start(folder);
    select({"a.png"});
    trigger("Graustufen1");
    EXPECT_TRUE(f.dialogs.scriptDone());
    const auto grey = platform::pictures::loadPicture(folder + "/_a.jpg");
    EXPECT_EQ(grey.bitmap.width(), 30);
    std::size_t inBin = 0;
    for (const auto& entry : fs::directory_iterator(f.paths.binFolder()))
        inBin += entry.path().filename().string().find("fotos_b__a_") != std::string::npos;
    EXPECT_EQ(inBin, 1u);
}

TEST_F(ExplorerPictureBatch, SlideShowFromTheSelectedPictureStopsOnTheCancelWindow) {
    for (const char* name : {"a.png", "b.png", "c.txt", "d.png"}) {
        platform::pictures::savePicture(folder + "/" + name + (std::string(name) == "c.txt" ? ".png" : ""),
                                        test::gradient(4, 4), 90);
    }
    std::ofstream(folder + "/c.txt") << "kein Bild";
    std::vector<std::string> shown;
    ui::ExplorerHooks hooks;
    hooks.showPicture = [&](const std::string& path, const std::vector<std::string>&) { shown.push_back(path); };
    explorer = std::make_unique<ui::ExplorerWindow>(shared, '1', hooks);
    explorer->start(folder);
    select({"b.png"});
    explorer->fileList()->setCurrentItem(explorer->fileList()->selectedItems().front());
    f.dialogs.expectAskNumber("Angabe in Millisekunden", 1);
    f.dialogs.clickCancelAtStep(3);
    trigger("Schnelldurchlauf2");
    EXPECT_TRUE(f.dialogs.scriptDone());
    EXPECT_EQ(shown, (std::vector<std::string>{folder + "/b.png", folder + "/c.txt.png", folder + "/d.png"}));
    EXPECT_EQ(explorer->fileList()->currentRow(), 0);
    EXPECT_FALSE(f.dialogs.cancelWindowVisible());
}
