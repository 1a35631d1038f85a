#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "MemoryEditor.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "common/FileIo.h"
#include "common/Text.h"
#include "html/DoctypeStamping.h"
#include "html/HtmlRewrites.h"
#include "html/Indentation.h"
#include "html/NestingDepth.h"
#include "html/TagCheck.h"
#include "html/TagColours.h"

using namespace pictra;
using namespace pictra::html;

namespace {

std::vector<std::string> indent(const std::string& text) {
    return indentByNesting(text, [](const std::string& m) { ADD_FAILURE() << m; });
}

}  // namespace

TEST(HtmlIndent, NestedListsTablesAndProtectedBlocks) {
    EXPECT_EQ(indent("<ul>\r\n<li>\r\nx\r\n</li>\r\n</ul>"), (std::vector<std::string>{"<ul>", "  <li>x</li> ", "</ul> "}));
    EXPECT_EQ(indent("<table><tr><td>a</td><td>b</td></tr></table>"),
              (std::vector<std::string>{"<table>", "  <tr>", "    <td>a</td> ", "    <td>b</td> ", "  </tr> ", "</table> "}));
    // A <pre> block keeps its lines and blanks exactly.
    const auto pre = indent("<div>\r\n<pre>\r\n  a   b\r\n    c\r\n</pre>\r\n</div>");
    const std::string joined = text::joinLines(pre, "\n");
    EXPECT_NE(joined.find("<pre>\n  a   b\n    c\n</pre>"), std::string::npos) << joined;
    EXPECT_EQ(indent("<IMG src=\"a.png\">"), std::vector<std::string>{"<img src=\"a.png\" alt=\"\">"});
    std::vector<std::string> reports;
    indentByNesting("<b>x</b><!-- offen", [&](const std::string& m) { reports.push_back(m); });
    EXPECT_EQ(reports, std::vector<std::string>{"\"-->\" fehlt in:<!-- offen"});
    EXPECT_EQ(tagTextLines("a <B  class=\"x\">b\r\n</b>", true), (std::vector<std::string>{"a", "<b class=\"x\">", "b", "</b>"}));
    EXPECT_TRUE(isVoidTag("<COL width=1>"));
    EXPECT_FALSE(isVoidTag("<colgroup>"));
}

TEST(HtmlIndent, ABlockFollowedByADigitAndAnotherBlockKeepsBoth) {
    EXPECT_EQ(indent("<div><pre>a</pre>1<!--c--></div>"),
              (std::vector<std::string>{"<div>", "<pre>a</pre>1", "<!--c--></div> "}));
    // A style sheet inside a comment comes back inside it, on a line of its own.
    EXPECT_EQ(indent("<!-- <style type=x>p{}</style> -->"),
              (std::vector<std::string>{"", "<!-- ", "<style type=x>p{}</style> -->"}));
}

namespace {

// Sections of a hand-written page, with a comment and a preformatted block in every tenth.
std::string longPage(int sections) {
    std::string p = "<html>\r\n<body>\r\n";
    for (int i = 0; i < sections; ++i) {
        p += "<h2>Abschnitt " + std::to_string(i) +
             "</h2>\r\n<p>Ein <b>fetter</b> Absatz.<br>\r\nNoch eine Zeile.</p>\r\n";
        if (i % 10 == 0) p += "<!-- Abschnitt -->\r\n<pre>\r\n  vor  formatiert\r\n</pre>\r\n";
    }
    return p + "</body>\r\n</html>\r\n";
}

}  // namespace

TEST(HtmlIndent, TheCancelWindowIsPolledThroughoutAndAClickStopsTheWork) {
    const std::string page = longPage(20000);
    test::ScriptedDialogs dialogs;
    const auto keepGoing = [&dialogs] { return !dialogs.stepCancelWindow("Einrücken"); };
    dialogs.beginCancelWindow("Einrücken");
    const auto whole = indentByNesting(page, [](const std::string& m) { ADD_FAILURE() << m; }, keepGoing);
    dialogs.endCancelWindow();
    ASSERT_TRUE(whole.has_value());
    EXPECT_EQ(*whole, indent(page));
    // About 200,000 lines go through a dozen passes: polled all the way, not only between passes.
    const int steps = dialogs.cancelSteps();
    EXPECT_GT(steps, 100);
    for (const int click : {1, steps / 2, steps}) {
        test::ScriptedDialogs clicking;
        clicking.clickCancelAtStep(click);
        clicking.beginCancelWindow("Einrücken");
        const auto stopped = indentByNesting(page, [](const std::string&) {}, [&clicking] {
            return !clicking.stepCancelWindow("Einrücken");
        });
        EXPECT_FALSE(stopped.has_value()) << click;
        EXPECT_EQ(clicking.cancelSteps(), click);
    }
}

TEST(HtmlNesting, OnlyElementsThatHoldOthersCount) {
    const std::string hundredThousand = [] {
        std::string p;
        for (int i = 0; i < 100000; ++i) p += "<ol>";
        return p;
    }();
    const struct {
        std::string page;
        int depth;
    } cases[] = {
        {"", 0},
        {"Text ohne Tags < und >", 0},
        {"<div><div>x</div></div><div></div>", 2},
        {"<DIV><Span>x</span></div>", 2},
        {"<p>a<p>b<p>c<li>d<li>e<td>f<tr><br><img src=x><a href=y><a href=z>", 0},
        {"<ul><li><ul><li><ul><li>x", 3},
        {"<table><tr><td><table><tr><td>x</td></tr></table></td></tr></table>", 2},
        {"<div><span><b>x</div><div>y</div>", 3},      // the end tag closes what is open inside
        {"</div></div><div>x", 1},                      // stray end tags close nothing
        {"<b><i>x</b></i><b>", 2},
        {"<!-- <div><div><div> --><div>", 1},
        {"<!DOCTYPE html><?xml version=\"1.0\"?><div>", 1},
        {"<script>if (a<b) { '<div><div>' }</script><div>", 1},
        {"<style type=\"text/css\"><div><div></style>", 0},
        {"<div/><span/><em>", 1},
        {hundredThousand, 100000},
    };
    for (const auto& c : cases) EXPECT_EQ(nestingDepth(c.page), c.depth) << c.page.substr(0, 80);
}

TEST(HtmlNesting, TheRefusalNamesTheDepthAndTheLimit) {
    EXPECT_EQ(tooDeepForTidy(10000),
              "Die Seite ist zu tief verschachtelt: 10000 Ebenen ineinander (höchstens 2000).\rTidy wurde nicht "
              "aufgerufen, der Text bleibt unverändert.");
}

TEST(HtmlTagCount, BracketsDeviationsAndStatistics) {
    const std::string before(600, 'x');
    const TagCount stray = countTags(before + "a > b", [] { return true; });
    EXPECT_TRUE(text::startsWith(stray.report, "Mindestens ein \">\" zu viel! (siehe !!! ...)\r\n================\r\n..."));
    EXPECT_NE(stray.report.find(std::string(498, 'x') + "a >" + std::string(23, '!') + "\r b"), std::string::npos);

    const TagCount bold = countTags("<b>a</b> <b>c <br> <img src=x> <!-- <i> -->", [] { return true; });
    EXPECT_EQ(bold.suggestion, "b");
    EXPECT_NE(bold.report.find("Gratuliere: Gleichviele \"<\" und \">\"-Klammern gez\xE4hlt!"), std::string::npos);
    EXPECT_NE(bold.report.find("Abweichungen\r= = =\r<b> 2 </b> 1\r\xDC" "berpr\xFC" "fe"), std::string::npos);
    EXPECT_EQ(bold.report.find("<i>"), std::string::npos);  // inside a comment
    EXPECT_NE(bold.report.find("Statistik:\r= = =\r<b> 2 </b> 1\r<br> 1 </br> 0\r<img> 1 </img> 0"), std::string::npos);
    EXPECT_NE(countTags("<p>x</p>", [] { return true; }).report.find("Gratuliere: keine"), std::string::npos);
}

TEST(HtmlSingleTag, PairsExtraStartsAndExtraEnds) {
    EXPECT_EQ(checkSingleTag("<a href=1>x</a> <ab>", "a"),
              "Gratuliere: Zu allen <a>-Tags gibt es genau ein  </a>-Endtag!\r\r<a href=1>x</a>\r");
    const std::string open = checkSingleTag("<b>x<b>y</b>", "b");
    EXPECT_EQ(open.substr(0, 57), "Mindestens ein Anfangstag <b> ist zu viel: siehe unten.\r\r");
    EXPECT_NE(open.find("<b>x!!!<b>!!!y</b>...\r\r= = =\r</b> fehlt"), std::string::npos);
    const std::string extra = checkSingleTag("<b>x</b></b>", "b");
    EXPECT_EQ(extra.substr(0, 54), "Mindestens ein Endtag </b> ist zu viel: siehe unten.\r\r");
    EXPECT_NE(extra.find("Abbruch, da ein </b> zu viel:\r<b>\rx\r</b>\r</b>\r"), std::string::npos);
}

TEST(HtmlRewrite, SkeletonCssParagraphsAndWiki) {
    EXPECT_EQ(embeddedFileName("/home/a/brief.txt"), "/home/a/briefz.html");
    EXPECT_EQ(embeddedFileName("seite.htm"), "seite.htm");
    const std::string embedded = embedInSkeleton("Hallo", "10.12.26");
    EXPECT_EQ(embedded.substr(0, std::string(kDoctype).size()), kDoctype);
    EXPECT_NE(embedded.find("    <title>10.12.26</title>\r\n"), std::string::npos);
    EXPECT_TRUE(text::endsWith(embedded, "Hallo\r\n\r\n\r\n</body>\r\n</html>"));
    EXPECT_TRUE(text::endsWith(embedInSkeleton("x</body></html>", "d"), "x</body></html>"));

    EXPECT_EQ(compressCss({"p {", "  color : red;", "}", "", "h1 {x}"}),
              (std::vector<std::string>{"p { color:red;}", "h1 {x}"}));
    EXPECT_EQ(paragraphsFromBreaks({"a", "  <br><br>", "b", "<br>", "<br>", "c"}),
              (std::vector<std::string>{"a", "  </p>", "  <p>", "b", "</p>", "<p>", "c"}));
    EXPECT_EQ(wikiToHtml({"!Titel", "^^Mitte", "", "", "\xFBrechts", "ein \xE2" "fettes Wort", "\xEArot und mehr\xEA ok"}),
              (std::vector<std::string>{"<h1>Titel</h1>", "<h2 align=\"center\">Mitte</h2>", "   <br><br>  ",
                                        "<div style=\"text-align:right;\">rechts</div>", "ein <b>fettes</b> Wort",
                                        "<span  style=\"color:#FF0000;\">rot und mehr</span> ok"}));
    EXPECT_EQ(boldWeekdays({"Am Montag um 9 Uhr", "<b>Dienstag</b>"}),
              (std::vector<std::string>{"<br><b>Am <b>Montag</b> um 9 Uhr</b>", "<b>Dienstag</b>"}));
    EXPECT_EQ(blankParagraphTags("<p class=x>a</p>12345"), "           a    12345");
    EXPECT_EQ(blankRowAndCellAttributes("<td width=5>a</td>123456"), "<td>        a</td>123456");
    EXPECT_EQ(trimElementContents("<a href=x>  Link </a><b> </b>", "a"), "<a href=x>Link</a><b> </b>");
    EXPECT_EQ(addDescription("<title>t</title>", "Beschreibung").text,
              "<title>t</title>\r\n       <meta name=\"Description\" CONTENT=\"Beschreibung\">");
    EXPECT_EQ(addDescription("ohne", "x").message, kMsgNoTitle);
}

TEST(HtmlRewrite, TableAndListAtTheCaret) {
    const std::string page = "vorher <table border=1><tr><td>a</td>\r\n<td>b</td></tr></table> nachher";
    const Structured table = structureTableAt(page, 0);
    EXPECT_EQ(table.message, "");
    EXPECT_EQ(table.text, "vorher <table border=1>\r\n  <tr><td>a</td><td>b</td></tr>\r\n</table> nachher");
    EXPECT_EQ(structureTableAt("<p>x</p>", 0).message, "Cursor muss direkt vor \"<table\" stehen!");
    EXPECT_EQ(structureTableAt("<table><tr>", 0).message, "\"</table>\" fehlt!");
    EXPECT_EQ(structureTableAt("<table><table></table></table>", 0).message, "Verschachtelte Tabellen sind zu kompliziert!");
    EXPECT_EQ(structureListAt("<ol><li>a</li><li>b</li></ol>", 0).text,
              "<ol>\r\n  <li>a</li>\r\n  <li>b</li>\r\n</ol>");
    EXPECT_EQ(structureListAt("<ul><li>a</li>", 0).message, "\"</ul>\" fehlt!");
}

TEST(HtmlColours, TagsArePaintedThroughTheirClosingBracket) {
    test::MemoryEditor view("<p>a<br></p>");
    test::ScriptedDialogs dialogs;
    view.setCaret(5);
    ASSERT_TRUE(colourOccurrences(view, dialogs, colourRules(ColourSet::Tags)));
    ASSERT_EQ(view.paints.size(), 3u);
    EXPECT_EQ(view.paints[0].start, 0);
    EXPECT_EQ(view.paints[0].length, 3);
    EXPECT_EQ(view.paints[1].paint.colour, 0xFFFF00u);  // "<br>" in cyan
    EXPECT_EQ(view.paints[2].length, 4);
    EXPECT_EQ(view.paints[2].paint.sizeIncrease, -4);
    EXPECT_EQ(view.caret(), 5);

    std::string many;
    for (int i = 0; i < 300; ++i) many += "<i>";
    view.setText(many);
    dialogs.expectAsk(kAskGoOn, Answer::No);
    EXPECT_FALSE(colourOccurrences(view, dialogs, colourRules(ColourSet::Tags)));
    EXPECT_EQ(view.paints.size(), 3u + 250u);
}

TEST(HtmlDoctype, StampsATreeWithBackupsAndNoLoops) {
    test::TempDir dir;
    namespace fs = std::filesystem;
    const std::string root = dir.path() + "site/";
    fs::create_directories(root + "sub");
    const auto write = [](const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; };
    write(root + "a.html", "<html>a</html>");
    write(root + "sub/b.htm", "<!DOCTYPE html>\r\n<html>b</html>");
    write(root + "c.php", "<html><!DOCTYPE x></html>");
    write(root + "d.txt", "<html></html>");
    write(root + "e.html", std::string(kDoctype) + "\r\n<html>");
    fs::create_directory_symlink(root, root + "sub/loop");
    test::ScriptedDialogs dialogs;
    const StampResult result = stampFolderTree(root, dir.path() + "bin", {2026, 12, 10}, dialogs);
    EXPECT_EQ(result.changed, 3);
    EXPECT_EQ(*fileio::readFile(root + "a.html"), std::string(kDoctype) + "\r\n<html>a</html>");
    EXPECT_EQ(*fileio::readFile(root + "sub/b.htm"), std::string(kDoctype) + "\r\n<html>b</html>");
    // A page in one line loses only its old declaration.
    EXPECT_EQ(*fileio::readFile(root + "c.php"), "<html>" + std::string(kDoctype) + "</html>");
    EXPECT_EQ(*fileio::readFile(root + "d.txt"), "<html></html>");
    int backups = 0;
    for (const auto& entry : fs::directory_iterator(dir.path() + "bin")) backups += entry.is_regular_file();
    EXPECT_EQ(backups, 3);
    dialogs.expectInform(kMsgFolderUnreadable);
    stampFolderTree(dir.path() + "fehlt", dir.path() + "bin", {2026, 12, 10}, dialogs);
}
