#include <gtest/gtest.h>

#include "common/Text.h"
#include "html/exports/Exports.h"

using namespace pictra;
using namespace pictra::html::exports;

namespace {

// The rows of the one table of a page, each as its cells' texts.
std::vector<std::string> rowsOf(const std::string& page) {
    std::vector<std::string> rows;
    for (const std::string& line : text::splitLines(page)) {
        if (line.find("<tr><th bgcolor=silver>") != std::string::npos) rows.push_back(line);
    }
    return rows;
}

}  // namespace

TEST(Timetable, FieldsOfALine) {
    const struct {
        const char* line;
        std::vector<std::string> fields;
    } cases[] = {
        {"12,\"7a\", \"M\xFC\" ,\"M\",\"R101\",1,3", {"12", "7a", "M\xFC", "M", "R101", "1", "3"}},
        {"1,\"7a, 7b\",Ha", {"1", "7a, 7b", "Ha", "Ha", "Ha", "Ha", "Ha"}},
        {"ohne Komma", {"ohne Komma", "ohne Komma", "ohne Komma", "ohne Komma", "ohne Komma", "ohne Komma",
                        "ohne Komma"}},
    };
    for (const auto& c : cases) EXPECT_EQ(timetableFields(c.line), c.fields) << c.line;
    EXPECT_FALSE(timetableFields("1,\"offen,2"));
}

TEST(Timetable, TeacherPages) {
    const std::string exportText = "1,\"7a\",\"Mue\",\"M\",\"R1\",1,1\r\n"
                                   "2,\"7b\",\"Mue\",\"D\",\"R2\",1,1\r\n"
                                   "3,\"7a\",\"Mue\",\"E\",\"R1\",9,2\r\n"    // day 9: collected, not shown
                                   "4,\"7a\",\"Mue\",\"E\",\"R1\",2,25\r\n"   // period 25: not shown
                                   "5,\"7a\",\"Mue\",\"E\",\"R1\",abc,3\r\n"  // not a number: day 0
                                   "6,\"8c\",\"Ab\",\"Sp\",\"Halle\",6,4\r\n"
                                   "7,\"8c\",\"\",\"Sp\",\"Halle\",1,1\r\n"
                                   "\r\n";
    const Exported e = timetablePage(exportText, TimetableKey::Teachers);
    ASSERT_TRUE(e.text) << e.message;
    const std::string& page = *e.text;
    EXPECT_TRUE(text::startsWith(page, "<html>\r\n<title>Stundenplan Lehrer</title>\r\n<body>\r\n\r\n"));
    EXPECT_TRUE(text::endsWith(page, "     <br>\r\n\r\n</body>\r\n</html>"));
    const size_t ab = page.find("<th colspan=7>Ab</th>");  // Saturday: six days
    const size_t mue = page.find("<th colspan=6>Mue</th>");
    const size_t none = page.find("<th colspan=6></th>");
    ASSERT_NE(ab, std::string::npos);
    ASSERT_NE(mue, std::string::npos);
    ASSERT_NE(none, std::string::npos);
    EXPECT_LT(ab, mue);
    EXPECT_LT(mue, none);  // the empty key last
    EXPECT_NE(page.find("<th>Freitag</th><th>Samstag</th></tr>", ab), std::string::npos);
    EXPECT_EQ(page.find("Sonntag"), std::string::npos);
    const std::string mueTable = page.substr(mue, none - mue);
    const auto rows = rowsOf(mueTable);
    ASSERT_EQ(rows.size(), 6u);  // six periods at least
    EXPECT_EQ(rows[0], "  <tr><th bgcolor=silver>1</th><td>7a M R1 <br> 7b D R2</td><td>&nbsp;</td><td>&nbsp;</td>"
                       "<td>&nbsp;</td><td>&nbsp;</td></tr>");
    EXPECT_EQ(rows[1].find("7a E"), std::string::npos);
    EXPECT_EQ(mueTable.find("7a E"), std::string::npos);

    const Exported rooms = timetablePage(exportText, TimetableKey::Rooms);
    EXPECT_NE(rooms.text->find("<title>Stundenplan R\xE4ume</title>"), std::string::npos);
    EXPECT_NE(rooms.text->find("<td>8c Sp Ab</td>"), std::string::npos);
    const Exported classes = timetablePage(exportText, TimetableKey::Classes);
    EXPECT_NE(classes.text->find("<td>M Mue R1</td>"), std::string::npos);

    EXPECT_EQ(timetablePage("1,\"7a\",\"offen,1,1", TimetableKey::Teachers).message,
              "In Zeile 1 fehlt ein schließendes Anführungszeichen (\"). Es wurde nichts erstellt.");
    EXPECT_EQ(timetablePage("\r\n  \r\n", TimetableKey::Teachers).message, "Der Text enthält keine Stunden.");
}

TEST(Delphi, LinesBecomeLiterals) {
    EXPECT_EQ(delphiSource("ab  \r\nit's"), "'ab'#13#10+\r\n'it''s';\r\n");
    EXPECT_EQ(delphiSource("a\tb"), "'a'#9'b';\r\n");
    EXPECT_EQ(delphiSource("x\r\n\r\ny"), "'x'#13#10+\r\n''#13#10+\r\n'y';\r\n");
    const std::string longLine(300, 'z');
    EXPECT_EQ(delphiSource(longLine), "'" + std::string(255, 'z') + "'+'" + std::string(45, 'z') + "';\r\n");
    // A doubled quote is never cut in two.
    const std::string quoted = std::string(254, 'z') + "'";
    EXPECT_EQ(delphiSource(quoted), "'" + std::string(254, 'z') + "'+'''';\r\n");
}

TEST(PhoneBookAndAddresses, Examples) {
    EXPECT_EQ(phoneBookLines({"Meier 12345", "Huber 0815   ", "ab", ""}),
              (std::vector<std::string>{"345 Meier 12345", "815 Huber 0815", "ab ab", ""}));
    std::string many;
    for (int i = 0; i < 40; ++i) many += "wort ";
    EXPECT_EQ(mailAddresses({"  Bitte an anna@example.de schreiben", many + "spaet@example.de", "keine"}),
              "anna@example.de;\r\nspaet@example.de;");
}

TEST(ClipboardTable, TabSeparatedRangeBecomesAStarTable) {
    const Exported e = starTableFromTabs("Name\tNote\r\nAnna\t2\r\n\"Bernd, B.\"\t3\r\n");
    ASSERT_TRUE(e.text);
    EXPECT_EQ(*e.text, "*         *\r\nName      Note\r\nAnna      2\r\nBernd, B. 3\r\n");
    EXPECT_FALSE(starTableFromTabs("\r\n").text);
}
