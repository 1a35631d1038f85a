// The overview of a folder's pictures, the clipboard picture and the overlays of
// file name and size.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include "PictureWindow.h"
#include "common/Dialogs.h"
#include "common/Placement.h"
#include "common/PathNames.h"
#include "common/UiText.h"
#include "platform/pictures/PictureFiles.h"
#include "platform/pictures/QtPictureCodecs.h"

namespace pictra::ui {

namespace {

// A file name under its thumbnail; a click shows that picture.
class ThumbnailLabel : public QLabel {
public:
    ThumbnailLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
        : QLabel(text, parent), m_onClick(std::move(onClick)) {
        setCursor(Qt::PointingHandCursor);
        setStyleSheet("background: white; color: black;");
    }

protected:
    void mousePressEvent(QMouseEvent*) override { m_onClick(); }

private:
    std::function<void()> m_onClick;
};

// The thumbnails as one picture, with the file names laid over it.
class OverviewCanvas : public QWidget {
public:
    explicit OverviewCanvas(QImage image) : m_image(std::move(image)) { setFixedSize(m_image.size()); }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, m_image); }

private:
    QImage m_image;
};

}  // namespace

// The overview takes the screen's width and grows downwards row by row; a window
// taller than the screen would leave rows unreachable, so it scrolls instead and
// shows the last rows, as a window moving up with every row would.
void PictureWindow::showOverview() {
    if (m_list.empty()) return;
    hide();
    auto* overview = new QScrollArea(nullptr);
    overview->setWindowFlag(Qt::Window);
    overview->setObjectName("TForm18aimage");
    overview->setAttribute(Qt::WA_DeleteOnClose);
    overview->setFrameShape(QFrame::NoFrame);
    overview->setStyleSheet("QScrollArea { background: red; }");
    const QRect area = availableArea(this);
    const int scrollBar = overview->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int frame = 8;
    const QSize screen = screenSize().boundedTo(area.size() - QSize(frame + scrollBar, frame + 30));
    QImage canvas(screen.width(), screen.height(), QImage::Format_ARGB32);
    canvas.fill(Qt::red);
    std::vector<std::pair<QPoint, std::string>> names;
    int x = 0;
    int y = 0;
    m_dialogs.beginCancelWindow("Überblick");
    for (const std::string& path : m_list) {
        if (x + 150 > canvas.width()) {
            x = 0;
            y += 150;
        }
        if (y + 150 > canvas.height()) {
            QImage taller(canvas.width(), canvas.height() + 150, QImage::Format_ARGB32);
            taller.fill(Qt::red);
            QPainter(&taller).drawImage(0, 0, canvas);
            canvas = taller;
        }
        const std::string name = pathnames::fileNamePart(path);
        if (m_dialogs.stepCancelWindow("Klick auf Dateinahmen zeigt das Bild vergrößert: " + name)) {
            QPainter painter(&canvas);
            painter.setPen(Qt::white);
            painter.drawText(x + 150, y + 50 + 10, "Klick auf den Dateinamen");
            painter.drawText(x + 150, y + 62 + 10, "zeigt das Bild groß.");
            break;
        }
        try {
            const auto picture = platform::pictures::loadFitted(path, 130, 130 * 8);
            QPainter(&canvas).drawImage(x, y, platform::pictures::toQImage(picture.bitmap));
        } catch (const std::exception&) {
            // A picture that cannot be read leaves its cell red.
        }
        names.emplace_back(QPoint(x, y), path);
        x += 150;
    }
    m_dialogs.endCancelWindow();
    auto* shown = new OverviewCanvas(canvas);
    for (const auto& [at, path] : names) {
        const QString name = QFile::decodeName(QByteArray::fromStdString(pathnames::fileNamePart(path)));
        auto* label = new ThumbnailLabel(name, shown, [this, path = path, overview] {
            overview->close();
            showPictureFile(path, {});
        });
        label->move(at);
    }
    overview->setWidget(shown);
    const bool scrolls = canvas.height() > area.height() - frame - 30;
    placeOnScreen(overview, QRect(area.topLeft(), QSize(canvas.width() + (scrolls ? scrollBar : 0), canvas.height())));
    overview->show();
    overview->verticalScrollBar()->setValue(overview->verticalScrollBar()->maximum());
}

void PictureWindow::showClipboardPicture() {
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    if (!clip || clip->formats().isEmpty()) {
        m_dialogs.inform("Zwischenablage ist leer");
        return;
    }
    if (!clip->hasImage() && clip->hasText()) {
        m_dialogs.inform("Zwischeablage enthält den Text \r" + u(clip->text().left(500)) + "...");
        return;
    }
    const QImage image = qvariant_cast<QImage>(clip->imageData());
    if (image.isNull()) {
        m_dialogs.inform("Kein Bild in der Zwischenablage!");
        return;
    }
    m_source = platform::pictures::fromQImage(image);
    m_sourceLoaded = true;
    m_sourceSize = {m_source.width(), m_source.height()};
    m_message = QImage();
    m_path = (m_path.empty() ? std::string() : pathnames::folderOf(m_path) + "/") + "zwischenablage.jpg";
    redisplay(true);
    show();
    raise();
}

// "Dateinamen einblenden" and "Größe einblenden", at the top left in black on white.
void PictureWindow::paintOverlay(QPainter& painter) {
    if (!m_showName && !m_showSize) return;
    std::string text = pathnames::fileNamePart(m_path);
    if (m_showSize) text += " " + std::to_string(m_sourceSize.width) + "x" + std::to_string(m_sourceSize.height);
    QFont font = painter.font();
    font.setPointSize(10);
    painter.setFont(font);
    const QString shown = QFile::decodeName(QByteArray::fromStdString(text));
    const QRect box = painter.fontMetrics().boundingRect(shown).adjusted(-2, 0, 2, 0).translated(2, painter.fontMetrics().ascent());
    painter.fillRect(box, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(2, painter.fontMetrics().ascent(), shown);
}

}  // namespace pictra::ui
