#include <gtest/gtest.h>

#include <filesystem>

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "common/FileIo.h"
#include "shell/EmergencyCopy.h"

using namespace pictra;
using namespace pictra::emergency;

namespace {

struct EmergencyCopyTest : ::testing::Test {
    test::TempDir dir;
    ProgramPaths paths{dir.path(), "pictra", ""};
    test::ScriptedDialogs dialogs;
    const std::vector<UnsavedText> texts{
        {"?", "Noch ohne Namen\r\nmit zwei Zeilen"},
        {"/home/lehrer/brief.html", std::string("<p>Gr\xFC\xDF" "e</p>\r\n") + '\0' + "\r\n1 2\n"},
        {"/home/lehrer/leer.txt", ""},
    };
};

bool sameTexts(const std::vector<UnsavedText>& a, const std::vector<UnsavedText>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].fileName != b[i].fileName || a[i].text != b[i].text) return false;
    }
    return true;
}

}  // namespace

TEST_F(EmergencyCopyTest, EveryByteComesBackAndNoTextsRemoveTheCopy) {
    const std::string path = copyFileName(paths, 4711);
    EXPECT_EQ(path, dir.path() + "pictra_notkopie4711.txt");
    ASSERT_TRUE(writeCopy(path, texts));
    EXPECT_TRUE(sameTexts(readCopy(path), texts));
    // A copy cut short keeps the documents that are complete.
    const std::string bytes = *fileio::readFile(path);
    dir.write("cut.txt", bytes.substr(0, bytes.size() - 5));
    EXPECT_TRUE(sameTexts(readCopy(dir.file("cut.txt")), {texts[0], texts[1]}));
    ASSERT_TRUE(writeCopy(path, {}));
    EXPECT_FALSE(fileio::fileExists(path));
}

TEST_F(EmergencyCopyTest, SecuringAsksOnlyWhenTheCopyCannotBeWritten) {
    EXPECT_TRUE(secureUnsavedTexts(copyFileName(paths, 1), texts, dialogs));
    EXPECT_TRUE(dialogs.log().empty());
    const std::string nowhere = dir.path() + "fehlt/pictra_notkopie1.txt";
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        dialogs.expectAsk(kAskGoOnUnsecured, answer);
        EXPECT_EQ(secureUnsavedTexts(nowhere, texts, dialogs), answer == Answer::Yes);
    }
}

TEST_F(EmergencyCopyTest, TheNextStartOffersTheLeftoversOnce) {
    const std::string own = copyFileName(paths, 200);
    ASSERT_TRUE(writeCopy(copyFileName(paths, 100), {texts[0], texts[1]}));
    ASSERT_TRUE(writeCopy(copyFileName(paths, 150), {texts[2]}));
    dir.write("pictra_notkopieX.txt", "kein Rest");
    dir.write("pictra_notkopie7.txt.tmp", "kein Rest");
    EXPECT_EQ(leftoverCopies(paths, own),
              (std::vector<std::string>{copyFileName(paths, 100), copyFileName(paths, 150)}));

    const std::string question =
        "Pictra wurde beim letzten Mal nicht ordnungsgemäß beendet.\rVon diesen ungesicherten Dateien gibt es eine "
        "Notkopie:\r   (noch ohne Namen)\r   /home/lehrer/brief.html\r   /home/lehrer/leer.txt\r\rSollen sie "
        "wiederhergestellt werden?\r(Nein: Die Notkopie wird gelöscht.)";
    EXPECT_EQ(restoreQuestion(texts), question);
    EXPECT_EQ(restoreQuestion({texts[0]}),
              "Pictra wurde beim letzten Mal nicht ordnungsgemäß beendet.\rVon dieser ungesicherten Datei gibt es "
              "eine Notkopie:\r   (noch ohne Namen)\r\rSoll sie wiederhergestellt werden?\r(Nein: Die Notkopie wird "
              "gelöscht.)");
    dialogs.expectAsk(question, Answer::Yes);
    EXPECT_TRUE(sameTexts(offerRestore(paths, own, dialogs), texts));
    // Kept in this run's copy until saved; the leftovers are gone, so nothing is asked again.
    EXPECT_TRUE(sameTexts(readCopy(own), texts));
    EXPECT_TRUE(leftoverCopies(paths, own).empty());
    EXPECT_TRUE(offerRestore(paths, own, dialogs).empty());

    // No deletes the leftover; this run's own copy stays.
    ASSERT_TRUE(writeCopy(copyFileName(paths, 300), {texts[0]}));
    dialogs.expectAsk(restoreQuestion({texts[0]}), Answer::No);
    EXPECT_TRUE(offerRestore(paths, own, dialogs).empty());
    EXPECT_FALSE(fileio::fileExists(copyFileName(paths, 300)));
    EXPECT_TRUE(sameTexts(readCopy(own), texts));
}
