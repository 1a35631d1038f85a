#include <gtest/gtest.h>

#include <QTabBar>
#include <QTextBlock>
#include <QMenu>
#include <QTextLayout>
#include <QTest>
#include <filesystem>

#include "ChildProcess.h"
#include "UiFixture.h"
#include "shell/DocumentArea.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "shell/StatusBars.h"

using namespace pictra;

namespace {

struct FileMenuTest : test::MainWindowTestBase {
};

}  // namespace

TEST_F(FileMenuTest, OpenEditSaveAndCloseWithoutLosingAnything) {
    f.dir.write("brief.txt", "Liebe Eltern,\r\nam Freitag f\xE4llt der Unterricht aus.\r\n   \r\n");
    f.dialogs.expectOpenFile(f.dir.file("brief.txt"));
    trigger("OeffnenKlassisch1");
    EXPECT_EQ(editor()->toPlainText(), "Liebe Eltern,\nam Freitag fällt der Unterricht aus.");
    EXPECT_EQ(editor()->textCursor().position(), 50);  // 3 blanks: 350, or the end
    EXPECT_EQ(window->documents().tabText(0), "brief.txt");
    EXPECT_EQ(window->windowTitle().toStdString(), f.dir.file("brief.txt") + "[2]  ");

    QTest::keyClicks(editor(), " Gruss");
    EXPECT_EQ(window->documents().tabText(0), "brief.txt*");
    trigger("Speichern1");
    EXPECT_EQ(window->documents().tabText(0), "brief.txt");
    EXPECT_EQ(f.dir.read("brief.txt"), "Liebe Eltern,\r\nam Freitag f\xE4llt der Unterricht aus. Gruss\r\n\r\n");

    QTest::keyClicks(editor(), "!");
    f.dialogs.expectAsk("Datei \"" + f.dir.file("brief.txt") + "\" unter altem Namen  sichern?", Answer::Cancel);
    trigger("Schliessen1");
    EXPECT_EQ(window->documents().count(), 1);
    f.dialogs.expectAsk("Datei \"" + f.dir.file("brief.txt") + "\" unter altem Namen  sichern?", Answer::No);
    trigger("Schliessen1");
    EXPECT_EQ(window->currentFileName(), "?");
}

TEST_F(FileMenuTest, ClosingTheProgramAsksForUnsavedWork) {
    QTest::keyClicks(editor(), "ungesichert");
    window->show();
    f.dialogs.expectAsk("Datei \"?\" sichern?", Answer::Cancel);
    EXPECT_FALSE(window->close());
    f.dialogs.expectAsk("Datei \"?\" sichern?", Answer::Yes).expectSaveFile(f.dir.file("neu.txt"));
    EXPECT_TRUE(window->close());
    EXPECT_EQ(f.dir.read("neu.txt"), "ungesichert\r\n\r\n");
}

TEST_F(FileMenuTest, RichTextKeepsItsFormattingThroughAnRtfFile) {
    editor()->setPlainText("normal rot\nzweite Zeile");
    QTextCursor cursor(editor()->document());
    cursor.setPosition(7);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    QTextCharFormat hit;
    hit.setForeground(Qt::red);
    hit.setFontWeight(QFont::Bold);
    hit.setFontPointSize(16);
    cursor.mergeCharFormat(hit);
    const std::string path = f.dir.file("formatiert.rtf");
    f.dialogs.expectSaveFile(path);
    trigger("RTFSpeichern1");
    EXPECT_EQ(window->documents().tabText(0), "formatiert.rtf");

    f.dialogs.expectOpenFile(path);
    trigger("RTFEinlesen1");
    ASSERT_EQ(window->documents().count(), 2);
    EXPECT_EQ(editor()->toPlainText(), "normal rot\nzweite Zeile");
    QTextCursor probe(editor()->document());
    probe.setPosition(8);
    EXPECT_EQ(probe.charFormat().foreground().color(), QColor(Qt::red));
    EXPECT_EQ(probe.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(probe.charFormat().fontPointSize(), 16);
    probe.setPosition(3);
    EXPECT_NE(probe.charFormat().fontWeight(), QFont::Bold);
}

TEST_F(FileMenuTest, CentredParagraphsSurviveAsWell) {
    editor()->setPlainText("Titel\nText");
    window->alignSelection(Qt::AlignHCenter);
    const std::string path = f.dir.file("titel.rtf");
    f.dialogs.expectSaveFile(path);
    trigger("RTFSpeichern1");
    window->newDocument();
    f.dialogs.expectOpenFile(path);
    trigger("RTFEinlesen1");
    EXPECT_EQ(editor()->document()->firstBlock().blockFormat().alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_FALSE(editor()->document()->lastBlock().blockFormat().alignment() & Qt::AlignHCenter);
}

namespace {
class FakePrinter : public RawPrinter {
public:
    explicit FakePrinter(std::vector<std::string>& jobs) : m_jobs(jobs) {}
    std::optional<std::string> defaultPrinter() override { return "Laser"; }
    bool printRaw(const std::string&, const std::string&, const std::string& bytes) override {
        m_jobs.push_back(bytes);
        return true;
    }

private:
    std::vector<std::string>& m_jobs;
};
}  // namespace

TEST_F(FileMenuTest, DirectPrintingUsesTheDefaultMarginsUntilTheSettingsWereOpened) {
    std::vector<std::string> jobs;
    window->setRawPrinter(std::make_unique<FakePrinter>(jobs));
    editor()->setPlainText("Grüße");
    f.dialogs.expectAsk("Auf Nadeldrucker? (Nein: Andere Drucker)", Answer::No).expectAsk("Seite auswerfen", Answer::No);
    trigger("DirektDrucken1");
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[1], "\r\n\r\n    Gr\x81\xE1" "e\r\n");
}

TEST_F(FileMenuTest, PenwickMissingIsReported) {
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(f.dir.path()));
    editor()->setPlainText("Text");
    f.dialogs.expectInform("Hat nicht geklappt");
    trigger("UmschaltenNachPenwick1");
    qputenv("PATH", path);
    EXPECT_EQ(f.dir.read("pictra.penwick"), "Text");
}

TEST_F(FileMenuTest, TheSecondDriveCopyGoesToAnotherVolumeUnderTheFullPath) {
    std::filesystem::create_directories(f.dir.file("stick"));
    test::SmallVolume stick(f.dir.file("stick"), 1 << 20);
    if (!stick.mounted()) GTEST_SKIP() << "Kein tmpfs einhängbar (keine Rechte zum Einhängen): Test übersprungen.";
    f.store.writeValue("Einstellungen", "SicherungAuZweitesTraeger", "Ja");
    f.store.writeValue("Einstellungen", "OrdnerfuerSicherungZweiterTraeger", f.dir.file("stick/"));
    const std::string path = f.dir.file("brief.txt");
    editor()->setPlainText("Hallo");
    ASSERT_TRUE(window->files().saveDocument(window->currentIndex(), path));
    EXPECT_EQ(f.dir.read("stick" + path), "Hallo\r\n\r\n");
}

TEST_F(FileMenuTest, AltDOpensTheFileMenuAndTypesNothing) {
    window->show();
    QApplication::setActiveWindow(window.get());
    editor()->setFocus();
    editor()->setPlainText("Text");
    QTest::keyClick(editor(), Qt::Key_D, Qt::AltModifier);
    auto* file = window->findChild<QMenu*>("Datei1");
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->isVisible());
    EXPECT_EQ(editor()->toPlainText(), "Text");
    file->close();
    QTest::keyClick(editor(), Qt::Key_Q, Qt::AltModifier);  // no menu of that letter: still no text
    // Only the spare line below the last line came, as for every key there.
    EXPECT_EQ(editor()->toPlainText(), "Text\n ");  // caret in column 0: one blank
}

TEST_F(FileMenuTest, AKeyRefusedAtTheLimitSaysWhyOnceAndCopiesNothing) {
    editor()->setPlainText("eins\nzwei\ndrei");
    editor()->setMaxLength(14);
    QTest::keyClick(editor(), Qt::Key_Down);  // moving the caret is no edit
    EXPECT_TRUE(window->documents().slot(0).firstEditSnapshot.empty());
    const size_t tones = f.sound.played.size();
    QTest::keyClick(editor(), Qt::Key_X);
    EXPECT_EQ(editor()->toPlainText(), "eins\nzwei\ndrei");
    EXPECT_TRUE(window->documents().slot(0).firstEditSnapshot.empty());
    EXPECT_EQ(window->statusBars().panelText(3).toStdString(),
              "Text zu lang: mehr als 1 000 000 Zeichen können nicht eingetippt werden.");
    EXPECT_GT(f.sound.played.size(), tones);
    editor()->setMaxLength(100);
    QTest::keyClick(editor(), Qt::Key_X);
    EXPECT_FALSE(window->documents().slot(0).firstEditSnapshot.empty());
}

TEST_F(FileMenuTest, CentredParagraphsAreDrawnCentredWithWordWrap) {
    window->resize(800, 600);
    window->show();
    editor()->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    editor()->setPlainText("kurz\nlinks");
    QApplication::processEvents();
    const auto x = [this](int paragraph) {
        editor()->viewport()->repaint();
        const QTextLayout* layout = editor()->document()->findBlockByNumber(paragraph).layout();
        return layout && layout->lineCount() > 0 ? layout->lineAt(0).cursorToX(0) : -1.0;
    };
    window->findChild<QAction*>("Zentriert1")->trigger();  // the caret stands in the first paragraph
    EXPECT_GT(x(0), 100);  // drawn towards the middle
    EXPECT_GE(x(1), 0);
    EXPECT_LT(x(1), 10);
    window->resize(700, 600);  // a new width keeps it
    QApplication::processEvents();
    EXPECT_GT(x(0), 100);
    window->findChild<QAction*>("Linksbuendig1")->trigger();
    EXPECT_LT(x(0), 10);
}

TEST_F(FileMenuTest, RecentFilesAndTheMakroMenu) {
    auto* makro = window->findChild<QMenu*>("Makro1");
    ASSERT_NE(makro, nullptr);
    EXPECT_FALSE(window->findChild<QAction*>("Makro1")->isVisible());  // no set named yet
    const std::string first = f.dir.file("eins.txt");
    const std::string second = f.dir.file("zwei.txt");
    f.dir.write("eins.txt", "1");
    f.dir.write("zwei.txt", "2");
    window->files().loadFile(first);
    window->files().loadFile(second);
    auto* recent = window->findChild<QMenu*>("ErneutOeffnen1");
    ASSERT_NE(recent, nullptr);
    emit recent->aboutToShow();
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_EQ(recent->actions()[0]->text().toStdString(), second);  // newest first
    EXPECT_EQ(recent->actions()[1]->text().toStdString(), first);
    for (const char* name : {"SpeichernNr1", "EinlesenNr1", "LoeschenNr1", "AlleNr1", "MakroAendern1", "MakroTauschen1"}) {
        EXPECT_NE(window->findChild<QAction*>(name), nullptr) << name;
    }
}
