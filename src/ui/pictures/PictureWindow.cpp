#include "PictureWindow.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDate>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <filesystem>

#include "CorrectionPen.h"
#include "SizePanel.h"
#include "editor/PictureEditor.h"
#include "common/Dialogs.h"
#include "common/PathNames.h"
#include "explorer/MarkedFiles.h"
#include "explorer/fileops/Rename.h"
#include "pictures/captions/Captions.h"
#include "pictures/PictureNames.h"
#include "pictures/editing/Orientation.h"
#include "platform/pictures/CaptionDrawing.h"
#include "platform/pictures/PictureCodecs.h"
#include "platform/pictures/PictureExif.h"
#include "pictures/Resampler.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

namespace pictra::ui {

namespace fs = std::filesystem;
using pictures::viewer::Size;
using pictures::viewer::ZoomKey;

namespace {

constexpr const char* kSection = "SectBild";
constexpr const char* kKey = "SchlBild";
constexpr const char* kMarkFirst = "Zuerst Markierung des Rechtecks links oben und rechts unten setzen!";

// A picture fitted for the screen by the display rules (DCT-scaled for a JPEG),
// shown upright by its orientation tag: a sideways-stored photo is fitted by its upright sides.
platform::pictures::LoadedPicture loadForScreen(const std::string& path, QSize screen, bool shrinkLarge) {
    // A caption file stands for the picture it belongs to; its text is drawn when the picture is shown.
    if (pictures::captions::isCaptionFile(path)) {
        const std::string picture = platform::pictures::pictureOfCaption(path);
        if (picture.empty()) throw platform::pictures::PictureError("Zum Begleittext gibt es kein Bild desselben Namens.");
        return loadForScreen(picture, screen, shrinkLarge);
    }
    const int orientation = platform::pictures::fileOrientation(path);
    const bool swap = pictures::editing::orientationSwapsSides(orientation);
    auto picture = platform::pictures::loadResized(path, [screen, shrinkLarge, swap](int w, int h) {
        if (swap) std::swap(w, h);
        const Size d = pictures::viewer::displaySize({w, h}, {screen.width(), screen.height()}, false, shrinkLarge);
        return swap ? std::pair<int, int>(d.height, d.width) : std::pair<int, int>(d.width, d.height);
    });
    pictures::editing::orientUpright(picture.bitmap, orientation);
    if (swap) std::swap(picture.fullWidth, picture.fullHeight);
    return picture;
}

}  // namespace

PictureWindow::PictureWindow(SettingsStore& store, Dialogs& dialogs, Tones& tones, PictureHooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_store(store),
      m_dialogs(dialogs),
      m_tones(tones),
      m_hooks(std::move(hooks)),
      m_loader(loadForScreen) {
    setObjectName("TForm18image");
    setWindowTitle("Bildbearbeitung seit September 2009");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // A window of the same owner, so that it never keeps the program alive on its own.
    m_background = new QWidget(parent, Qt::Window | Qt::FramelessWindowHint);
    m_background->setObjectName("TForm17d");
    m_background->setWindowTitle("Blauer Hintergrund");
    m_background->setStyleSheet("background: #000080;");
    m_poll = new QTimer(this);
    m_poll->setInterval(15);
    connect(m_poll, &QTimer::timeout, this, &PictureWindow::pollPending);
    buildMenu();
}

// Decodes still running are left to finish on their own threads.
PictureWindow::~PictureWindow() { delete m_background.data(); }

QSize PictureWindow::screenSize() const {
    if (m_screenOverride.isValid()) return m_screenOverride;
    const QScreen* screen = QApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1280, 1024);
}

void PictureWindow::showPictureFile(const std::string& path, const std::vector<std::string>& siblings) {
    m_store.writeValue(kSection, kKey, path);
    if (!siblings.empty()) m_list = pictures::viewer::pictureList(siblings);
    if (m_list.empty()) {
        m_dialogs.inform("Bitte Ordner auswählen, der Bilddateien enthält.\r\n(Oder: Der bisherige Ordner enthält keine "
                         "Bilddateien (mehr)!");
        return;
    }
    if (!m_noBackground) {
        m_background->setGeometry(QRect(QPoint(0, 0), screenSize()));
        m_background->show();
    }
    show();
    raise();
    activateWindow();
    load(path);
    placeCentred();
    // While the first picture is still being decoded its neighbours wait (the poll
    // starts them once it is shown): three decodes on two cores would delay it.
    if (!loading()) prefetchNeighbours();
}

void PictureWindow::stepPicture(bool forward) {
    const auto s = pictures::viewer::step(m_list, m_path, forward);
    if (!s) return;
    if (s->wrapped) m_tones.tone(kHighSignal);
    const std::string next = m_list[static_cast<size_t>(s->index)];
    m_store.writeValue(kSection, kKey, next);
    load(next);
    placeCentred();
    prefetchNeighbours();
}

void PictureWindow::zoom(ZoomKey key) {
    ensureSource();
    showSourceAt(pictures::viewer::zoomed({m_display.width(), m_display.height()}, m_sourceSize, key));
}

void PictureWindow::showFullSize() {
    ensureSource();
    redisplay(true);
}

void PictureWindow::toggleFullSize() {
    ensureSource();
    redisplay(m_display.width() < m_source.width());
}

void PictureWindow::keepVisiblePart() {
    ensureSource();
    const QSize screen = screenSize();
    const pictures::Rect part = pictures::viewer::visiblePart(
        x(), y(), {m_display.width(), m_display.height()}, {screen.width(), screen.height()}, m_sourceSize);
    if (part.empty()) return;
    m_source = pictures::viewer::cut(m_source, part);
    m_sourceSize = {m_source.width(), m_source.height()};
    m_markingValid = false;
    m_corner0 = m_corner1 = QPoint(-1, -1);
    redisplay(false);
}

void PictureWindow::markCorner(bool topLeft) {
    const int w = m_display.width();
    const int h = m_display.height();
    QPoint p(std::clamp(m_mouse.x(), 0, std::max(0, w - 1)), std::clamp(m_mouse.y(), 0, std::max(0, h - 1)));
    // A corner just beside an edge was most likely meant to be on it.
    using pictures::viewer::nearEdge;
    if (topLeft) {
        if (nearEdge(p.y(), h, true) && m_dialogs.ask("Ganz nach oben setzen?") == Answer::Yes) p.setY(0);
        if (nearEdge(p.x(), w, true) && m_dialogs.ask("Ganz nach links setzen?") == Answer::Yes) p.setX(0);
        m_corner0 = p;
    } else {
        if (nearEdge(p.x(), w, false) && m_dialogs.ask("Ganz nach rechts setzen?") == Answer::Yes) p.setX(w - 1);
        if (nearEdge(p.y(), h, false) && m_dialogs.ask("Ganz nach unten setzen?") == Answer::Yes) p.setY(h - 1);
        m_corner1 = p;
    }
    if (m_corner0.x() >= 0 && m_corner1.x() >= 0) {
        if (m_corner1.x() <= m_corner0.x()) m_corner1.setX(std::min(m_corner0.x() + 100, w - 1));
        if (m_corner1.y() <= m_corner0.y()) m_corner1.setY(std::min(m_corner0.y() + 100, h - 1));
        m_markingValid = true;
        if (m_hooks.showStatus) {
            m_hooks.showStatus(std::to_string(m_corner1.x() - m_corner0.x()) + "*" +
                               std::to_string(m_corner1.y() - m_corner0.y()));
        }
    }
    update();
}

// The marking's bottom-right corner lies just outside, as for a cut.
void PictureWindow::markWholePicture() {
    m_corner0 = QPoint(0, 0);
    m_corner1 = QPoint(m_display.width(), m_display.height());
    m_markingValid = true;
    update();
}

void PictureWindow::cutMarked() {
    if (cutMarkedOnly()) saveAs();
}

bool PictureWindow::cutMarkedOnly() {
    if (!m_markingValid || m_corner0.x() >= m_corner1.x() || m_corner0.y() >= m_corner1.y()) {
        m_dialogs.inform(kMarkFirst);
        return false;
    }
    const Size display{m_display.width(), m_display.height()};
    ensureSource();
    const pictures::Rect marked{m_corner0.x(), m_corner0.y(), m_corner1.x(), m_corner1.y()};
    m_source = pictures::viewer::cut(m_source, pictures::viewer::toSource(marked, display, m_sourceSize));
    m_sourceSize = {m_source.width(), m_source.height()};
    m_markingValid = false;
    m_corner0 = m_corner1 = QPoint(-1, -1);
    m_cutMade = true;
    redisplay(false);
    return true;
}

void PictureWindow::turn(bool right) {
    turnOnly(right);
    m_fixedHeight = false;  // the old height means nothing for a turned picture
    saveAs();
}

void PictureWindow::turnOnly(bool right) {
    ensureSource();
    if (right) {
        pictures::turnRight(m_source);
    } else {
        pictures::turnLeft(m_source);
    }
    m_sourceSize = {m_source.width(), m_source.height()};
    redisplay(false);
}

void PictureWindow::moveToBin() {
    if (!m_hooks.copyContext) return;
    CopyContext context = m_hooks.copyContext();
    const QDate today = QDate::currentDate();
    const std::string gone = m_path;
    if (!explorer::moveToBin({gone}, context, {today.year(), today.month(), today.day()})) return;
    if (fs::exists(gone)) return;
    const auto at = std::find(m_list.begin(), m_list.end(), gone);
    const size_t index = static_cast<size_t>(at - m_list.begin());
    if (at != m_list.end()) m_list.erase(at);
    if (m_hooks.refreshExplorer) m_hooks.refreshExplorer(gone);
    if (m_list.empty()) {
        close();
        return;
    }
    load(m_list[std::min(index, m_list.size() - 1)]);
    prefetchNeighbours();
}

void PictureWindow::rename() {
    auto name = m_dialogs.askText("umbenennen", "Geben Sie den neuen Namen ein!", pathnames::fileNamePart(m_path));
    if (!name || name->empty()) return;
    const std::string target = pathnames::folderOf(m_path) + "/" + *name;
    const fileops::RenameResult renamed = fileops::renameNoReplace(m_path, target);
    if (renamed.status == fileops::RenameStatus::TargetExists) {
        m_dialogs.inform("Name schon vorhanden!");
        return;
    }
    if (!renamed.ok()) {
        m_dialogs.inform("Nicht umbenannt!");
        return;
    }
    for (auto& entry : m_list) {
        if (entry == m_path) entry = target;
    }
    m_path = target;
    m_store.writeValue(kSection, kKey, target);
    if (m_hooks.refreshExplorer) m_hooks.refreshExplorer(target);
}

void PictureWindow::reload() { load(m_path); }

PictureEditor* PictureWindow::editor() {
    if (!m_editor) {
        // Back from the editor: the picture it was on, in this window again.
        m_editor = new PictureEditor(m_store, m_dialogs, m_tones, m_hooks,
                                     [this](const std::string& path) { showPictureFile(path, {}); }, parentWidget());
    }
    return m_editor;
}

// The window switched to last is kept, so the picture commands elsewhere know the mode.
void PictureWindow::switchToEditor() {
    if (m_path.empty()) {
        m_dialogs.inform("Zuerst im Ordner mit Doppelklick Bild laden!");
        return;
    }
    m_store.writeValue(kSection, "Expertenmenue", "1");
    close();
    // A caption file shown over its picture: the editor takes the picture itself
    // (Shift+click shows the caption there).
    const bool caption = pictures::captions::isCaptionFile(m_path);
    const std::string picture = caption ? platform::pictures::pictureOfCaption(m_path) : m_path;
    editor()->showPicture(picture.empty() ? m_path : picture);
}

void PictureWindow::openSizePanel() {
    ensureSource();
    if (!m_sizePanel) {
        SizePanel::Actions actions;
        actions.show = [this](Size size) { showSourceAt(size); };
        actions.saveSo = [this](Size size) {
            // The shown size becomes the picture, saved at that height.
            m_source = pictures::resized(m_source, size.width, size.height,
                                         size.width <= m_source.width() ? pictures::StretchFilter::Lanczos
                                                                        : pictures::StretchFilter::Mitchell);
            m_sourceSize = size;
            showSourceAt(size);
            m_fixedHeight = true;
            saveAs();
        };
        m_sizePanel = new SizePanel(this, std::move(actions));
    }
    m_sizePanel->open(m_sourceSize, {m_display.width(), m_display.height()});
}

// Closing the window closes the blue background.
void PictureWindow::hideEvent(QHideEvent* event) {
    if (m_background) m_background->hide();
    QWidget::hideEvent(event);
}

void PictureWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_message.isNull()) {
        painter.drawImage(0, 0, m_message);
        return;
    }
    if (m_display.empty()) return;
    // A picture smaller than 20 pixels gets a black window of 200 × 200 with its size.
    if (m_display.width() < 20 || m_display.height() < 20) {
        painter.fillRect(rect(), Qt::black);
        painter.setPen(Qt::white);
        painter.drawText(rect().adjusted(4, 4, -4, -4), Qt::AlignBottom | Qt::TextWordWrap,
                         QString("Breite*Höhe des Bildes: %1*%2").arg(m_sourceSize.width).arg(m_sourceSize.height));
    }
    const QImage image(reinterpret_cast<const uchar*>(m_display.bits()), m_display.width(), m_display.height(),
                       m_display.width() * 4, QImage::Format_ARGB32);
    painter.drawImage(0, 0, image);
    if (m_corner0.x() >= 0) {
        painter.fillRect(QRect(m_corner0, QSize(6, 6)), Qt::red);
    }
    if (m_corner1.x() >= 0) painter.fillRect(QRect(m_corner1 - QPoint(5, 5), QSize(6, 6)), Qt::blue);
    if (m_markingValid) {
        painter.setPen(QPen(Qt::red, 1, Qt::DotLine));
        painter.drawRect(QRect(m_corner0, m_corner1));
    }
    paintOverlay(painter);
}

void PictureWindow::mouseMoveEvent(QMouseEvent* event) {
    m_mouse = event->position().toPoint();
    QWidget::mouseMoveEvent(event);
}

void PictureWindow::contextMenuEvent(QContextMenuEvent* event) { m_menu->popup(event->globalPos()); }

void PictureWindow::keyPressEvent(QKeyEvent* event) {
    // While the correction pen is out, the arrows move it and Insert paints.
    if (m_pen && m_pen->isVisible()) {
        const int key = event->key();
        if (key == Qt::Key_Insert) {
            m_pen->paintHere();
            return;
        }
        const QPoint step = key == Qt::Key_Left ? QPoint(-1, 0) : key == Qt::Key_Right ? QPoint(1, 0)
                            : key == Qt::Key_Up ? QPoint(0, -1) : key == Qt::Key_Down ? QPoint(0, 1) : QPoint();
        if (!step.isNull()) {
            m_pen->nudge(step.x(), step.y());
            return;
        }
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
        case Qt::Key_Down:
        case Qt::Key_Space: stepPicture(true); return;
        case Qt::Key_Up: stepPicture(false); return;
        case Qt::Key_G: showFullSize(); return;
        case Qt::Key_Right: zoom(ZoomKey::Larger); return;
        case Qt::Key_Left: zoom(ZoomKey::Smaller); return;
        case Qt::Key_Less: zoom(ZoomKey::Slightly); return;
        case Qt::Key_F1: markCorner(true); return;
        case Qt::Key_F2: markCorner(false); return;
        case Qt::Key_F3: markKeepingRatio(false); return;
        case Qt::Key_F4: cutMarked(); return;
        case Qt::Key_F5: markedAsExtraPicture(); return;  // moved by dragging it, then "Bild einfügen"
        case Qt::Key_F6:
            if (event->modifiers() & Qt::ControlModifier) {
                saveAs();
            } else {
                markedAsExtraPicture();
            }
            return;
        case Qt::Key_F7: keepVisiblePart(); return;
        case Qt::Key_D: printInBrowser(); return;
        case Qt::Key_Y: colourIn(); return;
        case Qt::Key_R: turn(true); return;
        case Qt::Key_L: turn(false); return;
        case Qt::Key_P: moveToBin(); return;
        case Qt::Key_U: rename(); return;
        case Qt::Key_N: reload(); return;
        case Qt::Key_S:
            if (shift) {
                openSizePanel();
            } else {
                saveAs();
            }
            return;
        case Qt::Key_H:
            if (shift) {
                colourStep(5, 5, 5, true);
            } else {
                brighter(5);
            }
            return;
        case Qt::Key_X: m_menu->findChild<QAction*>("Kontrast1")->trigger(); return;
        case Qt::Key_M: m_menu->popup(mapToGlobal(QPoint(0, 0))); return;
        case Qt::Key_V:
            if (m_hooks.markFile) m_hooks.markFile(m_path);
            return;
        case Qt::Key_F10:
            if (!m_noBackground && m_background) m_background->show();
            raise();
            activateWindow();
            return;
        case Qt::Key_F11:
            if (m_hooks.showExplorer) m_hooks.showExplorer();
            return;
        case Qt::Key_Escape:
            if (!m_pending.empty()) abandonPending("Bild wurde nicht geladen");
            close();
            return;
        default: break;
    }
    if (event->key() >= Qt::Key_0 && event->key() <= Qt::Key_9) {
        showExtraPicture(event->key() == Qt::Key_0 ? 10 : event->key() - Qt::Key_0);
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace pictra::ui
