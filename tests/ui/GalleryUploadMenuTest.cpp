// The explorer's gallery commands on the current document of the main window.
#include <gtest/gtest.h>

#include <QAction>
#include <filesystem>
#include <fstream>

#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/Explorers.h"
#include "shell/DocumentFiles.h"

using namespace pictra;
namespace fs = std::filesystem;

namespace {

struct GalleryUploadMenu : test::MainWindowTestBase {
    std::string folder;
    void SetUp() override {
        test::MainWindowTestBase::SetUp();
        folder = f.dir.path() + "galerie";
        fs::create_directories(folder);
        for (const char* name : {"Bär am See.jpg", "zz_Bär am See.jpg"}) std::ofstream(folder + "/" + name) << "x";
        std::ofstream(folder + "/galerie.html", std::ios::binary)
            << "<p>\r\n<a href=\"B\xE4r am See.jpg\"><img src=\"zz_B\xE4r am See.jpg\" width=3></a>\r\n</p>\r\n";
        ASSERT_TRUE(window->files().loadFile(folder + "/galerie.html"));
        window->explorers().first().start(folder);
    }
    void triggerExplorer(const char* name) {
        auto* action = window->explorers().first().findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
};

}  // namespace

TEST_F(GalleryUploadMenu, LinksToEnlargementsAreRemovedFromTheDocument) {
    triggerExplorer("LinksEntfernen1");
    EXPECT_EQ(editor()->toPlainText().toStdString(),
              std::string("<p>\n  <img src=\"zz_Bär am See.jpg\" width=3>\n</p>"));
}

TEST_F(GalleryUploadMenu, UmlautsAndBlanksAreRenamedWithTheReferences) {
    f.dialogs.expectAsk(
        "Leerzeichen und Umlaute in Bilddateien werde umgeschrieben.\rDie entsprechende Referenzen in der "
        "HTML-Datei angepaßt.\r\rWollen Sie dies wirklich durchführen?",
        Answer::Yes);
    triggerExplorer("Hochladen1");
    EXPECT_TRUE(f.dialogs.scriptDone());
    EXPECT_TRUE(fs::exists(folder + "/Baer_am_See.jpg"));
    EXPECT_TRUE(fs::exists(folder + "/zz_Baer_am_See.jpg"));
    EXPECT_FALSE(fs::exists(folder + "/Bär am See.jpg"));
    EXPECT_EQ(editor()->toPlainText().toStdString(),
              "<p>\n<a href=\"Baer_am_See.jpg\"><img src=\"zz_Baer_am_See.jpg\" width=3></a>\n</p>");
}
