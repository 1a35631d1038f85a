#include "PictureWindow.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDate>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <filesystem>
#include <tuple>

#include "CorrectionPen.h"
#include "PictureSaveDialog.h"
#include "SizePanel.h"
#include "common/Dialogs.h"
#include "common/MenuCommands.h"
#include "common/FileIo.h"
#include "common/PathNames.h"
#include "common/UiText.h"
#include "explorer/MarkedFiles.h"
#include "pictures/PictureNames.h"
#include "pictures/Resampler.h"
#include "platform/pictures/PictureCodecs.h"
#include "platform/pictures/QtPictureCodecs.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

namespace pictra::ui {

namespace fs = std::filesystem;
using pictures::viewer::Size;
using pictures::viewer::ZoomKey;

namespace {

// A picture fitted for the screen by the display rules (DCT-scaled for a JPEG).
platform::pictures::LoadedPicture loadForScreen(const std::string& path, QSize screen, bool shrinkLarge) {
    return platform::pictures::loadResized(path, [screen, shrinkLarge](int w, int h) {
        const Size d = pictures::viewer::displaySize({w, h}, {screen.width(), screen.height()}, false, shrinkLarge);
        return std::pair<int, int>(d.width, d.height);
    });
}

constexpr const char* kSection = "SectBild";
constexpr const char* kKey = "SchlBild";
constexpr const char* kMarkFirst = "Zuerst Markierung des Rechtecks links oben und rechts unten setzen!";

}  // namespace

PictureWindow::PictureWindow(SettingsStore& store, Dialogs& dialogs, Tones& tones, PictureHooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_store(store),
      m_dialogs(dialogs),
      m_tones(tones),
      m_hooks(std::move(hooks)) {
    setObjectName("TForm18image");
    setWindowTitle("Bildbearbeitung seit September 2009");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    m_background = new QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint);
    m_background->setObjectName("TForm17d");
    m_background->setWindowTitle("Blauer Hintergrund");
    m_background->setStyleSheet("background: #000080;");
    m_poll = new QTimer(this);
    m_poll->setInterval(15);
    connect(m_poll, &QTimer::timeout, this, &PictureWindow::pollPending);
    buildMenu();
}

PictureWindow::~PictureWindow() {
    for (auto& [path, future] : m_prefetched) {
        if (future.valid()) future.wait();
    }
    for (auto& future : m_abandoned) future.wait();
    delete m_background;
}

QSize PictureWindow::screenSize() const {
    if (m_screenOverride.isValid()) return m_screenOverride;
    const QScreen* screen = QApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1280, 1024);
}

void PictureWindow::buildMenu() {
    m_menu = new QMenu(this);
    m_menu->setObjectName("PopupMenu1");
    addMenuCommand(m_menu, "Naechstes1", "Nächstes Bild", [this] { stepPicture(true); });
    addMenuCommand(m_menu, "Voriges1", "Voriges Bild", [this] { stepPicture(false); });
    addMenuCommand(m_menu, "Bildgroesseroderkleiner", "Bild größer oder kleiner", [this] { toggleFullSize(); });
    m_menu->addSeparator();
    addMenuCommand(m_menu, "MarkierungLinksOben1", "Markierung links oben", [this] { markCorner(true); });
    addMenuCommand(m_menu, "MarkierungRechtsUnten1", "Markierung rechts unten", [this] { markCorner(false); });
    addMenuCommand(m_menu, "SeitenverhaeltnisBeibehalten1", "... und dabei das Seitenverhältnis beibehalten", [this] { markKeepingRatio(false); });
    addMenuCommand(m_menu, "SeitenverhaeltnisBestimmen1", "... und dabei das Seitenverhältnis bestimmen", [this] { markKeepingRatio(true); });
    addMenuCommand(m_menu, "Ausschneiden1", "Markiertes Rechteck ausschneiden", [this] { cutMarked(); });
    buildDrawingMenu();
    addMenuCommand(m_menu, "ExtraBild1", "Markiertes Rechteck als extra Bild vormerken", [this] { markedAsExtraPicture(); });
    addMenuCommand(m_menu, "Verschieben1", "Markiertes Rechteck verschieben", [this] { markedAsExtraPicture(); });
    addMenuCommand(m_menu, "GanzesExtraBild1", "Ganzes Bild als extra Bild vormerken", [this] { wholeAsExtraPicture(); });
    m_menu->addSeparator();
    addMenuCommand(m_menu, "LinksDrehen1", "links drehen (und speichern)", [this] { turn(false); });
    addMenuCommand(m_menu, "RechtsDrehen1", "rechts drehen (und speichern)", [this] { turn(true); });
    addMenuCommand(m_menu, "DrehenUmGrad1", "links drehen um ... Grad", [this] { rotateByAngle(); });
    addMenuCommand(m_menu, "Heller1", "Heller (ohne Grauschleier)", [this] { brighter(5); });
    addMenuCommand(m_menu, "Dunkler1", "Dunkler", [this] { brighter(-5); });
    addMenuCommand(m_menu, "MehrRot1", "mehr rot", [this] { colourStep(5, 0, 0); });
    addMenuCommand(m_menu, "MehrGruen1", "mehr grün", [this] { colourStep(0, 5, 0); });
    addMenuCommand(m_menu, "MehrBlau1", "mehr blau", [this] { colourStep(0, 0, 5); });
    addMenuCommand(m_menu, "WenigerRot1", "weniger rot", [this] { colourStep(-5, 0, 0); });
    addMenuCommand(m_menu, "WenigerGruen1", "weniger grün", [this] { colourStep(0, -5, 0); });
    addMenuCommand(m_menu, "WenigerBlau1", "weniger blau", [this] { colourStep(0, 0, -5); });
    addMenuCommand(m_menu, "Einfaerben1", "Einfärben", [this] { colourIn(); });
    QMenu* pen = m_menu->addMenu("Korrekturstift");
    pen->setObjectName("Korrekturstift1");
    addMenuCommand(pen, "StiftZeigen1", "Korrekturstift zeigen/verstecken", [this] { toggleCorrectionPen(); });
    addMenuCommand(pen, "StiftFarbe1", "Farbe unter dem Mauszeiger merken", [this] { rememberPenColour(); });
    addMenuCommand(pen, "StiftSehrKlein1", "sehr klein", [this] { setPenSize(3); });
    addMenuCommand(pen, "StiftNormal1", "normal", [this] { setPenSize(9); });
    addMenuCommand(pen, "StiftGross1", "groß", [this] { setPenSize(17); });
    addMenuCommand(pen, "StiftSehrGross1", "sehr groß", [this] { setPenSize(33); });
    addMenuCommand(m_menu, "Kontrast1", "mehr Kontrast - weniger Grauschleier", [this] {
        ensureSource();
        do {
            pictures::viewer::applyCurve(m_source, {5, 5, 5, -5});
            redisplay(false);
        } while (m_dialogs.ask("Noch einmal?") == Answer::Yes);
    });
    m_menu->addSeparator();
    addMenuCommand(m_menu, "BildSpeichern1", "Bild speichern", [this] { saveAs(); });
    addMenuCommand(m_menu, "AndereGroesse1", "Bild in anderer Größe zeigen/speichern", [this] { openSizePanel(); });
    addMenuCommand(m_menu, "Wiederherstellen1", "Bild wiederherstellen", [this] { reload(); });
    addMenuCommand(m_menu, "Umbenennen1", "umbenennen", [this] { rename(); });
    addMenuCommand(m_menu, "Vormerken1", "Bild zu den vorgemerkten Dateien / rückgängig ", [this] {
        if (m_hooks.markFile) m_hooks.markFile(m_path);
    });
    addMenuCommand(m_menu, "Papierkorb1", "Bild in Papierkorb verschieben", [this] { moveToBin(); });
    addMenuCommand(m_menu, "ImBrowserDrucken1", "Bild im Browser zeigen und dort drucken ", [this] { printInBrowser(); });
    addMenuCommand(m_menu, "Ueberblick1", "Überblick über alle Bilder des Ordners", [this] { showOverview(); });
    addMenuCommand(m_menu, "ImViewerDrucken1", "Bild in Irvanview zeigen und dort drucken", [this] { printInViewer(); });
    addMenuCommand(m_menu, "AenderungenEinfuegen1", "Änderungen des Auschnitts einfügen", [this] { putEditedPartBack(); });
    addMenuCommand(m_menu, "Zwischenablage1", "Bild der Zwischenablage zeigen", [this] { showClipboardPicture(); });
    for (auto [name, text, flag] : {std::tuple{"DateinamenEinblenden1", "Dateinamen einblenden", &m_showName},
                                    std::tuple{"GroesseEinblenden1", "Größe einblenden", &m_showSize}}) {
        QAction* a = m_menu->addAction(text);
        a->setObjectName(name);
        a->setCheckable(true);
        connect(a, &QAction::toggled, this, [this, flag = flag](bool on) {
            *flag = on;
            update();
        });
    }
    QAction* shrink = m_menu->addAction("Zu große Bilder auf Dauer verkleinern");
    shrink->setObjectName("ZuGrosseVerkleinern1");
    shrink->setCheckable(true);
    shrink->setChecked(m_shrinkLarge);
    connect(shrink, &QAction::toggled, this, [this](bool on) {
        m_shrinkLarge = on;
        // Decodes made with the old choice are let go without blocking the window; one the
        // window is still waiting for is kept so that picture still appears.
        dropPrefetchesBut({m_pending});
    });
    addMenuCommand(m_menu, "Experten1", "Umschalten zum ausführlichen Menü (nur für Experten)", [this] {
        if (m_path.empty()) m_dialogs.inform("Zuerst im Ordner mit Doppelklick Bild laden!");
    });
}

void PictureWindow::showPictureFile(const std::string& path, const std::vector<std::string>& siblings) {
    m_store.writeValue(kSection, kKey, path);
    if (!siblings.empty()) m_list = pictures::viewer::pictureList(siblings);
    if (m_list.empty()) {
        m_dialogs.inform("Bitte Ordner auswählen, der Bilddateien enthält.\r\n(Oder: Der bisherige Ordner enthält keine "
                         "Bilddateien (mehr)!");
        return;
    }
    if (load(path)) checkExtension(path);
    placeCentred();
    m_background->setGeometry(QRect(QPoint(0, 0), screenSize()));
    m_background->show();
    show();
    raise();
    activateWindow();
    prefetchNeighbours();
}

// The fitted picture, from a prefetch when one is ready or under way.
// The fitted picture, from a prefetch when one is ready or under way. A picture
// still being decoded never blocks the window: it is shown when it is ready, and
// stepping on or Esc stay possible meanwhile. True when it is shown at once.
bool PictureWindow::load(const std::string& path) {
    m_path = path;
    m_pending.clear();
    m_markingValid = false;
    m_corner0 = m_corner1 = QPoint(-1, -1);
    m_sourceLoaded = false;
    m_message = QImage();
    if (!fs::exists(path)) {
        showMessagePicture("Bild kann nicht gezeigt werden", path);
        m_dialogs.inform("Datei \"" + path + "\" exitsiert nicht (mehr)!");
        return false;
    }
    auto cached = m_prefetched.find(path);
    if (cached == m_prefetched.end()) {
        const QSize screen = screenSize();
        const bool shrink = m_shrinkLarge;
        cached = m_prefetched
                     .emplace(path, std::async(std::launch::async,
                                               [path, screen, shrink] { return loadForScreen(path, screen, shrink); })
                                        .share())
                     .first;
    }
    if (cached->second.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
        m_pending = path;
        m_poll->start();
        return false;
    }
    return finishLoad(path);
}

bool PictureWindow::finishLoad(const std::string& path) {
    try {
        platform::pictures::LoadedPicture picture = m_prefetched.at(path).get();
        m_sourceSize = {picture.fullWidth, picture.fullHeight};
        m_exif = picture.exif;
        m_display = std::move(picture.bitmap);
    } catch (const std::exception&) {
        showMessagePicture("Bild kann nicht gezeigt werden", path);
        return false;
    }
    resize(std::max(m_display.width(), m_display.width() < 20 || m_display.height() < 20 ? 200 : 0),
           std::max(m_display.height(), m_display.width() < 20 || m_display.height() < 20 ? 200 : 0));
    placeCentred();
    update();
    return true;
}

void PictureWindow::pollPending() {
    for (auto it = m_abandoned.begin(); it != m_abandoned.end();) {
        it = it->wait_for(std::chrono::milliseconds(0)) == std::future_status::ready ? m_abandoned.erase(it) : it + 1;
    }
    if (m_pending.empty()) {
        if (m_abandoned.empty()) m_poll->stop();
        return;
    }
    const auto it = m_prefetched.find(m_pending);
    if (it == m_prefetched.end() || it->second.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) return;
    const std::string path = m_pending;
    m_pending.clear();
    if (finishLoad(path)) checkExtension(path);
    prefetchNeighbours();
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
    update();
}

// A picture whose bytes say another format than its name: offered to be renamed.
void PictureWindow::checkExtension(const std::string& path) {
    const auto bytes = fileio::readFile(path);
    if (!bytes) return;
    const auto wrong = pictures::wrongExtension(path, std::string_view(*bytes).substr(0, 16));
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
    m_path = wrong->newPath;
    m_store.writeValue(kSection, kKey, m_path);
    if (m_hooks.refreshExplorer) m_hooks.refreshExplorer(m_path);
}

void PictureWindow::ensureSource() {
    if (m_sourceLoaded) return;
    // An edit on a picture still being decoded waits for it, so that both agree.
    if (!m_pending.empty()) {
        const std::string path = m_pending;
        m_pending.clear();
        m_prefetched.at(path).wait();
        finishLoad(path);
    }
    try {
        auto picture = platform::pictures::loadPicture(m_path);
        m_source = std::move(picture.bitmap);
        m_exif = picture.exif;
    } catch (const std::exception&) {
        m_source = m_display;
    }
    m_sourceSize = {m_source.width(), m_source.height()};
    m_sourceLoaded = true;
}

void PictureWindow::redisplay(bool fullSize) {
    const QSize screen = screenSize();
    showSourceAt(pictures::viewer::displaySize(m_sourceSize, {screen.width(), screen.height()}, fullSize, m_shrinkLarge));
}

// Lanczos when shrinking, Mitchell when enlarging; the window takes the size.
void PictureWindow::showSourceAt(Size d) {
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

void PictureWindow::prefetchNeighbours() {
    std::vector<std::string> keep = {m_path};
    const QSize screen = screenSize();
    for (bool forward : {true, false}) {
        const auto s = pictures::viewer::step(m_list, m_path, forward);
        if (!s) continue;
        const std::string next = m_list[static_cast<size_t>(s->index)];
        keep.push_back(next);
        if (m_prefetched.count(next)) continue;
        const bool shrink = m_shrinkLarge;
        m_prefetched[next] =
            std::async(std::launch::async, [next, screen, shrink] { return loadForScreen(next, screen, shrink); }).share();
    }
    dropPrefetchesBut(keep);
}

// At most the current picture and its two neighbours stay decoded; one still being
// decoded is let go without waiting for it.
void PictureWindow::dropPrefetchesBut(const std::vector<std::string>& keep) {
    for (auto it = m_prefetched.begin(); it != m_prefetched.end();) {
        if (std::find(keep.begin(), keep.end(), it->first) == keep.end()) {
            if (it->second.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
                m_abandoned.push_back(it->second);
                m_poll->start();
            }
            it = m_prefetched.erase(it);
        } else {
            ++it;
        }
    }
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

void PictureWindow::toggleFullSize() {
    ensureSource();
    redisplay(m_display.width() < m_source.width());
}

void PictureWindow::markCorner(bool topLeft) {
    const QPoint p(std::clamp(m_mouse.x(), 0, std::max(0, m_display.width() - 1)),
                   std::clamp(m_mouse.y(), 0, std::max(0, m_display.height() - 1)));
    if (topLeft) {
        m_corner0 = p;
    } else {
        m_corner1 = p;
    }
    if (m_corner0.x() >= 0 && m_corner1.x() >= 0) {
        if (m_corner1.x() <= m_corner0.x()) m_corner1.setX(std::min(m_corner0.x() + 100, m_display.width() - 1));
        if (m_corner1.y() <= m_corner0.y()) m_corner1.setY(std::min(m_corner0.y() + 100, m_display.height() - 1));
        m_markingValid = true;
        if (m_hooks.showStatus) {
            m_hooks.showStatus(std::to_string(m_corner1.x() - m_corner0.x()) + "*" +
                               std::to_string(m_corner1.y() - m_corner0.y()));
        }
    }
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
    redisplay(false);
    return true;
}

void PictureWindow::turn(bool right) {
    turnOnly(right);
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

void PictureWindow::brighter(int percent) {
    ensureSource();
    do {
        pictures::viewer::brighten(m_source, percent);
        redisplay(false);
    } while (m_dialogs.ask("Noch einmal?") == Answer::Yes);
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
        m_background->hide();
        return;
    }
    load(m_list[std::min(index, m_list.size() - 1)]);
    prefetchNeighbours();
}

void PictureWindow::rename() {
    auto name = m_dialogs.askText("umbenennen", "Geben Sie den neuen Namen ein!", pathnames::fileNamePart(m_path));
    if (!name || name->empty()) return;
    const std::string target = pathnames::folderOf(m_path) + "/" + *name;
    std::error_code ec;
    if (fs::exists(target, ec)) {
        m_dialogs.inform("Name schon vorhanden!");
        return;
    }
    fs::rename(m_path, target, ec);
    if (ec) {
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

void PictureWindow::openSizePanel() {
    ensureSource();
    if (!m_sizePanel) {
        SizePanel::Actions actions;
        actions.show = [this](Size size) { showSourceAt(size); };
        actions.saveSo = [this](Size size) {
            // The shown size becomes the picture; the save dialog follows.
            m_source = pictures::resized(m_source, size.width, size.height,
                                         size.width <= m_source.width() ? pictures::StretchFilter::Lanczos
                                                                        : pictures::StretchFilter::Mitchell);
            m_sourceSize = size;
            showSourceAt(size);
            saveAs();
        };
        m_sizePanel = new SizePanel(this, std::move(actions));
    }
    m_sizePanel->open(m_sourceSize, {m_display.width(), m_display.height()});
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
    switch (event->key()) {
        case Qt::Key_Down:
        case Qt::Key_Space: stepPicture(true); return;
        case Qt::Key_Up: stepPicture(false); return;
        case Qt::Key_G: toggleFullSize(); return;
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
        case Qt::Key_D: printInBrowser(); return;
        case Qt::Key_Y: colourIn(); return;
        case Qt::Key_R: turn(true); return;
        case Qt::Key_L: turn(false); return;
        case Qt::Key_P: moveToBin(); return;
        case Qt::Key_U: rename(); return;
        case Qt::Key_N: reload(); return;
        case Qt::Key_S:
            if (event->modifiers() & Qt::ShiftModifier) {
                openSizePanel();
            } else {
                saveAs();
            }
            return;
        case Qt::Key_H: brighter(5); return;
        case Qt::Key_X: m_menu->findChild<QAction*>("Kontrast1")->trigger(); return;
        case Qt::Key_M: m_menu->popup(mapToGlobal(QPoint(0, 0))); return;
        case Qt::Key_V:
            if (m_hooks.markFile) m_hooks.markFile(m_path);
            return;
        case Qt::Key_F10:
            raise();
            activateWindow();
            return;
        case Qt::Key_F11:
            if (m_hooks.showExplorer) m_hooks.showExplorer();
            return;
        case Qt::Key_Escape:
            close();
            m_background->hide();
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
