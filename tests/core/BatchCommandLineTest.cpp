#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "TempDir.h"
#include "pictures/batch/BatchCommandLine.h"

using namespace pictra::pictures::batch;
using namespace pictra::pictures::batch::cli;

namespace {

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out{"pictra-batch"};
    std::string word;
    bool quoted = false;
    for (char c : line) {
        if (c == '\'') {
            quoted = !quoted;
        } else if (c == ' ' && !quoted) {
            if (!word.empty())
                out.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        out.push_back(word);
    return out;
}

struct Accepted {
    const char* line;
    const char* check;  // what the options must say, as "field=value;…"
};

std::string describe(const Options& o) {
    std::string s = "job=" + std::to_string(static_cast<int>(o.job));
    auto add = [&s](const char* name, const std::string& value) { s += std::string(";") + name + "=" + value; };
    if (o.percent) add("percent", std::to_string(o.percent));
    if (o.height) add("height", std::to_string(o.height));
    if (o.fitWidth) add("fit", std::to_string(o.fitWidth) + "x" + std::to_string(o.fitHeight));
    if (o.quality) add("quality", std::to_string(o.quality));
    if (!o.to.empty()) add("to", o.to);
    if (o.nearest) add("nearest", "1");
    if (!o.title.empty()) add("title", o.title);
    if (!o.name.empty()) add("name", o.name);
    if (o.smallHeight != 200) add("small", std::to_string(o.smallHeight));
    if (o.perRow) add("perRow", std::to_string(o.perRow));
    if (o.border != 1) add("border", std::to_string(o.border));
    if (o.navigation) add("nav", std::to_string(o.navigationHeight));
    if (!o.outputDir.empty()) add("o", o.outputDir);
    if (o.prefixGiven) add("prefix", o.prefix);
    if (o.update) add("u", "1");
    if (o.overwrite) add("overwrite", "1");
    if (o.inPlace) add("inPlace", "1");
    if (o.recursive) add("r", "1");
    if (!o.filesFrom.empty()) add("from", o.filesFrom);
    if (o.nul) add("0", "1");
    if (o.jobs) add("j", std::to_string(o.jobs));
    if (o.dryRun) add("n", "1");
    if (o.strip) add("strip", "1");
    if (o.stripGps) add("stripGps", "1");
    if (o.withCaption) add("caption", "1");
    if (o.quiet) add("q", "1");
    if (o.progress) add("progress", "1");
    std::string in;
    for (const auto& i : o.inputs) in += (in.empty() ? "" : ",") + i;
    add("in", in);
    return s;
}

class AcceptedLines : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedLines, GiveTheseOptions) {
    const Parsed p = parseCommandLine(words(GetParam().line));
    ASSERT_EQ(p.what, Parsed::What::Run) << p.message;
    EXPECT_EQ(describe(p.options), GetParam().check);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, AcceptedLines,
    ::testing::Values(
        Accepted{"resize --percent 50 a.jpg", "job=0;percent=50;in=a.jpg"},
        Accepted{"resize --percent=50 a.jpg b.png", "job=0;percent=50;in=a.jpg,b.png"},
        Accepted{"resize a.jpg --height 700", "job=0;height=700;in=a.jpg"},
        Accepted{"resize --fit 800x600 --quality=85 a.jpg", "job=0;fit=800x600;quality=85;in=a.jpg"},
        Accepted{"resize --fit=65500X1 a.jpg", "job=0;fit=65500x1;in=a.jpg"},
        Accepted{"resize --perc 5 a.jpg", "job=0;percent=5;in=a.jpg"},  // unique abbreviation
        Accepted{"resize --percent 50 -urn0 -j3 -o out a", "job=0;percent=50;o=out;u=1;r=1;0=1;j=3;n=1;in=a"},
        Accepted{"resize --percent 50 -j 2 -oout a", "job=0;percent=50;o=out;j=2;in=a"},
        Accepted{"resize --percent 50 --output-dir=out --prefix= a", "job=0;percent=50;o=out;prefix=;in=a"},
        Accepted{"resize --percent 50 -- -a.jpg --b", "job=0;percent=50;in=-a.jpg,--b"},
        Accepted{"resize --height 9 --filter nearest --strip -q --progress x",
                 "job=0;height=9;nearest=1;strip=1;q=1;progress=1;in=x"},
        Accepted{"resize --percent 1000000 --in-place --overwrite x",
                 "job=0;percent=1000000;overwrite=1;inPlace=1;in=x"},
        Accepted{"resize --percent 50 --files-from list", "job=0;percent=50;from=list;in="},
        Accepted{"compress x.jpg", "job=1;in=x.jpg"},
        Accepted{"convert --to jpg --strip-gps --with-caption x", "job=3;to=jpg;stripGps=1;caption=1;in=x"},
        Accepted{"compress --quality 1 --fit 1024x768 x.jpg", "job=1;fit=1024x768;quality=1;in=x.jpg"},
        Accepted{"grey --prefix sw_ x.jpg", "job=2;prefix=sw_;in=x.jpg"},
        Accepted{"convert --to PNG x.bmp", "job=3;to=png;in=x.bmp"},
        Accepted{"convert --to=jpeg --quality 70 x.bmp", "job=3;quality=70;to=jpg;in=x.bmp"},
        Accepted{"convert --to tiff x.bmp", "job=3;to=tif;in=x.bmp"},
        Accepted{"gallery dir", "job=4;in=dir"},
        Accepted{"gallery dir --title 'Ausflug 2026' --name ausflug --height 150 --quality 80",
                 "job=4;quality=80;title=Ausflug 2026;name=ausflug;small=150;in=dir"},
        Accepted{"gallery dir --per-row 3 --border 0 --navigation", "job=4;perRow=3;border=0;nav=0;in=dir"},
        Accepted{"gallery --navigation=700 dir", "job=4;nav=700;in=dir"}));

struct Refused {
    const char* line;
    const char* message;
};

class RefusedLines : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedLines, SayWhy) {
    const Parsed p = parseCommandLine(words(GetParam().line));
    ASSERT_EQ(p.what, Parsed::What::Usage);
    EXPECT_EQ(p.message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, RefusedLines,
    ::testing::Values(
        Refused{"", "Kein Auftrag angegeben: resize, compress, grey, convert oder gallery."},
        Refused{"shrink a.jpg", "Unbekannter Auftrag \"shrink\": resize, compress, grey, convert oder gallery."},
        Refused{"--percent 50 resize a.jpg",
                "Zuerst den Auftrag angeben: resize, compress, grey, convert oder gallery (vor \"--percent\")."},
        Refused{"resize --percent abc a.jpg", "\"abc\" ist für \"--percent\" keine Zahl von 1 bis 1000000."},
        Refused{"resize --percent 0 a.jpg", "\"0\" ist für \"--percent\" keine Zahl von 1 bis 1000000."},
        Refused{"resize --percent -5 a.jpg", "\"-5\" ist für \"--percent\" keine Zahl von 1 bis 1000000."},
        Refused{"resize --percent 5x a.jpg", "\"5x\" ist für \"--percent\" keine Zahl von 1 bis 1000000."},
        Refused{"resize --percent ' 5' a.jpg", "\" 5\" ist für \"--percent\" keine Zahl von 1 bis 1000000."},
        Refused{"resize --height 65501 a.jpg", "\"65501\" ist für \"--height\" keine Zahl von 1 bis 65500."},
        Refused{"resize --fit 0x0 a.jpg",
                "\"0x0\" ist für \"--fit\" keine Größe wie 800x600 (Seiten von 1 bis 65500)."},
        Refused{"resize --fit 800 a.jpg",
                "\"800\" ist für \"--fit\" keine Größe wie 800x600 (Seiten von 1 bis 65500)."},
        Refused{"resize --percent", "Die Option \"--percent\" braucht einen Wert."},
        Refused{"resize --percent 5 a -j", "Die Option \"-j/--jobs\" braucht einen Wert."},
        Refused{"resize --percent 5 -j 0 a", "\"0\" ist für \"--jobs\" keine Zahl von 1 bis 256."},
        Refused{"resize --percent 5 --bogus a", "Unbekannte Option \"--bogus\"."},
        Refused{"resize --percent 5 --bogus=1 a", "Unbekannte Option \"--bogus\"."},
        Refused{"resize --percent 5 -uz a", "Unbekannte Option \"-z\"."},
        Refused{"resize --percent 5 --update=yes a", "Die Option \"-u/--update\" nimmt keinen Wert."},
        Refused{"resize a.jpg", "resize braucht genau eine der Optionen --percent, --height oder --fit."},
        Refused{"resize --percent 5 --height 5 a.jpg",
                "resize braucht genau eine der Optionen --percent, --height oder --fit."},
        Refused{"resize --percent 5", "Keine Datei und kein Ordner für resize angegeben."},
        Refused{"resize --percent 5 --to png a", "Die Option \"--to\" gehört nicht zum Auftrag \"resize\"."},
        Refused{"resize --percent 5 --filter cubic a", "\"cubic\" ist für \"--filter\" kein Filter: lanczos oder nearest."},
        Refused{"resize --percent 5 --in-place -o out a", "--in-place verträgt sich nicht mit --output-dir oder --prefix."},
        Refused{"resize --percent 5 --prefix a/b a", "\"a/b\" ist für \"--prefix\" kein Namensanfang (ohne \"/\")."},
        Refused{"compress --quality 101 a", "\"101\" ist für \"--quality\" keine Zahl von 1 bis 100."},
        Refused{"grey --quality 50 a", "Die Option \"--quality\" gehört nicht zum Auftrag \"grey\"."},
        Refused{"convert a.bmp", "convert braucht --to jpg, png, gif, bmp oder tif."},
        Refused{"convert --to webp a.bmp", "\"webp\" ist für \"--to\" kein Format: jpg, png, gif, bmp oder tif."},
        Refused{"convert --to png --quality 5 a.bmp", "--quality gilt nur für --to jpg."},
        Refused{"gallery", "gallery braucht genau einen Ordner."},
        Refused{"gallery a b", "gallery braucht genau einen Ordner."},
        Refused{"gallery a -r", "Die Option \"-r/--recursive\" gehört nicht zum Auftrag \"gallery\"."},
        Refused{"gallery a --border 2", "--border gilt nur mit --per-row."},
        Refused{"gallery a --with-caption", "Die Option \"--with-caption\" gehört nicht zum Auftrag \"gallery\"."},
        Refused{"gallery a --navigation=hoch", "\"hoch\" ist für \"--navigation\" keine Zahl von 0 bis 65500."},
        Refused{"gallery a --name x/y", "\"x/y\" ist für \"--name\" kein Dateiname (ohne \"/\")."}));

TEST(BatchCommandLine, HelpAndVersionWinAnywhere) {
    for (const char* line : {"--help", "-h", "resize --help", "gallery x -h", "resize --percent abc -h"}) {
        const Parsed p = parseCommandLine(words(line));
        // An error before the help is reported first, as getopt reads from the left.
        if (std::string(line) == "resize --percent abc -h")
            EXPECT_EQ(p.what, Parsed::What::Usage) << line;
        else
            EXPECT_EQ(p.what, Parsed::What::Help) << line;
    }
    for (const char* line : {"--version", "-V", "convert -V"}) EXPECT_EQ(parseCommandLine(words(line)).what, Parsed::What::Version) << line;
    EXPECT_EQ(usageText("X."), "pictra-batch: X.\n\"pictra-batch --help\" zeigt, wie es geht.\n");
    EXPECT_NE(helpText().find("Beispiele:\n  pictra-batch resize --percent 50"), std::string::npos);
    EXPECT_EQ(versionText("0.1.0"), "pictra-batch 0.1.0\n");
}

TEST(BatchCommandLine, ParsingTwiceGivesTheSame) {
    // getopt keeps state between calls; each parse must start afresh.
    for (int i = 0; i < 3; ++i) {
        const Parsed p = parseCommandLine(words("resize -uj2 --percent 5 a b"));
        ASSERT_EQ(p.what, Parsed::What::Run);
        EXPECT_EQ(describe(p.options), "job=0;percent=5;u=1;j=2;in=a,b");
    }
}

struct Target {
    const char* line;
    const char* source;
    const char* target;
};

class Targets : public ::testing::TestWithParam<Target> {};

TEST_P(Targets, AreNamed) {
    const Parsed p = parseCommandLine(words(GetParam().line));
    ASSERT_EQ(p.what, Parsed::What::Run) << p.message;
    EXPECT_EQ(targetFor(p.options, GetParam().source), GetParam().target);
}

INSTANTIATE_TEST_SUITE_P(
    Names, Targets,
    ::testing::Values(Target{"resize --percent 50 x", "/f/a.JPG", "/f/_a.JPG"},
                      Target{"resize --percent 50 x", "a.png", "_a.png"},
                      Target{"compress x", "/f/a.png", "/f/_a.jpg"},
                      Target{"grey x", "/f/a.b.tif", "/f/_a.b.jpg"},
                      Target{"convert --to gif x", "/f/a.bmp", "/f/_a.gif"},
                      Target{"resize --percent 50 -o /out/ x", "/f/a.jpg", "/out/a.jpg"},
                      Target{"resize --percent 50 -o /out --prefix k_ x", "/f/a.jpg", "/out/k_a.jpg"},
                      Target{"resize --percent 50 --prefix klein- x", "/f/a.jpg", "/f/klein-a.jpg"},
                      Target{"resize --percent 50 --in-place x", "/f/a.jpg", "/f/a.jpg"},
                      Target{"convert --to png --in-place x", "/f/a.bmp", "/f/a.png"},
                      // Phone formats are read, never written: made smaller, they become JPEGs.
                      Target{"resize --percent 50 x", "/f/IMG_1.HEIC", "/f/_IMG_1.jpg"},
                      Target{"resize --percent 50 -o /out x", "/f/a.webp", "/out/a.jpg"},
                      Target{"convert --to jpg x", "/f/a.heif", "/f/_a.jpg"}));

TEST(BatchCommandLine, RequestsAreTheExplorersCommands) {
    auto request = [](const char* line) { return requestFor(parseCommandLine(words(line)).options); };
    const Request halve = request("resize --percent 50 --filter nearest x");
    EXPECT_EQ(halve.kind, Kind::Resize);
    EXPECT_EQ(halve.percent, 50);
    EXPECT_FALSE(halve.smooth);
    EXPECT_TRUE(request("resize --height 700 x").smooth);
    EXPECT_EQ(request("resize --height 700 x").height, 700);
    const Request compress = request("compress --fit 1024x768 x");
    EXPECT_EQ(compress.kind, Kind::Compress);
    EXPECT_EQ(compress.quality, 50);  // the window's proposal
    EXPECT_EQ(compress.workWidth, 1024);
    EXPECT_EQ(compress.workHeight, 768);
    EXPECT_EQ(request("grey x").kind, Kind::Grey);
    const Request toJpeg = request("convert --to jpg x");
    EXPECT_EQ(toJpeg.kind, Kind::Compress);
    EXPECT_EQ(toJpeg.quality, 91);
    EXPECT_EQ(toJpeg.workWidth, 0);
    EXPECT_FALSE(request("convert --to png x").withCaption);
    EXPECT_TRUE(request("convert --to png --with-caption x").withCaption);
    const Request toPng = request("convert --to png x");
    EXPECT_EQ(toPng.kind, Kind::Resize);
    EXPECT_EQ(toPng.percent, 100);
}

TEST(BatchCommandLine, FitTakesTheBoxOnTheSideThatReachesItFirst) {
    struct Case {
        int w, h, bw, bh;
        pictra::pictures::batch::Size expected;
    };
    for (const Case c : {Case{6000, 4000, 800, 800, {800, 533}}, Case{4000, 3000, 800, 800, {800, 600}},
                         Case{3000, 4000, 800, 800, {600, 800}}, Case{100, 50, 800, 800, {100, 50}},
                         Case{1001, 667, 800, 800, {800, 533}}, Case{1, 1, 800, 600, {1, 1}},
                         Case{60000, 1, 800, 800, {800, 1}}, Case{3, 1000, 1, 1, {1, 1}}}) {
        EXPECT_EQ(pictra::pictures::batch::sizeInBox(c.w, c.h, c.bw, c.bh), c.expected) << c.w << "x" << c.h;
    }
}

TEST(BatchCommandLine, NamesFromAFile) {
    EXPECT_EQ(splitNames("a.jpg\nb c.jpg\r\n\nd.jpg", false), (std::vector<std::string>{"a.jpg", "b c.jpg", "d.jpg"}));
    EXPECT_EQ(splitNames(std::string("a\nb.jpg\0c.jpg\0", 14), true), (std::vector<std::string>{"a\nb.jpg", "c.jpg"}));
}

TEST(BatchCommandLine, ProgressAndSummaryLines) {
    EXPECT_EQ(progressLine(3, 30, "a.jpg", 75), "3/30  a.jpg  noch 1:15 min");
    EXPECT_EQ(progressLine(1, 30, "a.jpg", -1), "1/30  a.jpg");
    EXPECT_EQ(summaryLine(1, 0, 0, false), "1 Bild geschrieben.");
    EXPECT_EQ(summaryLine(5, 2, 1, true), "5 Bilder geschrieben, 2 schon aktuell, 1 nicht geschrieben, abgebrochen.");
}

// Plans over real folders.
class BatchPlan : public ::testing::Test {
protected:
    pictra::test::TempDir dir;
    Options options(const char* line) {
        const Parsed p = parseCommandLine(words(line));
        EXPECT_EQ(p.what, Parsed::What::Run) << p.message;
        return p.options;
    }
    std::string states(const Plan& plan) {
        std::string s;
        for (const auto& f : plan.files) {
            s += std::filesystem::path(f.source).filename().string() + ">" +
                 std::filesystem::path(f.target).filename().string() + ":" +
                 std::to_string(static_cast<int>(f.state)) + " ";
        }
        for (const auto& [path, reason] : plan.problems)
            s += "!" + std::filesystem::path(path).filename().string() + " ";
        return s;
    }
};

TEST_F(BatchPlan, FolderWithoutRecursionTakesItsPicturesOnly) {
    dir.write("b.jpg", "x");
    dir.write("a.png", "x");
    dir.write("notes.txt", "x");
    dir.write("a.jp0", "x");
    std::filesystem::create_directory(dir.file("sub"));
    dir.write("sub/c.jpg", "x");
    EXPECT_EQ(states(makePlan(options("resize --percent 50 x"), {dir.path()})), "a.png>_a.png:0 b.jpg>_b.jpg:0 ");
    EXPECT_EQ(states(makePlan(options("resize --percent 50 -r x"), {dir.path()})),
              "a.png>_a.png:0 b.jpg>_b.jpg:0 c.jpg>_c.jpg:0 ");
}

TEST_F(BatchPlan, OwnResultsAreNoInputsAndAreNotOverwritten) {
    dir.write("a.jpg", "x");
    dir.write("_a.jpg", "old result");
    const Plan plan = makePlan(options("resize --percent 50 -r x"), {dir.path()});
    EXPECT_EQ(states(plan), "a.jpg>_a.jpg:2 ");
    EXPECT_EQ(plan.files[0].message,
              "\"" + dir.file("_a.jpg") + "\" besteht schon (ersetzen mit --overwrite, -u ersetzt nur ältere).");
    EXPECT_EQ(states(makePlan(options("resize --percent 50 --overwrite x"), {dir.file("a.jpg"), dir.file("_a.jpg")})),
              "a.jpg>_a.jpg:0 ");
}

TEST_F(BatchPlan, UpdateSkipsNewerResultsAndRedoesOlderOnes) {
    dir.write("a.jpg", "x");
    dir.write("b.jpg", "x");
    dir.write("_a.jpg", "new");
    dir.write("_b.jpg", "old");
    const auto now = std::filesystem::file_time_type::clock::now();
    std::filesystem::last_write_time(dir.file("a.jpg"), now - std::chrono::hours(1));
    std::filesystem::last_write_time(dir.file("_a.jpg"), now);
    std::filesystem::last_write_time(dir.file("b.jpg"), now);
    std::filesystem::last_write_time(dir.file("_b.jpg"), now - std::chrono::hours(1));
    EXPECT_EQ(states(makePlan(options("resize --percent 50 -u x"), {dir.path()})), "a.jpg>_a.jpg:1 b.jpg>_b.jpg:0 ");
}

TEST_F(BatchPlan, CollisionsAndBadInputsAreLeftOutWithAReason) {
    std::filesystem::create_directory(dir.file("one"));
    std::filesystem::create_directory(dir.file("two"));
    dir.write("one/a.jpg", "x");
    dir.write("two/a.jpg", "x");
    dir.write("a.bmp", "x");
    dir.write("a.png", "x");
    ASSERT_EQ(mkfifo(dir.file("pipe.jpg").c_str(), 0600), 0);
    const Plan plan = makePlan(options("resize --percent 50 -r -o out x"),
                               {dir.file("one"), dir.file("two"), dir.file("pipe.jpg"), "/dev/zero",
                                dir.file("missing.jpg"), dir.file("a\nb.jpg")});
    EXPECT_EQ(states(plan), "a.jpg>a.jpg:0 a.jpg>a.jpg:2 !pipe.jpg !zero !missing.jpg !a\nb.jpg ");
    EXPECT_EQ(plan.files[1].message, "\"a.jpg\" wird nicht geschrieben, denn \"" + dir.file("one/a.jpg") +
                                         "\" ergibt denselben Namen.");
    EXPECT_EQ(plan.problems[0].second, "Keine gewöhnliche Datei (Gerät, FIFO oder Socket).");
    EXPECT_EQ(plan.problems[1].second, "Keine gewöhnliche Datei (Gerät, FIFO oder Socket).");
    EXPECT_EQ(plan.problems[2].second, "Datei nicht gefunden.");
    EXPECT_EQ(plan.problems[3].second, "Der Name enthält einen Zeilenumbruch; solche Namen nur mit -0.");
    // Two sources of one converted name in one folder.
    const Plan converted = makePlan(options("convert --to gif x"), {dir.file("a.bmp"), dir.file("a.png")});
    EXPECT_EQ(states(converted), "a.bmp>_a.gif:0 a.png>_a.gif:2 ");
}

TEST_F(BatchPlan, OutputIntoTheInputsFolderNeedsAPrefix) {
    dir.write("a.jpg", "x");
    Options o = options("resize --percent 50 x");
    o.outputDir = dir.path();
    EXPECT_EQ(makePlan(o, {dir.file("a.jpg")}).usageError,
              "Der Ausgabeordner \"" + dir.path() + "\" enthält die Eingabe \"" + dir.file("a.jpg") +
                  "\"; ohne --prefix würden die Originale ersetzt.");
    EXPECT_EQ(makePlan(o, {dir.path()}).usageError,
              "Der Ausgabeordner \"" + dir.path() + "\" ist ein Eingabeordner; ohne --prefix würden die Originale "
                                                     "ersetzt.");
    o.prefix = "k_";
    o.prefixGiven = true;
    EXPECT_EQ(states(makePlan(o, {dir.file("a.jpg")})), "a.jpg>k_a.jpg:0 ");
}

TEST_F(BatchPlan, InPlaceReplacesItselfButNoOtherInput) {
    dir.write("a.jpg", "x");
    dir.write("a.bmp", "x");
    const Plan plan = makePlan(options("convert --to jpg --in-place x"), {dir.file("a.bmp"), dir.file("a.jpg")});
    EXPECT_EQ(states(plan), "a.bmp>a.jpg:2 a.jpg>a.jpg:0 ");
    EXPECT_EQ(plan.files[0].message,
              "\"" + dir.file("a.jpg") + "\" wird nicht geschrieben, denn diese Datei ist selbst Eingabe.");
}

}  // namespace
