// What a crash (SIGKILL in the middle of a write) or a full disk leaves on disk.
// The crashing saves run in a forked child that the file module kills after a
// chosen number of written bytes; the parent then looks at the files.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ChildProcess.h"
#include "DocumentFilesFixture.h"
#include "MemoryDocuments.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "common/FileIo.h"
#include "explorer/MarkedFiles.h"
#include "explorer/RecycleBin.h"
#include "shell/DocumentFiles.h"
#include "shell/InterruptedSaves.h"

#include <unistd.h>

using namespace pictra;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bin::Date today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string pattern(size_t size, char seed) {
    std::string s(size, seed);
    for (size_t i = 0; i < size; i += 97) s[i] = static_cast<char>('a' + (i / 97) % 26);
    return s;
}

// A text of lines as a save writes it (CR LF, no trailing blanks, empty caret trailer).
std::string savedForm(const std::string& text) { return text + "\r\n\r\n"; }

}  // namespace

TEST(CrashSafety, AKilledWriteLeavesTheOldFileAndNoTemporaryFile) {
    const std::string old = pattern(300000, 'o');
    const std::string fresh = pattern(400000, 'n');
    for (size_t killAt : {size_t{0}, size_t{1}, size_t{65536}, size_t{200000}, size_t{399999}}) {
        test::TempDir dir;
        dir.write("a.txt", old);
        const auto end = test::runInChild([&] {
            fileio::setKillAfterBytes(killAt);
            return fileio::writeFileAtomic(dir.file("a.txt"), fresh) ? 0 : 1;
        });
        EXPECT_TRUE(end.killed) << killAt;
        EXPECT_EQ(dir.read("a.txt"), old) << killAt;
        EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"a.txt"}) << killAt;
    }
}

TEST(CrashSafety, StaleTemporaryFilesOfEarlierRunsGoWithTheNextSave) {
    test::TempDir dir;
    dir.write("a.txt", "alt");
    dir.write(".a.txt.tmp123456", "Rest eines Absturzes");
    dir.write(".a.txt.tmp7", "Rest");
    dir.write(".a.txt.tmpX1", "fremd");   // not our pattern
    dir.write(".b.txt.tmp123", "fremd");  // another file's
    ASSERT_TRUE(fileio::writeFileAtomic(dir.file("a.txt"), "neu"));
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{".a.txt.tmpX1", ".b.txt.tmp123", "a.txt"}));
    EXPECT_EQ(dir.read("a.txt"), "neu");
}

TEST(CrashSafety, TheLongestFileNamesAreStillWrittenThroughATemporaryFile) {
    test::TempDir dir;
    const std::string name(250, 'n');
    ASSERT_TRUE(fileio::writeFileAtomic(dir.file(name), "erst"));
    ASSERT_TRUE(fileio::writeFileAtomic(dir.file(name), "dann"));
    EXPECT_EQ(dir.read(name), "dann");
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{name});
}

TEST(CrashSafety, ACopyKilledHalfwayLeavesNoCutOffTarget) {
    test::TempDir dir;
    dir.write("quelle.bin", pattern(500000, 'q'));
    const auto end = test::runInChild([&] {
        fileio::setKillAfterBytes(100000);
        std::string error;
        return fileio::copyFileAtomic(dir.file("quelle.bin"), dir.file("ziel.bin"), error) ? 0 : 1;
    });
    EXPECT_TRUE(end.killed);
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"quelle.bin"});
    std::string error;
    ASSERT_TRUE(fileio::copyFileAtomic(dir.file("quelle.bin"), dir.file("ziel.bin"), error)) << error;
    EXPECT_EQ(dir.read("ziel.bin"), dir.read("quelle.bin"));
    EXPECT_EQ(fs::last_write_time(dir.file("ziel.bin")), fs::last_write_time(dir.file("quelle.bin")));
}

namespace {

// The names that start with "." and hold ".tmp": what a killed copy may leave.
std::vector<std::string> temporaries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& name : entries(folder)) {
        if (name.front() == '.' && name.find(".tmp") != std::string::npos) names.push_back(name);
    }
    return names;
}

// This process's start in clock ticks since boot, as the file module names its temporaries.
std::string ownStart() {
    std::ifstream in("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), {});
    std::istringstream rest(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) rest >> field;
    return field;
}

// A paste (or a move into a bin on another volume) killed in the middle of a copy,
// on a file system that offers no unnamed temporary files.
test::ChildEnd killedWhile(const std::function<void(CopyContext&)>& work, const std::string& binFolder) {
    return test::runInChild([&] {
        test::ScriptedDialogs yes;
        yes.expectConfirmText("", true);
        CopySession session;
        CopyContext context{yes, session, "", binFolder, {}, nullptr};
        fileio::setUnnamedTemporaries(false);
        fileio::setKillAfterBytes(150000);
        work(context);
        return 0;
    });
}

}  // namespace

TEST(CrashSafety, APasteKilledHalfwayLeavesATemporaryThatTheNextPasteRemoves) {
    test::TempDir dir;
    fs::create_directories(dir.file("quelle"));
    fs::create_directories(dir.file("ziel"));
    explorer::MarkedFiles marked;
    for (const char* name : {"a.bin", "b.bin", "c.bin"}) {
        dir.write(std::string("quelle/") + name, pattern(100000, name[0]));
        marked.files.push_back(dir.file(std::string("quelle/") + name));
    }
    const auto end = killedWhile(
        [&](CopyContext& c) { explorer::pasteMarked(marked, dir.file("ziel"), explorer::PasteNames::Unchanged, c, today()); },
        dir.file("papierkorb"));
    ASSERT_TRUE(end.killed);
    ASSERT_EQ(temporaries(dir.file("ziel")).size(), 1u);
    EXPECT_EQ(temporaries(dir.file("ziel"))[0].rfind(".b.bin.tmp", 0), 0u);
    // A temporary of a process still running (this one) stays; one whose number a
    // later process took over does not.
    const std::string mine = ".x.bin.tmp" + std::to_string(::getpid()) + "-" + ownStart() + "-000001";
    const std::string reused = ".y.bin.tmp" + std::to_string(::getpid()) + "-1" + ownStart() + "-000002";
    dir.write("ziel/" + mine, "in Arbeit");
    dir.write("ziel/" + reused, "Rest");
    dir.write("ziel/.z.bin.tmp123456", "fremd");  // an earlier version's name, in a folder of the user's

    test::ScriptedDialogs dialogs;
    test::RecordingSound sound;
    SettingsStore store;
    Tones tones{store, sound};
    CopySession session;
    CopyContext context{dialogs, session, "", dir.file("papierkorb"), {}, &tones};
    dialogs.expectConfirmText("Dateien kopieren.", true).expectAsk("", Answer::Yes).expectInform("");
    explorer::pasteMarked(marked, dir.file("ziel"), explorer::PasteNames::Unchanged, context, today());
    EXPECT_EQ(temporaries(dir.file("ziel")), (std::vector<std::string>{mine, ".z.bin.tmp123456"}));
    for (const char* name : {"a.bin", "b.bin", "c.bin"}) {
        EXPECT_EQ(dir.read(std::string("ziel/") + name), dir.read(std::string("quelle/") + name)) << name;
    }
}

TEST(CrashSafety, AMoveIntoTheBinKilledHalfwayLeavesATemporaryThatTheNextStartRemoves) {
    test::TempDir dir;
    const std::string binFolder = dir.file("prog/papierkorb");
    fs::create_directories(binFolder);
    test::SmallVolume volume(binFolder, 4 * 1024 * 1024);
    if (!volume.mounted()) GTEST_SKIP() << "Kein tmpfs einhängbar (keine Rechte zum Einhängen): Test übersprungen.";
    dir.write("brief.bin", pattern(300000, 'b'));
    const auto end = killedWhile(
        [&](CopyContext& c) { explorer::moveToBin({dir.file("brief.bin")}, c, today()); }, binFolder);
    ASSERT_TRUE(end.killed);
    EXPECT_EQ(dir.read("brief.bin"), pattern(300000, 'b'));  // nothing lost
    ASSERT_EQ(temporaries(binFolder).size(), 1u);
    EXPECT_EQ(temporaries(binFolder)[0].rfind("._b_", 0), 0u);
    EXPECT_TRUE(bin::binEntries(binFolder).empty());
    bin::purge(binFolder, today(), std::chrono::system_clock::now());
    EXPECT_TRUE(entries(binFolder).empty());
}

namespace {

struct SaveCrashTest : test::DocumentFilesFixture {
    std::string old = savedForm(pattern(300000, 'o'));
    std::string fresh = pattern(350000, 'n');

    void SetUp() override {
        DocumentFilesFixture::SetUp();
        fs::create_directories(dir.file("doc"));
        dir.write("doc/brief.txt", old);
        docs.type(0, fresh);
        docs.docs[0].fileName = dir.file("doc/brief.txt");
    }
    std::string backup() const {
        return paths.binFolder() + "/" + bin::binName(dir.file("doc/brief.txt"), today(), old.size());
    }
    // A save in a child, with the prompts it met (`messages` of any text) written
    // to a file for the parent.
    test::ChildEnd saveInChild(std::optional<size_t> killAt, bool asNobody, int messages = 0) {
        const std::string log = dir.file("prompts.txt");
        return test::runInChild(
            [&] {
                for (int i = 0; i < messages; ++i) dialogs.expectInform("");
                fileio::setKillAfterBytes(killAt);
                const bool saved = files.saveDocument(0, dir.file("doc/brief.txt"));
                std::ofstream out(log, std::ios::binary);
                for (const auto& p : dialogs.log()) out << p.text << "\n";
                return saved ? 0 : 1;
            },
            asNobody);
    }
    std::string prompts() const { return dir.read("prompts.txt"); }
    // The document folder refuses new files to a user; the document stays writable.
    void lockDocumentFolder() {
        fs::permissions(dir.path(), fs::perms::all);
        fs::permissions(paths.folder, fs::perms::all);
        fs::permissions(dir.file("doc/brief.txt"), fs::perms::all);
        fs::permissions(dir.file("doc"), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                             fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    }
};

}  // namespace

TEST_F(SaveCrashTest, KilledWhileTheDayBackupIsCopiedLeavesNoCutOffBackupAndTheNextSaveMakesIt) {
    const auto end = saveInChild(100000, false);
    EXPECT_TRUE(end.killed);
    EXPECT_EQ(dir.read("doc/brief.txt"), old);
    EXPECT_TRUE(!fs::exists(paths.binFolder()) || entries(paths.binFolder()).empty());
    ASSERT_TRUE(files.saveDocument(0, dir.file("doc/brief.txt")));
    EXPECT_EQ(dir.read("doc/brief.txt"), savedForm(fresh));
    std::ifstream in(backup(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old);
}

TEST_F(SaveCrashTest, ACutOffBackupOfAnEarlierVersionCountsAsMissing) {
    fs::create_directories(paths.binFolder());
    {
        std::ofstream cut(backup(), std::ios::binary);
        cut << old.substr(0, 65536);
    }
    ASSERT_TRUE(files.saveDocument(0, dir.file("doc/brief.txt")));
    std::ifstream in(backup(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old);
}

TEST_F(SaveCrashTest, InPlaceRewriteKilledHalfwayLeavesACompleteBackup) {
    lockDocumentFolder();
    // The backup (300,002 bytes) is complete before the document is touched.
    const auto end = saveInChild(old.size() + 100000, true);
    ASSERT_NE(end.exitCode, 120) << "cannot drop root";
    EXPECT_TRUE(end.killed);
    std::ifstream in(backup(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old);
    EXPECT_EQ(entries(dir.file("doc")), std::vector<std::string>{"brief.txt"});
}

TEST_F(SaveCrashTest, AnInPlaceSaveCutOffByACrashIsNamedAtTheNextStartWithItsBackupOffered) {
    lockDocumentFolder();
    const std::string doc = dir.file("doc/brief.txt");
    for (const Answer answer : {Answer::Yes, Answer::No}) {
        dir.write("doc/brief.txt", old);
        // The day backup is written only once; then the document's own bytes come first.
        const auto end = saveInChild((fs::exists(backup()) ? 0 : old.size()) + 100000, true);
        ASSERT_NE(end.exitCode, 120) << "cannot drop root";
        ASSERT_TRUE(end.killed);
        const std::string cut = dir.read("doc/brief.txt");
        ASSERT_NE(cut, old);
        ASSERT_NE(cut, savedForm(fresh));

        // The next start, as the user: the folder still refuses new files, so the backup goes back in place.
        const auto started = test::runInChild(
            [&] {
                test::ScriptedDialogs start;
                start.expectAsk("Das Speichern von \"" + doc + "\" wurde unterbrochen (Absturz oder Stromausfall).\rDie "
                                "Datei ist vermutlich unvollständig.\r\rDer alte Stand liegt im Papierkorb:\r\"" +
                                    backup() + "\"\r\rAlten Stand wiederherstellen?",
                                answer);
                offerInterruptedSaves(paths, start);
                return start.scriptDone() && start.log().size() == 1 ? 0 : 1;
            },
            true);
        EXPECT_EQ(started.exitCode, 0);
        EXPECT_EQ(dir.read("doc/brief.txt"), answer == Answer::Yes ? old : cut);
        EXPECT_EQ(entries(dir.file("doc")), std::vector<std::string>{"brief.txt"});
        // One answer settles it: the next start asks nothing.
        test::ScriptedDialogs again;
        offerInterruptedSaves(paths, again);
        EXPECT_TRUE(again.log().empty());
    }
    // A save in place that ends normally leaves no record behind.
    const auto end = saveInChild(std::nullopt, true);
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_EQ(dir.read("doc/brief.txt"), savedForm(fresh));
    for (const auto& name : entries(paths.folder)) EXPECT_EQ(name.find(".speichern-"), std::string::npos) << name;
}

TEST_F(SaveCrashTest, InPlaceRewriteWithoutABackupIsRefused) {
    lockDocumentFolder();
    // No bin can be made: a program folder without write access.
    fs::permissions(paths.folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                      fs::perms::others_exec);
    const auto end = saveInChild(std::nullopt, true, 1);  // the failed backup stops the save
    EXPECT_EQ(end.exitCode, 1);
    EXPECT_EQ(dir.read("doc/brief.txt"), old);
    EXPECT_EQ(prompts().rfind("Keine Sicherungskopie von \"" + dir.file("doc/brief.txt") + "\" im Papierkorb \"" +
                                  paths.binFolder() + "\" möglich:",
                              0),
              0u)
        << prompts();
}

TEST_F(SaveCrashTest, FullDiskLeavesTheFileByteIdenticalBothWays) {
    fs::create_directories(dir.file("voll"));
    test::SmallVolume volume(dir.file("voll"), 1024 * 1024);
    if (!volume.mounted()) GTEST_SKIP() << "Kein tmpfs einhängbar (keine Rechte zum Einhängen): Test übersprungen.";
    paths.folder = dir.file("voll/prog/");
    fs::create_directories(paths.folder);
    dir.write("voll/brief.txt", old);
    docs.docs[0].fileName = dir.file("voll/brief.txt");
    // Fill the volume so that the new text no longer fits next to the old one.
    dir.write("voll/fueller", std::string(1024 * 1024 - 2 * old.size() - 40000, 'f'));

    // A full volume is named; no write protection is blamed.
    const std::string fullMessage =
        "Kann \"" + dir.file("voll/brief.txt") + "\" nicht speichern!\rDatenträger \"" + dir.file("voll") + "\" ist voll.";
    dialogs.expectInform(fullMessage);
    EXPECT_FALSE(files.saveDocument(0, dir.file("voll/brief.txt")));
    EXPECT_EQ(dir.read("voll/brief.txt"), old);

    // In place (the folder refuses new files): the space is reserved first.
    fs::permissions(dir.path(), fs::perms::all);
    fs::permissions(dir.file("voll"), fs::perms::all);
    fs::permissions(dir.file("voll/brief.txt"), fs::perms::all);
    fs::permissions(paths.folder, fs::perms::all);
    fs::create_directories(paths.binFolder());
    fs::permissions(paths.binFolder(), fs::perms::all);
    fs::permissions(dir.file("voll"), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                          fs::perms::others_exec);
    const auto end = test::runInChild(
        [&] {
            test::ScriptedDialogs quiet;
            quiet.expectInform(fullMessage);
            DocumentFiles child{docs, quiet, store, paths, entities, tones};
            const bool saved = child.saveDocument(0, dir.file("voll/brief.txt"));
            std::ofstream out(dir.file("prompts.txt"), std::ios::binary);
            for (const auto& p : quiet.log()) out << p.text << "\n";
            return saved ? 0 : 1;
        },
        true);
    EXPECT_EQ(end.exitCode, 1);
    EXPECT_EQ(dir.read("voll/brief.txt"), old);
    EXPECT_EQ(prompts(), fullMessage + "\n");
}
