#include <gtest/gtest.h>

#include "ScriptedDialogs.h"
#include "pictures/batch/Scanning.h"

using namespace pictra;
using namespace pictra::pictures::batch;

namespace {

// A process that ends after a number of polls, or never.
class FakeScan : public ScanProcess {
public:
    explicit FakeScan(int polls, bool starts = true) : m_polls(polls), m_starts(starts) {}
    bool start(const std::vector<std::string>& arguments) override {
        started = arguments;
        return m_starts;
    }
    bool waitFinished(int) override { return killed || m_polls-- <= 0; }
    void kill() override { killed = true; }
    std::vector<std::string> started;
    bool killed = false;

private:
    int m_polls;
    bool m_starts;
};

const char* const kStopped =
    "Abbruch!\rÜberprüfen Sie das Stromkabel und das Verbindungskabel von Scanner zum Computer.\rWenn das nichts "
    "hilft, "
    "installieren Sie den Scanner mit der mitgeliefertenn CD neu.";

}  // namespace

TEST(Scanning, DevicesArgumentsAndNextNames) {
    const auto devices = scannerDevices(
        "device `test:0' is a Noname frontend-tester virtual device\ndevice `hpaio:/usb/x?serial=1' is a HP "
        "scanner\nNo more\n");
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[1].name, "hpaio:/usb/x?serial=1");
    EXPECT_EQ(devices[1].description, "HP scanner");
    EXPECT_EQ(scanArguments("test:0", "/p/s c.png"),
              (std::vector<std::string>{"-d", "test:0", "--format=png", "-o", "/p/s c.png"}));
    EXPECT_EQ(scanArguments("", "/p/s.png"), (std::vector<std::string>{"--format=png", "-o", "/p/s.png"}));
    for (const auto& [in, out] : std::vector<std::pair<std::string, std::string>>{
             {"/a/bild009.png", "/a/bild010.png"},
             {"/a/x1.jpg", "/a/x2.jpg"},
             {"/a/s99.bmp", "/a/s100.bmp"},
             {"/a/ohne.png", "/a/ohne.png"},
             {"/a/b1x.png", "/a/b1x.png"},
             {"/a/99999999999999999999.png", "/a/100000000000000000000.png"}}) {
        EXPECT_EQ(nextPictureName(in), out) << in;
    }
}

TEST(Scanning, OutcomesAndMessages) {
    {
        test::ScriptedDialogs dialogs;
        FakeScan scan(3);
        EXPECT_EQ(runScan(scan, {"-o", "x"}, false, dialogs, [] { return true; }), ScanOutcome::Scanned);
        EXPECT_EQ(dialogs.cancelSteps(), 3);
        EXPECT_FALSE(dialogs.cancelWindowVisible());
    }
    {
        test::ScriptedDialogs dialogs;
        FakeScan scan(1000000);
        dialogs.clickCancelAtStep(5);
        dialogs.expectInform(kStopped);
        EXPECT_EQ(runScan(scan, {}, false, dialogs, [] { return true; }), ScanOutcome::Stopped);
        EXPECT_TRUE(scan.killed);
    }
    for (bool starts : {false, true}) {
        test::ScriptedDialogs dialogs;
        FakeScan scan(0, starts);
        dialogs.expectInform("Hat nicht geklappt!");
        EXPECT_EQ(runScan(scan, {}, true, dialogs, [] { return false; }), ScanOutcome::Failed);
    }
}
