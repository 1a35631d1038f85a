#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <stdexcept>

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "pictures/batch/GalleryUpload.h"

using namespace pictra;
using namespace pictra::pictures::batch;
namespace fs = std::filesystem;

namespace {

const std::string kNumbersQuestion =
    "Sie haben zum Beispiel eine Datei \"oktoberfest.html\" eingelesen, die  eine\rBildergalerie mit den Bildern "
    "\"axy,jpg\" ... und \"zz_axy,jpg\" ... zeigt.\rNach Aufruf dieses Menüpunktes sind die Bilddateien umbenannt in "
    "\"oktoberfest010.jpg\" ... \"zz_oktoberfest010.jpg\" ...\rDie Referenzen in der Datei \"oktoberfest.html\" werden "
    "entsprechend angepasst.\r\rWollen Sie dies wirklich durchführen?";
const std::string kUmlautQuestion =
    "Leerzeichen und Umlaute in Bilddateien werde umgeschrieben.\rDie entsprechende Referenzen in der HTML-Datei "
    "angepaßt.\r\rWollen Sie dies wirklich durchführen?";

}  // namespace

TEST(GalleryUpload, RemovingLinksLeavesTheImageTagAlone) {
    EXPECT_EQ(removeEnlargementLinks("<p>\r\n<td><a href=\"a.jpg\"><img src=\"zz_a.jpg\" width=3></a></td>\r\nText\r\n"
                                     "<img src=\"b.gif\">x"),
              "<p>\r\n  <img src=\"zz_a.jpg\" width=3>\r\nText\r\n  <img src=\"b.gif\">");
}

TEST(GalleryUpload, NumberWidthFitsTheLargestNumber) {
    for (const auto& [count, width] :
         std::vector<std::pair<int, std::size_t>>{{1, 3}, {99, 3}, {100, 4}, {101, 4}, {1000, 5}}) {
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) names.push_back("p" + std::to_string(100000 + i) + ".jpg");
        const auto renames = uploadRenames(UploadNames::Numbers, names, "seite");
        ASSERT_EQ(renames.size(), static_cast<std::size_t>(count));
        EXPECT_EQ(renames.back().to.size(), std::string("seite").size() + width + 4) << count;
        EXPECT_EQ(renames.front().to, "seite" + std::string(width - 2, '0') + "10.jpg") << count;
    }
}

TEST(GalleryUpload, UmlautNamesAndTheirSmallPicturesAndCaptions) {
    const auto renames = uploadRenames(
        UploadNames::Umlauts, {"Bär am See.jp0", "Bär am See.png", "gut.jpg", "zz_Bär am See.jpg", "zzzweiter_l.gif"},
        "");
    ASSERT_EQ(renames.size(), 3u);
    EXPECT_EQ(renames[0].from, "Bär am See.png");
    EXPECT_EQ(renames[0].to, "Baer_am_See.png");
    EXPECT_EQ(renames[1].from, "zz_Bär am See.jpg");
    EXPECT_EQ(renames[1].to, "zz_Baer_am_See.jpg");
    EXPECT_EQ(renames[2].from, "Bär am See.jp0");
    EXPECT_EQ(renames[2].to, "Baer_am_See.jp0");
}

TEST(GalleryUpload, ReplacementIsOnePass) {
    const std::vector<Rename> swap = {
        {"a.jpg", "b.jpg"}, {"b.jpg", "a.jpg"}, {"x & y.jpg", "x_y.jpg"}, {"Bär.jpg", "Baer.jpg"}};
    EXPECT_EQ(replaceQuotedNames("<img src=\"a.jpg\"><img src=\"b.jpg\"> \"a.jpg.bak\" <a href=\"x &amp; y.jpg\">"
                                 "\"B\xE4r.jpg\" \"offen",
                                 swap),
              "<img src=\"b.jpg\"><img src=\"a.jpg\"> \"a.jpg.bak\" <a href=\"x_y.jpg\">\"Baer.jpg\" \"offen");
}

TEST(GalleryUpload, TwelvePicturesRenumberedWithTheirSmallPictures) {
    test::TempDir dir;
    std::vector<std::string> names;
    std::string page;
    for (int i = 1; i <= 12; ++i) {
        const std::string name = std::string(1, static_cast<char>('a' + i - 1)) + (i % 2 ? ".jpg" : ".png");
        names.push_back(name);
        dir.write(name, "x");
        dir.write("zz_" + name.substr(0, 1) + ".jpg", "klein");
        page += "<a href=\"" + name + "\"><img src=\"zz_" + name.substr(0, 1) + ".jpg\"></a>\r\n";
    }
    for (int i = 1; i <= 12; ++i) names.push_back("zz_" + std::string(1, static_cast<char>('a' + i - 1)) + ".jpg");
    dir.write("pictures010.jpg", "belegt");  // an older picture of that name stays
    // The picture pages of the gallery show the large pictures under their new names too.
    dir.write("zzz_b.html", "<img src=\"b.png\" height=600>\r\n<a href=\"zzz_c.html\">");
    dir.write("zzz_a.html", "<img src=\"a.jpg\">");
    test::ScriptedDialogs dialogs;
    std::string folder = dir.path();
    folder.pop_back();
    dialogs.expectAsk(kNumbersQuestion, Answer::Yes)
        .expectInform(
            "\"a.jpg\" wurde nicht in \"pictures010.jpg\" umbenannt: diesen Namen hat schon eine andere Datei.");
    const auto text = prepareUpload(UploadNames::Numbers, folder + "/pictures.html", page, folder, names, dialogs, "");
    ASSERT_TRUE(text);
    EXPECT_EQ(dir.read("pictures010.jpg"), "belegt");
    EXPECT_TRUE(fs::exists(folder + "/a.jpg"));
    EXPECT_EQ(dir.read("pictures020.png"), "x");
    EXPECT_EQ(dir.read("zz_pictures020.jpg"), "klein");
    EXPECT_EQ(dir.read("pictures120.png"), "x");
    EXPECT_EQ(dir.read("zz_pictures120.jpg"), "klein");
    EXPECT_NE(text->find("<a href=\"a.jpg\"><img src=\"zz_pictures010.jpg\"></a>\r\n<a href=\"pictures020.png\">"
                         "<img src=\"zz_pictures020.jpg\"></a>"),
              std::string::npos);
    EXPECT_EQ(dir.read("zzz_b.html"), "<img src=\"pictures020.png\" height=600>\r\n<a href=\"zzz_c.html\">");
    EXPECT_EQ(dir.read("zzz_a.html"), "<img src=\"a.jpg\">");  // its picture kept its name
    EXPECT_TRUE(dialogs.scriptDone());
}

TEST(GalleryUpload, QuestionsStopIt) {
    test::ScriptedDialogs dialogs;
    struct Case {
        UploadNames kind;
        std::string path;
        std::function<void()> script;
    } cases[] = {
        {UploadNames::Umlauts, "/x/g.html", [&] { dialogs.expectAsk(kUmlautQuestion, Answer::No); }},
        {UploadNames::Numbers, "?",
         [&] {
             dialogs.expectAsk(kNumbersQuestion, Answer::Yes).expectInform("Sie müssen die HTML-Datei noch einlesen!");
         }},
        {UploadNames::Numbers, "/x/g.htm",
         [&] {
             dialogs.expectAsk(kNumbersQuestion, Answer::Yes)
                 .expectAsk(
                     "Die eingelesene Datei ist keine HTML-Datei\rWollen Sie trotzdem alle Bilddateien umbenennen?",
                     Answer::No);
         }},
    };
    for (const auto& c : cases) {
        c.script();
        EXPECT_FALSE(prepareUpload(c.kind, c.path, "t", "/x", {"a b.jpg"}, dialogs, "")) << c.path;
        EXPECT_TRUE(dialogs.scriptDone());
    }
}

namespace {

// GPS tags as a set of paths; a path in `stuck` cannot lose them.
class FakeGps : public GpsTags {
public:
    bool has(const std::string& path) override { return located.count(path) > 0; }
    void remove(const std::string& path) override {
        if (stuck.count(path))
            throw std::runtime_error("Die Datei lässt sich nicht schreiben.");
        located.erase(path);
    }
    std::set<std::string> located;
    std::set<std::string> stuck;
};

}  // namespace

TEST(GalleryUpload, GpsTagsGoAfterOneQuestionUnderTheNewNames) {
    test::TempDir dir;
    const std::string folder = dir.path() + "g";
    fs::create_directories(folder);
    for (const char* name : {"see 1.jpg", "zz_see 1.jpg", "b.JPG", "c.png", "d.jpg"})
        std::ofstream(folder + "/" + name) << "x";
    const struct {
        std::set<std::string> located;
        std::set<std::string> stuck;
        Answer answer;
        std::string question;
        std::set<std::string> left;
        std::string failure;
    } cases[] = {
        {{"/see_1.jpg", "/zz_see_1.jpg", "/b.JPG", "/c.png"},
         {"/b.JPG"},
         Answer::Yes,
         "3 Bilder enthalten GPS-Daten, die zeigen, wo sie aufgenommen wurden.",
         {"/b.JPG", "/c.png"},
         "Aus \"" + folder + "/b.JPG\" wurden die GPS-Daten nicht entfernt: Die Datei lässt sich nicht schreiben."},
        {{"/d.jpg"}, {}, Answer::No, "1 Bild enthält GPS-Daten, die zeigen, wo es aufgenommen wurde.", {"/d.jpg"}, ""},
        {{}, {}, Answer::No, "", {}, ""},
    };
    bool first = true;
    for (const auto& c : cases) {
        FakeGps gps;
        for (const auto& p : c.located) gps.located.insert(folder + p);
        for (const auto& p : c.stuck) gps.stuck.insert(folder + p);
        test::ScriptedDialogs dialogs;
        dialogs.expectAsk(kUmlautQuestion, Answer::Yes);
        if (!c.question.empty())
            dialogs.expectAsk(c.question + "\rSollen diese Daten vor dem Hochladen entfernt werden?", c.answer);
        if (!c.failure.empty())
            dialogs.expectInform(c.failure);
        const std::vector<std::string> names =
            first ? std::vector<std::string>{"see 1.jpg", "zz_see 1.jpg", "b.JPG", "c.png", "d.jpg"}
                  : std::vector<std::string>{"see_1.jpg", "zz_see_1.jpg", "b.JPG", "c.png", "d.jpg"};
        first = false;
        EXPECT_TRUE(prepareUpload(UploadNames::Umlauts, folder + "/g.html", "", folder, names, dialogs, "", &gps));
        EXPECT_TRUE(dialogs.scriptDone()) << c.question;
        std::set<std::string> left;
        for (const auto& p : gps.located) left.insert(p.substr(folder.size()));
        EXPECT_EQ(left, c.left) << c.question;
    }
}
