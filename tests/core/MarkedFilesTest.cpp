#include <gtest/gtest.h>

#include <filesystem>

#include "ChildProcess.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "explorer/MarkedFiles.h"
#include "settings/SettingsStore.h"

using namespace pictra;
using namespace pictra::explorer;
namespace fs = std::filesystem;

namespace {

constexpr const char* kBinConfirm = "Dateien in den Papierkorb verschieben";
const bin::Date kToday{2026, 12, 10};

struct MarkedFilesTest : ::testing::Test {
    test::TempDir dir;
    SettingsStore store;
    test::ScriptedDialogs dialogs;
    test::RecordingSound sound;
    Tones tones{store, sound};
    CopySession session;
    std::string binFolder = dir.path() + "prog/papierkorb";
    MarkedFiles marked;

    void SetUp() override {
        fs::create_directories(dir.file("quelle"));
        fs::create_directories(dir.file("ziel"));
    }
    CopyContext context() { return CopyContext{dialogs, session, "", binFolder, {}, &tones}; }
    std::string file(const std::string& name) { return dir.file(name); }
};

}  // namespace

TEST(FileNames, UmlautMappingAndPasteNames) {
    EXPECT_EQ(mapUmlauts("M\xC3\xBCller Brief.TXT"), "Mueller_Brief.TXT");
    EXPECT_EQ(mapUmlauts("Gr\xC3\xB6\xC3\x9F" "e.v2.txt"), "Groesse_v2.txt");
    EXPECT_EQ(pasteName("M\xC3\xBCller Brief.TXT"), "mueller_brief.txt");
    EXPECT_EQ(pasteName("\xC3\x84pfel.JPG"), "aepfel.jpg");
    EXPECT_EQ(pasteName("ohne"), "ohne");
}

TEST_F(MarkedFilesTest, MarkingWithNothingSelectedAsksForAll) {
    const std::vector<std::string> all = {"/a", "/b"};
    marked.files = {"/alt"};
    dialogs.expectAsk("Alle?", Answer::No);
    markFiles(marked, {}, all, true, dialogs);
    EXPECT_EQ(marked.files, std::vector<std::string>{"/alt"});
    dialogs.expectAsk("Alle?", Answer::No);
    markFiles(marked, {}, all, false, dialogs);
    EXPECT_TRUE(marked.files.empty());
    dialogs.expectAsk("Alle?", Answer::Yes);
    markFiles(marked, {}, all, false, dialogs);
    EXPECT_EQ(marked.files, all);
    markFiles(marked, {"/c"}, all, true, dialogs);
    EXPECT_EQ(marked.files.back(), "/c");
}

TEST_F(MarkedFilesTest, PastingMapsNamesAsksOnceAndLeavesTheSourcesAlone) {
    dir.write("quelle/M\xC3\xBCller Brief.TXT", "brief");
    dir.write("quelle/b.txt", "neu b");
    dir.write("quelle/c.txt", "neu c");
    dir.write("ziel/b.txt", "alt b");
    dir.write("ziel/c.txt", "alt c");
    marked.files = {file("quelle/M\xC3\xBCller Brief.TXT"), file("quelle/b.txt"), file("quelle/c.txt"),
                    file("quelle/fehlt.txt")};
    dialogs.expectConfirmText("Dateien kopieren.", true)
        .expectAsk("Datei \"" + file("ziel/b.txt") +
                       "\" <existiert. Alle Dateien überschreiben? (Nein: keine wird überschrieben!)",
                   Answer::No)
        .expectInform("Meldung vom Einfügen:\"" + file("ziel/c.txt") + "\" wurde nicht überschrieben\r\n\"" +
                      file("ziel/b.txt") + "\" wurde nicht überschrieben\r\n");
    auto c = context();
    pasteMarked(marked, dir.path() + "ziel", PasteNames::Mapped, c, kToday);
    EXPECT_EQ(dir.read("ziel/mueller_brief.txt"), "brief");
    EXPECT_EQ(dir.read("ziel/b.txt"), "alt b");
    EXPECT_FALSE(fs::exists(file("ziel/fehlt.txt")));  // after a No nothing more is copied
    EXPECT_TRUE(fs::exists(file("quelle/b.txt")));

    dialogs.expectConfirmText("Dateien kopieren.", true)
        .expectAsk("Datei \"" + file("ziel/b.txt") +
                       "\" <existiert. Alle Dateien überschreiben? (Nein: keine wird überschrieben!)",
                   Answer::Yes)
        .expectInform("");
    marked.files.erase(marked.files.begin());
    // A write-protected original (as on a CD) gives a copy the user may change.
    fs::permissions(file("quelle/c.txt"), fs::perms::owner_read | fs::perms::group_read);
    pasteMarked(marked, dir.path() + "ziel/", PasteNames::Unchanged, c, kToday);
    EXPECT_EQ(dir.read("ziel/c.txt"), "neu c");
    EXPECT_EQ(fs::status(file("ziel/c.txt")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(fs::status(file("quelle/c.txt")).permissions(), fs::perms::owner_read | fs::perms::group_read);
    // The overwritten files are kept in the bin.
    EXPECT_EQ(dir.read("prog/papierkorb/" + bin::binName(file("ziel/c.txt"), kToday, 5)), "alt c");
    ASSERT_FALSE(dialogs.log().empty());
    EXPECT_NE(dialogs.log().back().text.find("fehlt.txt: "), std::string::npos);  // the vanished file is reported

    marked.files.clear();
    dialogs.expectInform("Noch keine Dateien vorgemerkt!");
    pasteMarked(marked, dir.path() + "ziel", PasteNames::Mapped, c, kToday);
}

TEST_F(MarkedFilesTest, ACancelledPasteKeepsWhatWasCopied) {
    for (const char* name : {"1.txt", "2.txt", "3.txt"}) dir.write(std::string("quelle/") + name, name);
    marked.files = {file("quelle/1.txt"), file("quelle/2.txt"), file("quelle/3.txt")};
    dialogs.expectConfirmText("Dateien kopieren.", true);
    dialogs.clickCancelAtStep(2);
    auto c = context();
    pasteMarked(marked, dir.path() + "ziel", PasteNames::Unchanged, c, kToday);
    EXPECT_TRUE(fs::exists(file("ziel/1.txt")));
    EXPECT_FALSE(fs::exists(file("ziel/2.txt")));
    EXPECT_FALSE(dialogs.cancelWindowVisible());
}

TEST_F(MarkedFilesTest, CopyCheckedRulesForOverwritingAndTheBin) {
    dir.write("quelle/a.txt", "neu");
    dir.write("ziel/a.txt", "alt");
    auto c = context();
    EXPECT_EQ(copyChecked(file("quelle/a.txt"), file("quelle/a.txt"), c).message,
              "Datei \"" + file("quelle/a.txt") + "\"kann nicht auf sich selbst kopiert werden");
    dialogs.expectAsk("Datei \"" + file("ziel/a.txt") + "\" existiert.\rDatei überschreiben?\rAchtung:  In dieser "
                      "Sitzung werden dann künftig alle Dateien überschrieben\"",
                      Answer::No);
    EXPECT_EQ(copyChecked(file("quelle/a.txt"), file("ziel/a.txt"), c).message, "Abbruch");
    // Overwrite none holds for the run: skipped without a question.
    EXPECT_EQ(copyChecked(file("quelle/a.txt"), file("ziel/a.txt"), c).message, "");
    EXPECT_EQ(dir.read("ziel/a.txt"), "alt");
    // The bin is never skipped: its copy must hold what is about to be deleted.
    fs::create_directories(binFolder);
    dir.write("prog/papierkorb/a.txt", "alt");
    const auto outcome = copyChecked(file("quelle/a.txt"), binFolder + "/a.txt", c);
    EXPECT_TRUE(outcome.written);
    EXPECT_EQ(dir.read("prog/papierkorb/a.txt"), "neu");
    // A new folder below the target is made.
    EXPECT_TRUE(copyChecked(file("quelle/a.txt"), file("ziel/neu/tief/a.txt"), c).written);
}

TEST_F(MarkedFilesTest, BinNamesShowTheOriginalPathAsATable) {
    struct Case {
        std::string path;
        std::uintmax_t size;
        std::string shown;
    };
    const Case cases[] = {
        {"/home/lehrer/brief.txt", 1234, "/home/lehrer/brief_261210_1234.txt"},
        {"/home/lehrer/ohne", 5, "/home/lehrer/ohne_261210_5"},
        {"/home/l.ehrer/a.b.html", 0, "/home/l.ehrer/a.b_261210_0.html"},
        {"/daten/Gr\xC3\xBC\xC3\x9F" "e mit Blank.txt", 7, "/daten/Gr\xC3\xBC\xC3\x9F" "e mit Blank_261210_7.txt"},
    };
    for (const auto& c : cases) {
        const std::string name = bin::binName(c.path, kToday, c.size);
        EXPECT_EQ(name.find('/'), std::string::npos) << name;
        EXPECT_EQ(bin::shownEntry(binFolder, name), c.shown) << name;
    }
}

TEST_F(MarkedFilesTest, MovingIntoTheBinAndRestoring) {
    dir.write("quelle/brief.txt", "Inhalt");
    auto c = context();
    dialogs.expectConfirmText(kBinConfirm, true);
    ASSERT_TRUE(moveToBin({file("quelle/brief.txt")}, c, kToday));
    EXPECT_FALSE(fs::exists(file("quelle/brief.txt")));
    auto entries = bin::binEntries(binFolder);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].shown, dir.path() + "quelle/brief_261210_6.txt");

    // The same file deleted again the same day: the bin copy is replaced without a question.
    dir.write("quelle/brief.txt", "Inhalt");
    dialogs.expectConfirmText(kBinConfirm, true);
    moveToBin({file("quelle/brief.txt")}, c, kToday);
    EXPECT_EQ(bin::binEntries(binFolder).size(), 1u);

    // Restoring into a folder that no longer exists recreates it.
    fs::remove_all(file("quelle"));
    EXPECT_EQ(restoreFromBin(bin::binEntries(binFolder), c), dir.path() + "quelle");
    EXPECT_EQ(dir.read("quelle/brief_261210_6.txt"), "Inhalt");
    EXPECT_TRUE(bin::binEntries(binFolder).empty());
}

TEST_F(MarkedFilesTest, AFailedCopyIntoTheBinLeavesTheFileAndABinFileIsDeletedForGood) {
    dir.write("quelle/a.txt", "bleibt");
    fs::create_directories(file("prog"));
    dir.write("prog/papierkorb", "eine Datei, kein Ordner");  // the bin cannot be made
    auto c = context();
    dialogs.expectConfirmText(kBinConfirm, true).expectInform("");
    moveToBin({file("quelle/a.txt")}, c, kToday);
    EXPECT_EQ(dir.read("quelle/a.txt"), "bleibt");

    fs::remove(binFolder);
    fs::create_directories(binFolder);
    dir.write("prog/papierkorb/x_261210_1.txt", "x");
    dialogs.expectConfirmText(kBinConfirm, true);
    moveToBin({binFolder + "/x_261210_1.txt"}, c, kToday);
    EXPECT_FALSE(fs::exists(binFolder + "/x_261210_1.txt"));
    EXPECT_TRUE(bin::binEntries(binFolder).empty());

    dialogs.expectConfirmText(kBinConfirm, false).expectInform("Abbruch");
    EXPECT_FALSE(moveToBin({file("quelle/a.txt")}, c, kToday));
}

TEST_F(MarkedFilesTest, APathTooLongForANameIsShortenedAndStillRestored) {
    std::string folder = dir.path() + "quelle";
    for (int i = 0; i < 6; ++i) folder += "/ein_recht_langer_ordnername_" + std::to_string(i) + "_xxxxxxxxxxxxxxxxxxxxxx";
    fs::create_directories(folder);
    const std::string path = folder + "/brief.txt";
    dir.write(path.substr(dir.path().size()), "lang");
    const std::string name = bin::binName(path, kToday, 4);
    EXPECT_LE(name.size() + 5, 255u);
    EXPECT_TRUE(bin::isShortened(name));
    auto c = context();
    dialogs.expectConfirmText(kBinConfirm, true);
    moveToBin({path}, c, kToday);
    const auto entries = bin::binEntries(binFolder);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].shown, folder + "/brief_261210_4.txt");
    restoreFromBin(entries, c);
    EXPECT_TRUE(fs::exists(folder + "/brief_261210_4.txt"));
    EXPECT_TRUE(fs::is_empty(binFolder));
}

TEST_F(MarkedFilesTest, FolderCopiesAndCopiesWithTheirFolders) {
    dir.write("quelle/eins.txt", "1");
    fs::create_directories(file("quelle/unter"));
    dir.write("quelle/unter/tief.txt", "2");
    auto c = context();
    dialogs.expectInform("Zuerst Ordner vormerken");
    EXPECT_EQ(copyMarkedFolder(marked, file("ziel"), c), "");
    marked.folder = "/";
    dialogs.expectInform("Zuerst Ordner vormerken.");
    EXPECT_EQ(copyMarkedFolder(marked, file("ziel"), c), "");
    marked.folder = file("quelle");
    EXPECT_EQ(copyMarkedFolder(marked, file("ziel"), c), file("ziel/quelle"));
    EXPECT_EQ(dir.read("ziel/quelle/eins.txt"), "1");
    EXPECT_FALSE(fs::exists(file("ziel/quelle/unter")));  // the top level only

    dialogs.expectAskText("Bezeichnung", dir.path() + "stick");
    copyWithFolders(marked, {file("quelle/unter/tief.txt")}, {}, store, c,
                    [this](const std::string&) { return dir.path(); });
    EXPECT_EQ(dir.read("stick/quelle/unter/tief.txt"), "2");
    EXPECT_EQ(store.readValue("Explorer", "Ordner"), dir.path() + "stick/");
}

TEST_F(MarkedFilesTest, ABinOnAnotherVolumeGetsACopyAndAFullOneKeepsTheOriginal) {
    fs::create_directories(binFolder);
    test::SmallVolume volume(binFolder, 64 * 1024);
    if (!volume.mounted()) GTEST_SKIP() << "Kein tmpfs einhängbar (keine Rechte zum Einhängen): Test übersprungen.";
    dir.write("quelle/klein.txt", "klein");
    dir.write("quelle/gross.bin", std::string(200 * 1024, 'g'));
    auto c = context();
    dialogs.expectConfirmText(kBinConfirm, true)
        .expectInform("Datenträger \"" + binFolder + "\" ist voll!\r\"" + file("quelle/gross.bin") +
                      "\" konnte nicht in den Papierkorb \"" + binFolder +
                      "\" verschoben werden.\r\rBis dahin erledigt: 1 von 2 Dateien. Die übrigen bleiben unverändert.");
    moveToBin({file("quelle/klein.txt"), file("quelle/gross.bin")}, c, kToday);
    EXPECT_FALSE(fs::exists(file("quelle/klein.txt")));  // copied across, then deleted
    EXPECT_EQ(bin::binEntries(binFolder).size(), 1u);
    EXPECT_EQ(fs::file_size(file("quelle/gross.bin")), 200u * 1024);  // no room: it stays
}
