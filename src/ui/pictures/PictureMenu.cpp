// The picture window's context menu: the commands grouped as the window's keys
// and the groups "Farbe", "Drehen", "Datei" and "Extras", each key shown beside
// its command.
#include <QMenu>
#include <tuple>

#include "PictureWindow.h"
#include "common/Dialogs.h"
#include "common/MenuCommands.h"

namespace pictra::ui {

namespace {

// The key is shown in the menu's key column; the window's own key handling runs it,
// so that the menu never competes with it for the arrows and letters.
QAction* keyed(QAction* action, const QString& key) {
    action->setText(action->text() + "\t" + key);
    return action;
}

QAction* checkable(QMenu* menu, const char* name, const QString& text, bool on, std::function<void(bool)> toggled) {
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    a->setCheckable(true);
    a->setChecked(on);
    QObject::connect(a, &QAction::toggled, menu, [toggled = std::move(toggled)](bool value) { toggled(value); });
    return a;
}

}  // namespace

void PictureWindow::buildMenu() {
    m_menu = new QMenu(this);
    m_menu->setObjectName("PopupMenu1");
    keyed(addMenuCommand(m_menu, "Naechstes1", "&Nächstes Bild", [this] { stepPicture(true); }), "Leertaste, Pfeil unten");
    keyed(addMenuCommand(m_menu, "Voriges1", "&Voriges Bild", [this] { stepPicture(false); }), "Pfeil oben");
    keyed(addMenuCommand(m_menu, "Bildgroesseroderkleiner", "Bild &größer oder kleiner", [this] { toggleFullSize(); }), "G");
    keyed(addMenuCommand(m_menu, "SichtbaresBelassen1", "Sichtbares Bild belassen (Verdecktes wird abgeschnitten)",
                         [this] { keepVisiblePart(); }),
          "F7");
    m_menu->addSeparator();
    keyed(addMenuCommand(m_menu, "MarkierungLinksOben1", "Markierung links oben", [this] { markCorner(true); }), "F1");
    keyed(addMenuCommand(m_menu, "MarkierungRechtsUnten1", "Markierung rechts unten", [this] { markCorner(false); }), "F2");
    keyed(addMenuCommand(m_menu, "SeitenverhaeltnisBeibehalten1", "... und dabei das Seitenverhältnis beibehalten",
                         [this] { markKeepingRatio(false); }),
          "F3");
    addMenuCommand(m_menu, "SeitenverhaeltnisBestimmen1", "... und dabei das Seitenverhältnis bestimmen",
                   [this] { markKeepingRatio(true); });
    addMenuCommand(m_menu, "MarkierungGanzesBild1", "Markierung für ganzes Bild", [this] { markWholePicture(); });
    keyed(addMenuCommand(m_menu, "Ausschneiden1", "Markiertes Rechteck ausschneiden", [this] { cutMarked(); }), "F4");
    keyed(addMenuCommand(m_menu, "Verschieben1", "Markiertes Rechteck verschieben", [this] { markedAsExtraPicture(); }), "F5");
    keyed(addMenuCommand(m_menu, "ExtraBild1", "Markiertes Rechteck als extra Bild vormerken",
                         [this] { markedAsExtraPicture(); }),
          "F6");
    addMenuCommand(m_menu, "GanzesExtraBild1", "Ganzes Bild als extra Bild vormerken", [this] { wholeAsExtraPicture(); });
    buildDrawingMenu();
    m_menu->addSeparator();
    QMenu* colour = m_menu->addMenu("&Farbe");
    colour->setObjectName("Farbe1");
    buildColourMenu(colour);
    QMenu* turning = m_menu->addMenu("&Drehen");
    turning->setObjectName("Drehen1");
    keyed(addMenuCommand(turning, "LinksDrehen1", "links drehen (und speichern)", [this] { turn(false); }), "L");
    keyed(addMenuCommand(turning, "RechtsDrehen1", "rechts drehen (und speichern)", [this] { turn(true); }), "R");
    addMenuCommand(turning, "DrehenUmGrad1", "links drehen um ... Grad", [this] { rotateByAngle(); });
    QMenu* file = m_menu->addMenu("&Datei");
    file->setObjectName("Datei1");
    buildFileMenu(file);
    QMenu* extras = m_menu->addMenu("E&xtras");
    extras->setObjectName("Extras1");
    addMenuCommand(extras, "AenderungenEinfuegen1", "Änderungen des Auschnitts einfügen", [this] { putEditedPartBack(); });
    addMenuCommand(extras, "TextAufBild1", "Text auf Bild schreiben Strg+(Mausklick links)",
                   [this] { openTextDialog(mapToGlobal(m_mouse)); });
    for (auto [name, text, flag] : {std::tuple{"DateinamenEinblenden1", "Dateinamen einblenden", &m_showName},
                                    std::tuple{"GroesseEinblenden1", "Größe einblenden", &m_showSize}}) {
        checkable(extras, name, text, false, [this, flag = flag](bool on) {
            *flag = on;
            update();
        });
    }
    checkable(extras, "BlauNichtZeigen1", "Blauen Hintergrund nicht zeigen", m_noBackground, [this](bool on) {
        m_noBackground = on;
        if (on) {
            m_background->hide();
        } else if (isVisible()) {
            m_background->setGeometry(QRect(QPoint(0, 0), screenSize()));
            m_background->show();
            raise();
        }
    });
    addMenuCommand(extras, "Experten1", "Umschalten zum ausführlichen Menü (nur für Experten)",
                   [this] { switchToEditor(); });
}

void PictureWindow::buildFileMenu(QMenu* file) {
    keyed(addMenuCommand(file, "BildSpeichern1", "Bild speichern", [this] { saveAs(); }), "S, Strg+F6");
    keyed(addMenuCommand(file, "AndereGroesse1", "Bild in anderer Größe zeigen/speichern", [this] { openSizePanel(); }),
          "Umschalt+S");
    keyed(addMenuCommand(file, "Wiederherstellen1", "Bild wiederherstellen", [this] { reload(); }), "N");
    keyed(addMenuCommand(file, "Umbenennen1", "umbenennen", [this] { rename(); }), "U");
    keyed(addMenuCommand(file, "Vormerken1", "Bild zu den vorgemerkten Dateien / rückgängig ",
                         [this] {
                             if (m_hooks.markFile) m_hooks.markFile(m_path);
                         }),
          "V");
    keyed(addMenuCommand(file, "Papierkorb1", "Bild in Papierkorb verschieben", [this] { moveToBin(); }), "P");
    keyed(addMenuCommand(file, "ImBrowserDrucken1", "Bild im Browser zeigen und dort drucken ", [this] { printInBrowser(); }),
          "D");
    addMenuCommand(file, "ImViewerDrucken1", "Bild in Irvanview zeigen und dort drucken", [this] { printInViewer(); });
    addMenuCommand(file, "Ueberblick1", "Überblick über alle Bilder des Ordners", [this] { showOverview(); });
    addMenuCommand(file, "Zwischenablage1", "Bild der Zwischenablage zeigen", [this] { showClipboardPicture(); });
    file->addSeparator();
    checkable(file, "ZuGrosseVerkleinern1", "Zu große Bilder auf Dauer verkleinern", m_shrinkLarge, [this](bool on) {
        m_shrinkLarge = on;
        // Decodes made with the old choice are let go without blocking the window; one the
        // window is still waiting for is kept so that picture still appears.
        dropPrefetchesBut({m_pending});
    });
    checkable(file, "NaechsteBildnummer1", "Nächste Bildnummer beim Abspeichern eines Ausschnittes", m_numberCuts,
              [this](bool on) { m_numberCuts = on; });
}

void PictureWindow::buildColourMenu(QMenu* colour) {
    keyed(addMenuCommand(colour, "Heller1", "Heller (ohne Grauschleier)", [this] { brighter(5); }), "H");
    addMenuCommand(colour, "Dunkler1", "Dunkler", [this] { brighter(-5); });
    addMenuCommand(colour, "DunklerWeiss1", "Dunkler, aber weiß bleibt weiß", [this] { darkerKeepingWhite(); });
    struct Step {
        const char* name;
        const char* inside;
        const char* text;
        int r, g, b;
    };
    static const Step steps[] = {{"MehrRot1", "InnenMehrRot1", "mehr rot", 5, 0, 0},
                                 {"MehrGruen1", "InnenMehrGruen1", "mehr grün", 0, 5, 0},
                                 {"MehrBlau1", "InnenMehrBlau1", "mehr blau", 0, 0, 5},
                                 {"WenigerRot1", "InnenWenigerRot1", "weniger rot", -5, 0, 0},
                                 {"WenigerGruen1", "InnenWenigerGruen1", "weniger grün", 0, -5, 0},
                                 {"WenigerBlau1", "InnenWenigerBlau1", "weniger blau", 0, 0, -5}};
    for (const Step& s : steps) {
        addMenuCommand(colour, s.name, s.text, [this, s] { colourStep(s.r, s.g, s.b); });
    }
    keyed(addMenuCommand(colour, "Kontrast1", "mehr Kontrast - weniger Grauschleier",
                         [this] {
                             colourPasses([this] { pictures::viewer::applyCurve(m_source, {5, 5, 5, -5}); }, false, false);
                         }),
          "X");
    keyed(addMenuCommand(colour, "Einfaerben1", "Einfärben", [this] { colourIn(); }), "Y");
    QMenu* inside = colour->addMenu("Farbe innerhalb der &Markierung");
    inside->setObjectName("FarbeInnerhalb1");
    keyed(addMenuCommand(inside, "InnenHeller1", "Heller ", [this] { colourStep(5, 5, 5, true); }), "Umschalt+H");
    addMenuCommand(inside, "InnenDunkler1", "Dunkler", [this] { colourStep(-5, -5, -5, true); });
    for (const Step& s : steps) {
        addMenuCommand(inside, s.inside, s.text, [this, s] { colourStep(s.r, s.g, s.b, true); });
    }
    QMenu* pen = colour->addMenu("&Korrekturstift");
    pen->setObjectName("Korrekturstift1");
    addMenuCommand(pen, "StiftZeigen1", "Korrekturstift zeigen/verstecken", [this] { toggleCorrectionPen(); });
    addMenuCommand(pen, "StiftFarbe1", "Farbe unter dem Mauszeiger merken", [this] { rememberPenColour(); });
    addMenuCommand(pen, "StiftSehrKlein1", "sehr klein", [this] { setPenSize(3); });
    addMenuCommand(pen, "StiftNormal1", "normal", [this] { setPenSize(9); });
    addMenuCommand(pen, "StiftGross1", "groß", [this] { setPenSize(17); });
    addMenuCommand(pen, "StiftSehrGross1", "sehr groß", [this] { setPenSize(33); });
}

}  // namespace pictra::ui
