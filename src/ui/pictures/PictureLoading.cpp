// Loading the picture window's pictures: decodes on worker threads (the current
// picture and its neighbours), the message picture and the questions after a load.
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "CaptionDialog.h"
#include "PictureWindow.h"
#include "common/PathNames.h"
#include "platform/pictures/CaptionDrawing.h"
#include "common/Dialogs.h"
#include "common/UiText.h"
#include "pictures/captions/Captions.h"
#include "pictures/PictureNames.h"
#include "pictures/Resampler.h"
#include "pictures/editing/Orientation.h"
#include "platform/pictures/PictureExif.h"
#include "platform/pictures/QtPictureCodecs.h"
#include "settings/SettingsStore.h"

namespace pictra::ui {

namespace fs = std::filesystem;

namespace {

// Every 5 s of waiting for a picture, the user is asked whether to go on.
constexpr qint64 kQuestionAfterMs = 5000;
// A load that takes longer opens the cancel window "Bild wird geladen".
constexpr qint64 kCancelWindowAfterMs = 500;

// Bytes that neither the own readers nor Qt's know as any picture format.
bool noPictureBytes(const std::string& path) {
    char first[16] = {};
    std::ifstream in(path, std::ios::binary);
    in.read(first, sizeof first);
    if (pictures::signatureOf(std::string_view(first, static_cast<size_t>(in.gcount()))) != pictures::Signature::Unknown) {
        return false;
    }
    return QImageReader::imageFormat(QFile::decodeName(QByteArray::fromStdString(path))).isEmpty();
}

std::string cannotLoadQuestion(const std::string& path) {
    return "Kann Bild nicht laden!\rDatei\r" + path + "\rist keine Bilddatei oder beschädigt.\r\r" +
           "Soll die Datei als Textdatei gelesen werden, soweit möglich.\r" +
           "Vielleicht gibt das einen Hinweis, um was für eine Datei es sich handelt.\r" +
           "Durch umbenennen als .TXT, .DOC, .PDF etc. ist es vielleicht möglich die Datei zu öffnen.";
}

}  // namespace

std::shared_ptr<platform::pictures::PictureJob> PictureWindow::startJob(const std::string& path) {
    const QSize screen = screenSize();
    const bool shrink = m_shrinkLarge;
    return std::make_shared<platform::pictures::PictureJob>(
        [loader = m_loader, path, screen, shrink] { return loader(path, screen, shrink); });
}

// The fitted picture, from a prefetch when one is ready or under way. A picture
// still being decoded never blocks the window: it is shown when it is ready, and
// stepping on or Esc stay possible meanwhile.
void PictureWindow::load(const std::string& path) {
    m_path = path;
    m_pending.clear();
    endLoadingWindow();
    m_markingValid = false;
    m_corner0 = m_corner1 = QPoint(-1, -1);
    m_sourceLoaded = false;
    m_cutMade = false;
    m_message = QImage();
    if (!fs::exists(path)) {
        showMessagePicture("Bild kann nicht gezeigt werden", path);
        m_dialogs.inform("Datei \"" + path + "\" exitsiert nicht (mehr)!");
        return;
    }
    auto& job = m_prefetched[path];
    if (!job) job = startJob(path);
    m_pending = path;
    m_pendingSince.start();
    m_pendingQuestions = 0;
    if (job->ready()) {
        present(path);
        return;
    }
    if (m_hooks.showStatus) m_hooks.showStatus("Bild wird geladen");
    m_poll->start();
}

void PictureWindow::present(const std::string& path) {
    m_pending.clear();
    const auto it = m_prefetched.find(path);
    if (it == m_prefetched.end()) return;
    bool damaged = false;
    try {
        const platform::pictures::LoadedPicture& picture = it->second->result();
        m_sourceSize = {picture.fullWidth, picture.fullHeight};
        m_exif = picture.exif;
        m_display = picture.bitmap;
        damaged = picture.damaged;
        if (pictures::captions::isCaptionFile(path)) {
            platform::pictures::drawCaptionFile(m_display, path, captionDefaults(m_store));
        }
    } catch (const std::exception& e) {
        showMessagePicture("Bild kann nicht gezeigt werden", path);
        if (pictures::captions::isCaptionFile(path)) {
            m_dialogs.inform("\"" + path + "\"\r" + e.what());
            return;
        }
        if (noPictureBytes(path)) {
            m_dialogs.inform("\"" + path + "\" ist wahrscheinlich keine Bilddatei!\"");
        } else {
            cannotLoad(path, e.what());
        }
        // The bytes may still be a picture of another format than the name says.
        if (fs::exists(path)) checkExtension(path);
        return;
    }
    const bool tiny = m_display.width() < 20 || m_display.height() < 20;
    resize(std::max(m_display.width(), tiny ? 200 : 0), std::max(m_display.height(), tiny ? 200 : 0));
    placeCentred();
    update();
    // A picture whose data ended early stays shown as far as it goes, under the message.
    if (damaged) {
        cannotLoad(path, "");
    } else {
        checkExtension(path);
    }
}

void PictureWindow::cannotLoad(const std::string& path, const std::string& reason) {
    if (m_hooks.showStatus) m_hooks.showStatus(reason.empty() ? "Hat nicht geklappt!" : "Hat nicht geklappt! " + reason);
    if (m_dialogs.ask(cannotLoadQuestion(path)) == Answer::Yes && m_hooks.textPreview) m_hooks.textPreview(path);
}

void PictureWindow::pollPending() {
    if (m_pending.empty()) {
        m_poll->stop();
        return;
    }
    const auto it = m_prefetched.find(m_pending);
    if (it == m_prefetched.end()) {
        m_pending.clear();
        return;
    }
    if (!it->second->ready()) {
        const qint64 waited = m_pendingSince.elapsed();
        if (waited >= kCancelWindowAfterMs) {
            if (!m_loadingWindow) {
                m_loadingWindow = true;
                m_dialogs.beginCancelWindow("Bild wird geladen");
            }
            if (m_dialogs.stepCancelWindow(std::to_string(waited / 1000))) {
                endLoadingWindow();
                abandonPending("Bild wurde nicht geladen");
                return;
            }
        }
        if (waited < kQuestionAfterMs * (m_pendingQuestions + 1)) return;
        ++m_pendingQuestions;
        const std::string path = m_pending;
        m_poll->stop();
        const Answer answer = m_dialogs.ask(
            "Datei ist wahrscheinlich keine Bilddatei.\rWird eine diesbezügliche Meldung ausgegeben?\rAbbrechen?");
        if (m_pending != path) return;  // another picture was chosen meanwhile
        if (answer == Answer::Yes) {
            abandonPending("Bild kann nicht gezeigt werden");
            return;
        }
        m_poll->start();
        return;
    }
    const std::string path = m_pending;  // present() clears it
    endLoadingWindow();
    present(path);
    prefetchNeighbours();
}

void PictureWindow::endLoadingWindow() {
    if (!m_loadingWindow) return;
    m_loadingWindow = false;
    m_dialogs.endCancelWindow();
}

// The picture waited for is given up; its decoder stops at its next row band.
void PictureWindow::abandonPending(const std::string& message) {
    endLoadingWindow();
    const std::string path = m_pending;
    m_pending.clear();
    m_prefetched.erase(path);
    showMessagePicture(message, path);
    if (m_hooks.showStatus) m_hooks.showStatus(message);
}

void PictureWindow::showMessagePicture(const std::string& line1, const std::string& line2) {
    m_display = pictures::viewer::messagePicture();
    m_message = platform::pictures::toQImage(m_display);
    QPainter painter(&m_message);
    QFont font("MS Sans Serif", 12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(20, 16 + 12, q(line1));
    painter.drawText(20, 40 + 12, QFile::decodeName(QByteArray::fromStdString(line2)));
    painter.end();
    m_sourceSize = {600, 300};
    resize(600, 300);
    placeCentred();
    update();
}

// A picture whose bytes say another format than its name: offered to be renamed.
void PictureWindow::checkExtension(const std::string& path) {
    char first[16] = {};
    std::ifstream in(path, std::ios::binary);
    in.read(first, sizeof first);
    const auto wrong = pictures::wrongExtension(path, std::string_view(first, static_cast<size_t>(in.gcount())));
    if (!wrong || m_dialogs.ask(wrong->question) != Answer::Yes) return;
    std::error_code ec;
    if (fs::exists(wrong->newPath, ec) || (fs::rename(path, wrong->newPath, ec), ec)) {
        m_dialogs.inform("Konnte die Datei nicht umbennen.  Evtl. ist eine Datei mit dem Namen\r" + wrong->newPath +
                         "\r schon vorhanden.");
        return;
    }
    for (auto& entry : m_list) {
        if (entry == path) entry = wrong->newPath;
    }
    if (auto job = m_prefetched.find(path); job != m_prefetched.end()) {
        m_prefetched[wrong->newPath] = job->second;
        m_prefetched.erase(path);
    }
    m_path = wrong->newPath;
    m_store.writeValue("SectBild", "SchlBild", m_path);
    if (m_hooks.refreshExplorer) m_hooks.refreshExplorer(m_path);
}

void PictureWindow::ensureSource() {
    if (m_sourceLoaded) return;
    // An edit while the picture is still being decoded takes the full picture at
    // once, and the display follows it, so that both agree.
    const bool waited = !m_pending.empty();
    m_pending.clear();
    endLoadingWindow();
    try {
        // A caption file stands for its picture, with the caption drawn in as on the screen.
        const bool caption = pictures::captions::isCaptionFile(m_path);
        auto picture = platform::pictures::loadPicture(caption ? platform::pictures::pictureOfCaption(m_path) : m_path);
        m_source = std::move(picture.bitmap);
        m_exif = picture.exif;
        pictures::editing::orientUpright(m_source, platform::pictures::exifOrientation(m_exif));
        if (caption) platform::pictures::drawCaptionFile(m_source, m_path, captionDefaults(m_store));
    } catch (const std::exception&) {
        m_source = m_display;
    }
    m_sourceSize = {m_source.width(), m_source.height()};
    m_sourceLoaded = true;
    if (waited) redisplay(false);
}

void PictureWindow::redisplay(bool fullSize) {
    const QSize screen = screenSize();
    showSourceAt(pictures::viewer::displaySize(m_sourceSize, {screen.width(), screen.height()}, fullSize, m_shrinkLarge));
}

// Lanczos when shrinking, Mitchell when enlarging; the window takes the size.
void PictureWindow::showSourceAt(pictures::viewer::Size d) {
    m_message = QImage();
    m_display = pictures::resized(m_source, d.width, d.height,
                                  d.width <= m_source.width() ? pictures::StretchFilter::Lanczos
                                                               : pictures::StretchFilter::Mitchell);
    resize(d.width, d.height);
    placeCentred();
    update();
}

void PictureWindow::placeCentred() {
    const QSize screen = screenSize();
    move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
}

// The neighbours are decoded ahead, except a picture whose header claims more
// than the budget: that one is only ever refused when it is chosen.
void PictureWindow::prefetchNeighbours() {
    std::vector<std::string> keep = {m_path};
    for (bool forward : {true, false}) {
        const auto s = pictures::viewer::step(m_list, m_path, forward);
        if (!s) continue;
        const std::string next = m_list[static_cast<size_t>(s->index)];
        keep.push_back(next);
        if (m_prefetched.count(next) || platform::pictures::beyondBudget(next)) continue;
        m_prefetched[next] = startJob(next);
    }
    dropPrefetchesBut(keep);
}

// At most the current picture and its two neighbours stay decoded; one still being
// decoded is let go without waiting for it.
void PictureWindow::dropPrefetchesBut(const std::vector<std::string>& keep) {
    for (auto it = m_prefetched.begin(); it != m_prefetched.end();) {
        if (std::find(keep.begin(), keep.end(), it->first) == keep.end()) {
            it = m_prefetched.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace pictra::ui
