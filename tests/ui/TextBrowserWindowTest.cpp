#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
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
