#include <gtest/gtest.h>

#include <QListWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebEngineView>
#include <filesystem>
#include <memory>

#include "UiFixture.h"
#include "html/Browsers.h"
#include "html/preview/LinkCheck.h"

using namespace pictra;

namespace {

// A small web server: /ok, /404, /big (200 KB), /loop (redirects to itself) and
// /never (takes the request and never answers).
class TestServer : public QObject {
public:
    TestServer() {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
            }
        });
    }
    QString base() const { return QString("http://127.0.0.1:%1").arg(m_server.serverPort()); }
    int requests = 0;

private:
    void answer(QTcpSocket* socket) {
        const QByteArray request = socket->readAll();
        if (!request.startsWith("GET ")) return;
        ++requests;
        const QByteArray path = request.mid(4, request.indexOf(' ', 4) - 4);
        QByteArray head = "HTTP/1.1 200 OK\r\n";
        QByteArray body = "<html><body>gut</body></html>";
        if (path == "/never") return;
        if (path == "/404") {
            head = "HTTP/1.1 404 Not Found\r\n";
            body = "fehlt";
        } else if (path == "/loop") {
            head = "HTTP/1.1 302 Found\r\nLocation: /loop\r\n";
            body.clear();
        } else if (path == "/big") {
            body = QByteArray(200 * 1024, 'x');
        }
        socket->write(head + "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" +
                      body);
        socket->disconnectFromHost();
    }
    QTcpServer m_server;
};

struct BrowserLinksTest : test::MainWindowTestBase {
    void TearDown() override {
        for (ui::BrowserWindow* browser : window->browsers().windows()) browser->close();
        MainWindowTestBase::TearDown();
    }
    ui::BrowserWindow* show(const std::string& path) {
        window->showPageInBrowser(path);
        ui::BrowserWindow* browser = window->browsers().currentWindow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !browser->loading(); }, 30000));
        return browser;
    }
};

TEST_F(BrowserLinksTest, DeadLinksAreReportedInPageOrderAndTestedOncePerRun) {
    TestServer server;
    const QString b = server.base();
    f.dir.write("da.html", "<html><body>da</body></html>");
    const std::string page = "<html><head><title>Links</title></head><body>\r\n"
                             "<a href=\"" + b.toStdString() + "/ok\">1</a>\r\n"
                             "<a href=\"" + b.toStdString() + "/404\">2</a>\r\n"
                             "<a href=\"mailto:a@b.de\">3</a>\r\n"
                             "<a href=\"javascript:void(0)\">4</a>\r\n"
                             "<a href=\"" + b.toStdString() + "/never\">5</a>\r\n"
                             "<a href=\"" + b.toStdString() + "/big\">6</a>\r\n"
                             "<a href=\"" + b.toStdString() + "/loop\">7</a>\r\n"
                             "<a href=\"da.html\">8</a>\r\n"
                             "<a href=\"weg.html\">9</a>\r\n"
                             "</body></html>\r\n";
    f.dir.write("links.html", page);
    ui::BrowserWindow* browser = show(f.dir.path() + "links.html");
    ASSERT_EQ(browser->view()->title(), "Links");
    window->browsers().linkLimits = {6, 1500, 600000};  // a short wait for the server that never answers

    f.dialogs.expectShowText(preview::kDeadLinksTitle);
    browser->findChild<QAction*>("ToteLinksSuchen1")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.dialogs.scriptDone(); }, 60000));
    const std::string dead = std::string(" ") + preview::kDeadLinkError;
    const std::string base = b.toStdString();
    EXPECT_EQ(f.dialogs.shownTexts().back(), base + "/404" + dead + "\r\n" + base + "/never" + dead + "\r\n" + base +
                                                 "/loop" + dead + "\r\nfile://" + f.dir.path() + "weg.html" + dead);
    auto* test = window->findChild<ui::LinkTestWindow*>("FormLinktest");
    ASSERT_NE(test, nullptr);
    EXPECT_EQ(test->windowTitle(), preview::kDeadLinkWindowTitle);
    ASSERT_EQ(test->links()->count(), 7);
    EXPECT_EQ(test->links()->item(0)->text().toStdString(), "file://" + f.dir.path() + "weg.html");
    EXPECT_EQ(test->links()->item(6)->text(), b + "/ok");

    // Once per run: the same page again tests nothing.
    const int requests = server.requests;
    f.dialogs.expectShowText(preview::kDeadLinksTitle);
    browser->findChild<QAction*>("ToteLinksSuchen1")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.dialogs.scriptDone(); }, 30000));
    EXPECT_EQ(f.dialogs.shownTexts().back(), "");
    EXPECT_EQ(server.requests, requests);
}

TEST_F(BrowserLinksTest, SlowLinksAreAskedAboutInPageOrder) {
    TestServer server;
    const std::string b = server.base().toStdString();
    f.dir.write("langsam.html", "<html><head><title>L</title></head><body><a href=\"" + b + "/ok\">1</a><a href=\"" +
                                    b + "/big\">2</a></body></html>");
    ui::BrowserWindow* browser = show(f.dir.path() + "langsam.html");
    window->browsers().linkLimits = {6, 10000, -1};  // every link counts as slow
    f.dialogs.expectAsk(preview::kAskLinkWorks, Answer::Yes)
        .expectAsk(preview::kAskLinkWorks, Answer::No)
        .expectShowText(preview::kDeadLinksTitle);
    browser->findChild<QAction*>("ToteLinksSuchen1")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.dialogs.scriptDone(); }, 60000));
    EXPECT_EQ(f.dialogs.shownTexts().back(), "OK: " + b + "/ok\r\nNicht OK !!! : " + b + "/big");
}

TEST_F(BrowserLinksTest, SitemapOfALocalSiteWithACycleAndBrokenMarkup) {
    std::filesystem::create_directories(f.dir.path() + "teil");
    f.dir.write("index.html", "<html><body><p><a href='teil/a.html'>A<a href=\"b.html\">B</p><table><tr><td>"
                              "<a href=\"index.html\">zurück</a></body>");
    f.dir.write("teil/a.html", "<a href=\"../b.html\">B</a><a href=\"../index.html\">I</a>");
    f.dir.write("b.html", "<frameset><frame src=\"teil/a.html\"></frameset>");
    ui::BrowserWindow* browser = show(f.dir.path() + "index.html");
    f.dialogs.expectAskText("Nur (lokale) Seiten mit ... erfassen?", std::string()).expectInform("fertig!");
    browser->findChild<QAction*>("SitemapErstellen1")->trigger();
    EXPECT_EQ(window->currentFileName(), f.dir.path() + "sitemap.html");
    const QString text = editor()->toPlainText();
    EXPECT_TRUE(text.contains("<pre>\n<a href=\"index.html\">index.html</a>\n    <a href=\"teil/a.html\">teil/a.html</a>\n"
                              "    <a href=\"b.html\">b.html</a>\n</pre>"))
        << text.toStdString();
    EXPECT_EQ(text.count("index.html"), 2);

    f.dialogs.expectInform(preview::kMsgSitemapStart);
    browser->setAddress("https://example.org/");
    browser->findChild<QAction*>("SitemapErstellen1")->trigger();
}

TEST_F(BrowserLinksTest, ClosingTheWindowEndsARunWithoutAnswer) {
    TestServer server;
    const std::string b = server.base().toStdString();
    f.dir.write("still.html", "<html><head><title>S</title></head><body><a href=\"" + b + "/never\">1</a></body></html>");
    ui::BrowserWindow* browser = show(f.dir.path() + "still.html");
    QPointer<ui::BrowserWindow> guarded(browser);
    browser->findChild<QAction*>("ToteLinksSuchen1")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.dialogs.cancelWindowVisible(); }, 30000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests == 1; }, 30000));
    browser->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return guarded.isNull(); }, 30000));
    EXPECT_FALSE(f.dialogs.cancelWindowVisible());
    EXPECT_TRUE(f.dialogs.shownTexts().empty());
}

}  // namespace
