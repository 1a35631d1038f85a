// A real scan through SANE's test backend.
#include <gtest/gtest.h>

#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <QAction>
#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "ExplorerParts.h"
#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"
#include "platform/pictures/PictureFiles.h"
#include "platform/pictures/ScanimageProcess.h"

using namespace pictra;
namespace batch = pictra::pictures::batch;

TEST(Scanimage, ScansFromTheTestBackend) {
    if (QStandardPaths::findExecutable("scanimage").isEmpty()) {
        GTEST_SKIP() << "scanimage (Debian package sane-utils) is not installed";
    }
    test::TempDir dir;
    std::ofstream(dir.file("dll.conf")) << "test\n";
    const char* old = std::getenv("SANE_CONFIG_DIR");
    const std::string kept = old ? old : "";
    setenv("SANE_CONFIG_DIR", dir.path().c_str(), 1);
    const auto devices = batch::scannerDevices(platform::pictures::ScanimageProcess::listDevices());
    ASSERT_FALSE(devices.empty());
    EXPECT_EQ(devices.front().name, "test:0");
    platform::pictures::ScanimageProcess process;
    test::ScriptedDialogs dialogs;
    const std::string target = dir.file("scan 1.png");
    const auto outcome = batch::runScan(process, batch::scanArguments(devices.front().name, target), false, dialogs,
                                        [&] { return std::filesystem::exists(target); });
    if (old) {
        setenv("SANE_CONFIG_DIR", kept.c_str(), 1);
    } else {
        unsetenv("SANE_CONFIG_DIR");
    }
    ASSERT_EQ(outcome, batch::ScanOutcome::Scanned);
    const auto picture = platform::pictures::loadPicture(target);
    EXPECT_GE(picture.bitmap.width(), 1);
}

TEST(Scanimage, AutomaticScanFromTheExplorerShowsThePictureAndProposesTheNextName) {
    if (QStandardPaths::findExecutable("scanimage").isEmpty()) {
        GTEST_SKIP() << "scanimage (Debian package sane-utils) is not installed";
    }
    test::UiFixture f;
    std::ofstream(f.dir.file("dll.conf")) << "test\n";
    setenv("SANE_CONFIG_DIR", f.dir.path().c_str(), 1);
    test::ExplorerParts parts{f};
    ui::ExplorerShared& shared = parts.shared;
    std::string shown;
    ui::ExplorerHooks hooks;
    hooks.showPicture = [&](const std::string& path, const std::vector<std::string>&) { shown = path; };
    ui::ExplorerWindow explorer(shared, '1', hooks);
    f.store.writeValue("SectBild", "SchlBild", "/bilder/scan09.png");
    explorer.findChild<QAction*>("ScannenAutomatisch1")->trigger();
    unsetenv("SANE_CONFIG_DIR");
    EXPECT_EQ(shown, f.paths.folder + "pictra_scan.png");
    EXPECT_TRUE(std::filesystem::exists(shown));
    EXPECT_EQ(f.store.readValue("SectBild", "SchlBild"), "/bilder/scan10.png");
}
