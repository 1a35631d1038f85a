#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <filesystem>
#include <map>
#include <optional>
#include <tuple>

#include "ChildProcess.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "explorer/OpenDispatch.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"
#include "explorer/fileops/FileCommands.h"
#include "explorer/fileops/NameRules.h"
#include "explorer/fileops/RenameMove.h"
#include "explorer/fileops/Rename.h"
#include "explorer/fileops/RenameCommands.h"
#include "explorer/fileops/RenamePlan.h"

namespace fs = std::filesystem;

namespace pictra::fileops {
namespace {

// Name → content of every entry of a folder.
std::map<std::string, std::string> contents(const test::TempDir& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        files[name] = entry.is_regular_file() ? dir.read(name) : "<dir>";
    }
    return files;
}

class FlagRefused : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { setNoReplaceFlagRefused(GetParam()); }
    void TearDown() override { setNoReplaceFlagRefused(false); }
};

TEST_P(FlagRefused, AnExistingTargetIsNeverReplaced) {
    test::TempDir dir;
    dir.write("a.txt", "A");
    dir.write("b.txt", "B");
    const RenameResult result = renameNoReplace(dir.file("a.txt"), dir.file("b.txt"));
    EXPECT_EQ(result.status, RenameStatus::TargetExists);
    EXPECT_EQ(contents(dir), (std::map<std::string, std::string>{{"a.txt", "A"}, {"b.txt", "B"}}));
    EXPECT_TRUE(renameNoReplace(dir.file("a.txt"), dir.file("c.txt")).ok());
    EXPECT_EQ(renameNoReplace(dir.file("gone.txt"), dir.file("d.txt")).status, RenameStatus::SourceMissing);
    EXPECT_EQ(contents(dir), (std::map<std::string, std::string>{{"b.txt", "B"}, {"c.txt", "A"}}));
}

TEST_P(FlagRefused, ACaseOnlyRenameArrives) {
    test::TempDir dir;
    dir.write("Foto.JPG", "F");
    EXPECT_TRUE(renameNoReplace(dir.file("Foto.JPG"), dir.file("foto.jpg")).ok());
    EXPECT_EQ(contents(dir), (std::map<std::string, std::string>{{"foto.jpg", "F"}}));
}

INSTANTIATE_TEST_SUITE_P(Rename, FlagRefused, ::testing::Bool());

TEST(Rename, AMarkerNeverPushesANamePastTheLimit) {
    const std::string longName = std::string(253, 'a');
    EXPECT_EQ(withMarker("/d/" + longName, "~~"), "/d/" + std::string(253, 'a') + "~~");
    EXPECT_EQ(withMarker("/d/" + longName + "bc", "~~"), "/d/" + std::string(253, 'a') + "~~");
    // Never cut inside a character: "ä" is two bytes.
    std::string wide;
    for (int i = 0; i < 127; ++i) wide += "ä";
    const std::string marked = fs::path(withMarker("/d/" + wide, "~_~")).filename().string();
    EXPECT_LE(marked.size(), kMaxNameBytes);
    EXPECT_EQ(marked, std::string(wide.substr(0, 252)) + "~_~");
    EXPECT_EQ(withMarker("/x.txt", "~~"), "/x.txt~~");
}

// The held-open folder only takes names directly inside it; anything else goes
// the full path, so a plan touching several folders renames the right files.
TEST(Rename, AnOpenFolderTakesOnlyItsOwnEntries) {
    test::TempDir dir;
    const std::string folder = dir.path() + "f";
    fs::create_directories(folder + "/sub");
    const OpenFolder open(folder);
    const std::vector<std::pair<std::string, bool>> cases = {
        {folder + "/x", true},     {folder + "x/y", false}, {folder + "/sub/x", false},
        {folder + "/", false},     {folder, false},         {"x", false},
    };
    for (const auto& [path, inside] : cases) EXPECT_EQ(open.holds(path), inside) << path;
    EXPECT_TRUE(OpenFolder("/").holds("/x"));
    EXPECT_TRUE(OpenFolder("").holds("x"));
    EXPECT_FALSE(OpenFolder("").holds("a/x"));

    std::ofstream(folder + "/sub/a") << "a";
    std::ofstream(folder + "/b") << "b";
    EXPECT_TRUE(open.renameNoReplace(folder + "/sub/a", folder + "/a").ok());
    EXPECT_EQ(open.renameNoReplace(folder + "/a", folder + "/b").status, RenameStatus::TargetExists);
    EXPECT_TRUE(fs::exists(folder + "/a"));
    EXPECT_TRUE(open.renameNoReplace(folder + "/a", folder + "/c").ok());
    EXPECT_TRUE(fs::exists(folder + "/c") && !fs::exists(folder + "/a"));
}

// Tests whether a case-insensitive FAT volume can be made here (root, loop devices, mkfs.fat).
TEST(Rename, ACaseOnlyRenameOnAFatStick) {
    if (::getuid() != 0 || ::system("command -v mkfs.fat >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "Kein FAT-Abbild möglich (root und mkfs.fat nötig)";
    }
    test::TempDir dir;
    const std::string image = dir.file("stick.img");
    const std::string mountPoint = dir.file("stick");
    fs::create_directory(mountPoint);
    ASSERT_EQ(::system(("truncate -s 2M '" + image + "' && mkfs.fat '" + image + "' >/dev/null").c_str()), 0);
    if (::system(("mount -o loop '" + image + "' '" + mountPoint + "' 2>/dev/null").c_str()) != 0) {
        GTEST_SKIP() << "Das FAT-Abbild lässt sich hier nicht einhängen (kein vfat im Kern oder kein Loop-Gerät)";
    }
    const std::string from = mountPoint + "/Foto.JPG";
    { std::ofstream(from) << "F"; }
    const RenameResult result = renameNoReplace(from, mountPoint + "/foto.jpg");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(mountPoint)) names.push_back(entry.path().filename().string());
    ::umount2(mountPoint.c_str(), MNT_DETACH);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(names, std::vector<std::string>{"foto.jpg"});
}

struct PlanCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;  // name, content before
    std::vector<std::pair<std::string, std::string>> plan;
    std::map<std::string, std::string> after;
    std::vector<bool> ok;
};

class Plans : public ::testing::TestWithParam<PlanCase> {};

TEST_P(Plans, NoFileIsLost) {
    const PlanCase& c = GetParam();
    test::TempDir dir;
    for (const auto& [name, content] : c.files) dir.write(name, content);
    std::vector<PlannedRename> plan;
    for (const auto& [from, to] : c.plan) plan.push_back({dir.file(from), dir.file(to)});
    const PlanOutcome outcome = runPlan(plan, dir.path());
    EXPECT_EQ(contents(dir), c.after);
    ASSERT_EQ(outcome.results.size(), c.ok.size());
    for (size_t i = 0; i < c.ok.size(); ++i) EXPECT_EQ(outcome.results[i].ok(), c.ok[i]) << i;
    EXPECT_TRUE(outcome.leftTemporary.empty());
    EXPECT_TRUE(interruptedPlans(dir.path()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    RenamePlan, Plans,
    ::testing::Values(
        PlanCase{"free", {{"a", "A"}, {"b", "B"}}, {{"a", "x"}, {"b", "y"}}, {{"x", "A"}, {"y", "B"}}, {true, true}},
        PlanCase{"chain", {{"a", "A"}, {"b", "B"}}, {{"a", "b"}, {"b", "c"}}, {{"b", "A"}, {"c", "B"}}, {true, true}},
        PlanCase{"cycle", {{"a", "A"}, {"b", "B"}}, {{"a", "b"}, {"b", "a"}}, {{"a", "B"}, {"b", "A"}}, {true, true}},
        PlanCase{"threeCycle",
                 {{"a", "A"}, {"b", "B"}, {"c", "C"}},
                 {{"a", "b"}, {"b", "c"}, {"c", "a"}},
                 {{"a", "C"}, {"b", "A"}, {"c", "B"}},
                 {true, true, true}},
        PlanCase{"clashOutside",
                 {{"a", "A"}, {"b", "B"}, {"c", "C"}},
                 {{"a", "b"}, {"b", "c"}},
                 {{"a", "A"}, {"b", "B"}, {"c", "C"}},
                 {false, false}},
        PlanCase{"markerTaken",
                 {{"a", "A"}, {"b", "B"}, {"a~~", "M"}},
                 {{"a", "b"}, {"b", "a"}},
                 {{"a", "B"}, {"b", "A"}, {"a~~", "M"}},
                 {true, true}},
        PlanCase{"twoOntoOne", {{"a", "A"}, {"b", "B"}}, {{"a", "z"}, {"b", "z"}}, {{"z", "A"}, {"b", "B"}}, {true, false}},
        PlanCase{"gone", {{"b", "B"}}, {{"a", "x"}, {"b", "y"}}, {{"y", "B"}}, {false, true}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(RenamePlan, ACancelLeavesEveryFileUnderAName) {
    test::TempDir dir;
    dir.write("a", "A");
    dir.write("b", "B");
    dir.write("c", "C");
    int asked = 0;
    const PlanOutcome outcome =
        runPlan({{dir.file("a"), dir.file("b")}, {dir.file("b"), dir.file("a")}, {dir.file("c"), dir.file("d")}},
                dir.path(), [&] { return ++asked > 2; });
    EXPECT_TRUE(outcome.cancelled);
    std::string all;
    for (const auto& [name, content] : contents(dir)) all += content;
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, "ABC");
    for (const auto& [name, content] : contents(dir)) EXPECT_EQ(name.find('~'), std::string::npos) << name;
}

// A plan of 20,000 files, killed at several points: each file is under its old,
// its temporary or its new name, and the record at the next start puts it right.
TEST(RenamePlan, AKilledPlanIsRepairedAtTheNextStart) {
    constexpr int kFiles = 20000;
    for (size_t killAt : {size_t{1}, size_t{12345}}) {
        test::TempDir dir;
        const std::string journal = dir.file("programm");
        fs::create_directory(journal);
        const std::string folder = dir.file("bilder");
        fs::create_directory(folder);
        std::vector<PlannedRename> plan;
        for (int i = 0; i < kFiles; ++i) {
            const std::string name = folder + "/IMG_" + std::to_string(i) + ".jpg";
            FILE* f = std::fopen(name.c_str(), "w");
            std::fputs(std::to_string(i).c_str(), f);
            std::fclose(f);
            // Pairs exchange their names (cycles), the rest get new ones.
            const int partner = i % 4 == 0 ? i + 1 : (i % 4 == 1 ? i - 1 : -1);
            plan.push_back({name, partner >= 0 ? folder + "/IMG_" + std::to_string(partner) + ".jpg"
                                               : folder + "/bild" + std::to_string(i) + ".jpg"});
        }
        const auto end = test::runInChild([&] {
            setKillAfterRenames(killAt);
            runPlan(plan, journal);
            return 0;
        });
        ASSERT_TRUE(end.killed) << killAt;
        auto plans = interruptedPlans(journal);
        ASSERT_EQ(plans.size(), 1u) << killAt;
        ASSERT_EQ(plans[0].files.size(), static_cast<size_t>(kFiles));
        for (const auto& file : plans[0].files) ASSERT_NE(file.place, InterruptedPlan::Place::Missing) << file.from;
        std::vector<std::string> failed;
        ASSERT_TRUE(finishInterruptedPlan(plans[0], true, journal, failed)) << killAt;
        EXPECT_TRUE(failed.empty());
        EXPECT_TRUE(interruptedPlans(journal).empty());
        EXPECT_EQ(std::distance(fs::directory_iterator(journal), fs::directory_iterator()), 0);
        for (int i = 0; i < kFiles; ++i) {
            std::ifstream in(plan[static_cast<size_t>(i)].to);
            std::string content;
            in >> content;
            ASSERT_EQ(content, std::to_string(i)) << killAt << " " << plan[static_cast<size_t>(i)].to;
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), kFiles);
    }
}

TEST(RenamePlan, ARepairCanTakeThePlanBack) {
    test::TempDir dir;
    dir.write("a", "A");
    dir.write("b", "B");
    dir.write("c", "C");
    const std::string journal = dir.file("j");
    fs::create_directory(journal);
    const auto end = test::runInChild([&] {
        setKillAfterRenames(2);
        runPlan({{dir.file("a"), dir.file("b")}, {dir.file("b"), dir.file("a")}, {dir.file("c"), dir.file("d")}},
                journal);
        return 0;
    });
    ASSERT_TRUE(end.killed);
    auto plans = interruptedPlans(journal);
    ASSERT_EQ(plans.size(), 1u);
    test::ScriptedDialogs dialogs;
    dialogs.expectAsk("Das Umbenennen von 3 Dateien wurde unterbrochen (Absturz oder Stromausfall).\r" +
                          std::to_string(plans[0].unfinished()) +
                          " Dateien tragen noch ihren alten oder einen vorläufigen Namen.\r\rUmbenennen jetzt "
                          "abschließen?\r(Nein: alle Dateien erhalten wieder ihren alten Namen.)",
                      Answer::No);
    offerInterruptedRenames(journal, dialogs);
    EXPECT_EQ(contents(dir),
              (std::map<std::string, std::string>{{"a", "A"}, {"b", "B"}, {"c", "C"}, {"j", "<dir>"}}));
    EXPECT_TRUE(interruptedPlans(journal).empty());
}

TEST(RenamePlan, ARunningPlanIsNotTakenForACrash) {
    test::TempDir dir;
    dir.write("a", "A");
    std::vector<InterruptedPlan> seen;
    runPlan({{dir.file("a"), dir.file("b")}}, dir.path(), [&] {
        seen = interruptedPlans(dir.path());
        return false;
    });
    EXPECT_TRUE(seen.empty());
}

TEST(NameRules, UmlautsAndCase) {
    const std::vector<std::tuple<std::string, bool, std::string>> cases = {
        {"Müller Straße.Foto.JPG", false, "müller straße.foto.jpg"},
        {"ÄÖÜ Œuvre.txt", false, "äöü œuvre.txt"},
        {"bild.JPEG", false, "bild.jpg"},
        {"bild.jpeg", true, "BILD.JPEG"},
        {"straße.jpeg.txt", true, "STRAßE.JPEG.TXT"},
        {"M\xFCller.txt", false, "müller.txt"},
        {"M\xDCLLER.txt", false, "müller.txt"},
    };
    for (const auto& [name, upper, expected] : cases) EXPECT_EQ(caseConverted(name, upper), expected) << name;
    EXPECT_EQ(umlautMapped("müller straße.foto"), "mueller_strasse_foto");
    EXPECT_EQ(umlautMapped("M\xFCller"), "Mueller");
    EXPECT_FALSE(hasUmlautOrBlank("mueller"));
}

TEST(NameRules, PaddedNumbers) {
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"abc5", "abc005"}, {"abc11", "abc011"}, {"5", "005"}, {"11", "011"},
        {"abc123", std::nullopt}, {"abc", std::nullopt}, {"", std::nullopt}, {"a1b22", "a1b022"},
    };
    for (const auto& [base, expected] : cases) EXPECT_EQ(paddedNumber(base), expected) << base;
}

TEST(NameRules, ConsecutiveNumbers) {
    EXPECT_EQ(numberWidth(1), 3);
    EXPECT_EQ(numberWidth(99), 3);
    EXPECT_EQ(numberWidth(100), 4);
    EXPECT_EQ(numberWidth(999), 4);
    EXPECT_EQ(numberWidth(1000), 5);
    EXPECT_EQ(numberedBaseName("IMG_4711", 10, 3), "IMG010");
    EXPECT_EQ(numberedBaseName("Sevilla 2009 (3)", 20, 3), "Sevilla020");
    EXPECT_EQ(numberedBaseName("2009", 30, 4), "0030");
    EXPECT_EQ(numberedBaseName("Straße 1", 40, 3), "Straße040");
}

TEST(NameRules, SeriesOfNames) {
    using Lines = std::vector<std::string>;
    const std::vector<std::tuple<Lines, size_t, Lines>> cases = {
        {{"urlaub"}, 3, {"urlaub01", "urlaub02", "urlaub03"}},
        {{"Sevilla001", "", ""}, 3, {"Sevilla001", "Sevilla002", "Sevilla003"}},
        {{"Sevilla0100", "Sevilla0200", "", ""}, 4, {"Sevilla0100", "Sevilla0200", "Sevilla0300", "Sevilla0400"}},
        {{"a10", "a20"}, 4, {"a10", "a20", "a30", "a40"}},
        {{"", ""}, 2, {"bild02", "bild03"}},
        {{"brief.txt", "x"}, 3, {"brief.txt", "x", "x11"}},
        {{"  urlaub  "}, 2, {"urlaub01", "urlaub02"}},
    };
    for (const auto& [lines, count, expected] : cases) EXPECT_EQ(seriesNames(lines, count), expected) << lines[0];
    EXPECT_EQ(nameWithExtension("brief.txt", ".doc"), "brief.txt");
    EXPECT_EQ(nameWithExtension("brief", ".doc"), "brief.doc");
    EXPECT_EQ(nameWithExtension("brief.txt.alt", ".doc"), "brief.txt");
}

TEST(NameRules, HeaderTable) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\xFF\xD8\xFF\xE0", ".jpg"}, {"GIF8", ".gif"},     {"gif8", ".gif"},   {"\xD0\xCF\x11\xE0", ".doc"},
        {"BM6\x01", ".bmp"},           {"\x89PNG", ".png"}, {"FLV\x01", ".flv"}, {"%PDF", ".pdf"},
        {"0&\xB2u", ".wmv"},           {"Text", ""},        {"\xFF\xD8\xFF", ""}, {"", ""},
    };
    for (const auto& [bytes, expected] : cases) EXPECT_EQ(headerType(bytes), expected) << bytes;
    EXPECT_EQ(explorer::extensionFromHeader("/d/film", "%PDF-1.4"), ".pdf");
    EXPECT_EQ(explorer::extensionFromHeader("/d/film.x", "%PDF-1.4"), "");
}

// The commands on real files, with the dialogs answered from a script.
class RenameCommandTest : public ::testing::Test {
protected:
    std::vector<std::string> paths(const std::vector<std::string>& names) const {
        std::vector<std::string> all;
        for (const auto& name : names) all.push_back(folder() + name);
        return all;
    }
    std::string folder() const { return dir.file("f") + "/"; }
    void SetUp() override { fs::create_directory(dir.file("f")); fs::create_directory(dir.file("programm")); }
    void write(const std::string& name, const std::string& content) const { dir.write("f/" + name, content); }
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> all;
        for (const auto& entry : fs::directory_iterator(folder())) {
            all[entry.path().filename().string()] = dir.read("f/" + entry.path().filename().string());
        }
        return all;
    }
    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    RenameContext context{dialogs, dir.file("programm")};
};

TEST_F(RenameCommandTest, UmlautsAndBlanks) {
    write("Müller Straße.Foto.JPG", "1");
    write("M\xFCller.txt", "2");
    write("ok.txt", "3");
    write("a b.txt", "4");
    write("a_b.txt", "5");
    dialogs.expectInform("Fehler beim Umbenennen der Datei \"" + folder() + "a b.txt")
        .expectInform("In 3 Dateien Umlaute geändert")
        .expectConfirmText("Geändert", true);
    renameUmlauts(paths({"Müller Straße.Foto.JPG", "M\xFCller.txt", "ok.txt", "a b.txt", "a_b.txt"}), context);
    EXPECT_EQ(files(), (std::map<std::string, std::string>{
                           {"mueller_strasse_foto.jpg", "1"}, {"mueller.txt", "2"}, {"ok.txt", "3"}, {"a b.txt", "4"},
                           {"a_b.txt", "5"}}));
    dialogs.expectInform("Keine Dateinamen mit ä ö ü ß gefunden");
    renameUmlauts(paths({"ok.txt"}), context);
}

TEST_F(RenameCommandTest, CaseClashKeepsBothFiles) {
    write("A.txt", "groß");
    write("a.txt", "klein");
    write("B.JPEG", "b");
    dialogs.expectInform("A.txt nicht umbenannt");
    const auto after = changeCase(paths({"A.txt", "a.txt", "B.JPEG"}), false, context);
    EXPECT_EQ(after, paths({"A.txt", "a.txt", "b.jpg"}));
    EXPECT_EQ(files(), (std::map<std::string, std::string>{{"A.txt", "groß"}, {"a.txt", "klein"}, {"b.jpg", "b"}}));
}

TEST_F(RenameCommandTest, PaddingAsksEachAndKeepsATakenName) {
    write("abc5.jpg", "5");
    write("abc11.jpg", "11");
    write("abc011.jpg", "alt");
    write("abc123.jpg", "123");
    dialogs.expectAsk(folder() + "abc5.jpg\r" + folder() + "abc005.jpg", Answer::Yes)
        .expectAsk(folder() + "abc11.jpg\r" + folder() + "abc011.jpg", Answer::Yes)
        .expectInform("Fehler beim Umbenennen der Datei \"" + folder() + "abc11.jpg")
        .expectConfirmText("Geändert", true);
    padNumbers(paths({"abc5.jpg", "abc11.jpg", "abc011.jpg", "abc123.jpg"}), context);
    EXPECT_EQ(files(), (std::map<std::string, std::string>{
                           {"abc005.jpg", "5"}, {"abc11.jpg", "11"}, {"abc011.jpg", "alt"}, {"abc123.jpg", "123"}}));
    // "Abbrechen" ends the questions and renames nothing.
    write("x1.jpg", "x");
    dialogs.expectAsk(folder() + "x1.jpg\r" + folder() + "x001.jpg", Answer::Yes)
        .expectAsk(folder() + "abc11.jpg\r" + folder() + "abc011.jpg", Answer::Cancel)
        .expectInform("Abbruch");
    padNumbers(paths({"x1.jpg", "abc11.jpg"}), context);
    EXPECT_EQ(dir.read("f/x1.jpg"), "x");
}

TEST_F(RenameCommandTest, TildesGoUnlessTheNameIsTaken) {
    write("a~.txt", "1");
    write("b~.txt", "2");
    write("b.txt", "3");
    dialogs.expectInform("\"" + folder() + "b~.txt\"  konnte nicht ohne Tilde umbenannt werden, da schon vorhanden!");
    removeTildes(paths({"a~.txt", "b~.txt", "b.txt"}), context);
    EXPECT_EQ(files(), (std::map<std::string, std::string>{{"a.txt", "1"}, {"b~.txt", "2"}, {"b.txt", "3"}}));
}

TEST_F(RenameCommandTest, ConsecutiveNumbering) {
    write("IMG_4711.jpg", "1");
    write("Sevilla 2009 (3).jpg", "2");
    write("IMG030.jpg", "taken");
    write("x.txt", "3");
    // The third file is to become IMG030.jpg, which the fourth holds until it moves on.
    numberConsecutively(paths({"IMG_4711.jpg", "Sevilla 2009 (3).jpg", "x.txt", "IMG030.jpg"}), context);
    EXPECT_EQ(files(), (std::map<std::string, std::string>{
                           {"IMG010.jpg", "1"}, {"Sevilla020.jpg", "2"}, {"x030.txt", "3"}, {"IMG040.jpg", "taken"}}));
}

TEST_F(RenameCommandTest, NumberingKeepsAFileWhoseNewNameIsTaken) {
    write("x.txt", "x");
    write("x010.txt", "nicht in der Liste");
    dialogs.expectInform("Fehler beim Umbenennen der Datei \"" + folder() + "x.txt");
    numberConsecutively(paths({"x.txt"}), context);
    EXPECT_EQ(files(), (std::map<std::string, std::string>{{"x.txt", "x"}, {"x010.txt", "nicht in der Liste"}}));
}

// Run as a user, to whom the folder's permissions apply: every file reports and stays.
TEST_F(RenameCommandTest, AReadOnlyFolderReportsEachFile) {
    write("A.txt", "a");
    write("B.txt", "b");
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(folder().c_str(), 0555);
    const auto end = test::runInChild(
        [&] {
            test::ScriptedDialogs child;
            child.expectInform("A.txt nicht umbenannt").expectInform("B.txt nicht umbenannt");
            RenameContext childContext{child, ""};
            changeCase(paths({"A.txt", "B.txt"}), false, childContext);
            return child.scriptDone() && child.log().size() == 2 ? 0 : 1;
        },
        true);
    ::chmod(folder().c_str(), 0755);
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_EQ(files(), (std::map<std::string, std::string>{{"A.txt", "a"}, {"B.txt", "b"}}));
}

TEST_F(RenameCommandTest, HundredFilesAllGetFourDigits) {
    std::vector<std::string> names;
    for (int i = 0; i < 100; ++i) {
        names.push_back("p" + std::to_string(i) + ".jpg");
        write(names.back(), std::to_string(i));
    }
    numberConsecutively(paths(names), context);
    const auto after = files();
    ASSERT_EQ(after.size(), 100u);
    EXPECT_EQ(after.begin()->first, "p0010.jpg");
    EXPECT_EQ(after.rbegin()->first, "p1000.jpg");
    EXPECT_EQ(after.at("p1000.jpg"), "99");
    for (const auto& [name, content] : after) EXPECT_EQ(name.size(), 9u) << name;
}

TEST_F(RenameCommandTest, SeveralFromTheEditedLowerText) {
    write("DSC1.JPG", "1");
    write("DSC2.JPG", "2");
    write("DSC3.JPG", "3");
    write("urlaub02.jpg", "alt");
    dialogs.expectConfirmText("Dateien umbenennen", true, "Urlaub")
        .expectConfirmText("Dateien umbenennen", true)
        .expectInform("Da die Datei \"" + folder() + "urlaub02.jpg\"schon vorhanden ist, wird die Datei \"" + folder() +
                      "DSC2.JPG\"  umbenannt in \"" + folder() + "urlaub020.jpg\"");
    renameSeveral(paths({"DSC1.JPG", "DSC2.JPG", "DSC3.JPG"}), context);
    EXPECT_EQ(dialogs.shownTexts().at(1), "So in Ordnung?\n----\n" + folder() + "DSC1.JPG wird umbenannt in " + folder() +
                                              "urlaub01.jpg\r\n" + folder() + "DSC2.JPG wird umbenannt in " + folder() +
                                              "urlaub02.jpg\r\n" + folder() + "DSC3.JPG wird umbenannt in " + folder() +
                                              "urlaub03.jpg");
    EXPECT_EQ(files(), (std::map<std::string, std::string>{
                           {"urlaub01.jpg", "1"}, {"urlaub020.jpg", "2"}, {"urlaub03.jpg", "3"}, {"urlaub02.jpg", "alt"}}));
}

TEST_F(RenameCommandTest, SeveralWithExtensionUnchangedLineAndExchange) {
    write("a.doc", "a");
    write("b.doc", "b");
    write("c.doc", "c");
    write("d.doc", "d");
    // "a" changes its extension, "b" stays, "c" and "d" exchange their names.
    dialogs.expectConfirmText("Dateien umbenennen", true, "a.txt\nb\nd\nc").expectConfirmText("Dateien umbenennen", true);
    renameSeveral(paths({"a.doc", "b.doc", "c.doc", "d.doc"}), context);
    EXPECT_EQ(files(), (std::map<std::string, std::string>{{"a.txt", "a"}, {"b.doc", "b"}, {"d.doc", "c"}, {"c.doc", "d"}}));
    dialogs.expectConfirmText("Dateien umbenennen", false).expectInform("Abbruch");
    renameSeveral(paths({"a.txt"}), context);
}

TEST_F(RenameCommandTest, AfterTwentyZerosTheFileKeepsItsName) {
    write("x.jpg", "x");
    std::string taken = "neu";
    for (int i = 0; i <= 20; ++i) {
        write(taken + ".jpg", "t" + std::to_string(i));
        taken += "0";
    }
    dialogs.expectConfirmText("Dateien umbenennen", true, "neu").expectConfirmText("Dateien umbenennen", true);
    // "neu" gets "01" appended as the only line: neu01.jpg is free.
    renameSeveral(paths({"x.jpg"}), context);
    EXPECT_EQ(dir.read("f/neu01.jpg"), "x");
    write("y.jpg", "y");
    dialogs.expectConfirmText("Dateien umbenennen", true, "neu01\nneu").expectConfirmText("Dateien umbenennen", true);
    std::string previous = folder() + "neu.jpg";
    for (int i = 1; i <= 20; ++i) {
        const std::string next = folder() + "neu" + std::string(static_cast<size_t>(i), '0') + ".jpg";
        dialogs.expectInform("Da die Datei \"" + previous + "\"schon vorhanden ist, wird die Datei \"" + folder() +
                             "y.jpg\"  umbenannt in \"" + next + "\"");
        previous = next;
    }
    dialogs.expectInform("Fehler beim Umbenennen der Datei \"" + folder() + "y.jpg wird umbenannt in " + folder() +
                         "neu.jpg: \rEine Datei dieses Namens ist schon vorhanden.");
    renameSeveral(paths({"neu01.jpg", "y.jpg"}), context);
    EXPECT_EQ(dir.read("f/y.jpg"), "y");
    EXPECT_EQ(dir.read("f/neu.jpg"), "t0");
}

TEST_F(RenameCommandTest, ExtensionAndHeader) {
    write("a.dat", "a");
    write("b.dat", "b");
    write("b.txt", "alt");
    dialogs.expectAskText("Wie soll die neue Extension lauten?", "txt").expectInform("Datei \"b\" nicht umbenannt!");
    changeExtension(paths({"a.dat", "b.dat"}), context);
    EXPECT_EQ(files(), (std::map<std::string, std::string>{{"a.txt", "a"}, {"b.dat", "b"}, {"b.txt", "alt"}}));
    dialogs.expectInform("Keine Datei vorhanden");
    changeExtension({}, context);

    write("bild.dat", "\x89PNG\r\n");
    write("bild.png", "alt");
    write("kurz", "GI");
    dialogs.expectInform("Konnte Datei nicht umbenennen in: " + folder() + "bild.png")
        .expectInform("Konnte Dateityp nicht ermitteln.");
    typeFromHeader(folder() + "bild.dat", context);
    typeFromHeader(folder() + "kurz", context);
    fs::remove(folder() + "bild.png");
    dialogs.expectInform("Datei ist vom Typ: .png\rund wurde - falls noch nicht geschehen - entsprechend umbenannt.");
    typeFromHeader(folder() + "bild.dat", context);
    EXPECT_EQ(dir.read("f/bild.png"), "\x89PNG\r\n");
}

std::string pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 977) & 0xFF);
    return bytes;
}

TEST_F(RenameCommandTest, SplitIntoThreePiecesAndJoinByNumber) {
    write("brief.txt", pattern(120000));
    dialogs.expectAskNumber("in KByte", 50)
        .expectInform("Die für eine Diskette zu große Datei wird aufgeteilt\rund als Dateien \"1\", \"2\" ... mit je "
                      "50000 Bytes geschrieben.\rDie ursprünliche Datei kann dann wieder mit \"Ausgewählte "
                      "gesplittete Dateien zusammenfügen\" restauriert werden.");
    splitFile(paths({"brief.txt"}), dialogs);
    EXPECT_EQ(dir.read("f/brief001.txt"), pattern(120000).substr(0, 50000));
    EXPECT_EQ(dir.read("f/brief002.txt"), pattern(120000).substr(50000, 50000));
    EXPECT_EQ(dir.read("f/brief003.txt"), pattern(120000).substr(100000));
    dialogs.expectSaveFile(folder() + "neu");
    joinFiles(paths({"brief003.txt", "brief001.txt", "brief002.txt"}), dialogs);
    EXPECT_EQ(dir.read("f/neu.txt"), pattern(120000));
    dialogs.expectSaveFile(folder() + "neu.txt").expectInform("Datei darf nicht existieren\rBitte neuen Dateinamen eingeben!");
    joinFiles(paths({"brief001.txt"}), dialogs);
    EXPECT_EQ(dir.read("f/neu.txt"), pattern(120000));
}

TEST_F(RenameCommandTest, AThousandAndOnePiecesSortAndJoin) {
    setCopyBlock(4096);
    const std::string bytes = pattern(1001 * 1000);
    write("film.bin", bytes);
    dialogs.expectAskNumber("in KByte", 1).expectInform("");
    splitFile(paths({"film.bin"}), dialogs);
    std::vector<std::string> pieces;
    for (const auto& [name, content] : files()) {
        if (name != "film.bin") pieces.push_back(folder() + name);
    }
    ASSERT_EQ(pieces.size(), 1001u);
    EXPECT_EQ(pieces.front(), folder() + "film0001.bin");
    EXPECT_EQ(pieces.back(), folder() + "film1001.bin");
    std::reverse(pieces.begin(), pieces.end());
    dialogs.expectSaveFile(dir.file("ganz.bin"));
    joinFiles(pieces, dialogs);
    EXPECT_TRUE(dir.read("ganz.bin") == bytes);
    setCopyBlock(std::size_t{8} << 20);
}

TEST_F(RenameCommandTest, SplitRefusesABadSizeAndAnExistingPiece) {
    write("a.txt", "abc");
    write("a001.txt", "alt");
    dialogs.expectAskNumber("in KByte", 0).expectInform("Die Größe der Teildateien muss mindestens 1 KByte sein.");
    splitFile(paths({"a.txt"}), dialogs);
    dialogs.expectAskNumber("in KByte", 1)
        .expectInform("")
        .expectInform("Die Datei \"" + folder() + "a001.txt\" ist schon vorhanden.\rDie Datei wurde nicht geteilt.");
    splitFile(paths({"a.txt"}), dialogs);
    EXPECT_EQ(files(), (std::map<std::string, std::string>{{"a.txt", "abc"}, {"a001.txt", "alt"}}));
    dialogs.expectInform("Sie müssen genau eine Datei auswählen");
    splitFile(paths({"a.txt", "a001.txt"}), dialogs);
}

TEST_F(RenameCommandTest, AFullDiskLeavesNoPieceAndNoJoinedFile) {
    const std::string small = dir.file("klein");
    fs::create_directory(small);
    test::SmallVolume volume(small, 400 * 1024);
    if (!volume.mounted()) GTEST_SKIP() << "Einhängen nicht erlaubt";
    { std::ofstream(small + "/gross.bin", std::ios::binary) << pattern(300000); }
    dialogs.expectAskNumber("in KByte", 100)
        .expectInform("")
        .expectInform("Datenträger \"" + small + "\" ist voll.\rDie Teildateien wurden wieder entfernt.");
    splitFile({small + "/gross.bin"}, dialogs);
    EXPECT_EQ(std::distance(fs::directory_iterator(small), fs::directory_iterator()), 1);
    write("t1.bin", pattern(300000));
    dialogs.expectSaveFile(small + "/ganz.bin")
        .expectInform("Datenträger \"" + small + "\" ist voll.\r\"" + small + "/ganz.bin\" wurde wieder entfernt.");
    joinFiles(paths({"t1.bin"}), dialogs);
    EXPECT_FALSE(fs::exists(small + "/ganz.bin"));
}

TEST_F(RenameCommandTest, FileDateImpossibleDatesAreErrors) {
    write("a.txt", "a");
    const auto before = fs::last_write_time(folder() + "a.txt");
    DateEntry last;
    for (const auto& [y, m, d, answer] : std::vector<std::tuple<int, int, int, std::string>>{
             {2010, 2, 31, "Fehler"}, {2010, 13, 1, "Fehler"}, {2010, 0, 5, "Fehler"}, {2011, 2, 29, "Fehler"}}) {
        dialogs.expectAskNumber("zum Beispiel 2010", y)
            .expectAskNumber("zum Beispiel 5 für Mai", m)
            .expectAskNumber("zum Beispiel 12 für 12. Mai 2010", d)
            .expectInform(answer);
        changeFileDate(paths({"a.txt"}), last, dialogs);
        EXPECT_EQ(fs::last_write_time(folder() + "a.txt"), before);
    }
    dialogs.expectAskNumber("zum Beispiel 2010", 2012)
        .expectAskNumber("zum Beispiel 5 für Mai", 2)
        .expectAskNumber("zum Beispiel 12 für 12. Mai 2010", 29)
        .expectInform("OK");
    changeFileDate(paths({"a.txt"}), last, dialogs);
    struct stat st {};
    ASSERT_EQ(::stat((folder() + "a.txt").c_str(), &st), 0);
    std::tm local{};
    ::localtime_r(&st.st_mtime, &local);
    EXPECT_EQ(std::vector<int>({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min}),
              std::vector<int>({2012, 2, 29, 0, 0}));
    EXPECT_EQ(last.year, 2012);
    dialogs.expectAskNumber("zum Beispiel 2010", std::nullopt);
    changeFileDate(paths({"a.txt"}), last, dialogs);
}

TEST_F(RenameCommandTest, WriteProtectionOwnerOnly) {
    write("a.txt", "a");
    ::chmod((folder() + "a.txt").c_str(), 0444);
    dialogs.expectInform(folder() + "weg.txt: Schreibschutz nicht entfernt!");
    removeWriteProtection(paths({"a.txt", "weg.txt"}), dialogs);
    struct stat st {};
    ASSERT_EQ(::stat((folder() + "a.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST_F(RenameCommandTest, PathsWithWorkingLinks) {
    dialogs.expectConfirmText("Dateipfade", true);
    showPathsAsText("/d", {"Mein & Dein.html   12 KB"}, {"/d/Mein & Dein.html", "/d/über.htm"}, dialogs);
    EXPECT_EQ(dialogs.shownTexts().back(),
              "/d/Mein & Dein.html\r\n/d/über.htm\n----\n/d/Mein & Dein.html   12 KB\r\n"
              "<a href=\"Mein%20%26%20Dein.html\">Mein & Dein.html</a>\r\n"
              "<a href=\"%C3%BCber.htm\">über.htm</a>");
}

TEST_F(RenameCommandTest, FolderAKeepsAReplacedFileInTheBin) {
    write("bild.jpg", "neu");
    write("zwei.jpg", "2");
    fs::create_directory(folder() + "a");
    write("a/bild.jpg", "alt");
    const std::string binFolder = dir.file("papierkorb");
    fs::create_directory(binFolder);
    CopySession session;
    CopyContext copies{dialogs, session, "", binFolder, {}, nullptr};
    SettingsStore store;
    test::RecordingSound sound;
    Tones tones{store, sound};
    std::optional<bool> moveMode;
    dialogs.expectAsk("Verschieben? (Nein = kopieren).\rwird pro Sitzung nur einmal abgefragt.", Answer::Yes);
    moveToFolderA(paths({"bild.jpg"}), moveMode, copies, tones, {2026, 12, 10});
    EXPECT_EQ(moveMode, std::optional<bool>(true));
    EXPECT_FALSE(fs::exists(folder() + "bild.jpg"));
    EXPECT_EQ(dir.read("f/a/bild.jpg"), "neu");
    std::vector<std::string> kept;
    for (const auto& entry : fs::directory_iterator(binFolder)) kept.push_back(dir.read("papierkorb/" + entry.path().filename().string()));
    EXPECT_EQ(kept, std::vector<std::string>{"alt"});
    EXPECT_EQ(sound.played.size(), 1u);
    // Asked once per run: the next file is moved without a question.
    moveToFolderA(paths({"zwei.jpg"}), moveMode, copies, tones, {2026, 12, 10});
    EXPECT_EQ(dir.read("f/a/zwei.jpg"), "2");
}

TEST_F(RenameCommandTest, RenameOrMoveOneFile) {
    write("brief.doc", "b");
    write("rest.doc", "r");
    fs::create_directory(dir.file("ziel"));
    dir.write("ziel/rest.doc", "alt");
    const std::string binFolder = dir.file("papierkorb");
    fs::create_directory(binFolder);
    CopySession session{false, {}};
    CopyContext copies{dialogs, session, "", binFolder, {}, nullptr};
    const bin::Date today{2026, 12, 10};
    const std::string own = dir.file("f");
    EXPECT_EQ(renameOrMove({folder() + "brief.doc", own, "brief.txt", false}, copies, today), folder() + "brief.txt");
    EXPECT_EQ(renameOrMove({folder() + "brief.txt", own, "brief2", false}, copies, today), folder() + "brief2.txt");
    dialogs.expectInform("Name nicht geändert!").expectInform("Nicht umbenannt. (Datei schon vorhanden?)");
    EXPECT_EQ(renameOrMove({folder() + "brief2.txt", own, "brief2", false}, copies, today), "");
    EXPECT_EQ(renameOrMove({folder() + "brief2.txt", own, "rest.doc", false}, copies, today), "");
    dialogs.expectInform("Datei \"" + folder() + "brief2.txt\" wurde dupliziert zu \"" + folder() + "kopie.txt");
    EXPECT_EQ(renameOrMove({folder() + "brief2.txt", own, "kopie", true}, copies, today), folder() + "kopie.txt");
    // A move to another folder; a taken name is asked about although the run's answer says "overwrite all".
    EXPECT_EQ(renameOrMove({folder() + "kopie.txt", dir.file("ziel"), "kopie", false}, copies, today),
              dir.file("ziel") + "/kopie.txt");
    session.overwriteAll = true;
    const std::string question = "Datei \"" + dir.file("ziel") + "/rest.doc\" existiert.\rDatei überschreiben?";
    dialogs.expectAsk(question, Answer::No).expectInform("Nicht umbenannt. (Datei schon vorhanden?)");
    EXPECT_EQ(renameOrMove({folder() + "rest.doc", dir.file("ziel"), "rest", false}, copies, today), "");
    EXPECT_EQ(dir.read("ziel/rest.doc"), "alt");
    dialogs.expectAsk(question, Answer::Yes);
    EXPECT_EQ(renameOrMove({folder() + "rest.doc", dir.file("ziel"), "rest", false}, copies, today),
              dir.file("ziel") + "/rest.doc");
    EXPECT_EQ(dir.read("ziel/rest.doc"), "r");
    EXPECT_EQ(files(), (std::map<std::string, std::string>{{"brief2.txt", "b"}}));
    EXPECT_EQ(std::distance(fs::directory_iterator(binFolder), fs::directory_iterator()), 1);
}

TEST_F(RenameCommandTest, DuplicatesAndFilingAway) {
    write("film.mp4.part", "f");
    write("brief.txt", "b");
    fs::create_directory(folder() + "ablage");
    write("ablage/brief.txt", "alt");
    const std::string binFolder = dir.file("papierkorb");
    CopySession session;
    CopyContext copies{dialogs, session, "", binFolder, {}, nullptr};
    EXPECT_EQ(duplicateName("/d/film.mp4.part"), "/d/film_.mp4");
    EXPECT_EQ(duplicateName("/d/abc"), "/d/abc_");
    dialogs.expectAsk("Ausgewählte Dateien \"abc\" werden zu \"abc_\" dupliziert und können\rdann umbenannt werden. "
                      "Duplizieren?",
                      Answer::Yes);
    EXPECT_EQ(duplicateFiles(paths({"film.mp4.part", "brief.txt"}), copies), paths({"film_.mp4", "brief_.txt"}));
    dialogs.expectAsk("Datein in den Unterordner \"Ablage\" veschieben?", Answer::Yes)
        .expectInform("Datei \"" + folder() + "brief.txt\" konnte nicht verschoben werden.");
    fileAway(paths({"brief.txt", "brief_.txt"}), copies);
    EXPECT_EQ(dir.read("f/ablage/brief.txt"), "alt");
    EXPECT_EQ(dir.read("f/ablage/brief_.txt"), "b");
    EXPECT_EQ(dir.read("f/brief.txt"), "b");
    dialogs.expectAsk("Datein in den Unterordner \"Ablage\" veschieben?", Answer::No).expectInform("Abbruch");
    fileAway(paths({"brief.txt"}), copies);
}

TEST_F(RenameCommandTest, SplitOntoRemovableDisksAsksForANewOneWithAWayOut) {
    write("brief.txt", pattern(2500));
    std::vector<std::uintmax_t> free{0, 5000, 10};
    size_t asked = 0;
    SplitVolume volume{true, [&] { return free[std::min(asked++, free.size() - 1)]; }};
    dialogs.expectAskNumber("in KByte", 1)
        .expectInform("")
        .expectAsk("Neue leere Diskette einlegen.", Answer::Yes)
        .expectAsk("Neue leere Diskette einlegen.", Answer::Cancel)
        .expectInform("Abbruch");
    splitFile(paths({"brief.txt"}), dialogs, volume);
    EXPECT_EQ(files(), (std::map<std::string, std::string>{{"brief.txt", pattern(2500)},
                                                          {"brief001.txt", pattern(2500).substr(0, 1000)}}));
}

TEST_F(RenameCommandTest, SameTextKeepsTheOldContentUnderUnderscoreNine) {
    write("a.txt", "alt a");
    write("b.txt", "alt b");
    write("b_9.txt", "schon da");
    SettingsStore store;
    test::RecordingSound sound;
    Tones tones{store, sound};
    dialogs
        .expectAsk("Alle ausgewählte Dateien xyz werden umbenannt in xyz_9.\r\nDie Datei xyz erhält den Text der "
                   "aktuellen Datei (gelbes Feld). OK?",
                   Answer::Yes)
        .expectInform("Fehler beim Umbenennen der Datei \"" + folder() + "b.txt\rVielleicht existiert schon eine Datei \"" +
                      folder() + "b_9.txt\".");
    overwriteWithText(paths({"a.txt", "b.txt"}), "neu\r\n", dialogs, tones);
    EXPECT_EQ(files(), (std::map<std::string, std::string>{
                           {"a.txt", "neu\r\n"}, {"a_9.txt", "alt a"}, {"b.txt", "alt b"}, {"b_9.txt", "schon da"}}));
    EXPECT_EQ(sound.played.size(), 1u);
}

}  // namespace
}  // namespace pictra::fileops
