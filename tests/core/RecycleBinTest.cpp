#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "explorer/RecycleBin.h"

using namespace pictra;
namespace fs = std::filesystem;

TEST(RecycleBin, NamesCarryPathDateSizeAndExtension) {
    const bin::Date day{2010, 5, 8};
    EXPECT_EQ(bin::binName("/Daten/brief.txt", day, 1234), "_b_Daten_b_brief_100508_1234.txt");
    EXPECT_EQ(bin::binName("/a.b/c.d/e.tar.gz", day, std::nullopt), "_b_a_p_b_b_c_p_d_b_e_p_tar_100508_00.gz");
    EXPECT_EQ(bin::binName("/ohne/endung", day, 0), "_b_ohne_b_endung_100508_0");
    EXPECT_EQ(bin::binName("C:/x.txt", day, 1), "C_d__b_x_100508_1.txt");
}

TEST(RecycleBin, DeletionDateIsReadBackFromTheName) {
    auto d = bin::deletionDate("_b_Daten_b_brief_100508_1234.txt");
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->year, 2010);
    EXPECT_EQ(d->month, 5);
    EXPECT_EQ(d->day, 8);
    EXPECT_TRUE(bin::deletionDate("_b_x_261210_00").has_value());
    EXPECT_FALSE(bin::deletionDate("foto.jpg").has_value());
    EXPECT_FALSE(bin::deletionDate("a_12345_6.txt").has_value());
    EXPECT_FALSE(bin::deletionDate("a_101310_6.txt").has_value());  // month 13
    EXPECT_EQ(bin::daysBetween({2026, 11, 29}, {2026, 12, 10}), 11);
}

TEST(RecycleBin, PurgeCountsFromTheDayOfDeletion) {
    test::TempDir dir;
    const std::string binFolder = dir.path() + "papierkorb";
    fs::create_directory(binFolder);
    const auto now = std::chrono::system_clock::now();
    const auto monthAgo = fs::file_time_type::clock::now() - std::chrono::hours(24 * 30);
    auto put = [&](const std::string& name, fs::file_time_type written) {
        dir.write("papierkorb/" + name, "x");
        fs::last_write_time(binFolder + "/" + name, written);
    };
    const bin::Date today{2026, 12, 10};
    put("_b_home_b_heute_261210_1.txt", monthAgo);      // deleted today, changed a month ago: stays
    put("_b_home_b_alt_261129_1.txt", fs::file_time_type::clock::now());  // deleted 11 days ago: goes
    put("_b_home_b_grenze_261130_1.txt", monthAgo);     // exactly 10 days: stays
    put("ohne-datum.txt", monthAgo);                    // no date: its last change counts
    put("frisch-ohne-datum.txt", fs::file_time_type::clock::now());
    put(".versteckt_261001_1.txt", monthAgo);           // skipped
    EXPECT_EQ(bin::purge(binFolder, today, now), 2);
    EXPECT_TRUE(fs::exists(binFolder + "/_b_home_b_heute_261210_1.txt"));
    EXPECT_FALSE(fs::exists(binFolder + "/_b_home_b_alt_261129_1.txt"));
    EXPECT_TRUE(fs::exists(binFolder + "/_b_home_b_grenze_261130_1.txt"));
    EXPECT_FALSE(fs::exists(binFolder + "/ohne-datum.txt"));
    EXPECT_TRUE(fs::exists(binFolder + "/frisch-ohne-datum.txt"));
    EXPECT_TRUE(fs::exists(binFolder + "/.versteckt_261001_1.txt"));
}

TEST(RecycleBin, PurgeCreatesAMissingBin) {
    test::TempDir dir;
    EXPECT_EQ(bin::purge(dir.path() + "papierkorb", {2026, 12, 10}, std::chrono::system_clock::now()), 0);
    EXPECT_TRUE(fs::is_directory(dir.path() + "papierkorb"));
}
