// Full volumes: a file whose copy cannot be kept in the bin is never replaced, and
// a command of many files stops at the first full volume with one message.
// Each case mounts a small tmpfs and fills it; where mounting is not allowed the
// case is skipped with a message.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "ChildProcess.h"
#include "DocumentFilesFixture.h"
#include "explorer/MarkedFiles.h"
#include "html/DoctypeStamping.h"

using namespace pictra;
namespace fs = std::filesystem;

namespace {

constexpr const char* kNoMount = "Kein tmpfs einhängbar (keine Rechte zum Einhängen): Test übersprungen.";
const bin::Date kToday{2026, 12, 10};

struct FullDiskTest : test::DocumentFilesFixture {
    std::vector<std::unique_ptr<test::SmallVolume>> volumes;
    CopySession session;

    // A small volume mounted on `folder` and filled to the last byte; false where
    // mounting is not allowed.
    bool fullVolumeAt(const std::string& folder) {
        fs::create_directories(folder);
        volumes.push_back(std::make_unique<test::SmallVolume>(folder, 64 * 1024));
        if (!volumes.back()->mounted()) return false;
        std::ofstream filler(folder + "/fueller", std::ios::binary);
        const std::string chunk(4096, 'f');
        while (filler.write(chunk.data(), static_cast<std::streamsize>(chunk.size())).flush()) {
        }
        return true;
    }
    std::string programVolume() const { return paths.folder.substr(0, paths.folder.size() - 1); }
    std::string bin() const { return paths.binFolder(); }
    CopyContext context() { return CopyContext{dialogs, session, "", bin(), {}, &tones}; }
    static std::string full(const std::string& volume) { return "Datenträger \"" + volume + "\" ist voll."; }
    std::string notKept(const std::string& path) const {
        return "Keine Sicherungskopie von \"" + path + "\" im Papierkorb \"" + bin() + "\" möglich:\r\n   " +
               full(programVolume()) + "\r\r\"" + path + "\" wurde nicht überschrieben.";
    }
    void pages(int count) {
        fs::create_directories(file("web"));
        for (int i = 0; i < count; ++i) dir.write("web/s" + std::to_string(i) + ".html", "<html>" + std::to_string(i));
    }
};

}  // namespace

TEST_F(FullDiskTest, AFileWhoseCopyCannotBeKeptInTheBinIsNotReplaced) {
    if (!fullVolumeAt(paths.folder)) GTEST_SKIP() << kNoMount;

    // Saving a document.
    dir.write("brief.txt", "alter Text\r\n\r\n");
    docs.type(0, "neuer Text");
    docs.docs[0].fileName = file("brief.txt");
    dialogs.expectInform(notKept(file("brief.txt")));
    EXPECT_FALSE(files.saveDocument(0, file("brief.txt")));
    EXPECT_EQ(dir.read("brief.txt"), "alter Text\r\n\r\n");
    EXPECT_EQ(docs.docs[0].caption, "?*");

    // Pasting over an existing file; a new file is still pasted.
    fs::create_directories(file("quelle"));
    fs::create_directories(file("ziel"));
    dir.write("quelle/a.txt", "neu a");
    dir.write("quelle/b.txt", "neu b");
    dir.write("ziel/a.txt", "alt a");
    explorer::MarkedFiles marked;
    marked.files = {file("quelle/a.txt"), file("quelle/b.txt")};
    CopyContext c = context();
    dialogs.expectConfirmText("Dateien kopieren.", true)
        .expectAsk("Datei \"" + file("ziel/a.txt") +
                       "\" <existiert. Alle Dateien überschreiben? (Nein: keine wird überschrieben!)",
                   Answer::Yes)
        .expectInform("Meldung vom Einfügen:" + notKept(file("ziel/a.txt")) + "\r\n");
    explorer::pasteMarked(marked, file("ziel"), explorer::PasteNames::Unchanged, c, kToday);
    EXPECT_EQ(dir.read("ziel/a.txt"), "alt a");
    EXPECT_EQ(dir.read("ziel/b.txt"), "neu b");

    // Stamping pages: a backup that fails for another reason than space names the bin, not the page.
    volumes.clear();
    fs::create_directories(bin());
    pages(1);
    const std::string page = file("web/s0.html");
    fs::create_directories(bin() + "/" + bin::binName(page, kToday, 7));  // a folder where the backup belongs
    dialogs.expectInform("Keine Sicherungskopie von \"" + page + "\" im Papierkorb \"" + bin() +
                         "\" möglich:\r\n   Is a directory\r\r\"" + page + "\" wurde nicht überschrieben.");
    const auto result = html::stampFolderTree(file("web"), bin(), kToday, dialogs);
    EXPECT_EQ(result.changed, 0);
    EXPECT_EQ(dir.read("web/s0.html"), "<html>0");
}

TEST_F(FullDiskTest, CommandsOfManyFilesStopAtTheFirstFullVolumeWithOneMessage) {
    if (!fullVolumeAt(paths.folder)) GTEST_SKIP() << kNoMount;
    const std::string volume = programVolume();

    // Moving 30 files into a full bin.
    fs::create_directories(file("quelle"));
    std::vector<std::string> paths30;
    for (int i = 0; i < 30; ++i) {
        dir.write("quelle/f" + std::to_string(i) + ".txt", std::string(3000, 'x'));
        paths30.push_back(file("quelle/f" + std::to_string(i) + ".txt"));
    }
    CopyContext c = context();
    dialogs.expectConfirmText("Dateien in den Papierkorb verschieben", true)
        .expectInform("Datenträger \"" + volume + "\" ist voll!\r\"" + paths30[0] + "\" konnte nicht in den Papierkorb \"" +
                      bin() + "\" verschoben werden.\r\rBis dahin erledigt: 0 von 30 Dateien. Die übrigen bleiben unverändert.");
    explorer::moveToBin(paths30, c, kToday);
    for (const auto& p : paths30) EXPECT_TRUE(fs::exists(p)) << p;
    EXPECT_TRUE(dialogs.scriptDone());

    // Stamping 30 pages whose backups find the bin full.
    pages(30);
    dialogs.expectInform("");  // the one message, whichever page came first
    const auto result = html::stampFolderTree(file("web"), bin(), kToday, dialogs);
    EXPECT_TRUE(result.diskFull);
    EXPECT_EQ(result.changed, 0);
    ASSERT_FALSE(dialogs.log().empty());
    const std::string stampMessage = dialogs.log().back().text;
    const std::string stampStart = "Datenträger \"" + volume + "\" ist voll!\rDie Sicherungskopie von \"" + file("web/s");
    EXPECT_EQ(stampMessage.rfind(stampStart, 0), 0u) << stampMessage;
    EXPECT_NE(stampMessage.find("\" im Papierkorb \"" + bin() +
                                "\" konnte nicht angelegt werden.\r\rBis dahin erledigt: 0 Dateien. Die übrigen bleiben "
                                "unverändert."),
              std::string::npos)
        << stampMessage;
    for (int i = 0; i < 30; ++i) EXPECT_EQ(dir.read("web/s" + std::to_string(i) + ".html"), "<html>" + std::to_string(i));

    // The table sheet's "Alles speichern" saves its document: a full volume is named, no write protection blamed.
    volumes.clear();
    const std::string voll = file("voll");
    if (!fullVolumeAt(voll)) GTEST_SKIP() << kNoMount;
    docs.type(0, "Tabelle");
    docs.docs[0].fileName = voll + "/tabelle.txt";
    dialogs.expectInform("Kann \"" + voll + "/tabelle.txt\" nicht speichern!\r" + full(voll));
    EXPECT_FALSE(files.saveDocument(0, voll + "/tabelle.txt"));
    EXPECT_FALSE(fs::exists(voll + "/tabelle.txt"));
}
