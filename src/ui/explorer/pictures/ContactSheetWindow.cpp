#include "ContactSheetWindow.h"

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>

#include "common/FileIo.h"
#include "common/PathNames.h"
#include "platform/pictures/PictureCodecs.h"
#include "platform/pictures/QtPictureCodecs.h"
#include "tools/Tones.h"

namespace pictra::ui {

namespace {

namespace batch = pictures::batch;

// The sheet as one picture; clicks go to the window.
class SheetCanvas : public QLabel {
public:
    SheetCanvas(ContactSheetWindow* window, std::function<void(const std::string&)> open)
        : QLabel(window), m_window(window), m_open(std::move(open)) {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        const std::string path = m_window->thumbAt(event->position().toPoint());
        if (!path.empty() && m_open)
            m_open(path);
    }

private:
    ContactSheetWindow* m_window;
    std::function<void(const std::string&)> m_open;
};

}  // namespace

void ContactSheetWindow::tellEnd(batch::SheetEnd end, Tones& tones) {
    if (end != batch::SheetEnd::Full) {
        tones.tone(440);
        return;
    }
    auto* note = new QMessageBox(QMessageBox::Information, "Überblick",
                                 QString::fromUtf8(batch::kSheetFullNote).replace('\r', '\n'), QMessageBox::Ok, this);
    note->setObjectName("UeberblickHinweis");
    note->setAttribute(Qt::WA_DeleteOnClose);
    note->setModal(false);
    note->show();
}

ContactSheetWindow::ContactSheetWindow(std::function<void(const std::string&)> open, std::function<void()> next,
                                       QWidget* parent)
    : QScrollArea(parent), m_open(std::move(open)), m_next(std::move(next)) {
    setWindowFlag(Qt::Window);
    setObjectName("Ueberblick");
    setWindowTitle("Überblick über Bilder");
    setFrameShape(QFrame::NoFrame);
    setStyleSheet("QScrollArea { background: red; }");
    setWidget(new SheetCanvas(this, m_open));
    // The scroll area would take the arrow key for itself.
    auto* down = new QShortcut(QKeySequence(Qt::Key_Down), this);
    down->setContext(Qt::WindowShortcut);
    connect(down, &QShortcut::activated, this, [this] {
        if (m_next)
            m_next();
    });
}

void ContactSheetWindow::showSheet(const QImage& sheet, std::vector<batch::SheetThumb> thumbs, int cell) {
    m_sheet = sheet;
    m_thumbs = std::move(thumbs);
    m_cell = cell;
    auto* canvas = static_cast<QLabel*>(widget());
    canvas->setPixmap(QPixmap::fromImage(m_sheet));
    canvas->resize(m_sheet.size());
    const QScreen* screen = QApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(m_sheet.width(), area.width()), std::min(m_sheet.height(), area.height() - 30));
    move(area.topLeft());
    verticalScrollBar()->setValue(0);
    show();
    raise();
    activateWindow();
}

std::string ContactSheetWindow::thumbAt(QPoint at) const {
    for (const auto& thumb : m_thumbs) {
        if (QRect(thumb.x, thumb.y, m_cell, m_cell).contains(at))
            return thumb.path;
    }
    return {};
}

void SheetImagePainter::begin(int width, int height) {
    image = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    image.fill(Qt::red);
}

bool SheetImagePainter::draw(const std::string& path, int x, int y, int cell) {
    const QString name = QFile::decodeName(QByteArray::fromStdString(path));
    const QSize full = QImageReader(name).size();
    const auto bytes = fileio::readFile(path);
    if (!full.isValid() || !bytes)
        return false;
    QImage thumb;
    try {
        const int denominator = batch::decodeDenominator(full.width(), cell);
        thumb = platform::pictures::toQImage(platform::pictures::decodeJpeg(*bytes, 8 / denominator).bitmap);
    } catch (const std::exception&) {
        return false;
    }
    if (thumb.isNull())
        return false;
    const batch::Size size = batch::thumbSize(thumb.width(), thumb.height(), cell);
    QPainter painter(&image);
    // Plain stretching, as the sheet has always been drawn: quick for 48 photos.
    painter.drawImage(QRect(x, y, size.width, size.height), thumb);
    QFont font = painter.font();
    font.setPointSize(10);
    painter.setFont(font);
    const QString label = QFile::decodeName(QByteArray::fromStdString(pathnames::fileNamePart(path)));
    const QRect box = painter.fontMetrics().boundingRect(label).translated(x, y + painter.fontMetrics().ascent());
    painter.fillRect(box, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(x, y + painter.fontMetrics().ascent(), label);
    return true;
}

}  // namespace pictra::ui
