#include <gtest/gtest.h>

#include <filesystem>

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "explorer/folders/PictureRenaming.h"

using namespace pictra;
using namespace pictra::folders;
namespace fs = std::filesystem;

namespace {

const std::string kJpeg("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10);
const std::string kPng("\x89PNG\r\n\x1A\n", 8);

struct PictureRenamingTest : ::testing::Test {
    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    std::string folder = dir.path() + "bilder";
    std::string journal = dir.path() + "prog";
    void SetUp() override {
        fs::create_directories(folder);
        fs::create_directories(journal);
    }
    void write(const std::string& name, const std::string& bytes) { dir.write("bilder/" + name, bytes); }
    std::string read(const std::string& name) { return dir.read("bilder/" + name); }
};

}  // namespace

TEST(PictureNumbering, DigitsGrowWithTheCount) {
    const std::pair<std::size_t, int> cases[] = {{1, 2},  {8, 2},   {9, 3},   {98, 3},   {99, 4},
                                                 {100, 4}, {998, 4}, {999, 5}, {9998, 5}, {9999, 7}};
    for (const auto& [count, digits] : cases) EXPECT_EQ(numberDigits(count), digits) << count;
    const std::pair<std::size_t, std::vector<std::string>> plans[] = {
        {8, {"bild10.jpg", "bild80.jpg"}},
        {9, {"bild010.jpg", "bild090.jpg"}},
        {99, {"bild0010.jpg", "bild0990.jpg"}},
        {100, {"bild0010.jpg", "bild1000.jpg"}},
    };
    for (const auto& [count, ends] : plans) {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < count; ++i) names.push_back("x" + std::to_string(i) + ".jpg");
        const auto plan = numberingPlan(names, "bild");
        EXPECT_EQ(plan.front().to, ends[0]) << count;
        EXPECT_EQ(plan.back().to, ends[1]) << count;
    }
}

TEST_F(PictureRenamingTest, NumberingSelectedFilesNeverReplacesAnUnselectedOne) {
    write("bild10.jpg", "fremd");
    write("x.jpg", "x");
    write("y.png", "y");
    dialogs.expectAskText("Name vor den Ziffern?", std::string("bild"));
    dialogs.expectInform("Datei \"x.jpg\" konnte nicht umbenannt werden");
    numberPictures(folder, {"x.jpg", "y.png"}, journal, dialogs);
    EXPECT_EQ(read("bild10.jpg"), "fremd");
    EXPECT_EQ(read("x.jpg"), "x");
    EXPECT_EQ(read("bild20.png"), "y");
    EXPECT_EQ(pictureNames(folder), (std::vector<std::string>{"bild10.jpg", "bild20.png", "x.jpg"}));

    dialogs.expectAskText("Name vor den Ziffern?", std::nullopt);
    numberPictures(folder, {"x.jpg"}, journal, dialogs);
    EXPECT_EQ(read("x.jpg"), "x");
}

TEST_F(PictureRenamingTest, NumberingReordersNamesThatAreExchanged) {
    write("a10.jpg", "erstes");
    write("a20.jpg", "zweites");
    dialogs.expectAskText("Name vor den Ziffern?", std::string("a"));
    numberPictures(folder, {"a20.jpg", "a10.jpg"}, journal, dialogs);
    EXPECT_EQ(read("a10.jpg"), "zweites");
    EXPECT_EQ(read("a20.jpg"), "erstes");
}

TEST_F(PictureRenamingTest, PlannedNamesAreCheckedThenCarriedOut) {
    write("a.jpg", "a");
    write("b.jpg", "b");
    std::vector<PlannedName> entries{{"a.jpg", "a.jpg"}, {"b.jpg", "b.jpg"}};
    const struct {
        std::size_t index;
        std::string typed;
        std::string message;
    } refused[] = {
        {0, "neu.jpg", "Bitte keinen Punkt im Dateinamen. Der Extender \".jpg\" wird automatisch zangehängt."},
        {1, "a", "Name ist schon vorhanden oder neu vergeben"},
    };
    for (const auto& c : refused) {
        dialogs.expectInform(c.message);
        EXPECT_FALSE(planName(entries, c.index, c.typed, dialogs));
    }
    ASSERT_TRUE(planName(entries, 0, "sonne", dialogs));
    EXPECT_EQ(plannedLine(entries[0]), "sonne.jpg <-a.jpg");
    EXPECT_EQ(plannedLine(entries[1]), "b.jpg");
    // "a" is free once a.jpg is planned away; "sonne" is taken by the plan.
    ASSERT_TRUE(planName(entries, 1, "a", dialogs));
    dialogs.expectInform("Name ist schon vorhanden oder neu vergeben");
    EXPECT_FALSE(planName(entries, 1, "sonne", dialogs));
    applyPlannedNames(folder, entries, journal, dialogs);
    EXPECT_EQ(read("sonne.jpg"), "a");
    EXPECT_EQ(read("a.jpg"), "b");
}

TEST_F(PictureRenamingTest, FineTuneLinesDuplicatesAndAnExchange) {
    EXPECT_EQ(fineTuneLines({"a.jpg", "b.png"}, "urlaub"), (std::vector<std::string>{"a.jpg->urlaub01", "b.png->urlaub02"}));
    EXPECT_EQ(newNameOfLine("a.jpg->urlaub01"), "urlaub01.jpg");
    EXPECT_EQ(newNameOfLine("c.jpg gelöscht"), "c.jpg gelöscht");
    const std::vector<std::string> twice{"a.jpg->x", "b.jpg->x", "x.jpg"};
    const std::string expected =
        "Wichtig: Folgende Dateien haben gleiche Namen und müssen abgeändert werden!\r"
        "\rNr. 1 = Nr. 2 : x.jpg\rNr. 1 = Nr. 3 : x.jpg\rNr. 2 = Nr. 3 : x.jpg";
    EXPECT_EQ(duplicateReport(twice), expected);
    write("a.jpg", "a");
    write("b.jpg", "b");
    write("x.jpg", "x");
    dialogs.expectInform(expected);
    EXPECT_FALSE(applyLines(folder, twice, journal, dialogs));
    EXPECT_EQ(read("a.jpg"), "a");

    EXPECT_TRUE(applyLines(folder, {"a.jpg->b", "b.jpg->a", "x.jpg"}, journal, dialogs));
    EXPECT_EQ(read("a.jpg"), "b");
    EXPECT_EQ(read("b.jpg"), "a");
}

TEST_F(PictureRenamingTest, APlannedNameTakenOutsideThePlanIsReported) {
    write("a.jpg", "a");
    write("frei.jpg", "bleibt");
    dialogs.expectInform("\"a.jpg\" konnte nicht umbenannt werden.");
    EXPECT_TRUE(applyLines(folder, {"a.jpg->frei"}, journal, dialogs));
    EXPECT_EQ(read("frei.jpg"), "bleibt");
    EXPECT_EQ(read("a.jpg"), "a");
}

TEST_F(PictureRenamingTest, OnlyJpegContentIsNamedJpg) {
    write("echt.png", kJpeg);
    write("bild.png", kPng);
    write("gross.JPEG", kJpeg);
    write("schon.jpg", kJpeg);
    dialogs.expectInform("Fertig\r\nbild.png konnte  nicht umbenannt werden\r\n");
    extensionsToJpg(folder, pictureNames(folder), journal, dialogs);
    EXPECT_EQ(pictureNames(folder), (std::vector<std::string>{"bild.png", "echt.jpg", "gross.jpg", "schon.jpg"}));
}
