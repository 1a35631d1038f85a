#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <sys/stat.h>

#include "DocumentFilesFixture.h"
#include "common/FileIo.h"
#include "explorer/RecycleBin.h"
#include "common/Text.h"
#include "shell/DocumentFiles.h"
#include "shell/FileRules.h"

using namespace pictra;
namespace fs = std::filesystem;

namespace {

struct DocumentFilesTest : test::DocumentFilesFixture {
    test::MemoryEditor& editor(int i = 0) { return *docs.docs[static_cast<size_t>(i)].editor; }
    std::vector<std::string> binFiles() {
        std::vector<std::string> names;
        if (!fs::exists(paths.binFolder())) return names;
        for (const auto& e : fs::directory_iterator(paths.binFolder())) names.push_back(e.path().filename().string());
        return names;
    }
};

}  // namespace

TEST_F(DocumentFilesTest, CaretTrailerSurvivesSaveAndLoad) {
    docs.type(0, std::string(300, 'x'));
    editor().setCaret(250);
    ASSERT_TRUE(files.saveDocument(0, file("a.txt")));
    EXPECT_EQ(dir.read("a.txt"), std::string(300, 'x') + "\r\n  \r\n");
    docs.removeAllDocuments();
    ASSERT_TRUE(files.loadFile(file("a.txt")));
    EXPECT_EQ(editor().text(), std::string(300, 'x'));
    EXPECT_EQ(editor().caret(), 250);
    EXPECT_EQ(docs.docs[0].caption, "a.txt");
    EXPECT_EQ(docs.docs[0].fileName, file("a.txt"));
    // A file under /tmp goes into the history but is not "Letzte Datei".
    EXPECT_EQ(store.readValue("Hauptmenu", "Letzte Datei"), "");
    EXPECT_EQ(store.readList("Hauptmenu", "History"), file("a.txt"));
}

TEST_F(DocumentFilesTest, ShortCaretWritesAnEmptyTrailerAndTrailingBlanksGo) {
    docs.type(0, "eins   \nzwei \n\n\n");
    editor().setCaret(3);
    ASSERT_TRUE(files.saveDocument(0, file("b.txt")));
    EXPECT_EQ(dir.read("b.txt"), "eins\r\nzwei\r\n\r\n");
    docs.removeAllDocuments();
    ASSERT_TRUE(files.loadFile(file("b.txt")));
    EXPECT_EQ(editor().text(), "eins\nzwei");
    EXPECT_EQ(editor().caret(), 9);  // 50, or the end of a shorter text
}

TEST_F(DocumentFilesTest, ARealLastLineOfBlanksIsTakenAsTrailer) {
    dir.write("c.txt", "Text\nzweite\n   ");
    ASSERT_TRUE(files.loadFile(file("c.txt")));
    EXPECT_EQ(editor().text(), "Text\nzweite");
}

TEST_F(DocumentFilesTest, HtmlIsEncodedAndGetsAnHtmlExtension) {
    docs.type(0, "<html><body>Gr\xFC\xDF" "e</body></html>");
    docs.docs[0].fileName = file("seite.txt");
    ASSERT_TRUE(files.saveDocument(0, file("seite.txt")));
    EXPECT_FALSE(fs::exists(file("seite.txt")));
    EXPECT_EQ(dir.read("seite.html"), "<html><body>Gr&uuml;&szlig;e</body></html>\r\n\r\n");
    EXPECT_EQ(docs.docs[0].fileName, file("seite.html"));
    ASSERT_TRUE(files.saveDocument(0, file("seite.php")));
    EXPECT_TRUE(fs::exists(file("seite.php")));
}

TEST_F(DocumentFilesTest, NonTextFilesGetATildeName) {
    dir.write("doku.pdf", "%PDF-1.4 text only");
    dialogs.expectInform(
        "Keine Textdatei. Um versehenliches Überschreiben zu verhindern, wird das letzte Zeichen des Namens zu "
        "\"~\".\r\rDas Einlesen der Datei wurde abgebrochen.\rMit Menü \"Dateienexplorer|Extras|Textvorschau\" "
        "erhalten Sie mehr Einblick.");
    ASSERT_TRUE(files.loadFile(file("doku.pdf")));
    EXPECT_EQ(docs.docs[0].fileName, file("doku.pd~"));
    EXPECT_EQ(docs.docs[0].caption, "doku.pd~");
}

TEST_F(DocumentFilesTest, ZeroBytesRefusePicturesAndAskOtherwise) {
    dir.write("bild.png", std::string("\x89PNG\0\0", 6));
    dir.write("daten.dat", std::string("ab\0\x03", 4));
    dialogs.expectInform("Bilddateien können nicht als Textdateien eingelesen werden.");
    EXPECT_FALSE(files.loadFile(file("bild.png")));
    dialogs.expectAsk("Keine Textdatei. Trotzdem einlesen?", Answer::No);
    EXPECT_FALSE(files.loadFile(file("daten.dat")));
    dialogs.expectAsk("Keine Textdatei. Trotzdem einlesen?", Answer::Yes)
        .expectInform(
            "Keine Textdatei. Um versehenliches Überschreiben zu verhindern, wird das letzte Zeichen des Namens zu "
            "\"~\".\r\rDas Einlesen der Datei wurde abgebrochen.\rMit Menü \"Dateienexplorer|Extras|Textvorschau\" "
            "erhalten Sie mehr Einblick.");
    EXPECT_TRUE(files.loadFile(file("daten.dat")));
    EXPECT_EQ(store.readValue("Keine ASCII-Datei", "Erste nicht ASCII-Zeichen "), "0 3 ");
    dialogs.expectInform("Datei nicht (mehr) vorhanden!");
    EXPECT_FALSE(files.loadFile(file("fehlt.txt")));
}

TEST_F(DocumentFilesTest, AlreadyOpenFileCanBeLoadedTwice) {
    dir.write("d.txt", "Inhalt");
    ASSERT_TRUE(files.loadFile(file("d.txt")));
    dialogs.expectAsk("Datei schon eingelesen. Überschreiben?", Answer::No);
    ASSERT_TRUE(files.loadFile(file("d.txt")));
    EXPECT_EQ(docs.documentCount(), 2);
    dialogs.expectAsk("Datei schon eingelesen. Überschreiben?", Answer::Cancel);
    EXPECT_FALSE(files.loadFile(file("d.txt")));
    EXPECT_EQ(docs.documentCount(), 2);
}

TEST_F(DocumentFilesTest, DosFilesAreConvertedOnRequestAndTheMarkerTurnsOnMathMode) {
    dir.write("dos.txt", "\x07Gr\x81\xE1" "e");
    dialogs.expectAsk("Datei ist DOS-Datei. Die Umlaute werden nicht richtig dargestellt. Soll die Datei entsprechend "
                      "umgewandelt werden?",
                      Answer::Yes);
    ASSERT_TRUE(files.loadFile(file("dos.txt")));
    EXPECT_EQ(editor().text(), "\x07Gr\xFC\xDF" "e");
    dir.write("math.html", "<!-- Mathematischer Text -->\r\n\xA5");
    ASSERT_TRUE(files.loadFile(file("math.html")));
    EXPECT_EQ(docs.mathModeOn, 1);
}

TEST_F(DocumentFilesTest, DayBackupOncePerDayAndSize) {
    dir.write("e.txt", "alt\r\n\r\n");
    docs.type(0, "neu");
    ASSERT_TRUE(files.saveDocument(0, file("e.txt")));  // the old file has the size the new one gets
    ASSERT_TRUE(files.saveDocument(0, file("e.txt")));
    EXPECT_EQ(binFiles().size(), 1u);
    docs.type(0, "viel neuer");
    ASSERT_TRUE(files.saveDocument(0, file("e.txt")));  // the old size is still that of "neu"
    ASSERT_TRUE(files.saveDocument(0, file("e.txt")));  // now it changed
    EXPECT_EQ(binFiles().size(), 2u);
    EXPECT_EQ(files.beforeSaveText(), std::vector<std::string>({"viel neuer", ""}));
    EXPECT_EQ(docs.docs[0].saveSnapshot, "viel neuer\r\n\r\n\r\n?");
    EXPECT_EQ(docs.statuses.back(), file("e.txt") + " (geändert!) gespeichert.");
}

TEST_F(DocumentFilesTest, FailedSaveReportsAndKeepsTheOldFile) {
    fs::create_directories(file("ordner.txt"));
    docs.type(0, "Text");
    dialogs.expectInform("Kann nicht speichern!\rSchreibgeschützt?\rCD-Laufwerk?\rvon Word oder anderem Programm geöffnet?");
    EXPECT_FALSE(files.saveDocument(0, file("ordner.txt")));
    EXPECT_TRUE(fs::is_directory(file("ordner.txt")));
    EXPECT_EQ(docs.docs[0].caption, "?*");
}

TEST_F(DocumentFilesTest, SecondDriveCopyOncePerRun) {
    const std::string second = dir.path() + "stick";
    docs.secondVolume = second;
    store.writeValue("Einstellungen", "SicherungAuZweitesTraeger", "Ja");
    store.writeValue("Einstellungen", "OrdnerfuerSicherungZweiterTraeger", second + "/");
    docs.type(0, "eins");
    ASSERT_TRUE(files.saveDocument(0, file("f.txt")));
    EXPECT_EQ(dir.read("stick" + file("f.txt")), "eins\r\n\r\n");
    docs.type(0, "zwei");
    ASSERT_TRUE(files.saveDocument(0, file("f.txt")));
    EXPECT_EQ(dir.read("stick" + file("f.txt")), "eins\r\n\r\n");

    store.writeValue("Einstellungen", "OrdnerfuerSicherungZweiterTraeger", dir.path());
    docs.secondVolume = "/nowhere/";
    dialogs.expectInform("Datei wird nicht auf zweitem Laufwerk gesichert, da beide identisch");
    ASSERT_TRUE(files.saveDocument(0, file("g.txt")));
    store.writeValue("Einstellungen", "OrdnerfuerSicherungZweiterTraeger", "");
    ASSERT_TRUE(files.saveDocument(0, file("g.txt")));
    EXPECT_EQ(docs.settingsOpened, (std::vector<int>{3, 3}));
}

TEST_F(DocumentFilesTest, ConfirmCloseAsksForModifiedDocuments) {
    docs.type(0, "Text");
    docs.docs[0].fileName = file("h.txt");
    docs.docs[0].caption = "h.txt*";
    dialogs.expectAsk("Datei \"" + file("h.txt") + "\" unter altem Namen  sichern?", Answer::Cancel);
    EXPECT_FALSE(files.confirmClose(0));
    dialogs.expectAsk("Datei \"" + file("h.txt") + "\" unter altem Namen  sichern?", Answer::Yes);
    EXPECT_TRUE(files.confirmClose(0));
    EXPECT_EQ(dir.read("h.txt"), "Text\r\n\r\n");
    EXPECT_EQ(docs.docs[0].caption, "h.txt");
    EXPECT_TRUE(files.confirmClose(0));  // no longer modified: no question

    docs.newDocument();
    docs.type(1, "neu");
    dialogs.expectAsk("Datei \"?\" sichern?", Answer::Yes).expectSaveFile(file("neu.txt"));
    EXPECT_TRUE(files.confirmClose(1));
    EXPECT_EQ(docs.docs[1].caption, file("neu.txt"));
    docs.type(1, "anders");
    docs.docs[1].fileName = "?";
    dialogs.expectAsk("Datei \"?\" sichern?", Answer::Yes).expectSaveFile(std::nullopt);
    EXPECT_FALSE(files.confirmClose(1));
}

TEST_F(DocumentFilesTest, PlainTextWithCharactersBeyondWindows1252AsksFirst) {
    docs.type(0, "Pfeil &#8594;");
    docs.unstorable = "→";
    dialogs.expectAsk("Diese Zeichen können in einer Textdatei (Windows-1252) nicht gespeichert werden: →\rSie werden "
                      "als Zahlenverweis (&#...;) gespeichert. Trotzdem speichern?",
                      Answer::No);
    EXPECT_FALSE(files.saveDocument(0, file("p.txt")));
    EXPECT_FALSE(fs::exists(file("p.txt")));
}

TEST_F(DocumentFilesTest, DeletingTheCurrentFileMovesItIntoTheBin) {
    dir.write("weg.txt", "Inhalt");
    ASSERT_TRUE(files.loadFile(file("weg.txt")));
    dialogs.expectAsk("Wirklich die Datei \"" + file("weg.txt") + "\" löschen?", Answer::Yes)
        .expectInform("\"" + file("weg.txt") + "\" wurde in den Papierkorb verschoben. Name wurde geändert.");
    files.deleteCurrentToBin();
    EXPECT_FALSE(fs::exists(file("weg.txt")));
    ASSERT_EQ(binFiles().size(), 1u);
    EXPECT_TRUE(bin::deletionDate(binFiles()[0]).has_value());
    EXPECT_EQ(docs.docs[0].fileName, file("weg.txt") + "_suche_im_Papierkorb");
}

TEST_F(DocumentFilesTest, SaveAllGivesEveryUnnamedDocumentItsOwnHourFile) {
    docs.type(0, "eins");
    docs.newDocument();
    docs.type(1, "zwei");
    docs.newDocument();
    docs.type(2, "<html>drei</html>");
    docs.docs[2].fileName = file("seite.txt");
    docs.switchTo(0);
    const std::string note =
        "\r\rDieser Hinweis erscheint, da die Datei noch nicht endgültig abgespeichert wurde.\r(Diese Meldung "
        "erscheint nur einmal pro Sitzung)";
    dialogs.expectInform("Vorübergehend gespeichert unter:" + paths.folder + "tmp09uhr.html" + note)
        .expectInform("Vorübergehend gespeichert unter:" + paths.folder + "tmp09uhr_1.html" + note);
    files.saveAll();
    EXPECT_EQ(dir.read("prog/tmp09uhr.html"), "eins\r\n\r\n");
    EXPECT_EQ(dir.read("prog/tmp09uhr_1.html"), "zwei\r\n\r\n");
    EXPECT_EQ(docs.docs[0].caption, "?");
    EXPECT_EQ(docs.docs[1].caption, "?");
    // The HTML document renamed on saving is the one that carries the new name.
    EXPECT_EQ(docs.docs[2].fileName, file("seite.html"));
    EXPECT_EQ(docs.docs[2].caption, "seite.html");
    EXPECT_EQ(docs.docs[0].fileName, "?");
}

TEST_F(DocumentFilesTest, AFifoOrFolderIsRefusedWithoutWaiting) {
    ASSERT_EQ(::mkfifo(file("rohr").c_str(), 0600), 0);
    dialogs.expectInform("Datei \"" + file("rohr") +
                         "\"kann nicht geladen werden.\rMögliche Ursache: Gelöscht oder bereits von einem anderen "
                         "Programm eingelesen.");
    EXPECT_FALSE(files.loadFile(file("rohr")));
    EXPECT_EQ(fileio::readFile(file("rohr")), std::nullopt);
    EXPECT_EQ(docs.documentCount(), 1);
}

TEST_F(DocumentFilesTest, ANameThatIsNotUtf8IsOpenedSavedAndBackedUp) {
    const std::string latin1 = "caf\xe9.txt";
    dir.write(latin1, "alt");
    ASSERT_TRUE(files.loadFile(file(latin1)));
    docs.type(0, "neu");
    ASSERT_TRUE(files.saveDocument(0, file(latin1)));
    EXPECT_EQ(dir.read(latin1), "neu\r\n\r\n");
    ASSERT_EQ(binFiles().size(), 1u);
    EXPECT_NE(binFiles()[0].find("caf\xe9"), std::string::npos);
}

TEST_F(DocumentFilesTest, RenameWithPrefixAsksOnceAndNeverReplacesAFile) {
    dir.write("brief.txt", "alt");
    ASSERT_TRUE(files.loadFile(file("brief.txt")));
    dialogs.expectAskText("Welche Zeichenfolge soll dem Dateinamen vorangestellt werden?", "zz");
    files.renameWithPrefix();
    EXPECT_TRUE(fs::exists(file("zzbrief.txt")));
    EXPECT_FALSE(fs::exists(file("brief.txt")));
    EXPECT_EQ(docs.docs[0].fileName, file("zzbrief.txt"));
    EXPECT_EQ(docs.docs[0].caption, "zzbrief.txt");

    dir.write("zzzzbrief.txt", "anderer Inhalt");
    dialogs.expectInform("Datei konnte nicht umbenannt werden.\rDateiname vielleicht schon vergeben?");
    files.renameWithPrefix();  // the prefix is not asked again
    EXPECT_EQ(dir.read("zzzzbrief.txt"), "anderer Inhalt");
    EXPECT_TRUE(fs::exists(file("zzbrief.txt")));
}

// Loading takes a file's text in one pass; it must give exactly what splitting it
// into lines, taking the caret trailer and joining the lines gives.
TEST(LoadedText, EqualsSplittingTakingTheTrailerAndJoining) {
    std::vector<std::string> cases = {"",       "a",          "\r\n",         "\n",        "\r",         "   ",
                                      "ab\r\n", "ab\r\n   ",  "ab\n\n",       "ab\r\rcd",  "a\n\rb",     "a\r\n\r\n",
                                      " \r\nx", "x\r\n \r\n", "x\n    \n",   "\r\n\r\n ", "a\rb\nc\r\n", "x\r\n \t"};
    // And a few thousand texts of these letters, as any editor or program may have written them.
    unsigned seed = 7;
    for (int n = 0; n < 3000; ++n) {
        std::string s;
        const int length = static_cast<int>(seed % 9);
        for (int i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            s += " \r\nab"[(seed >> 16) % 5];
        }
        seed = seed * 1103515245u + 12345u;
        cases.push_back(s);
    }
    for (const auto& bytes : cases) {
        std::vector<std::string> lines = text::splitLines(bytes);
        const std::optional<int> caret = filerules::takeCaretTrailer(lines);
        const filerules::LoadedText loaded = filerules::loadedText(bytes);
        EXPECT_EQ(loaded.text, text::joinLines(lines)) << "bytes: " << text::replaceAll(bytes, "\r", "\\r");
        EXPECT_EQ(loaded.caret, caret) << "bytes: " << text::replaceAll(bytes, "\r", "\\r");
    }
}
