#include <gtest/gtest.h>

#include <QFile>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "UiFixture.h"
#include "common/MenuCommands.h"
#include "shell/PlainEditor.h"
#include "shell/TextWindow.h"

using namespace pictra;
using ui::TextWindow;

namespace {

struct TextWindowTest : ::testing::Test {
    test::UiFixture f;
    TextWindow window{f.dialogs, f.tones};
    QFont font{"Courier New", 12};

    QString run(const char* action, const QString& text, std::function<void()> edit = {}) {
        test::triggerLater(window, action, std::move(edit));
        return window.editText("Titel", text, font);
    }
};

}  // namespace

TEST_F(TextWindowTest, MenuChoicesDecideWhatComesBack) {
    auto edit = [this] { window.editor()->setPlainText("geändert"); };
    EXPECT_EQ(run("Abbrechen1", "alt", edit), QString::fromUtf8(kCancelMarker));
    EXPECT_EQ(run("Zurueck1", "alt", edit), "alt");
    EXPECT_EQ(run("DiesesFensterschliessen1", "alt", edit), "geändert");
    EXPECT_EQ(window.objectName(), "Form8");
    EXPECT_EQ(window.windowTitle(), "Titel");
}

TEST_F(TextWindowTest, MenuHasEveryEntry) {
    QStringList texts;
    for (QAction* a : window.findChildren<QAction*>()) texts << ui::shownMenuText(a->text());
    for (const char* t : {"Zurück", "öffnen", "speichern", "Abbrechen", "Dieses Fenster schließen", "Suchen",
                          "Weitersuchen", "Alphabetisch sortieren", "Drucken"}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
    }
}

TEST_F(TextWindowTest, SortsLinesInWindows1252ByteOrder) {
    auto sort = [this] { window.sortLines(); };
    // "Z" < "a" < "€" (0x80) < "ä" (0xE4), unlike Unicode order where € comes last.
    EXPECT_EQ(run("DiesesFensterschliessen1", "ä\na\n€\nZ", sort), "Z\na\n€\nä");
}

TEST_F(TextWindowTest, SearchFindsCaseInsensitivelyBehindTheSelectionAndReportsTheEnd) {
    f.dialogs.expectAskText("Geben Sie das Suchwort ein! (Weitersuchen: F3)", "wort");
    window.showText("Suche", "Ein WORT und noch ein wort.", font, false);
    window.search();
    EXPECT_EQ(window.editor()->textCursor().selectionStart(), 4);
    window.searchNext();
    EXPECT_EQ(window.editor()->textCursor().selectionStart(), 22);
    window.searchNext();
    EXPECT_EQ(window.editor()->textCursor().selectionStart(), 22);
    EXPECT_EQ(f.sound.played.size(), 1u);  // the error tone for "Nichts gefunden"
    window.close();
}

TEST_F(TextWindowTest, SaveAndOpenUseWindows1252AndAskBeforeLosingCharacters) {
    const std::string path = f.dir.file("t.txt");
    window.showText("Datei", "Grüße →", font, false);
    f.dialogs.expectSaveFile(path)
        .expectAsk("Diese Zeichen können in einer Textdatei (Windows-1252) nicht gespeichert werden: →\rSie werden "
                   "als Zahlenverweis (&#...;) gespeichert. Trotzdem speichern?",
                   Answer::No);
    window.saveFile();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
    window.editor()->setPlainText("Grüße\nZeile 2");
    f.dialogs.expectSaveFile(path);
    window.saveFile();
    EXPECT_EQ(f.dir.read("t.txt"), "Gr\xfc\xdf""e\r\nZeile 2");
    window.editor()->clear();
    f.dialogs.expectOpenFile(path);
    window.openFile();
    EXPECT_EQ(window.editor()->toPlainText(), "Grüße\nZeile 2");
    window.close();
}

TEST_F(TextWindowTest, WidthGrowsWithTheLongestLine) {
    window.showText("kurz", "abc", font, false);
    const int narrow = window.width();
    window.showText("lang", QString(120, 'x'), font, false);
    EXPECT_GT(window.width(), narrow);
    window.close();
}

TEST_F(TextWindowTest, EscClosesTheWindowAsCancel) {
    QTimer::singleShot(0, &window, [this] { QTest::keyClick(window.editor(), Qt::Key_Escape); });
    EXPECT_EQ(window.editText("Titel", "alt", font), QString::fromUtf8(kCancelMarker));
    EXPECT_FALSE(window.isVisible());
}
