#include <QCheckBox>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "PictureFixtures.h"
#include "UiFixture.h"
#include "explorer/Explorers.h"
#include "explorer/pictures/ContactSheetWindow.h"
#include "explorer/search/ResultModel.h"
#include "explorer/search/SearchWindow.h"
#include "platform/pictures/PictureFiles.h"
#include "shell/editing/SearchBar.h"
#include "settings/SettingsStore.h"

namespace pictra::test {
namespace {

struct SearchWindowTest : MainWindowTestBase {
    TempDir tree;

    void SetUp() override {
        MainWindowTestBase::SetUp();
        mkdir(tree.file("Fotos").c_str(), 0755);
        mkdir(tree.file(".cache").c_str(), 0755);
        tree.write("brief.txt", "Sehr geehrter Herr M\xdcLLER,\r\n");  // Windows-1252, other case
        tree.write("Fotos/notiz.txt", "m\xc3\xbcller kommt\n");          // UTF-8
        tree.write("Fotos/leer.txt", "nichts");
        tree.write(".cache/versteckt.txt", "M\xfcller");                 // in a "." folder: never searched
        tree.write("bild.jpg", "M\xfcller");                             // pictures are not read
    }

    ui::SearchWindow* searchWindow() { return window->findChild<ui::SearchWindow*>("Form11_suchen"); }

    ui::SearchWindow& openByMenu() {
        auto* action = window->findChild<QAction*>("FestplatteDurchsuchen1");
        EXPECT_NE(action, nullptr);
        EXPECT_EQ(action->shortcut(), QKeySequence("Alt+F11"));
        action->trigger();
        ui::SearchWindow& search = window->explorers().searchWindow();
        EXPECT_TRUE(search.isVisible());
        return search;
    }

    static void type(QWidget& window, const char* field, const QString& text) {
        auto* edit = window.findChild<QLineEdit*>(field);
        ASSERT_NE(edit, nullptr) << field;
        edit->clear();
        for (QChar c : text) QTest::sendKeyEvent(QTest::KeyAction::Click, edit, Qt::Key_unknown, QString(c), {});
    }

    std::vector<std::string> lines(ui::SearchWindow& search) {
        std::vector<std::string> paths;
        for (const auto& line : search.results()->lines()) paths.push_back(line.substr(0, line.find('|')));
        return paths;
    }
};

TEST_F(SearchWindowTest, CriteriaTypedHitsListedOneOpened) {
    ui::SearchWindow& search = openByMenu();
    EXPECT_EQ(search.windowTitle(), "Suchen");
    type(search, "Edit7", QString::fromStdString(tree.path()));
    type(search, "Edit4", QString::fromUtf8("Müller"));
    const auto soundsBefore = f.sound.played.size();
    search.move(100, 300);
    window->explorers().first().move(50, 250);
    QTest::mouseClick(search.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    // Both went up for the search and are back in their places.
    EXPECT_EQ(search.pos(), QPoint(100, 300));
    EXPECT_EQ(window->explorers().first().pos(), QPoint(50, 250));
    EXPECT_EQ(lines(search), (std::vector<std::string>{tree.file("brief.txt"), tree.file("Fotos/notiz.txt")}));
    EXPECT_EQ(search.findChild<QLabel*>("LAnzahl")->text(), "2");
    EXPECT_EQ(search.findChild<QLabel*>("LBytes")->text(), "42");
    EXPECT_EQ(f.sound.played.size(), soundsBefore + 1);  // the high signal at the end
    EXPECT_FALSE(f.dialogs.cancelWindowVisible());
    EXPECT_TRUE(search.findChild<QPushButton*>("Button1")->isVisible());
    // The first text becomes the main window's search text.
    EXPECT_EQ(window->searchBar().term(), "M\xfcller");  // Windows-1252 like every document text

    QListView* list = search.resultView();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&search));
    list->scrollToTop();
    const QRect row = list->visualRect(search.results()->index(1));
    ASSERT_TRUE(row.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(search.findChild<QLabel*>("LZeigtNamen")->text().toStdString(), tree.file("Fotos/notiz.txt"));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(window->currentFileName(), tree.file("Fotos/notiz.txt"));
}

TEST_F(SearchWindowTest, NameInFolderOrModeAndEmptyFolder) {
    ui::SearchWindow& search = openByMenu();
    type(search, "Edit7", "");
    f.dialogs.expectInform("Ordner, zum Beispiel \"C:\\Win\" eingeben!");
    search.startSearch();
    EXPECT_TRUE(search.results()->lines().empty());

    type(search, "Edit7", QString::fromStdString(tree.path()));
    type(search, "Edit1", "foto");
    search.startSearch();
    EXPECT_EQ(lines(search), (std::vector<std::string>{tree.file("Fotos/leer.txt"), tree.file("Fotos/notiz.txt")}));

    // "Oder" with N1 and T1 empty lists every file although N2 is filled.
    type(search, "Edit1", "");
    type(search, "Edit2", "nirgends");
    QTest::mouseClick(search.findChild<QPushButton*>("B_und_Oder"), Qt::LeftButton);
    EXPECT_EQ(search.findChild<QPushButton*>("B_und_Oder")->text(), "Oder");
    search.startSearch();
    EXPECT_EQ(lines(search).size(), 4u);

    // Without subfolders only the start folder's files.
    search.findChild<QCheckBox*>("CheckBox1")->setChecked(false);
    search.startSearch();
    EXPECT_EQ(lines(search), (std::vector<std::string>{tree.file("bild.jpg"), tree.file("brief.txt")}));
}

TEST_F(SearchWindowTest, CaseFlagFromTheMenuReachesTheSearch) {
    ui::SearchWindow& search = openByMenu();
    f.dialogs.expectAsk("Soll bei der Textsuche zwischen Groß- und Kleinschreibung unterschieden werden?", Answer::Yes);
    search.findChild<QAction*>("GrossKlein1")->trigger();
    EXPECT_TRUE(search.findChild<QAction*>("GrossKlein1")->isChecked());
    type(search, "Edit7", QString::fromStdString(tree.path()));
    type(search, "Edit4", QString::fromUtf8("Müller"));
    search.startSearch();
    EXPECT_TRUE(search.results()->lines().empty());
    type(search, "Edit4", QString::fromUtf8("müller"));
    search.startSearch();
    EXPECT_EQ(lines(search), (std::vector<std::string>{tree.file("Fotos/notiz.txt")}));
}

TEST_F(SearchWindowTest, CancelWindowStopsTheSearch) {
    for (int i = 0; i < 200; ++i) tree.write("viele" + std::to_string(i) + ".txt", "x");
    ui::SearchWindow& search = openByMenu();
    type(search, "Edit7", QString::fromStdString(tree.path()));
    f.dialogs.clickCancelAtStep(1);
    search.startSearch();
    EXPECT_GE(f.dialogs.cancelSteps(), 1);
    EXPECT_FALSE(search.searching());
    EXPECT_TRUE(search.findChild<QPushButton*>("Button1")->isVisible());
}

TEST_F(SearchWindowTest, TwoHitsToTheBinAndTooltips) {
    ui::SearchWindow& search = openByMenu();
    type(search, "Edit7", QString::fromStdString(tree.path()));
    type(search, "Edit4", QString::fromUtf8("müller"));
    search.startSearch();
    ASSERT_EQ(search.results()->rowCount(), 2);
    EXPECT_EQ(search.results()->data(search.results()->index(0), Qt::ToolTipRole).toString(),
              QString::fromUtf8("Sehr geehrter Herr MÜLLER,"));
    EXPECT_EQ(search.results()->data(search.results()->index(1), Qt::ToolTipRole).toString(),
              QString::fromUtf8("müller kommt"));
    search.resultView()->selectAll();
    f.dialogs.expectConfirmText("Dateien in den Papierkorb verschieben", true);
    search.findChild<QAction*>("Loeschen3")->trigger();
    EXPECT_TRUE(search.results()->lines().empty());  // searched again: both are gone
    EXPECT_FALSE(std::filesystem::exists(tree.file("brief.txt")));
    EXPECT_FALSE(std::filesystem::exists(tree.file("Fotos/notiz.txt")));
    int inBin = 0;
    for (const auto& entry : std::filesystem::directory_iterator(f.paths.binFolder()))
        inBin += entry.path().filename().string().find("brief") != std::string::npos ||
                 entry.path().filename().string().find("notiz") != std::string::npos;
    EXPECT_EQ(inBin, 2);
}

TEST_F(SearchWindowTest, ReplacingAsksPerFileAndKeepsTheOldFile) {
    ui::SearchWindow& search = openByMenu();
    type(search, "Edit7", QString::fromStdString(tree.path()));
    type(search, "Edit4", QString::fromUtf8("Müller"));
    f.dialogs.expectAskText("Ändern Sie den Text entsprechend!", std::string("Meier"));
    f.dialogs.expectInform("Jetzt \"Start Suche\" klicken!");
    search.findChild<QAction*>("TextErsetzen1")->trigger();
    f.dialogs.expectAsk("In \"" + tree.file("brief.txt") + "\" erstes \"Müller\" ersetzten durch \"Meier\"", Answer::Yes);
    f.dialogs.expectAsk("In \"" + tree.file("Fotos/notiz.txt") + "\" erstes \"Müller\" ersetzten durch \"Meier\"",
                        Answer::No);
    search.startSearch();
    EXPECT_EQ(lines(search), (std::vector<std::string>{tree.file("brief.txt"), tree.file("brief.txt")}));
    EXPECT_EQ(tree.read("brief.txt"), "Sehr geehrter Herr Meier,\r\n");
    EXPECT_EQ(tree.read("Fotos/notiz.txt"), "m\xc3\xbcller kommt\n");
    int kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(f.paths.binFolder()))
        kept += entry.path().filename().string().find("brief") != std::string::npos;
    EXPECT_EQ(kept, 1);
}

// A name that is not UTF-8 is shown as Windows-1252 and opened by its bytes.
TEST_F(SearchWindowTest, InvalidUtf8NameShownReadableOpenedByItsBytes) {
    const std::string odd = "Caf\xe9.txt";
    tree.write(odd, "Kaffee");
    ui::SearchWindow& search = openByMenu();
    type(search, "Edit7", QString::fromStdString(tree.path()));
    type(search, "Edit4", "Kaffee");
    search.startSearch();
    ASSERT_EQ(search.results()->rowCount(), 1);
    EXPECT_TRUE(search.results()->data(search.results()->index(0), Qt::DisplayRole).toString().startsWith(
        QString::fromStdString(tree.path()) + QString::fromUtf8("Café.txt|")));
    search.openResult(0, false);
    EXPECT_EQ(window->currentFileName(), tree.file(odd));
}

TEST_F(SearchWindowTest, ClickOnAPictureShowsItsPreview) {
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(tree.file("urlaub.jpg")), "JPG"));
    ui::SearchWindow& search = openByMenu();
    type(search, "Edit7", QString::fromStdString(tree.path()));
    type(search, "Edit1", "urlaub");
    search.startSearch();
    ASSERT_EQ(search.results()->rowCount(), 1);
    tree.write("urlaub.txt", "x");
    type(search, "Edit1", "urlaub.");
    search.startSearch();
    ASSERT_EQ(search.results()->rowCount(), 2);
    QListView* list = search.resultView();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&search));
    auto* preview = search.findChild<QLabel*>("Image1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(search.results()->index(0)).center());
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->pixmap().size(), QSize(200, 100));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(search.results()->index(1)).center());
    EXPECT_FALSE(preview->isVisible());
    EXPECT_EQ(search.findChild<QLabel*>("LZeigtNamen")->text().toStdString(), tree.file("urlaub.txt"));
}

// The explorer's simple search follows the search window's case flag.
TEST_F(SearchWindowTest, SimpleSearchFollowsTheCaseFlag) {
    ui::ExplorerWindow& explorer = window->explorers().first();
    explorer.start(tree.path());
    for (bool matchCase : {true, false}) {
        window->explorers().searchSession().matchCase = matchCase;
        f.dialogs.expectAskText("Welche Dateien suchen Sie?", std::string("BRIEF"));
        if (matchCase) f.dialogs.expectInform("Suche ergebnislos");
        explorer.findChild<QAction*>("EinfacheSuche1")->trigger();
        EXPECT_EQ(explorer.fileList()->selectedItems().size(), matchCase ? 0 : 1) << matchCase;
    }
}

TEST_F(SearchWindowTest, ExplorerEntryStartsAtItsFolder) {
    ui::ExplorerWindow& explorer = window->explorers().first();
    explorer.start(tree.file("Fotos"));
    auto* entry = explorer.findChild<QAction*>("SucheInDateien1");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), "Suche in Dateien");
    entry->trigger();
    EXPECT_EQ(window->explorers().searchWindow().folder(), tree.file("Fotos"));
}

// "Überblick über alle JPG-Bilder des Ordners": the found pictures of every folder on one sheet,
// from the selected line on; "bild.jpg" holds text and is passed over.
TEST_F(SearchWindowTest, ContactSheetOfTheFoundPictures) {
    mkdir(tree.file("Urlaub").c_str(), 0755);
    platform::pictures::savePicture(tree.file("Fotos/a.jpg"), gradient(90, 60), 90);
    platform::pictures::savePicture(tree.file("Urlaub/b.jpg"), gradient(60, 90), 90);
    f.store.writeValue("SectBild", "Expertenmenue", "1");
    ui::SearchWindow& search = openByMenu();
    type(search, "Edit7", QString::fromStdString(tree.path()));
    type(search, "Edit1", ".jpg");
    search.startSearch();
    const auto found = lines(search);
    ASSERT_EQ(found.size(), 3u);
    std::vector<std::string> pictures;
    for (const auto& path : found) {
        if (path != tree.file("bild.jpg")) pictures.push_back(path);
    }

    auto* item = search.findChild<QAction*>("UeberblickJpg1");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text().toStdString(), "Überblick über alle JPG-Bilder des Ordners");
    item->trigger();
    auto* sheet = search.findChild<ui::ContactSheetWindow*>("Ueberblick");
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->thumbAt(QPoint(10, 10)), pictures[0]);
    EXPECT_EQ(sheet->thumbAt(QPoint(210, 10)), pictures[1]);
    EXPECT_EQ(sheet->thumbAt(QPoint(410, 10)), "");

    const int second = static_cast<int>(std::find(found.begin(), found.end(), pictures[1]) - found.begin());
    search.resultView()->selectionModel()->select(search.results()->index(second), QItemSelectionModel::Select);
    item->trigger();
    EXPECT_EQ(sheet->thumbAt(QPoint(10, 10)), pictures[1]);
    EXPECT_TRUE(search.resultView()->selectionModel()->selectedIndexes().isEmpty());

    type(search, "Edit1", ".txt");
    search.startSearch();
    f.dialogs.expectInform("Im Verzeichnis befinden sich keine (jpg-)Bilder");
    item->trigger();
    EXPECT_TRUE(f.dialogs.scriptDone());
}

}  // namespace
}  // namespace pictra::test
