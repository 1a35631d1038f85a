// The colour steps of the picture window, on the whole picture or inside the
// marking, each repeated while the user asks for another pass, and colouring in.
#include "PictureWindow.h"
#include "common/Dialogs.h"
#include "common/UiText.h"

namespace pictra::ui {

// One pass after the other, the picture shown after each, until the answer is no.
void PictureWindow::colourPasses(const std::function<void()>& pass, bool numbered, bool inMarking) {
    for (int n = 1;; ++n) {
        pass();
        if (inMarking) {
            // The marking stays where it is on the display: same size, new pixels.
            showSourceAt({m_display.width(), m_display.height()});
        } else {
            redisplay(false);
        }
        const std::string question = inMarking ? std::to_string(n) + " Noch einmal innerhalb des Rechtecks?"
                                     : numbered ? std::to_string(n) + " Noch einmal?"
                                                : "Noch einmal?";
        if (m_dialogs.ask(question) != Answer::Yes) break;
    }
}

void PictureWindow::brighter(int percent) { colourStep(percent, percent, percent); }

void PictureWindow::colourStep(int red, int green, int blue, bool inMarking) {
    if (inMarking && (!m_markingValid || m_corner0.x() >= m_corner1.x() || m_corner0.y() >= m_corner1.y())) {
        m_dialogs.inform("Zuerst Markierung des Rechtecks links oben und rechts unten setzen!");
        return;
    }
    const pictures::Rect marked{m_corner0.x(), m_corner0.y(), m_corner1.x(), m_corner1.y()};
    const pictures::viewer::Size display{m_display.width(), m_display.height()};
    ensureSource();
    const pictures::Rect inside = pictures::viewer::toSource(marked, display, m_sourceSize);
    const pictures::Rect* area = inMarking ? &inside : nullptr;
    const bool allThree = red != 0 && green != 0 && blue != 0;
    colourPasses(
        [this, red, green, blue, allThree, area] {
            if (allThree) {
                pictures::viewer::brighten(m_source, red, area);
            } else {
                pictures::viewer::applyCurve(m_source, {red, green, blue, 0, true}, area);
            }
        },
        !allThree, inMarking);
}

void PictureWindow::darkerKeepingWhite() {
    long long t = 10;
    if (!m_dialogs.askNumber("Mit welchem Faktor", "Empfehlung 2 bis 25", t)) return;
    ensureSource();
    const int threshold = static_cast<int>(std::clamp(t, 0LL, 765LL));
    colourPasses([this, threshold] { pictures::viewer::darkenKeepingWhite(m_source, threshold); }, true, false);
}

void PictureWindow::colourIn() {
    ensureSource();
    long long tolerance = 30;
    if (!m_dialogs.askNumber("Toleranz (256=alles nicht Weiße)", "Mit welcher Toleranz soll eingefärbt werden?", tolerance)) {
        return;
    }
    const auto colour = m_dialogs.chooseColour(0x0000FF);
    if (!colour) return;
    const QColor paint = colourFromWindows(*colour);
    // The remembered colour is the source pixel under the pointer.
    const QPoint under = sourcePoint(m_mouse);
    const pictures::Color32 remembered = m_source.pixelChecked(under.x(), under.y());
    pictures::viewer::colourIn(m_source, remembered, static_cast<int>(std::clamp(tolerance, 0LL, 256LL)),
                               0xFF000000u | static_cast<pictures::Color32>(paint.rgb() & 0xFFFFFF));
    redisplay(false);
}

}  // namespace pictra::ui
