#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <stdexcept>

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "pictures/batch/PictureBatch.h"

using namespace pictra;
using namespace pictra::pictures;
using namespace pictra::pictures::batch;

namespace {

const char* const kNote =
    "im selben Ordner als \"_\"- Dateien abgespeichert:\r(\"Umbenennen\" und \"löschen\" möglich!)\rDie ursrünglichen "
    "Dateien bleiben erhalten.";

// Pictures in a plain format of their own: "PIC w h quality grey\n" and the pixels
// (each pixel's value is x + 1000 × y, so the pixels a stretch kept can be told).
std::string pictureBytes(int w, int h, int quality = 0, bool grey = false, const Bitmap32* bitmap = nullptr) {
    std::string bytes = "PIC " + std::to_string(w) + " " + std::to_string(h) + " " + std::to_string(quality) + " " +
                        (grey ? "1" : "0") + "\n";
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Color32 c = bitmap ? bitmap->pixel(x, y) : static_cast<Color32>(x + 1000 * y);
            for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((c >> (8 * i)) & 0xFF));
        }
    }
    return bytes;
}

struct Header {
    int w = 0, h = 0, quality = 0, grey = 0;
};

Header headerOf(const std::string& bytes) {
    Header header;
    int* fields[] = {&header.w, &header.h, &header.quality, &header.grey};
    const char* p = bytes.data() + 4;
    const char* end = bytes.data() + bytes.size();
    for (int* field : fields) {
        const auto r = std::from_chars(p, end, *field);
        if (r.ec != std::errc())
            throw std::runtime_error("Kein Testbild.");
        p = r.ptr + 1;
    }
    return header;
}

class FilePictures : public PictureIo {
public:
    using PictureIo::load;
    Picture load(const std::string& path) override {
        std::ifstream in(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.rfind("PIC ", 0) != 0)
            throw std::runtime_error("Kein Testbild.");
        const Header header = headerOf(bytes);
        Picture picture;
        picture.bitmap.setSize(header.w, header.h);
        const std::size_t start = bytes.find('\n') + 1;
        const std::size_t needed = static_cast<std::size_t>(header.w) * static_cast<std::size_t>(header.h) * 4;
        picture.damaged = bytes.size() - start < needed;
        for (std::size_t i = 0; i < needed && start + i < bytes.size(); ++i) {
            const auto byte = static_cast<Color32>(static_cast<unsigned char>(bytes[start + i]));
            Color32& pixel = picture.bitmap.bits()[i / 4];
            if (i % 4 == 0)
                pixel = 0;
            pixel |= byte << (8 * (i % 4));
        }
        picture.exif = "exif of " + path;
        return picture;
    }
    void save(const std::string& path, const Bitmap32& bitmap, const Encoding& how, const std::string& exif) override {
        {
            std::lock_guard lock(m_mutex);
            exifs.push_back(exif);
        }
        std::ofstream(path, std::ios::binary)
            << pictureBytes(bitmap.width(), bitmap.height(), how.quality, how.grey, &bitmap);
    }
    // A caption here is a mark in the top-left pixel and the picture it belongs to.
    void drawCaption(Bitmap32& result, const std::string& picturePath) override {
        std::lock_guard lock(m_mutex);
        captioned.push_back(picturePath);
        result.row(0)[0] = kCaptionMark;
    }
    static constexpr Color32 kCaptionMark = 0xFFCAFE00;
    std::mutex m_mutex;
    std::vector<std::string> exifs;
    std::vector<std::string> captioned;
};

class PictureBatchTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    FilePictures io;
    std::vector<std::string> kept;
    std::string keepFailure;
    Context context{io, dialogs, [this](const std::string& path) {
                        kept.push_back(path);
                        return keepFailure;
                    }};

    std::string picture(const std::string& name, int w, int h) {
        dir.write(name, pictureBytes(w, h));
        return dir.file(name);
    }
    Header result(const std::string& name) { return headerOf(dir.read(name)); }
    bool exists(const std::string& name) { return std::filesystem::exists(dir.file(name)); }
};

struct SizeCase {
    Request request;
    int w, h;
    std::optional<Size> expected;
};

Request resize(int percent, int height = 0) {
    Request r;
    r.percent = percent;
    r.height = height;
    return r;
}

Request fitted(Kind kind, int workWidth, int workHeight) {
    Request r;
    r.kind = kind;
    r.workWidth = workWidth;
    r.workHeight = workHeight;
    return r;
}

Request boxed(int width, int height) {
    Request r;
    r.fitWidth = width;
    r.fitHeight = height;
    return r;
}

// A reader that decodes smaller when told the result's size, as the JPEG reader does:
// every second pixel in both directions while that still covers the hint.
class HintedPictures : public FilePictures {
public:
    using FilePictures::load;
    Picture load(const std::string& path, const SizeHint& hint) override {
        Picture picture = load(path);
        const int w = picture.bitmap.width();
        const int h = picture.bitmap.height();
        const auto target = hint(w, h);
        hints.push_back(target);
        if (!target || (w + 1) / 2 < target->width || (h + 1) / 2 < target->height)
            return picture;
        Bitmap32 half;
        half.setSize((w + 1) / 2, (h + 1) / 2);
        for (int y = 0; y < half.height(); ++y) {
            for (int x = 0; x < half.width(); ++x) half.row(y)[x] = picture.bitmap.pixel(2 * x, 2 * y);
        }
        picture.bitmap = std::move(half);
        picture.fullWidth = w;
        picture.fullHeight = h;
        return picture;
    }
    std::vector<std::optional<Size>> hints;
};

}  // namespace

TEST(PictureBatchSizes, ResultSizes) {
    const std::vector<SizeCase> cases = {
        {resize(50), 1001, 667, Size{500, 333}},
        {resize(0, 700), 4000, 3000, Size{933, 700}},
        {resize(50), 1, 1, Size{1, 1}},
        {resize(1), 20, 20, Size{1, 1}},
        {resize(0, 700), 20000, 1, std::nullopt},
        {resize(100000), 1000, 1000, std::nullopt},
        {resize(200), 300, 100, Size{600, 200}},
        {fitted(Kind::Compress, 1024, 768), 4000, 3000, Size{1024, 768}},
        {fitted(Kind::Grey, 1024, 768), 3000, 4000, Size{576, 768}},
        {fitted(Kind::Compress, 1024, 768), 500, 300, Size{500, 300}},  // never enlarged
        {fitted(Kind::Grey, 1024, 768), 960, 720, Size{960, 720}},      // within the editor's 10 %
        {boxed(800, 800), 6000, 4000, Size{800, 533}},
        {boxed(800, 800), 4000, 6000, Size{533, 800}},
        {boxed(800, 600), 1000, 750, Size{800, 600}},
        {boxed(800, 800), 300, 200, Size{300, 200}},  // never enlarged
        {boxed(10, 10), 1, 5000, Size{1, 10}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(resultSize(c.request, c.w, c.h), c.expected) << c.w << "x" << c.h;
    }
}

TEST(PictureBatchSizes, ResultPathsAndProposal) {
    EXPECT_EQ(resultPath(Kind::Resize, "/a/b c/Foto.JPG"), "/a/b c/_Foto.JPG");
    EXPECT_EQ(resultPath(Kind::Resize, "/a/x.png"), "/a/_x.png");
    EXPECT_EQ(resultPath(Kind::Resize, "/a/Handy.HEIC"), "/a/_Handy.jpg");  // read, never written
    EXPECT_EQ(resultPath(Kind::Resize, "/a/x.webp"), "/a/_x.jpg");
    EXPECT_EQ(resultPath(Kind::Compress, "/a/x.png"), "/a/_x.jpg");
    EXPECT_EQ(resultPath(Kind::Grey, "/a/x.y.tif"), "/a/_x.y.jpg");
    EXPECT_EQ(proposedPercent(768, 500), 50);
    EXPECT_EQ(proposedPercent(768, 3000), 25);
}

TEST(PictureBatchSizes, CollidingTargetsAreRefused) {
    const auto items = planItems(Kind::Compress, {"/f/a.png", "/f/notes.txt", "/f/a.jpg", "/f/b.jpg", "/f/_b.jpg"});
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].refusal, "");
    EXPECT_EQ(items[1].refusal,
              "\"_a.jpg\" wird für \"a.jpg\" nicht geschrieben, denn \"a.png\" ergibt denselben Namen.");
    EXPECT_EQ(items[2].refusal, "\"_b.jpg\" wird nicht geschrieben, denn diese Datei ist selbst ausgewählt.");
    EXPECT_EQ(items[3].target, "/f/__b.jpg");
    EXPECT_EQ(items[3].refusal, "");
}

TEST_F(PictureBatchTest, HalvesInListOrderAndCollectsFailures) {
    std::vector<std::string> paths;
    for (int i = 0; i < 5; ++i) paths.push_back(picture("p" + std::to_string(i) + ".png", 10 + i, 6));
    dir.write("broken.jpg", "Das ist Text.");
    paths.insert(paths.begin() + 2, dir.file("broken.jpg"));
    dir.write("cut.bmp", pictureBytes(8, 8).substr(0, 40));
    paths.push_back(dir.file("cut.bmp"));
    const Report report = run(planItems(Kind::Resize, paths), resize(50), context);
    ASSERT_EQ(report.written.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(report.written[static_cast<std::size_t>(i)], dir.file("_p" + std::to_string(i) + ".png"));
        EXPECT_EQ(result("_p" + std::to_string(i) + ".png").w, (10 + i) / 2);
    }
    EXPECT_EQ(report.failures,
              (std::vector<std::string>{
                  "Fehler beim Datei-verkleinern \"" + dir.file("broken.jpg") + "\"\rKein Testbild.",
                  "Fehler beim Datei-verkleinern \"" + dir.file("cut.bmp") + "\"\rDie Datei ist unvollständig."}));
    EXPECT_FALSE(exists("_broken.jpg"));
    EXPECT_FALSE(exists("_cut.bmp"));
    EXPECT_TRUE(kept.empty());
    EXPECT_GE(dialogs.cancelSteps(), 7);
}

TEST_F(PictureBatchTest, CaptionsAreDrawnIntoTheFinishedResultOnlyWhenAsked) {
    const std::string a = picture("a.bmp", 40, 20);
    const std::string b = picture("b.bmp", 10, 10);
    Request plain = resize(50);
    run(planItems(Kind::Resize, {a}), plain, context);
    EXPECT_TRUE(io.captioned.empty());
    EXPECT_NE(io.load(dir.file("_a.bmp")).bitmap.pixel(0, 0), FilePictures::kCaptionMark);

    Request withCaption = resize(50);
    withCaption.withCaption = true;
    std::filesystem::remove(dir.file("_a.bmp"));
    run(planItems(Kind::Resize, {a, b}), withCaption, context);
    std::sort(io.captioned.begin(), io.captioned.end());  // two files are made at a time
    EXPECT_EQ(io.captioned, (std::vector<std::string>{a, b}));
    // Drawn after the resizing: the mark is a whole pixel of the result, not a blend.
    const Picture half = io.load(dir.file("_a.bmp"));
    EXPECT_EQ(half.bitmap.width(), 20);
    EXPECT_EQ(half.bitmap.pixel(0, 0), FilePictures::kCaptionMark);
}

TEST_F(PictureBatchTest, NearestStretchKeepsWholePixels) {
    const std::string path = picture("a.bmp", 4, 2);
    run(planItems(Kind::Resize, {path}), resize(50), context);
    const Picture half = io.load(dir.file("_a.bmp"));
    ASSERT_EQ(half.bitmap.width(), 2);
    ASSERT_EQ(half.bitmap.height(), 1);
    for (int x = 0; x < 2; ++x) {
        const Color32 v = half.bitmap.pixel(x, 0);
        EXPECT_LT(v % 1000, 4u);
        EXPECT_EQ(v / 1000, 0u);  // a row of the source, not a blend of two
    }
}

TEST_F(PictureBatchTest, OnlySmoothedResultsComeFromASmallerDecode) {
    struct Case {
        Request request;
        int w, h;
        std::optional<Size> hint;  // what the reader is told; nothing at all for the window's rows
        bool hinted;
        Size result;
    };
    Request smoothHalf = resize(50);
    smoothHalf.smooth = true;
    Request smoothBox = boxed(100, 100);
    smoothBox.smooth = true;
    Request smoothDouble = resize(200);
    smoothDouble.smooth = true;
    Request smoothGrey = fitted(Kind::Grey, 50, 50);
    smoothGrey.smooth = true;
    const std::vector<Case> cases = {
        {smoothHalf, 400, 300, Size{200, 150}, true, {200, 150}},
        {smoothBox, 400, 300, Size{100, 75}, true, {100, 75}},
        {smoothBox, 30, 20, Size{30, 20}, true, {30, 20}},
        {smoothDouble, 40, 30, std::nullopt, true, {80, 60}},
        {smoothGrey, 400, 200, Size{50, 25}, true, {50, 25}},
        {resize(50), 400, 300, std::nullopt, false, {200, 150}},
        {boxed(100, 100), 400, 300, std::nullopt, false, {100, 75}},
    };
    for (const auto& c : cases) {
        HintedPictures hinted;
        Context own{hinted, dialogs, {}};
        const std::string path = picture("p.png", c.w, c.h);
        std::filesystem::remove(dir.file("_p.png"));
        std::filesystem::remove(dir.file("_p.jpg"));
        const Report report = run(planItems(c.request.kind, {path}), c.request, own);
        ASSERT_EQ(report.written.size(), 1u) << c.w << "x" << c.h;
        const Header header = headerOf(dir.read(c.request.kind == Kind::Resize ? "_p.png" : "_p.jpg"));
        EXPECT_EQ(Size({header.w, header.h}), c.result) << c.w << "x" << c.h;
        if (c.hinted) {
            EXPECT_EQ(hinted.hints, std::vector<std::optional<Size>>{c.hint}) << c.w << "x" << c.h;
        } else {
            EXPECT_TRUE(hinted.hints.empty()) << c.w << "x" << c.h;
        }
    }
}

TEST_F(PictureBatchTest, ExistingTargetGoesIntoTheBinFirst) {
    const std::string path = picture("a.png", 20, 10);
    dir.write("_a.png", "alt");
    Report report = run(planItems(Kind::Resize, {path}), resize(50), context);
    EXPECT_EQ(kept, std::vector<std::string>{dir.file("_a.png")});
    EXPECT_EQ(report.written.size(), 1u);
    EXPECT_EQ(result("_a.png").w, 10);

    keepFailure = "nicht im Papierkorb";
    dir.write("_a.png", "alt");
    report = run(planItems(Kind::Resize, {path}), resize(50), context);
    EXPECT_EQ(report.failures, std::vector<std::string>{"nicht im Papierkorb"});
    EXPECT_EQ(dir.read("_a.png"), "alt");
}

TEST_F(PictureBatchTest, ACancelClickLetsTheTwoFilesInHandFinish) {
    std::vector<std::string> paths;
    for (int i = 0; i < 6; ++i) paths.push_back(picture("p" + std::to_string(i) + ".png", 40, 40));
    dialogs.clickCancelAtStep(1);
    const Report report = run(planItems(Kind::Resize, paths), resize(50), context);
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(report.written, (std::vector<std::string>{dir.file("_p0.png"), dir.file("_p1.png")}));
    EXPECT_FALSE(exists("_p2.png"));
}

TEST_F(PictureBatchTest, CompressAndGreyFitTheWorkingSizeAndKeepExif) {
    const std::string big = picture("big.png", 400, 300);
    const std::string small = picture("small.bmp", 50, 30);
    Request request = fitted(Kind::Compress, 200, 150);
    request.quality = 30;
    run(planItems(Kind::Compress, {big, small}), request, context);
    EXPECT_EQ(result("_big.jpg").w, 200);
    EXPECT_EQ(result("_big.jpg").quality, 30);
    EXPECT_EQ(result("_small.jpg").w, 50);
    EXPECT_EQ(io.exifs.size(), 2u);
    EXPECT_EQ(io.exifs[0].substr(0, 8), "exif of ");

    run(planItems(Kind::Grey, {big}), fitted(Kind::Grey, 200, 150), context);
    EXPECT_EQ(result("_big.jpg").grey, 1);
    EXPECT_EQ(result("_big.jpg").quality, 0);
}

TEST_F(PictureBatchTest, ResizeCommandAsksConfirmsAndReportsOnce) {
    const std::string a = picture("a.png", 1001, 667);
    dir.write("x.jpg", "kaputt");
    const std::string wide = picture("wide.png", 20000, 1);
    dialogs.expectAskNumber("Zum Beispiel 700 => Höhe = 700 Pixel", 700)
        .expectConfirmText("Dateien verkleinert abspeichern.", true)
        .expectInform("Fehler beim Datei-verkleinern \"" + dir.file("x.jpg") + "\"\rKein Testbild.\r\r" +
                      "Fehler beim Datei-verkleinern \"" + wide +
                      "\"\rDas Ergebnis wäre zu groß (14000000 × 700 Bildpunkte).");
    EXPECT_EQ(resizeCommand({a, dir.file("x.jpg"), dir.file("readme.txt"), wide}, true, 50, {}, context),
              Outcome::Done);
    EXPECT_EQ(dialogs.shownTexts().front(), std::string("Folgende Bilder werden verkleinert\r") + kNote + "\n----\n" +
                                                a + "\r\n" + dir.file("x.jpg") + "\r\n" + wide);
    EXPECT_EQ(result("_a.png").h, 700);
    EXPECT_EQ(result("_a.png").w, 1050);
    EXPECT_FALSE(dialogs.cancelWindowVisible());
}

TEST_F(PictureBatchTest, CommandsStopOnBadAnswers) {
    const std::string a = picture("a.png", 10, 10);
    struct Case {
        std::function<void()> script;
        std::function<Outcome()> command;
        Outcome outcome;
    };
    const std::vector<Case> cases = {
        {[&] {
             dialogs.expectAskNumber("Zum Beispiel 50%: Halbe Breite, Halbe Höhe = 50", 0)
                 .expectInform("Bitte eine Prozentzahl von 1 bis 1000000 eingeben.");
         },
         [&] { return resizeCommand({a}, false, 50, {}, context); }, Outcome::Cancelled},
        {[&] { dialogs.expectAskNumber("Zum Beispiel 50%: Halbe Breite, Halbe Höhe = 50", std::nullopt); },
         [&] { return resizeCommand({a}, false, 50, {}, context); }, Outcome::Cancelled},
        {[&] {
             dialogs.expectAskNumber("Zum Beispiel 50%: Halbe Breite, Halbe Höhe = 50", 50)
                 .expectInform("Keine Datei ausgewählt!");
         },
         [&] { return resizeCommand({dir.file("a.txt")}, false, 50, {}, context); }, Outcome::NothingSelected},
        {[&] {
             dialogs.expectAskNumber("Zum Beispiel 50%: Halbe Breite, Halbe Höhe = 50", 50)
                 .expectConfirmText("Dateien verkleinert abspeichern.", false)
                 .expectInform("Abbruch");
         },
         [&] { return resizeCommand({a}, false, 50, {}, context); }, Outcome::Cancelled},
        {[&] {
             dialogs.expectAskNumber("1%-100%", 0).expectInform("Die Kompressionsrate muss zwischen 1 und 100 liegen.");
         },
         [&] { return compressCommand({a}, {}, context); }, Outcome::Cancelled},
        {[&] { dialogs.expectInform("Keine Datei ausgewählt!"); }, [&] { return greyCommand({}, {}, context); },
         Outcome::NothingSelected},
        {[&] { dialogs.expectConfirmText("Bilder schwarz-weiß", false).expectInform("Abbruch"); },
         [&] { return greyCommand({a}, {}, context); }, Outcome::Cancelled},
    };
    for (const auto& c : cases) {
        c.script();
        EXPECT_EQ(c.command(), c.outcome);
        EXPECT_TRUE(dialogs.scriptDone());
        EXPECT_FALSE(dialogs.cancelWindowVisible());
    }
    EXPECT_FALSE(exists("_a.png"));
    EXPECT_FALSE(exists("_a.jpg"));
}

TEST_F(PictureBatchTest, CompressCommandWritesQualityAndManyFailuresGoIntoOneTextWindow) {
    std::vector<std::string> paths;
    for (int i = 0; i < 9; ++i) {
        dir.write("t" + std::to_string(i) + ".jpg", "Text");
        paths.push_back(dir.file("t" + std::to_string(i) + ".jpg"));
    }
    paths.push_back(picture("ok.png", 10, 10));
    dialogs.expectAskNumber("1%-100%", 40)
        .expectConfirmText("Dateien komprimieren.", true)
        .expectShowText("9 Bilder nicht gespeichert");
    EXPECT_EQ(compressCommand(paths, {}, context), Outcome::Done);
    EXPECT_EQ(result("_ok.jpg").quality, 40);
    EXPECT_EQ(dialogs.shownTexts().back().substr(0, 31 + dir.file("t0.jpg").size()),
              "Fehler beim Datei-komprimieren\"" + dir.file("t0.jpg"));
}
