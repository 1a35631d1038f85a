#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "TempDir.h"
#include "common/FileIo.h"
#include "common/Text.h"
#include "common/TextFiles.h"

using namespace pictra;

TEST(FileIo, AtomicWriteReplacesContentAndKeepsPermissions) {
    test::TempDir dir;
    dir.write("a.txt", "alt");
    ::chmod(dir.file("a.txt").c_str(), 0640);
    ASSERT_TRUE(fileio::writeFileAtomic(dir.file("a.txt"), "neu"));
    EXPECT_EQ(dir.read("a.txt"), "neu");
    struct stat st {};
    ::stat(dir.file("a.txt").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(FileIo, FailedWriteLeavesTheOldStateAlone) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("ordner"));
    EXPECT_FALSE(fileio::writeFileAtomic(dir.file("ordner"), "x"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("ordner")));
    EXPECT_FALSE(fileio::writeFileAtomic(dir.file("fehlt/a.txt"), "x"));
    EXPECT_EQ(fileio::readFile(dir.file("fehlt/a.txt")), std::nullopt);
    EXPECT_EQ(fileio::readFile(dir.file("ordner")), std::nullopt);
}

TEST(FileIo, AtomicWriteThroughALinkKeepsTheLink) {
    test::TempDir dir;
    dir.write("ziel.ini", "alt");
    std::filesystem::create_symlink(dir.file("ziel.ini"), dir.file("link.ini"));
    ASSERT_TRUE(fileio::writeFileAtomic(dir.file("link.ini"), "neu"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.ini")));
    EXPECT_EQ(dir.read("ziel.ini"), "neu");
}

TEST(TextFiles, ReadsUtf8OrWindows1252AndWritesCrLf) {
    test::TempDir dir;
    dir.write("u.txt", "Grüße");
    dir.write("w.txt", "Gr\xfc\xdf""e");
    EXPECT_EQ(textfiles::readText(dir.file("u.txt")), "Grüße");
    EXPECT_EQ(textfiles::readText(dir.file("w.txt")), "Grüße");
    ASSERT_TRUE(textfiles::writeCp1252(dir.file("o.txt"), "a\nb\rc\r\nd"));
    EXPECT_EQ(dir.read("o.txt"), "a\r\nb\r\nc\r\nd");
}

TEST(Text, SplitLinesHandlesEveryLineEnd) {
    using V = std::vector<std::string>;
    EXPECT_EQ(text::splitLines("a\r\nb\nc\rd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(text::splitLines("a\r\n"), (V{"a"}));
    EXPECT_EQ(text::splitLines("a\r\n\r\nb"), (V{"a", "", "b"}));
    EXPECT_EQ(text::splitLines(""), V{});
    EXPECT_EQ(text::parseInt(" -12 "), -12);
    EXPECT_EQ(text::parseInt("12a"), std::nullopt);
    EXPECT_EQ(text::toLowerCp1252("\xc4\xd6\xdc\x8a"), "\xe4\xf6\xfc\x9a");
}
