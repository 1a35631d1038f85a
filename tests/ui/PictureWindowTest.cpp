#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QMouseEvent>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "UiFixture.h"
#include "explorer/Explorers.h"
#include "pictures/CorrectionPen.h"
#include "pictures/ExtraPicture.h"
#include "pictures/PictureWindow.h"
#include "pictures/SizePanel.h"
#include "shell/StatusBars.h"
#include "platform/pictures/PictureFiles.h"

using namespace pictra;
namespace fs = std::filesystem;
using pictures::Bitmap32;

namespace {

Bitmap32 picture(int w, int h, pictures::Color32 colour) {
    Bitmap32 b(w, h);
    b.clear(colour);
    for (int x = 0; x < w / 4; ++x) b.row(0)[x] = 0xFF000000;  // a dark mark at the top left
    return b;
}

// Runs `check` on the modal save dialog once it is open, then closes it.
void onSaveDialog(std::function<void(QDialog*)> check) {
    QTimer::singleShot(0, [check = std::move(check)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != "TForm18speichern") {
            ADD_FAILURE() << "no save dialog";
            if (dialog) dialog->reject();
            return;
        }
        check(dialog);
        if (dialog->isVisible()) dialog->reject();
    });
}

// The pointer over the picture, as the window's mouse tracking sees it.
void moveMouse(QWidget* w, QPoint p) {
    QMouseEvent move(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

struct PictureWindowTest : test::MainWindowTestBase {
    std::string folder;
    ui::PictureWindow* pictures = nullptr;

    void SetUp() override {
        test::MainWindowTestBase::SetUp();
        folder = f.dir.path() + "bilder";
        fs::create_directories(folder);
        platform::pictures::savePicture(folder + "/a.png", picture(400, 300, 0xFFFF0000));
        platform::pictures::savePicture(folder + "/b.jpg", picture(2000, 1500, 0xFF00FF00), 90);
        platform::pictures::savePicture(folder + "/c.png", picture(300, 400, 0xFF0000FF));
        std::ofstream(folder + "/brief.txt") << "kein Bild";
        pictures = window->pictureWindow();
        pictures->setScreenSize(QSize(1280, 1024));
    }
    void TearDown() override {
        pictures->close();
        test::MainWindowTestBase::TearDown();
    }
    // Until the picture waited for is shown (it is decoded beside the window).
    void settle() { ASSERT_TRUE(QTest::qWaitFor([this] { return !pictures->loading(); }, 20000)); }
    void doubleClickInExplorer(const std::string& name) {
        ui::ExplorerWindow& explorer = window->explorers().first();
        explorer.start(folder);
        QListWidget* list = explorer.fileList();
        for (int row = 0; row < list->count(); ++row) {
            if (explorer.pathOfRow(row) == folder + "/" + name) {
                list->setCurrentRow(row);
                list->item(row)->setSelected(true);
            }
        }
        explorer.openSelected();
        settle();
    }
};

}  // namespace

TEST_F(PictureWindowTest, TheExplorersDoubleClickShowsAPictureAndDownStepsOnWithAWrap) {
    doubleClickInExplorer("b.jpg");
    EXPECT_TRUE(pictures->isVisible());
    EXPECT_EQ(pictures->currentPath(), folder + "/b.jpg");
    EXPECT_EQ(f.store.readValue("SectBild", "SchlBild"), folder + "/b.jpg");
    // 2000 × 1500 fitted to 1280 × 1024: 1365 × 1024.
    EXPECT_EQ(pictures->displayed().width(), 1365);
    EXPECT_EQ(pictures->displayed().height(), 1024);
    QTest::keyClick(pictures, Qt::Key_Down);
    settle();
    EXPECT_EQ(pictures->currentPath(), folder + "/c.png");
    EXPECT_EQ(pictures->displayed().width(), 300);  // smaller than the screen: as it is
    const size_t tones = f.sound.played.size();
    QTest::keyClick(pictures, Qt::Key_Space);
    settle();
    EXPECT_EQ(pictures->currentPath(), folder + "/a.png");  // wrapped round
    EXPECT_GT(f.sound.played.size(), tones);
    QTest::keyClick(pictures, Qt::Key_Up);
    settle();
    EXPECT_EQ(pictures->currentPath(), folder + "/c.png");
}

TEST_F(PictureWindowTest, MarkingAndCuttingARectangle) {
    pictures->showPictureFile(folder + "/a.png", {folder + "/a.png"});
    settle();
    f.dialogs.expectInform("Zuerst Markierung des Rechtecks links oben und rechts unten setzen!");
    EXPECT_FALSE(pictures->cutMarkedOnly());
    moveMouse(pictures, QPoint(0, 0));
    QTest::keyClick(pictures, Qt::Key_F1);
    moveMouse(pictures, QPoint(100, 50));
    QTest::keyClick(pictures, Qt::Key_F2);
    EXPECT_EQ(window->statusBars().panelText(3).trimmed().toStdString(), "100*50");
    ASSERT_TRUE(pictures->cutMarkedOnly());
    EXPECT_EQ(pictures->sourceSize(), (pictures::viewer::Size{100, 50}));
    EXPECT_EQ(pictures->displayed().pixel(0, 0), 0xFF000000u);   // the dark mark
    EXPECT_EQ(pictures->displayed().pixel(99, 49), 0xFFFF0000u);
}

TEST_F(PictureWindowTest, TurningAndSavingKeepsTheDateOfThePicture) {
    const std::string path = folder + "/a.png";
    const auto old = fs::last_write_time(path) - std::chrono::hours(24 * 400);
    fs::last_write_time(path, old);
    pictures->showPictureFile(path, {path});
    settle();
    pictures->turnOnly(true);
    EXPECT_EQ(pictures->sourceSize(), (pictures::viewer::Size{300, 400}));
    f.dialogs.expectAsk("Datei \"a.png\" überschreiben?", Answer::Yes);
    ASSERT_TRUE(pictures->saveTo(path, 0));
    const auto saved = platform::pictures::loadPicture(path);
    EXPECT_EQ(saved.fullWidth, 300);
    EXPECT_EQ(saved.bitmap.pixel(299, 0), 0xFF000000u);  // the top-left mark went to the top right
    EXPECT_EQ(fs::last_write_time(path), old);
    EXPECT_EQ(bin::binEntries(f.paths.binFolder()).size(), 1u);  // the overwritten picture went to the bin first
}

TEST_F(PictureWindowTest, WhatCannotBeShownGetsTheMessagePictureAndTheQuestion) {
    std::ofstream(folder + "/x.jpg.txt") << "Das ist Text.";
    std::ofstream(folder + "/leer.jpg");
    // Bytes no reader knows: the message picture and the note.
    f.dialogs.expectInform("\"" + folder + "/x.jpg.txt\" ist wahrscheinlich keine Bilddatei!\"");
    pictures->showPictureFile(folder + "/x.jpg.txt", {folder + "/x.jpg.txt", folder + "/leer.jpg"});
    settle();
    EXPECT_EQ(pictures->displayed().width(), 600);
    EXPECT_EQ(pictures->displayed().height(), 300);
    f.dialogs.expectInform("\"" + folder + "/leer.jpg\" ist wahrscheinlich keine Bilddatei!\"");
    QTest::keyClick(pictures, Qt::Key_Down);
    settle();
    EXPECT_EQ(pictures->currentPath(), folder + "/leer.jpg");
    EXPECT_EQ(pictures->displayed().width(), 600);
    EXPECT_TRUE(f.dialogs.scriptDone());
}

TEST_F(PictureWindowTest, APngNamedJpgOffersItsRightName) {
    fs::rename(folder + "/a.png", folder + "/falsch.jpg");
    f.dialogs.expectAsk("Die Datei\r" + folder + "/falsch.jpg\rist eine PNG-Datei mit falscher Erweiterung! Umbenennen?",
                        Answer::Yes);
    pictures->showPictureFile(folder + "/falsch.jpg", {folder + "/falsch.jpg"});
    settle();
    EXPECT_EQ(pictures->displayed().width(), 400);
    EXPECT_TRUE(fs::exists(folder + "/falsch.png"));
    EXPECT_EQ(pictures->currentPath(), folder + "/falsch.png");
}

TEST_F(PictureWindowTest, PMovesThePictureIntoTheBinAndShowsTheNext) {
    doubleClickInExplorer("a.png");
    f.dialogs.expectConfirmText("Dateien in den Papierkorb verschieben", true);
    QTest::keyClick(pictures, Qt::Key_P);
    settle();
    EXPECT_FALSE(fs::exists(folder + "/a.png"));
    EXPECT_EQ(pictures->currentPath(), folder + "/b.jpg");
    EXPECT_EQ(bin::binEntries(f.paths.binFolder()).size(), 1u);
}

TEST_F(PictureWindowTest, ExtraPicturesAndTheMarkingWithARatio) {
    pictures->showPictureFile(folder + "/a.png", {folder + "/a.png"});
    settle();
    moveMouse(pictures, QPoint(10, 10));
    QTest::keyClick(pictures, Qt::Key_F1);
    moveMouse(pictures, QPoint(200, 60));
    f.dialogs.expectAskText("In welchem Verhältnis soll geschnitten werden?", "3:1");
    QTest::keyClick(pictures, Qt::Key_F3);  // 190 wide becomes 50 × 3 = 150
    f.dialogs.expectInform("Vorgemerktes Bild in den Vordgrund: Taste \"1\" etc.");
    QTest::keyClick(pictures, Qt::Key_F6);
    ASSERT_EQ(pictures->extraPictureCount(), 1);
    EXPECT_EQ(pictures->extraPicture(1)->size(), QSize(150, 50));
    pictures->wholeAsExtraPicture();
    EXPECT_EQ(pictures->extraPicture(2)->size(), QSize(400, 300));
    QTest::keyClick(pictures, Qt::Key_1);
    EXPECT_TRUE(pictures->extraPicture(1)->isVisible());
    EXPECT_TRUE(pictures->extraPicture(1)->styleSheet().contains("red"));
}

TEST_F(PictureWindowTest, TheCorrectionPenPaintsTheRememberedColour) {
    pictures->showPictureFile(folder + "/a.png", {folder + "/a.png"});
    settle();
    moveMouse(pictures, QPoint(5, 0));
    pictures->rememberPenColour();  // the dark mark
    moveMouse(pictures, QPoint(200, 150));
    pictures->toggleCorrectionPen();
    ASSERT_TRUE(pictures->correctionPen()->isVisible());
    const QPoint before = pictures->correctionPen()->centre();
    QTest::keyClick(pictures, Qt::Key_Right);  // arrows move the pen by one pixel
    EXPECT_EQ(pictures->correctionPen()->centre(), before + QPoint(1, 0));
    QTest::keyClick(pictures, Qt::Key_Insert);
    const QPoint c = pictures->correctionPen()->centre();
    EXPECT_EQ(pictures->displayed().pixel(c.x(), c.y()), 0xFF000000u);
    EXPECT_EQ(pictures->displayed().pixel(c.x() + 20, c.y()), 0xFFFF0000u);
    f.dialogs.expectAsk("Datei \"a.png\" überschreiben?", Answer::Yes);
    ASSERT_TRUE(pictures->saveTo(folder + "/a.png", 0));
    EXPECT_EQ(platform::pictures::loadPicture(folder + "/a.png").bitmap.pixel(c.x(), c.y()), 0xFF000000u);
}

TEST_F(PictureWindowTest, TheSizePanelsFieldsFollowEachOtherFromTheSource) {
    pictures->showPictureFile(folder + "/a.png", {folder + "/a.png"});
    settle();
    QTest::keyClick(pictures, Qt::Key_S, Qt::ShiftModifier);
    ui::SizePanel* panel = pictures->sizePanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->findChild<QLabel*>("Lgross")->text(), "Original: 400:300 (4:3)");
    panel->widthBox()->setValue(200);
    EXPECT_EQ(panel->heightBox()->value(), 150);
    EXPECT_EQ(panel->percentBox()->text(), "50");
    panel->heightBox()->setValue(100);
    EXPECT_EQ(panel->widthBox()->value(), 133);
    EXPECT_EQ(panel->percentBox()->text(), "33,25");
    panel->percentBox()->setText("25");
    emit panel->percentBox()->textEdited("25");
    EXPECT_EQ(panel->widthBox()->value(), 100);
    EXPECT_EQ(panel->heightBox()->value(), 75);
    panel->findChild<QPushButton*>("BZeigen")->click();
    EXPECT_EQ(pictures->displayed().width(), 100);
}

TEST_F(PictureWindowTest, AnExtraPictureIsInsertedWhereItWasDragged) {
    pictures->showPictureFile(folder + "/a.png", {folder + "/a.png"});
    settle();
    pictures->move(0, 0);
    moveMouse(pictures, QPoint(0, 0));
    QTest::keyClick(pictures, Qt::Key_F1);
    moveMouse(pictures, QPoint(50, 20));
    QTest::keyClick(pictures, Qt::Key_F2);
    f.dialogs.expectInform("Vorgemerktes Bild in den Vordgrund: Taste \"1\" etc.");
    QTest::keyClick(pictures, Qt::Key_F5);
    auto* extra = static_cast<ui::ExtraPicture*>(pictures->extraPicture(1));
    extra->move(pictures->mapToGlobal(QPoint(300, 200)));
    pictures->insertExtra(extra, pictures::viewer::InsertMode::Copy);
    EXPECT_EQ(pictures->displayed().pixel(300, 200), 0xFF000000u);  // the dark mark, copied
    EXPECT_EQ(pictures->displayed().pixel(299, 200), 0xFFFF0000u);
    // Dragged out to the right: the picture grows (white) when asked.
    extra->move(pictures->mapToGlobal(QPoint(380, 0)));
    f.dialogs.expectAsk("Bild passend vergrößern?", Answer::Yes);
    pictures->insertExtra(extra, pictures::viewer::InsertMode::Copy);
    EXPECT_EQ(pictures->sourceSize(), (pictures::viewer::Size{430, 300}));
    EXPECT_EQ(pictures->displayed().pixel(429, 299), 0xFFFFFFFFu);
}

TEST_F(PictureWindowTest, DrawingIntoTheMarkingAndTakingItBack) {
    pictures->showPictureFile(folder + "/a.png", {folder + "/a.png"});
    settle();
    moveMouse(pictures, QPoint(100, 100));
    QTest::keyClick(pictures, Qt::Key_F1);
    moveMouse(pictures, QPoint(200, 150));
    QTest::keyClick(pictures, Qt::Key_F2);
    f.dialogs.expectColour(0xFF0000);  // blue
    pictures->contextMenu()->findChild<QAction*>("FarbeZeichnen1")->trigger();
    f.dialogs.expectAsk("Sie sehen nun das markierte Rechteck.\rDie Farbe des Zeichenstifts wird mit Menü \"Farbe für "
                        "Zeichnen\" bestimmt.\rDie Dicke des Zeichenstifts wird mit Menü \"Dicke für Zeichnen\" bestimmt."
                        "\rAlles OK?",
                        Answer::Yes);
    pictures->drawFigure(ui::PictureWindow::Figure::Horizontal);
    EXPECT_EQ(pictures->displayed().pixel(150, 100), 0xFF0000FFu);
    EXPECT_EQ(pictures->displayed().pixel(150, 140), 0xFFFF0000u);
    pictures->contextMenu()->findChild<QAction*>("Rueckgaengig1")->trigger();
    EXPECT_EQ(pictures->displayed().pixel(150, 100), 0xFFFF0000u);
}

TEST_F(PictureWindowTest, TheClipboardPictureAndTheOverview) {
    QApplication::clipboard()->clear();
    f.dialogs.expectInform("Zwischenablage ist leer");
    pictures->showClipboardPicture();
    QApplication::clipboard()->setText("Hallo");
    f.dialogs.expectInform("Zwischeablage enthält den Text \rHallo...");
    pictures->showClipboardPicture();
    QImage image(30, 20, QImage::Format_ARGB32);
    image.fill(Qt::green);
    QApplication::clipboard()->setImage(image);
    pictures->showPictureFile(folder + "/a.png", {folder + "/a.png", folder + "/c.png"});
    settle();
    pictures->showClipboardPicture();
    EXPECT_EQ(pictures->sourceSize(), (pictures::viewer::Size{30, 20}));
    EXPECT_EQ(pictures->currentPath(), folder + "/zwischenablage.jpg");

    pictures->showOverview();
    QWidget* overview = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == "TForm18aimage" && w->isVisible()) overview = w;
    }
    ASSERT_NE(overview, nullptr);
    EXPECT_EQ(overview->findChildren<QLabel*>().size(), 2);  // a name under each thumbnail
    overview->close();
}

TEST_F(PictureWindowTest, ATinyPictureGetsAWindowOfItsOwnSizeNote) {
    platform::pictures::savePicture(folder + "/punkt.png", picture(1, 1, 0xFFFF0000));
    ui::ExplorerWindow& explorer = window->explorers().first();
    explorer.start(folder);
    QListWidget* list = explorer.fileList();
    for (int row = 0; row < list->count(); ++row) list->item(row)->setSelected(explorer.pathOfRow(row).ends_with("punkt.png"));
    explorer.findChild<QAction*>("BildZeigen1")->trigger();  // "Bilder" → "Bild zeigen"
    settle();
    EXPECT_EQ(pictures->currentPath(), folder + "/punkt.png");
    EXPECT_EQ(pictures->size(), QSize(200, 200));
}

TEST_F(PictureWindowTest, APartEditedAloneGoesBackIntoItsExtraPicture) {
    pictures->showPictureFile(folder + "/a.png", {folder + "/a.png"});
    settle();
    f.dialogs.expectInform("Fehler: Zuerst Teil ausschneiden, dann im ausgeschnittenen Bild Menü \"Auschnitt als extra "
                           "Bild bearbeiten\" aufrufen!");
    pictures->putEditedPartBack();
    moveMouse(pictures, QPoint(0, 0));
    QTest::keyClick(pictures, Qt::Key_F1);
    moveMouse(pictures, QPoint(40, 30));
    QTest::keyClick(pictures, Qt::Key_F2);
    f.dialogs.expectInform("Vorgemerktes Bild in den Vordgrund: Taste \"1\" etc.");
    pictures->markedAsExtraPicture();
    auto* extra = static_cast<ui::ExtraPicture*>(pictures->extraPicture(1));
    f.dialogs.expectInform("Jetzt kann dieser Auschnitt separat bearbeitet werden.\rZurück mit Menüpunkt: "
                           "\"Extras|Änderungen des Auschnitts einfügen\".");
    pictures->editExtraAlone(extra);
    settle();
    EXPECT_EQ(pictures->sourceSize(), (pictures::viewer::Size{40, 30}));
    pictures->turnOnly(true);
    pictures->putEditedPartBack();
    settle();
    EXPECT_EQ(pictures->currentPath(), folder + "/a.png");
    EXPECT_EQ(extra->image().size(), QSize(30, 40));  // the turned part
    // Mixed in with soft edges: the middle is the part's, the border the picture's.
    extra->move(pictures->mapToGlobal(QPoint(200, 100)));
    pictures->insertExtra(extra, pictures::viewer::InsertMode::Smooth);
    EXPECT_EQ(pictures->displayed().pixel(200, 100), 0xFFFF0000u);
}

TEST_F(PictureWindowTest, GAlwaysShowsTheFullSizeAndTheMenuToggles) {
    pictures->showPictureFile(folder + "/b.jpg", {folder + "/b.jpg"});
    settle();
    for (int press = 0; press < 2; ++press) {
        QTest::keyClick(pictures, Qt::Key_G);
        EXPECT_EQ(pictures->displayed().width(), 2000) << press;
    }
    QAction* toggle = pictures->contextMenu()->findChild<QAction*>("Bildgroesseroderkleiner");
    toggle->trigger();
    EXPECT_EQ(pictures->displayed().width(), 1365);
    toggle->trigger();
    EXPECT_EQ(pictures->displayed().width(), 2000);
}

TEST_F(PictureWindowTest, SoAbspeichernTicksTheFixedHeightAndTurningUnticksIt) {
    pictures->showPictureFile(folder + "/a.png", {folder + "/a.png"});
    settle();
    QTest::keyClick(pictures, Qt::Key_S, Qt::ShiftModifier);
    pictures->sizePanel()->widthBox()->setValue(200);
    bool ticked = false;
    int height = 0;
    onSaveDialog([&](QDialog* d) {
        ticked = d->findChild<QCheckBox*>("CBfesteHoehe")->isChecked();
        height = d->findChild<QSpinBox*>("SpinEdit1")->value();
    });
    pictures->sizePanel()->findChild<QPushButton*>("BSoAbspeichern")->click();
    EXPECT_TRUE(ticked);
    EXPECT_EQ(height, 150);
    EXPECT_FALSE(pictures->sizePanel()->isVisible());
    onSaveDialog([&](QDialog* d) { ticked = d->findChild<QCheckBox*>("CBfesteHoehe")->isChecked(); });
    pictures->turn(true);
    EXPECT_FALSE(ticked);
}

TEST_F(PictureWindowTest, TheSaveDialogCopiesUnchangedIntoTheClipboardAndKeepsAnExtraPicture) {
    const std::string path = folder + "/a.png";
    pictures->showPictureFile(path, {path});
    settle();
    pictures->turnOnly(true);  // the copy is the file on disk, not the turned picture
    const auto click = [](QDialog* d, const char* button) { d->findChild<QPushButton*>(button)->click(); };
    onSaveDialog([&](QDialog* d) {
        d->findChild<QLineEdit*>("Edit1")->setText("kopie");
        click(d, "BKopieren");
    });
    pictures->saveAs();
    std::ifstream original(path, std::ios::binary), copy(folder + "/kopie.png", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), {}), std::string(std::istreambuf_iterator<char>(original), {}));
    EXPECT_EQ(fs::last_write_time(folder + "/kopie.png"), fs::last_write_time(path));
    f.dialogs.expectInform("Der Lesepfad ist derselbe wie der Schreibpfad.");
    onSaveDialog([&](QDialog* d) { click(d, "BKopieren"); });
    pictures->saveAs();

    QApplication::clipboard()->clear();
    onSaveDialog([&](QDialog* d) { click(d, "BZwischenablage"); });
    pictures->saveAs();
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(300, 400));

    f.dialogs.expectInform("Vorgemerktes Bild in den Vordgrund: Taste \"1\"");
    onSaveDialog([&](QDialog* d) { click(d, "BVormerken"); });
    pictures->saveAs();
    ASSERT_EQ(pictures->extraPictureCount(), 1);
    EXPECT_EQ(pictures->extraPicture(1)->size(), QSize(300, 400));

    fs::remove(path);
    f.dialogs.expectInform("Kann das zu kopierende Bild nicht laden.");
    onSaveDialog([&](QDialog* d) { click(d, "BKopieren"); });
    pictures->saveAs();
    EXPECT_TRUE(f.dialogs.scriptDone());
}

TEST_F(PictureWindowTest, TheSizePanelsArrowMovesItAside) {
    pictures->showPictureFile(folder + "/b.jpg", {folder + "/b.jpg"});
    settle();
    pictures->openSizePanel();
    auto* aside = pictures->sizePanel()->findChild<QPushButton*>("BVerschieben");
    ASSERT_NE(aside, nullptr);
    EXPECT_EQ(aside->text(), ">");
    aside->click();
    EXPECT_EQ(pictures->sizePanel()->geometry().right(), pictures->width() - 1);
    EXPECT_EQ(aside->text(), "<");
    aside->click();
    EXPECT_EQ(pictures->sizePanel()->x(), 0);
}

TEST_F(PictureWindowTest, TheMenuShowsTheKeysAndHasMnemonics) {
    struct Keyed {
        const char* action;
        const char* key;
    };
    for (const Keyed& k : {Keyed{"Naechstes1", "Leertaste, Pfeil unten"}, Keyed{"Bildgroesseroderkleiner", "G"},
                           Keyed{"MarkierungLinksOben1", "F1"}, Keyed{"ExtraBild1", "F6"}, Keyed{"SichtbaresBelassen1", "F7"},
                           Keyed{"RechtsDrehen1", "R"}, Keyed{"Heller1", "H"}, Keyed{"InnenHeller1", "Umschalt+H"},
                           Keyed{"BildSpeichern1", "S, Strg+F6"}, Keyed{"AndereGroesse1", "Umschalt+S"},
                           Keyed{"Papierkorb1", "P"}, Keyed{"Kontrast1", "X"}, Keyed{"Einfaerben1", "Y"}}) {
        auto* action = pictures->contextMenu()->findChild<QAction*>(k.action);
        ASSERT_NE(action, nullptr) << k.action;
        EXPECT_EQ(action->text().section('\t', 1).toStdString(), k.key) << k.action;
    }
    for (const char* group : {"Farbe1", "Drehen1", "Datei1", "Extras1", "AusschnittMarkieren1"}) {
        auto* menu = pictures->contextMenu()->findChild<QMenu*>(group);
        ASSERT_NE(menu, nullptr) << group;
        EXPECT_TRUE(menu->title().contains('&')) << group;
    }
}

TEST_F(PictureWindowTest, CornersNearAnEdgeAreOfferedTheEdge) {
    pictures->showPictureFile(folder + "/a.png", {folder + "/a.png"});
    settle();
    moveMouse(pictures, QPoint(3, 2));
    f.dialogs.expectAsk("Ganz nach oben setzen?", Answer::Yes).expectAsk("Ganz nach links setzen?", Answer::No);
    QTest::keyClick(pictures, Qt::Key_F1);
    moveMouse(pictures, QPoint(396, 297));
    f.dialogs.expectAsk("Ganz nach rechts setzen?", Answer::Yes).expectAsk("Ganz nach unten setzen?", Answer::Yes);
    QTest::keyClick(pictures, Qt::Key_F2);
    EXPECT_EQ(window->statusBars().panelText(3).trimmed().toStdString(), "396*299");  // from (3, 0) to (399, 299)
    EXPECT_TRUE(f.dialogs.scriptDone());
}

TEST_F(PictureWindowTest, ColourStepsInsideTheMarkingAndDarkerKeepingWhite) {
    platform::pictures::savePicture(folder + "/grau.png", picture(100, 100, 0xFF646464));
    pictures->showPictureFile(folder + "/grau.png", {folder + "/grau.png"});
    settle();
    moveMouse(pictures, QPoint(10, 10));
    QTest::keyClick(pictures, Qt::Key_F1);
    moveMouse(pictures, QPoint(50, 50));
    QTest::keyClick(pictures, Qt::Key_F2);
    f.dialogs.expectAsk("1 Noch einmal innerhalb des Rechtecks?", Answer::Yes)
        .expectAsk("2 Noch einmal innerhalb des Rechtecks?", Answer::No);
    pictures->contextMenu()->findChild<QAction*>("InnenMehrRot1")->trigger();
    EXPECT_EQ(pictures->displayed().pixel(20, 20), 0xFF786464u);  // 100 → 110 → 120
    EXPECT_EQ(pictures->displayed().pixel(80, 80), 0xFF646464u);  // outside: untouched
    // Near white stays white; the rest darkens, pass by pass.
    f.dialogs.expectAskNumber("Empfehlung 2 bis 25", 10).expectAsk("1 Noch einmal?", Answer::No);
    pictures->contextMenu()->findChild<QAction*>("DunklerWeiss1")->trigger();
    EXPECT_EQ(pictures->displayed().pixel(80, 80), 0xFF5A5A5Au);  // −5 + 100 × 95 / 100
    EXPECT_TRUE(f.dialogs.scriptDone());
}

TEST_F(PictureWindowTest, F7KeepsTheVisiblePartAndTheBackgroundCanBeSwitchedOff) {
    pictures->showPictureFile(folder + "/b.jpg", {folder + "/b.jpg"});
    settle();
    EXPECT_TRUE(pictures->background()->isVisible());
    QTest::keyClick(pictures, Qt::Key_G);  // 2000 × 1500 centred on 1280 × 1024: 720 × 476 hidden
    QTest::keyClick(pictures, Qt::Key_F7);
    EXPECT_EQ(pictures->sourceSize(), (pictures::viewer::Size{1280, 1024}));
    pictures->contextMenu()->findChild<QAction*>("BlauNichtZeigen1")->trigger();
    EXPECT_FALSE(pictures->background()->isVisible());
    pictures->close();
    pictures->showPictureFile(folder + "/b.jpg", {folder + "/b.jpg"});
    settle();
    EXPECT_FALSE(pictures->background()->isVisible());
}

TEST_F(PictureWindowTest, TheNextCutIsOfferedTheNextNumber) {
    fs::rename(folder + "/a.png", folder + "/bild07.png");
    pictures->showPictureFile(folder + "/bild07.png", {folder + "/bild07.png"});
    settle();
    pictures->contextMenu()->findChild<QAction*>("NaechsteBildnummer1")->trigger();
    pictures->markWholePicture();
    std::string offered;
    onSaveDialog([&](QDialog* d) { offered = d->findChild<QLineEdit*>("Edit1")->text().toStdString(); });
    pictures->cutMarked();
    EXPECT_EQ(offered, "bild08");
}
