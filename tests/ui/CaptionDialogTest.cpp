// "Schliessen" of the caption dialog never loses what was typed: characters that
// Windows-1252 cannot hold are asked about, and a file that cannot be written
// leaves everything else as it was.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "common/FileIo.h"
#include "UiFixture.h"
#include "pictures/CaptionDialog.h"

using namespace pictra;
namespace fs = std::filesystem;

namespace {

std::string bytesOf(const std::string& path) { return fileio::readFile(path).value_or(std::string()); }

}  // namespace

TEST(CaptionDialog, ACharacterWindows1252CannotHoldIsAskedAbout) {
    test::UiFixture f;
    const std::string picture = f.dir.path() + "foto.jpg";
    std::ofstream(f.dir.path() + "foto.jp0", std::ios::binary) << "alt\r\n";
    // The euro sign is a Windows-1252 character; the arrow is not.
    const std::string asked = "Die Zeichen \"\u2192\" gibt es in Windows-1252 nicht.\rTrotzdem mit \"?\" an ihrer Stelle "
                              "speichern?";
    ui::CaptionDialog dialog(nullptr, f.store, f.dialogs, picture);
    dialog.show();
    dialog.findChild<QPlainTextEdit*>("Memo1")->setPlainText(QString::fromUtf8("5 € \u2192 mehr"));
    f.dialogs.expectAsk(asked, Answer::No);
    dialog.saveAndClose();
    EXPECT_TRUE(dialog.isVisible());  // stays open with everything typed
    EXPECT_EQ(dialog.findChild<QPlainTextEdit*>("Memo1")->toPlainText(), QString::fromUtf8("5 € \u2192 mehr"));
    EXPECT_EQ(bytesOf(f.dir.path() + "foto.jp0"), "alt\r\n");
    f.dialogs.expectAsk(asked, Answer::Yes);
    dialog.saveAndClose();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(bytesOf(f.dir.path() + "foto.jp0"), "#0c000000ffffff 5 \x80 ? mehr\r\n");
}

TEST(CaptionDialog, ACaptionThatCannotBeWrittenIsSaidAndNothingElseChanges) {
    test::UiFixture f;
    // A folder under the caption's name: no file can take its place (this also holds for root).
    const std::string picture = f.dir.path() + "foto.jpg";
    fs::create_directory(f.dir.path() + "foto.jp0");
    std::ofstream(f.dir.path() + "foto.jp0/inhalt.txt") << "bleibt";
    const struct {
        const char* memo;
        bool message;
    } cases[] = {{"Ferien", true}, {"", false}};  // all lines deleted: the folder is no caption to delete
    for (const auto& c : cases) {
        ui::CaptionDialog dialog(nullptr, f.store, f.dialogs, picture);
        dialog.findChild<QPlainTextEdit*>("Memo1")->setPlainText(c.memo);
        dialog.show();
        if (c.message) f.dialogs.expectInform("Nicht gespeichert!");
        dialog.saveAndClose();
        EXPECT_EQ(dialog.isVisible(), c.message) << c.memo;  // what was typed stays to be saved again
        EXPECT_TRUE(fs::is_directory(f.dir.path() + "foto.jp0")) << c.memo;
        EXPECT_EQ(bytesOf(f.dir.path() + "foto.jp0/inhalt.txt"), "bleibt") << c.memo;
    }
}

TEST(CaptionDialog, ACaptionFileThatCannotBeReadIsNeitherReplacedNorDeleted) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    test::UiFixture f;
    const std::string picture = f.dir.path() + "foto.jpg";
    const std::string caption = f.dir.path() + "foto.jp0";
    std::ofstream(caption, std::ios::binary) << "#0c000000ffffff fremd\r\n";
    fs::permissions(caption, fs::perms::none);
    for (const char* memo : {"Ferien", ""}) {
        ui::CaptionDialog dialog(nullptr, f.store, f.dialogs, picture);
        dialog.show();
        dialog.findChild<QPlainTextEdit*>("Memo1")->setPlainText(memo);
        f.dialogs.expectInform("Die Datei \"" + caption + "\" kann nicht gelesen werden und bleibt, wie sie ist.\rNicht gespeichert!");
        dialog.saveAndClose();
        EXPECT_TRUE(dialog.isVisible()) << memo;
    }
    fs::permissions(caption, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(bytesOf(caption), "#0c000000ffffff fremd\r\n");
}
