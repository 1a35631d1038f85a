#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "pictures/batch/GalleryCommand.h"

using namespace pictra;
using namespace pictra::pictures::batch;
namespace fs = std::filesystem;

namespace {

void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

const std::string kDoctype =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">";

std::vector<GalleryEntry> twoEntries() {
    return galleryEntries({"a.jpg", "b.png", "zz_a.jpg", "zz_b.jpg"}, [](const std::string& name) {
        return std::optional<Size>(Size{name == "zz_a.jpg" ? 300 : 150, 200});
    });
}

// Small pictures as files of a few bytes holding their height; arrows as text.
// Called from two threads, as the real files are.
class FakeGalleryIo : public GalleryIo {
public:
    void makeSmall(const std::string& source, const std::string& target, int height, int) override {
        const std::string name = fs::path(source).filename().string();
        {
            std::unique_lock lock(m_mutex);
            maxInHand = std::max(maxInHand, ++m_inHand);
            startedNames.insert(name);
            m_changed.notify_all();
            // The first file of the pair finishes after the second, and the second starts only while
            // the first is in hand: both are made at once, which only a second worker can do.
            if (!waitFor.first.empty() && name == waitFor.first)
                m_changed.wait_for(lock, std::chrono::seconds(20), [&] { return doneNames.count(waitFor.second) != 0; });
            if (!waitFor.second.empty() && name == waitFor.second)
                m_changed.wait_for(lock, std::chrono::seconds(20), [&] { return startedNames.count(waitFor.first) != 0; });
        }
        const auto finish = [&] {
            std::lock_guard lock(m_mutex);
            --m_inHand;
            doneNames.insert(name);
            m_changed.notify_all();
        };
        if (fs::file_size(source) == 0) {
            finish();
            throw std::runtime_error("Leere Datei.");
        }
        put(target, std::to_string(height));
        {
            std::lock_guard lock(m_mutex);
            made.push_back(fs::path(target).filename().string());
        }
        finish();
    }
    std::optional<Size> sizeOf(const std::string&) override { return Size{300, 200}; }
    void writeArrows(const std::string& folder) override {
        for (const char* name : {"zzzweiter_l.gif", "zzzweiter_r.gif", "zzzweiter_o.gif"})
            put(folder + "/" + name, "GIF");
    }
    std::vector<std::string> sortedMade() {
        std::vector<std::string> names = made;
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> made;
    std::set<std::string> startedNames;
    std::set<std::string> doneNames;
    std::pair<std::string, std::string> waitFor;  // this file finishes only after that one
    int maxInHand = 0;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_inHand = 0;
};

}  // namespace

TEST(GalleryPages, EntriesFindTheirOriginalsOfAnyFormat) {
    const auto entries = galleryEntries(
        {"pizza.jpg", "x.png", "y.gif", "y.jpg", "zz_pizza.jpg", "zz_x.jpg", "zz_y.jpg", "zz_z.jpg", "zzzz.html"}, {});
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].large, "pizza.jpg");
    EXPECT_EQ(entries[1].large, "x.png");
    EXPECT_EQ(entries[1].page, "zzz_x.html");
    EXPECT_EQ(entries[2].large, "y.jpg");
    EXPECT_TRUE(isGalleryOriginal("pizza.jpg"));
    EXPECT_FALSE(isGalleryOriginal("zz_pizza.jpg"));
    EXPECT_FALSE(isGalleryOriginal("zzzweiter_l.gif"));
}

TEST(GalleryPages, OverviewWithoutNavigationIsByteExact) {
    GalleryOptions options;
    options.heading = "Ferien & Meer";
    const std::string page = overviewPage(twoEntries(), options, "11.12.2026");
    const std::string expected =
        kDoctype +
        "\r\n<html>\r\n  <head>\r\n    <title>Ferien &amp; Meer (11.12.2026)</title>\r\n"
        "    <meta http-equiv=content-type content=\"text/html; charset=iso-8859-1\">\r\n"
        "    <meta name=\"robots\" content=\"nofollow\">\r\n"
        "     <style type=\"text/css\">\r\n"
        "    body { font-family: \"Segoe UI\", Arial, Helvetica, sans-serif; margin-left: 10%; margin-right: 10%; }\r\n"
        "    a:link { color: #0000FF; }\r\n"
        "    a:visited { color: #660099; }\r\n"
        "    a:hover { background-color: #d60093; color: #FFFFFF; border-bottom: 1px dotted #FFFFFF; }\r\n"
        "    table { border-collapse: collapse; }\r\n"
        "    h1, h2, h3, h4, h5, h6 { font-family: Tahoma, Arial, Helvetica, sans-serif; margin-top: 0.5em; "
        "margin-bottom: 0.5em; color: #003399; }\r\n"
        "    h2, h3, h4, h5, h6 { font-weight: bold; }\r\n"
        "    img { border: 0; }\r\n"
        "  </style>\r\n"
        "  </head>\r\n<body>\r\n<table class=\"o\"><tr><td>\r\n</td>\r\n<td>&nbsp;&nbsp;&nbsp;&nbsp;</td>\r\n"
        "<td><a href=\"../index.html\">&uarr;Start</a>\r\n"
        "&nbsp; &nbsp; &nbsp; <a href=\"../bilder.html\">&uarr;Bilder</a>\r\n\r\n"
        "<h1>Ferien &amp; Meer</h1>\r\n11.12.2026\r\n</td></tr></table>\r\n<hr>\r\n\r\n\r\n"
        "<div  style=\"margin-left: -10%;margin-right: -10%;text-align:center\">\r\n"
        "Klicken Sie auf auf das Bild, um es zu vergr\xF6\xDF"
        "ern. <br>\r\n"
        "<a href=\"a.jpg\"><img src=\"zz_a.jpg\" width=300 height=200 alt=\"A\"></a>\r\n"
        "<a href=\"b.png\"><img src=\"zz_b.jpg\" width=150 height=200 alt=\"B\"></a>\r\n"
        "</div>\r\n</body>\r\n</html>";
    EXPECT_EQ(page, expected);
}

TEST(GalleryPages, NavigationPagesHaveBareArrowsAtTheEnds) {
    GalleryOptions options;
    options.navigation = true;
    options.navigationHeight = 520;
    options.logo = true;
    const auto entries = twoEntries();
    const std::string overview = overviewPage(entries, options, "01.02.2026");
    EXPECT_NE(overview.find("<table class=\"o\"><tr><td>\r\n<img src=\"../wappen.gif\" width=\"88\" height=\"98\" "
                            "alt=\"Wappen\"></td>\r\n"),
              std::string::npos);
    EXPECT_NE(overview.find("   <div  style=\"font-size:0.8em;\">Klick auf kleines Bild vergr\xF6\xDF"
                            "ert es. Erst dann drucken!\r\n   <a href=\"zzzz.html\">Weiter: Klick auf gro\xDF"
                            "es Bild.</a></div><br>\r\n<a href=\"zzz_a.html\"><img src=\"zz_a.jpg\" width=300"),
              std::string::npos);
    const std::string head =
        kDoctype +
        "\r\n<html>\r\n  <head><title>Klick auf Bild: n\xE4"
        "chstes Bild. Leertaste: Navigation (siehe unten)</title></head>\r\n<body>\r\n  <center>\r\n";
    EXPECT_EQ(
        picturePage(entries, 0, options, "Am Strand"),
        head +
            "Am Strand<br>\r\n  <a href=\"zzz_b.html\"><img src=\"a.jpg\"  height=\"520\" alt=\"\"></a><br>\r\n"
            "  <a href=\"a.jpg\">o</a> &nbsp; &nbsp; &nbsp; <img src=\"zzzweiter_l.gif\" width=\"24\" height=\"14\" "
            "alt=\"Bild zur\xFC"
            "ck\">\r\n"
            "  <a href=\"galerie.html\"><img src=\"zzzweiter_o.gif\" width=\"14\" height=\"16\" alt=\"Zur\xFC"
            "ck zur \xDC"
            "bersicht\"></a>\r\n"
            "  <a href=\"zzz_b.html\"><img src=\"zzzweiter_r.gif\" width=\"24\" height=\"14\" alt=\"Bild vor\"></a>"
            "  </center>\r\n</body>\r\n</html>");
    options.navigationHeight = 9;
    EXPECT_EQ(picturePage(entries, 1, options, ""),
              head +
                  "\r\n  <a href=\"galerie.html\"><img src=\"b.png\"  alt=\"\"></a><br>\r\n"
                  "  <a href=\"b.png\">o</a> &nbsp; &nbsp; &nbsp; <a href=\"zzz_a.html\"><img src=\"zzzweiter_l.gif\" "
                  "width=\"24\" height=\"14\" alt=\"Bild zur\xFC"
                  "ck\"></a>\r\n"
                  "  <a href=\"galerie.html\"><img src=\"zzzweiter_o.gif\" width=\"14\" height=\"16\" alt=\"Zur\xFC"
                  "ck zur \xDC"
                  "bersicht\"></a>\r\n"
                  "  <img src=\"zzzweiter_r.gif\" width=\"24\" height=\"14\" alt=\"Bild vor\">  "
                  "</center>\r\n</body>\r\n</html>");
}

TEST(GalleryPages, LabelsMakeTablesOfThreeThreeAndOne) {
    std::vector<std::string> names;
    for (char c = 'a'; c <= 'g'; ++c) names.push_back(std::string(1, c) + "_bae.jpg");
    for (char c = 'a'; c <= 'g'; ++c) names.push_back("zz_" + std::string(1, c) + "_bae.jpg");
    GalleryOptions options;
    options.labels = true;
    options.border = 2;
    const std::string page = overviewPage(galleryEntries(names, {}), options, "d");
    std::size_t tables = 0, cells = 0;
    for (std::size_t at = page.find("<table border=2>"); at != std::string::npos;
         at = page.find("<table border=2>", at + 1))
        ++tables;
    for (std::size_t at = page.find("    <td>"); at != std::string::npos; at = page.find("    <td>", at + 1)) ++cells;
    EXPECT_EQ(tables, 3u);
    EXPECT_EQ(cells, 7u);
    EXPECT_NE(page.find("<table border=2>\r\n  <tr><th>G B\xC4</th>  </tr>\r\n  <tr>\r\n    <td><a href=\"g_bae.jpg\">"
                        "<img src=\"zz_g_bae.jpg\"></a></td>\r\n  </tr>\r\n</table>\r\n<br>\r\n</div>"),
              std::string::npos);
}

TEST(GalleryPages, Escaping) {
    const struct {
        std::string in, url, text;
    } cases[] = {
        {"a&b.jpg", "a&amp;b.jpg", "a&amp;b.jpg"},
        {"say \"x\" <y>.jpg", "say &quot;x&quot; &lt;y>.jpg", "say &quot;x&quot; &lt;y>.jpg"},
        {"#1 ?50%.jpg", "%231 %3F50%25.jpg", "#1 ?50%.jpg"},
        {"m\xC3\xBCller.jpg", "m\xC3\xBCller.jpg", "m\xC3\xBCller.jpg"},
        {"\xE2\x98\x83.jpg", "%E2%98%83.jpg", "&#9731;.jpg"},
        {"caf\xE9.jpg", "caf%E9.jpg", "caf\xC3\xA9.jpg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(urlValue(c.in), c.url) << c.in;
        EXPECT_EQ(pageText(c.in), c.text) << c.in;
    }
    EXPECT_EQ(labelOf("maedchen_am_see.jpg"), "MÄDCHEN AM SEE");
    EXPECT_EQ(proposedHeading("maedchen_am_see.jpg"), "MAEDCHEN AM SEE");
    EXPECT_EQ(germanShortDate(2026, 3, 7), "07.03.2026");
}

TEST(GalleryCommand, StartRenamesPicturesMakesSmallOnesAndWritesThePages) {
    test::TempDir dir;
    const std::string folder = dir.path() + "galerie";
    fs::create_directories(folder);
    for (const char* name : {"B Bild.JPG", "a.jpg", "Notiz.TXT", "pizza.png"}) put(folder + "/" + name, "x");
    put(folder + "/b_bild.jpg", "schon da");
    put(folder + "/leer.jpg", "");
    FakeGalleryIo io;
    test::ScriptedDialogs dialogs;
    dialogs.expectAskText("Falls keine Überschrift: Esc-Taste", std::nullopt)
        .expectAskText("Falls keine Überschrift: Esc-Taste", std::string("A"))
        .expectAskText("Falls keine Überschrift: Esc-Taste", std::nullopt)
        .expectAskText("Falls keine Überschrift: Esc-Taste", std::nullopt)
        .expectInform("\"" + folder +
                      "/B Bild.JPG\" wurde nicht in \"b_bild.jpg\" umbenannt: diesen Namen hat schon eine "
                      "andere Datei.\r\rFehler beim Verkleinern \"" +
                      folder + "/leer.jpg\"\rLeere Datei.");
    GalleryRequest request;
    request.folder = folder;
    request.options.navigation = true;
    request.options.name = "Sommer Fest";
    request.date = "11.12.2026";
    const GalleryResult result = makeGallery(request, io, dialogs);
    EXPECT_TRUE(dialogs.scriptDone());
    EXPECT_EQ(io.sortedMade(), (std::vector<std::string>{"zz_B Bild.jpg", "zz_a.jpg", "zz_b_bild.jpg", "zz_pizza.jpg"}));
    EXPECT_EQ(result.overviewPath, folder + "/sommer_fest.html");
    EXPECT_EQ(dir.read("galerie/sommer_fest.html"), result.overviewText);
    EXPECT_TRUE(fs::exists(folder + "/Notiz.TXT"));
    for (const char* name : {"zzz_a.html", "zzz_b_bild.html", "zzz_pizza.html", "zzzz.html", "zzzweiter_o.gif"}) {
        EXPECT_TRUE(fs::exists(folder + "/" + name)) << name;
    }
    EXPECT_NE(dir.read("galerie/zzz_a.html").find("<center>\r\nA<br>\r\n"), std::string::npos);
    EXPECT_NE(result.overviewText.find("<a href=\"zzz_B Bild.html\"><img src=\"zz_B Bild.jpg\""), std::string::npos);
}

TEST(GalleryCommand, ACancelClickLetsTheTwoInHandFinishAndWritesNoGallery) {
    test::TempDir dir;
    const std::string folder = dir.path() + "g";
    fs::create_directories(folder);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}) put(folder + "/" + name, "x");
    FakeGalleryIo io;
    test::ScriptedDialogs dialogs;
    dialogs.clickCancelAtStep(1);
    GalleryRequest request;
    request.folder = folder;
    const GalleryResult result = makeGallery(request, io, dialogs);
    EXPECT_TRUE(result.overviewPath.empty());
    EXPECT_EQ(io.sortedMade(), (std::vector<std::string>{"zz_a.jpg", "zz_b.jpg"}));
    EXPECT_FALSE(fs::exists(folder + "/galerie.html"));
    EXPECT_FALSE(dialogs.cancelWindowVisible());
}

TEST(GalleryCommand, TwoSmallPicturesAreMadeAtOnceAndReportedInTheFilesOrder) {
    test::TempDir dir;
    const std::string folder = dir.path() + "g";
    fs::create_directories(folder);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) put(folder + "/" + name, "x");
    put(folder + "/a.jpg", "");
    put(folder + "/b.jpg", "");
    FakeGalleryIo io;
    io.waitFor = {"a.jpg", "b.jpg"};  // a's failure comes last, yet is told first
    test::ScriptedDialogs dialogs;
    dialogs.expectInform("Fehler beim Verkleinern \"" + folder + "/a.jpg\"\rLeere Datei.\r\rFehler beim Verkleinern \"" +
                         folder + "/b.jpg\"\rLeere Datei.");
    GalleryRequest request;
    request.folder = folder;
    const GalleryResult result = makeGallery(request, io, dialogs);
    EXPECT_TRUE(dialogs.scriptDone());
    EXPECT_EQ(io.maxInHand, 2);
    EXPECT_EQ(io.sortedMade(), (std::vector<std::string>{"zz_c.jpg", "zz_d.jpg"}));
    EXPECT_EQ(result.overviewPath, folder + "/galerie.html");
    EXPECT_GE(dialogs.cancelSteps(), 4);
}

TEST(GalleryPages, ReorderedPagesLinkTheirNewNeighboursCyclically) {
    GalleryOptions options;
    options.navigation = true;
    options.navigationHeight = 520;
    const auto entries = twoEntries();
    const std::string overview =
        "<a href=\"zzz_b.html\"><img src=\"zz_b.jpg\"></a>\r\n<a href=\"zzz_a.html\"><img>\r\n";
    EXPECT_EQ(pageOrder(overview), (std::vector<std::string>{"zzz_b.html", "zzz_a.html"}));
    const auto rebuilt =
        rebuiltPage(picturePage(entries, 1, options, "Titel"), "zzz_b.html", "zzz_a.html", "zzz_a.html", options);
    ASSERT_TRUE(rebuilt);
    EXPECT_NE(
        rebuilt->find("<center>\r\n\r\n  <a href=\"zzz_a.html\"><img src=\"b.png\"  height=\"520\" alt=\"\"></a><br>"),
        std::string::npos);
    EXPECT_NE(rebuilt->find("<a href=\"zzz_a.html\"><img src=\"zzzweiter_l.gif\""), std::string::npos);
    EXPECT_NE(rebuilt->find("<a href=\"zzz_a.html\"><img src=\"zzzweiter_r.gif\""), std::string::npos);
    EXPECT_FALSE(rebuiltPage("<html>", "zzz_b.html", "a", "b", options));
}

TEST(GalleryCommand, CaptionHeadings) {
    const struct {
        std::string bytes;
        std::string heading;
    } cases[] = {
        {"#0c000000ffffff Sommer\r\n#0c000000fffffe _am See\r\n", "Sommer am See"},
        {"Gr\xfc\xdf" "e aus K\xf6ln\r\n\r\n", "Grüße aus Köln"},
        {"#0c000000ffffff\r\n   \r\n", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(captionHeading(c.bytes), c.heading) << c.bytes;
}

TEST(GalleryCommand, ForAllTakesCaptionsAndNamesAsHeadingsWithoutAsking) {
    test::TempDir dir;
    const std::string folder = dir.path() + "g";
    fs::create_directories(folder);
    for (const char* name : {"a.jpg", "mein_hund.jpg"}) put(folder + "/" + name, "x");
    put(folder + "/a.jp0", "#0c000000ffffff Am Strand & <Meer>\r\n#0c000000ffffff M\xfcnchen\r\n");
    FakeGalleryIo io;
    test::ScriptedDialogs dialogs;
    GalleryRequest request;
    request.folder = folder;
    request.options.navigation = true;
    request.headingsForAll = true;
    makeGallery(request, io, dialogs);
    EXPECT_TRUE(dialogs.log().empty());
    EXPECT_EQ(io.sortedMade(), (std::vector<std::string>{"zz_a.jpg", "zz_mein_hund.jpg"}));
    EXPECT_NE(dir.read("g/zzz_a.html").find("<center>\r\nAm Strand &amp; &lt;Meer> M\xfcnchen<br>\r\n"),
              std::string::npos);
    EXPECT_NE(dir.read("g/zzz_mein_hund.html").find("<center>\r\nMEIN HUND<br>\r\n"), std::string::npos);
    EXPECT_EQ(headingFor(folder, "a.jpg"), "Am Strand & <Meer> München");
}
