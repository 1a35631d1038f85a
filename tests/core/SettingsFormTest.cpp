#include <gtest/gtest.h>

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "settings/SettingsForm.h"

using namespace pictra;

struct FontCase {
    std::vector<std::string> lines;
    FontSpec expected;
};

class EditorFontDecoding : public ::testing::TestWithParam<FontCase> {};

TEST_P(EditorFontDecoding, FollowsTheDecodingRule) {
    SettingsStore store;
    store.setLines(GetParam().lines);
    const FontSpec f = readEditorFont(store);
    const FontSpec& e = GetParam().expected;
    EXPECT_EQ(f.name, e.name);
    EXPECT_EQ(f.size, e.size);
    EXPECT_EQ(std::tie(f.bold, f.italic, f.underline, f.strikeOut),
              std::tie(e.bold, e.italic, e.underline, e.strikeOut));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditorFontDecoding,
    ::testing::Values(
        FontCase{{}, {"Courier New", 12, false, false, false, false}},
        FontCase{{"Einstellungen|Schrift = Arial", "Einstellungen|Schriftgroesse = 14",
                  "Einstellungen|Schriftart = 1000"},
                 {"Arial", 14, true, false, false, false}},
        FontCase{{"Einstellungen|Schriftgroesse = 300", "Einstellungen|Schriftart = 0011"},
                 {"Courier New", 12, false, false, true, true}},
        FontCase{{"Einstellungen|Schriftgroesse = gross"}, {"Courier New", 12, false, false, false, false}},
        FontCase{{"Einstellungen|Schriftgroesse = 1"}, {"Courier New", 12, false, false, false, false}},
        FontCase{{"Einstellungen|Schriftgroesse = 256", "Einstellungen|Schriftart = 01"},
                 {"Courier New", 256, false, true, false, false}}));

TEST(SettingsForm, AbsentValuesGiveTheDefaultsOfTheDialog) {
    SettingsStore store;
    const auto v = readSettingsForm(store, "/media/stick/");
    EXPECT_FALSE(v.explorerHeightFixed);
    EXPECT_EQ(v.toneDuration, 100);
    EXPECT_EQ(v.volume, 100);
    EXPECT_EQ(v.jp0FontSize, 12);
    EXPECT_FALSE(v.secondCopy);
    EXPECT_EQ(v.secondCopyFolder, "/media/stick/");
    EXPECT_FALSE(v.appointmentsAtStart);
    EXPECT_FALSE(v.pictures48);
    EXPECT_TRUE(v.explorerPreview);
    EXPECT_EQ(v.numLock, 0);
}

TEST(SettingsForm, StoredValuesAreReadAsTheTableSays) {
    SettingsStore store;
    store.setLines({"Explorer|ExplorerhoeheNichtAnpassen = x", "Einstellungen|Tondauer = lang",
                    "Einstellungen|JP0Schriftgröße = 5", "Einstellungen|SicherungAuZweitesTraeger = ja",
                    "Einstellungen|AnzahlBilderBeimÜberblick = 48", "Einstellungen|ExplorerBildvorschau = Nein",
                    "Einstellungen|Numlock = 2", "Einstellungen|Termine stets anzeigen = Ja"});
    const auto v = readSettingsForm(store, "");
    EXPECT_TRUE(v.explorerHeightFixed);
    EXPECT_EQ(v.toneDuration, 0);
    EXPECT_EQ(v.jp0FontSize, 12);
    EXPECT_FALSE(v.secondCopy);  // only "Ja" ticks it
    EXPECT_TRUE(v.pictures48);
    EXPECT_FALSE(v.explorerPreview);
    EXPECT_EQ(v.numLock, 2);
    EXPECT_TRUE(v.appointmentsAtStart);
}

TEST(SettingsForm, WritingStoresPresenceKeysAsAbsentOrValue) {
    SettingsStore store;
    SettingsFormValues v;
    v.explorerHeightFixed = true;
    v.secondCopy = true;
    v.secondCopyFolder = "/media/stick/";
    v.pictures48 = false;
    v.explorerPreview = false;
    v.marginTop = 15;
    writeSettingsForm(store, v);
    EXPECT_EQ(store.readValue("Explorer", "ExplorerhoeheNichtAnpassen"), "Ja");
    EXPECT_EQ(store.readValue("Einstellungen", "SicherungAuZweitesTraeger"), "Ja");
    EXPECT_EQ(store.readValue("Einstellungen", "Termine stets anzeigen"), "Nein");
    EXPECT_EQ(store.readValue("Einstellungen", "AnzahlBilderBeimÜberblick"), "");
    EXPECT_EQ(store.readValue("Einstellungen", "ExplorerBildvorschau"), "Nein");
    EXPECT_EQ(store.readValue("Einstellungen", "Rand oben"), "15");
    EXPECT_EQ(store.readValue("Einstellungen", "Temp"), "");
    v.explorerHeightFixed = false;
    v.explorerPreview = true;
    v.pictures48 = true;
    writeSettingsForm(store, v);
    EXPECT_EQ(store.readValue("Explorer", "ExplorerhoeheNichtAnpassen"), "");
    EXPECT_EQ(store.readValue("Einstellungen", "ExplorerBildvorschau"), "");
    EXPECT_EQ(store.readValue("Einstellungen", "AnzahlBilderBeimÜberblick"), "48");
}

TEST(SettingsForm, StandardFontAndStyleEncoding) {
    SettingsStore store;
    FontSpec f{"Arial", 20, false, true, false, true};
    writeEditorFont(store, f);
    EXPECT_EQ(store.readValue("Einstellungen", "Schriftart"), "0101");
    writeStandardEditorFont(store);
    EXPECT_EQ(store.lines(), (std::vector<std::string>{"Einstellungen|Schrift = Courier New",
                                                       "Einstellungen|Schriftgroesse = 10",
                                                       "Einstellungen|Schriftart = 0000"}));
}

TEST(SettingsForm, UnreachableFolderIsRefusedWithMessage) {
    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    dialogs.expectFolder(dir.path() + "fehlt").expectInform(kMsgFolderUnreachable).expectFolder(dir.path());
    EXPECT_EQ(chooseReachableFolder(dialogs, "Temp", ""), std::nullopt);
    EXPECT_EQ(chooseReachableFolder(dialogs, "Temp", ""), dir.path());
}
