// Pictra's side of browser_peer.sh, as whole processes:
//   browser_tool f9 PAGE      start, paint the main window, open PAGE and press F9; ends when the page has loaded
//   browser_tool links PAGE   "Tote Links suchen" over the links of PAGE (a file or an address); prints the dead ones
// Runs offscreen with a program folder of its own; the exit code is 0 when the page loaded / the check ran.
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QWebEngineView>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "ScopedWindow.h"
#include "html/BrowserLinkCheck.h"
#include "html/Browsers.h"
#include "html/preview/LinkCheck.h"
#include "platform/HtmlLinks.h"
#include "shell/DocumentArea.h"

using namespace pictra;

namespace {

// The dead-link run's questions are answered "Ja" and its report is printed.
class ReportingDialogs : public bench::NoDialogs {
public:
    Answer ask(const std::string&) override { return Answer::Yes; }
    void showText(const std::string& title, const std::string& text) override {
        report = title + "\n" + text;
    }
    std::string report;
};

int firstF9(const std::string& page) {
    bench::ScopedWindow w;
    w.window->show();
    // As at start: the engine starts in a hidden browser window once the main window is painted.
    QTimer::singleShot(0, w.window.get(), [main = w.window.get()] {
        QTimer::singleShot(0, main, [main] { main->browsers().currentOrNew()->warmUp(); });
    });
    bool ok = false;
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        if (!w.window->files().loadFile(page)) {
            loop.quit();
            return;
        }
        w.window->fullPreview();
        ui::BrowserWindow* browser = w.window->browsers().currentWindow();
        QObject::connect(browser->view(), &QWebEngineView::loadFinished, &loop, [&](bool success) {
            ok = success;
            loop.quit();
        });
    });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    return ok ? 0 : 1;
}

std::string readPage(const std::string& page) {
    if (page.rfind("http", 0) != 0) {
        QFile file(QString::fromStdString(page));
        if (!file.open(QIODevice::ReadOnly)) return {};
        return file.readAll().toStdString();
    }
    QNetworkAccessManager network;
    QNetworkReply* reply = network.get(QNetworkRequest(QUrl(QString::fromStdString(page))));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    std::string body = reply->readAll().toStdString();
    reply->deleteLater();
    return body;
}

int deadLinks(const std::string& page) {
    std::vector<std::string> links;
    for (const std::string& link : platform::htmlLinks(readPage(page))) {
        const std::string resolved = preview::resolveLink(page, link);
        if (!resolved.empty()) links.push_back(resolved);
    }
    if (links.empty()) return 1;
    std::set<std::string> tested;
    ReportingDialogs dialogs;
    ui::DeadLinkRun run(tested, dialogs, ui::LinkFetchLimits{}, nullptr);
    QEventLoop loop;
    run.ended = [&loop] { QTimer::singleShot(0, &loop, &QEventLoop::quit); };
    run.start(links);
    if (!run.finished()) loop.exec();
    if (run.window()) run.window()->close();
    int dead = 0;
    std::size_t from = 0;
    while ((from = dialogs.report.find(preview::kDeadLinkError, from)) != std::string::npos) {
        ++dead;
        ++from;
    }
    std::cout << links.size() << " links, " << dead << " dead\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("PICTRA_HOME", "/tmp/pictra-bench", 0);
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox", 0);
    if (argc != 3) {
        std::cerr << "browser_tool f9|links PAGE\n";
        return 2;
    }
    QApplication app(argc, argv);
    const std::string mode = argv[1];
    if (mode == "f9") return firstF9(argv[2]);
    if (mode == "links") return deadLinks(argv[2]);
    return 2;
}
