#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <filesystem>

#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/Explorers.h"
#include "html/BrowserWindow.h"
#include "html/Browsers.h"
#include "html/TextBrowserMenus.h"
#include "html/TextBrowserWindow.h"
#include "html/preview/PictureInsertion.h"
#include "shell/PlainEditor.h"
#include "shell/editing/SearchBar.h"
#include "tables/TableFormWindow.h"

using namespace pictra;

namespace {

struct TextBrowserWindowTest : test::MainWindowTestBase {
    ui::TextBrowserWindow* textBrowser() {
        return window->findChild<ui::TextBrowserWindow*>("FormTextUndBrowser", Qt::FindDirectChildrenOnly);
    }
    void TearDown() override {
        if (auto* tb = textBrowser()) tb->findChild<QAction*>("AbbrechenTB1")->trigger();
        for (ui::BrowserWindow* browser : window->browsers().windows()) browser->close();
        MainWindowTestBase::TearDown();
    }
    // The window opened over a text, active so that its menu keys reach it.
    ui::TextBrowserWindow* openOver(const QString& text) {
        editor()->setPlainText(text);
        trigger("HalbTextHalbBrowser1");
        ui::TextBrowserWindow* tb = textBrowser();
        if (!tb) return nullptr;
        QApplication::setActiveWindow(tb);
        tb->editor()->setFocus();
        return tb;
    }
    static void caretTo(ui::PlainEditor* e, int position) {
        QTextCursor c = e->textCursor();
        c.setPosition(position);
        e->setTextCursor(c);
    }
    static QColor colourAt(ui::PlainEditor* e, int position) {
        QTextCursor c(e->document());
        c.setPosition(position + 1);
        return c.charFormat().foreground().color();
    }
    QString pageText(ui::TextBrowserWindow* tb) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !tb->refreshing(); }, 30000));
        QString result;
        bool done = false;
        tb->browser()->view()->page()->runJavaScript("document.body.innerHTML", [&](const QVariant& r) {
            result = r.toString();
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 20000));
        return result;
    }
};

TEST_F(TextBrowserWindowTest, CtrlF5OpensWithTheWholeTextAndACommentShowsAtOnce) {
    editor()->setPlainText("<p>Erster</p>\n<p>Zweiter</p>");
    trigger("HalbTextHalbBrowser1");
    ui::TextBrowserWindow* tb = textBrowser();
    ASSERT_NE(tb, nullptr);
    EXPECT_TRUE(tb->isVisible());
    EXPECT_TRUE(tb->isModal());
    EXPECT_EQ(tb->windowTitle(), "Text und Browser");
    EXPECT_EQ(tb->editor()->toPlainText(), "<p>Erster</p>\n<p>Zweiter</p>");
    EXPECT_TRUE(pageText(tb).contains("Zweiter"));

    tb->editor()->moveCursor(QTextCursor::End);
    tb->findChild<QAction*>("Kommentar1")->trigger();
    const QString text = tb->editor()->toPlainText();
    EXPECT_EQ(text, "<p>Erster</p>\n<p>Zweiter</p><!--   -->\n");
    EXPECT_EQ(tb->editor()->textCursor().position(), text.indexOf("<!--") + 5);
    EXPECT_TRUE(pageText(tb).contains("<!--   -->"));
}

TEST_F(TextBrowserWindowTest, BlocksAreHandedOverAtTheMainCaretAndAbbrechenChangesNothing) {
    editor()->setPlainText("Anfang Ende");
    QTextCursor c = editor()->textCursor();
    c.setPosition(7);
    c.setPosition(11, QTextCursor::KeepAnchor);
    editor()->setTextCursor(c);
    trigger("BausteineEinfuegen1");
    ui::TextBrowserWindow* tb = textBrowser();
    ASSERT_NE(tb, nullptr);
    EXPECT_EQ(tb->windowTitle().toStdString(),
              "Schreiben und kontrollieren Sie Ihren Text. Sie können ihn anschließend in Ihr Dokument einfügen.");
    EXPECT_TRUE(tb->editor()->toPlainText().isEmpty());
    tb->findChild<QAction*>("UeberschriftGross1")->trigger();
    QTest::keyClicks(tb->editor(), "Titel");
    f.dialogs.expectInform("Kürzer: mit Strg+H+0 (Null) und Str+H+l (klein L)\rMöglichkeiten für type: square circle "
                           "disc");
    tb->editor()->moveCursor(QTextCursor::End);
    tb->findChild<QAction*>("Aufzaehlungsliste1")->trigger();
    EXPECT_TRUE(pageText(tb).contains("<h1 align=\"center\">Titel</h1>"));
    tb->findChild<QAction*>("GeaendertenTextUebernehmen1")->trigger();
    EXPECT_FALSE(tb->isVisible());
    EXPECT_EQ(editor()->toPlainText(),
              "Anfang <h1 align=center>Titel</h1>\n<ul type=disk>\n  <li> </li>\n  <li> </li>\n  <li> </li>\n"
              "  <li> </li>\n</ul>\n\nEnde");

    // A selection shown alone, then "Abbrechen": the document stays as it was.
    c.setPosition(0);
    c.setPosition(6, QTextCursor::KeepAnchor);
    editor()->setTextCursor(c);
    const QString before = editor()->toPlainText();
    trigger("NurAusgewaehltesHalb1");
    EXPECT_EQ(tb->windowTitle(), "Tabellen werden folgendermaßen gebildet");
    EXPECT_EQ(tb->editor()->toPlainText(), "Anfang");
    tb->findChild<QAction*>("Linie1")->trigger();
    tb->findChild<QAction*>("AbbrechenTB1")->trigger();
    EXPECT_FALSE(tb->isVisible());
    EXPECT_EQ(editor()->toPlainText(), before);
    EXPECT_TRUE(f.dialogs.scriptDone());
}

TEST_F(TextBrowserWindowTest, EditMenuHasTheMainWindowsCaptionsAndKeys) {
    ui::TextBrowserWindow* tb = openOver("x");
    ASSERT_NE(tb, nullptr);
    struct Item {
        const char* name;
        const char* caption;
        const char* key;
    };
    const Item items[] = {{"SuchenTB1", "Suchen", "Ctrl+F"},
                          {"WeitersuchenTB1", "Weitersuchen", "F3"},
                          {"FusszeileKopierenTB1", "Text der Fußzeile kopieren", ""},
                          {"ZeileLoeschenTB1", "Zeile löschen (in Zeilenpuffer)", "Ctrl+Y"},
                          {"ZeileBeibehaltenTB1", "Zeile beibehalten und in Zeilenpuffer", "Alt+Shift+Y"},
                          {"ZeileZufuegenTB1", "Zeile aus Zeilenpuffer zufügen", "Ctrl+Alt+Y"},
                          {"ZeilenpufferLoeschenTB1", "Zeilenpuffer löschen", "Ctrl+Shift+Y"},
                          {"BearbeiteZeilenpufferTB1", "Bearbeite Zeilenpuffer...", ""}};
    auto* menu = tb->findChild<QMenu*>("BearbeitenTB1");
    ASSERT_NE(menu, nullptr);
    QStringList inMenu;
    for (QAction* a : menu->actions()) {
        if (!a->isSeparator()) inMenu << a->objectName();
    }
    QStringList expected;
    for (const Item& item : items) {
        expected << item.name;
        auto* action = tb->findChild<QAction*>(item.name);
        ASSERT_NE(action, nullptr) << item.name;
        EXPECT_EQ(action->text().toStdString(), item.caption);
        EXPECT_EQ(action->shortcut(), QKeySequence(item.key)) << item.name;
    }
    EXPECT_EQ(inMenu, expected);
}

TEST_F(TextBrowserWindowTest, LineBufferIsTheProgramsOwn) {
    ui::TextBrowserWindow* tb = openOver("a\nb\nc\nd");
    ASSERT_NE(tb, nullptr);
    ui::PlainEditor* e = tb->editor();
    for (int i = 0; i < 3; ++i) QTest::keyClick(e, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(e->toPlainText(), "d");
    for (int i = 0; i < 3; ++i) QTest::keyClick(e, Qt::Key_Y, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(e->toPlainText(), "a\nb\nc\nd");
    QTest::keyClick(e, Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(e, Qt::Key_Y, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(tb->statusBar()->currentMessage(), "Puffer leer");
    EXPECT_EQ(e->toPlainText(), "a\nb\nc\nd");

    // Kept here, edited in the buffer window, put into the main document after "Abbrechen".
    caretTo(e, 2);
    QTest::keyClick(e, Qt::Key_Y, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(e->toPlainText(), "a\nb\nc\nd");
    f.dialogs.expectEditText("Zeilenpuffer", "B");
    tb->findChild<QAction*>("BearbeiteZeilenpufferTB1")->trigger();
    EXPECT_EQ(f.dialogs.shownTexts(), std::vector<std::string>{"b"});
    tb->findChild<QAction*>("AbbrechenTB1")->trigger();
    caretTo(editor(), 0);
    trigger("ZeileZufuegen1");
    EXPECT_EQ(editor()->toPlainText(), "B\na\nb\nc\nd");
    EXPECT_TRUE(f.dialogs.scriptDone());
}

TEST_F(TextBrowserWindowTest, SearchPaintsHitsAndF3FindsTheNext) {
    ui::TextBrowserWindow* tb = openOver("Hund &auml; hund\nkein HUND");
    ASSERT_NE(tb, nullptr);
    ui::PlainEditor* e = tb->editor();
    // F3 without a term shows the bar and says where the term goes.
    QTest::keyClick(e, Qt::Key_F3);
    ui::SearchBarWidget* bar = tb->searchBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(tb->statusBar()->currentMessage().toStdString(), "Geben Sie das Suchwort links oben ein!");

    tb->findChild<QAction*>("SuchenTB1")->trigger();  // entities become readable first
    EXPECT_EQ(e->toPlainText(), "Hund \u00e4 hund\nkein HUND");
    EXPECT_TRUE(tb->findChild<QPushButton*>("Babwaerts")->isVisible());
    bar->combo()->setCurrentText("hund");
    QTest::keyClick(bar->combo(), Qt::Key_Return);  // "<<"
    EXPECT_EQ(e->textCursor().position(), 0);
    EXPECT_EQ(colourAt(e, 0), QColor(Qt::red));
    QTest::keyClick(e, Qt::Key_F3);
    EXPECT_EQ(e->textCursor().position(), 7);
    EXPECT_EQ(colourAt(e, 7), QColor(Qt::red));
    tb->findChild<QAction*>("WeitersuchenTB1")->trigger();
    EXPECT_EQ(e->textCursor().position(), 17);
    // The term went into the program's history.
    EXPECT_EQ(window->searchSession().history(), std::vector<std::string>{"hund"});

    // Only the entities changed the text; painted hits alone would leave it untouched.
    tb->findChild<QAction*>("GeaendertenTextUebernehmen1")->trigger();
    EXPECT_EQ(editor()->toPlainText(), "Hund \u00e4 hund\nkein HUND\n");
    EXPECT_TRUE(f.dialogs.scriptDone());
}

TEST_F(TextBrowserWindowTest, PaintedHitsAloneAreNoChange) {
    ui::TextBrowserWindow* tb = openOver("eins zwei");
    ASSERT_NE(tb, nullptr);
    tb->findChild<QAction*>("SuchenTB1")->trigger();
    tb->searchBar()->combo()->setCurrentText("zwei");
    tb->findChild<QPushButton*>("BSuchelast")->click();
    EXPECT_EQ(colourAt(tb->editor(), 5), QColor(Qt::red));
    tb->close();  // by the frame: nothing to lose, nothing asked
    EXPECT_FALSE(tb->isVisible());
    EXPECT_TRUE(f.dialogs.scriptDone());
}

TEST_F(TextBrowserWindowTest, TwoExplorerPicturesFromASubfolder) {
    const std::string folder = f.dir.path() + "Seite/";
    std::filesystem::create_directories(folder + "bilder");
    for (const auto& [name, w, h] : {std::tuple{"bilder/zz_Foto 1.jpg", 101, 51}, {"bilder/b\xc3\xbc" "cher.png", 7, 9}}) {
        QImage picture(w, h, QImage::Format_RGB32);
        picture.fill(Qt::green);
        ASSERT_TRUE(picture.save(QString::fromStdString(folder + name)));
    }
    f.dir.write("Seite/index.html", "<html><body>\r\nHier:\r\n</body></html>\r\n");
    ASSERT_TRUE(window->files().loadFile(folder + "index.html"));
    QTextCursor c = editor()->textCursor();
    c.setPosition(19);
    editor()->setTextCursor(c);
    ui::ExplorerWindow& explorer = window->explorers().first();
    explorer.showFiles(folder + "bilder/");
    ASSERT_EQ(explorer.allPaths().size(), 2u);
    explorer.selectAll();
    f.dialogs.expectAsk(std::string(preview::kAskExplorerPictures) + folder + "bilder/b\xc3\xbc" "cher.png\r" + folder +
                            "bilder/zz_Foto 1.jpg\r",
                        Answer::Yes);
    f.dialogs.expectAskText(preview::kAskPictureNamePrompt, "B\xc3\xbc" "cher").expectAsk(preview::kAskClearAlign, Answer::No);
    f.dialogs.expectAskText(preview::kAskPictureNamePrompt, "Foto 1").expectAsk(preview::kAskClearAlign, Answer::No);
    trigger("BildEinfuegen150Html1");
    EXPECT_EQ(editor()->toPlainText().toStdString(),
              "<html><body>\nHier:\n\n<img class=\"rr\" src=\"bilder/b\xc3\xbc" "cher.png\" width=10 height=13 "
              "alt=\"B\xc3\xbc" "cher\">\n<br>\n<a href=\"bilder/Foto 1.jpg\">\n  \n<img class=\"rr\" "
              "src=\"bilder/zz_Foto 1.jpg\" width=151 height=76 alt=\"Foto 1\">\n</a></body></html>");
    EXPECT_TRUE(f.dialogs.scriptDone());
}

}  // namespace

namespace {

TEST_F(TextBrowserWindowTest, APictureDroppedOnTheTextBecomesItsElement) {
    const std::string folder = f.dir.path() + "Seite/";
    std::filesystem::create_directories(folder + "bilder");
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(QString::fromStdString(folder + "bilder/Mein Hund.png")));
    f.dir.write("Seite/index.html", "Hier\r\n");
    ASSERT_TRUE(window->files().loadFile(folder + "index.html"));
    trigger("HalbTextHalbBrowser1");
    ui::TextBrowserWindow* tb = textBrowser();
    ASSERT_NE(tb, nullptr);
    QWidget* target = tb->editor()->viewport();
    QTextCursor start(tb->editor()->document());
    const QPointF at = QPointF(tb->editor()->cursorRect(start).center());

    auto drop = [&](const QString& file) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
    };
    // A text file is no picture: the editor's own drop happens, no element and no question.
    f.dir.write("Seite/notiz.txt", "x");
    drop(QString::fromStdString(folder + "notiz.txt"));
    EXPECT_FALSE(tb->editor()->toPlainText().contains("<img"));
    tb->editor()->setPlainText("Hier\n");

    f.dialogs.expectAskText(preview::kAskPictureNamePrompt, "Mein Hund").expectAsk(preview::kAskClearAlign, Answer::No);
    drop(QString::fromStdString(folder + "bilder/Mein Hund.png"));
    EXPECT_EQ(tb->editor()->toPlainText(),
              "\n<img class=\"rr\" src=\"bilder/Mein Hund.png\" width=30 height=20 alt=\"Mein Hund\">\nHier\n");
    EXPECT_TRUE(f.dialogs.scriptDone());
}

}  // namespace

// Shown over the whole screen, the window fits a screen of 1024 x 768: its search
// row gives way rather than widening it.
TEST_F(TextBrowserWindowTest, FitsASmallScreen) {
    ui::TextBrowserWindow* tb = openOver("<p>Hallo</p>");
    ASSERT_NE(tb, nullptr);
    tb->findChild<QAction*>("SuchenTB1")->trigger();  // the search row shows
    ASSERT_TRUE(tb->findChild<QWidget*>("PsuchenTextBrowser")->isVisible());
    EXPECT_LE(tb->minimumSizeHint().width(), 1024);
    EXPECT_LE(tb->minimumSizeHint().height(), 768);
}

// "Tabelle (Gitter) einfügen" puts the form's table into the window's text itself: the
// main window's clipboard message is not shown there, and stays for "Tabelle schreiben".
TEST_F(TextBrowserWindowTest, TheTableBlockInsertsTheFormsTableWithoutTheClipboardMessage) {
    ui::TextBrowserWindow* tb = openOver("<h1>Plan</h1>\n");
    ASSERT_NE(tb, nullptr);
    tb->editor()->moveCursor(QTextCursor::End);
    QTimer::singleShot(0, window.get(), [this] {
        auto* form = window->findChild<ui::TableFormWindow*>("Form9tabelle");
        ASSERT_NE(form, nullptr);
        form->grid()->setItem(0, 0, new QTableWidgetItem("Mo"));
        form->grid()->setItem(0, 1, new QTableWidgetItem("Di"));
        form->findChild<QAction*>("Zurueck1")->trigger();
    });
    tb->findChild<QAction*>("TabelleGitter1")->trigger();
    const QString text = tb->editor()->toPlainText();
    EXPECT_TRUE(text.startsWith("<h1>Plan</h1>\n<table width=750 border=1>\n")) << text.toStdString();
    EXPECT_TRUE(text.contains(">Mo</td>")) << text.toStdString();
    EXPECT_TRUE(pageText(tb).contains("Di</td>"));
    EXPECT_TRUE(f.dialogs.scriptDone());
    EXPECT_TRUE(window->tableForm()->onReturn != nullptr);
}
