#include "PictureBoxes.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/pictures/PictureCodecs.h"
#include "platform/pictures/QtPictureCodecs.h"

namespace pictra::ui {

namespace {

// The program's blue ground, Windows colour 9981440 (blue in the high byte).
const QColor kBlueGround(0x00, 0x4E, 0x98);
constexpr int kCached = 24;
// Formats Qt reads whole: larger ones would hold the window up, so they get the placeholder.
constexpr long long kMaxWholePixels = 60LL * 1000 * 1000;
constexpr std::size_t kKeptBufferBytes = 64u << 20;

QString shown(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

QImage placeholder(QSize box, const QString& name) {
    QImage image(box.expandedTo(QSize(60, 40)), QImage::Format_RGB32);
    image.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter painter(&image);
    painter.drawText(image.rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap,
                     name + "\nkann nicht gezeigt werden");
    return image;
}

// The least DCT scale whose picture still covers the picture fitted into the box: stepping
// through 24-megapixel photos then decodes at an eighth, as fast as JPEG can be read at all,
// and the smooth scaling after it only ever shrinks.
int eighthsCovering(int width, int height, QSize box) {
    const QSize fitted = QSize(width, height).scaled(box, Qt::KeepAspectRatio);
    for (int m = 1; m < 8; ++m)
        if ((static_cast<long long>(width) * m + 7) / 8 >= fitted.width() &&
            (static_cast<long long>(height) * m + 7) / 8 >= fitted.height())
            return m;
    return 8;
}

// The file's bytes into a buffer kept from one picture to the next: a fresh one of 8 MB per
// photo would cost more in page faults than the decode at an eighth.
bool readInto(const std::string& path, std::string& buffer) {
    // Only a regular file is read: O_NONBLOCK keeps a FIFO put in its place from holding the window.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    std::size_t filled = 0;
    if (ok) buffer.resize(static_cast<std::size_t>(st.st_size));
    while (ok && filled < buffer.size()) {
        const ssize_t got = ::read(fd, buffer.data() + filled, buffer.size() - filled);
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

// Null when the bytes are a JPEG that cannot be decoded; `jpeg` false when they are no JPEG.
QImage decodeJpegFitting(const std::string& bytes, QSize box, bool& jpeg) {
    jpeg = false;
    try {
        if (const auto size = platform::pictures::jpegSize(bytes)) {
            jpeg = true;
            const int eighths = eighthsCovering(size->first, size->second, box);
            return platform::pictures::toQImage(platform::pictures::decodeJpeg(bytes, eighths).bitmap);
        }
    } catch (const std::exception&) {
        jpeg = true;
    }
    return {};
}

QImage decodeFitting(const std::string& path, QSize box) {
    static std::string bytes;
    if (!readInto(path, bytes)) return {};
    bool jpeg = false;
    const QImage decoded = decodeJpegFitting(bytes, box, jpeg);
    // A huge file once does not keep its buffer for the rest of the run.
    if (bytes.capacity() > kKeptBufferBytes) std::string().swap(bytes);
    if (jpeg) return decoded;
    QImageReader reader(shown(path));
    const QSize full = reader.size();
    if (full.isValid() && static_cast<long long>(full.width()) * full.height() > kMaxWholePixels) return {};
    return reader.read();
}

}  // namespace

void PictureCache::setBox(QSize box) {
    if (box == m_box) return;
    m_box = box;
    m_images.clear();
    m_order.clear();
}

QImage PictureCache::decode(const std::string& path) const {
    const QImage image = decodeFitting(path, m_box);
    if (image.isNull()) return placeholder(m_box, shown(path).section('/', -1));
    return image.scaled(m_box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QImage PictureCache::picture(const std::string& path) {
    const QString key = shown(path);
    if (const auto found = m_images.constFind(key); found != m_images.constEnd()) return *found;
    const QImage image = decode(path);
    m_images.insert(key, image);
    m_order.push_back(key);
    while (m_order.size() > kCached) {
        m_images.remove(m_order.front());
        m_order.pop_front();
    }
    return image;
}

void PictureCache::prefetch(const std::vector<std::string>& paths) {
    m_pending = paths;
    if (m_scheduled) return;
    m_scheduled = true;
    QTimer::singleShot(0, m_owner, [this] { prefetchStep(); });
}

// One picture per turn of the event loop: a key press in between is served first.
void PictureCache::prefetchStep() {
    while (!m_pending.empty() && m_images.contains(shown(m_pending.front()))) m_pending.erase(m_pending.begin());
    if (m_pending.empty()) {
        m_scheduled = false;
        return;
    }
    const std::string next = m_pending.front();
    m_pending.erase(m_pending.begin());
    picture(next);
    QTimer::singleShot(0, m_owner, [this] { prefetchStep(); });
}

PictureBox::PictureBox(const QString& objectName, QWidget* parent) : QLabel(parent) {
    setObjectName(objectName);
    setAlignment(Qt::AlignCenter);
    setMinimumSize(120, 90);
    setFrameShape(QFrame::Panel);
    setCursor(Qt::PointingHandCursor);
}

void PictureBox::showPicture(const std::string& path, PictureCache& cache) {
    m_path = path;
    setPixmap(QPixmap::fromImage(cache.picture(path)));
    setToolTip(shown(path));
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
    QImage image = decodeFitting(path, screen.size());
    if (image.isNull()) image = placeholder(QSize(400, 300), shown(path).section('/', -1));
    else image = image.scaled(screen.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    view->setPixmap(QPixmap::fromImage(image));
    view->setGeometry(screen);
    view->show();
    view->raise();
    view->activateWindow();
}

}  // namespace pictra::ui
