#include <gtest/gtest.h>

#include <QMenuBar>

#include "UiFixture.h"
#include "shell/MainWindow.h"

using namespace pictra;

TEST(MainWindow, EditingTheSettingsFileThroughTheMenu) {
    test::UiFixture f;
    f.store.setLines({"A|x = 1"});
    ui::MainWindow window(f.context);
    EXPECT_EQ(window.objectName(), "Form1");
    EXPECT_EQ(window.windowTitle(), "Pictra");
    f.dialogs.expectInform("Ini-Datei gesichert als \"" + f.paths.settingsFileName() + "0\"")
        .expectEditText("Makros und Einstellungen", "A|x = 2")
        .expectAsk("Sollen beim Beenden von Pictra diese Werte gelten?", Answer::Yes);
    window.findChild<QAction*>("BearbeiteInidatei1")->trigger();
    EXPECT_EQ(f.store.readValue("A", "x"), "2");
    EXPECT_EQ(f.dir.read("pictra.ini"), "A|x = 2\r\n");
}

TEST(MainWindow, ClosingWritesTheSettingsAndTheFolderList) {
    test::UiFixture f;
    ui::MainWindow window(f.context);
    f.store.writeValue("Einstellungen", "Schrift", "Arial");
    f.explorerFolders.setFolders({"/home"});
    window.close();
    EXPECT_EQ(f.dir.read("pictra.ini"), "Einstellungen|Schrift = Arial\r\n");
    EXPECT_EQ(f.dir.read("pictrah.ini"), "/home\r\n");
}

TEST(MainWindow, ToneSwitchMutesEveryTone) {
    test::UiFixture f;
    ui::MainWindow window(f.context);
    window.findChild<QAction*>("TonAbschalten1")->trigger();
    f.tones.chime();
    EXPECT_TRUE(f.sound.played.empty());
    window.findChild<QAction*>("TonAbschalten1")->trigger();
    f.tones.chime();
    EXPECT_EQ(f.sound.played.size(), 1u);
}
