// The picture editor's "Galerie" group: the explorer's gallery commands for the
// folder of the picture being edited, while the explorer lists another folder.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "PictureFixtures.h"
#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/Explorers.h"
#include "explorer/pictures/ContactSheetWindow.h"
#include "pictures/PictureWindow.h"
#include "pictures/batch/GalleryWizard.h"
#include "pictures/editor/PictureEditor.h"
#include "settings/SettingsStore.h"
#include "shell/DocumentFiles.h"

using namespace pictra;
namespace fs = std::filesystem;

namespace {

struct EditorGallery : test::MainWindowTestBase {
    std::string folder;
    ui::PictureEditor* pictureEditor = nullptr;

    void SetUp() override {
        test::MainWindowTestBase::SetUp();
        folder = f.dir.path() + "galerie";
        fs::create_directories(folder);
        for (const char* name : {"a.jpg", "Bär am See.jpg", "c.jpg"})
            platform::pictures::savePicture(folder + "/" + name, test::gradient(90, 60), 90);
        std::ofstream(folder + "/zz_Bär am See.jpg") << "x";
        std::ofstream(folder + "/galerie.html", std::ios::binary)
            << "<p>\r\n<a href=\"B\xE4r am See.jpg\"><img src=\"zz_B\xE4r am See.jpg\" width=3></a>\r\n</p>\r\n";
        ASSERT_TRUE(window->files().loadFile(folder + "/galerie.html"));
        window->explorers().first().start(f.dir.path());
        pictureEditor = window->pictureWindow()->editor();
        pictureEditor->showPicture(folder + "/c.jpg");
        ASSERT_TRUE(QTest::qWaitFor([this] { return !pictureEditor->loading(); }, 20000));
    }
    void triggerGallery(const char* name) {
        auto* action = pictureEditor->contextMenu()->findChild<QMenu*>("Galerie1")->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    ui::ExplorerWindow& explorer() { return window->explorers().first(); }
};

}  // namespace

TEST_F(EditorGallery, TheGroupNamesTheGalleryCommands) {
    QMenu* group = pictureEditor->contextMenu()->findChild<QMenu*>("Galerie1");
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(group->isEnabled());
    std::vector<std::string> texts;
    for (QAction* action : group->actions()) texts.push_back(action->text().toStdString());
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "Assistent zum Programm \"Bildergalerie erzeugen\"",
                         "Entferne in Bildergalerien die Links auf Vergrößerungen",
                         "Bildergalerie zum Hochladen vorbereiten (Umlaute und Leerzeichen umschreiben)",
                         "Bildergalerie zum Hochladen vorbereiten (Neu Durchnummerieren)",
                         "Überblick über Bilder des Ordners ",
                     }));
}

TEST_F(EditorGallery, TheWizardOpensAtThePicturesFolder) {
    std::string shownFolder;
    QTimer::singleShot(0, window.get(), [this, &shownFolder] {
        auto* wizard = explorer().findChild<ui::GalleryWizard*>("Form11Bildergalerien");
        ASSERT_NE(wizard, nullptr);
        shownFolder = wizard->findChild<QLineEdit*>("Edit1")->text().toStdString();
        wizard->reject();
    });
    triggerGallery("GalerieAssistent1");
    EXPECT_EQ(shownFolder, folder);
}

TEST_F(EditorGallery, LinksToEnlargementsAreRemovedFromTheDocument) {
    triggerGallery("GalerieLinksEntfernen1");
    EXPECT_EQ(editor()->toPlainText().toStdString(),
              std::string("<p>\n  <img src=\"zz_Bär am See.jpg\" width=3>\n</p>"));
}

TEST_F(EditorGallery, UploadPreparationRenamesInThePicturesFolder) {
    f.dialogs.expectAsk(
        "Leerzeichen und Umlaute in Bilddateien werde umgeschrieben.\rDie entsprechende Referenzen in der "
        "HTML-Datei angepaßt.\r\rWollen Sie dies wirklich durchführen?",
        Answer::Yes);
    triggerGallery("GalerieHochladen1");
    EXPECT_TRUE(f.dialogs.scriptDone());
    EXPECT_EQ(explorer().currentFolder(), folder);
    EXPECT_TRUE(fs::exists(folder + "/Baer_am_See.jpg"));
    EXPECT_TRUE(fs::exists(folder + "/zz_Baer_am_See.jpg"));
    EXPECT_FALSE(fs::exists(folder + "/Bär am See.jpg"));
    EXPECT_EQ(editor()->toPlainText().toStdString(),
              "<p>\n<a href=\"Baer_am_See.jpg\"><img src=\"zz_Baer_am_See.jpg\" width=3></a>\n</p>");
}

// The sheet starts at the picture being edited.
TEST_F(EditorGallery, ContactSheetFromThePictureOn) {
    f.store.writeValue("SectBild", "Expertenmenue", "1");
    triggerGallery("GalerieUeberblick1");
    auto* sheet = explorer().findChild<ui::ContactSheetWindow*>("Ueberblick");
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->thumbAt(QPoint(10, 10)), folder + "/c.jpg");
    EXPECT_EQ(sheet->thumbAt(QPoint(210, 10)), "");
}
