#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>

#include "UiFixture.h"
#include "settings/SettingsDialog.h"

using namespace pictra;
using ui::SettingsDialog;

namespace {

struct SettingsDialogTest : ::testing::Test {
    test::UiFixture f;
    int fontResets = 0;
    std::vector<int> numLocks;
    bool browser = false;
    std::unique_ptr<SettingsDialog> dialog;

    void SetUp() override {
        ui::SettingsDialogHooks hooks;
        hooks.fontChanged = [this] { ++fontResets; };
        hooks.numLockChanged = [this](int i) { numLocks.push_back(i); };
        hooks.openBrowserPageSetup = [this] { return browser; };
        hooks.tone = [this](double frequency) { f.tones.tone(frequency); };
        hooks.chime = [this] { f.tones.chime(); };
        dialog = std::make_unique<SettingsDialog>(f.store, f.dialogs, f.paths, "/media/stick/",
                                                  std::move(hooks));
    }
    template <typename T>
    T* find(const char* name) {
        auto* w = dialog->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* name) { find<QPushButton>(name)->click(); }
};

}  // namespace

TEST_F(SettingsDialogTest, OpensWithTheStoredValuesAndWritesThemBackOnClose) {
    f.store.setLines({"Einstellungen|Tondauer = 250", "Einstellungen|SicherungAuZweitesTraeger = Ja",
                      "Einstellungen|OrdnerfuerSicherungZweiterTraeger = /mnt/b/", "Einstellungen|Rand links = 7",
                      "Einstellungen|AnzahlBilderBeimÜberblick = 48"});
    dialog->prepare(0);
    EXPECT_EQ(dialog->windowTitle(), "Einstellungen");
    EXPECT_EQ(find<QSpinBox>("SETondauer")->value(), 250);
    EXPECT_TRUE(find<QCheckBox>("CBZweitesTraeger")->isChecked());
    EXPECT_EQ(find<QLineEdit>("EOrdnerZweiterTraeger")->text(), "/mnt/b/");
    EXPECT_EQ(find<QSpinBox>("SERandLinks")->value(), 7);
    EXPECT_TRUE(find<QRadioButton>("RB48Bilder")->isChecked());
    EXPECT_EQ(find<QLabel>("LTermindatei")->text(), "-");
    EXPECT_EQ(find<QLineEdit>("EPapierkorb")->text().toStdString(), f.paths.folder + "papierkorb");

    find<QSpinBox>("SETondauer")->setValue(300);
    find<QCheckBox>("CBZweitesTraeger")->setChecked(false);
    find<QCheckBox>("CBTermine")->setChecked(true);
    find<QCheckBox>("CBBildvorschau")->setChecked(false);
    find<QRadioButton>("RB12Bilder")->setChecked(true);
    find<QSpinBox>("SELeerzeilen")->setValue(3);
    find<QLineEdit>("ETemp")->setText("/tmp/pictra");
    click("BSchliessen");
    EXPECT_EQ(f.store.readValue("Einstellungen", "Tondauer"), "300");
    EXPECT_EQ(f.store.readValue("Einstellungen", "SicherungAuZweitesTraeger"), "Nein");
    EXPECT_EQ(f.store.readValue("Einstellungen", "Termine stets anzeigen"), "Ja");
    EXPECT_EQ(f.store.readValue("Einstellungen", "ExplorerBildvorschau"), "Nein");
    EXPECT_EQ(f.store.readValue("Einstellungen", "AnzahlBilderBeimÜberblick"), "");
    EXPECT_EQ(f.store.readValue("Einstellungen", "Leerzeilen"), "3");
    EXPECT_EQ(f.store.readValue("Einstellungen", "Temp"), "/tmp/pictra");
}

TEST_F(SettingsDialogTest, SecondCopyFolderShowsOnlyWhenTickedWithTheProgramsChoice) {
    dialog->prepare(0);
    dialog->show();
    EXPECT_FALSE(find<QLineEdit>("EOrdnerZweiterTraeger")->isVisible());
    find<QCheckBox>("CBZweitesTraeger")->setChecked(true);
    EXPECT_TRUE(find<QLineEdit>("EOrdnerZweiterTraeger")->isVisible());
    EXPECT_EQ(find<QLineEdit>("EOrdnerZweiterTraeger")->text(), "/media/stick/");
    dialog->close();
}

TEST_F(SettingsDialogTest, SomeKeysAreWrittenAtOnce) {
    dialog->prepare(0);
    find<QCheckBox>("CBExplorerhoehe")->setChecked(true);
    EXPECT_EQ(f.store.readValue("Explorer", "ExplorerhoeheNichtAnpassen"), "Ja");
    find<QSlider>("TBLautstaerke")->setValue(40);
    EXPECT_EQ(f.store.readValue("Einstellungen", "Tonstaerke"), "40");
    ASSERT_EQ(f.sound.played.size(), 1u);  // the test tone
    find<QSpinBox>("SERandOben")->setValue(12);
    EXPECT_EQ(f.store.readValue("Einstellungen", "Rand oben"), "12");
    find<QComboBox>("CBZahlenblock")->setCurrentIndex(1);
    EXPECT_EQ(f.store.readValue("Einstellungen", "Numlock"), "1");
    EXPECT_EQ(numLocks, std::vector<int>{1});
    find<QCheckBox>("CBExplorerhoehe")->setChecked(false);
    EXPECT_EQ(f.store.readValue("Explorer", "ExplorerhoeheNichtAnpassen"), "");
}

TEST_F(SettingsDialogTest, HighlightsTheRequestedGroupInLightRed) {
    dialog->prepare(7);
    const QColor light(255, 128, 128);  // 8421631
    EXPECT_TRUE(dialog->groupOf(7)->autoFillBackground());
    EXPECT_EQ(dialog->groupOf(7)->palette().color(QPalette::Window), light);
    EXPECT_FALSE(dialog->groupOf(1)->autoFillBackground());
    dialog->prepare(0);
    EXPECT_FALSE(dialog->groupOf(7)->autoFillBackground());
    for (int g : {1, 2, 5, 7, 8, 9, 10, 11}) EXPECT_NE(dialog->groupOf(g), nullptr) << g;
}

TEST_F(SettingsDialogTest, FontButtonsStoreTheFontAndResetTheEditors) {
    dialog->prepare(0);
    f.dialogs.expectFont(FontSpec{"DejaVu Sans Mono", 14, true, false, false, false});
    click("BSchrift");
    EXPECT_EQ(f.store.readValue("Einstellungen", "Schrift"), "DejaVu Sans Mono");
    EXPECT_EQ(f.store.readValue("Einstellungen", "Schriftgroesse"), "14");
    EXPECT_EQ(f.store.readValue("Einstellungen", "Schriftart"), "1000");
    f.dialogs.expectFont(std::nullopt);
    click("BSchrift");
    click("BSchriftStandard");
    EXPECT_EQ(f.store.readValue("Einstellungen", "Schriftgroesse"), "10");
    EXPECT_EQ(fontResets, 2);
}

TEST_F(SettingsDialogTest, UnreachableFolderAndMissingBrowserGiveTheirMessages) {
    dialog->prepare(5);
    f.dialogs.expectFolder(f.dir.path() + "weg").expectInform("Auf das Verzeichnis kann zur Zeit nicht zugegriffen werden!");
    click("BTemp");
    EXPECT_EQ(find<QLineEdit>("ETemp")->text(), "");
    f.dialogs
        .expectInform("Im MS-Explorer werden die Ränder über \"Datei|Seitenansicht\" eingestellt. Die Einstellungen "
                      "hier werden noch dazu addiert. Die geänderten Einstellungen des MS-Explorers werden nach "
                      "einem Neustart von Pictra wirksam.")
        .expectInform("Internetexplorer nicht installiert");
    click("BErweitert");
}

TEST_F(SettingsDialogTest, SampleTextTakesSizeAndColours) {
    dialog->prepare(0);
    f.dialogs.expectFont(FontSpec{"Arial", 4}).expectColour(0x0000FF);
    click("BText");
    f.dialogs.expectColour(0x00FF00);
    click("BHintergrundfarbe");
    click("BSchliessen");
    EXPECT_EQ(f.store.readValue("Einstellungen", "JP0Schriftgröße"), "12");  // below 6 becomes 12
    EXPECT_EQ(f.store.readValue("Einstellungen", "JP0Schriftfarbe"), "255");
    EXPECT_EQ(f.store.readValue("Einstellungen", "JP0Hintergrundfarbe"), "65280");
    EXPECT_EQ(find<QLabel>("LMuster")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

TEST_F(SettingsDialogTest, AppointmentFileIsWrittenWhenChosen) {
    dialog->prepare(2);
    f.dialogs.expectOpenFile(f.dir.file("termine.txt"));
    click("BTermindatei");
    EXPECT_EQ(f.store.readValue("Einstellungen", "Termindatei"), f.dir.file("termine.txt"));
    EXPECT_EQ(find<QLabel>("LTermindatei")->text().toStdString(), f.dir.file("termine.txt"));
}
