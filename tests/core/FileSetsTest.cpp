#include <gtest/gtest.h>

#include <filesystem>

#include "DocumentFilesFixture.h"
#include "shell/FileSets.h"
#include "shell/NumberedFiles.h"

using namespace pictra;
namespace fs = std::filesystem;

namespace {

struct FileSetsTest : test::DocumentFilesFixture {
    void defineSet(int n, const std::string& name, const std::vector<std::string>& setFiles) {
        store.writeValue("NameMakro", std::to_string(n), name);
        store.writeList("Makro", std::to_string(n), text::joinLines(setFiles, "\r\n"));
    }
};

}  // namespace

TEST_F(FileSetsTest, RecordingFilesKeepsTheHistoryAndTheLastFile) {
    defineSet(2, "Seite", {"/home/l/seite/index.html"});
    EXPECT_TRUE(filesets::recordFile(store, "/home/l/Brief.txt"));
    EXPECT_FALSE(filesets::recordFile(store, "/home/l/brief.txt"));  // the same again (case ignored)
    EXPECT_FALSE(filesets::recordFile(store, "/home/l/seite/index.html"));  // a set's file: not in the history
    EXPECT_EQ(store.readValue("Hauptmenu", "Letzte Datei"), "/home/l/seite/index.html");
    EXPECT_TRUE(filesets::recordFile(store, "/tmp/notiz.txt"));  // into the history, not "Letzte Datei"
    EXPECT_EQ(store.readValue("Hauptmenu", "Letzte Datei"), "/home/l/seite/index.html");
    for (int i = 0; i < 12; ++i) filesets::recordFile(store, "/home/l/f" + std::to_string(i) + ".txt");
    const auto history = text::splitLines(store.readList("Hauptmenu", "History"));
    ASSERT_EQ(history.size(), 10u);
    EXPECT_EQ(history.front(), "/home/l/f11.txt");
    const auto entries = filesets::recentEntries(store);
    EXPECT_EQ(entries.front(), "/home/l/f11.txt");  // the last file first, not twice
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "/home/l/f11.txt"), 1);
    EXPECT_EQ(filesets::menuCaptions(store)[1], std::optional<std::string>("[2] Seite"));
    EXPECT_FALSE(filesets::menuCaptions(store)[0]);
}

TEST_F(FileSetsTest, OpeningASetWithAMissingFileOpensTheOthers) {
    dir.write("a.txt", "eins");
    dir.write("c.txt", "drei");
    defineSet(1, "Drei", {file("a.txt"), file("b.txt"), file("c.txt")});
    store.writeValue("Hauptmenu", "Aktuellea Makro1", "1");
    dialogs.expectInform("Datei \"" + file("b.txt") + "\"kann nicht geladen werden.\rVielleicht ist sie bei Word "
                         "eingelesen worden?");
    filesets::openFileSet(1, false, docs, files, dialogs, store);
    ASSERT_EQ(docs.documentCount(), 2);
    EXPECT_EQ(docs.docs[0].fileName, file("a.txt"));
    EXPECT_EQ(docs.docs[1].caption, "c.txt");
    EXPECT_EQ(docs.currentIndex(), 1);  // the remembered tab
    EXPECT_EQ(files.currentMacro(), 1);

    defineSet(3, "Fehlt zuletzt", {file("a.txt"), file("weg.txt")});
    dialogs.expectInform("");
    filesets::openFileSet(3, false, docs, files, dialogs, store);
    ASSERT_EQ(docs.documentCount(), 2);
    EXPECT_EQ(docs.docs[1].fileName, "?");  // the prepared document stays empty

    defineSet(4, "Leer", {});
    dialogs.expectInform("Noch keine Dateien für das Makro ausgewählt.\rWählen Sie Programm \"Makro|Makro neu "
                         "einrichten oder ändern\"!\rDort können Sie angeben, welche Dateien automatisch eingelesen "
                         "werden sollen");
    filesets::openFileSet(4, false, docs, files, dialogs, store);
}

TEST_F(FileSetsTest, ARefusedCloseKeepsTheOldDocumentsAndAddsTheSet) {
    dir.write("a.txt", "eins");
    defineSet(1, "Eins", {file("a.txt")});
    docs.type(0, "ungespeichert");
    dialogs.expectAsk("Datei \"?\" sichern?", Answer::Cancel);
    filesets::openFileSet(1, false, docs, files, dialogs, store);
    ASSERT_EQ(docs.documentCount(), 2);
    EXPECT_EQ(docs.docs[0].editor->text(), "ungespeichert");
    EXPECT_EQ(docs.docs[1].fileName, file("a.txt"));
}

TEST_F(FileSetsTest, EditingStoringAndSwappingSets) {
    defineSet(5, "Alt", {"/a/x.txt  ", "/a/y.txt", "/a/X.txt"});
    const auto edit = filesets::setForEdit(store, 5, "[5] &Schule");
    EXPECT_EQ(edit.name, "Schule");
    EXPECT_EQ(edit.files, (std::vector<std::string>{"/a/x.txt", "/a/y.txt"}));
    EXPECT_EQ(filesets::storeSet(store, 5, "", "/a/x.txt"), "Makro 5");
    EXPECT_EQ(store.readValue("NameMakro", "5"), "Makro 5");
    filesets::storeSet(store, 5, "Name", "   ");  // an empty list removes the name
    EXPECT_EQ(store.readValue("NameMakro", "5"), "");
    EXPECT_EQ(filesets::sortedList("/B\r\n/a"), "/a\r\n/b");

    defineSet(1, "Eins", {"/1.txt"});
    defineSet(2, "Zwei", {"/2.txt"});
    dialogs.expectAskNumber("Geben Sie das erste Makro ein", 1)
        .expectAskNumber("Geben Sie das zweite Makro ein", 2)
        .expectInform("Nach dem nächsten Aufruf von Pictra sind die Makros getauscht");
    filesets::swapFileSets(store, dialogs);
    EXPECT_EQ(store.readValue("NameMakro", "1"), "Zwei");
    EXPECT_EQ(store.readList("Makro", "2"), "/1.txt");
    dialogs.expectAskNumber("Geben Sie das erste Makro ein", 21).expectInform("Bitte nur eine Zahl von 1 bis 20 eingeben");
    filesets::swapFileSets(store, dialogs);
    EXPECT_EQ(store.readValue("NameMakro", "1"), "Zwei");
}

namespace {

struct NumberedTest : test::DocumentFilesFixture {
    std::string rich = "{\\rtf1 fett}";
    std::vector<std::string> loaded;
    numbered::Context context{docs, dialogs, store, paths, [this](int) { return rich; },
                              [this](int index, const std::string& bytes) {
                                  loaded.push_back(bytes);
                                  docs.loadText(index, bytes, 0);
                              }};
    std::string numberedName(int n) { return paths.folder + "pictra._" + std::to_string(n); }
};

}  // namespace

TEST_F(NumberedTest, ThePromptListsTheExistingNumbersAndWritingAsks) {
    dir.write("prog/pictra._3", "drei");
    dir.write("prog/pictra._12", "zwölf");
    dir.write("prog/pictra._x", "kein Nr.");
    EXPECT_EQ(numbered::numberListText(numbered::existingNumbers(paths.folder)), " 3 12");
    docs.type(0, "Notiz");
    dialogs.expectAskNumber("Geben Sie eine Nr. für die Notiz ein!", 3)
        .expectAsk("Kann die Datei \"" + numberedName(3) + "überschrieben werden?", Answer::No);
    numbered::saveAsNumbered(context);
    EXPECT_EQ(docs.docs[0].fileName, numberedName(3));  // named although nothing was written
    EXPECT_EQ(dir.read("prog/pictra._3"), "drei");
    EXPECT_EQ(dialogs.log().front().kind, "askNumber");
    EXPECT_EQ(store.readValue("Einstellungen", "Nr.:"), "3");
    dialogs.expectAskNumber("", 7).expectAsk("Nur Text schreiben (Nein: Text wird als Richedit-Text geschrieben)",
                                             Answer::No);
    numbered::saveAsNumbered(context);
    EXPECT_EQ(dir.read("prog/pictra._7"), rich);
}

TEST_F(NumberedTest, OnlyRegularFilesCount) {
    dir.write("prog/pictra._3", "drei");
    fs::create_directory(paths.folder + "pictra._7");
    fs::create_symlink(paths.folder + "fehlt", paths.folder + "pictra._8");
    dir.write("prog/pictra._9.", "nach dem letzten Punkt steht nichts");
    EXPECT_EQ(numbered::numberListText(numbered::existingNumbers(paths.folder)), " 3");
    fs::remove(paths.folder + "pictra._3");
    dialogs.expectInform("Keine \"Nr.Datei\" vorhanden!");
    numbered::collectNumbered(context);
    EXPECT_TRUE(fs::is_directory(paths.folder + "pictra._7"));
}

TEST_F(NumberedTest, ReadingDeletingAndCollecting) {
    dialogs.expectAskNumber("", 4).expectInform("Datei \"" + numberedName(4) + "\" existiert nicht!");
    numbered::readNumbered(context);
    dialogs.expectInform("Keine \"Nr.Datei\" vorhanden!");
    numbered::collectNumbered(context);
    for (int n : {1, 2, 5}) dir.write("prog/pictra._" + std::to_string(n), "Nr " + std::to_string(n));
    dialogs.expectAskNumber("", 2);
    numbered::readNumbered(context);
    EXPECT_EQ(docs.docs[0].fileName, numberedName(2));
    dialogs.expectAskNumber("", 5).expectAsk("Datei \"" + numberedName(5) + "\" wirklich löschen?", Answer::Yes)
        .expectAskNumber("", 0);
    numbered::deleteNumbered(context);
    EXPECT_FALSE(fs::exists(numberedName(5)));
    dialogs.expectAsk("Datei \"" + numberedName(1) + "\" (siehe Editor) auf Festplatte löschen?", Answer::Yes)
        .expectAsk("Datei \"" + numberedName(2) + "\" (siehe Editor) auf Festplatte löschen?", Answer::No);
    numbered::collectNumbered(context);
    EXPECT_EQ(docs.documentCount(), 3);
    EXPECT_FALSE(fs::exists(numberedName(1)));
    EXPECT_TRUE(fs::exists(numberedName(2)));
}

TEST_F(NumberedTest, AProgramFolderThatCannotBeWrittenFailsWithTheMessage) {
    paths.folder = dir.path() + "fehlt/";
    docs.type(0, "Notiz");
    dialogs.expectAskNumber("", 1)
        .expectAsk("Nur Text schreiben (Nein: Text wird als Richedit-Text geschrieben)", Answer::Yes)
        .expectInform("Kann \"" + dir.path() + "fehlt/pictra._1\" nicht schreiben");
    numbered::saveAsNumbered(context);
}
