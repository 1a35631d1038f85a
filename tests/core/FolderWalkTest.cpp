#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TempDir.h"
#include "explorer/search/SearchRun.h"
#include "explorer/walk/FolderWalk.h"

namespace pictra::walk {
namespace {

struct Seen {
    std::mutex mutex;
    std::vector<std::string> files;
    std::vector<std::string> unreadable;
    WalkSink sink() {
        return {[this](const WalkFile& f) {
                    std::lock_guard lock(mutex);
                    files.push_back(f.path);
                },
                [this](const std::string& p) {
                    std::lock_guard lock(mutex);
                    unreadable.push_back(p);
                }};
    }
};

void makeTree(const test::TempDir& dir) {
    mkdir(dir.file("b").c_str(), 0755);
    mkdir(dir.file("b/c").c_str(), 0755);
    mkdir(dir.file(".versteckt").c_str(), 0755);
    dir.write("z.txt", "1");
    dir.write("a.txt", "2");
    dir.write("b/x.txt", "3");
    dir.write("b/c/y.txt", "4");
    dir.write(".versteckt/h.txt", "5");
    dir.write(".datei", "6");
}

enum class Mode { Sorted, Parallel };

std::vector<std::string> walked(const std::string& root, Mode mode, bool recursive, Seen& seen) {
    std::atomic<bool> stop{false};
    WalkOptions options;
    options.recursive = recursive;
    if (mode == Mode::Sorted) walkSorted(root, options, seen.sink(), stop);
    else walkParallel(root, options, seen.sink(), stop, 2);
    return seen.files;
}

class Walk : public ::testing::TestWithParam<Mode> {};

TEST_P(Walk, DotFoldersSkippedDotFilesKept) {
    test::TempDir dir;
    makeTree(dir);
    Seen seen;
    auto files = walked(dir.path(), GetParam(), true, seen);
    if (GetParam() == Mode::Parallel) std::sort(files.begin(), files.end());
    const std::string r = dir.path();
    if (GetParam() == Mode::Sorted)
        EXPECT_EQ(files, (std::vector<std::string>{r + ".datei", r + "a.txt", r + "z.txt", r + "b/x.txt",
                                                   r + "b/c/y.txt"}));
    else
        EXPECT_EQ(files, (std::vector<std::string>{r + ".datei", r + "a.txt", r + "b/c/y.txt", r + "b/x.txt",
                                                   r + "z.txt"}));
    Seen flat;
    EXPECT_EQ(walked(dir.path(), GetParam(), false, flat).size(), 3u);
}

TEST_P(Walk, SymlinkedFolderNotFollowedLinkedFileCounts) {
    test::TempDir dir;
    makeTree(dir);
    ASSERT_EQ(symlink("..", dir.file("b/hoch").c_str()), 0);
    ASSERT_EQ(symlink("x.txt", dir.file("b/verweis.txt").c_str()), 0);
    Seen seen;
    auto files = walked(dir.path(), GetParam(), true, seen);
    EXPECT_EQ(files.size(), 6u);
    EXPECT_EQ(std::count(files.begin(), files.end(), dir.file("b/verweis.txt")), 1);
}

TEST_P(Walk, BindMountLoopEnteredOnce) {
    test::TempDir dir;
    makeTree(dir);
    mkdir(dir.file("b/schleife").c_str(), 0755);
    if (mount(dir.path().c_str(), dir.file("b/schleife").c_str(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "no bind mounts here";
    Seen seen;
    auto files = walked(dir.path(), GetParam(), true, seen);
    umount2(dir.file("b/schleife").c_str(), MNT_DETACH);
    EXPECT_EQ(files.size(), 5u);
}

TEST_P(Walk, FifoListedNeverOpenedInvalidNameReached) {
    test::TempDir dir;
    ASSERT_EQ(mkfifo(dir.file("rohr").c_str(), 0644), 0);
    const std::string odd = "caf\xe9.txt";  // Windows-1252 bytes, not UTF-8
    dir.write(odd, "gesucht");
    Seen seen;
    auto files = walked(dir.path(), GetParam(), true, seen);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{dir.file(odd), dir.file("rohr")}));
    // A search for text would block for ever on the FIFO if it opened it.
    filesearch::Criteria criteria;
    criteria.texts[0] = "gesucht";
    filesearch::SearchRun run(criteria, dir.path(), true, 0);
    run.start(2);
    while (!run.finished()) run.waitForNews(std::chrono::milliseconds(100));
    const auto hits = run.takeHits();
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].path, dir.file(odd));
    EXPECT_FALSE(hits[0].unreadable);
}

TEST_P(Walk, UnreadableFolderAndFileReportedWalkGoesOn) {
    test::TempDir dir;
    makeTree(dir);
    chmod(dir.path().c_str(), 0755);
    chmod(dir.file("b").c_str(), 0700);
    dir.write("geheim.txt", "gesucht");
    chmod(dir.file("geheim.txt").c_str(), 0600);
    dir.write("offen.txt", "gesucht");
    chmod(dir.file("offen.txt").c_str(), 0644);
    const Mode mode = GetParam();
    const std::string root = dir.path();
    const auto end = test::runInChild(
        [&] {
            filesearch::Criteria criteria;
            criteria.texts[0] = "gesucht";
            filesearch::SearchRun run(criteria, root, true, 0, filesearch::Engine::Best);
            run.start(mode == Mode::Sorted ? 1 : 2);
            while (!run.finished()) run.waitForNews(std::chrono::milliseconds(100));
            std::vector<std::string> lines;
            for (const auto& hit : run.takeHits()) lines.push_back(filesearch::resultLine(hit));
            std::sort(lines.begin(), lines.end());
            const std::vector<std::string> expected{root + "b | konnte nicht durchsucht werden",
                                                    root + "geheim.txt | konnte nicht durchsucht werden"};
            if (lines.size() != 3) return 10 + static_cast<int>(lines.size());
            if (lines[0] != expected[0] || lines[1] != expected[1]) return 2;
            return lines[2].rfind(root + "offen.txt|", 0) == 0 ? 0 : 3;
        },
        true);
    EXPECT_EQ(end.exitCode, 0);
}

TEST_P(Walk, StopEndsAtOnce) {
    test::TempDir dir;
    makeTree(dir);
    std::atomic<bool> stop{false};
    int calls = 0;
    WalkSink sink{[&](const WalkFile&) {
                      ++calls;
                      stop = true;
                  },
                  [](const std::string&) {}};
    const bool complete = GetParam() == Mode::Sorted ? walkSorted(dir.path(), {}, sink, stop)
                                                     : walkParallel(dir.path(), {}, sink, stop, 1);
    EXPECT_FALSE(complete);
    EXPECT_EQ(calls, 1);
}

INSTANTIATE_TEST_SUITE_P(Modes, Walk, ::testing::Values(Mode::Sorted, Mode::Parallel),
                         [](const auto& p) { return p.param == Mode::Sorted ? "Sorted" : "Parallel"; });

}  // namespace
}  // namespace pictra::walk
