#include <gtest/gtest.h>

#include "settings/SettingsStore.h"

using pictra::SettingsStore;

TEST(SettingsStore, EmptyValueDeletesAndMissingReadsEmpty) {
    SettingsStore store;
    store.writeValue("Einstellungen", "Schrift", "Arial");
    EXPECT_EQ(store.readValue("Einstellungen", "Schrift"), "Arial");
    store.writeValue("Einstellungen", "Schrift", "");
    EXPECT_EQ(store.readValue("Einstellungen", "Schrift"), "");
    EXPECT_TRUE(store.lines().empty());
    store.writeValue("Einstellungen", "Nie", "");
    EXPECT_TRUE(store.lines().empty());
}

TEST(SettingsStore, KeyWrittenTwiceKeepsOneLineInPlaceOfTheFirst) {
    SettingsStore store;
    store.writeValue("A", "x", "1");
    store.writeValue("B", "y", "2");
    store.writeValue("A", "x", "3");
    EXPECT_EQ(store.lines(), (std::vector<std::string>{"A|x = 3", "B|y = 2"}));
}

TEST(SettingsStore, MatchingIsExactCaseSensitiveAndFirstWins) {
    SettingsStore store;
    store.setLines({"A|Key = first", "A|Key = second", "a|Key = lower", "A|KeyLonger = other"});
    EXPECT_EQ(store.readValue("A", "Key"), "first");
    EXPECT_EQ(store.readValue("a", "Key"), "lower");
    EXPECT_EQ(store.readValue("A", "key"), "");
    store.writeValue("A", "Key", "");
    EXPECT_EQ(store.readValue("A", "Key"), "second");
    EXPECT_EQ(store.readValue("A", "KeyLonger"), "other");
}

TEST(SettingsStore, ValueKeepsBlanksAndEqualsSignsBehindThePrefix) {
    SettingsStore store;
    store.writeValue("Browser", "Adr", " a = b ");
    EXPECT_EQ(store.lines().front(), "Browser|Adr =  a = b ");
    EXPECT_EQ(store.readValue("Browser", "Adr"), " a = b ");
}

TEST(SettingsStore, ListSkipsEmptyLinesButKeepsTheirNumbers) {
    SettingsStore store;
    store.writeList("Hauptmenu", "History", "eins\r\n\r\ndrei");
    EXPECT_EQ(store.lines(), (std::vector<std::string>{"Hauptmenu|History|0000| = eins", "Hauptmenu|History|0002| = drei"}));
    EXPECT_EQ(store.readList("Hauptmenu", "History"), "eins\r\ndrei");
}

TEST(SettingsStore, WriteListReplacesTheOldListAndLeavesOthers) {
    SettingsStore store;
    store.writeList("Makro", "1", "a\r\nb\r\nc");
    store.writeList("Makro", "10", "z");
    store.writeValue("Makro", "1", "single");
    store.writeList("Makro", "1", "neu");
    EXPECT_EQ(store.readList("Makro", "1"), "neu");
    EXPECT_EQ(store.readList("Makro", "10"), "z");
    EXPECT_EQ(store.readValue("Makro", "1"), "single");
}

TEST(SettingsStore, DeletePrefixRemovesEveryMatchingLine) {
    SettingsStore store;
    store.setLines({"A|x = 1", "B|y = 2", "A|z = 3"});
    store.deletePrefix("A|");
    EXPECT_EQ(store.lines(), (std::vector<std::string>{"B|y = 2"}));
}

TEST(SettingsStore, SortIgnoresCaseAndKeepsListOrder) {
    std::vector<std::string> lines = {"b|x = 1", "A|y = 2", "L|k|0010| = ten", "L|k|0002| = two", "a|y = 3"};
    pictra::sortSettingsLines(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"A|y = 2", "a|y = 3", "b|x = 1", "L|k|0002| = two",
                                               "L|k|0010| = ten"}));
}
