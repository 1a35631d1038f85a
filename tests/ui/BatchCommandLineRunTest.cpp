// pictra-batch as a process: its results are the explorer's, byte for byte; exit codes,
// stdout, the default of never overwriting, and an interrupted run.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <csignal>
#include <filesystem>
#include <functional>

#include "PictureFixtures.h"
#include "common/FileIo.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "pictures/batch/GalleryCommand.h"
#include "pictures/batch/PictureBatch.h"
#include "platform/pictures/BatchPictureFiles.h"
#include "platform/pictures/GalleryPictureFiles.h"
#include "platform/pictures/PictureFiles.h"

using namespace pictra;
namespace fs = std::filesystem;
namespace batch = pictra::pictures::batch;

namespace {

struct Ran {
    int exitCode = -1;
    std::string out;
    std::string err;
};

QString program() { return QCoreApplication::applicationDirPath() + "/pictra-batch"; }

QStringList qargs(const std::vector<std::string>& args) {
    QStringList list;
    for (const auto& a : args) list << QString::fromStdString(a);
    return list;
}

Ran run(const std::vector<std::string>& args, const std::string& input = {}) {
    QProcess p;
    p.start(program(), qargs(args));
    EXPECT_TRUE(p.waitForStarted());
    if (!input.empty())
        p.write(input.data(), static_cast<qint64>(input.size()));
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

std::string bytesOf(const std::string& path) {
    const auto b = fileio::readFile(path);
    return b ? *b : std::string("<missing>");
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct Twin {
    const char* name;
    std::vector<std::string> args;  // after the job's files
    std::function<void(const std::vector<std::string>&, batch::Context&, test::ScriptedDialogs&)> explorer;
};

class SameAsTheExplorer : public ::testing::TestWithParam<Twin> {};

TEST_P(SameAsTheExplorer, ByteForByte) {
    test::TempDir dir;
    const std::string viaExplorer = dir.path() + "explorer";
    const std::string viaShell = dir.path() + "shell";
    const std::vector<std::string> names = {"foto.jpg", "bild.png", "hoch.jpg"};
    for (const auto& folder : {viaExplorer, viaShell}) {
        fs::create_directories(folder);
        platform::pictures::savePicture(folder + "/foto.jpg", test::gradient(601, 401), 90);
        platform::pictures::savePicture(folder + "/bild.png", test::gradient(300, 170));
        platform::pictures::savePicture(folder + "/hoch.jpg", test::gradient(211, 500), 80);
    }
    std::vector<std::string> selected;
    for (const auto& n : names) selected.push_back(viaExplorer + "/" + n);
    {
        test::ScriptedDialogs dialogs;
        platform::pictures::BatchPictureFiles files;
        batch::Context context{files, dialogs, [](const std::string&) { return std::string(); }};
        GetParam().explorer(selected, context, dialogs);
        EXPECT_TRUE(dialogs.scriptDone());
    }
    std::vector<std::string> args = GetParam().args;
    for (const auto& n : names) args.push_back(viaShell + "/" + n);
    const Ran ran = run(args);
    EXPECT_EQ(ran.exitCode, 0) << ran.err;
    EXPECT_EQ(ran.err, "");
    EXPECT_EQ(namesIn(viaShell), namesIn(viaExplorer));
    std::string expectedOut;
    for (const auto& name : namesIn(viaExplorer)) {
        if (name[0] != '_')
            continue;
        EXPECT_EQ(bytesOf(viaShell + "/" + name), bytesOf(viaExplorer + "/" + name)) << name;
    }
    for (const auto& n : names) expectedOut += batch::resultPath(batch::Kind::Compress, viaShell + "/" + n) + "\n";
    if (GetParam().args[0] == std::string("resize")) {
        expectedOut.clear();
        for (const auto& n : names) expectedOut += viaShell + "/_" + n + "\n";
    }
    EXPECT_EQ(ran.out, expectedOut);
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, SameAsTheExplorer,
    ::testing::Values(
        Twin{"halved",
             {"resize", "--percent", "50", "--filter", "nearest"},
             [](const auto& selected, batch::Context& context, test::ScriptedDialogs& dialogs) {
                 dialogs.expectAskNumber("Zum Beispiel 50%: Halbe Breite, Halbe Höhe = 50", 50)
                     .expectConfirmText("Dateien verkleinert abspeichern.", true);
                 batch::resizeCommand(selected, false, 50, batch::Request{}, context);
             }},
        Twin{"sameHeight",
             {"resize", "--height=120", "--filter=nearest"},
             [](const auto& selected, batch::Context& context, test::ScriptedDialogs& dialogs) {
                 dialogs.expectAskNumber("Zum Beispiel 700 => Höhe = 700 Pixel", 120)
                     .expectConfirmText("Dateien verkleinert abspeichern.", true);
                 batch::resizeCommand(selected, true, 0, batch::Request{}, context);
             }},
        Twin{"compressed",
             {"compress", "--quality", "70", "--fit", "400x300", "--filter", "nearest"},
             [](const auto& selected, batch::Context& context, test::ScriptedDialogs& dialogs) {
                 dialogs.expectAskNumber("1%-100%", 70).expectConfirmText("Dateien komprimieren.", true);
                 batch::Request request;
                 request.workWidth = 400;
                 request.workHeight = 300;
                 batch::compressCommand(selected, request, context);
             }},
        Twin{"grey",
             {"grey", "--fit", "400x300", "--filter", "nearest"},
             [](const auto& selected, batch::Context& context, test::ScriptedDialogs& dialogs) {
                 dialogs.expectConfirmText("Bilder schwarz-weiß", true);
                 batch::Request request;
                 request.workWidth = 400;
                 request.workHeight = 300;
                 batch::greyCommand(selected, request, context);
             }}),
    [](const ::testing::TestParamInfo<Twin>& p) { return std::string(p.param.name); });

TEST(BatchCommandLineRun, GalleryIsTheWizardsGallery) {
    test::TempDir dir;
    const std::string viaWizard = dir.path() + "wizard";
    const std::string viaShell = dir.path() + "shell";
    for (const auto& folder : {viaWizard, viaShell}) {
        fs::create_directories(folder);
        platform::pictures::savePicture(folder + "/Strand Bild.jpg", test::gradient(640, 480), 90);
        platform::pictures::savePicture(folder + "/b.jpg", test::gradient(300, 500), 90);
        platform::pictures::savePicture(folder + "/c.png", test::gradient(120, 90));
    }
    {
        test::ScriptedDialogs dialogs;
        platform::pictures::GalleryPictureFiles files;
        batch::GalleryRequest request;
        request.folder = viaWizard;
        request.options.heading = "Ausflug";
        request.options.name = "ausflug";
        request.options.labels = true;
        request.options.perRow = 2;
        request.options.navigation = true;
        request.options.navigationHeight = 300;
        request.quality = 70;
        request.smallHeight = 100;
        request.headingsForAll = true;
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        request.date = batch::germanShortDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
        request.journalFolder = dir.path();
        batch::makeGallery(request, files, dialogs);
    }
    const Ran ran = run({"gallery", viaShell, "--title", "Ausflug", "--name", "ausflug", "--per-row", "2",
                         "--navigation=300", "--quality", "70", "--height", "100"});
    EXPECT_EQ(ran.exitCode, 0) << ran.err;
    EXPECT_EQ(ran.out, viaShell + "/ausflug.html\n");
    const auto names = namesIn(viaWizard);
    ASSERT_EQ(namesIn(viaShell), names);
    EXPECT_NE(std::find(names.begin(), names.end(), "zzz_strand_bild.html"), names.end());
    for (const auto& name : names) {
        std::string expected = bytesOf(viaWizard + "/" + name);
        std::string got = bytesOf(viaShell + "/" + name);
        // The pages name their own folder nowhere, so they are equal as they stand.
        EXPECT_EQ(got, expected) << name;
    }
}

class BatchRunFolder : public ::testing::Test {
protected:
    test::TempDir dir;
    void SetUp() override {
        platform::pictures::savePicture(dir.file("a.jpg"), test::gradient(200, 100), 90);
        platform::pictures::savePicture(dir.file("b.jpg"), test::gradient(100, 200), 90);
    }
};

TEST_F(BatchRunFolder, ExitCodesTellWhatHappened) {
    dir.write("kaputt.jpg", "kein Bild");
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string err;
    };
    const std::vector<Case> cases = {
        {{"resize", "--percent", "50", dir.file("a.jpg")}, 0, ""},
        {{"resize", "--percent", "50", "--overwrite", dir.file("a.jpg"), dir.file("kaputt.jpg"), dir.file("b.jpg")},
         1,
         "pictra-batch: " + dir.file("kaputt.jpg") + ": Fehler beim Datei-verkleinern \"" + dir.file("kaputt.jpg") +
             "\": "},
        {{"resize", "--percent", "0", dir.file("a.jpg")},
         2,
         "pictra-batch: \"0\" ist für \"--percent\" keine Zahl von 1 bis 1000000.\n\"pictra-batch --help\" zeigt, wie "
         "es geht.\n"},
        {{"resize", "--percent", "50", "-o", dir.path(), dir.file("b.jpg")},
         2,
         "pictra-batch: Der Ausgabeordner \"" + dir.path() + "\" enthält die Eingabe \"" + dir.file("b.jpg") +
             "\"; ohne --prefix würden die Originale ersetzt.\n\"pictra-batch --help\" zeigt, wie es geht.\n"},
    };
    for (const auto& c : cases) {
        const auto before = namesIn(dir.path());
        const Ran ran = run(c.args);
        EXPECT_EQ(ran.exitCode, c.exitCode) << c.args[1] << ran.err;
        EXPECT_EQ(ran.err.substr(0, c.err.size()), c.err);
        if (c.exitCode == 2) {
            EXPECT_EQ(namesIn(dir.path()), before);
            EXPECT_EQ(ran.out, "");
        }
    }
    // The broken file is reported; the good ones around it are done, in input order.
    const Ran ran = run({"resize", "--percent", "50", "--overwrite", "-0", dir.file("a.jpg"), dir.file("kaputt.jpg"),
                         dir.file("b.jpg")});
    EXPECT_EQ(ran.out, dir.file("_a.jpg") + std::string(1, '\0') + dir.file("_b.jpg") + std::string(1, '\0'));
}

TEST_F(BatchRunFolder, ExistingResultsAreLeftUnlessAsked) {
    dir.write("_a.jpg", "mein eigenes");
    Ran ran = run({"resize", "--percent", "50", dir.path()});
    EXPECT_EQ(ran.exitCode, 1);
    EXPECT_EQ(ran.err, "pictra-batch: " + dir.file("a.jpg") + ": \"" + dir.file("_a.jpg") +
                           "\" besteht schon (ersetzen mit --overwrite, -u ersetzt nur ältere).\n");
    EXPECT_EQ(dir.read("_a.jpg"), "mein eigenes");
    EXPECT_EQ(ran.out, dir.file("_b.jpg") + "\n");

    // -u: the results are newer than their originals now, so nothing is to do.
    const std::string half = dir.read("_b.jpg");
    ran = run({"resize", "--percent", "50", "-u", dir.path()});
    EXPECT_EQ(ran.exitCode, 0) << ran.err;
    EXPECT_EQ(ran.out, "");
    EXPECT_EQ(dir.read("_a.jpg"), "mein eigenes");

    ran = run({"resize", "--percent", "50", "--overwrite", dir.path()});
    EXPECT_EQ(ran.exitCode, 0) << ran.err;
    EXPECT_EQ(platform::pictures::loadPicture(dir.file("_a.jpg")).bitmap.width(), 100);
    EXPECT_EQ(dir.read("_b.jpg"), half);

    // -r takes none of its own results, and -n writes nothing.
    const auto before = namesIn(dir.path());
    ran = run({"resize", "--percent", "50", "-r", "-n", dir.path()});
    EXPECT_EQ(ran.out, "");  // both results exist
    EXPECT_EQ(ran.exitCode, 1);
    ran = run({"resize", "--percent", "25", "-r", "-n", "--prefix", "v_", dir.path()});
    EXPECT_EQ(ran.exitCode, 0);
    EXPECT_EQ(ran.out, dir.file("v__a.jpg") + "\n" + dir.file("v__b.jpg") + "\n" + dir.file("v_a.jpg") + "\n" +
                           dir.file("v_b.jpg") + "\n");
    EXPECT_EQ(namesIn(dir.path()), before);
}

TEST_F(BatchRunFolder, InPlaceReplacesTheOriginal) {
    const Ran ran = run({"convert", "--to", "png", "--in-place", dir.file("a.jpg")});
    EXPECT_EQ(ran.exitCode, 0) << ran.err;
    EXPECT_EQ(ran.out, dir.file("a.png") + "\n");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a.png", "b.jpg"}));
    EXPECT_EQ(platform::pictures::loadPicture(dir.file("a.png")).bitmap.width(), 200);
    const Ran same = run({"resize", "--height", "50", "--in-place", dir.file("b.jpg")});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(platform::pictures::loadPicture(dir.file("b.jpg")).bitmap.height(), 50);
}

TEST_F(BatchRunFolder, NamesFromStandardInput) {
    const Ran ran = run({"grey", "-0", "--files-from", "-", "-o", dir.file("grau")},
                        dir.file("b.jpg") + std::string(1, '\0') + dir.file("a.jpg") + std::string(1, '\0'));
    EXPECT_EQ(ran.exitCode, 0) << ran.err;
    EXPECT_EQ(ran.out, dir.file("grau/b.jpg") + std::string(1, '\0') + dir.file("grau/a.jpg") + std::string(1, '\0'));
}

TEST(BatchCommandLineRun, InterruptFinishesTheFilesInHandAndLeavesNoTemporary) {
    test::TempDir dir;
    for (int i = 0; i < 40; ++i)
        platform::pictures::savePicture(dir.file("p" + std::to_string(100 + i) + ".jpg"), test::gradient(900, 700), 90);
    QProcess p;
    p.start(program(), qargs({"resize", "--percent", "90", "-j", "1", dir.path()}));
    ASSERT_TRUE(p.waitForStarted());
    // Stop once the first result is reported.
    while (!p.canReadLine()) ASSERT_TRUE(p.waitForReadyRead(60000));
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 130);
    const std::string out = p.readAllStandardOutput().toStdString();
    int reported = 0;
    for (const auto& name : namesIn(dir.path())) {
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
        if (name[0] == '_') {
            EXPECT_NE(out.find(dir.file(name) + "\n"), std::string::npos) << name;
            EXPECT_FALSE(platform::pictures::loadPicture(dir.file(name)).damaged) << name;
            ++reported;
        }
    }
    EXPECT_GE(reported, 1);
    EXPECT_LT(reported, 40);
}

TEST(BatchCommandLineRun, ProgressOnlyOnATerminal) {
    test::TempDir dir;
    platform::pictures::savePicture(dir.file("a.jpg"), test::gradient(20, 10), 90);
    platform::pictures::savePicture(dir.file("b.jpg"), test::gradient(20, 10), 90);
    Ran plain = run({"resize", "--percent", "50", "-o", dir.file("x"), dir.path()});
    EXPECT_EQ(plain.err, "");
    // Under a pseudo-terminal (script(1)) stderr is a terminal.
    QProcess p;
    const std::string command = "'" + program().toStdString() + "' resize --percent 50 -o '" + dir.file("y") + "' '" +
                                dir.path() + "' >/dev/null";
    p.start("script", {"-qec", QString::fromStdString(command), "/dev/null"});
    ASSERT_TRUE(p.waitForFinished(60000));
    const std::string screen = p.readAllStandardOutput().toStdString();
    EXPECT_NE(screen.find("\r2/2  b.jpg"), std::string::npos) << screen;
    EXPECT_NE(screen.find("2 Bilder geschrieben."), std::string::npos) << screen;
}

}  // namespace
