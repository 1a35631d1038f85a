#include "PictureEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>

#include "EditorWidgets.h"
#include "common/Dialogs.h"
#include "common/UiText.h"
#include "pictures/PictureWindow.h"
#include "pictures/Resampler.h"
#include "pictures/editing/Colours.h"
#include "pictures/editing/Orientation.h"
#include "platform/pictures/PictureExif.h"
#include "platform/pictures/PictureFiles.h"
#include "platform/pictures/PictureJob.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

namespace pictra::ui {

namespace ed = pictures::editing;

PictureEditor::PictureEditor(SettingsStore& store, Dialogs& dialogs, Tones& tones, const PictureHooks& hooks,
                             std::function<void(const std::string&)> backToPictureWindow, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_store(store),
      m_dialogs(dialogs),
      m_tones(tones),
      m_hooks(hooks),
      m_back(std::move(backToPictureWindow)) {
    setObjectName("TForm17");
    setWindowTitle("Bildbearbeitung");
    setFocusPolicy(Qt::StrongFocus);
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName("MainMenu1");
    m_menuBar->hide();
    m_name = new QLabel(this);
    m_name->setObjectName("Lform17Bildname");
    m_size = new QLabel(this);
    m_size->setObjectName("Lform17Bildgroesse");
    m_colour1 = new QLabel("Farbe 1", this);
    m_colour1->setObjectName("PFarbe1");
    m_colour2 = new QLabel("Farbe 2", this);
    m_colour2->setObjectName("PFarbe2");
    for (QWidget* panel : {m_colour1, m_colour2}) {
        panel->setAutoFillBackground(true);
        panel->setFixedSize(60, 18);
        panel->hide();
    }
    auto* labels = new QHBoxLayout;
    labels->addWidget(m_colour1);
    labels->addWidget(m_colour2);
    labels->addWidget(m_name, 1);
    labels->addWidget(m_size);
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_image = new EditorImage(this, m_scroll);
    m_scroll->setWidget(m_image);
    m_topLeft = new MarkerShape("Shape_linksOben", Qt::red, m_image);
    m_bottomRight = new MarkerShape("Shape_rechtsUnten", Qt::blue, m_image);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(m_menuBar);
    layout->addLayout(labels);
    layout->addWidget(m_scroll, 1);
    m_hint = new HintWindow(this);
    m_part = new PartWindow(this, [this] { pastePartSoftly(); });
    m_loadingPoll = new QTimer(this);
    m_loadingPoll->setInterval(15);
    connect(m_loadingPoll, &QTimer::timeout, this, &PictureEditor::pollLoading);
    buildMenus();
}

PictureEditor::~PictureEditor() = default;

QSize PictureEditor::workingScreen() const {
    if (m_workingScreen.isValid()) return m_workingScreen;
    const QScreen* screen = QApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

// The picture is decoded beside the window; a load over half a second opens
// "Bild wird geladen" with the seconds, whose button gives it up.
void PictureEditor::showPicture(const std::string& path) {
    m_store.writeValue("SectBild", "SchlBild", path);
    m_loading = std::make_shared<platform::pictures::PictureJob>([path] { return platform::pictures::loadPicture(path); });
    m_loadingPath = path;
    m_loadingSince.start();
    pollLoading();
    if (m_loading) m_loadingPoll->start();
}

void PictureEditor::pollLoading() {
    if (!m_loading) {
        m_loadingPoll->stop();
        return;
    }
    if (!m_loading->ready()) {
        const qint64 waited = m_loadingSince.elapsed();
        if (waited < 500) return;
        if (!m_loadingWindow) {
            m_loadingWindow = true;
            m_dialogs.beginCancelWindow("Bild wird geladen");
        }
        if (m_dialogs.stepCancelWindow(std::to_string(waited / 1000))) {
            // Dropping the job stops its decoder at the next row band.
            m_loading.reset();
            m_loadingPoll->stop();
            m_dialogs.endCancelWindow();
            m_loadingWindow = false;
            hint("Bild wurde nicht geladen");
        }
        return;
    }
    m_loadingPoll->stop();
    if (m_loadingWindow) {
        m_loadingWindow = false;
        m_dialogs.endCancelWindow();
    }
    const auto job = std::move(m_loading);
    try {
        take(job->takeResult(), m_loadingPath, true);
    } catch (const pictures::BitmapTooLarge& e) {
        m_dialogs.inform(std::string("Kann Bild nicht laden\r") + e.what());
        return;
    } catch (const std::exception&) {
        m_dialogs.inform("Kann Bild nicht laden");
        return;
    }
    const QScreen* screen = QApplication::primaryScreen();
    const QRect free = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // The window fits the screen's free area; a larger picture scrolls.
    const QSize wanted = m_image->size() + QSize(4, 24 + (m_menuBar->isVisible() ? m_menuBar->sizeHint().height() : 0));
    resize(wanted.boundedTo(free.size() - QSize(8, 32)).expandedTo(QSize(320, 200)));
    move(free.topLeft());
    show();
    raise();
    activateWindow();
}

bool PictureEditor::load(const std::string& path, bool fit) {
    try {
        take(platform::pictures::loadPicture(path), path, fit);
    } catch (const pictures::BitmapTooLarge& e) {
        m_dialogs.inform(std::string("Kann Bild nicht laden\r") + e.what());
        return false;
    } catch (const std::exception&) {
        m_dialogs.inform("Kann Bild nicht laden");
        return false;
    }
    return true;
}

void PictureEditor::take(platform::pictures::LoadedPicture loaded, const std::string& path, bool fit) {
    m_path = path;
    m_picture = std::move(loaded.bitmap);
    for (std::size_t i = 0, n = static_cast<std::size_t>(m_picture.width()) * static_cast<std::size_t>(m_picture.height());
         i < n; ++i) {
        m_picture.bits()[i] |= 0xFF000000u;
    }
    m_exif = std::move(loaded.exif);
    ed::orientUpright(m_picture, platform::pictures::exifOrientation(m_exif));
    m_originalWidth = m_picture.width();
    m_originalHeight = m_picture.height();
    m_history.clear();
    m_carriesText = false;
    setName(path);
    rememberInChronicle(path);
    if (fit) fitToWorkingScreen();
    refresh();
}

void PictureEditor::fitToWorkingScreen() {
    const QSize screen = workingScreen();
    const auto f = ed::fitFactor(m_picture.width(), m_picture.height(), screen.width(), screen.height());
    if (!f) return;
    const ed::Scaled s = ed::scaledSize(m_picture.width(), m_picture.height(), *f);
    // Dropped rows are the plain stretch; "Beim Verkleinern glätten" resamples instead.
    m_picture = m_smoothShrinking && *f < 1
                    ? pictures::resized(m_picture, s.width, s.height, pictures::StretchFilter::Lanczos)
                    : ed::stretched(m_picture, s.width, s.height);
}

void PictureEditor::setName(const std::string& text) { m_name->setText(QFile::decodeName(QByteArray::fromStdString(text))); }

void PictureEditor::refresh() {
    m_image->setPicture(&m_picture);
    m_size->setText(QString("%1*%2").arg(m_picture.width()).arg(m_picture.height()));
    m_image->update();
}

void PictureEditor::remember() { m_history.remember(m_picture); }

void PictureEditor::undo() {
    if (!m_history.undo(m_picture)) {
        hint("Nichts rückgängig zu machen.");
        return;
    }
    refresh();
}

void PictureEditor::hint(const std::string& text) { m_hint->showText(q(text)); }

std::string PictureEditor::hintText() const { return m_hint->text().toStdString(); }

std::optional<long long> PictureEditor::askInteger(const std::string& title, const std::string& prompt, long long value) {
    const auto text = m_dialogs.askText(title, prompt, std::to_string(value));
    if (!text) return std::nullopt;
    long long number = 0;
    const char* begin = text->data();
    const char* end = begin + text->size();
    while (begin < end && *begin == ' ') ++begin;
    if (begin < end && *begin == '+') ++begin;
    const auto r = std::from_chars(begin, end, number);
    return r.ec == std::errc() ? number : value;
}

std::optional<double> PictureEditor::askDecimal(const std::string& title, const std::string& prompt, double value) {
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string shown(buffer, written.ptr);
    for (char& c : shown) {
        if (c == '.') c = ',';
    }
    auto text = m_dialogs.askText(title, prompt, shown);
    if (!text) return std::nullopt;
    for (char& c : *text) {
        if (c == ',') c = '.';
    }
    double number = 0;
    const char* begin = text->data();
    while (*begin == ' ') ++begin;
    const auto r = std::from_chars(begin, text->data() + text->size(), number);
    return r.ec == std::errc() && std::isfinite(number) ? number : value;
}

bool PictureEditor::markersVisible() const { return m_topLeft->isVisible(); }

pictures::Rect PictureEditor::markedRect() const {
    const auto shape = [](const MarkerShape* s) { return ed::MarkerShape{s->x(), s->y(), s->width(), s->height()}; };
    return ed::markedRect(shape(m_topLeft), shape(m_bottomRight), m_picture.width(), m_picture.height());
}

// The bottom-right shape's lower right edge lies on the point.
void PictureEditor::placeMarkers(QPoint topLeft, QPoint bottomRight) {
    m_topLeft->move(topLeft);
    m_bottomRight->move(bottomRight - QPoint(m_bottomRight->width(), m_bottomRight->height()));
    m_topLeft->show();
    m_bottomRight->show();
    m_topLeft->raise();
    m_bottomRight->raise();
    m_image->update();
}

void PictureEditor::toggleMarkers() {
    if (markersVisible()) {
        m_topLeft->hide();
        m_bottomRight->hide();
        m_image->update();
        return;
    }
    const QPoint origin(m_scroll->horizontalScrollBar()->value(), m_scroll->verticalScrollBar()->value());
    const QPoint far = origin + QPoint(std::min(m_picture.width(), m_scroll->viewport()->width()),
                                       std::min(m_picture.height(), m_scroll->viewport()->height()));
    placeMarkers(origin, origin + (far - origin) / 4 * 3);
}

void PictureEditor::pictureClicked(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    m_size->setText(QString("(%1|%2)").arg(at.x()).arg(at.y()));
    const bool inside = at.x() >= 0 && at.y() >= 0 && at.x() < m_picture.width() && at.y() < m_picture.height();
    const pictures::Color32 colour = inside ? m_picture.pixel(at.x(), at.y()) : ed::kWhite;
    if (button == Qt::RightButton && (modifiers & Qt::ControlModifier)) {
        m_replacement = colour;
        const auto r = m_dialogs.chooseColour(static_cast<std::uint32_t>(ed::redOf(colour) | ed::greenOf(colour) << 8 |
                                                                         ed::blueOf(colour) << 16));
        if (r) m_replacement = ed::rgb(static_cast<int>(*r & 0xFF), static_cast<int>(*r >> 8 & 0xFF),
                                       static_cast<int>(*r >> 16 & 0xFF));
        return;
    }
    if (button != Qt::LeftButton) return;
    m_lastClick = at;
    if (m_pick == Pick::Colour1 || m_pick == Pick::Colour2) {
        QWidget* panel = m_pick == Pick::Colour1 ? m_colour1 : m_colour2;
        QPalette p = panel->palette();
        p.setColor(QPalette::Window, QColor::fromRgb(colour));
        panel->setPalette(p);
        panel->setProperty("colour", static_cast<uint>(colour));
        panel->show();
        m_pick = Pick::None;
        return;
    }
    if (m_pick == Pick::Code) {
        m_pick = Pick::None;
        const std::string code = ed::colourCode(colour);
        QApplication::clipboard()->setText(q(code));
        m_dialogs.inform("rot=" + std::to_string(ed::redOf(colour)) + " grün=" + std::to_string(ed::greenOf(colour)) +
                         " blau=" + std::to_string(ed::blueOf(colour)) + "\rIn die Zwischenablage wurde \"" + code +
                         "\" kopiert");
        return;
    }
    if (drawingClicked(at)) return;
    if (modifiers & Qt::ControlModifier) {
        openTextDialog(m_image->mapToGlobal(at));
        return;
    }
    if (modifiers & Qt::ShiftModifier) {
        showCaption();
        return;
    }
    if (modifiers & Qt::AltModifier) {
        scaleBy(1.5);
        return;
    }
    if (m_penRadius >= 0) {
        if (!m_penColourChosen) {
            m_penColour = colour;
            m_penColourChosen = true;
            m_tones.tone(kHighSignal);
            return;
        }
        remember();
        pictureDragged(at);
    }
}

// The pixel pen paints along the drag as well as where it was clicked.
void PictureEditor::pictureDragged(QPoint at) {
    m_pointer = at;
    if (m_penRadius < 0 || !m_penColourChosen) return;
    ed::fillCircle(m_picture, at.x(), at.y(), m_penRadius, m_penColour);
    m_image->update();
}

void PictureEditor::toggleMenuLine() {
    m_menuBar->setVisible(!m_menuBar->isVisible());
}

void PictureEditor::backToSimpleMenu() {
    m_store.writeValue("SectBild", "Expertenmenue", "");
    hide();
    if (m_back) m_back(m_path);
}

void PictureEditor::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F10 && m_part->isVisible()) {
        m_part->raise();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PictureEditor::contextMenuEvent(QContextMenuEvent* event) { m_menu->popup(event->globalPos()); }

void PictureEditor::closeEvent(QCloseEvent* event) {
    m_hint->hide();
    m_part->hide();
    QWidget::closeEvent(event);
}

}  // namespace pictra::ui
