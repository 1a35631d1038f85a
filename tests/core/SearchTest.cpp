#include <gtest/gtest.h>

#include "MemoryEditor.h"
#include "ScriptedDialogs.h"
#include "shell/editing/Search.h"

using namespace pictra;
using namespace pictra::search;

namespace {

class TestBar : public SearchBar {
public:
    std::string termText, replacementText;
    bool caseOn = false, big = false;
    std::vector<std::string> notices;
    int beeps = 0, barShown = 0;

    std::string term() const override { return termText; }
    std::string replacement() const override { return replacementText; }
    bool matchCase() const override { return caseOn; }
    void setMatchCase(bool on) override { caseOn = on; }
    bool bigHits() const override { return big; }
    void showBar(bool) override { ++barShown; }
    void termSearched() override {}
    void showNotice(const std::string& text) override { notices.push_back(text); }
    void showStatusBar() override {}
    void beep() override { ++beeps; }
};

struct SearchTest : ::testing::Test {
    test::MemoryEditor view;
    TestBar bar;
    SearchSession session;
    test::ScriptedDialogs dialogs;

    int lastPaint() const { return view.paints.empty() ? -1 : view.paints.back().start; }
};

}  // namespace

TEST_F(SearchTest, NextFindsOverlappingHitsAndWrapsToTheTop) {
    view.setText("aaaa\nAaa");
    bar.termText = "aa";
    session.first(view, bar);
    EXPECT_EQ(lastPaint(), 0);
    EXPECT_EQ(view.caret(), 0);
    session.next(view, bar);
    EXPECT_EQ(lastPaint(), 1);  // overlaps the first hit by all but its first character
    session.next(view, bar);
    EXPECT_EQ(lastPaint(), 2);
    session.next(view, bar);
    EXPECT_EQ(lastPaint(), 5);  // case ignored unless asked
    bar.caseOn = true;
    session.next(view, bar);
    EXPECT_EQ(lastPaint(), 6);
    session.next(view, bar);  // no further hit: the first one again
    EXPECT_EQ(lastPaint(), 0);
    EXPECT_EQ(bar.notices.back(), "Suche \"aa\" wieder von Anfang");
    EXPECT_EQ(view.paints.back().paint.colour, 255u);
    EXPECT_TRUE(view.paints.back().paint.bold);
    EXPECT_EQ(session.history(), std::vector<std::string>{"aa"});

    bar.termText = "zz";
    session.first(view, bar);
    EXPECT_EQ(bar.notices.back(), "\"zz\"nicht vorhanden!");
    bar.termText.clear();
    session.next(view, bar);
    EXPECT_EQ(bar.barShown, 1);
    EXPECT_EQ(bar.notices.back(), kMsgEnterTerm);
}

TEST_F(SearchTest, PreviousAndLast) {
    view.setText("ab x ab x ab");
    bar.termText = "AB";
    bar.big = true;
    session.last(view, bar);
    EXPECT_EQ(lastPaint(), 10);
    EXPECT_EQ(view.paints.back().paint.sizeIncrease, 4);
    bar.caseOn = true;
    session.previous(view, bar);  // unticks the case box and goes one hit back
    EXPECT_FALSE(bar.caseOn);
    EXPECT_EQ(lastPaint(), 5);
    session.previous(view, bar);
    // The scan starts at position 1, so the hit at 0 is never "previous": wrap to the end.
    EXPECT_EQ(lastPaint(), 10);
    EXPECT_EQ(bar.notices.back(), "Suche \"AB\" vom Ende");

    view.setText("nur ein ab hier");
    session.previous(view, bar);
    EXPECT_EQ(lastPaint(), 8);
    EXPECT_EQ(bar.notices.back(), "Suche \"AB\" vom Ende");
    view.setText("nichts");
    session.last(view, bar);
    EXPECT_EQ(bar.notices.back(), "Anfang erreicht");
}

TEST_F(SearchTest, ReplaceAllIsOfferedUntilTheFirstNo) {
    view.setText("Hund hund HUND");
    bar.termText = "hund";
    bar.replacementText = "Katze";
    dialogs.expectAsk(kAskReplaceAll, Answer::Yes);
    session.replace(view, bar, dialogs);
    EXPECT_EQ(view.text(), "Katze Katze Katze");
    EXPECT_TRUE(session.askReplaceAll());

    view.setText("Hund hund HUND");
    bar.big = true;  // "Treffer groß schreiben" makes the replacement of all match case
    dialogs.expectAsk(kAskReplaceAll, Answer::Yes);
    session.replace(view, bar, dialogs);
    EXPECT_EQ(view.text(), "Hund Katze HUND");

    view.setText("Hund hund");
    view.setCaret(1);
    dialogs.expectAsk(kAskReplaceAll, Answer::No);
    session.replace(view, bar, dialogs);
    EXPECT_EQ(view.text(), "Hund Katze");
    EXPECT_EQ(view.caret(), 10);
    EXPECT_EQ(view.paints.back().start, 5);
    session.replace(view, bar, dialogs);  // never asked again
    EXPECT_EQ(bar.notices.back(), "Ende erreicht");
    EXPECT_TRUE(dialogs.scriptDone());
}

TEST(SearchText, PlainLinesTabsAndTables) {
    EXPECT_EQ(plainLines({"ab\tcdefghij\tx", "\tz\x01y  ", "", ""}, 8),
              (std::vector<std::string>{"ab       cdefghij x", "         z y"}));
    EXPECT_EQ(plainLines({"a\tb"}, 0), std::vector<std::string>{"a b"});
    int tones = 0;
    EXPECT_EQ(tabsToTable({"Name\tNote\tx", "Li\t2", "ohne"}, [&] { ++tones; }),
              (std::vector<std::string>{"Name Note x", "Li   2    ", "ohne      "}));
    EXPECT_EQ(tones, 1);  // one tone for the command, not one per line and pass
    EXPECT_EQ(replaceEvery("\xC4pfel \xE4pfel", "\xE4pfel", "Birnen", false), "Birnen Birnen");

    const auto results = searchDocuments({{"eins Wort", "wort"}, {"", "noch ein Wort"}}, "Wort", [](int) {});
    EXPECT_EQ(results, (std::vector<std::string>{"1|0:eins Wort", "2|1:noch ein Wort", "2 Fundstellen"}));
}

TEST_F(SearchTest, SingleDocumentSearchFindsAHitAtTheFirstCharacter) {
    view.setText("Wort und wort");
    EXPECT_TRUE(searchFromSelection(view, "wort"));
    EXPECT_EQ(lastPaint(), 0);
    EXPECT_EQ(view.paints.back().paint.sizeIncrease, 4);
    EXPECT_EQ(view.caret(), 1);
    EXPECT_TRUE(searchFromSelection(view, "wort"));
    EXPECT_EQ(lastPaint(), 9);
    EXPECT_FALSE(searchFromSelection(view, "wort"));

    session.setHistory({"1", "2", "3", "4", "5", "6", "7"});
    EXPECT_EQ(session.storedHistory(), (std::vector<std::string>{"2", "3", "4", "5", "6", "7"}));
}
