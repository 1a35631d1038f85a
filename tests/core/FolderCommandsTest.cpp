#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "ChildProcess.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "explorer/FileLines.h"
#include "explorer/folders/FolderCommands.h"
#include "explorer/folders/LargestFiles.h"
#include "settings/SettingsStore.h"

using namespace pictra;
using namespace pictra::folders;
namespace fs = std::filesystem;

namespace {

constexpr const char* kBinConfirm = "Dateien in den Papierkorb verschieben";

// A file of the size without its bytes on disk.
void sparse(const std::string& path, off_t size) {
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);
}

struct FolderCommandsTest : ::testing::Test {
    test::TempDir dir;
    SettingsStore store;
    test::ScriptedDialogs dialogs;
    test::RecordingSound sound;
    Tones tones{store, sound};
    CopySession session;
    std::string binFolder = dir.path() + "prog/papierkorb";
    CopyContext copies{dialogs, session, "", binFolder, {}, &tones};
    std::vector<std::string> mountPoints;
    FolderContext context{copies, [this](const std::string& f) {
                              return std::find(mountPoints.begin(), mountPoints.end(), f) != mountPoints.end();
                          },
                          "/home/niemand", {2026, 12, 11}};

    std::string folder(const std::string& name) {
        fs::create_directories(dir.file(name));
        return dir.file(name);
    }
};

}  // namespace

TEST(LargestFiles, KeepsTheHundredLargestWhateverTheOrder) {
    std::vector<SizedPath> all;
    for (int i = 0; i < 1000; ++i) all.push_back({kLargeFileBytes - 500 + std::uintmax_t(i) * 7919 % 100003, "/f" + std::to_string(i)});
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        std::shuffle(all.begin(), all.end(), random);
        LargestFiles first;
        LargestFiles second;
        for (std::size_t i = 0; i < all.size(); ++i) (i % 2 ? first : second).add(all[i].size, all[i].path);
        first.merge(second);
        std::vector<SizedPath> expected;
        for (const auto& f : all)
            if (f.size > kLargeFileBytes) expected.push_back(f);
        std::sort(expected.begin(), expected.end(),
                  [](const SizedPath& a, const SizedPath& b) { return a.size != b.size ? a.size > b.size : a.path < b.path; });
        expected.resize(kLargestKept);
        std::reverse(expected.begin(), expected.end());
        const auto got = first.sorted();
        ASSERT_EQ(got.size(), kLargestKept);
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].size, expected[i].size);
            EXPECT_EQ(got[i].path, expected[i].path);
        }
    }
}

TEST(LargestFiles, LinesCarryTenDigitsOrMoreAndTheDoubleClickFindsThePath) {
    const struct {
        std::uintmax_t size;
        std::string path;
        std::string line;
    } cases[] = {
        {10000000, "/home/anna/film.mp4", "-->0010000000 /home/anna/film.mp4"},
        {9999999999, "/a b/c d.iso", "-->9999999999 /a b/c d.iso"},
        {12345678901, "/home/anna/platte.img", "-->12345678901 /home/anna/platte.img"},
    };
    for (const auto& c : cases) {
        const std::string line = largestFileLine({c.size, c.path});
        EXPECT_EQ(line, c.line);
        EXPECT_TRUE(explorer::isSpecialLine(line));
        EXPECT_EQ(explorer::specialLinePath(line), c.path);
    }
}

TEST_F(FolderCommandsTest, LargestFilesFoundBelowTheFolderNotThroughLinks) {
    const std::string root = folder("baum");
    folder("baum/a/b");
    folder("baum/.versteckt");
    folder("draussen");
    sparse(root + "/klein.bin", 9999999);
    sparse(root + "/a/zehn.bin", 10000000);
    sparse(root + "/a/b/riesig.img", 12345678901LL);
    sparse(root + "/.versteckt/mitte.bin", 20000000);
    sparse(dir.file("draussen/fremd.bin"), 30000000);
    ASSERT_EQ(::symlink(dir.file("draussen").c_str(), (root + "/a/verweis").c_str()), 0);
    const auto result = largestFiles(root, context);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.lines, (std::vector<std::string>{"-->0010000000 " + root + "/a/zehn.bin",
                                                      "-->0020000000 " + root + "/.versteckt/mitte.bin",
                                                      "-->12345678901 " + root + "/a/b/riesig.img"}));
}

TEST_F(FolderCommandsTest, NewFolder) {
    const std::string root = folder("hier");
    dialogs.expectAskText("Bezeichnung", std::string("Neu"));
    EXPECT_EQ(createFolder(root, dialogs), root + "/Neu");
    EXPECT_TRUE(fs::is_directory(root + "/Neu"));
    const struct {
        std::optional<std::string> answer;
        std::string message;
    } refused[] = {
        {"Neu", "Ordner oder Datei unter diesem Namen existiert schon."},
        {"a/b", "Der Ordnername \"a/b\" ist nicht möglich. (Kein \"/\" im Namen)"},
        {std::nullopt, ""},
        {"", ""},
    };
    for (const auto& c : refused) {
        dialogs.expectAskText("Bezeichnung", c.answer);
        if (!c.message.empty()) dialogs.expectInform(c.message);
        EXPECT_EQ(createFolder(root, dialogs), std::nullopt);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 1);
}

TEST_F(FolderCommandsTest, EmptyFoldersInnerFirstThenTheParentTheyLeaveEmpty) {
    const std::string root = folder("leer");
    folder("leer/innen");
    dialogs.expectAsk("\"" + root + "/innen/\" löschen?", Answer::Yes);
    dialogs.expectAsk("\"" + root + "/\" löschen?", Answer::Yes);
    removeEmptyFolders(root, context);
    EXPECT_FALSE(fs::exists(root));
}

TEST_F(FolderCommandsTest, EmptyFoldersKeptOnNoAndFoldersWithFilesNeverOffered) {
    const std::string root = folder("teils");
    folder("teils/voll/leer");
    dir.write("teils/voll/datei.txt", "x");
    folder("teils/auch leer");
    dialogs.expectAsk("\"" + root + "/voll/leer/\" löschen?", Answer::No);
    dialogs.expectAsk("\"" + root + "/auch leer/\" löschen?", Answer::Yes);
    removeEmptyFolders(root, context);
    EXPECT_TRUE(fs::is_directory(root + "/voll/leer"));
    EXPECT_FALSE(fs::exists(root + "/auch leer"));
}

TEST_F(FolderCommandsTest, NoEmptyFolderAndAnEmptyMountPointIsNotOffered) {
    const std::string root = folder("stick");
    mountPoints.push_back(root);
    dialogs.expectInform("Keine leeren Unterordner vorhanden!");
    removeEmptyFolders(root + "/", context);
    EXPECT_TRUE(fs::is_directory(root));
}

TEST_F(FolderCommandsTest, FolderWithContentGoesToTheBinAndALinkedFolderOutsideStaysWhole) {
    const std::string root = folder("weg");
    folder("weg/unter");
    const std::string home = folder("heim");
    dir.write("heim/wichtig.txt", "bleibt");
    dir.write("weg/a.txt", "a");
    dir.write("weg/unter/b.txt", "b");
    ASSERT_EQ(::symlink(home.c_str(), (root + "/unter/heimverweis").c_str()), 0);
    dialogs.expectConfirmText(kBinConfirm, true);
    dialogs.expectAsk("Soll der nun leere Ordner \"" + root + "/unter/\" gelöscht werden?", Answer::Yes);
    dialogs.expectAsk("Soll der nun leere Ordner \"" + root + "/\" gelöscht werden?", Answer::Yes);
    EXPECT_TRUE(deleteFolderWithContent(root, context));
    EXPECT_FALSE(fs::exists(root));
    EXPECT_EQ(dir.read("heim/wichtig.txt"), "bleibt");
    EXPECT_EQ(std::distance(fs::directory_iterator(binFolder), fs::directory_iterator()), 2);
}

TEST_F(FolderCommandsTest, FolderWithContentKeptWhenTheBinIsRefusedAndANonEmptyFolderReported) {
    const std::string root = folder("bleibt");
    folder("bleibt/unter/tief");
    dir.write("bleibt/a.txt", "a");
    dialogs.expectConfirmText(kBinConfirm, false);
    dialogs.expectInform("Abbruch");
    EXPECT_FALSE(deleteFolderWithContent(root, context));
    EXPECT_EQ(dir.read("bleibt/a.txt"), "a");

    dialogs.expectConfirmText(kBinConfirm, true);
    dialogs.expectAsk("Soll der nun leere Ordner \"" + root + "/unter/tief/\" gelöscht werden?", Answer::No);
    dialogs.expectAsk("Soll der nun leere Ordner \"" + root + "/unter/\" gelöscht werden?", Answer::Yes);
    dialogs.expectInform("\"" + root + "/unter/\" nicht gelöscht.\rEr enthält (leere) Unterordner.");
    dialogs.expectAsk("Soll der nun leere Ordner \"" + root + "/\" gelöscht werden?", Answer::No);
    EXPECT_TRUE(deleteFolderWithContent(root, context));
    EXPECT_TRUE(fs::is_directory(root + "/unter/tief"));
    EXPECT_FALSE(fs::exists(root + "/a.txt"));
}

TEST_F(FolderCommandsTest, FolderWithContentRefusals) {
    const std::string stick = folder("stick");
    mountPoints.push_back(stick);
    const std::string prog = folder("prog/papierkorb");
    dir.write("prog/papierkorb/x.txt", "x");
    const std::string home = folder("haus/anna");
    dir.write("haus/anna/brief.txt", "x");
    context.homeFolder = home + "/";
    const struct {
        std::string folder;
        std::string message;
    } cases[] = {
        {"/", "\"/\" wird nicht gelöscht! (Formatieren Sie!)"},
        {stick + "/", "\"" + stick + "/\" wird nicht gelöscht! (Formatieren Sie!)"},
        {home, "\"" + home + "/\" wird nicht gelöscht! (Ihr persönlicher Ordner)"},
        {dir.file("haus"), "\"" + dir.file("haus") + "/\" wird nicht gelöscht! (Er enthält Ihren persönlichen Ordner)"},
        {dir.file("prog"), "\"" + dir.file("prog") + "/\" wird nicht gelöscht! (Er enthält den Papierkorb des Programms)"},
        {binFolder, "\"" + binFolder + "/\" wird nicht gelöscht! (Er enthält den Papierkorb des Programms)"},
        {dir.file("fehlt"), "Auf den Ordner kann zur Zeit nicht zugegriffen werden!"},
    };
    for (const auto& c : cases) {
        dialogs.expectInform(c.message);
        EXPECT_FALSE(deleteFolderWithContent(c.folder, context)) << c.folder;
    }
    EXPECT_EQ(dir.read("haus/anna/brief.txt"), "x");
    EXPECT_EQ(dir.read("prog/papierkorb/x.txt"), "x");
}

TEST_F(FolderCommandsTest, AllSubfoldersDepthFirstAndACancelBeforeTheWalk) {
    const std::string root = folder("alle");
    folder("alle/b/c");
    folder("alle/a");
    folder("alle/.d");
    dialogs.expectShowText("Alle 4 Unterverzeichnisse von " + root);
    listAllSubfolders(root + "/", dialogs);
    ASSERT_EQ(dialogs.shownTexts().size(), 1u);
    EXPECT_EQ(dialogs.shownTexts()[0], root + "/.d/\r\n" + root + "/a/\r\n" + root + "/b/\r\n" + root + "/b/c/");

    dialogs.clickCancelAtStep(1);
    dialogs.expectShowText("Alle 0 Unterverzeichnisse von " + root);
    listAllSubfolders(root, dialogs);
}

TEST_F(FolderCommandsTest, AFolderWithoutAccessIsReportedAndTheRestDone) {
    const std::string root = folder("zu");
    folder("zu/gesperrt/innen");
    folder("zu/frei");
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(root.c_str(), 0777), 0);
    ASSERT_EQ(::chmod((root + "/gesperrt").c_str(), 0700), 0);
    ASSERT_EQ(::chmod((root + "/frei").c_str(), 0777), 0);
    const auto end = test::runInChild(
        [&] {
            test::ScriptedDialogs child;
            CopySession s;
            CopyContext c{child, s, "", "", {}, nullptr};
            FolderContext fc{c, [](const std::string&) { return false; }, "", {2026, 12, 11}};
            child.expectInform("Auf folgende Ordner oder Dateien kann nicht zugegriffen werden:\r" + root + "/gesperrt");
            child.expectAsk("\"" + root + "/frei/\" löschen?", Answer::Yes);
            removeEmptyFolders(root, fc);
            const bool done = child.scriptDone() && child.log().size() == 2 && !fs::exists(root + "/frei");
            return done ? 0 : 1;
        },
        true);
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_TRUE(fs::is_directory(root + "/gesperrt/innen"));
}
