#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "explorer/search/ResultCommands.h"
#include "explorer/search/SearchRun.h"

namespace pictra::filesearch {
namespace {

std::string lineOf(const std::string& path, const std::string& size) { return path + "|" + size + "|01.01.26 Do 10:00"; }

TEST(SearchDuplicates, ContentDecidesTheSelection) {
    test::TempDir dir;
    for (const char* folder : {"a", "bb", "ccc", "d"}) mkdir(dir.file(folder).c_str(), 0755);
    dir.write("a/x.txt", "gleich");
    dir.write("bb/x.txt", "gleich");
    dir.write("ccc/x.txt", "gleich");
    dir.write("a/y.txt", "eins");
    dir.write("d/y.txt", "zwei");  // same name and size, other content
    dir.write("a/z.txt", "allein");
    const std::vector<std::string> lines{lineOf(dir.file("a/x.txt"), "6"),   lineOf(dir.file("a/y.txt"), "4"),
                                         lineOf(dir.file("a/z.txt"), "6"),   lineOf(dir.file("bb/x.txt"), "6"),
                                         lineOf(dir.file("ccc/x.txt"), "6"), lineOf(dir.file("d/y.txt"), "4")};
    test::ScriptedDialogs dialogs;
    const Duplicates d = findDuplicates(lines, dialogs);
    // Three equal files give three pairs; the pair of y.txt differs in content.
    const std::vector<std::string> expected{lines[0], lines[3], "", lines[0], lines[4], "", lines[1], lines[5], "",
                                            lines[3], lines[4], ""};
    EXPECT_EQ(d.lines, expected);
    EXPECT_EQ(d.selected, (std::vector<int>{1, 4, 10}));
    EXPECT_FALSE(d.stopped);
}

TEST(SearchWrongLinks, Table) {
    struct Case {
        const char* label;
        std::string text;
        std::vector<std::string> expected;
    } cases[] = {
        {"backslash", "<a href=\"x\\y.html\">", {"P | x\\y.html"}},
        {"slash is right", "<a href=\"x/y.html\">", {}},
        {"quote never closes", "<a href=\"x\\y.html>", {}},
        {"more than 500 characters", "<a href=\"" + std::string(501, 'a') + "\\\">", {}},
        {"exactly 500 characters", "<a href=\"" + std::string(499, 'a') + "\\\">", {"P | " + std::string(499, 'a') + "\\"}},
        {"two links", "<a href=\"a\\b\"> <a href=\"c\\d\">", {"P | a\\b", "P | c\\d"}},
        {"nine characters only", "href=\"\\\"", {}},
        {"capital HREF is not looked at", "<a HREF=\"x\\y.html\">", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(wrongLinks("P", c.text), c.expected) << c.label;
}

TEST(SearchTooltip, FirstMatchingLine) {
    EXPECT_EQ(firstMatchingLine("eins\r\nHerr M\xdcLLER kommt\r\nM\xfcller", "müller", false), "Herr MÜLLER kommt");
    EXPECT_EQ(firstMatchingLine("a\nb m\xc3\xbcller c\nd", "Müller", false), "b müller c");
    EXPECT_EQ(firstMatchingLine("Müller", "müller", true), std::nullopt);
    EXPECT_EQ(firstMatchingLine("x", "", false), std::nullopt);
}

TEST(SearchNumbered, NamesKeepGapsAndGrow) {
    EXPECT_EQ(numberedPath("/a/b.txt", "xyz", 0), "/a/xyz001.txt");
    EXPECT_EQ(numberedPath("/a/b.txt", "xyz", 4), "/a/xyz005.txt");
    EXPECT_EQ(numberedPath("/a/b", "xyz", 1233), "/a/xyz1234");
}

TEST(SearchNumbered, RenamesAfterConfirmation) {
    test::TempDir dir;
    dir.write("a.txt", "1");
    dir.write("b.txt", "2");
    test::ScriptedDialogs dialogs;
    dialogs.expectAskText("Mit welchem Namen?", std::string("bild"));
    dialogs.expectAsk("So korrekt?\r\n" + dir.file("a") + " wird umbenannt in bild003\r\n" + dir.file("b") +
                          " wird umbenannt in bild005\r\n",
                      Answer::Yes);
    EXPECT_TRUE(renameNumbered({dir.file("a.txt"), dir.file("b.txt")}, {2, 4}, dialogs, ""));
    EXPECT_EQ(dir.read("bild003.txt"), "1");
    EXPECT_EQ(dir.read("bild005.txt"), "2");
}

TEST(SearchRenameOne, Messages) {
    test::TempDir dir;
    dir.write("alt.txt", "1");
    dir.write("da.txt", "2");
    struct Case {
        std::optional<std::string> answer;
        const char* message;
    } cases[] = {{std::nullopt, "Abbruch"}, {"alt", "Name nicht geändert!"}, {"da", "Nicht umbenannt"}};
    for (const auto& c : cases) {
        test::ScriptedDialogs dialogs;
        dialogs.expectAskText("alt.txt", c.answer);
        dialogs.expectInform(c.message);
        EXPECT_FALSE(renameOne(dir.file("alt.txt"), dialogs));
    }
    test::ScriptedDialogs dialogs;
    dialogs.expectAskText("alt.txt", std::string("neu"));
    EXPECT_TRUE(renameOne(dir.file("alt.txt"), dialogs));
    EXPECT_EQ(dir.read("neu.txt"), "1");
}

TEST(SearchReplace, TextChangedBinaryUntouchedOtherCaseNotReported) {
    test::TempDir dir;
    dir.write("text.txt", "Herr M\xdcLLER und Herr M\xfcller");
    dir.write("bild.png", std::string("\x89PNG\r\n\x1a\n\0\0M\xfcller", 16));
    dir.write("anders.txt", "keiner hier");
    std::vector<std::string> kept;
    auto keep = [&](const std::string& path) {
        kept.push_back(path);
        return true;
    };
    test::ScriptedDialogs dialogs;
    dialogs.expectAsk("In \"" + dir.file("text.txt") + "\" erstes \"Müller\" ersetzten durch \"Meier\"", Answer::Yes);
    // Case ignored: the first occurrence is the upper-case one, and that one is replaced.
    EXPECT_EQ(replaceInFile(dir.file("text.txt"), "Müller", "Meier", false, dialogs, keep), ReplaceOutcome::Replaced);
    EXPECT_EQ(dir.read("text.txt"), "Herr Meier und Herr M\xfcller");
    EXPECT_EQ(kept, (std::vector<std::string>{dir.file("text.txt")}));
    EXPECT_EQ(replaceInFile(dir.file("bild.png"), "Müller", "Meier", false, dialogs, keep), ReplaceOutcome::NoMatch);
    EXPECT_EQ(dir.read("bild.png").size(), 16u);
    EXPECT_EQ(replaceInFile(dir.file("anders.txt"), "Müller", "Meier", false, dialogs, keep), ReplaceOutcome::NoMatch);
    // With the case flag, a file holding the text only in another case is not a hit.
    dir.write("gross.txt", "M\xdcLLER");
    EXPECT_EQ(replaceInFile(dir.file("gross.txt"), "Müller", "Meier", true, dialogs, keep), ReplaceOutcome::NoMatch);
    EXPECT_EQ(dir.read("gross.txt"), "M\xdcLLER");
    // No backup, no change.
    dialogs.expectAsk("In \"" + dir.file("gross.txt") + "\" erstes \"Müller\" ersetzten durch \"Meier\"", Answer::Yes);
    dialogs.expectInform("\"" + dir.file("gross.txt") + "\"  wurde nicht verändert.");
    EXPECT_EQ(replaceInFile(dir.file("gross.txt"), "Müller", "Meier", false, dialogs, [](const std::string&) { return false; }),
              ReplaceOutcome::NotChanged);
    EXPECT_EQ(dir.read("gross.txt"), "M\xdcLLER");
    // A UTF-8 occurrence gets the UTF-8 replacement.
    dir.write("neu.txt", "Gr\xc3\xbc\xc3\x9f");
    dialogs.expectAsk("In \"" + dir.file("neu.txt") + "\" erstes \"grüß\" ersetzten durch \"Grüße\"", Answer::Yes);
    EXPECT_EQ(replaceInFile(dir.file("neu.txt"), "grüß", "Grüße", false, dialogs, keep), ReplaceOutcome::Replaced);
    EXPECT_EQ(dir.read("neu.txt"), "Gr\xc3\xbc\xc3\x9f" "e");
}

TEST(SearchReplace, SkippedNames) {
    for (const char* path : {"/a/b.BMP", "/a/b.zip", "/a/b.exe", "/x.jpg/t.txt", "/a/b.jpeg"})
        EXPECT_TRUE(replaceSkipsName(path)) << path;
    for (const char* path : {"/a/b.txt", "/a/b.html"}) EXPECT_FALSE(replaceSkipsName(path)) << path;
}

TEST(SearchReplace, AskingForTheReplacement) {
    SearchSession session;
    test::ScriptedDialogs dialogs;
    dialogs.expectInform("Zuerst den zu ersetzenden Text ins 1. Feld von \"Welchen Text\" eintragen");
    askReplacement("", session, dialogs);
    dialogs.expectAskText("Ändern Sie den Text entsprechend!", std::string("neu"));
    dialogs.expectInform("Jetzt \"Start Suche\" klicken!");
    askReplacement("alt", session, dialogs);
    EXPECT_EQ(session.replacement, "neu");
    dialogs.expectAskText("Ändern Sie den Text entsprechend!", std::nullopt);
    dialogs.expectInform("Abbruch!");
    askReplacement("alt", session, dialogs);
    EXPECT_EQ(session.replacement, "");
}

TEST(SearchCopy, RerootedBelowTheMountPointAndChoices) {
    EXPECT_EQ(rerooted("/media/stick/a/b.txt", "/ziel", "/media/stick"), "/ziel/a/b.txt");
    EXPECT_EQ(rerooted("/home/u/a.txt", "/ziel/", "/"), "/ziel/home/u/a.txt");
    EXPECT_TRUE(isWebText("/a/index.HTML"));
    EXPECT_FALSE(isWebText("/a/zzz_index.html"));
    EXPECT_FALSE(isWebText("/a/b.txt"));

    test::TempDir dir;
    mkdir(dir.file("quelle").c_str(), 0755);
    dir.write("quelle/a.txt", "neu");
    dir.write("quelle/b.html", "neu");
    const std::string target = dir.file("ziel");
    const auto mountOf = [&](const std::string&) { return dir.path(); };
    test::ScriptedDialogs dialogs;
    CopySession copies;
    CopyContext context{dialogs, copies, "", "", {}, nullptr};
    SearchSession session;
    EXPECT_EQ(copyWithFolders({dir.file("quelle/a.txt"), dir.file("quelle/b.html")}, target, session, context, mountOf), 2);
    EXPECT_EQ(dir.read("ziel/quelle/a.txt"), "neu");
    dir.write("quelle/a.txt", "neuer");
    dir.write("quelle/b.html", "neuer");
    // "nur die noch nicht existieren", web texts always: only the page is copied again.
    EXPECT_EQ(copyWithFolders({dir.file("quelle/a.txt"), dir.file("quelle/b.html")}, target, session, context, mountOf), 1);
    EXPECT_EQ(dir.read("ziel/quelle/a.txt"), "neu");
    EXPECT_EQ(dir.read("ziel/quelle/b.html"), "neuer");
    session.copyAll = true;
    EXPECT_EQ(copyWithFolders({dir.file("quelle/a.txt")}, target, session, context, mountOf), 1);
    EXPECT_EQ(dir.read("ziel/quelle/a.txt"), "neuer");
}

}  // namespace
}  // namespace pictra::filesearch
