// The explorer's first popup item on a photo edits its caption in the detailed
// picture mode; the simple mode leaves it alone.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "ExplorerParts.h"
#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/Explorers.h"
#include "pictures/editing/Colours.h"
#include "platform/pictures/PictureFiles.h"
#include "settings/SettingsStore.h"

using namespace pictra;
namespace fs = std::filesystem;
namespace ed = pictures::editing;

TEST(ExplorerCaption, ReadItemOnAPhotoEditsItsCaptionInTheDetailedMode) {
    test::UiFixture f;
    test::ExplorerParts parts{f};
    const std::string folder = f.dir.path() + "fotos";
    fs::create_directories(folder);
    pictures::Bitmap32 dark(400, 300);
    dark.clear(ed::rgb(20, 20, 20));
    platform::pictures::savePicture(folder + "/meer.jpg", dark, 95);
    std::ofstream(folder + "/brief.txt") << "Hallo";
    ui::ExplorerWindow explorer(parts.shared, '1', {});
    explorer.start(folder);
    QListWidget* files = explorer.fileList();
    QAction* read = explorer.findChild<QAction*>("DateiEinlesen1");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->text(), "Datei einlesen (falls Textdatei)");
    const auto click = [&](const std::string& name) {
        for (int row = 0; row < files->count(); ++row) {
            const bool it = explorer.pathOfRow(row) == folder + "/" + name;
            files->item(row)->setSelected(it);
            if (it) {
                files->setCurrentRow(row);
                emit files->itemClicked(files->item(row));
            }
        }
    };
    const struct {
        const char* expert;
        const char* name;
        const char* text;
    } labels[] = {{"", "meer.jpg", "Datei einlesen, falls Textdatei"},
                  {"1", "brief.txt", "Datei einlesen, falls Textdatei"},
                  {"1", "meer.jpg", "Begleittext des Bildes erstellen oder ändern"}};
    for (const auto& l : labels) {
        f.store.writeValue("SectBild", "Expertenmenue", l.expert);
        click(l.name);
        EXPECT_EQ(read->text(), l.text) << l.expert << l.name;
    }

    // The simple mode: no dialog, nothing written (an unexpected dialog would fail the test).
    // (A second click on the same file would open it, as a double click does.)
    click("brief.txt");
    f.store.writeValue("SectBild", "Expertenmenue", "");
    click("meer.jpg");
    read->trigger();
    EXPECT_FALSE(fs::exists(folder + "/meer.jp0"));

    click("brief.txt");
    f.store.writeValue("SectBild", "Expertenmenue", "1");
    click("meer.jpg");
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        auto* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        opened = dialog->objectName() == "TForm6textInBild";
        dialog->findChild<QPlainTextEdit*>("Memo1")->setPlainText("Ferien\nam Meer");
        dialog->findChild<QPushButton*>("BSchliessen")->click();
    });
    read->trigger();
    EXPECT_TRUE(opened);
    std::ifstream in(folder + "/meer.jp0", std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()),
              "#0c000000ffffff Ferien\r\n#0c000000ffffff am Meer\r\n");
    // The preview is drawn again, now with the caption (white behind the letters).
    const QImage shown = explorer.findChild<QLabel*>("Bildvorschau")->pixmap().toImage();
    int white = 0;
    for (int y = 16; y < 24; ++y) {
        for (int x = 4; x < 40; ++x) white += qGray(shown.pixel(x, y)) > 200 ? 1 : 0;
    }
    EXPECT_GT(white, 40);
}
