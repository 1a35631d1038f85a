#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "ExplorerParts.h"
#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/folders/PictureRenaming.h"

using namespace pictra;
namespace fs = std::filesystem;

namespace {

struct PictureRenameWindowsTest : ::testing::Test {
    test::UiFixture f;
    test::ExplorerParts parts{f};
    ui::ExplorerShared& shared = parts.shared;
    std::unique_ptr<ui::ExplorerWindow> explorer;
    std::string folder;

    void SetUp() override {
        folder = f.dir.path() + "bilder";
        fs::create_directories(folder);
        for (const char* name : {"a.jpg", "b.jpg", "c.png"}) {
            QImage image(64, 48, QImage::Format_RGB32);
            image.fill(QColor(name[0] == 'a' ? Qt::red : Qt::green));
            ASSERT_TRUE(image.save(QString::fromStdString(folder + "/" + name)));
        }
        explorer = std::make_unique<ui::ExplorerWindow>(shared, '1', ui::ExplorerHooks{});
        explorer->start(folder);
    }
    QWidget* open(const char* action, const char* window) {
        explorer->findChild<QAction*>(action)->trigger();
        return explorer->findChild<QWidget*>(window);
    }
    template <class T>
    T* child(QWidget* window, const char* name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(QWidget* window, const char* name) { child<QPushButton>(window, name)->click(); }
};

}  // namespace

TEST_F(PictureRenameWindowsTest, ReorderWindowPlansStemsWithCountersAndRenamesOnClose) {
    QWidget* window = open("BilderUmordnen1", "Form10umb2");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Dateien umbenennen und umordnen");
    auto* list = child<QListWidget>(window, "ListBox1");
    ASSERT_EQ(list->count(), 3);
    f.dialogs.expectInform(std::string("Bitte zuerst den neuen Namen(sstamm) eingeben\rBeachten Sie dabei den folgenden Tipp:\r") +
                           "Empfehlung\rNummerieren Sie Ihre Dateigruppen auch am Anfang, z.B. \"01urlaub\", \"02geburtstag\", "
                           "damit die Gruppen in dieser Reihenfolge stehen. Innerhalb einer Gruppe zählt das Programm selbst "
                           "weiter (01, 02, ...).");
    click(window, "BUmbenennen");
    child<QLineEdit>(window, "Eneu")->setText("urlaub");
    list->item(0)->setSelected(true);
    list->item(2)->setSelected(true);
    click(window, "BUmbenennen");
    auto* fine = child<QPlainTextEdit>(window, "MFeinabstimmung");
    EXPECT_EQ(fine->toPlainText().toStdString(), "a.jpg->urlaub01\nc.png->urlaub02");
    fine->setPlainText("a.jpg->urlaub01\nc.png->b");
    click(window, "BOk");
    EXPECT_EQ(list->item(2)->text().toStdString(), "c.png->b");
    EXPECT_EQ(list->item(1)->text().toStdString(), "b.jpg");
    window->show();
    click(window, "BSchliessen");
    EXPECT_EQ(folders::pictureNames(folder), (std::vector<std::string>{"b.jpg", "b.png", "urlaub01.jpg"}));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(PictureRenameWindowsTest, ReorderWindowStopsOnDuplicateNames) {
    QWidget* window = open("BilderUmordnen1", "Form10umb2");
    ASSERT_NE(window, nullptr);
    auto* list = child<QListWidget>(window, "ListBox1");
    list->item(0)->setText("a.jpg->b");
    const std::string report =
        "Wichtig: Folgende Dateien haben gleiche Namen und müssen abgeändert werden!\r\rNr. 1 = Nr. 2 : b.jpg";
    f.dialogs.expectInform(report);
    click(window, "BSchliessen");
    EXPECT_TRUE(fs::exists(folder + "/a.jpg"));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(PictureRenameWindowsTest, OrderWindowPlansANameAndNumbersAllInStepsOfTen) {
    QWidget* window = open("BilderUmbenennen1", "Form10umb");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    auto* before = child<QListWidget>(window, "ListBox1");
    auto* planned = child<QListWidget>(window, "ListBox2");
    before->setCurrentRow(0);
    EXPECT_EQ(child<QLineEdit>(window, "Edit2")->text().toStdString(), "a.jpg");
    child<QLineEdit>(window, "Edit3")->setText("b");
    f.dialogs.expectInform("Name ist schon vorhanden oder neu vergeben");
    click(window, "BUmbenennen");
    child<QLineEdit>(window, "Edit3")->setText("sonne");
    click(window, "BUmbenennen");
    EXPECT_EQ(planned->item(0)->text().toStdString(), "sonne.jpg <-a.jpg");
    click(window, "BAktualisieren");
    EXPECT_EQ(folders::pictureNames(folder), (std::vector<std::string>{"b.jpg", "c.png", "sonne.jpg"}));

    f.dialogs.expectAsk("Wirklich alle Dateien neu durchnummerieren?", Answer::Yes);
    f.dialogs.expectAskText("Name vor den Ziffern?", std::string("bild"));
    window->findChild<QAction*>("AlleUmbenennen2")->trigger();
    EXPECT_EQ(folders::pictureNames(folder), (std::vector<std::string>{"bild10.jpg", "bild20.png", "bild30.jpg"}));
    EXPECT_EQ(before->count(), 3);
}

TEST_F(PictureRenameWindowsTest, AFolderWithoutPicturesOpensNoWindow) {
    const std::string empty = f.dir.path() + "leer";
    fs::create_directories(empty);
    explorer->goToFolder(empty);
    explorer->showFiles(empty);
    for (const auto& [action, window] : {std::pair{"BilderUmordnen1", "Form10umb2"}, std::pair{"BilderUmbenennen1", "Form10umb"}}) {
        f.dialogs.expectInform("Keine Bilddateien (.gif .jpg .jpeg . bmp .png) im ausgewählten Ordner!");
        EXPECT_EQ(open(action, window), nullptr);
    }
}

TEST_F(PictureRenameWindowsTest, ReorderWindowDeletesIntoTheBinAndNamesOnlyJpegBytesJpg) {
    QWidget* window = open("BilderUmordnen1", "Form10umb2");
    ASSERT_NE(window, nullptr);
    auto* list = child<QListWidget>(window, "ListBox1");
    list->item(1)->setSelected(true);
    f.dialogs.expectConfirmText("Dateien in den Papierkorb verschieben", true);
    window->findChild<QAction*>("DateiLoeschen1")->trigger();
    EXPECT_EQ(list->item(1)->text().toStdString(), "b.jpg gelöscht");
    EXPECT_FALSE(fs::exists(folder + "/b.jpg"));

    // c.png holds PNG bytes: it keeps its name and is reported.
    f.dialogs.expectInform("Fertig\r\nc.png konnte  nicht umbenannt werden\r\n");
    window->findChild<QAction*>("AlleAlsJpg1")->trigger();
    EXPECT_EQ(folders::pictureNames(folder), (std::vector<std::string>{"a.jpg", "c.png"}));
    click(window, "BSchliessen");
    EXPECT_FALSE(window->isVisible());
}
