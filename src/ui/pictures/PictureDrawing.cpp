// Drawing into the marking of the picture window: lines, rectangle, ellipse and
// circle with the pen's width and colour, and taking the last drawing back.
#include <QMenu>
#include <QPainter>

#include "PictureWindow.h"
#include "common/Dialogs.h"
#include "common/MenuCommands.h"
#include "common/UiText.h"
#include "platform/pictures/QtPictureCodecs.h"

namespace pictra::ui {

namespace {

constexpr const char* kAllOk =
    "Sie sehen nun das markierte Rechteck.\rDie Farbe des Zeichenstifts wird mit Menü \"Farbe für Zeichnen\" bestimmt."
    "\rDie Dicke des Zeichenstifts wird mit Menü \"Dicke für Zeichnen\" bestimmt.\rAlles OK?";

}  // namespace

void PictureWindow::buildDrawingMenu() {
    QMenu* draw = m_menu->addMenu("Ausschnitt &markieren");
    draw->setObjectName("AusschnittMarkieren1");
    addMenuCommand(draw, "Quadrat1", "Höhe so ändern, dass Markierung Quadrat", [this] { makeMarkingSquare(); });
    addMenuCommand(draw, "Horizontal1", "Horizontale Linie zeichnen", [this] { drawFigure(Figure::Horizontal); });
    addMenuCommand(draw, "Vertikal1", "Vertikale Linie zeichnen", [this] { drawFigure(Figure::Vertical); });
    addMenuCommand(draw, "DiagonaleAb1", "Diagonale abwärts (rot) zeichnen", [this] { drawFigure(Figure::DiagonalDown); });
    addMenuCommand(draw, "DiagonaleAuf1", "Diagonale aufwärts (blau) zeichnen", [this] { drawFigure(Figure::DiagonalUp); });
    addMenuCommand(draw, "Rechteck1", "Rechteck nach Markierung zeichnen", [this] { drawFigure(Figure::Rectangle); });
    addMenuCommand(draw, "Ellipse1", "Ellipse in Markierung zeichnen", [this] { drawFigure(Figure::Ellipse); });
    addMenuCommand(draw, "Kreis1", "Kreis in Markierung zeichnen", [this] {
        makeMarkingSquare();
        drawFigure(Figure::Ellipse);
    });
    addMenuCommand(draw, "Rueckgaengig1", "Letzte Zeichnung rückgängig machen", [this] {
        if (m_copyBuffer.empty()) return;
        m_source = m_copyBuffer;
        m_sourceSize = {m_source.width(), m_source.height()};
        redisplay(true);
    });
    addMenuCommand(draw, "FarbeZeichnen1", "Farbe für Zeichnen", [this] {
        if (auto colour = m_dialogs.chooseColour(colourToWindows(m_drawColour))) m_drawColour = colourFromWindows(*colour);
    });
    addMenuCommand(draw, "DickeZeichnen1", "Dicke für Zeichnen", [this] {
        long long width = m_drawWidth;
        if (m_dialogs.askNumber("Dicke des zeichenstifts", "Geben Sie eine Zahl ein", width) && width > 0) {
            m_drawWidth = static_cast<int>(std::min<long long>(width, 500));
        }
    });
}

void PictureWindow::makeMarkingSquare() {
    if (!m_markingValid) return;
    m_corner1.setY(m_corner0.y() + (m_corner1.x() - m_corner0.x()));
    update();
}

void PictureWindow::drawFigure(Figure figure) {
    if (!m_markingValid || m_corner0.x() >= m_corner1.x() || m_corner0.y() >= m_corner1.y()) {
        m_dialogs.inform("Zuerst Markierung des Rechtecks links oben und rechts unten setzen!");
        return;
    }
    ensureSource();
    m_copyBuffer = m_source;
    update();
    if (m_dialogs.ask(kAllOk) != Answer::Yes) return;
    const double f = static_cast<double>(m_source.width()) / std::max(m_display.width(), 1);
    const auto s = [f](int v) { return static_cast<int>(std::lround(v * f)); };
    const int x0 = s(m_corner0.x()), y0 = s(m_corner0.y()), x1 = s(m_corner1.x()), y1 = s(m_corner1.y());
    QImage image = platform::pictures::toQImage(m_source);
    QPainter painter(&image);
    painter.setPen(QPen(m_drawColour, m_drawWidth));
    painter.setBrush(Qt::NoBrush);
    switch (figure) {
        case Figure::Horizontal: painter.drawLine(x0, y0, x1, y0); break;
        case Figure::Vertical: painter.drawLine(x0, y0, x0, y1); break;
        case Figure::DiagonalDown: painter.drawLine(x0, y0, x1, y1); break;
        case Figure::DiagonalUp: painter.drawLine(x0, y1, x1, y0); break;
        case Figure::Rectangle: painter.drawRect(QRect(QPoint(x0, y0), QPoint(x1, y1))); break;
        case Figure::Ellipse: painter.drawEllipse(QRect(QPoint(x0, y0), QPoint(x1, y1))); break;
    }
    painter.end();
    m_source = platform::pictures::fromQImage(image);
    m_markingValid = false;
    m_corner0 = m_corner1 = QPoint(-1, -1);
    redisplay(true);
}

}  // namespace pictra::ui
