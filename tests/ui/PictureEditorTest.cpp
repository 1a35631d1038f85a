#include <gtest/gtest.h>

#include <QMenu>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "PictureFixtures.h"
#include "UiFixture.h"
#include "explorer/Explorers.h"
#include "explorer/RecycleBin.h"
#include "pictures/PictureWindow.h"
#include "shell/PlainEditor.h"
#include "pictures/editor/EditorWidgets.h"
#include "pictures/editor/PictureEditor.h"
#include "pictures/editing/Colours.h"
#include "platform/pictures/PictureFiles.h"

using namespace pictra;
namespace fs = std::filesystem;
using pictures::Bitmap32;
namespace ed = pictures::editing;

namespace {

// Grey with a dark square in the middle: sharpening has an edge to work on.
Bitmap32 photo(int w, int h) {
    Bitmap32 b(w, h);
    b.clear(ed::rgb(128, 128, 128));
    for (int y = h / 3; y < 2 * h / 3; ++y) {
        for (int x = w / 3; x < 2 * w / 3; ++x) b.row(y)[x] = ed::rgb(40, 40, 40);
    }
    return b;
}

std::string headOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char bytes[4] = {};
    in.read(bytes, 4);
    return std::string(bytes, 4);
}

struct PictureEditorTest : test::MainWindowTestBase {
    std::string folder;
    ui::PictureWindow* pictures = nullptr;
    ui::PictureEditor* editor = nullptr;

    void SetUp() override {
        test::MainWindowTestBase::SetUp();
        folder = f.dir.path() + "bilder";
        fs::create_directories(folder);
        pictures = window->pictureWindow();
        pictures->setScreenSize(QSize(1024, 768));
        editor = pictures->editor();
        editor->setWorkingScreen(QSize(1024, 768));
    }
    void TearDown() override {
        editor->close();
        pictures->close();
        test::MainWindowTestBase::TearDown();
    }
    void trigger(const char* name) {
        QAction* action = editor->contextMenu()->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    // The picture window on the file, then its switch to the editor.
    void openInEditor(const std::string& path) {
        pictures->showPictureFile(path, {path});
        ASSERT_TRUE(QTest::qWaitFor([this] { return !pictures->loading(); }, 20000));
        pictures->contextMenu()->findChild<QAction*>("Experten1")->trigger();
        settleEditor();
        ASSERT_TRUE(editor->isVisible());
    }
    void settleEditor() { ASSERT_TRUE(QTest::qWaitFor([this] { return !editor->loading(); }, 20000)); }
};

}  // namespace

TEST_F(PictureEditorTest, FromThePictureWindowSharpenCutAndSave) {
    const std::string path = folder + "/Foto.JPG";
    platform::pictures::savePicture(path, photo(2048, 1536), 95);
    openInEditor(path);
    EXPECT_FALSE(pictures->isVisible());
    EXPECT_EQ(f.store.readValue("SectBild", "Expertenmenue"), "1");
    // Fitted to the working screen on loading: factor 0,5.
    EXPECT_EQ(editor->picture().width(), 1024);
    EXPECT_EQ(editor->picture().height(), 768);

    const int before = ed::redOf(editor->picture().pixel(340, 300));  // just outside the dark square
    f.dialogs.expectAskText("Bitte Zahl zwischen 1 und 6 (Maximum) eingeben", "3");
    trigger("Schaerfen1");
    EXPECT_GT(ed::redOf(editor->picture().pixel(340, 300)), before + 20);  // the edge stands out

    editor->placeMarkers(QPoint(100, 50), QPoint(500, 350));
    EXPECT_TRUE(editor->markersVisible());
    f.dialogs.expectAskText("Wollen Sie den Dateinamen ändern", path)
        .expectAsk("Das Bild ist kleiner als das Original. Trotzdem überschreiben?", Answer::Yes);
    trigger("Abschnitt1");
    EXPECT_FALSE(editor->markersVisible());
    EXPECT_EQ(editor->hintText(), "Als JPG-Bild gespeichert.!");
    const auto saved = platform::pictures::loadPicture(path);
    EXPECT_EQ(saved.bitmap.width(), 400);
    EXPECT_EQ(saved.bitmap.height(), 300);
    EXPECT_FALSE(fs::exists(folder + "/foto.jpg"));  // the name keeps its case
    EXPECT_EQ(bin::binEntries(f.paths.binFolder()).size(), 1u);  // the original went to the bin first

    trigger("Rueckgaengig1");  // Ctrl+Z: back to before the cut
    EXPECT_EQ(editor->picture().width(), 1024);

    trigger("KleinesMenue1");
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(pictures->isVisible());
    EXPECT_EQ(f.store.readValue("SectBild", "Expertenmenue"), "");
}

TEST_F(PictureEditorTest, SavingWritesByTheExtensionAndAsksBeforeShrinkingTheOriginal) {
    const std::string path = folder + "/scan.tif";
    platform::pictures::savePicture(path, photo(2048, 1536));
    openInEditor(path);
    // No, keeps the file as it was.
    f.dialogs.expectAskText("Wollen Sie den Dateinamen ändern", path)
        .expectAsk("Das Bild ist kleiner als das Original. Trotzdem überschreiben?", Answer::No);
    trigger("BildSpeichern1");
    EXPECT_EQ(platform::pictures::loadPicture(path).bitmap.width(), 2048);
    // An empty name cancels.
    f.dialogs.expectAskText("Wollen Sie den Dateinamen ändern", std::string());
    trigger("BildSpeichern1");
    // Another name: written as TIFF because of its extension.
    f.dialogs.expectAskText("Wollen Sie den Dateinamen ändern", folder + "/Klein.TIF");
    trigger("BildSpeichern1");
    const std::string head = headOf(folder + "/Klein.TIF");
    EXPECT_TRUE(head == std::string("II*\0", 4) || head == std::string("MM\0*", 4)) << head;
    EXPECT_EQ(editor->currentPath(), folder + "/Klein.TIF");
}

// A folder that cannot be written to (a file standing where the folder should be,
// which holds even for root): the message, and the original as it was.
TEST_F(PictureEditorTest, AnUnwritableTargetKeepsTheOriginal) {
    const std::string path = folder + "/a.jpg";
    platform::pictures::savePicture(path, photo(300, 200), 90);
    const auto size = fs::file_size(path);
    openInEditor(path);
    f.dialogs.expectAskText("Wollen Sie den Dateinamen ändern", path + "/b.jpg")
        .expectInform("Konnte \"" + path + "/b.jpg nicht speichern.");
    trigger("BildSpeichern1");
    EXPECT_EQ(fs::file_size(path), size);
    EXPECT_EQ(editor->currentPath(), path);
}

TEST_F(PictureEditorTest, HalvesKeepTheFormatAndAnOldHalfGoesIntoTheBin) {
    const std::string path = folder + "/bild.png";
    platform::pictures::savePicture(path, photo(600, 400));
    std::ofstream(folder + "/bild_l.png") << "alt";
    openInEditor(path);
    trigger("Halbieren1");
    EXPECT_EQ(headOf(folder + "/bild_l.png"), "\x89PNG");
    EXPECT_EQ(headOf(folder + "/bild_r.png"), "\x89PNG");
    EXPECT_TRUE(fs::exists(folder + "/bild_00.png"));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(bin::binEntries(f.paths.binFolder()).size(), 1u);
}

TEST_F(PictureEditorTest, TurningAtFullSizeRewritesTheFileAndKeepsTheOriginalInTheBin) {
    const std::string jpeg = folder + "/quer.jpg";
    const std::string png = folder + "/quer.png";
    platform::pictures::savePicture(jpeg, photo(320, 240), 90);
    platform::pictures::savePicture(png, photo(300, 200));
    openInEditor(jpeg);
    trigger("RechtsOriginal1");
    EXPECT_EQ(editor->hintText(), "Verlustfrei gedreht und gespeichert.");
    const auto turned = platform::pictures::loadPicture(jpeg);
    EXPECT_EQ(turned.bitmap.width(), 240);
    EXPECT_EQ(turned.bitmap.height(), 320);
    openInEditor(png);
    trigger("LinksOriginal1");
    EXPECT_EQ(platform::pictures::loadPicture(png).bitmap.width(), 200);
    EXPECT_EQ(bin::binEntries(f.paths.binFolder()).size(), 2u);
}

TEST_F(PictureEditorTest, CuttingWithoutMarkersShowsThemAndExplains) {
    const std::string path = folder + "/a.png";
    platform::pictures::savePicture(path, photo(300, 200));
    openInEditor(path);
    f.dialogs.expectInform(
        "1. Schritt Strg+E: \"Markierungsknöpfe für Auschnitt zeigen\" anklicken!\r2. Schritt: Die Begrenzungen \"links "
        "oben\" und \"rechts unten\" platzieren!\r3. Schritt: Dieses Menü nochmal\r\r1. Schritt (Str+E) bereits erfolgt "
        "(Rückgängig: Ebenfalls Strg+E)");
    const int width = editor->picture().width();
    trigger("VertikalSchneiden1");
    EXPECT_TRUE(editor->markersVisible());
    EXPECT_EQ(editor->picture().width(), width);
}

TEST_F(PictureEditorTest, ScalingTableAndBadNumbers) {
    const std::string path = folder + "/a.png";
    platform::pictures::savePicture(path, photo(1000, 750));  // within 0,9 … 1,1 of the screen: kept
    openInEditor(path);
    EXPECT_EQ(editor->picture().width(), 1000);
    trigger("Groesse50");
    EXPECT_EQ(editor->picture().width(), 500);
    EXPECT_TRUE(editor->findChild<QLabel*>("Lform17Bildname")->text().endsWith("(50%)"));
    // Percent −50 cannot make a picture; "abc" is taken as the default 200.
    f.dialogs.expectAskText("Angabe in %", "-50").expectInform("Konnte Bildgröße nicht ändern.");
    trigger("GroesseVorgabe1");
    f.dialogs.expectAskText("Angabe in %", "abc");
    trigger("GroesseVorgabe1");
    EXPECT_EQ(editor->picture().width(), 2000);
    // A cartoon factor of 0 is refused before the division.
    f.dialogs.expectAskText("Geben Sie den Faktor ein!", "0").expectInform("Der Faktor muss zwischen 1 und 255 liegen.");
    trigger("Cartoon1");
    // An angle of 1e9 degrees turns and keeps the size.
    f.dialogs.expectAskText("Geben Sie den Winkel in Grad an", "1e9");
    trigger("RechtsDrehenUm1");
    EXPECT_EQ(editor->picture().width(), 2000);
}

TEST_F(PictureEditorTest, ThePartPictureGoesBackWithSoftEdges) {
    const std::string path = folder + "/a.png";
    Bitmap32 b(1000, 750);
    b.clear(ed::kWhite);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) b.row(y)[x] = ed::kBlack;
    }
    platform::pictures::savePicture(path, b);
    openInEditor(path);
    editor->placeMarkers(QPoint(0, 0), QPoint(100, 100));
    trigger("Teilbild1");
    ui::PartWindow* part = editor->partWindow();
    ASSERT_TRUE(part->isVisible());
    EXPECT_EQ(part->picture().width(), 100);
    EXPECT_EQ(editor->menuLine()->isVisible(), false);
    QTimer::singleShot(0, [] {
        auto* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), "TForm17a0");
        EXPECT_EQ(dialog->windowTitle(), "Gleitender Übergang");
        for (const char* name : {"SPoben", "SPlinks", "SPrechts", "SPunten"}) dialog->findChild<QSpinBox*>(name)->setValue(10);
        qobject_cast<QDialog*>(dialog)->accept();
    });
    part->move(editor->findChild<QWidget*>("Image")->mapToGlobal(QPoint(300, 300)));
    part->contextMenu()->findChild<QAction*>("InsBildfensterUeberzeichnen1")->trigger();
    const Bitmap32& p = editor->picture();
    EXPECT_EQ(p.pixel(350, 350), ed::kBlack);             // inside the borders: the part
    EXPECT_EQ(p.pixel(300, 350), ed::kWhite);             // its first column: weight 0
    EXPECT_EQ(ed::redOf(p.pixel(305, 350)), 127);         // half way in: (500 × 0 + 500 × 255) div 1000
}

TEST_F(PictureEditorTest, OcrPutsTheTextOfAScannedSheetIntoANewDocument) {
    QImage sheet(1000, 750, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    {
        QPainter painter(&sheet);
        painter.setPen(Qt::black);
        painter.setFont(QFont("DejaVu Sans", 40));
        painter.drawText(60, 200, "Arbeitsblatt Mathematik");
        painter.drawText(60, 320, "Aufgabe eins");
    }
    const std::string path = folder + "/blatt.png";
    ASSERT_TRUE(sheet.save(QString::fromStdString(path)));
    openInEditor(path);
    trigger("OCR1");
    const QString text = window->currentEditor()->toPlainText();
    EXPECT_TRUE(text.contains("Arbeitsblatt")) << text.toStdString();
    EXPECT_TRUE(text.contains("Aufgabe")) << text.toStdString();
}

TEST_F(PictureEditorTest, TemporarySaveAndTheChronicle) {
    const std::string a = folder + "/a.png";
    const std::string b = folder + "/b.png";
    platform::pictures::savePicture(a, photo(1000, 750));
    platform::pictures::savePicture(b, photo(1000, 750));
    openInEditor(a);
    f.dialogs.expectInform("Noch kein Bild temporär gespeichert.");
    trigger("VorTemporaer1");
    trigger("Invertiere1");
    trigger("Temporaer1");
    const std::string temporary = editor->currentPath();
    EXPECT_EQ(fs::path(temporary).extension(), ".bmp");
    EXPECT_EQ(f.store.readValue("SectBild", "SchlBild"), temporary);
    EXPECT_EQ(platform::pictures::loadPicture(temporary).bitmap.pixel(0, 0), editor->picture().pixel(0, 0));
    trigger("VorTemporaer1");
    settleEditor();
    EXPECT_EQ(editor->currentPath(), a);
    editor->showPicture(b);
    settleEditor();
    // The chronicle lists the pictures shown last, the newest first; the temporary file is not one of them.
    QAction* first = editor->contextMenu()->findChild<QAction*>("Chronik1");
    QAction* second = editor->contextMenu()->findChild<QAction*>("Chronik2");
    EXPECT_EQ(first->text().toStdString(), b);
    EXPECT_EQ(second->text().toStdString(), a);
    EXPECT_FALSE(editor->contextMenu()->findChild<QAction*>("Chronik3")->isVisible());
    second->trigger();
    settleEditor();
    EXPECT_EQ(editor->currentPath(), a);
    fs::remove(temporary);
}

TEST_F(PictureEditorTest, ArrowAndStarAreDrawnWhereClicked) {
    const std::string path = folder + "/weiss.png";
    Bitmap32 b(1000, 750);
    b.clear(ed::kWhite);
    platform::pictures::savePicture(path, b);
    openInEditor(path);
    const pictures::Color32 red = ed::rgb(255, 0, 0);
    trigger("Pfeil1");
    editor->pictureClicked(QPoint(100, 100), Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(editor->picture().pixel(100, 100), ed::kWhite);  // the first click only marks the start
    editor->pictureClicked(QPoint(300, 100), Qt::LeftButton, Qt::NoModifier);
    for (int x : {100, 200, 300}) EXPECT_EQ(editor->picture().pixel(x, 101), red) << x;  // 3 pixels wide
    EXPECT_EQ(editor->picture().pixel(301, 100), red);
    EXPECT_EQ(editor->picture().pixel(303, 100), ed::kWhite);
    EXPECT_EQ(editor->picture().pixel(200, 110), ed::kWhite);
    // A further click draws nothing more.
    editor->pictureClicked(QPoint(500, 500), Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(editor->picture().pixel(500, 500), ed::kWhite);
    trigger("Rueckgaengig1");
    EXPECT_EQ(editor->picture().pixel(200, 100), ed::kWhite);

    f.dialogs.expectAskText("Radius in Pixel", "40")
        .expectAskText("Strichbreite in Pixel (auch für Pfeile)", "1")
        .expectAsk("Stern ausfüllen?", Answer::Yes);
    trigger("SternParameter1");
    trigger("Stern1");
    editor->pictureClicked(QPoint(500, 400), Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(editor->picture().pixel(500, 400), red);  // filled: the inner pentagon too
    EXPECT_EQ(editor->picture().pixel(500, 360), red);  // the top corner
    EXPECT_EQ(editor->picture().pixel(500, 430), ed::kWhite);  // between the two lower points
    EXPECT_EQ(editor->picture().pixel(500, 358), ed::kWhite);
}

TEST_F(PictureEditorTest, TheSecondWindowsCommands) {
    const std::string path = folder + "/teile.png";
    Bitmap32 b(1000, 750);
    b.clear(ed::rgb(128, 128, 128));
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) b.row(y)[x] = x < 100 ? ed::kBlack : ed::kWhite;
    }
    platform::pictures::savePicture(path, b);
    openInEditor(path);
    // The part: black on the left, white on the right; its bottom-left pixel is black.
    editor->placeMarkers(QPoint(50, 0), QPoint(150, 100));
    trigger("Teilbild1");
    ui::PartWindow* part = editor->partWindow();
    ASSERT_EQ(part->picture().width(), 100);
    part->move(editor->findChild<QWidget*>("Image")->mapToGlobal(QPoint(300, 300)));
    auto second = [part](const char* name) {
        QAction* action = part->contextMenu()->findChild<QAction*>(name);
        if (!action) ADD_FAILURE() << name;
        if (action) action->trigger();
    };
    const struct {
        const char* name;
        int left, right;  // red of (310, 350) and (360, 350) afterwards
    } cases[] = {{"InsBildfensterErsetzen1", 0, 255},
                 {"InsBildfensterTransparent1", 128, 255},
                 {"Mittelwert1", 64, 191},
                 {"InsBildfensterGeschwaerzt1", 128, 255}};
    for (const auto& c : cases) {
        second(c.name);
        EXPECT_EQ(ed::redOf(editor->picture().pixel(310, 350)), c.left) << c.name;
        EXPECT_EQ(ed::redOf(editor->picture().pixel(360, 350)), c.right) << c.name;
        EXPECT_EQ(ed::redOf(editor->picture().pixel(410, 350)), 128) << c.name;
        trigger("Rueckgaengig1");
        EXPECT_EQ(ed::redOf(editor->picture().pixel(360, 350)), 128) << c.name;
    }
    second("WeissesSchwaerzen1");
    EXPECT_EQ(part->picture().pixel(99, 0), ed::kBlack);
    second("InsBildfensterGeschwaerzt1");  // all black now: nothing goes in
    EXPECT_EQ(ed::redOf(editor->picture().pixel(360, 350)), 128);
    second("BildKleiner1");
    EXPECT_EQ(part->picture().width(), 50);
    EXPECT_EQ(part->picture().height(), 50);

    const std::string target = folder + "/teil.jpg";
    f.dialogs.expectSaveFile(target);
    second("TeilAlsJpg1");
    EXPECT_EQ(platform::pictures::loadPicture(target).bitmap.width(), 50);

    // Every part cut so far can be shown again; a number out of range changes nothing.
    editor->placeMarkers(QPoint(0, 0), QPoint(30, 20));
    trigger("Teilbild1");
    EXPECT_EQ(part->picture().width(), 30);
    f.dialogs.expectAskText("Nummer des Teilbildes (1 bis 2)", "1");
    trigger("TeilbildAuswahl1");
    EXPECT_EQ(part->picture().width(), 100);
    f.dialogs.expectAskText("Nummer des Teilbildes (1 bis 2)", "7");
    trigger("TeilbildAuswahl1");
    EXPECT_EQ(part->picture().width(), 100);
}

TEST_F(PictureEditorTest, APartNotedForTheExplorerAndTheOutsideProgram) {
    const std::string path = folder + "/foto.png";
    platform::pictures::savePicture(path, photo(1000, 750));
    openInEditor(path);
    f.dialogs.expectInform("Sie müssen zuerst ein Bild mit Strg+A ins zweite Bildfenster kopieren");
    trigger("TeilbildAuswahl1");

    editor->placeMarkers(QPoint(0, 0), QPoint(40, 30));
    trigger("TeilbildVormerken1");
    std::ofstream(folder + "/foto_teil2.jpg") << "besetzt";
    editor->placeMarkers(QPoint(0, 0), QPoint(20, 10));
    trigger("TeilbildVormerken1");
    const auto& marked = window->explorers().marked().files;
    ASSERT_EQ(marked, (std::vector<std::string>{folder + "/foto_teil1.jpg", folder + "/foto_teil3.jpg"}));
    EXPECT_EQ(platform::pictures::loadPicture(marked[0]).bitmap.width(), 40);
    EXPECT_EQ(platform::pictures::loadPicture(marked[1]).bitmap.width(), 20);
    EXPECT_EQ(editor->hintText(), "Teilbild vorgemerkt: " + marked[1]);

    std::vector<std::string> launched;
    editor->setLauncher([&launched](const std::string& p) {
        launched.push_back(p);
        return false;
    });
    f.dialogs.expectInform("Kein Standardprogramm gefunden");
    trigger("ExternesProgramm1");
    editor->setLauncher([&launched](const std::string& p) {
        launched.push_back(p);
        return true;
    });
    trigger("ExternesProgramm1");
    EXPECT_EQ(launched, (std::vector<std::string>{path, path}));
}

// A header claiming 10000 × 10000 over a small picture's data: decoded as far as the
// data goes, the rest grey. Within the budget it is fitted; beyond it the editor says
// so and keeps the picture it has.
TEST_F(PictureEditorTest, AHundredMegapixelPictureWithinTheBudgetAndBeyondIt) {
    const std::string small = folder + "/klein.png";
    platform::pictures::savePicture(small, photo(1000, 750));
    const std::string huge = folder + "/riesig.jpg";
    std::ofstream(huge, std::ios::binary) << test::withFrameSize(
        platform::pictures::encodeJpeg(photo(64, 64), 90), 10000, 10000);
    editor->showPicture(huge);
    settleEditor();
    EXPECT_EQ(editor->picture().width(), 768);
    EXPECT_EQ(editor->picture().height(), 768);
    editor->showPicture(small);
    settleEditor();
    const auto old = pictures::maxBitmapBytes();
    pictures::setMaxBitmapBytes(std::uint64_t{200} << 20);
    f.dialogs.expectInform("Kann Bild nicht laden\rDas Bild ist zu groß für den Arbeitsspeicher (10000 × 10000 "
                           "Bildpunkte).");
    editor->showPicture(huge);
    settleEditor();
    pictures::setMaxBitmapBytes(old);
    EXPECT_EQ(editor->picture().width(), 1000);
    EXPECT_EQ(editor->currentPath(), small);
}

TEST_F(PictureEditorTest, ShiftClickShowsTheCaptionAndSavingIsRefusedWhileItIsShown) {
    const std::string path = folder + "/foto.jpg";
    Bitmap32 b(1000, 750);
    b.clear(ed::kWhite);
    platform::pictures::savePicture(path, b, 95);
    openInEditor(path);
    // No caption yet: nothing drawn, saving stays possible.
    editor->pictureClicked(QPoint(500, 500), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_FALSE(editor->carriesText());

    // The caption dialog writes two lines; the file is read back by the editor.
    QTimer::singleShot(0, [] {
        auto* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), "TForm6textInBild");
        EXPECT_EQ(dialog->windowTitle(), "Bild wird beschriftet");
        dialog->findChild<QPlainTextEdit*>("Memo1")->setPlainText("Ferien 2024\nam Meer\n\n");
        dialog->findChild<QPushButton*>("BSchliessen")->click();
    });
    trigger("Begleittext1");
    std::ifstream in(folder + "/foto.jp0", std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(file, "#0c000000ffffff Ferien 2024\r\n#0c000000ffffff am Meer\r\n");

    editor->pictureClicked(QPoint(500, 500), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_TRUE(editor->carriesText());
    bool inked = false;
    for (int x = 25; x < 200 && !inked; ++x) inked = ed::redOf(editor->picture().pixel(x, 8)) < 128;
    EXPECT_TRUE(inked);  // the first line stands at the top left
    // Every other command that writes the picture is refused too and keeps the picture as it is.
    const auto before = fs::last_write_time(path);
    for (const char* command : {"BildSpeichernKompression1", "AlsJpg1", "AlsPng1", "AlsBmp1", "AlsGif1", "Temporaer1"}) {
        f.dialogs.expectInform("Bild kann nur ohne den eingeblendeten Text abgespeichert werden");
        trigger(command);
        EXPECT_TRUE(editor->carriesText()) << command;
    }
    EXPECT_EQ(fs::last_write_time(path), before);
    EXPECT_FALSE(fs::exists(folder + "/foto.png"));
    f.dialogs.expectInform("Bild kann nur ohne den eingeblendeten Text abgespeichert werden");
    trigger("BildSpeichern1");
    EXPECT_FALSE(editor->carriesText());  // reloaded without the text
    EXPECT_EQ(editor->picture().pixel(30, 8), ed::kWhite);

    // All lines deleted: the caption file goes.
    QTimer::singleShot(0, [] {
        auto* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->findChild<QPlainTextEdit*>("Memo1")->toPlainText(), "Ferien 2024\nam Meer");
        dialog->findChild<QPlainTextEdit*>("Memo1")->setPlainText("\n");
        dialog->findChild<QPushButton*>("BSchliessen")->click();
    });
    trigger("Begleittext1");
    EXPECT_FALSE(fs::exists(folder + "/foto.jp0"));
}
