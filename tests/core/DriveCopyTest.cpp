#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include <filesystem>

#include "TempDir.h"
#include "explorer/drivecopy/DriveCopy.h"

namespace pictra::drivecopy {
namespace {

namespace fs = std::filesystem;

TEST(DriveCopy, WhatIsCopied) {
    struct Case {
        const char* what;
        std::optional<FileState> target;
        bool onlyNew;
        bool coarse;
        Verdict verdict;
    };
    const FileState source{100, 1000};
    const Case cases[] = {
        {"missing", std::nullopt, false, false, Verdict::Copy},
        {"missing, only new ones", std::nullopt, true, false, Verdict::Copy},
        {"current", FileState{100, 1000}, false, false, Verdict::Same},
        {"other size", FileState{99, 1000}, false, false, Verdict::Copy},
        {"older target", FileState{100, 990}, false, false, Verdict::Copy},
        {"newer target", FileState{100, 1001}, false, false, Verdict::TargetNewer},
        {"changed, only new ones", FileState{5, 10}, true, false, Verdict::Same},
        {"FAT: one second off", FileState{100, 1001}, false, true, Verdict::Same},
        {"FAT: two seconds older", FileState{100, 998}, false, true, Verdict::Same},
        {"FAT: three seconds newer", FileState{100, 1003}, false, true, Verdict::TargetNewer},
        {"FAT: three seconds older", FileState{100, 997}, false, true, Verdict::Copy},
    };
    for (const Case& c : cases) EXPECT_EQ(decide(source, c.target, c.onlyNew, c.coarse), c.verdict) << c.what;
}

TEST(DriveCopy, NamesAFatStickCannotHold) {
    for (const char* bad : {"a:b.txt", "Fragen?.txt", "x/stern*.txt", "ordner./a.txt", "a.txt ", "zitat\"a\".txt",
                            "pfeil<>.txt", "rohr|.txt", "rück\\strich"}) {
        EXPECT_TRUE(fatCannotHold(bad)) << bad;
    }
    for (const char* good : {"a.txt", "Übung 1/Blatt.odt", ".versteckt", "x/y/z"}) EXPECT_FALSE(fatCannotHold(good)) << good;
}

struct DriveCopyRun : ::testing::Test {
    test::TempDir dir;
    std::string source() { return dir.path() + "quelle/"; }
    std::string target() { return dir.path() + "stick/sicherung/"; }
    void put(const std::string& relative, const std::string& bytes, std::time_t modified) {
        fs::create_directories(fs::path(source() + relative).parent_path());
        dir.write("quelle/" + relative, bytes);
        setTime(source() + relative, modified);
    }
    static void setTime(const std::string& path, std::time_t modified) {
        const utimbuf times{modified, modified};
        ASSERT_EQ(::utime(path.c_str(), &times), 0);
    }
    Report runOnce(Progress& progress, bool onlyNew = false) {
        std::atomic<bool> stop{false};
        std::vector<std::string> folders = topFolders(source());
        folders.erase(std::remove(folders.begin(), folders.end(), source() + "Musik/"), folders.end());
        return run(Job{source(), target(), folders, onlyNew}, progress, stop);
    }
};

TEST_F(DriveCopyRun, CopiesNewAndChangedFilesAndKeepsNewerTargets) {
    put("Texte/brief.txt", "Liebe Eltern", 1000000);
    put("Texte/alt/notiz.txt", "Notiz", 1000000);
    put("Bilder/a.jpg", "JPEG", 1000000);
    put("Musik/lied.mp3", "MP3", 1000000);
    put(".versteckt/geheim.txt", "x", 1000000);
    ASSERT_EQ(::mkfifo((source() + "Texte/rohr").c_str(), 0600), 0);
    EXPECT_EQ(topFolders(source()), (std::vector<std::string>{source() + "Bilder/", source() + "Musik/", source() + "Texte/"}));

    Progress first;
    Report report = runOnce(first);
    EXPECT_EQ(first.seen.load(), 5u);  // the FIFO counts as seen, the hidden folder is not walked
    EXPECT_EQ(first.copied.load(), 3u);
    EXPECT_TRUE(report.failed.empty());
    EXPECT_EQ(dir.read("stick/sicherung/Texte/alt/notiz.txt"), "Notiz");
    EXPECT_FALSE(fs::exists(target() + "Musik"));  // removed from the list: counted, not copied
    EXPECT_FALSE(fs::exists(target() + "Texte/rohr"));

    Progress again;
    runOnce(again);
    EXPECT_EQ(again.copied.load(), 0u);

    // A changed letter goes again; a copy cut off earlier is completed; a target
    // changed on the stick after the source stays and is listed.
    put("Texte/brief.txt", "Liebe Eltern und Kinder", 1000500);
    dir.write("stick/sicherung/Bilder/a.jpg", "JP");
    setTime(target() + "Bilder/a.jpg", 999000);
    dir.write("stick/sicherung/Texte/alt/notiz.txt", "Neuere Notiz");
    setTime(target() + "Texte/alt/notiz.txt", 2000000);
    Progress third;
    report = runOnce(third);
    EXPECT_EQ(third.copied.load(), 2u);
    EXPECT_EQ(dir.read("stick/sicherung/Texte/brief.txt"), "Liebe Eltern und Kinder");
    EXPECT_EQ(dir.read("stick/sicherung/Bilder/a.jpg"), "JPEG");
    EXPECT_EQ(dir.read("stick/sicherung/Texte/alt/notiz.txt"), "Neuere Notiz");
    EXPECT_EQ(report.newer, (std::vector<std::string>{target() + "Texte/alt/notiz.txt"}));
    EXPECT_EQ(reportText(report), "Nicht ersetzt, weil auf dem Ziel neuer:\r\n" + target() + "Texte/alt/notiz.txt\r\n\r\n");

    // "Nur neue Dateien übertragen" leaves changed files alone.
    put("Texte/brief.txt", "ganz anders", 1001000);
    Progress onlyNew;
    runOnce(onlyNew, true);
    EXPECT_EQ(onlyNew.copied.load(), 0u);
}

TEST_F(DriveCopyRun, ATargetInsideAListedFolderIsRefused) {
    fs::create_directories(source() + "Texte");
    fs::create_directories(source() + "Bilder");
    const std::vector<std::string> folders = topFolders(source());
    EXPECT_EQ(targetProblem(source() + "Texte/sicherung", folders), std::string(kTargetNote));
    EXPECT_EQ(targetProblem(source() + "Texte", folders), std::string(kTargetNote));
    EXPECT_EQ(targetProblem(source() + "Textesicherung", folders), std::nullopt);
    EXPECT_EQ(targetProblem(dir.path() + "stick", folders), std::nullopt);
}

TEST_F(DriveCopyRun, AStopEndsTheWalkAndCountsOnlyWhatWasCopied) {
    for (int i = 0; i < 200; ++i) put("Texte/t" + std::to_string(i) + ".txt", "x", 1000000);
    std::atomic<bool> stop{true};
    Progress progress;
    const Report report = run(Job{source(), target(), topFolders(source()), false}, progress, stop);
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(progress.copied.load(), 0u);
}

}  // namespace
}  // namespace pictra::drivecopy
