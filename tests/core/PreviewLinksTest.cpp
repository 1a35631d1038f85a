#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "common/FileIo.h"
#include "html/preview/LinkCheck.h"

using namespace pictra;
using namespace pictra::preview;

namespace {

TEST(PreviewLinks, ResolvesAgainstTheShownPage) {
    struct Case {
        const char* page;
        const char* link;
        const char* expected;
    };
    const Case table[] = {
        {"/w/site/index.html", "a.html", "/w/site/a.html"},
        {"/w/site/index.html", "../b/c.htm#teil", "/w/b/c.htm"},
        {"/w/site/index.html", "./x/%C3%BC%20y.html?q=1", "/w/site/x/\xC3\xBC y.html"},
        {"/w/site/index.html", "/abs/p.php", "/abs/p.php"},
        {"/w/site/index.html", "file:///tmp/f%20g.html", "/tmp/f g.html"},
        {"/w/site/index.html", "#oben", ""},
        {"/w/site/index.html", "https://example.org/a", "https://example.org/a"},
        {"https://example.org/d/e.html", "f.html", "https://example.org/d/f.html"},
        {"https://example.org/d/e.html", "../g.html", "https://example.org/g.html"},
        {"https://example.org/d/e.html", "/h.html", "https://example.org/h.html"},
        {"https://example.org", "//cdn.example.org/i.js", "https://cdn.example.org/i.js"},
    };
    for (const auto& c : table) EXPECT_EQ(resolveLink(c.page, c.link), c.expected) << c.page << " " << c.link;
}

TEST(PreviewLinks, SelectsEachLinkOncePerRunWithoutMailAndScript) {
    std::set<std::string> tested{"http://alt.example/"};
    test::ScriptedDialogs dialogs;
    LinkCheck check(tested, dialogs);
    const std::vector<std::string> page = {"http://a.example/", "MAILTO:x@y.de", "javascript:go()",
                                           "http://alt.example/", "http://a.example/", "file:///tmp/x.html"};
    EXPECT_EQ(check.select(page), (std::vector<std::string>{"http://a.example/", "file:///tmp/x.html"}));
    EXPECT_TRUE(check.record("http://a.example/", {true, "ok", false}));
    LinkCheck again(tested, dialogs);
    EXPECT_EQ(again.select(page), (std::vector<std::string>{"file:///tmp/x.html"}));
}

TEST(PreviewLinks, RecordsDeadLinksAndAsksAboutSlowOnesInPageOrder) {
    std::set<std::string> tested;
    test::ScriptedDialogs dialogs;
    dialogs.expectAsk(kAskLinkWorks, Answer::Yes).expectAsk(kAskLinkWorks, Answer::No);
    LinkCheck check(tested, dialogs);
    EXPECT_TRUE(check.record("http://ok/", {true, "x", false}));
    EXPECT_TRUE(check.record("http://slow1/", {true, "x", true}));
    EXPECT_TRUE(check.record("http://tot/", {false, "", false}));
    EXPECT_TRUE(check.record("http://slow2/", {true, "x", true}));
    EXPECT_EQ(check.report(), "OK: http://slow1/\r\nNicht OK !!! : http://slow2/\r\n"
                              "http://tot/ Fehler! Toter Link oder mehr als 10 Sekunden Ladezeit.");
    dialogs.expectAsk(kAskLinkWorks, Answer::Cancel);
    EXPECT_FALSE(check.record("http://slow3/", {true, "x", true}));
    EXPECT_EQ(check.cancelledReport("http://slow3/").substr(check.report().size()),
              "\r\nAbgebrochen bei: http://slow3/");
}

TEST(PreviewLinks, ShowsTheStartOfAnAnswer) {
    EXPECT_EQ(LinkCheck::shownText("http://x/", {true, std::string(600, 'a'), false}), std::string(500, 'a') + "\r\n...");
    EXPECT_EQ(LinkCheck::shownText("http://x/a.PDF", {true, "%PDF", false}), "PDF");
    EXPECT_EQ(LinkCheck::shownText("http://x/", {false, "", false}), kDeadLinkError);
}

// The href values of a page (the program reads them with libxml2; a plain pattern serves the test).
std::vector<std::string> hrefs(const std::string& html) {
    std::vector<std::string> out;
    const std::regex href("href=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), href); it != std::sregex_iterator(); ++it) {
        out.push_back((*it)[1]);
    }
    return out;
}

TEST(PreviewLinks, SitemapListsEachPageOnceAcrossACycleWithinFiveLevels) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.file("unter"));
    // index → a → unter/b → c → d → e → f, and b links back to index and a (a cycle).
    dir.write("index.html", "<a href=\"a.html\">a</a> <a href=\"mailto:x@y.de\">m</a>");
    dir.write("a.html", "<a href=\"unter/b.html\">b</a> <a href=\"index.html\">i</a>");
    dir.write("unter/b.html", "<a href=\"../index.html\">i</a><a href=\"../a.html\">a</a><a href=\"../c.html\">c</a>"
                              "<a href=\"https://example.org/\">x</a>");
    dir.write("c.html", "<a href=\"d.html\">d</a>");
    dir.write("d.html", "<a href=\"e.html\">e</a>");
    dir.write("e.html", "<a href=\"f.html\">f</a>");
    const auto read = [](const std::string& path) { return fileio::readFile(path); };
    int reads = 0;
    const auto countingRead = [&](const std::string& path) {
        ++reads;
        return read(path);
    };
    const auto pages = crawlSitemap(dir.file("index.html"), "", countingRead, hrefs, [] { return false; });
    std::vector<std::string> listed;
    for (const auto& p : pages) {
        const bool local = p.address.starts_with(dir.path());
        listed.push_back(std::to_string(p.level) + " " + (local ? p.address.substr(dir.path().size()) : p.address));
    }
    const std::string web = "https://example.org/";
    EXPECT_EQ(listed, (std::vector<std::string>{"0 index.html", "1 a.html", "2 unter/b.html", "3 c.html",
                                                "3 " + web, "4 d.html"}));
    EXPECT_EQ(reads, 4);  // index, a, b, c; d on the last level is listed, not read

    const auto filtered = crawlSitemap(dir.file("index.html"), dir.path(), read, hrefs, [] { return false; });
    EXPECT_EQ(filtered.size(), 5u);  // only the local pages
    const std::string page = sitemapDocument(filtered);
    EXPECT_NE(page.find("<pre>\r\n<a href=\"index.html\">index.html</a>\r\n    <a href=\"a.html\">a.html</a>\r\n"
                        "        <a href=\"unter/b.html\">"), std::string::npos)
        << page;
    EXPECT_TRUE(page.ends_with("</pre>\r\n\r\n</body>\r\n</html>"));
}

TEST(PreviewLinks, SitemapStopsAtFiveThousandPagesAndWhenCancelled) {
    // One page linking to itself under ever new names: an endless site.
    const auto read = [](const std::string&) { return std::optional<std::string>("x"); };
    int n = 0;
    const auto links = [&](const std::string&) {
        std::vector<std::string> out;
        for (int i = 0; i < 100; ++i) out.push_back("p" + std::to_string(n++) + ".html");
        return out;
    };
    EXPECT_EQ(crawlSitemap("/s/index.html", "", read, links, [] { return false; }).size(), kSitemapMaxPages);
    int polls = 0;
    EXPECT_EQ(crawlSitemap("/s/index.html", "", read, links, [&] { return ++polls > 2; }).size(), 201u);
}

TEST(PreviewLinks, SitemapStartsOnlyAtAPage) {
    for (const auto& [address, ok] : std::vector<std::pair<std::string, bool>>{
             {"/a/index.html", true}, {"/a/x.HTM", true}, {"/a/y.php", true}, {"/a/", false}, {"/a/b.txt", false}}) {
        EXPECT_EQ(isSitemapStart(address), ok) << address;
    }
}

}  // namespace
