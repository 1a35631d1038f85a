// The picture window's extra pictures, aspect-ratio marking, free rotation and
// printing through the browser.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>
#include <cmath>

#include "CorrectionPen.h"
#include "ExtraPicture.h"
#include "PictureWindow.h"
#include "common/Dialogs.h"
#include "common/MenuCommands.h"
#include "common/FileIo.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "pictures/AffineTransformation.h"
#include "platform/Desktop.h"
#include "platform/pictures/PictureFiles.h"
#include "platform/pictures/QtPictureCodecs.h"

namespace pictra::ui {

namespace {

constexpr const char* kMarkFirst = "Zuerst Markierung des Rechtecks links oben und rechts unten setzen!";

}  // namespace

void PictureWindow::markKeepingRatio(bool askAgain) {
    if (!m_ratio || askAgain) {
        auto text = m_dialogs.askText("Abfrage einmal pro Bild (Bei \"F3\")", "In welchem Verhältnis soll geschnitten werden?",
                                      "13:9");
        if (!text) return;
        const auto ratio = pictures::viewer::parseRatio(*text);
        if (!ratio.error.empty()) {
            m_dialogs.inform(ratio.error);
            return;
        }
        m_ratio = std::make_pair(ratio.a, ratio.b);
    }
    markCorner(false);
    if (!m_markingValid) return;
    const auto c = pictures::viewer::keepRatio({m_corner0.x(), m_corner0.y(), m_corner1.x(), m_corner1.y()},
                                               m_ratio->first, m_ratio->second, m_display.width());
    m_corner1 = QPoint(c.x1, c.y1);
    if (m_hooks.showStatus) {
        m_hooks.showStatus("Seitenverhältnis = " + std::to_string(m_ratio->first) + ":" + std::to_string(m_ratio->second));
    }
    update();
}

QWidget* PictureWindow::extraPicture(int number) const {
    return number >= 1 && number <= extraPictureCount() ? m_extras[static_cast<size_t>(number - 1)] : nullptr;
}

void PictureWindow::markedAsExtraPicture(bool firstNote) {
    if (!m_markingValid || m_corner0.x() >= m_corner1.x() || m_corner0.y() >= m_corner1.y()) {
        m_dialogs.inform(kMarkFirst);
        return;
    }
    // The same rectangle as a cut takes: the bottom-right corner is just outside.
    const QRect part(m_corner0, QSize(m_corner1.x() - m_corner0.x(), m_corner1.y() - m_corner0.y()));
    const QImage image = platform::pictures::toQImage(m_display).copy(part);
    const int number = extraPictureCount() + 1;
    auto* extra = new ExtraPicture(this, image, number, mapToGlobal(m_corner0));
    extra->setMenu(extraMenu(extra));
    m_extras.push_back(extra);
    extra->show();
    if (!m_extrasMenu) {
        m_extrasMenu = m_menu->addMenu("Ausschnitt &schneiden ");
        m_extrasMenu->setObjectName("AusschnittSchneiden1");
    }
    QAction* item = m_extrasMenu->addAction(QString::number(number) + " " + QFile::decodeName(QByteArray::fromStdString(
                                                                                pathnames::fileNamePart(m_path))));
    connect(item, &QAction::triggered, this, [this, number] { showExtraPicture(number); });
    if (number == 1 && firstNote) m_dialogs.inform("Vorgemerktes Bild in den Vordgrund: Taste \"1\" etc.");
}

QMenu* PictureWindow::extraMenu(ExtraPicture* extra) {
    auto* menu = new QMenu(extra);
    using pictures::viewer::InsertMode;
    addMenuCommand(menu, "BildEinfuegen1", "Bild einfügen", [this, extra] { insertExtra(extra, InsertMode::Copy); });
    addMenuCommand(menu, "GeschwaerztesNicht1", "Bild einfügen, Geschwärztes nicht", [this, extra] { insertExtra(extra, InsertMode::SkipBlack); });
    addMenuCommand(menu, "Transparent1", "Bild transparent einfügen", [this, extra] { insertExtra(extra, InsertMode::Transparent); });
    addMenuCommand(menu, "Fliessend1", "Bild einfügen mit fließenden Übergängen",
                   [this, extra] { insertExtra(extra, InsertMode::Smooth); });
    addMenuCommand(menu, "Regenbogen1", "Zeichne Regenbogenfarben", [extra] {
        pictures::Bitmap32 rainbow = platform::pictures::fromQImage(extra->image());
        pictures::viewer::drawRainbow(rainbow);
        extra->setImage(platform::pictures::toQImage(rainbow));
    });
    addMenuCommand(menu, "AlsExtraBearbeiten1", "Auschnitt als extra Bild bearbeiten", [this, extra] { editExtraAlone(extra); });
    addMenuCommand(menu, "AlleZeigen1", "Alle vorgemerkten Bilder zeigen", [this] {
        for (int n = 1; n <= extraPictureCount(); ++n) extraPicture(n)->show();
        m_dialogs.inform("Mit Taste \"1\" sehen Sie Bild 1, mit Taste \"2\" Bild 2 ...");
    });
    addMenuCommand(menu, "AlteLage1", "Alte Lage wiederherstellen", [extra] { extra->move(extra->origin()); });
    struct Move {
        const char* name;
        const char* text;
        QPoint direction;
    };
    for (const Move& m : {Move{"NachRechts1", "Nach rechts verschieben", {1, 0}}, Move{"NachLinks1", "Nach links verschieben", {-1, 0}},
                          Move{"NachOben1", "Nach oben verschieben", {0, -1}}, Move{"NachUnten1", "Nach unten verschieben", {0, 1}}}) {
        addMenuCommand(menu, m.name, m.text, [this, extra, direction = m.direction, text = m.text] {
            long long pixels = 10;
            if (m_dialogs.askNumber(text, "Wieviel Pixel", pixels)) extra->move(extra->pos() + direction * static_cast<int>(pixels));
        });
    }
    return menu;
}

// The extra picture goes into the picture where it was dragged to.
void PictureWindow::insertExtra(ExtraPicture* extra, pictures::viewer::InsertMode mode) {
    ensureSource();
    if (m_display.width() != m_source.width() || m_display.height() != m_source.height()) {
        m_shrinkLarge = false;
        redisplay(true);
        m_dialogs.inform("Das vorgemerkte Bild kann nur bei Originalgröße eingefügt werden.\rMenüpunkt "
                         "\"Datei|Zu große Bilder auf Dauer verkeinern\" wurde deaktiviert");
        return;
    }
    const QPoint at = extra->pos() - mapToGlobal(QPoint(0, 0));
    int x = at.x();
    int y = at.y();
    const int w = extra->image().width();
    const int h = extra->image().height();
    const bool outside = x < 0 || y < 0 || x + w > m_source.width() || y + h > m_source.height();
    if (outside && m_dialogs.ask("Bild passend vergrößern?") == Answer::Yes) {
        pictures::viewer::growToFit(m_source, x, y, w, h);
        m_sourceSize = {m_source.width(), m_source.height()};
    }
    m_dialogs.beginCancelWindow("Bild wird eingefügt");
    pictures::viewer::insertPicture(m_source, platform::pictures::fromQImage(extra->image()), x, y, mode);
    m_dialogs.endCancelWindow();
    redisplay(true);
}

// The part is saved as "tmp.bmp" and shown alone, to be edited like any picture.
void PictureWindow::editExtraAlone(ExtraPicture* extra) {
    const std::string part = QDir::tempPath().toStdString() + "/tmp.bmp";
    try {
        platform::pictures::savePicture(part, platform::pictures::fromQImage(extra->image()));
    } catch (const std::exception&) {
        m_dialogs.inform("Kann nicht speichern! (Intern 18a)");
        return;
    }
    m_editedExtra = extra;
    m_returnPath = m_path;
    m_returnList = m_list;
    showPictureFile(part, {part});
    m_dialogs.inform("Jetzt kann dieser Auschnitt separat bearbeitet werden.\rZurück mit Menüpunkt: \"Extras|Änderungen "
                     "des Auschnitts einfügen\".");
}

void PictureWindow::putEditedPartBack() {
    if (!m_editedExtra) {
        m_dialogs.inform("Fehler: Zuerst Teil ausschneiden, dann im ausgeschnittenen Bild Menü \"Auschnitt als extra Bild "
                         "bearbeiten\" aufrufen!");
        return;
    }
    ensureSource();
    m_editedExtra->setImage(platform::pictures::toQImage(m_source));
    ExtraPicture* extra = m_editedExtra;
    m_editedExtra = nullptr;
    showPictureFile(m_returnPath, m_returnList);
    extra->show();
    extra->raise();
}

// "Bild in Irvanview zeigen und dort drucken": the desktop's picture viewer prints it.
void PictureWindow::printInViewer() {
    ensureSource();
    const std::string temporary = QDir::tempPath().toStdString() + "/pictra-druck.bmp";
    try {
        platform::pictures::savePicture(temporary, m_source);
    } catch (const std::exception&) {
        m_dialogs.inform("Kann temporäre Datei \"" + temporary + "\" nicht speichern.");
        return;
    }
    if (!platform::openWithAssociated(temporary)) m_dialogs.inform("Hat nicht geklappt");
}

void PictureWindow::wholeAsExtraPicture() {
    markWholePicture();
    markedAsExtraPicture();
}

void PictureWindow::showExtraPicture(int number) {
    QWidget* extra = extraPicture(number);
    if (!extra) return;
    for (QWidget* other : m_extras) other->setStyleSheet("");
    extra->setStyleSheet("QLabel#TForm18aimage { border: 3px solid red; }");
    extra->show();
    extra->raise();
}

void PictureWindow::rotateByAngle() {
    ensureSource();
    auto text = m_dialogs.askText("negative Eingabe: Rechtsdrehen", "Winkel in Grad",
                                  text::replaceAll(std::to_string(std::round(m_lastAngle * 10) / 10).substr(0, 6), ".", ","));
    if (!text) return;
    const std::string value = text::replaceAll(text::trim(*text), ",", ".");
    char* end = nullptr;
    const float angle = std::strtof(value.c_str(), &end);
    if (value.empty() || end != value.c_str() + value.size() || !std::isfinite(angle)) {
        m_dialogs.inform("Kann nicht drehen!");
        return;
    }
    m_lastAngle = angle;
    pictures::rotateInFrame(m_source, angle);
    redisplay(false);
}

// "Bild im Browser zeigen und dort drucken ": the picture and a page holding it.
void PictureWindow::printInBrowser() {
    ensureSource();
    const std::string folder = QDir::tempPath().toStdString() + "/";
    const std::string picture = folder + "tmp.bmp";
    const std::string page = folder + "tmp.html";
    const double cmWide = m_source.width() / 38.0;
    const double cmHigh = m_source.height() / 38.0;
    char size[128];
    std::snprintf(size, sizeof size, "%.1f", cmWide);
    std::string sizeText = size;
    std::snprintf(size, sizeof size, "%.1f", cmHigh);
    m_dialogs.inform("Dieses Bild hat gedruckt die Maße: " + text::replaceAll(sizeText, ".", ",") + "cm * " +
                     text::replaceAll(size, ".", ",") + "cm\r38 Pixel (siehe hinter dem Bild links oben) ensprechen 1cm");
    long long percent = 100;
    if (!m_dialogs.askNumber("Empfohlen 100%", "Wie groß in %", percent) || percent <= 0) return;
    try {
        platform::pictures::savePicture(picture, m_source);
    } catch (const std::exception&) {
        m_dialogs.inform("Kann temporäre Datei \"" + picture + "\" nicht speichern.");
        return;
    }
    const long long w = m_source.width() * percent / 100;
    const long long h = m_source.height() * percent / 100;
    const std::string html = "<html><body><div style=\"width:38px;height:38px;background:#ccc\"></div><img src=\"tmp.bmp\" "
                             "width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) + "\"></body></html>";
    if (!fileio::writeFileAtomic(page, html)) {
        m_dialogs.inform("Kann temporäre Datei \"" + page + "\" nicht speichern.");
        return;
    }
    if (m_hooks.showInBrowser) m_hooks.showInBrowser(page);
    m_dialogs.inform("Rufen Sie jetzt das Druckprogramm des Browsers auf!");
}

}  // namespace pictra::ui

namespace pictra::ui {

void PictureWindow::toggleCorrectionPen() {
    if (!m_pen) m_pen = new CorrectionPen(this, [this](QPoint at) { paintDot(at); });
    if (m_pen->isVisible()) {
        m_pen->hide();
        return;
    }
    m_pen->move(m_mouse - QPoint(m_pen->width() / 2, m_pen->height() / 2));
    m_pen->show();
    m_pen->raise();
}

void PictureWindow::setPenSize(int diameter) {
    if (!m_pen) toggleCorrectionPen();
    m_pen->setPenSize(diameter);
}

// The shown picture keeps the proportions of the full-size one, so one factor maps both axes.
float PictureWindow::sourceFactor() const {
    return static_cast<float>(m_source.width()) / static_cast<float>(std::max(m_display.width(), 1));
}

QPoint PictureWindow::sourcePoint(QPoint shown) const {
    const float f = sourceFactor();
    return {static_cast<int>(std::lround(static_cast<float>(shown.x()) * f)),
            static_cast<int>(std::lround(static_cast<float>(shown.y()) * f))};
}

// The colour under the pointer, in the full-size picture.
void PictureWindow::rememberPenColour() {
    ensureSource();
    const QPoint under = sourcePoint(m_mouse);
    m_penColour = m_source.pixelChecked(under.x(), under.y());
}

void PictureWindow::paintDot(QPoint at) {
    ensureSource();
    const float f = sourceFactor();
    const int diameter = m_pen ? m_pen->penSize() : 9;
    const auto dot = [this](pictures::Bitmap32& picture, int cx, int cy, int r) {
        for (int y = cy - r; y <= cy + r; ++y) {
            for (int x = cx - r; x <= cx + r; ++x) {
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) picture.setPixelChecked(x, y, m_penColour);
            }
        }
    };
    const QPoint centre = sourcePoint(at);
    dot(m_source, centre.x(), centre.y(), static_cast<int>(std::lround(static_cast<float>(diameter) * f / 2)));
    // The shown picture gets the same dot at its own scale: no new resampling per dot.
    dot(m_display, at.x(), at.y(), diameter / 2);
    update();
}

}  // namespace pictra::ui
