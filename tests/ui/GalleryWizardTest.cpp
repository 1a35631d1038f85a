// The gallery wizard on real pictures.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>
#include <filesystem>

#include "PictureFixtures.h"
#include "ExplorerParts.h"
#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"
#include "pictures/batch/GalleryWizard.h"
#include "platform/pictures/PictureFiles.h"

using namespace pictra;
namespace fs = std::filesystem;

TEST(GalleryWizard, StartMakesSmallPicturesArrowsAndPagesAndPreviewsTheOverview) {
    test::UiFixture f;
    const std::string folder = f.dir.path() + "fest";
    fs::create_directories(folder);
    platform::pictures::savePicture(folder + "/a.jpg", test::gradient(600, 400), 90);
    platform::pictures::savePicture(folder + "/B.JPG", test::gradient(400, 600), 90);
    platform::pictures::savePicture(folder + "/c.png", test::gradient(100, 50), 90);
    std::string previewed;
    std::string shownFolder;
    ui::GalleryWizard wizard(
        f.store, f.dialogs, f.dir.path(),
        {[&](const std::string& s) { shownFolder = s; }, [&](const std::string& s) { previewed = s; }}, nullptr);
    wizard.findChild<QLineEdit*>("Edit1")->setText(QString::fromStdString(folder));
    wizard.findChild<QCheckBox*>("CBkomfort")->setChecked(true);
    wizard.findChild<QSpinBox*>("SpinEdit3")->setValue(100);
    for (int i = 0; i < 3; ++i) f.dialogs.expectAskText("Falls keine Überschrift: Esc-Taste", std::nullopt);
    wizard.start();
    EXPECT_TRUE(f.dialogs.scriptDone());
    EXPECT_EQ(previewed, folder + "/galerie.html");
    EXPECT_EQ(shownFolder, folder);
    const struct {
        const char* name;
        int w, h;
    } files[] = {{"zz_a.jpg", 150, 100},      {"zz_b.jpg", 66, 100},       {"zz_c.jpg", 200, 100},
                 {"zzzweiter_l.gif", 24, 14}, {"zzzweiter_r.gif", 24, 14}, {"zzzweiter_o.gif", 14, 16}};
    for (const auto& file : files) {
        const auto picture = platform::pictures::loadPicture(folder + "/" + file.name);
        EXPECT_EQ(picture.bitmap.width(), file.w) << file.name;
        EXPECT_EQ(picture.bitmap.height(), file.h) << file.name;
    }
    EXPECT_TRUE(fs::exists(folder + "/b.jpg"));
    EXPECT_FALSE(fs::exists(folder + "/B.JPG"));
    const std::string overview = f.dir.read("fest/galerie.html");
    EXPECT_NE(overview.find("<a href=\"zzz_b.html\"><img src=\"zz_b.jpg\" width=66 height=100 alt=\"B\"></a>\r\n"),
              std::string::npos);
    EXPECT_NE(f.dir.read("fest/zzz_c.html").find("<a href=\"galerie.html\"><img src=\"c.png\"  alt=\"\"></a>"),
              std::string::npos);
    EXPECT_EQ(f.store.readValue("bildergalerie0", "bildergalerie1"), folder);
}

TEST(GalleryWizard, StartWithoutFolderAsksForOne) {
    test::UiFixture f;
    ui::GalleryWizard wizard(f.store, f.dialogs, f.dir.path(), {}, nullptr);
    f.dialogs.expectInform("Sie müssen noch den Ordner auswählen, in dem Ihre Bilder  gespeichert sind");
    wizard.start();
    EXPECT_TRUE(f.dialogs.scriptDone());
}

TEST(GalleryWizard, OpensFromTheExplorerAtItsFolderAndKeepsTheFolder) {
    test::UiFixture f;
    test::ExplorerParts parts{f};
    ui::ExplorerShared& shared = parts.shared;
    ui::ExplorerWindow explorer(shared, '1', {});
    const std::string folder = f.dir.path() + "bilder";
    fs::create_directories(folder);
    explorer.start(folder);
    QTimer::singleShot(0, &explorer, [&] {
        auto* wizard = explorer.findChild<ui::GalleryWizard*>("Form11Bildergalerien");
        ASSERT_NE(wizard, nullptr);
        EXPECT_EQ(wizard->windowTitle(), "Bildergalerien erstellen");
        EXPECT_EQ(wizard->findChild<QLineEdit*>("Edit1")->text().toStdString(), folder);
        EXPECT_EQ(wizard->findChild<QLineEdit*>("E_NamederGalerie")->text(), "galerie");
        EXPECT_EQ(wizard->findChild<QSpinBox*>("SpinEdit4")->value(), 65);
        EXPECT_LE(wizard->height(), 768);
        wizard->findChild<QLineEdit*>("Edit1")->setText("/anders");
        wizard->reject();
    });
    auto* action = explorer.findChild<QAction*>("Bildergalerie1");
    ASSERT_NE(action, nullptr);
    action->trigger();
    EXPECT_EQ(f.store.readValue("bildergalerie0", "bildergalerie1"), "/anders");
}

TEST(GalleryWizard, ReorderRebuildsThePagesInTheOverviewsOrder) {
    test::UiFixture f;
    const std::string folder = f.dir.path() + "g";
    fs::create_directories(folder);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        platform::pictures::savePicture(folder + "/" + name, test::gradient(40, 30), 90);
    ui::GalleryWizard wizard(f.store, f.dialogs, f.dir.path(), {}, nullptr);
    wizard.findChild<QLineEdit*>("Edit1")->setText(QString::fromStdString(folder));
    wizard.findChild<QCheckBox*>("CBkomfort")->setChecked(true);
    for (int i = 0; i < 3; ++i) f.dialogs.expectAskText("Falls keine Überschrift: Esc-Taste", std::nullopt);
    wizard.start();
    // The user moves c to the front of the overview.
    std::string overview = f.dir.read("g/galerie.html");
    const std::size_t c = overview.find("<a href=\"zzz_c.html\">");
    const std::size_t cEnd = overview.find("\r\n", c) + 2;
    const std::string line = overview.substr(c, cEnd - c);
    overview.erase(c, cEnd - c);
    overview.insert(overview.find("<a href=\"zzz_a.html\">"), line);
    f.dir.write("g/galerie.html", overview);
    f.dialogs
        .expectAsk(
            "Dieser Programmpunkt ist notwendig, wenn Sie in der Datei \"galerie.html\" die Reihenfolge geändert "
            "haben.\rDann wird  jetzt die Navigation in den \"zzz_...\"-Dateien angepaßt.\rIst das beabsichtigt?",
            Answer::Yes)
        .expectOpenFile(folder + "/galerie.html")
        .expectInform("fertig!");
    wizard.reorder();
    EXPECT_TRUE(f.dialogs.scriptDone());
    const std::string pageC = f.dir.read("g/zzz_c.html");
    EXPECT_NE(pageC.find("<a href=\"zzz_a.html\"><img src=\"c.jpg\"  alt=\"\"></a>"), std::string::npos);
    EXPECT_NE(pageC.find("<a href=\"zzz_b.html\"><img src=\"zzzweiter_l.gif\""), std::string::npos);
    EXPECT_NE(f.dir.read("g/zzz_b.html").find("<a href=\"zzz_c.html\"><img src=\"zzzweiter_r.gif\""),
              std::string::npos);
}

TEST(GalleryWizard, ForAllTakesTheCaptionAsHeadingWithoutAsking) {
    test::UiFixture f;
    const std::string folder = f.dir.path() + "urlaub";
    fs::create_directories(folder);
    platform::pictures::savePicture(folder + "/see.jpg", test::gradient(60, 40), 90);
    platform::pictures::savePicture(folder + "/berg.jpg", test::gradient(60, 40), 90);
    f.dir.write("urlaub/see.jp0", "#0c000000ffffff Am See\r\n");
    ui::GalleryWizard wizard(f.store, f.dialogs, f.dir.path(), {}, nullptr);
    wizard.findChild<QLineEdit*>("Edit1")->setText(QString::fromStdString(folder));
    wizard.findChild<QCheckBox*>("CBkomfort")->setChecked(true);
    auto* forAll = wizard.findChild<QCheckBox*>("CBfueralle");
    ASSERT_NE(forAll, nullptr);
    EXPECT_EQ(forAll->text(), "Für alle übernehmen");
    forAll->setChecked(true);
    wizard.start();
    EXPECT_TRUE(f.dialogs.log().empty());
    EXPECT_NE(f.dir.read("urlaub/zzz_see.html").find("<center>\r\nAm See<br>\r\n"), std::string::npos);
    EXPECT_NE(f.dir.read("urlaub/zzz_berg.html").find("<center>\r\nBERG<br>\r\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder + "/zz_see.jp0"));
}
