#include <gtest/gtest.h>

#include "ScriptedDialogs.h"
#include "shell/Documents.h"
#include "shell/Instance.h"
#include "shell/StatusTexts.h"

using namespace pictra;

TEST(Documents, CaptionsFollowTheModifiedAndStarTableRules) {
    EXPECT_EQ(documents::tabCaption("/home/a/brief.txt", true), "brief.txt*");
    EXPECT_EQ(documents::tabCaption("/home/a/brief.txt", false), "brief.txt");
    EXPECT_EQ(documents::tabCaption("/home/a/bild.exe~", true), "bild.exe~");
    EXPECT_EQ(documents::tabCaption("?", true), "?*");
    EXPECT_EQ(documents::windowCaption("/a/noten.txt", 12, true, ""), "/a/noten.txt[10]  ");
    EXPECT_EQ(documents::windowCaption("/a/noten.txt", 12, false, "07:30"), "/a/noten.txt[12]  07:30");
    EXPECT_EQ(documents::windowCaption("?", 1, true, ""), "?[1]  ");
}

TEST(Documents, FindOpenIgnoresCase) {
    const std::vector<std::string> names{"?", "/home/A/Brief.txt", "/home/a/brief.txt"};
    EXPECT_EQ(documents::findOpen(names, "/HOME/a/BRIEF.TXT"), 1);
    EXPECT_EQ(documents::findOpen(names, "/home/a/fehlt.txt"), -1);
}

TEST(Documents, MenuOf65DocumentsHasThreeColumns) {
    std::vector<std::string> names;
    for (int i = 0; i < 65; ++i) names.push_back(i == 3 ? "?" : "/t/d" + std::to_string(i) + ".txt");
    const auto menu = documents::documentMenu(names);
    ASSERT_EQ(menu.size(), 66u);
    std::vector<size_t> breaks;
    for (size_t i = 0; i < menu.size(); ++i) {
        if (menu[i].startsColumn) breaks.push_back(i + 1);
    }
    EXPECT_EQ(breaks, (std::vector<size_t>{31, 61}));
    EXPECT_EQ(menu[0].caption, "[1]/t/d0.txt");
    EXPECT_EQ(menu[0].hint, "Klick: Umschalten in Datei [1]/t/d0.txt");
    EXPECT_EQ(menu[3].hint, "Datei wurde noch nicht -oder nur temporär- abgespeichert.");
    EXPECT_EQ(menu.back().caption, "spezieller Dateienexplorer");
    EXPECT_EQ(menu.back().hint, "Der Dateienexplorer wird auf den Pfad der aktuellen Datei eingestellt");
    EXPECT_FALSE(documents::documentMenu(std::vector<std::string>(29, "?")).back().startsColumn);
    EXPECT_TRUE(documents::documentMenu(std::vector<std::string>(30, "?")).back().startsColumn);
}

TEST(Documents, StartRequest) {
    EXPECT_EQ(documents::startRequest({}, "/p/", false, "/w"), "");
    EXPECT_EQ(documents::startRequest({}, "/p/", true, "/w"), "/p/index.html");
    EXPECT_EQ(documents::startRequest({"/home/a/brief.txt\n"}, "/p/", true, "/w"), "/home/a/brief.txt");
    EXPECT_EQ(documents::startRequest({"\t/a b\x0c.txt\x01", "x"}, "/p/", false, "/w"), "/a b.txt");
}

TEST(Documents, StartRequestCountsRelativeNamesFromTheStartFolder) {
    const struct {
        const char* argument;
        const char* folder;
        const char* expected;
    } cases[] = {
        {"foto.jpg", "/home/anna/Bilder", "/home/anna/Bilder/foto.jpg"},
        {"./foto.jpg", "/home/anna/Bilder", "/home/anna/Bilder/foto.jpg"},
        {"../Texte/brief.txt", "/home/anna/Bilder", "/home/anna/Texte/brief.txt"},
        {"Urlaub 2026/Strand am Meer.jpg", "/home/anna/Bilder", "/home/anna/Bilder/Urlaub 2026/Strand am Meer.jpg"},
        {"foto.jpg", "/", "/foto.jpg"},
        {"/abs/foto.jpg", "/home/anna", "/abs/foto.jpg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(documents::startRequest({c.argument}, "/p/", false, c.folder), c.expected) << c.argument;
    }
}

TEST(StatusTexts, PanelAndNoticeAgeOverTicks) {
    std::string panel = "Gespeichert";
    panel = status::agePanelText(panel);
    EXPECT_EQ(panel, " Gespeichert");
    panel = status::agePanelText(panel);
    EXPECT_EQ(panel, "  Gespeichert");
    EXPECT_EQ(status::agePanelText(panel), "");
    EXPECT_EQ(status::agePanelText(""), "");

    auto notice = status::ageNotice("Ende erreicht");
    EXPECT_FALSE(notice.hide);
    notice = status::ageNotice(notice.text);
    EXPECT_EQ(notice.text, "**Ende erreicht");
    EXPECT_TRUE(status::ageNotice(notice.text).hide);
}

TEST(StatusTexts, NoticeBarShowsFirstLineOfLongNotices) {
    EXPECT_EQ(status::noticeBarText("Ende erreicht"), "Ende erreicht");
    EXPECT_EQ(status::noticeBarText("  Erste Zeile \rzweite"), "Erste Zeile Näheres: Bitte hier klicken");
    EXPECT_EQ(status::noticeExplanation("A").rfind("A\r\r\rHinweis zu dieser Meldung:\rIm Fenster wird dieser "
                                                   "Hinweis ca. 3 Sekunden eingeblendet.",
                                                   0),
              0u);
}

TEST(StatusTexts, GermanDateAndAlarm) {
    EXPECT_EQ(status::germanDateTime(2026, 12, 10, 4, 9, 5), "Donnerstag, 10.12.2026  09:05");
    EXPECT_EQ(status::germanDateTime(2027, 3, 1, 1, 23, 59), "Montag, 1.03.2027  23:59");
    std::string alarms = "07:30 12:00 18:15";
    EXPECT_FALSE(status::takeAlarm(alarms, "08:00"));
    EXPECT_TRUE(status::takeAlarm(alarms, "12:00"));
    EXPECT_EQ(alarms, "07:30  18:15");
    EXPECT_TRUE(status::takeAlarm(alarms, "07:30"));
    EXPECT_EQ(alarms, "18:15");
}

TEST(Instance, SecondInstanceIsAskedFor) {
    test::ScriptedDialogs dialogs;
    EXPECT_EQ(decideInstance(true, dialogs), false);
    dialogs.expectAsk("Soll eine weitere Instanz von Pictra gestartet werden?", Answer::Yes)
        .expectAsk("Soll eine weitere Instanz von Pictra gestartet werden?", Answer::No);
    EXPECT_EQ(decideInstance(false, dialogs), true);
    EXPECT_EQ(decideInstance(false, dialogs), std::nullopt);
}
