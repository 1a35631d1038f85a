#include <gtest/gtest.h>

#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QWebEngineView>

#include "UiFixture.h"
#include "html/BrowserWindow.h"
#include "shell/DocumentArea.h"
#include "shell/DocumentMenu.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "shell/StatusBars.h"

using namespace pictra;
using ui::MainWindow;

namespace {

struct MainWindowTest : ::testing::Test {
    test::UiFixture f;
    std::unique_ptr<MainWindow> window;

    void SetUp() override { window = std::make_unique<MainWindow>(f.context); }
    void TearDown() override {
        window->confirmClose = [](int) { return true; };
        window.reset();
    }

    void addDocument(const std::string& name, const QString& text) {
        window->newDocument();
        window->setCurrentFileName(name);
        window->currentEditor()->setPlainText(text);
    }
    QString tab(int i) { return window->documents().tabText(i); }
};

}  // namespace

TEST_F(MainWindowTest, StartsWithOneEmptyUnnamedDocument) {
    window->ensureDocument();
    EXPECT_EQ(window->documents().count(), 1);
    EXPECT_EQ(window->currentFileName(), "?");
    EXPECT_EQ(tab(0), "?");
    EXPECT_EQ(window->windowTitle(), "?");
    EXPECT_EQ(window->findChild<QTabBar*>("TabControl1")->count(), 1);
}

TEST_F(MainWindowTest, ClosingTheSecondOfThreeMovesTheThirdDown) {
    addDocument("/t/eins.txt", "1");
    addDocument("/t/zwei.txt", "2");
    addDocument("/t/drei.txt", "3");
    window->documents().slot(2).saveSnapshot = "alt";
    window->documents().slot(2).firstEditSnapshot = "erst";
    window->removeDocument(1);
    ASSERT_EQ(window->documents().count(), 2);
    EXPECT_EQ(window->currentIndex(), 0);
    EXPECT_EQ(window->documents().slot(1).fileName, "/t/drei.txt");
    EXPECT_EQ(window->documents().slot(1).editor->toPlainText(), "3");
    EXPECT_EQ(window->documents().slot(1).saveSnapshot, "alt");
    EXPECT_EQ(window->documents().slot(1).firstEditSnapshot, "erst");
    EXPECT_EQ(tab(1), "drei.txt*");
}

TEST_F(MainWindowTest, ClosingTheOnlyDocumentLeavesANewEmptyOne) {
    addDocument("/t/eins.txt", "Text");
    window->removeDocument(0);
    EXPECT_EQ(window->documents().count(), 1);
    EXPECT_EQ(window->currentFileName(), "?");
    EXPECT_TRUE(window->currentEditor()->toPlainText().isEmpty());
}

TEST_F(MainWindowTest, TypingAndDeletingAgainRemovesTheMark) {
    window->newDocument();
    ui::PlainEditor* editor = window->currentEditor();
    QTest::keyClicks(editor, "ab");
    EXPECT_EQ(tab(0), "?*");
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(tab(0), "?");
    QTest::keyClicks(editor, "   ");
    EXPECT_EQ(tab(0), "?");
}

TEST_F(MainWindowTest, StarTableCaptionCountsWithoutItsHeadingLines) {
    QString table = "*Name*Note\n*---*---";
    for (int i = 0; i < 10; ++i) table += "\nSchueler" + QString::number(i);
    addDocument("/t/noten.txt", table);
    window->refreshCaption();
    EXPECT_EQ(window->windowTitle(), "/t/noten.txt[10]  ");
}

TEST_F(MainWindowTest, SwitchingBeyondTheLastDocumentIsReported) {
    addDocument("/t/eins.txt", "1");
    addDocument("/t/zwei.txt", "2");
    f.dialogs.expectInform("Programmfehler \"umschalten\"!");
    window->switchTo(5);
    EXPECT_EQ(window->currentIndex(), 1);
    window->switchTo(0);
    EXPECT_EQ(window->windowTitle(), "/t/eins.txt[1]  ");
    EXPECT_EQ(window->findOpen("/T/ZWEI.TXT"), 1);
}

TEST_F(MainWindowTest, StatusMessageAgesAwayOverTimerTicks) {
    window->ensureDocument();
    auto& bars = window->statusBars();
    window->showStatus("Gespeichert");
    EXPECT_EQ(bars.panelText(3), "Gespeichert");
    window->timerTick();
    window->timerTick();
    EXPECT_EQ(bars.panelText(3), "  Gespeichert");
    window->timerTick();
    EXPECT_EQ(bars.panelText(3), "");
    window->showStatus("  sofort weg");
    window->timerTick();
    EXPECT_EQ(bars.panelText(3), "");
    EXPECT_FALSE(bars.panelText(1).isEmpty());
}

TEST_F(MainWindowTest, NoticeBarReplacesTheStatusBarAndShowsAllOnClick) {
    window->ensureDocument();
    window->show();
    auto& bars = window->statusBars();
    window->showNotice("Suche \"x\" wieder von Anfang\rzweite Zeile");
    auto* bar = window->findChild<QLabel*>("StatusBar2");
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(bars.statusBar()->isVisible());
    EXPECT_EQ(bar->text(), "Suche \"x\" wieder von Anfang Näheres: Bitte hier klicken");
    EXPECT_EQ(bar->font().pixelSize(), 18);
    EXPECT_TRUE(bar->font().bold());
    QTest::mouseClick(bar, Qt::LeftButton);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(bars.statusBar()->isVisible());
    auto* box = window->findChild<QMessageBox*>("NoticeWindow");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().startsWith("Suche \"x\" wieder von Anfang\nzweite Zeile\n\n\nHinweis zu dieser Meldung:"));
    EXPECT_FALSE(box->isModal());
    box->close();
}

TEST_F(MainWindowTest, NoticeStaysTwoToThreeTicks) {
    window->ensureDocument();
    window->show();
    window->showNotice("Ende erreicht");
    auto& bars = window->statusBars();
    window->timerTick();
    EXPECT_TRUE(bars.noticeVisible());
    window->timerTick();
    EXPECT_TRUE(bars.noticeVisible());
    window->timerTick();
    EXPECT_FALSE(bars.noticeVisible());
}

TEST_F(MainWindowTest, DocumentMenuOf65DocumentsHasThreeColumnsAndSwitches) {
    for (int i = 0; i < 65; ++i) addDocument("/t/d" + std::to_string(i) + ".txt", "x");
    std::unique_ptr<QMenu> menu(window->buildDocumentMenu());
    auto* documentMenu = qobject_cast<ui::DocumentMenu*>(menu.get());
    ASSERT_NE(documentMenu, nullptr);
    EXPECT_EQ(documentMenu->columnCount(), 3);
    documentMenu->choose(4);
    EXPECT_EQ(window->currentIndex(), 4);
}

TEST_F(MainWindowTest, StartRequestWaitsForItsHandlerAndIsHandedOverOnce) {
    window->ensureDocument();
    window->setStartRequest("/t/brief.txt");
    window->timerTick();
    EXPECT_EQ(window->startRequest(), "/t/brief.txt");
    std::vector<std::string> opened;
    window->setStartRequestHandler([&](const std::string& p) { opened.push_back(p); });
    window->timerTick();
    window->timerTick();
    EXPECT_EQ(opened, std::vector<std::string>{"/t/brief.txt"});
    EXPECT_EQ(window->startRequest(), "");
}

TEST_F(MainWindowTest, TimerDoesNothingWhileTheCancelWindowIsShown) {
    window->ensureDocument();
    window->showStatus("  bleibt");
    f.dialogs.beginCancelWindow("lange Arbeit");
    window->timerTick();
    EXPECT_EQ(window->statusBars().panelText(3), "  bleibt");
    f.dialogs.endCancelWindow();
}

TEST_F(MainWindowTest, ClosingAsksEveryDocumentAndStopsAtTheFirstRefusal) {
    addDocument("/t/eins.txt", "1");
    addDocument("/t/zwei.txt", "2");
    std::vector<int> asked;
    window->confirmClose = [&](int i) {
        asked.push_back(i);
        return i == 0;
    };
    window->show();
    EXPECT_FALSE(window->close());
    EXPECT_EQ(asked, (std::vector<int>{0, 1}));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(f.paths.settingsFileName())));
    window->confirmClose = [](int) { return true; };
    f.store.writeValue("A", "b", "c");
    EXPECT_TRUE(window->close());
    EXPECT_EQ(f.dir.read("pictra.ini"), "A|b = c\r\n");
}

TEST_F(MainWindowTest, ClosingDuringALongActionAsksAndStopsIt) {
    window->ensureDocument();
    window->show();
    f.dialogs.beginCancelWindow("Kopieren");
    f.dialogs.expectAsk("Das programm wirklich beenden, obwohl noch Aktivitäten vorgenommen werden!", Answer::No)
        .expectAsk("Das programm wirklich beenden, obwohl noch Aktivitäten vorgenommen werden!", Answer::Yes);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(f.dialogs.stepCancelWindow("Kopieren"));
}

TEST_F(MainWindowTest, SecondInstanceEditorsAreLightGreenAndFontsFollowTheSettings) {
    window.reset();
    window = std::make_unique<MainWindow>(f.context, ui::MainWindowOptions{true});
    window->newDocument();
    EXPECT_EQ(window->currentEditor()->palette().color(QPalette::Base), QColor(170, 255, 170));
    f.store.writeValue("Einstellungen", "Schriftgroesse", "20");
    window->resetEditorFonts();
    EXPECT_EQ(window->currentEditor()->font().pointSize(), 20);
}

TEST_F(MainWindowTest, EditorsAreCreamPlainAndUnwrapped) {
    window->newDocument();
    ui::PlainEditor* editor = window->currentEditor();
    EXPECT_EQ(editor->palette().color(QPalette::Base), QColor(255, 248, 198));
    EXPECT_EQ(editor->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(editor->maxLength(), 1000000);
    EXPECT_EQ(editor->font().family(), "Courier New");
}

TEST_F(MainWindowTest, FirstKeyPressOfALongerDocumentKeepsItsOldState) {
    addDocument("/t/brief.txt", "a\nb\nc");
    QTest::keyClick(window->currentEditor(), Qt::Key_X);
    EXPECT_EQ(window->documents().slot(0).firstEditSnapshot, "a\r\nb\r\nc\r\n/t/brief.txt");
    QTest::keyClick(window->currentEditor(), Qt::Key_Y);
    EXPECT_EQ(window->documents().slot(0).firstEditSnapshot, "a\r\nb\r\nc\r\n/t/brief.txt");
}

TEST_F(MainWindowTest, EditingTheSettingsFileThroughTheMenu) {
    f.store.setLines({"A|x = 1"});
    f.dialogs.expectInform("Ini-Datei gesichert als \"" + f.paths.settingsFileName() + "0\"")
        .expectEditText("Makros und Einstellungen", "A|x = 2")
        .expectAsk("Sollen beim Beenden von Pictra diese Werte gelten?", Answer::Yes);
    window->findChild<QAction*>("BearbeiteInidatei1")->trigger();
    EXPECT_EQ(f.store.readValue("A", "x"), "2");
    EXPECT_EQ(f.dir.read("pictra.ini"), "A|x = 2\r\n");
}

TEST_F(MainWindowTest, ToneSwitchMutesEveryTone) {
    window->findChild<QAction*>("TonAbschalten1")->trigger();
    f.tones.chime();
    EXPECT_TRUE(f.sound.played.empty());
    window->findChild<QAction*>("TonAbschalten1")->trigger();
    f.tones.chime();
    EXPECT_EQ(f.sound.played.size(), 1u);
}

TEST_F(MainWindowTest, AllWindowsSameSizeAsksForTheWidth) {
    window->ensureDocument();
    window->show();
    f.dialogs.expectAskNumber("Welche Breite sollen die Fenster haben", 640);
    window->arrangeAllSameSize();
    // Placed by the outer frame, so the title bar stays on the screen.
    EXPECT_EQ(window->frameGeometry(), QRect(0, 0, 640, 480));
}

TEST_F(MainWindowTest, InfoShowsTheAboutPageInABrowserWindow) {
    window->findChild<QAction*>("Info1")->trigger();
    ui::BrowserWindow* browser = window->browserWindow();
    EXPECT_EQ(browser->windowTitle(), "Browser");
    EXPECT_TRUE(QTest::qWaitFor([&] { return browser->view()->title() == "Über Pictra"; }, 20000));
    browser->close();
}

TEST(PlainEditor, LimitsTypingButNotCommands) {
    ui::PlainEditor editor;
    editor.setMaxLength(5);
    editor.setPlainText("123456789");  // a command's text is never cut
    EXPECT_EQ(editor.toPlainText(), "123456789");
    editor.clear();
    QTest::keyClicks(&editor, "abcdefg");
    EXPECT_EQ(editor.toPlainText(), "abcde");
}
