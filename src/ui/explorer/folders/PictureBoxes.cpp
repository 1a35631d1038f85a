#include "PictureBoxes.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

#include "common/LargeBuffer.h"
#include "platform/pictures/JpegPreview.h"
#include "platform/pictures/PictureCodecs.h"

namespace pictra::ui {

namespace {

// The program's blue ground, Windows colour 9981440 (blue in the high byte).
const QColor kBlueGround(0x00, 0x4E, 0x98);
constexpr int kCached = 24;
// Formats Qt reads whole: larger ones would hold the window up, so they get the placeholder.
constexpr long long kMaxWholePixels = 60LL * 1000 * 1000;
constexpr std::size_t kKeptBufferBytes = 64u << 20;
constexpr std::size_t kBufferStep = 2u << 20;

QString shown(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

QImage placeholder(QSize box, const QString& name) {
    QImage image(box.expandedTo(QSize(60, 40)), QImage::Format_RGB32);
    image.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter painter(&image);
    painter.drawText(image.rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap,
                     name + "\nkann nicht gezeigt werden");
    return image;
}

// The file's bytes into a buffer kept from one picture to the next, on large pages: a fresh
// buffer of 8 MB per photo costs more in page faults than reading it.
bool readInto(const std::string& path, std::string& buffer) {
    // Only a regular file is read: O_NONBLOCK keeps a FIFO put in its place from holding the window.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    const auto size = ok ? static_cast<std::size_t>(st.st_size) : std::size_t{0};
    if (size > buffer.capacity()) {
        // Rounded up, so that the next photo, a little larger, still fits.
        std::string().swap(buffer);
        common::reserveLarge(buffer, (size + kBufferStep - 1) / kBufferStep * kBufferStep);
    }
    buffer.resize(size);
    std::size_t filled = 0;
    while (ok && filled < size) {
        const ssize_t got = ::read(fd, buffer.data() + filled, size - filled);
        if (got <= 0) {
            ok = got == 0;  // shortened meanwhile: what is there
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    ::close(fd);
    buffer.resize(filled);
    return ok;
}

// The picture at the least size that still covers the box; null when it cannot be shown.
QImage decodeFitting(const std::string& path, QSize box) {
    thread_local std::string bytes;
    struct Trim {
        std::string& kept;
        // A huge file once does not keep its buffer for the rest of the run.
        ~Trim() {
            if (kept.capacity() > kKeptBufferBytes) std::string().swap(kept);
        }
    } trim{bytes};
    if (!readInto(path, bytes)) return {};
    if (auto jpeg = platform::pictures::decodeJpegPreview(bytes, box)) return std::move(*jpeg);
    QImageReader reader(shown(path));
    const QSize full = reader.size();
    if (full.isValid() && static_cast<long long>(full.width()) * full.height() > kMaxWholePixels) return {};
    return reader.read();
}

// Null when the picture cannot be shown. Throws DecodeAbandoned on a thread whose flag is raised.
QImage fittedPicture(const std::string& path, QSize box) {
    try {
        const QImage image = decodeFitting(path, box);
        return image.isNull() ? image : image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    } catch (const platform::pictures::DecodeAbandoned&) {
        throw;
    } catch (const std::exception&) {
        return {};
    }
}

unsigned aheadThreads() { return std::clamp(std::thread::hardware_concurrency(), 1u, 2u); }

}  // namespace

// The decodes ahead: each thread takes the nearest neighbour not yet asked for.
struct PictureCache::Ahead {
    struct Done {
        QString key;
        QSize box;
        QImage image;
    };
    std::mutex mutex;
    std::condition_variable wake;      // for the threads: work, or the end
    std::condition_variable finished;  // for the window: a decode ended
    std::deque<std::string> queue;
    QSize box;
    bool stop = false;
    std::vector<Done> done;
    std::vector<std::string> busy;  // per thread: the path being decoded, empty when idle
    std::unique_ptr<std::atomic<bool>[]> abandon;
    std::unique_ptr<std::atomic<bool>[]> hold;
    std::vector<std::thread> threads;

    explicit Ahead(QSize size)
        : box(size),
          busy(aheadThreads()),
          abandon(new std::atomic<bool>[aheadThreads()]),
          hold(new std::atomic<bool>[aheadThreads()]) {
        for (std::size_t i = 0; i < busy.size(); ++i) {
            abandon[i] = false;
            hold[i] = false;
            threads.emplace_back([this, i] { run(i); });
        }
    }
    ~Ahead() {
        {
            std::lock_guard lock(mutex);
            stop = true;
            giveUp();
        }
        wake.notify_all();
        for (auto& thread : threads) thread.join();
    }
    bool busyWith(const std::string& path) const {
        return std::find(busy.begin(), busy.end(), path) != busy.end();
    }
    // Under the lock: the picture wanted now, being decoded, gets the cores to itself until it is done.
    // On a busy machine the other decodes would otherwise halve its share.
    void waitFor(const std::string& path, std::unique_lock<std::mutex>& lock) {
        for (std::size_t i = 0; i < busy.size(); ++i) hold[i] = busy[i] != path;
        finished.wait(lock, [&] { return !busyWith(path); });
        for (std::size_t i = 0; i < busy.size(); ++i) hold[i] = false;
    }
    // Under the lock: nothing queued any longer, and the running decodes stop at their next row band.
    void giveUp() {
        queue.clear();
        for (std::size_t i = 0; i < busy.size(); ++i)
            if (!busy[i].empty()) abandon[i] = true;
    }
    void run(std::size_t self) {
        platform::pictures::setDecodeAbandonFlag(&abandon[self]);
        platform::pictures::setPreviewHoldFlag(&hold[self]);
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return stop || !queue.empty(); });
            if (stop) break;
            const std::string path = queue.front();
            queue.pop_front();
            const QSize size = box;
            busy[self] = path;
            abandon[self] = false;
            lock.unlock();
            std::optional<QImage> image;
            try {
                image = fittedPicture(path, size);
            } catch (const platform::pictures::DecodeAbandoned&) {
            }
            lock.lock();
            busy[self].clear();
            if (image) done.push_back({shown(path), size, std::move(*image)});
            finished.notify_all();
        }
        platform::pictures::setDecodeAbandonFlag(nullptr);
        platform::pictures::setPreviewHoldFlag(nullptr);
    }
};

PictureCache::PictureCache(QSize box) : m_box(box), m_ahead(std::make_unique<Ahead>(box)) {}

PictureCache::~PictureCache() = default;

void PictureCache::setBox(QSize box) {
    if (box == m_box) return;
    m_box = box;
    m_images.clear();
    m_order.clear();
    std::lock_guard lock(m_ahead->mutex);
    m_ahead->box = box;
    m_ahead->giveUp();
}

void PictureCache::keep(const QString& key, const QImage& image) {
    if (m_images.contains(key)) return;
    m_images.insert(key, image.isNull() ? placeholder(m_box, key.section('/', -1)) : image);
    m_order.push_back(key);
    while (m_order.size() > kCached) {
        m_images.remove(m_order.front());
        m_order.pop_front();
    }
}

void PictureCache::takeFinished() {
    std::vector<Ahead::Done> done;
    {
        std::lock_guard lock(m_ahead->mutex);
        done.swap(m_ahead->done);
    }
    for (const auto& picture : done)
        if (picture.box == m_box) keep(picture.key, picture.image);
}

QImage PictureCache::picture(const std::string& path) {
    const QString key = shown(path);
    takeFinished();
    if (const auto found = m_images.constFind(key); found != m_images.constEnd()) return *found;
    {
        std::unique_lock lock(m_ahead->mutex);
        if (m_ahead->busyWith(path)) {
            m_ahead->waitFor(path, lock);
        } else {
            // A jump, not a step: the neighbours of the old place are no longer wanted.
            m_ahead->giveUp();
        }
    }
    takeFinished();
    if (!m_images.contains(key)) keep(key, fittedPicture(path, m_box));
    return m_images.value(key);
}

bool PictureCache::ready(const std::string& path) {
    takeFinished();
    return m_images.contains(shown(path));
}

void PictureCache::prefetch(const std::vector<std::string>& paths) {
    takeFinished();
    {
        std::lock_guard lock(m_ahead->mutex);
        m_ahead->queue.clear();
        for (const auto& path : paths)
            if (!m_images.contains(shown(path)) && !m_ahead->busyWith(path)) m_ahead->queue.push_back(path);
    }
    m_ahead->wake.notify_all();
}

PictureBox::PictureBox(const QString& objectName, QWidget* parent) : QLabel(parent) {
    setObjectName(objectName);
    setAlignment(Qt::AlignCenter);
    setMinimumSize(120, 90);
    setFrameShape(QFrame::Panel);
    setCursor(Qt::PointingHandCursor);
    // The boxes share the room the layout has; a picture never widens the window nor is cut.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

void PictureBox::showPicture(const std::string& path, PictureCache& cache) {
    m_path = path;
    m_image = cache.picture(path);
    fit();
    setToolTip(shown(path));
}

void PictureBox::fit() {
    if (m_image.isNull()) return;
    const QSize room = contentsRect().size();
    const bool tooLarge = m_image.width() > room.width() || m_image.height() > room.height();
    setPixmap(QPixmap::fromImage(tooLarge && !room.isEmpty()
                                     ? m_image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                     : m_image));
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fit();
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    QLabel::mousePressEvent(event);
    if (!m_path.empty()) ui::showFullScreen(m_path, window());
}

namespace {

class FullScreenView : public QLabel {
public:
    explicit FullScreenView(QWidget* parent) : QLabel(parent, Qt::Window | Qt::FramelessWindowHint) {
        setObjectName("Vollbild");
        setAttribute(Qt::WA_DeleteOnClose);
        setAlignment(Qt::AlignCenter);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, kBlueGround);
        setPalette(p);
    }

protected:
    void mousePressEvent(QMouseEvent*) override { close(); }
    void keyPressEvent(QKeyEvent*) override { close(); }
};

}  // namespace

void showFullScreen(const std::string& path, QWidget* parent) {
    auto* view = new FullScreenView(parent);
    const QRect screen = (parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen())->geometry();
    QImage image = fittedPicture(path, screen.size());
    if (image.isNull()) image = placeholder(QSize(400, 300), shown(path).section('/', -1));
    view->setPixmap(QPixmap::fromImage(image));
    view->setGeometry(screen);
    view->show();
    view->raise();
    view->activateWindow();
}

}  // namespace pictra::ui
