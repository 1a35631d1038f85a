// `TForm_text`: a line of text written into the pixels of the picture window's
// and the editor's picture, where the dialog's corner lies over the picture.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "common/FileIo.h"
#include "UiFixture.h"
#include "pictures/PictureWindow.h"
#include "pictures/TextOnPictureDialog.h"
#include "pictures/editing/Colours.h"
#include "pictures/editor/PictureEditor.h"
#include "platform/pictures/PictureFiles.h"
#include "platform/pictures/TextDrawing.h"

using namespace pictra;
namespace fs = std::filesystem;
namespace ed = pictures::editing;
using pictures::Bitmap32;

namespace {

Bitmap32 white(int w, int h) {
    Bitmap32 b(w, h);
    b.clear(ed::kWhite);
    return b;
}

bool inked(pictures::Color32 c) { return ed::redOf(c) < 128 && ed::greenOf(c) < 128; }

// The box around the dark pixels: left, top, right, bottom; left = -1 when there are none.
QRect inkBox(const Bitmap32& b) {
    int l = -1, t = -1, r = -1, btm = -1;
    for (int y = 0; y < b.height(); ++y) {
        for (int x = 0; x < b.width(); ++x) {
            if (!inked(b.pixel(x, y))) continue;
            if (l < 0 || x < l) l = x;
            if (t < 0) t = y;
            r = std::max(r, x);
            btm = y;
        }
    }
    return l < 0 ? QRect() : QRect(QPoint(l, t), QPoint(r, btm));
}

std::string fileText(const std::string& path) { return fileio::readFile(path).value_or(std::string()); }

struct TextOnPictureTest : test::MainWindowTestBase {
    std::string folder;
    ui::PictureWindow* pictures = nullptr;

    void SetUp() override {
        test::MainWindowTestBase::SetUp();
        folder = f.dir.path() + "bilder";
        fs::create_directories(folder);
        pictures = window->pictureWindow();
        pictures->setScreenSize(QSize(1024, 768));
    }
    void TearDown() override {
        pictures->close();
        test::MainWindowTestBase::TearDown();
    }
    std::string history() const { return f.dir.path() + "pictra._text_auf_bild"; }
    int shown = 0;
    // A new file each time: the window keeps decodes of the files it has shown.
    void show(int w, int h) {
        const std::string path = folder + "/foto" + std::to_string(++shown) + ".png";
        platform::pictures::savePicture(path, white(w, h));
        pictures->showPictureFile(path, {path});
        ASSERT_TRUE(QTest::qWaitFor([this] { return !pictures->loading(); }, 20000));
    }
    template <class T>
    T* part(QWidget* dialog, const char* name) {
        T* w = dialog->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // The dialog opened at the point of the picture window, with the text typed.
    ui::TextOnPictureDialog* openAt(QPoint inPicture, const QString& text) {
        pictures->openTextDialog(pictures->mapToGlobal(inPicture));
        ui::TextOnPictureDialog* dialog = pictures->textDialog();
        if (!dialog) return nullptr;
        part<QLineEdit>(dialog, "Edit1")->setText(text);
        return dialog;
    }
};

}  // namespace

TEST_F(TextOnPictureTest, OnlyAtFullSizeThenTheTextLandsAtTheDialogsCorner) {
    show(1600, 1000);  // fitted to the screen first
    ASSERT_LT(pictures->displayed().width(), 1600);
    f.dialogs.expectInform("Text kann nur bei Originalgröße eingefügt werden.\rTipp: Wähle Schrift so groß, dass sie "
                           "auch noch bei Bildschirmgröße lesbar ist.");
    pictures->contextMenu()->findChild<QAction*>("TextAufBild1")->trigger();
    EXPECT_EQ(pictures->textDialog(), nullptr);
    EXPECT_EQ(pictures->displayed().width(), 1600);  // now at full size

    auto* dialog = openAt(QPoint(40, 50), "Hallo");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->objectName(), "TForm_text");
    EXPECT_EQ(dialog->windowTitle(), "Es gibt keine Überschrift");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(part<QRadioButton>(dialog, "RBschliessen")->isChecked());
    EXPECT_EQ(part<QRadioButton>(dialog, "RBschliessen")->text(), "Fenster nach  \"OK\" schließen");
    part<QPushButton>(dialog, "BSchreiben")->click();
    const QRect box = inkBox(pictures->displayed());
    ASSERT_TRUE(box.isValid());
    EXPECT_GE(box.left(), 40);
    EXPECT_LT(box.left(), 46);
    EXPECT_GE(box.top(), 50);
    EXPECT_LT(box.top(), 62);
    EXPECT_FALSE(dialog->isVisible());  // closed after writing
    EXPECT_EQ(fileText(history()), "Hallo\r\n");
    // The text is part of the picture that is saved.
    EXPECT_EQ(inkBox(pictures->displayed()), box);

    // Below the picture: at the bottom left instead.
    show(300, 200);
    dialog = openAt(QPoint(20, 260), "Ende");
    part<QSpinBox>(dialog, "SpinEdit1")->setValue(20);
    part<QPushButton>(dialog, "BSchreiben")->click();
    const QRect low = inkBox(pictures->displayed());
    ASSERT_TRUE(low.isValid());
    EXPECT_GE(low.left(), 10);
    EXPECT_LT(low.left(), 16);
    EXPECT_GE(low.top(), 200 - 20 - 10);
    EXPECT_LE(low.bottom(), 199);
    EXPECT_EQ(fileText(history()), "Hallo\r\nEnde\r\n");
}

TEST_F(TextOnPictureTest, LinksMovesThePictureWindowUpSoTheNextTextLandsOneLineLower) {
    show(400, 300);
    auto* dialog = openAt(QPoint(30, 20), "AAA");
    part<QSpinBox>(dialog, "SpinEdit1")->setValue(20);
    part<QRadioButton>(dialog, "RBlinks")->setChecked(true);
    const int top = pictures->y();
    part<QPushButton>(dialog, "BSchreiben")->click();
    EXPECT_EQ(pictures->y(), top - 25);  // 20 × 5 div 4
    EXPECT_TRUE(dialog->isVisible());    // stays for the next line
    EXPECT_EQ(part<QLineEdit>(dialog, "Edit1")->selectedText(), "AAA");
    const QRect first = inkBox(pictures->displayed());
    part<QPushButton>(dialog, "BSchreiben")->click();
    const QRect both = inkBox(pictures->displayed());
    EXPECT_EQ(both.top(), first.top());
    EXPECT_EQ(both.bottom(), first.bottom() + 25);
    EXPECT_EQ(fileText(history()), "AAA\r\n");  // once
    // "oben" keeps the dialog, but the window stays where it is.
    part<QRadioButton>(dialog, "RBoben")->setChecked(true);
    const int now = pictures->y();
    part<QPushButton>(dialog, "BSchreiben")->click();
    EXPECT_EQ(pictures->y(), now);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(TextOnPictureTest, AnotherPictureShownMeanwhileIsWrittenIntoOnlyAtFullSize) {
    show(400, 300);
    auto* dialog = openAt(QPoint(30, 20), "Neu");
    part<QRadioButton>(dialog, "RBbeides")->setChecked(true);
    show(1600, 1000);  // the next picture, fitted, while the dialog stays open
    f.dialogs.expectInform("Text kann nur bei Originalgröße eingefügt werden.\rTipp: Wähle Schrift so groß, dass sie "
                           "auch noch bei Bildschirmgröße lesbar ist.");
    part<QPushButton>(dialog, "BSchreiben")->click();
    EXPECT_EQ(pictures->displayed().width(), 1600);
    EXPECT_FALSE(inkBox(pictures->displayed()).isValid());
    part<QPushButton>(dialog, "BSchreiben")->click();
    EXPECT_TRUE(inkBox(pictures->displayed()).isValid());
    EXPECT_EQ(pictures->displayed().height(), 1000);
}

TEST_F(TextOnPictureTest, TransparentOpaqueAndThreeDBackgrounds) {
    const pictures::Color32 red = ed::rgb(255, 0, 0);
    const struct {
        bool transparent, threeD;
        bool redBox;     // the background fills the text's box
        bool redShadow;  // some red pixels at all
    } cases[] = {{false, false, true, true}, {true, false, false, false}, {false, true, false, true}};
    for (const auto& c : cases) {
        show(300, 100);
        auto* dialog = openAt(QPoint(10, 10), "WWW");
        part<QSpinBox>(dialog, "SpinEdit1")->setValue(24);
        f.dialogs.expectColour(0x0000FF);  // red, as 0xBBGGRR
        part<QPushButton>(dialog, "BHintergrund")->click();
        part<QCheckBox>(dialog, "CheckBox4")->setChecked(c.transparent);
        part<QCheckBox>(dialog, "CheckBox5")->setChecked(c.threeD);
        part<QPushButton>(dialog, "BSchreiben")->click();
        const Bitmap32& b = pictures->displayed();
        EXPECT_EQ(b.pixel(10, 10) == red, c.redBox) << c.transparent << c.threeD;
        bool anyRed = false;
        for (int y = 0; y < b.height() && !anyRed; ++y) {
            for (int x = 0; x < b.width() && !anyRed; ++x) anyRed = ed::redOf(b.pixel(x, y)) > 200 && ed::greenOf(b.pixel(x, y)) < 60;
        }
        EXPECT_EQ(anyRed, c.redShadow) << c.transparent << c.threeD;
        EXPECT_TRUE(inkBox(b).isValid());
    }
}

TEST_F(TextOnPictureTest, HistoryListWithItsNoteAndAClickFetchesTheLine) {
    std::ofstream(history(), std::ios::binary) << "Erste\r\nZweite\r\n\r\n";
    show(200, 100);
    auto* dialog = openAt(QPoint(5, 5), "");
    auto* memo = part<QPlainTextEdit>(dialog, "Memo1");
    EXPECT_FALSE(memo->isVisible());
    part<QPushButton>(dialog, "BListeZeigen")->click();
    EXPECT_TRUE(memo->isVisible());
    EXPECT_EQ(memo->toPlainText(), "Hier erscheint der Text Zeile für Zeile.\nKlick auf die Zeile holt den Text nach oben.\n"
                                   "Erste\nZweite");
    dialog->takeHistoryLine(3);
    EXPECT_EQ(part<QLineEdit>(dialog, "Edit1")->text(), "Zweite");
    dialog->takeHistoryLine(0);  // the note is no text
    EXPECT_EQ(part<QLineEdit>(dialog, "Edit1")->text(), "Zweite");
    memo->setPlainText(memo->toPlainText() + "\nDritte\nErste");
    part<QPushButton>(dialog, "BListeVerbergen")->click();
    EXPECT_FALSE(memo->isVisible());
    EXPECT_EQ(fileText(history()), "Erste\r\nZweite\r\nDritte\r\n");
}

TEST_F(TextOnPictureTest, ACharacterWindows1252CannotHoldIsAskedAbout) {
    show(200, 100);
    const QString text = QString("Preis 5") + QChar(0x20B9);  // the rupee sign
    const std::string question = "Die Zeichen \"\u20B9\" gibt es in Windows-1252 nicht.\rIm Bild stehen sie richtig, in "
                                 "der Liste mit \"?\" an ihrer Stelle. Trotzdem schreiben?";
    auto* dialog = openAt(QPoint(5, 5), text);
    f.dialogs.expectAsk(question, Answer::No);
    part<QPushButton>(dialog, "BSchreiben")->click();
    EXPECT_FALSE(inkBox(pictures->displayed()).isValid());  // nothing written
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(part<QLineEdit>(dialog, "Edit1")->text(), text);  // nothing lost
    f.dialogs.expectAsk(question, Answer::Yes);
    part<QPushButton>(dialog, "BSchreiben")->click();
    EXPECT_TRUE(inkBox(pictures->displayed()).isValid());
    EXPECT_EQ(fileText(history()), "Preis 5?\r\n");
}

TEST_F(TextOnPictureTest, CtrlClickInTheEditorWritesAtTheClickAndUndoTakesItBack) {
    const std::string path = folder + "/foto.jpg";
    platform::pictures::savePicture(path, white(600, 400), 95);
    pictures->showPictureFile(path, {path});
    ASSERT_TRUE(QTest::qWaitFor([this] { return !pictures->loading(); }, 20000));
    ui::PictureEditor* editor = pictures->editor();
    editor->setWorkingScreen(QSize(1024, 768));
    pictures->contextMenu()->findChild<QAction*>("Experten1")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([editor] { return !editor->loading() && !editor->picture().empty(); }, 20000));
    editor->pictureClicked(QPoint(100, 120), Qt::LeftButton, Qt::ControlModifier);
    ui::TextOnPictureDialog* dialog = editor->textDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    part<QLineEdit>(dialog, "Edit1")->setText("Text");
    part<QPushButton>(dialog, "BSchreiben")->click();
    const QRect box = inkBox(editor->picture());
    ASSERT_TRUE(box.isValid());
    EXPECT_GE(box.left(), 100);
    EXPECT_LT(box.left(), 106);
    EXPECT_GE(box.top(), 120);
    EXPECT_LT(box.top(), 134);
    editor->undo();
    EXPECT_FALSE(inkBox(editor->picture()).isValid());
    editor->close();
}

TEST(TextDrawing, SlantClimbsAndSymbolTurnsLatinGreek) {
    Bitmap32 straight = white(400, 200);
    platform::pictures::TextLook look;
    look.size = 20;
    platform::pictures::writeText(straight, "MMMMMM", look, 10, 100);
    Bitmap32 slanted = white(400, 200);
    look.slant = 10;
    platform::pictures::writeText(slanted, "MMMMMM", look, 10, 100);
    const QRect s = inkBox(straight);
    const QRect t = inkBox(slanted);
    EXPECT_EQ(t.bottom(), s.bottom());       // the first character stays
    EXPECT_EQ(t.top(), s.top() - 5 * 10);    // the last is five steps higher
    EXPECT_LE(t.right(), s.right());         // and the line is shortened by the root
    EXPECT_EQ(platform::pictures::shownText("abz", "Symbol"), QString::fromUtf8("αβζ"));
    EXPECT_EQ(platform::pictures::shownText("abz", "Arial"), "abz");
    // Size 0, empty text and a 1 × 1 picture draw nothing and do not fail.
    Bitmap32 tiny = white(1, 1);
    look.slant = 0;
    platform::pictures::writeText(tiny, "Hallo", look, 0, 0);
    look.size = 0;
    platform::pictures::writeText(straight, "Neu", look, 200, 10);
    EXPECT_EQ(inkBox(straight), s);
}
