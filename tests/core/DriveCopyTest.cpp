#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <algorithm>
#include <filesystem>

#include "ChildProcess.h"
#include "TempDir.h"
#include "common/FileIo.h"
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

TEST(DriveCopy, TheWindowsLastWordOnARun) {
    struct Case {
        Report report;
        std::uint64_t copied;
        const char* text;
    };
    Report failed;
    failed.failed = {"/a: Keine Berechtigung"};
    failed.unfit = {"/b:c"};
    Report stopped;
    stopped.stopped = true;
    Report full;
    full.targetFull = true;
    full.failed = {"/d: Kein Platz"};
    const Case cases[] = {
        {Report{}, 0, "Fertig: 0 Dateien kopiert"},
        {Report{}, 1, "Fertig: 1 Datei kopiert"},
        {failed, 12, "Fertig: 12 Dateien kopiert, 2 Dateien nicht kopiert"},
        {stopped, 3, "Gestoppt: 3 Dateien kopiert"},
        {full, 7, "Ziel voll: 7 Dateien kopiert, 1 Datei nicht kopiert"},
    };
    for (const Case& c : cases) EXPECT_EQ(endText(c.report, c.copied), c.text);
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

// The files below `folder`, relative, in order.
std::vector<std::string> filesBelow(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        if (e.is_regular_file()) files.push_back(fs::relative(e.path(), folder).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string pattern(std::size_t size, char seed) {
    std::string s(size, seed);
    for (std::size_t i = 0; i < size; i += 101) s[i] = static_cast<char>('a' + (i / 101) % 26);
    return s;
}

TEST_F(DriveCopyRun, AKillMidCopyLeavesNoHalfFileAndTheNextRunCompletesIt) {
    // One folder, so that one worker copies the files one after the other.
    const std::vector<std::string> names{"Texte/a.bin", "Texte/b.bin", "Texte/c.bin"};
    for (std::size_t i = 0; i < names.size(); ++i) put(names[i], pattern(200000, static_cast<char>('A' + i)), 1000000);
    struct Case {
        bool unnamedTemporaries;  // false: as on a FAT stick, the copy is a named file until its rename
        std::size_t killAfter;    // bytes written before the kill
    };
    for (const Case c : {Case{true, 0}, Case{true, 300000}, Case{false, 0}, Case{false, 150000}, Case{false, 599999}}) {
        const std::string what = (c.unnamedTemporaries ? "unnamed, " : "named, ") + std::to_string(c.killAfter);
        fs::remove_all(dir.path() + "stick");
        const auto end = test::runInChild([&] {
            fileio::setUnnamedTemporaries(c.unnamedTemporaries);
            fileio::setKillAfterBytes(c.killAfter);
            Progress progress;
            runOnce(progress);
            return 0;
        });
        ASSERT_TRUE(end.killed) << what;
        // Only whole copies carry a file's name; a cut-off one is at most a hidden temporary.
        for (const std::string& file : fs::exists(target()) ? filesBelow(target()) : std::vector<std::string>{}) {
            if (fs::path(file).filename().string().front() == '.') {
                EXPECT_FALSE(c.unnamedTemporaries) << what << ": " << file;
                continue;
            }
            EXPECT_EQ(dir.read("stick/sicherung/" + file), dir.read("quelle/" + file)) << what << ": " << file;
        }
        Progress progress;
        const Report report = runOnce(progress);
        EXPECT_TRUE(report.failed.empty()) << what;
        EXPECT_EQ(filesBelow(target()), names) << what;
        for (const std::string& file : names) {
            EXPECT_EQ(dir.read("stick/sicherung/" + file), dir.read("quelle/" + file)) << what << ": " << file;
        }
    }
}

TEST_F(DriveCopyRun, OnAFatStickTimesMatchWithinTwoSecondsAndUnfitNamesAreListed) {
    if (::getuid() != 0 || ::system("command -v mkfs.fat >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "Kein FAT-Abbild möglich (root und mkfs.fat nötig)";
    }
    const std::string image = dir.file("stick.img");
    fs::create_directories(dir.path() + "stick");
    ASSERT_EQ(::system(("truncate -s 8M '" + image + "' && mkfs.fat '" + image + "' >/dev/null").c_str()), 0);
    if (::system(("mount -o loop '" + image + "' '" + dir.path() + "stick' 2>/dev/null").c_str()) != 0) {
        GTEST_SKIP() << "Das FAT-Abbild lässt sich hier nicht einhängen (kein vfat im Kern oder kein Loop-Gerät)";
    }
    // An odd second: FAT keeps times in steps of two.
    put("Texte/brief.txt", "Liebe Eltern", 1000001);
    put("Texte/Frage?.txt", "?", 1000001);
    put("Texte/ende .txt", "Blank", 1000001);
    Progress first;
    Report report = runOnce(first);
    Progress again;
    const Report second = runOnce(again);
    ::umount2((dir.path() + "stick").c_str(), MNT_DETACH);
    EXPECT_EQ(first.copied.load(), 1u);
    EXPECT_TRUE(report.failed.empty());
    EXPECT_EQ(report.unfit, (std::vector<std::string>{source() + "Texte/Frage?.txt", source() + "Texte/ende .txt"}));
    EXPECT_EQ(again.copied.load(), 0u);  // the rounded time counts as the same
    EXPECT_EQ(second.unfit.size(), 2u);
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
