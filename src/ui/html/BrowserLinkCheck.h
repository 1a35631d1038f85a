#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "html/preview/LinkCheck.h"

class QListWidget;
class QNetworkAccessManager;
class QNetworkReply;
class QPlainTextEdit;
class QTimer;

namespace pictra {
class Dialogs;
}

namespace pictra::ui {

// Limits of one link fetch; tests shorten the waits.
struct LinkFetchLimits {
    // A page's links are mostly on its own server, and Qt keeps at most six
    // connections to one server per network manager, so the fetches are spread over
    // two managers. Twelve at a time hide most of the 40 ms that a server writing
    // head and body apart (without TCP_NODELAY) loses per answer to the delayed ACK on
    // a kept-alive connection; more only crowd a small server's queue of new connections.
    int parallel = 12;
    int timeoutMs = 10000;
    int slowMs = 1000;
    // How far fetching may run ahead of the recorded links: a slow link in front
    // does not hold the next ones back, and the answers kept waiting stay small.
    int ahead = 64;
};

// The window `FormLinktest` that shows the source of each tested link.
class LinkTestWindow : public QDialog {
    Q_OBJECT
public:
    explicit LinkTestWindow(QWidget* parent = nullptr);
    void showLink(const std::string& link, const std::string& text);
    QListWidget* links() const { return m_links; }
    QPlainTextEdit* source() const { return m_source; }

private:
    QListWidget* m_links;
    QPlainTextEdit* m_source;
};

// One run of "Tote Links suchen": fetches the links a few ahead on Qt Network,
// reads at most 64 KB of each, and records the results in page order.
class DeadLinkRun : public QObject {
    Q_OBJECT
public:
    DeadLinkRun(std::set<std::string>& tested, Dialogs& dialogs, LinkFetchLimits limits, QWidget* windowParent);
    ~DeadLinkRun() override;

    void start(const std::vector<std::string>& pageLinks);
    bool finished() const { return m_finished; }
    LinkTestWindow* window() const { return m_window; }
    // Called once the run has ended (finished or cancelled).
    std::function<void()> ended;

private:
    struct Slot {
        std::string link;
        QPointer<QNetworkReply> reply;
        size_t network = 0;
        QElapsedTimer clock;
        QByteArray data;
        bool capped = false;
        std::optional<preview::LinkFetch> result;
    };
    void startMore();
    size_t leastBusyNetwork() const;
    void fetch(size_t index);
    void finishFetch(size_t index);
    void recordReady();
    void pollCancel();
    void finish(const std::optional<std::string>& cancelledAt);

    preview::LinkCheck m_check;
    Dialogs& m_dialogs;
    LinkFetchLimits m_limits;
    std::vector<QNetworkAccessManager*> m_networks;
    std::vector<int> m_running;  // fetches under way per manager
    QPointer<LinkTestWindow> m_window;
    QTimer* m_poll;
    std::vector<Slot> m_slots;
    size_t m_next = 0;
    size_t m_started = 0;
    bool m_recording = false;
    bool m_finished = false;
};

class BrowserWindow;

// "Tote Links suchen" on the page the window shows (its links taken from the page itself).
void checkDeadLinks(BrowserWindow& browser, std::set<std::string>& tested, Dialogs& dialogs, LinkFetchLimits limits);

}  // namespace pictra::ui
