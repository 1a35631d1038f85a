#include "BrowserLinkCheck.h"

#include <algorithm>

#include <QListWidget>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "common/Codec.h"
#include "common/Dialogs.h"
#include "common/Placement.h"
#include "common/UiText.h"
#include "html/BrowserWindow.h"

namespace pictra::ui {

namespace {

// What Qt keeps open to one server per network manager.
constexpr int kConnectionsPerServer = 6;

}  // namespace

LinkTestWindow::LinkTestWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("FormLinktest");
    setWindowTitle(preview::kDeadLinkWindowTitle);
    auto* layout = new QVBoxLayout(this);
    auto* split = new QSplitter(Qt::Vertical, this);
    m_links = new QListWidget(split);
    m_links->setObjectName("ListeLinks");
    m_source = new QPlainTextEdit(split);
    m_source->setObjectName("MemoQuelltext");
    m_source->setReadOnly(true);
    layout->addWidget(split);
    resizeOnScreen(this, QSize(700, 500));
}

void LinkTestWindow::showLink(const std::string& link, const std::string& text) {
    m_links->insertItem(0, q(link));
    // Pages come in any encoding; what is not UTF-8 is shown as Windows-1252.
    m_source->setPlainText(codec::isValidUtf8(text) ? q(text) : fromCp1252(text));
}

DeadLinkRun::DeadLinkRun(std::set<std::string>& tested, Dialogs& dialogs, LinkFetchLimits limits, QWidget* windowParent)
    : QObject(windowParent), m_check(tested, dialogs), m_dialogs(dialogs), m_limits(limits),
      m_window(new LinkTestWindow(windowParent)), m_poll(new QTimer(this)) {
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    const int networks = std::max(1, (m_limits.parallel + kConnectionsPerServer - 1) / kConnectionsPerServer);
    for (int i = 0; i < networks; ++i) m_networks.push_back(new QNetworkAccessManager(this));
    m_running.assign(m_networks.size(), 0);
    m_poll->setInterval(100);
    connect(m_poll, &QTimer::timeout, this, [this] { pollCancel(); });
}

DeadLinkRun::~DeadLinkRun() {
    // The browser window closed in the middle of a run: nothing more is recorded or asked.
    const bool running = !m_finished;
    m_finished = true;
    for (auto& slot : m_slots) {
        if (slot.reply) slot.reply->abort();
    }
    if (running && m_dialogs.cancelWindowVisible()) m_dialogs.endCancelWindow();
}

void DeadLinkRun::start(const std::vector<std::string>& pageLinks) {
    for (const auto& link : m_check.select(pageLinks)) m_slots.emplace_back().link = link;
    m_window->show();
    if (m_slots.empty()) {
        finish(std::nullopt);
        return;
    }
    m_dialogs.beginCancelWindow(m_slots.front().link);
    m_poll->start();
    startMore();
}

// At most `parallel` fetches run, none further ahead of the recorded ones than `ahead`.
void DeadLinkRun::startMore() {
    size_t running = 0;
    for (size_t i = m_next; i < m_started; ++i) running += m_slots[i].result ? 0 : 1;
    const auto limit = static_cast<size_t>(m_limits.parallel);
    const auto ahead = static_cast<size_t>(std::max(m_limits.ahead, m_limits.parallel));
    while (m_started < m_slots.size() && running < limit && m_started < m_next + ahead) {
        fetch(m_started++);
        ++running;
    }
}

size_t DeadLinkRun::leastBusyNetwork() const {
    return static_cast<size_t>(std::min_element(m_running.begin(), m_running.end()) - m_running.begin());
}

void DeadLinkRun::fetch(size_t index) {
    Slot& slot = m_slots[index];
    slot.network = leastBusyNetwork();
    ++m_running[slot.network];
    QNetworkRequest request(QUrl::fromUserInput(q(slot.link)));
    request.setTransferTimeout(m_limits.timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(10);
    slot.clock.start();
    QNetworkReply* reply = m_networks[slot.network]->get(request);
    slot.reply = reply;
    connect(reply, &QNetworkReply::readyRead, this, [this, index, reply] {
        Slot& s = m_slots[index];
        const qint64 room = static_cast<qint64>(preview::kLinkReadLimit) - s.data.size();
        s.data += reply->read(std::max<qint64>(room, 0));
        if (s.data.size() >= static_cast<qint64>(preview::kLinkReadLimit) && !s.capped) {
            // Enough to judge the link: the rest of a large answer is not waited for.
            s.capped = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, index] { finishFetch(index); });
}

void DeadLinkRun::finishFetch(size_t index) {
    Slot& slot = m_slots[index];
    QNetworkReply* reply = slot.reply;
    if (!reply || slot.result) return;
    --m_running[slot.network];
    if (!slot.capped) slot.data += reply->read(static_cast<qint64>(preview::kLinkReadLimit) - slot.data.size());
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    preview::LinkFetch result;
    result.loaded = slot.capped || (reply->error() == QNetworkReply::NoError && status < 400);
    result.head = slot.data.toStdString();
    result.slow = slot.clock.elapsed() > m_limits.slowMs;
    slot.result = result;
    reply->deleteLater();
    slot.reply = nullptr;
    recordReady();
    if (!m_finished) startMore();
}

void DeadLinkRun::recordReady() {
    if (m_recording || m_finished) return;
    m_recording = true;
    while (m_next < m_slots.size() && m_slots[m_next].result) {
        const Slot& slot = m_slots[m_next];
        if (m_window) m_window->showLink(slot.link, preview::LinkCheck::shownText(slot.link, *slot.result));
        if (!m_check.record(slot.link, *slot.result)) {
            m_recording = false;
            finish(slot.link);
            return;
        }
        ++m_next;
    }
    m_recording = false;
    if (m_next == m_slots.size()) finish(std::nullopt);
}

void DeadLinkRun::pollCancel() {
    if (m_finished || m_recording || m_next >= m_slots.size()) return;
    const std::string link = m_slots[m_next].link;
    if (m_dialogs.stepCancelWindow(link)) finish(link);
}

void DeadLinkRun::finish(const std::optional<std::string>& cancelledAt) {
    if (m_finished) return;
    m_finished = true;
    m_poll->stop();
    for (auto& slot : m_slots) {
        if (slot.reply) slot.reply->abort();
    }
    if (m_dialogs.cancelWindowVisible()) m_dialogs.endCancelWindow();
    if (cancelledAt) {
        m_dialogs.showText(preview::kDeadLinksCancelledTitle, m_check.cancelledReport(*cancelledAt));
    } else {
        m_dialogs.showText(preview::kDeadLinksTitle, m_check.report());
    }
    if (ended) ended();
}

void checkDeadLinks(BrowserWindow& browser, std::set<std::string>& tested, Dialogs& dialogs, LinkFetchLimits limits) {
    QPointer<BrowserWindow> guarded(&browser);
    browser.whenLoaded([guarded, &tested, &dialogs, limits] {
        if (!guarded) return;
        guarded->view()->page()->runJavaScript(
            "Array.from(document.links).map(function (a) { return a.href; })",
            [guarded, &tested, &dialogs, limits](const QVariant& result) {
                if (!guarded) return;
                std::vector<std::string> links;
                for (const QString& link : result.toStringList()) links.push_back(u(link));
                auto* run = new DeadLinkRun(tested, dialogs, limits, guarded);
                run->setObjectName("DeadLinkRun");
                run->ended = [run] { run->deleteLater(); };
                run->start(links);
            });
    });
}

}  // namespace pictra::ui
