#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "UiFixture.h"
#include "explorer/drivecopy/DriveCopyWindow.h"

using namespace pictra;

namespace {

struct DriveCopyWindowTest : test::MainWindowTestBase {
    ui::DriveCopyWindow* copy() { return window->findChild<ui::DriveCopyWindow*>("Form11xzuy"); }
    template <class T>
    T* field(const char* name) { return copy()->findChild<T*>(name); }
    void leave(QWidget* w) {
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(w, &out);
    }
};

}  // namespace

TEST_F(DriveCopyWindowTest, AFolderBackedUpAndBroughtUpToDate) {
    const std::string home = f.dir.path() + "home/";
    std::filesystem::create_directories(home + "Texte");
    std::filesystem::create_directories(home + "Musik");
    f.dir.write("home/Texte/brief.txt", "Liebe Eltern");
    f.dir.write("home/Musik/lied.mp3", "MP3");
    trigger("Laufwerkkopieren1");
    ASSERT_NE(copy(), nullptr);
    EXPECT_EQ(copy()->windowTitle(), "Laufwerk sichern");
    EXPECT_EQ(field<QLabel>("Lpfad1")->text(), "Datei:");

    f.dialogs.expectInform("Der Ordner \"/gibt/es/nicht\" ist nicht vorhanden. Bitte einen vorhandenen Ordner angeben!");
    field<QComboBox>("Edit1")->setCurrentText("/gibt/es/nicht");
    leave(field<QComboBox>("Edit1"));
    field<QComboBox>("Edit1")->setCurrentText(QString::fromStdString(home));
    leave(field<QComboBox>("Edit1"));
    EXPECT_EQ(field<QPlainTextEdit>("Memo1")->toPlainText().toStdString(), home + "Musik/\n" + home + "Texte/");
    // Music stays at home.
    field<QPlainTextEdit>("Memo1")->setPlainText(QString::fromStdString(home + "Texte/"));

    const std::string stick = f.dir.path() + "stick/sicherung";
    f.dialogs.expectAsk("Soll der Ordner \"" + stick + "/\" erstellt werden?", Answer::Yes);
    field<QLineEdit>("Edit2")->setText(QString::fromStdString(stick));
    leave(field<QLineEdit>("Edit2"));
    EXPECT_TRUE(std::filesystem::is_directory(stick));

    QTest::mouseClick(field<QPushButton>("BStart"), Qt::LeftButton);
    copy()->waitForEnd();
    EXPECT_EQ(field<QLabel>("Label5")->text(), "Erfasste Dateien: 2");
    EXPECT_EQ(field<QLabel>("Label6")->text(), "Kopierte Dateien: 1");
    EXPECT_EQ(field<QLabel>("LStand")->text(), "Fertig: 1 Datei kopiert");
    EXPECT_TRUE(field<QLabel>("LStand")->isVisible());
    EXPECT_EQ(f.dir.read("stick/sicherung/Texte/brief.txt"), "Liebe Eltern");
    EXPECT_FALSE(std::filesystem::exists(stick + "/Musik"));

    f.dir.write("home/Texte/brief.txt", "Liebe Eltern und Kinder");
    QTest::mouseClick(field<QPushButton>("BStart"), Qt::LeftButton);
    EXPECT_EQ(field<QLabel>("LStand")->text(), "Die Sicherung läuft …");
    copy()->waitForEnd();
    EXPECT_EQ(field<QLabel>("Label6")->text(), "Kopierte Dateien: 1");
    EXPECT_EQ(f.dir.read("stick/sicherung/Texte/brief.txt"), "Liebe Eltern und Kinder");
    // Nothing new: still a clear end.
    QTest::mouseClick(field<QPushButton>("BStart"), Qt::LeftButton);
    copy()->waitForEnd();
    EXPECT_EQ(field<QLabel>("LStand")->text(), "Fertig: 0 Dateien kopiert");

    // A target inside a listed folder is refused.
    field<QLineEdit>("Edit2")->setText(QString::fromStdString(home + "Texte/"));
    f.dialogs.expectInform("Das Verzeichnis rechts darf nicht auf dem links angegebenen Laufwerk sein!");
    QTest::mouseClick(field<QPushButton>("BStart"), Qt::LeftButton);
    EXPECT_FALSE(copy()->running());
    QTest::mouseClick(field<QPushButton>("BBeenden"), Qt::LeftButton);
    EXPECT_FALSE(copy()->isVisible());
}
