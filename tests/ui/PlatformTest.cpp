#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>
#include <filesystem>

#include "ChildProcess.h"
#include "TempDir.h"
#include "platform/Drives.h"
#include "platform/InstanceLock.h"
#include "platform/LocalPaths.h"
#include "platform/ProgramLocation.h"

using namespace pictra;

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstReleases) {
    // A lock of its own, so that a Pictra running on this machine does not interfere.
    test::TempDir dir;
    platform::InstanceLock first(dir.file("pictra.lock"));
    platform::InstanceLock second(dir.file("pictra.lock"));
    ASSERT_TRUE(first.acquire());
    EXPECT_FALSE(second.acquire());
    first.release();
    EXPECT_TRUE(second.acquire());
    second.release();
}

TEST(ProgramLocation, HomeVariableWinsAndBaseIsTheExecutableName) {
    test::TempDir dir;
    const QByteArray old = qgetenv("PICTRA_HOME");
    qputenv("PICTRA_HOME", QByteArray::fromStdString(dir.path() + "daten"));
    const ProgramPaths paths = platform::programPaths("/usr/bin/pictra", {"arbeit", "brief.txt"});
    qputenv("PICTRA_HOME", old);
    EXPECT_EQ(paths.folder, dir.path() + "daten/");
    EXPECT_EQ(paths.base, "pictra");
    EXPECT_EQ(paths.settingsFileName(), dir.path() + "daten/pictraarbeit.ini");
}

TEST(ProgramLocation, WritableExecutableFolderWithoutHomeVariable) {
    test::TempDir dir;
    const QByteArray old = qgetenv("PICTRA_HOME");
    qunsetenv("PICTRA_HOME");
    const std::string folder = platform::programFolder(dir.path() + "pictra");
    qputenv("PICTRA_HOME", old);
    EXPECT_EQ(folder, dir.path());
}

TEST(InstanceLock, AnEmptyOrGarbledLockFileIsStale) {
    test::TempDir dir;
    for (const char* content : {"", "Unsinn\n\x01\x02", "0\n"}) {
        dir.write("pictra.lock", content);
        platform::InstanceLock lock(dir.file("pictra.lock"));
        EXPECT_TRUE(lock.acquire()) << content;
        lock.release();
    }
}

TEST(LocalPaths, ANameThatIsNotUtf8IsFoundAgainFromWhatQtShows) {
    test::TempDir dir;
    dir.write("caf\xe9.txt", "x");
    const QString shown = platform::displayPath(dir.file("caf\xe9.txt"));
    EXPECT_TRUE(shown.contains(QChar::ReplacementCharacter));
    EXPECT_EQ(platform::localPath(shown), dir.file("caf\xe9.txt"));
    EXPECT_EQ(platform::localPath(platform::displayPath(dir.file("Grüße.txt"))), dir.file("Grüße.txt"));
}

TEST(Drives, TwoVolumesAreToldApartByTheirMountPoints) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.file("stick"));
    test::SmallVolume stick(dir.file("stick"), 1 << 20);
    if (!stick.mounted()) GTEST_SKIP() << "Kein tmpfs einhängbar (keine Rechte zum Einhängen): Test übersprungen.";
    EXPECT_FALSE(platform::sameVolume(dir.file("brief.txt"), dir.file("stick/")));
    EXPECT_TRUE(platform::sameVolume(dir.file("a.txt"), dir.file("b/c/noch-nicht-da.txt")));
    EXPECT_TRUE(platform::sameVolume(dir.file("stick/noch/nicht/da"), dir.file("stick")));
    EXPECT_EQ(platform::driveOf(dir.file("stick/x/y")), dir.file("stick"));
}
