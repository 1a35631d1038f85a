#include <gtest/gtest.h>

#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <csignal>
#include <filesystem>

#include "UiFixture.h"
#include "html/Browsers.h"
#include "html/preview/Favourites.h"
#include "explorer/Explorers.h"
#include "shell/DocumentArea.h"
#include <QListWidget>

using namespace pictra;

namespace {

struct BrowserTest : test::MainWindowTestBase {
    std::string folder;

    void SetUp() override {
        MainWindowTestBase::SetUp();
        folder = f.dir.path() + "Seite mit Ümlaut/";
        std::filesystem::create_directories(folder + "bilder");
        std::filesystem::create_directories(folder + "css");
        QImage picture(37, 23, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        ASSERT_TRUE(picture.save(QString::fromStdString(folder + "bilder/bild.png")));
        f.dir.write("Seite mit Ümlaut/css/stil.css", "body { background-color: rgb(255, 0, 0); }\r\n");
    }
    void TearDown() override {
        for (ui::BrowserWindow* browser : window->browsers().windows()) browser->close();
        MainWindowTestBase::TearDown();
    }

    std::string writePage(const std::string& title) {
        const std::string path = folder + "seite.html";
        f.dir.write("Seite mit Ümlaut/seite.html",
                    "<html>\r\n<head><title>" + title +
                        "</title><link rel=\"stylesheet\" href=\"css/stil.css\"></head>\r\n"
                        "<body><img id=\"b\" src=\"bilder/bild.png\"></body>\r\n</html>\r\n");
        return path;
    }

    ui::BrowserWindow* loaded() {
        ui::BrowserWindow* browser = window->browsers().currentWindow();
        if (!browser) return nullptr;
        EXPECT_TRUE(QTest::qWaitFor([&] { return !browser->loading(); }, 30000));
        return browser;
    }

    QVariant js(ui::BrowserWindow* browser, const QString& script) {
        QVariant result;
        bool done = false;
        browser->view()->page()->runJavaScript(script, [&](const QVariant& r) {
            result = r;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 20000));
        return result;
    }

    // The page shows its picture from the subfolder at its size and takes its style sheet.
    void expectPageWithPictureAndStyle(ui::BrowserWindow* browser, const QString& title) {
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(browser->view()->title(), title);
        EXPECT_EQ(js(browser, "document.getElementById('b').naturalWidth").toInt(), 37);
        EXPECT_EQ(js(browser, "getComputedStyle(document.body).backgroundColor").toString(), "rgb(255, 0, 0)");
        EXPECT_EQ(browser->addressField()->text(), QString::fromStdString(folder + "seite.html"));
        EXPECT_EQ(browser->windowTitle(), "Browser");
    }
};

TEST_F(BrowserTest, F9AndEscShowThePageWithItsPictureAndStyleSheetFromSubfolders) {
    enum class Start { F9, Esc };
    for (Start start : {Start::F9, Start::Esc}) {
        SCOPED_TRACE(start == Start::F9 ? "F9" : "Esc");
        ASSERT_TRUE(window->files().loadFile(writePage("Erste")));
        if (start == Start::F9) {
            trigger("Vollbild1");
        } else {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(editor(), &press);
        }
        expectPageWithPictureAndStyle(loaded(), "Erste");
        EXPECT_EQ(window->browsers().count(), 1);
        window->files().closeCurrent();
    }
}

TEST_F(BrowserTest, AnEditShowsOnTheNextF9AndCtrlF12Reloads) {
    ASSERT_TRUE(window->files().loadFile(writePage("Erste")));
    trigger("Vollbild1");
    ui::BrowserWindow* browser = loaded();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->view()->title(), "Erste");

    const QString text = editor()->toPlainText().replace("Erste", "Zweite");
    editor()->setPlainText(text);
    trigger("Vollbild1");
    EXPECT_TRUE(QTest::qWaitFor([&] { return browser->view()->title() == "Zweite"; }, 30000));
    EXPECT_FALSE(window->documents().isModified(window->currentIndex()));

    // Changed on disk behind the editor's back: Ctrl+F12 reloads the window's page.
    writePage("Dritte");
    trigger("BrowserZeigenUndAktualisieren1");
    EXPECT_TRUE(QTest::qWaitFor([&] { return browser->view()->title() == "Dritte"; }, 30000));
    EXPECT_EQ(window->browsers().count(), 1);
}

TEST_F(BrowserTest, UntitledPlainTextIsShownAsAPageInTheAskedSize) {
    editor()->setPlainText("Hallo Welt\n\nZweiter Absatz");
    f.dialogs.expectAskNumber("Geben Sie die Schriftgröße ein", 30);
    trigger("Vollbild1");
    ui::BrowserWindow* browser = loaded();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->view()->title(), "reiner Text");
    EXPECT_EQ(js(browser, "getComputedStyle(document.body).fontSize").toString(), "40px");
    EXPECT_TRUE(js(browser, "document.body.innerText").toString().contains("Zweiter Absatz"));
}

TEST_F(BrowserTest, F12ShowsABrowserWindowAndTheFavouritesAreInItsMenu) {
    trigger("BrowserZeigen1");
    ui::BrowserWindow* browser = window->browsers().currentWindow();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->isVisible());
    const auto favourites = preview::favourites(f.store);
    auto* menu = browser->findChild<QMenu*>("FavoritenBrowser1");
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (QAction* a : menu->actions()) {
        if (!a->isSeparator()) items << a->text();
    }
    ASSERT_EQ(items.size(), static_cast<int>(favourites.size()));  // the adding entry and all but the separator
    EXPECT_EQ(items[0], "Link den Favoriten zufügen");
    EXPECT_EQ(items[1], QString::fromStdString(favourites[0]));

    browser->addressField()->setText("https://example.org/");
    f.dialogs.expectInform(preview::kMsgFavouriteAdded);
    browser->findChild<QAction*>("LinkDenFavoritenZufuegen1")->trigger();
    EXPECT_EQ(preview::favourites(f.store).back(), "https://example.org/");
    // Once more: F12 makes no second window.
    trigger("BrowserZeigen1");
    EXPECT_EQ(window->browsers().count(), 1);
}

TEST_F(BrowserTest, ALinkToANewWindowAddsOneToTheList) {
    f.dir.write("Seite mit Ümlaut/ziel.html", "<html><head><title>Ziel</title></head><body>Z</body></html>");
    f.dir.write("Seite mit Ümlaut/start.html",
                "<html>\r\n<head><title>Start</title></head>\r\n<body><a id=\"l\" target=\"_blank\" "
                "href=\"ziel.html\">neu</a></body></html>\r\n");
    ASSERT_TRUE(window->files().loadFile(folder + "start.html"));
    trigger("Vollbild1");
    ui::BrowserWindow* first = loaded();
    ASSERT_NE(first, nullptr);
    js(first, "document.getElementById('l').click()");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->browsers().count() == 2; }, 30000));
    ui::BrowserWindow* second = window->browsers().windows().back();
    EXPECT_TRUE(QTest::qWaitFor([&] { return second->view()->title() == "Ziel"; }, 30000));
    EXPECT_TRUE(second->addressField()->text().endsWith("ziel.html"));
}

TEST_F(BrowserTest, InfoAndTablePagesGoToTheCurrentWindow) {
    trigger("Info1");
    ui::BrowserWindow* browser = window->browsers().currentWindow();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return browser->view()->title() == "Über Pictra"; }, 20000));
    f.dir.write("tabelle.html", "<html><head><title>Tabelle</title></head><body></body></html>");
    window->showPageInBrowser(f.dir.path() + "tabelle.html");
    EXPECT_TRUE(QTest::qWaitFor([&] { return browser->view()->title() == "Tabelle"; }, 20000));
    EXPECT_EQ(browser->addressField()->text().toStdString(), f.dir.path() + "tabelle.html");
    EXPECT_EQ(window->browsers().count(), 1);
}

TEST_F(BrowserTest, CloseAllWithFiveBrowserWindowsStartsTheProgramAfresh) {
    for (const int windows : {4, 5}) {
        SCOPED_TRACE(windows);
        while (window->browsers().count() < windows) window->browsers().createWindow()->show();
        window->show();
        window->ensureDocument();
        editor()->setPlainText("geändert");
        // Below five windows the ordinary closing asks itself.
        if (windows == 4) f.dialogs.expectAsk("Datei \"?\" sichern?", Answer::No);
        std::vector<int> asked;
        window->confirmClose = [&](int i) {
            asked.push_back(i);
            return true;
        };
        std::vector<std::string> restarts;
        window->restartProgram = [&](const std::string& where) { restarts.push_back(where); };
        f.store.writeValue("SectBild", "SchlBild", f.dir.path() + "bilder/a.jpg");
        trigger("AlleSchliessen1");
        if (windows == 4) {
            EXPECT_TRUE(window->isVisible());
            EXPECT_TRUE(restarts.empty());
            EXPECT_TRUE(asked.empty());
        } else {
            EXPECT_FALSE(window->isVisible());
            EXPECT_EQ(restarts, std::vector<std::string>{f.dir.path() + "bilder/"});
            EXPECT_EQ(asked.front(), 0);
        }
    }
}

TEST_F(BrowserTest, TheMainFavouritesMenuIsFilledWhenOpened) {
    auto* menu = window->findChild<QMenu*>("Favoriten1");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->actions().isEmpty());
    EXPECT_TRUE(f.store.readList("Hauptmenu", "Favoriten").empty());
    emit menu->aboutToShow();
    const auto favourites = preview::favourites(f.store);
    ASSERT_EQ(menu->actions().size(), static_cast<int>(favourites.size()));
    EXPECT_EQ(menu->actions()[0]->text().toStdString(), favourites[0]);
    EXPECT_TRUE(menu->actions()[3]->isSeparator());
    emit menu->aboutToShow();
    EXPECT_EQ(menu->actions().size(), static_cast<int>(favourites.size()));
}

TEST_F(BrowserTest, UpAndDownInTheAddressFieldStepThroughTheExplorersFiles) {
    for (const char* name : {"a", "b", "c"}) {
        f.dir.write(std::string("Seite mit Ümlaut/") + name + ".html",
                    std::string("<html><head><title>") + name + "</title></head><body></body></html>\r\n");
    }
    window->explorers().first().showFiles(folder);
    ASSERT_TRUE(window->files().loadFile(folder + "b.html"));
    trigger("Vollbild1");
    ui::BrowserWindow* browser = loaded();
    ASSERT_NE(browser, nullptr);

    browser->findChild<QAction*>("NaechsteLokaleDatei1")->trigger();
    EXPECT_EQ(window->currentFileName(), folder + "c.html");
    EXPECT_EQ(window->documents().count(), 1);  // in place of the text before
    EXPECT_TRUE(QTest::qWaitFor([&] { return browser->view()->title() == "c"; }, 30000));
    auto* files = window->explorers().first().fileList();
    EXPECT_EQ(window->explorers().first().pathOfRow(files->currentRow()), folder + "c.html");

    f.dialogs.expectInform(preview::kMsgNextNotFound);
    browser->findChild<QAction*>("NaechsteLokaleDatei1")->trigger();

    // Unsaved changes are asked about first; Abbrechen keeps everything.
    editor()->setPlainText(editor()->toPlainText() + "x");
    f.dialogs.expectAsk("Datei \"" + folder + "c.html\" unter altem Namen  sichern?", Answer::Cancel);
    browser->findChild<QAction*>("VorhergehendeLokaleDatei1")->trigger();
    EXPECT_EQ(window->currentFileName(), folder + "c.html");
    f.dialogs.expectAsk("Datei \"" + folder + "c.html\" unter altem Namen  sichern?", Answer::No);
    browser->findChild<QAction*>("VorhergehendeLokaleDatei1")->trigger();
    EXPECT_EQ(window->currentFileName(), folder + "b.html");
    EXPECT_TRUE(QTest::qWaitFor([&] { return browser->view()->title() == "b"; }, 30000));
}

TEST_F(BrowserTest, LivePreviewFollowsTheTextWithoutSavingIt) {
    const std::string path = writePage("Erste");
    ASSERT_TRUE(window->files().loadFile(path));
    trigger("Vollbild1");
    ui::BrowserWindow* browser = loaded();
    ASSERT_NE(browser, nullptr);
    trigger("LiveVorschau1");
    editor()->setPlainText(editor()->toPlainText().replace("Erste", "Live"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return browser->view()->title() == "Live"; }, 30000));
    // Shown from the preview file beside the document, so its picture still loads; the file is untouched.
    EXPECT_EQ(js(browser, "document.getElementById('b').naturalWidth").toInt(), 37);
    EXPECT_EQ(browser->addressField()->text().toStdString(), path);
    EXPECT_NE(f.dir.read("Seite mit Ümlaut/seite.html").find("Erste"), std::string::npos);
    EXPECT_TRUE(window->documents().isModified(window->currentIndex()));
}

// A page the renderer cannot hold ends its process: the window says why and shows the next page.
TEST_F(BrowserTest, AWindowWhosePageProcessEndsSaysWhyAndShowsTheNextPage) {
    ASSERT_TRUE(window->files().loadFile(writePage("Erste")));
    trigger("Vollbild1");
    ui::BrowserWindow* browser = loaded();
    ASSERT_NE(browser, nullptr);
    const qint64 pid = browser->view()->page()->renderProcessPid();
    ASSERT_GT(pid, 0);
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    auto* status = browser->findChild<QStatusBar*>("StatusBarBrowser");
    EXPECT_TRUE(QTest::qWaitFor([&] { return status->currentMessage() == ui::kRendererGone; }, 30000));
    EXPECT_FALSE(browser->loading());

    writePage("Zweite");
    editor()->setPlainText(editor()->toPlainText().replace("Erste", "Zweite"));
    trigger("Vollbild1");
    EXPECT_TRUE(QTest::qWaitFor([&] { return browser->view()->title() == "Zweite" && !browser->loading(); }, 30000));
    EXPECT_NE(status->currentMessage(), ui::kRendererGone);
}

// The start request's F9 can come before the engine's warm-up: the page stays.
TEST_F(BrowserTest, TheWarmUpAfterAnEarlyF9KeepsItsPage) {
    ASSERT_TRUE(window->files().loadFile(writePage("Fruehe")));
    trigger("Vollbild1");
    ui::BrowserWindow* browser = window->browsers().currentWindow();
    ASSERT_NE(browser, nullptr);
    browser->warmUp();
    EXPECT_TRUE(QTest::qWaitFor([&] { return browser->view()->title() == "Fruehe" && !browser->loading(); }, 30000));
}

}  // namespace
