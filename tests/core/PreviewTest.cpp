#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sys/stat.h>

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "html/preview/Favourites.h"
#include "html/preview/FullPreview.h"
#include "html/preview/PlainTextPage.h"

using namespace pictra;
using namespace pictra::preview;

namespace {

using Log = std::vector<std::string>;

class ScriptedBrowser : public Browser {
public:
    ScriptedBrowser(Log& log, int number) : m_log(log), m_number(number) {}
    void navigate(const std::string& target) override { note("navigate " + target); m_shown = target; }
    bool reload() override {
        note("reload");
        return !m_shown.empty();
    }
    void blank() override { note("blank"); m_shown.clear(); }
    void back() override { note("back"); }
    void forward() override { note("forward"); }
    void print() override { note("print"); }
    std::string address() const override { return m_address; }
    void setAddress(const std::string& address) override {
        note("address " + address);
        m_address = address;
    }
    void present() override { note("present"); }
    void focusAddress() override { note("focus"); }

private:
    void note(const std::string& what) { m_log.push_back("b" + std::to_string(m_number) + " " + what); }
    Log& m_log;
    int m_number;
    std::string m_address;
    std::string m_shown;
};

class ScriptedList : public BrowserList {
public:
    explicit ScriptedList(Log& log) : m_log(log) {}
    std::vector<Browser*> browsers() override {
        std::vector<Browser*> all;
        for (auto& b : m_browsers) all.push_back(b.get());
        return all;
    }
    Browser* current() override { return m_current; }
    void makeCurrent(Browser& browser) override { m_current = &browser; }
    Browser& create() override {
        m_browsers.push_back(std::make_unique<ScriptedBrowser>(m_log, static_cast<int>(m_browsers.size()) + 1));
        m_log.push_back("new b" + std::to_string(m_browsers.size()));
        m_current = m_browsers.back().get();
        return *m_current;
    }

private:
    Log& m_log;
    std::vector<std::unique_ptr<ScriptedBrowser>> m_browsers;
    Browser* m_current = nullptr;
};

class ScriptedHost : public PreviewHost {
public:
    ScriptedHost(Log& log, const test::TempDir& dir) : m_log(log), m_dir(dir) {}
    DocumentState doc;
    bool searchPanel = false;
    bool previousTabHtml = false;
    bool saveFails = false;

    DocumentState document() override { return doc; }
    bool saveDocument() override {
        m_log.push_back("save");
        if (saveFails || isUntitled(doc.fileName)) return false;
        std::ofstream(doc.fileName, std::ios::binary) << doc.text;
        doc.modified = false;
        return true;
    }
    std::string temporaryPreviewName() override { return m_dir.file("temp/tmp10uhr.html"); }
    bool searchPanelVisible() override { return searchPanel; }
    void hideSearchPanel() override {
        m_log.push_back("hide search");
        searchPanel = false;
    }
    void showNotice(const std::string& text) override { m_log.push_back("notice " + text); }
    bool switchToPreviousHtmlTab() override {
        m_log.push_back("previous tab");
        if (previousTabHtml) doc = {m_dir.file("a.html"), "<html>A</html>", false};
        return previousTabHtml;
    }
    bool startProgram(const std::string& program, const std::vector<std::string>& arguments) override {
        std::string line = "start " + program;
        for (const auto& a : arguments) line += " " + a;
        m_log.push_back(line);
        return true;
    }

private:
    Log& m_log;
    const test::TempDir& m_dir;
};

struct PreviewFixture {
    test::TempDir dir;
    Log log;
    SettingsStore store;
    test::ScriptedDialogs dialogs;
    EntityTable entities;
    ScriptedHost host{log, dir};
    ScriptedList list{log};
    PreviewFiles files{dir.file("bin"), bin::Date{2026, 12, 10}};
    FullPreview preview{host, list, dialogs, store, entities, files};

    PreviewFixture() { std::filesystem::create_directories(dir.file("temp")); }
    std::string d(const std::string& name) const { return dir.file(name); }
};

// Replaces the test folder's path by "D/" so the expected logs read short.
Log shortened(const Log& log, const std::string& folder) {
    Log out;
    for (auto line : log) {
        for (size_t at; (at = line.find(folder)) != std::string::npos;) line.replace(at, folder.size(), "D/");
        out.push_back(line);
    }
    return out;
}

struct DecisionCase {
    const char* name;
    std::function<void(PreviewFixture&)> arrange;  // also runs the earlier previews a case builds on
    bool byEscape;
    Log expected;                                   // the log of the last run only
    std::function<void(PreviewFixture&)> check;
};

const std::string kSvg = "<html>\r\n<body>\r\n<svg width=10>\r\n</svg>\r\n</body>\r\n</html>\r\n";

void makeProgram(const std::string& path) {
    std::ofstream(path) << "#!/bin/sh\n";
    chmod(path.c_str(), 0755);
}

std::vector<DecisionCase> decisionCases() {
    return {
        {"SvgGoesToTheConfiguredOutsideBrowser",
         [](PreviewFixture& f) {
             makeProgram(f.d("chrome"));
             f.store.writeValue("Browser", "Chrome", f.d("chrome"));
             f.host.doc = {f.d("bild.html"), kSvg, true};
         },
         false,
         {"save", "start D/chrome D/bild.html"},
         nullptr},
        {"SvgAsksForAMissingBrowserOnceAndKeepsTheChoice",
         [](PreviewFixture& f) {
             makeProgram(f.d("chrome"));
             f.store.writeValue("Browser", "Chrome", f.d("gone/chrome"));
             f.dialogs.expectInform(kMsgFindBrowser).expectOpenFile(f.d("chrome"));
             f.host.doc = {f.d("bild.html"), kSvg, false};
         },
         false,
         {"save", "start D/chrome D/bild.html"},
         [](PreviewFixture& f) { EXPECT_EQ(f.store.readValue("Browser", "Chrome"), f.d("chrome")); }},
        {"SvgDefaultIsTheFirstBrowserOnThePath",
         [](PreviewFixture& f) {
             std::filesystem::create_directories(f.d("bin1"));
             makeProgram(f.d("bin1/firefox-esr"));
             makeProgram(f.d("bin1/xdg-open"));
             f.preview.setSearchPath(f.d("nowhere") + ":" + f.d("bin1"));
             f.host.doc = {f.d("bild.html"), kSvg, false};
         },
         false,
         {"save", "start D/bin1/firefox-esr D/bild.html"},
         nullptr},
        {"IncludeLinesTakeTheFileAndTheAddressShowsTheDocument",
         [](PreviewFixture& f) {
             f.dir.write("teil.txt", "<p>Teil 1</p>\r\n<p>Teil 2</p>\r\n");
             f.host.doc = {f.d("seite.html"),
                           "<html>\r\n<?php include 'teil.txt'; ?>\r\n<!-- include counter \"z.txt\" -->\r\n"
                           "</html>\r\n",
                           true};
         },
         false,
         {"new b1", "b1 navigate D/tmp.html", "b1 address D/seite.html", "b1 present", "save"},
         [](PreviewFixture& f) {
             EXPECT_EQ(f.dir.read("tmp.html"), "<html>\r\n<p>Teil 1</p>\r\n<p>Teil 2</p>\r\n<!-- include counter "
                                               "\"z.txt\" -->\r\n</html>\r\n");
         }},
        {"IncludeOfAMissingOrHugeOrSpecialFileKeepsTheLineWithAMessage",
         [](PreviewFixture& f) {
             f.dialogs.expectInform("Datei \"" + f.d("fehlt.txt") + "\" konnte nicht geladen werden.")
                 .expectInform("Datei \"/dev/zero\" konnte nicht geladen werden.");
             f.host.doc = {f.d("seite.html"), "a include \"fehlt.txt\"\r\nb include \"/dev/zero\"\r\nc include x\r\n",
                           false};
         },
         false,
         {"new b1", "b1 navigate D/tmp.html", "b1 address D/seite.html", "b1 present", "save"},
         [](PreviewFixture& f) {
             EXPECT_EQ(f.dir.read("tmp.html"), "a include \"fehlt.txt\"\r\nb include \"/dev/zero\"\r\nc include x\r\n");
         }},
        {"UsersOwnTmpHtmlGoesToTheBinBeforeTheIncludePageReplacesIt",
         [](PreviewFixture& f) {
             f.dir.write("tmp.html", "meins");
             f.host.doc = {f.d("seite.html"), "x include \"seite.html\"\r\n", false};
             f.dir.write("seite.html", "<p>hallo</p>");
         },
         false,
         {"new b1", "b1 navigate D/tmp.html", "b1 address D/seite.html", "b1 present", "save"},
         [](PreviewFixture& f) {
             int inBin = 0;
             for (const auto& e : std::filesystem::directory_iterator(f.d("bin"))) {
                 std::ifstream in(e.path());
                 std::string content((std::istreambuf_iterator<char>(in)), {});
                 inBin += content == "meins";
             }
             EXPECT_EQ(inBin, 1);
             // The program's own page is replaced without another copy.
             f.host.doc.text += "y\r\n";
             f.preview.run(false);
             EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.d("bin")), {}), 1);
         }},
        {"CssShowsTheLastPageAgain",
         [](PreviewFixture& f) {
             f.host.doc = {f.d("a.html"), "<html>A</html>", true};
             f.preview.run(false);
             f.host.doc = {f.d("stil.css"), "p{color:red}", true};
         },
         false,
         {"save", "b1 reload", "b1 present"},
         nullptr},
        {"CssWithoutALastPageShowsTheHtmlTabBeforeIt",
         [](PreviewFixture& f) {
             f.host.previousTabHtml = true;
             f.dir.write("a.html", "<html>A</html>");
             f.host.doc = {f.d("stil.css"), "p{color:red}", true};
         },
         false,
         {"save", "notice CSS-Datei wird nicht im Browser angezeigt!", "previous tab", "new b1",
          "b1 navigate D/a.html", "b1 address D/a.html", "b1 present"},
         nullptr},
        {"CssWithoutAnyPageOnlyTellsSo",
         [](PreviewFixture& f) { f.host.doc = {f.d("stil.css"), "p{color:red}", true}; },
         false,
         {"save", "notice CSS-Datei wird nicht im Browser angezeigt!", "previous tab"},
         nullptr},
        {"EmptyDocumentShowsABlankPageWithTheFocusInTheAddress",
         [](PreviewFixture& f) { f.host.doc = {f.d("leer.html"), "  \r\n", false}; },
         false,
         {"new b1", "b1 blank", "b1 address ", "b1 present", "b1 focus"},
         nullptr},
        {"UnchangedDocumentOnlyBringsTheBrowserToTheFront",
         [](PreviewFixture& f) {
             f.host.doc = {f.d("a.html"), "<html>A</html>", true};
             f.preview.run(false);
         },
         false,
         {"b1 present"},
         nullptr},
        {"AnEditFarDownSavedBeforeIsShown",
         [](PreviewFixture& f) {
             f.host.doc = {f.d("a.html"), "<html>" + std::string(2000, 'x') + "A</html>", true};
             f.preview.run(false);
             f.host.doc.text = "<html>" + std::string(2000, 'x') + "B</html>";  // saved with Ctrl+S: no "*"
             f.host.saveDocument();
             f.log.clear();
         },
         false,
         {"b1 navigate D/a.html", "b1 address D/a.html", "b1 present"},
         nullptr},
        {"ChangedDocumentIsSavedAndShownInTheWindowShowingIt",
         [](PreviewFixture& f) {
             f.host.doc = {f.d("a.html"), "<html>A</html>", true};
             f.preview.run(false);
             f.host.doc = {f.d("b.html"), "<html>B</html>", true};
             f.preview.run(false);
             f.host.doc = {f.d("a.html"), "<html>A2</html>", true};
         },
         false,
         {"save", "b1 navigate D/a.html", "b1 address D/a.html", "b1 present"},
         [](PreviewFixture& f) { EXPECT_EQ(f.list.current(), f.list.browsers()[0]); }},
        {"UntitledPlainTextAsksForTheSizeAndWritesAPage",
         [](PreviewFixture& f) {
             f.dialogs.expectAskNumber("Geben Sie die Schriftgröße ein", 20);
             f.host.doc = {"?1", "Hallo", true};
         },
         false,
         {"new b1", "b1 navigate D/temp/tmp10uhr.html", "b1 address D/temp/tmp10uhr.html", "b1 present"},
         [](PreviewFixture& f) {
             EXPECT_NE(f.dir.read("temp/tmp10uhr.html").find("font-size: 20pt"), std::string::npos);
         }},
        {"ANameWithoutExtensionCountsAsUntitled",
         [](PreviewFixture& f) {
             f.dialogs.expectAskNumber("Geben Sie die Schriftgröße ein", 14);
             f.host.doc = {f.d("LIESMICH"), "Hallo", false};
         },
         false,
         {"new b1", "b1 navigate D/temp/tmp10uhr.html", "b1 address D/temp/tmp10uhr.html", "b1 present"},
         [](PreviewFixture& f) { EXPECT_FALSE(std::filesystem::exists(f.d("LIESMICH"))); }},
        {"UntitledHtmlIsWrittenAsItIs",
         [](PreviewFixture& f) { f.host.doc = {"", "<html>\xE4</html>", true}; },
         false,
         {"new b1", "b1 navigate D/temp/tmp10uhr.html", "b1 address D/temp/tmp10uhr.html", "b1 present"},
         [](PreviewFixture& f) { EXPECT_EQ(f.dir.read("temp/tmp10uhr.html"), "<html>\xE4</html>"); }},
        {"EscWithTheSearchPanelOpenOnlyClosesIt",
         [](PreviewFixture& f) {
             f.host.searchPanel = true;
             f.host.doc = {f.d("a.html"), "<html>A</html>", true};
         },
         true,
         {"hide search"},
         nullptr},
        {"F9WithTheSearchPanelOpenClosesItAndShows",
         [](PreviewFixture& f) {
             f.host.searchPanel = true;
             f.host.doc = {f.d("a.html"), "<html>A</html>", true};
         },
         false,
         {"hide search", "new b1", "save", "b1 navigate D/a.html", "b1 address D/a.html", "b1 present"},
         nullptr},
        {"ReadOnlyFolderShowsACopyInTheTemporaryFolder",
         [](PreviewFixture& f) {
             f.host.saveFails = true;
             f.host.doc = {f.d("a.html"), "<html>A</html>", true};
             f.dialogs.expectInform("Die Datei konnte nicht gespeichert werden. Die Vorschau zeigt eine Kopie im "
                                    "temporären Ordner:\r" +
                                    f.d("temp/tmp10uhr.html"));
         },
         false,
         {"new b1", "save", "b1 navigate D/temp/tmp10uhr.html", "b1 address D/a.html", "b1 present"},
         nullptr},
    };
}

class FullPreviewDecision : public ::testing::TestWithParam<DecisionCase> {};

TEST_P(FullPreviewDecision, Steps) {
    PreviewFixture f;
    GetParam().arrange(f);
    f.log.clear();
    f.preview.run(GetParam().byEscape);
    EXPECT_EQ(shortened(f.log, f.dir.path()), GetParam().expected);
    if (GetParam().check) GetParam().check(f);
    EXPECT_TRUE(f.dialogs.scriptDone());
}

INSTANTIATE_TEST_SUITE_P(Preview, FullPreviewDecision, ::testing::ValuesIn(decisionCases()),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(Preview, EscapeNeedsTwoLinesWithHtmlInTheFirstTwo) {
    const std::pair<const char*, bool> cases[] = {
        {"<HTML>\r\n<body>", true}, {"x\r\n<html>", true}, {"<html>", false}, {"a\r\nb\r\n<html>", false}};
    for (const auto& [text, shows] : cases) EXPECT_EQ(escapeShowsPage(text), shows) << text;
}

TEST(Preview, SvgDocumentsHaveMoreThanFiveLinesAndSvgInLinesTwoToFive) {
    const std::pair<const char*, bool> cases[] = {
        {"<html>\r\n<svg>\r\n3\r\n4\r\n5\r\n6", true},
        {"1\n2\n3\n4\n<svg x>\n6\n", true},
        {"1\r2\r3\r4\r5\r\n6\r\n", false},
        {"<svg>\r\n2\r\n3\r\n4\r\n5\r\n6\r\n", false},
        {"1\r\n2\r\n3\r\n4\r\n5\r\n<svg>\r\n", false},
        {"1\r\n<svg>\r\n3\r\n4\r\n5\r\n", false},
        {"1\r\n<svg>\r\n3\r\n4\r\n5", false}};
    for (const auto& [text, svg] : cases) EXPECT_EQ(isSvgDocument(text), svg) << text;
}

TEST(Preview, ShowAndReloadFallsBackToTheFullPreview) {
    PreviewFixture f;
    f.host.doc = {f.d("a.html"), "<html>A</html>", false};
    f.dir.write("a.html", "<html>A</html>");
    f.preview.showAndReload();
    EXPECT_EQ(shortened(f.log, f.dir.path()),
              (Log{"new b1", "b1 present", "b1 reload", "save", "b1 navigate D/a.html", "b1 address D/a.html",
                   "b1 present"}));
    f.log.clear();
    f.preview.showAndReload();
    EXPECT_EQ(f.log, (Log{"b1 present", "b1 reload"}));
}

std::string goldenFile(const std::string& name) {
    const std::string path = std::filesystem::path(__FILE__).parent_path().string() + "/../data/preview/" + name;
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

TEST(Preview, PlainTextPageMatchesTheGoldenFile) {
    EntityTable entities;
    const std::string text = "Erste Zeile \xFC\r\n\r\n\r\n\r\nAbsatz zwei\r\n----\r\n - - - \r\n einger\xFC" "ckt\r\nEnde";
    EXPECT_EQ(plainTextPage(text, 14, entities), goldenFile("plain_text.html"));
}

TEST(Preview, PlainTextWithoutBlankLinesKeepsEveryLineBreak) {
    EntityTable entities;
    const std::string page = plainTextPage("a\r\nb", 12, entities);
    EXPECT_NE(page.find("<body>\r\n<br>a\r\n<br>b\r\n</body>"), std::string::npos) << page;
}

TEST(Preview, FavouritesStartWithTheBuiltInListAndGrow) {
    SettingsStore store;
    test::ScriptedDialogs dialogs;
    const auto first = favourites(store);
    ASSERT_GE(first.size(), 4u);
    EXPECT_EQ(std::count(first.begin(), first.end(), "-"), 1);
    EXPECT_EQ(store.readList("Hauptmenu", "Favoriten").substr(0, first[0].size()), first[0]);
    dialogs.expectInform(kMsgFavouriteAdded);
    addFavourite(store, dialogs, "file:///home/u/index.html");
    const auto second = favourites(store);
    ASSERT_EQ(second.size(), first.size() + 1);
    EXPECT_EQ(second.back(), "file:///home/u/index.html");
}

TEST(Preview, NeighbourFilesInTheExplorerList) {
    const std::vector<std::string> list = {"/d/a.html", "/d/B.html", "/d/c.html"};
    struct Case {
        std::vector<std::string> entries;
        const char* current;
        bool next;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {list, "/d/b.html", true, "/d/c.html"}, {list, "/d/B.html", false, "/d/a.html"},
        {list, "/d/c.html", true, std::nullopt}, {list, "/d/a.html", false, std::nullopt},
        {list, "/d/x.html", true, std::nullopt}, {{"/d/a.html"}, "/d/a.html", true, std::nullopt},
    };
    for (const auto& c : cases) {
        test::ScriptedDialogs dialogs;
        if (!c.expected) dialogs.expectInform(c.next ? kMsgNextNotFound : kMsgPreviousNotFound);
        EXPECT_EQ(neighbourFile(c.entries, c.current, c.next, dialogs), c.expected) << c.current;
    }
}

}  // namespace
