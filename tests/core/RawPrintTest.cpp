#include <gtest/gtest.h>

#include <filesystem>

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "shell/Penwick.h"
#include "shell/RawPrint.h"

using namespace pictra;

namespace {
class RecordingPrinter : public RawPrinter {
public:
    std::optional<std::string> defaultPrinter() override { return name; }
    bool printRaw(const std::string& printer, const std::string& title, const std::string& bytes) override {
        jobs.push_back({printer, title, bytes});
        return true;
    }
    std::optional<std::string> name = "Laser";
    struct Job {
        std::string printer, title, bytes;
    };
    std::vector<Job> jobs;
};
}  // namespace

TEST(RawPrint, TextJobByteForByte) {
    const std::string longLine = std::string(60, 'a') + " " + std::string(30, 'b') + "   ";
    const std::string job = rawprint::textJob({"Gr\xFC\xDF" "e  ", "  einger\xFC" "ckt", longLine}, 2, 4);
    EXPECT_EQ(job, "\r\n\r\n"
                   "    Gr\x81\xE1" "e\r\n"
                   "      einger\x81" "ckt\r\n"
                   "    " + std::string(60, 'a') + "\r\n"
                   "    " + std::string(30, 'b') + "\r\n");
}

TEST(RawPrint, LongLineWithoutBreakCharacterSplitsAtForty) {
    const std::string job = rawprint::textJob({std::string(100, 'x')}, 0, 0);
    EXPECT_EQ(job, std::string(40, 'x') + "\r\n" + std::string(60, 'x') + "\r\n");
    // A break character at position 80 itself counts; a rest of blanks is dropped.
    EXPECT_EQ(rawprint::textJob({std::string(79, 'y') + "!" + "     "}, 0, 0), std::string(79, 'y') + "!\r\n");
}

TEST(RawPrint, DirectPrintingSendsModeTextAndFormFeedJobs) {
    RecordingPrinter printer;
    test::ScriptedDialogs dialogs;
    dialogs.expectAsk("Auf Nadeldrucker? (Nein: Andere Drucker)", Answer::Yes).expectAsk("Seite auswerfen", Answer::Yes);
    printDirect(printer, dialogs, {"Zeile"}, "/home/a/brief.txt", 0, 0);
    ASSERT_EQ(printer.jobs.size(), 3u);
    EXPECT_EQ(printer.jobs[0].bytes, std::string("\x1bI\0", 3));
    EXPECT_EQ(printer.jobs[1].title, "/home/a/brief.txt");
    EXPECT_EQ(printer.jobs[1].bytes, "Zeile\r\n");
    EXPECT_EQ(printer.jobs[2].title, "Seite auswerfen");
    EXPECT_EQ(printer.jobs[2].bytes, "\f");

    dialogs.expectAsk("Auf Nadeldrucker? (Nein: Andere Drucker)", Answer::No).expectAsk("Seite auswerfen", Answer::No);
    printDirect(printer, dialogs, {"x"}, "t", 0, 0);
    EXPECT_EQ(printer.jobs[3].bytes, "\x1b(s1Q");
    EXPECT_EQ(printer.jobs.size(), 5u);

    printer.name.reset();
    dialogs.expectInform(kMsgNoPrinter);
    printDirect(printer, dialogs, {"x"}, "t", 0, 0);
}

TEST(Penwick, HandOffFileGoesAndComesBack) {
    test::TempDir dir;
    ProgramPaths paths{dir.path(), "pictra", ""};
    test::ScriptedDialogs dialogs;
    const std::string file = penwick::handOffFile(paths);
    EXPECT_EQ(file, dir.path() + "pictra.penwick");
    dir.write("pictra.penwick", "alt");
    ASSERT_TRUE(penwick::prepare(file, "Gr\xFC\xDF" "e\nZeile", dialogs));
    EXPECT_EQ(dir.read("pictra.penwick"), "Gr\xFC\xDF" "e\r\nZeile");
    dir.write("pictra.penwick", "bearbeitet");
    EXPECT_EQ(penwick::takeBack(file, dialogs), "bearbeitet");
    EXPECT_FALSE(std::filesystem::exists(file));
    dialogs.expectInform("kann \"" + file + "\" nicht laden.");
    EXPECT_EQ(penwick::takeBack(file, dialogs), std::nullopt);
    dialogs.expectInform("Kann temporäre Datei \"" + dir.path() + "fehlt/x.penwick\" nicht speichern.");
    EXPECT_FALSE(penwick::prepare(dir.path() + "fehlt/x.penwick", "t", dialogs));
}

TEST(RawPrint, PrinterModeButtonsSendOnlyTheSwitch) {
    RecordingPrinter printer;
    test::ScriptedDialogs dialogs;
    setPrinterMode(printer, dialogs, false);
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].bytes, "\x1b(s1Q");
    printer.name.reset();
    dialogs.expectInform(kMsgNoPrinter);
    setPrinterMode(printer, dialogs, true);
}
