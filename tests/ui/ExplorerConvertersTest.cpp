#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QListWidget>
#include <filesystem>
#include <fstream>

#include "ExplorerParts.h"
#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"

using namespace pictra;
namespace fs = std::filesystem;

namespace {

struct ExplorerConvertersTest : ::testing::Test {
    test::UiFixture f;
    test::ExplorerParts parts{f};
    ui::ExplorerShared& shared = parts.shared;
    std::unique_ptr<ui::ExplorerWindow> explorer;
    std::string folder;
    std::string programs;
    QByteArray path = qgetenv("PATH");

    void SetUp() override {
        folder = f.dir.path() + "musik";
        programs = f.dir.path();
        fs::create_directories(folder);
        for (const char* name : {"ton.wav", "lied.mp3", "bild.png"}) std::ofstream(folder + "/" + name) << "x";
        // Nothing of the machine's own programs: only what a test puts into the program folder.
        fs::create_directories(f.dir.path() + "leer");
        qputenv("PATH", QByteArray::fromStdString(f.dir.path() + "leer"));
        explorer = std::make_unique<ui::ExplorerWindow>(shared, '1', ui::ExplorerHooks{});
        explorer->start(folder);
    }
    void TearDown() override { qputenv("PATH", path); }
    // A stand-in program: writes its arguments to <name>.args, creates its output (after "-o", else its
    // last argument), ends with `exitCode`.
    void stub(const std::string& name, int exitCode) {
        const std::string file = programs + name;
        std::ofstream(file) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << file << ".args'\nout=; prev=\n"
                            << "for a; do [ \"$prev\" = -o ] && out=$a; prev=$a; last=$a; done\n"
                            << "[ -z \"$out\" ] && out=$last\nprintf made > \"$out\"\necho kaputt >&2\nexit " << exitCode
                            << "\n";
        fs::permissions(file, fs::perms::owner_all);
    }
    std::string args(const std::string& name) {
        std::ifstream in(programs + name + ".args");
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    void select(const std::string& name) {
        QListWidget* list = explorer->fileList();
        list->clearSelection();
        for (int row = 0; row < list->count(); ++row)
            if (explorer->pathOfRow(row) == folder + "/" + name) list->item(row)->setSelected(true);
    }
    void trigger(const char* name) {
        auto* action = explorer->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
};

}  // namespace

TEST_F(ExplorerConvertersTest, EachItemCallsItsProgramWithItsArguments) {
    stub("lame", 0);
    stub("oggenc", 0);
    stub("ffmpeg", 0);
    const struct {
        const char* item;
        std::string file;
        std::vector<std::pair<std::string, std::optional<std::string>>> answers;
        std::string program;
        std::string arguments;
        std::string output;
    } cases[] = {
        {"NachMp31", "ton.wav", {{"Parameter für lame", "-h -V 0"}}, "lame",
         "-h\n-V\n0\n" + folder + "/ton.wav\n" + folder + "/ton.mp3\n", "ton.mp3"},
        {"NachMp31", "lied.mp3", {{"Parameter für lame", "-b 96"}}, "lame",
         "--mp3input\n-b\n96\n" + folder + "/lied.mp3\n" + folder + "/lied(2).mp3\n", "lied(2).mp3"},
        {"Mp3NachWav1", "lied.mp3", {}, "lame", "--decode\n" + folder + "/lied.mp3\n" + folder + "/lied.wav\n", "lied.wav"},
        {"WavToOgg1", "ton.wav", {}, "oggenc", "-o\n" + folder + "/ton.ogg\n" + folder + "/ton.wav\n", "ton.ogg"},
        {"StueckHeraustrennen1", "lied.mp3", {{"Anfang (Minuten:Sekunden)", "0:30"}, {"Ende (Minuten:Sekunden)", "1:45,5"}},
         "ffmpeg",
         "-nostdin\n-hide_banner\n-loglevel\nerror\n-ss\n0:00:30.000\n-to\n0:01:45.500\n-i\n" + folder +
             "/lied.mp3\n-c\ncopy\n-n\n" + folder + "/lied_stueck.mp3\n",
         "lied_stueck.mp3"},
    };
    for (const auto& c : cases) {
        select(c.file);
        for (const auto& [prompt, answer] : c.answers) f.dialogs.expectAskText(prompt, answer);
        trigger(c.item);
        EXPECT_EQ(args(c.program), c.arguments) << c.item;
        EXPECT_TRUE(fs::exists(folder + "/" + c.output)) << c.item;
    }
}

TEST_F(ExplorerConvertersTest, AMissingProgramAFailureAndABadTime) {
    select("ton.wav");
    f.dialogs.expectInform("Nicht gefunden:" + f.dir.path() + "oggenc\rDas Programm \"oggenc\" (Debian-Paket vorbis-tools) "
                           "muss im Ordner des Programms stehen oder installiert sein.");
    trigger("WavToOgg1");
    f.dialogs.expectInform("Nicht gefunden:" + f.dir.path() + "upx\rDas Programm \"upx\" (nicht in Debian 12 enthalten, "
                           "von upx.github.io) muss im Ordner des Programms stehen oder installiert sein.");
    trigger("Upx1");

    stub("oggenc", 3);
    f.dialogs.expectInform("\"oggenc\" hat mit dem Fehlercode 3 geendet.\rkaputt\n");
    trigger("WavToOgg1");
    EXPECT_FALSE(fs::exists(folder + "/ton.ogg"));  // a failed result is not left behind

    select("lied.mp3");
    f.dialogs.expectAskText("Anfang (Minuten:Sekunden)", std::string("1:70"));
    f.dialogs.expectAskText("Ende (Minuten:Sekunden)", std::string("2:00"));
    f.dialogs.expectInform("Bitte die Zeit als Minuten:Sekunden angeben, z.B. 1:30");
    trigger("StueckHeraustrennen1");
}

TEST_F(ExplorerConvertersTest, AnIconIsMadeInTheProgramFittedTo256Pixels) {
    QImage big(600, 300, QImage::Format_ARGB32);
    big.fill(Qt::blue);
    ASSERT_TRUE(big.save(QString::fromStdString(folder + "/bild.png")));
    std::ofstream(folder + "/bild.ico") << "schon da";
    explorer->showFiles(folder);
    select("bild.png");
    trigger("Favocon1");
    const QImage icon(QString::fromStdString(folder + "/bild(2).ico"), "ico");
    EXPECT_EQ(icon.size(), QSize(256, 128));
    std::ifstream old(folder + "/bild.ico");
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(old)), std::istreambuf_iterator<char>()), "schon da");
}
