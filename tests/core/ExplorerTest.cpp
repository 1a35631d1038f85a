#include <gtest/gtest.h>

#include <ctime>

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "explorer/Drives.h"
#include "explorer/FileLines.h"
#include "explorer/FolderChronicle.h"
#include "explorer/OpenDispatch.h"
#include "explorer/TextPreview.h"
#include "explorer/TidyFiles.h"
#include "settings/SettingsFile.h"

using namespace pictra;
using namespace pictra::explorer;

namespace {

std::time_t localTime(int year, int month, int day, int hour, int minute) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

FileEntry file(const std::string& name, std::uintmax_t size, bool readOnly = false) {
    FileEntry e;
    e.name = name;
    e.size = size;
    e.modified = localTime(2026, 12, 10, 9, 5);
    e.readOnly = readOnly;
    e.hidden = !name.empty() && name[0] == '.';
    return e;
}

std::vector<std::string> texts(const std::vector<FileLine>& lines) {
    std::vector<std::string> out;
    for (const auto& l : lines) out.push_back(l.text);
    return out;
}

}  // namespace

TEST(FileLines, SizesDatesAndAttributes) {
    EXPECT_EQ(formatSize(0), "0");
    EXPECT_EQ(formatSize(999), "999");
    EXPECT_EQ(formatSize(1000), "1 000");
    EXPECT_EQ(formatSize(1234567), "1 234 567");
    EXPECT_EQ(formatDate(localTime(2026, 12, 10, 9, 5)), "10.12.26 Do 09:05");
    EXPECT_EQ(formatDate(localTime(2027, 1, 3, 23, 59)), "03.01.27 So 23:59");
    FileEntry special = file(".x", 5, true);
    special.system = true;
    EXPECT_EQ(attributeLetters(special), "RHS");
    EXPECT_EQ(attributeLetters(file("a", 1)), "");
}

TEST(FileLines, LinesArePaddedSortedAndWebPagesComeFirst) {
    const auto lines = buildFileLines({file("a.txt", 1234567), file("index.html", 5, true), file("zzindex.html", 1),
                                       file("z.php", 12), file("Grüße.txt", 3)});
    EXPECT_EQ(texts(lines), (std::vector<std::string>{
                                " index.html |       R5|10.12.26 Do 09:05",
                                " z.php      |       12|10.12.26 Do 09:05",
                                "a.txt       |1 234 567|10.12.26 Do 09:05",
                                "Grüße.txt   |        3|10.12.26 Do 09:05",
                                "zzindex.html|        1|10.12.26 Do 09:05",
                            }));
    EXPECT_EQ(lines[0].name, "index.html");
}

TEST(FileLines, SizesAreRightAlignedAndLongNamesNotCut) {
    const std::string longName(45, 'n');
    const auto lines = buildFileLines({file(longName, 1), file("kurz", 1000)});
    EXPECT_EQ(lines[0].text, "kurz" + std::string(36, ' ') + "|1 000|10.12.26 Do 09:05");
    EXPECT_EQ(lines[1].text, longName + "|    1|10.12.26 Do 09:05");
    FileEntry folder = file("Ordner", 0);
    folder.directory = true;
    EXPECT_TRUE(buildFileLines({folder}).empty());
}

TEST(FileLines, CaptionPathsSumsAndSearch) {
    EXPECT_EQ(listingCaption(0, 1, "/home/lehrer/"), "0 Ordner / 1 Datei  /home/lehrer");
    EXPECT_EQ(listingCaption(3, 2, "/"), "3 Ordner / 2 Dateien  /");
    EXPECT_EQ(pathOfLine("/home/x", " index.html |R5 |10.12.26 Do 09:05"), "/home/x/index.html");
    EXPECT_EQ(pathOfLine("/home/x/", "ohne Strich "), "/home/x/ohne Strich");
    const std::string special = "-->0000001234 /home/x/gross.bin";
    EXPECT_TRUE(isSpecialLine(special));
    EXPECT_EQ(specialLinePath(special), "/home/x/gross.bin");
    EXPECT_EQ(sumOfSizes({"a|1 234|d", "b|R12|d", "c||d", "kaputt"}), 1246);
    EXPECT_EQ(simpleSearch({"Brief.txt|", "bild.jpg|", "BRIEFE|"}, "brief", false), (std::vector<int>{0, 2}));
    EXPECT_EQ(simpleSearch({"Brief.txt|", "brief|"}, "brief", true), (std::vector<int>{1}));
}

TEST(FileLines, SimpleSearchFoldsWindows1252LettersInFileNames) {
    const std::vector<std::string> lines = {"Müller.txt      |  12|", "MUELLER.txt     |  12|", "Ærø.html        |   3|",
                                            "Œuvre_ŠŽŸ.doc   |   4|", "Straße.txt      |   5|", "×÷.txt          |   6|"};
    struct Case {
        std::string typed;
        std::vector<int> hits;
    };
    for (const Case& c : std::vector<Case>{{"MÜLLER", {0}},
                                           {"müller.TXT", {0}},
                                           {"mueller", {1}},
                                           {"ÆRØ", {2}},
                                           {"œuvre_šžÿ", {3}},
                                           {"STRAßE", {4}},
                                           {"STRASSE", {}},
                                           {"×÷", {5}},
                                           {"TXT", {0, 1, 4, 5}}}) {
        EXPECT_EQ(simpleSearch(lines, c.typed, false), c.hits) << c.typed;
    }
    EXPECT_EQ(simpleSearch(lines, "MÜLLER", true), std::vector<int>{});
}

TEST(FileLines, UmlautNamesSortBesideTheirLowerCase) {
    const auto lines =
        buildFileLines({file("Über.txt", 1), file("zebra.txt", 1), file("über.doc", 1), file("Ähre.txt", 1)});
    std::vector<std::string> names;
    for (const auto& line : lines) names.push_back(line.name);
    EXPECT_EQ(names, (std::vector<std::string>{"zebra.txt", "Ähre.txt", "über.doc", "Über.txt"}));
}

TEST(FileLines, CaptionOfTheSelectionAndStatusOfAFile) {
    struct Case {
        std::vector<std::string> selected;
        std::string caption;
    };
    for (const Case& c : std::vector<Case>{
             {{"brief.txt|  1 234|10.12.26 Do 09:05"}, "Größe der ausgewählten Dateien: 1234"},
             {{"a|R12|d", "b|3|d"}, "Größe der ausgewählten Dateien: 15"},
             {{}, "Größe der ausgewählten Dateien: 0"},
         }) {
        EXPECT_EQ(selectionCaption(c.selected), c.caption);
    }
    EXPECT_EQ(fileTypeStatus("Einfaches Textdokument", "gedit %U"), "Einfaches Textdokument (gedit %U)");
    EXPECT_EQ(fileTypeStatus("PNG-Bild", ""), "PNG-Bild ()");
}

TEST(Drives, ReportWithAndWithoutFloppies) {
    const MachineFigures machine{"8000000 kB", "4000000 kB", "0 kB", "0 kB", "2400.000 MHz"};
    const std::vector<VolumeFigures> volumes = {
        {"/", "Fest", "", "/dev/sda1", "1234-ABCD", "/home/lehrer", 1000, 250, false},
        {"/media/floppy", "Diskette", "SCHULE", "/dev/fd0", "", "", 1474560, 1474560, true},
        {"", "Diskette", "", "/dev/fd1", "", "", 0, 0, true},
    };
    const std::string head =
        "Arbeitsspeicher: 8000000 kB, frei: 4000000 kB\r\nAuslagerungsspeicher: 0 kB, frei: 0 kB\r\n"
        "Prozessortakt: 2400.000 MHz\r\n\r\n";
    const std::string root = "/  Fest  Name: -  Seriennummer: 1234-ABCD  Gerät: /dev/sda1\r\n"
                             "   aktueller Ordner: /home/lehrer\r\n"
                             "   gesamt 1 000 Bytes, belegt 750 Bytes (75 %), frei 250 Bytes (25 %)\r\n";
    const std::string floppies = "/media/floppy  Diskette  Name: SCHULE  Seriennummer: -  Gerät: /dev/fd0\r\n"
                                 "   aktueller Ordner: -\r\n"
                                 "   gesamt 1 474 560 Bytes, belegt 0 Bytes (0 %), frei 1 474 560 Bytes (100 %)\r\n"
                                 "/dev/fd1  Diskette  Name: -  Seriennummer: -  Gerät: /dev/fd1\r\n"
                                 "   kein Datenträger eingelegt\r\n";
    EXPECT_EQ(drivesReport(machine, volumes, false), head + root);
    EXPECT_EQ(drivesReport(machine, volumes, true), head + floppies + root);
}

TEST(TidyFiles, PagesAreCorrectedAfterTheirBackupAndNothingElseIsTouched) {
    test::TempDir dir;
    const std::string bin = dir.file("papierkorb");
    dir.write("seite.html", "<P>alt");
    dir.write("gut.htm", "<p>gut</p>");
    dir.write("kaputt.HTML", "<<<");
    dir.write("null.html", std::string("<p>a\0b", 7));
    dir.write("notiz.txt", "<P>text");
    test::ScriptedDialogs dialogs;
    const TidyChecker check = [](const std::string& page) {
        if (page == "<<<") return TidyCheck{false, "", "line 1 Error: <<< is no tag\n"};
        if (page == "<p>gut</p>") return TidyCheck{true, page, ""};
        return TidyCheck{true, "<p>" + page.substr(3) + "\r\n", "line 1 Warning: <P> upper case\n"};
    };
    const std::vector<std::string> paths = {dir.file("seite.html"), dir.file("gut.htm"), dir.file("kaputt.HTML"),
                                            dir.file("null.html"), dir.file("notiz.txt"), dir.file("fehlt.html")};
    EXPECT_EQ(htmlPages(paths).size(), 5u);
    const bin::Date today{2026, 12, 10};
    const auto result = tidyFiles(paths, bin, today, check, dialogs);
    EXPECT_EQ(result.changed, 1);
    EXPECT_EQ(result.failed, 1);  // the missing page
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(dir.read("seite.html"), "<p>alt\r\n");
    EXPECT_EQ(dir.read("papierkorb/" + bin::binName(dir.file("seite.html"), today, 6)), "<P>alt");
    EXPECT_EQ(dir.read("gut.htm"), "<p>gut</p>");
    EXPECT_EQ(dir.read("kaputt.HTML"), "<<<");
    EXPECT_EQ(dir.read("null.html"), std::string("<p>a\0b", 7));
    EXPECT_EQ(dir.read("notiz.txt"), "<P>text");
    EXPECT_EQ(result.report,
              dir.file("seite.html") + "\r\nline 1 Warning: <P> upper case\r\n\r\n" + dir.file("gut.htm") +
                  "\r\nKeine Fehler gefunden.\r\n\r\n" + dir.file("kaputt.HTML") +
                  "\r\nline 1 Error: <<< is no tag\r\nDatei nicht geändert.\r\n\r\n" + dir.file("null.html") +
                  "\r\nDatei enthält Nullbytes und bleibt unverändert.\r\n\r\n" + dir.file("fehlt.html") +
                  "\r\nDatei kann nicht gelesen werden.\r\n\r\n");
}

TEST(TidyFiles, NoPageIsReplacedWhenItsBackupCannotBeKeptOrTheRunIsCancelled) {
    test::TempDir dir;
    dir.write("seite.html", "<P>alt");
    dir.write("sperre", "eine Datei, wo der Papierkorb stehen müsste");
    const TidyChecker check = [](const std::string&) { return TidyCheck{true, "<p>neu", ""}; };
    test::ScriptedDialogs dialogs;
    dialogs.expectInform("Kann \"" + dir.file("seite.html") + "\" nicht speichern.");
    auto result = tidyFiles({dir.file("seite.html")}, dir.file("sperre"), {2026, 12, 10}, check, dialogs);
    EXPECT_EQ(result.changed, 0);
    EXPECT_EQ(result.failed, 1);
    EXPECT_EQ(dir.read("seite.html"), "<P>alt");

    dialogs.clickCancelAtStep(1);
    result = tidyFiles({dir.file("seite.html")}, dir.file("papierkorb"), {2026, 12, 10}, check, dialogs);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.changed, 0);
    EXPECT_EQ(dir.read("seite.html"), "<P>alt");
}

TEST(FolderChronicle, NeverMoreThan25AndThisRunsFoldersSurvive) {
    FolderChronicle chronicle;
    std::vector<std::string> old;
    for (int i = 0; i < 25; ++i) old.push_back("/alt/" + std::string(1, static_cast<char>('a' + i)));
    chronicle.setEntries(old);
    chronicle.add("/zzz/neu1");
    chronicle.add("/zzz/neu2");
    ASSERT_EQ(chronicle.entries().size(), 25u);
    // The last older entries in sorted order went; the new ones stayed.
    EXPECT_EQ(chronicle.entries().back(), "/zzz/neu2");
    EXPECT_EQ(chronicle.entries()[22], "/alt/w");
    chronicle.add("/zzz/neu1");  // already added this run: nothing happens
    EXPECT_EQ(chronicle.entries().size(), 25u);
    for (int i = 0; i < 30; ++i) chronicle.add("/neu/" + std::to_string(100 + i));
    EXPECT_EQ(chronicle.entries().size(), 25u);
    const auto shown = chronicle.menuEntries([](const std::string& f) { return f.rfind("/neu/", 0) == 0; });
    EXPECT_FALSE(shown.empty());

    // Kept in the explorer folder list file between runs.
    test::TempDir dir;
    FolderList list;
    list.setFolders(chronicle.entries());
    list.save(dir.file("pictrah.ini"));
    FolderList again;
    again.load(dir.file("pictrah.ini"));
    FolderChronicle next;
    next.setEntries(again.folders());
    EXPECT_EQ(next.entries(), chronicle.entries());
}

TEST(OpenDispatch, ByFileType) {
    struct Case {
        std::string path;
        std::string bytes;
        bool fromReadItem;
        bool browser;
        OpenAction expected;
    };
    const std::string zero("ab\0cd", 5);
    const Case cases[] = {
        {"/d/brief.txt", "Hallo", false, false, OpenAction::Document},
        {"/d/ohne", "Hallo", false, false, OpenAction::Document},
        {"/d/daten.bin", "Hallo", false, false, OpenAction::Associated},
        {"/d/daten.bin", "Hallo", true, false, OpenAction::Document},  // "Datei einlesen (falls Textdatei)"
        {"/d/film.mpg", "x", false, false, OpenAction::Film},
        {"/d/daten.dat", zero, false, false, OpenAction::UrlHandler},
        {"/d/Foto.JPG", "", false, false, OpenAction::Picture},
        {"/d/x.jpg.txt", "Text", false, false, OpenAction::Picture},
        {"/d/lied.mp3", "", false, false, OpenAction::Sound},
        {"/d/seite.html", "<html>", false, false, OpenAction::HtmlDocument},
        {"/d/seite.htm", "<html>", false, true, OpenAction::Associated},
        {"/d/brief.rtf", "{\\rtf", false, false, OpenAction::RichText},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dispatchOpen({c.path, c.bytes, true, c.fromReadItem, c.browser}), c.expected) << c.path;
    }
    EXPECT_EQ(dispatchOpen({"/d/weg.txt", "", false, false, false}), OpenAction::UrlHandler);
    EXPECT_EQ(extensionFromHeader("/d/bild", "\xFF\xD8\xFF\xE0"), ".jpg");
    EXPECT_EQ(extensionFromHeader("/d/bild", "\x89PNG"), ".png");
    EXPECT_EQ(extensionFromHeader("/d/bild.dat", "\xFF\xD8"), "");
    EXPECT_EQ(extensionFromHeader("/d.x/bild", "Text"), "");
}

TEST(Drives, TypeWordsAndSystemVolumes) {
    EXPECT_EQ(driveTypeWord("ext4", "/", false), "Fest");
    EXPECT_EQ(driveTypeWord("vfat", "/media/lehrer/STICK", true), "Wechsel");
    EXPECT_EQ(driveTypeWord("tmpfs", "/tmp/x", false), "RamDisk");
    EXPECT_EQ(driveTypeWord("nfs4", "/srv/netz", false), "Netz");
    EXPECT_EQ(driveTypeWord("iso9660", "/media/cdrom", true), "CD");
    EXPECT_EQ(driveEntryText("/media/stick", "Wechsel", "SCHULE"), "/media/stick Wechsel SCHULE");
    EXPECT_TRUE(isSystemVolume("proc", "/proc"));
    EXPECT_TRUE(isSystemVolume("tmpfs", "/run/user/1000"));
    EXPECT_FALSE(isSystemVolume("vfat", "/run/media/lehrer/STICK"));
    EXPECT_FALSE(isSystemVolume("ext4", "/home"));
}

TEST(TextPreview, ControlCharactersShownAndPrintableTextKept) {
    const auto blocks = previewBlocks(std::string("Zeile\r\nGr\xFC\xDF" "e\x01", 13));
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].upper, "Zeile|#13||#10|\r\nGrüße|#1|");
    EXPECT_EQ(blocks[0].lower, "ZeileGrüße");
    EXPECT_EQ(printableText(std::string("a\r\nb\0c", 6)), "a\r\nbc");
    EXPECT_EQ(previewBlocks(std::string(4500, 'x'), 2000).size(), 3u);
}
