#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "shell/QtDialogs.h"

using namespace pictra;

namespace {

// Runs `look` on the modal window once it is up, then closes it.
template <typename Window>
void whenShown(std::function<void(Window*)> look) {
    QTimer::singleShot(50, [look] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        look(window);
    });
}

struct QtDialogsTest : ::testing::Test {
    SettingsStore store;
    test::RecordingSound sound;
    Tones tones{store, sound};
    ui::QtDialogs dialogs{tones};
};

}  // namespace

TEST_F(QtDialogsTest, FileDialogsOfferTheProgramsFilters) {
    test::TempDir dir;
    QStringList filters;
    whenShown<QFileDialog>([&filters](QFileDialog* d) {
        filters = d->nameFilters();
        d->reject();
    });
    EXPECT_EQ(dialogs.chooseOpenFile("Öffnen", dir.path()), std::nullopt);
    EXPECT_EQ(filters, (QStringList{"Alle Dateien (*.*)", "HTML-Dateien (*.html)", "HTML-Dateien (*.htm)",
                                    "Textdateien (*.txt)"}));
    bool confirmsOverwrite = true;
    whenShown<QFileDialog>([&confirmsOverwrite](QFileDialog* d) {
        confirmsOverwrite = !d->testOption(QFileDialog::DontConfirmOverwrite);
        d->reject();
    });
    EXPECT_EQ(dialogs.chooseSaveFile("Speichern unter", dir.file("neu.txt")), std::nullopt);
    EXPECT_FALSE(confirmsOverwrite);
}

TEST_F(QtDialogsTest, QuestionButtonsAnswerToTheirLetters) {
    QStringList texts;
    whenShown<QMessageBox>([&texts](QMessageBox* box) {
        for (auto* b : box->buttons()) texts << b->text();
        for (auto* b : box->buttons()) {
            if (b->text() == "&Nein") b->click();
        }
    });
    EXPECT_EQ(dialogs.ask("Wirklich?"), Answer::No);
    EXPECT_TRUE(texts.contains("&Ja"));
    EXPECT_TRUE(texts.contains("&Nein"));
}

TEST_F(QtDialogsTest, MessagesQuotingHtmlShowItAsWritten) {
    Qt::TextFormat informFormat = Qt::AutoText;
    whenShown<QMessageBox>([&informFormat](QMessageBox* box) {
        informFormat = box->textFormat();
        box->buttons().front()->click();
    });
    dialogs.inform("Fehler: \"<img\" fehlt.");
    EXPECT_EQ(informFormat, Qt::PlainText);
    Qt::TextFormat askFormat = Qt::AutoText;
    whenShown<QMessageBox>([&askFormat](QMessageBox* box) {
        askFormat = box->textFormat();
        for (auto* b : box->buttons()) {
            if (b->text() == "&Nein") b->click();
        }
    });
    EXPECT_EQ(dialogs.ask("Mit \"<br><br clear=\"all\"> und \" align=\"left\"?"), Answer::No);
    EXPECT_EQ(askFormat, Qt::PlainText);
}
