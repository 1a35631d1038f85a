#include <gtest/gtest.h>

#include <filesystem>

#include "ChildProcess.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "settings/SettingsFile.h"

using namespace pictra;
using test::ScriptedDialogs;
using test::TempDir;

namespace {

ProgramPaths pathsIn(const TempDir& dir, std::string profile = {}) {
    ProgramPaths p;
    p.folder = dir.path();
    p.base = "pictra";
    p.profile = std::move(profile);
    return p;
}

}  // namespace

TEST(SettingsFile, FileNamesWithAndWithoutProfile) {
    EXPECT_EQ(profileFromArguments({"letter.txt"}), "");
    EXPECT_EQ(profileFromArguments({"work", "letter.txt"}), "work");
    EXPECT_EQ(profileFromArguments({"../x", "b"}), ".._x");
    ProgramPaths p{"/opt/p/", "pictra", "work"};
    EXPECT_EQ(p.settingsFileName(), "/opt/p/pictrawork.ini");
    EXPECT_EQ(p.settingsBackupFileName(), "/opt/p/pictrawork.ini0");
    EXPECT_EQ(p.explorerFolderListFileName(), "/opt/p/pictrah.ini");
    EXPECT_EQ(p.programFileName("._3"), "/opt/p/pictra._3");
    p.profile = "";
    EXPECT_EQ(p.settingsFileName(), "/opt/p/pictra.ini");
}

TEST(SettingsFile, LoadSortsWritesBackupAndKeepsGarbageLines) {
    TempDir dir;
    const std::string content = std::string("zeta|k = 1\r\nohne gleich\r\n\x01\x02 bin\xff\r\nAlpha|k = 2\n");
    dir.write("pictra.ini", content);
    ScriptedDialogs dialogs;
    SettingsStore store;
    SettingsFile(pathsIn(dir), dialogs).load(store);
    // Not UTF-8, so read as Windows-1252: ÿ.
    EXPECT_EQ(store.lines(), (std::vector<std::string>{std::string("\x01\x02 bin\xc3\xbf"), "Alpha|k = 2",
                                                       "ohne gleich", "zeta|k = 1"}));
    EXPECT_EQ(dir.read("pictra.ini0"), "zeta|k = 1\r\nohne gleich\r\n\x01\x02 bin\xc3\xbf\r\nAlpha|k = 2\r\n");
}

TEST(SettingsFile, MissingFileFallsBackToBackupUnsorted) {
    TempDir dir;
    dir.write("pictra.ini0", "z|a = 1\r\nb|c = 2\r\n");
    ScriptedDialogs dialogs;
    SettingsStore store;
    SettingsFile(pathsIn(dir), dialogs).load(store);
    EXPECT_EQ(store.lines(), (std::vector<std::string>{"z|a = 1", "b|c = 2"}));
}

TEST(SettingsFile, NeitherFileReadableGivesMessageAndEmptyStore) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("pictra.ini"));  // unreadable as a file
    ScriptedDialogs dialogs;
    dialogs.expectInform(kMsgNoIniLoaded);
    SettingsStore store;
    SettingsFile(pathsIn(dir), dialogs).load(store);
    EXPECT_TRUE(store.lines().empty());
}

TEST(SettingsFile, ListsOfTenAndMoreLinesSurviveARestart) {
    TempDir dir;
    ScriptedDialogs dialogs;
    dialogs.expectInform(kMsgNoIniLoaded);
    SettingsStore store;
    SettingsFile first(pathsIn(dir), dialogs);
    first.load(store);
    std::string list;
    for (int i = 0; i < 12; ++i) list += "datei" + std::to_string(i) + "\r\n";
    store.writeValue("Zeta", "z", "1");
    store.writeList("Hauptmenu", "History", list);
    store.writeValue("Alpha", "a", "2");
    first.saveAtExit(store);

    SettingsStore again;
    SettingsFile(pathsIn(dir), dialogs).load(again);
    EXPECT_EQ(again.readList("Hauptmenu", "History") + "\r\n", list);
    EXPECT_EQ(again.lines().front(), "Alpha|a = 2");
}

TEST(SettingsFile, LargeFileLoadsCompletely) {
    TempDir dir;
    std::string big;
    int lines = 0;
    while (big.size() < 10 * 1024 * 1024) {
        big += "Sektion|Schluessel" + std::to_string(lines++) + " = " + std::string(100, 'x') + "\r\n";
    }
    dir.write("pictra.ini", big);
    ScriptedDialogs dialogs;
    SettingsStore store;
    SettingsFile(pathsIn(dir), dialogs).load(store);
    EXPECT_EQ(store.lines().size(), static_cast<size_t>(lines));
}

TEST(SettingsFile, UnwritableTargetAtExitShowsMessageAndLeavesNoFile) {
    TempDir dir;
    ScriptedDialogs dialogs;
    ProgramPaths paths = pathsIn(dir);
    paths.folder = dir.path() + "gibt-es-nicht/";
    dialogs.expectInform(kMsgNoIniLoaded).expectInform(kMsgCannotSaveIni);
    SettingsStore store;
    SettingsFile file(paths, dialogs);
    file.load(store);
    store.writeValue("A", "b", "c");
    file.saveAtExit(store);
    EXPECT_FALSE(std::filesystem::exists(paths.folder));
}

TEST(SettingsFile, EditAsTextReplacesStoreWritesAtOnceAndStopsTheExitSave) {
    TempDir dir;
    dir.write("pictra.ini", "A|x = 1\r\n");
    ScriptedDialogs dialogs;
    SettingsStore store;
    SettingsFile file(pathsIn(dir), dialogs);
    file.load(store);
    dialogs.expectInform("Ini-Datei gesichert als \"" + dir.path() + "pictra.ini0\"")
        .expectEditText("Makros und Einstellungen", "A|x = 2\r\nB|y = 3")
        .expectAsk("Sollen beim Beenden von Pictra diese Werte gelten?", Answer::Yes);
    file.editAsText(store);
    EXPECT_EQ(dialogs.shownTexts().back(), "A|x = 1");
    EXPECT_EQ(store.readValue("B", "y"), "3");
    EXPECT_EQ(dir.read("pictra.ini"), "A|x = 2\r\nB|y = 3\r\n");
    EXPECT_FALSE(file.saveAtExitEnabled());

    // A value changed later in the run is gone after a restart.
    store.writeValue("A", "x", "later");
    file.saveAtExit(store);
    SettingsStore restarted;
    SettingsFile(pathsIn(dir), dialogs).load(restarted);
    EXPECT_EQ(restarted.readValue("A", "x"), "2");
}

TEST(SettingsFile, EditAsTextCancelledOrDeclinedChangesNothing) {
    TempDir dir;
    dir.write("pictra.ini", "A|x = 1\r\n");
    ScriptedDialogs dialogs;
    SettingsStore store;
    SettingsFile file(pathsIn(dir), dialogs);
    file.load(store);
    const std::string backupNote = "Ini-Datei gesichert als \"" + dir.path() + "pictra.ini0\"";
    dialogs.expectInform(backupNote).expectEditText("Makros und Einstellungen", kCancelMarker);
    file.editAsText(store);
    dialogs.expectInform(backupNote)
        .expectEditText("Makros und Einstellungen", "A|x = 9")
        .expectAsk("Sollen beim Beenden von Pictra diese Werte gelten?", Answer::No);
    file.editAsText(store);
    EXPECT_EQ(store.readValue("A", "x"), "1");
    EXPECT_TRUE(file.saveAtExitEnabled());
}

TEST(FolderList, SavedSortedAndReadBack) {
    TempDir dir;
    FolderList list;
    list.setFolders({"/home/b", "", "/home/a"});
    list.save(dir.file("pictrah.ini"));
    FolderList again;
    again.load(dir.file("pictrah.ini"));
    EXPECT_EQ(again.folders(), (std::vector<std::string>{"/home/a", "/home/b"}));
}

TEST(SettingsFile, OneStrayByteSpoilsOnlyItsOwnLine) {
    TempDir dir;
    dir.write("pictra.ini", "a|Datei = Grüße.txt\r\nb|k = caf\xe9\r\nc|Schlüssel = 1\r\n");
    ScriptedDialogs dialogs;
    SettingsStore store;
    SettingsFile(pathsIn(dir), dialogs).load(store);
    EXPECT_EQ(store.readValue("a", "Datei"), "Grüße.txt");
    EXPECT_EQ(store.readValue("b", "k"), "café");
    EXPECT_EQ(store.readValue("c", "Schlüssel"), "1");
}

TEST(SettingsFile, ALineBreakInAValueNeverBecomesALineOfItsOwn) {
    TempDir dir;
    ScriptedDialogs dialogs;
    SettingsStore store;
    store.writeValue("S", "K", "x\r\nS|Other = injected");
    store.writeValue("S\n|L", "K\r", "y");
    SettingsFile(pathsIn(dir), dialogs).saveAtExit(store);
    SettingsStore reloaded;
    SettingsFile(pathsIn(dir), dialogs).load(reloaded);
    EXPECT_EQ(reloaded.lines().size(), 2u);
    EXPECT_EQ(reloaded.readValue("S", "Other"), "");
    EXPECT_EQ(reloaded.readValue("S", "K"), "x  S|Other = injected");
    EXPECT_EQ(reloaded.readValue("S |L", "K "), "y");
}

TEST(SettingsFile, AFileReadCompletelyWinsOverItsBackupWhenTheBackupCannotBeWritten) {
    TempDir dir;
    dir.write("pictra.ini", "S|wert = neu\r\n");
    dir.write("pictra.ini0", "S|wert = alt\r\n");
    // A user without write access to the folder and the backup (as on a full disk).
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all | std::filesystem::perms::others_read |
                                                 std::filesystem::perms::others_exec);
    std::filesystem::permissions(dir.file("pictra.ini0"), std::filesystem::perms::owner_read |
                                                              std::filesystem::perms::others_read);
    const auto end = test::runInChild(
        [&] {
            ScriptedDialogs dialogs;
            SettingsStore store;
            SettingsFile(pathsIn(dir), dialogs).load(store);
            return store.readValue("S", "wert") == "neu" ? 0 : 1;
        },
        true);
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_EQ(dir.read("pictra.ini0"), "S|wert = alt\r\n");
}
