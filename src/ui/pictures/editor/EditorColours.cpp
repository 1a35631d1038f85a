// The groups "Farbe", "Korrektur" and "Effekte" of the picture editor.
#include <QApplication>
#include <QMenu>
#include <random>

#include "EditorWidgets.h"
#include "PictureEditor.h"
#include "common/Dialogs.h"
#include "common/MenuCommands.h"
#include "pictures/editing/Colours.h"
#include "pictures/editing/Filters.h"
#include "platform/pictures/PictureCodecs.h"
#include "platform/pictures/PictureEditingCodecs.h"

namespace pictra::ui {

namespace ed = pictures::editing;

namespace {

std::uint32_t windowsColour(pictures::Color32 c) {
    return static_cast<std::uint32_t>(ed::redOf(c) | ed::greenOf(c) << 8 | ed::blueOf(c) << 16);
}
pictures::Color32 fromWindows(std::uint32_t c) {
    return ed::rgb(static_cast<int>(c & 0xFF), static_cast<int>(c >> 8 & 0xFF), static_cast<int>(c >> 16 & 0xFF));
}

// The picture through a greyscale JPEG in memory with the encoder's defaults.
pictures::Bitmap32 greyRoundTrip(const pictures::Bitmap32& picture) {
    const std::string bytes = platform::pictures::encodeJpegGrey(picture);
    auto decoded = platform::pictures::decodeJpeg(bytes);
    return std::move(decoded.bitmap);
}

}  // namespace

void PictureEditor::applyMask(const std::string& itemName) {
    remember();
    ed::applyMask(m_picture, ed::maskFromItemName(itemName));
    refresh();
}

void PictureEditor::buildColourMenus(QMenu* colour, QMenu* correction, QMenu* effects) {
    const struct {
        const char* name;
        const char* text;
    } masks[] = {{"Mheller007", "Bild heller (Faktor 1,1)"}, {"Mheller448", "Bild heller (Faktor 1,5)"},
                 {"Mheller056", "Bild dunkler (Faktor 1,1)"}, {"Mheller512", "Schleier vermindern"},
                 {"Mheller1024", "Schleier verstärken"},      {"Mheller065", "rot verstärken"},
                 {"Mheller130", "grün verstärken"},           {"Mheller260", "blau verstärken"},
                 {"Mheller008", "rot abschwächen"},           {"Mheller016", "grün abschwächen"},
                 {"Mheller032", "blau abschwächen"}};
    for (const auto& m : masks) {
        // One handler for all: the item's own name carries its mask.
        QAction* a = addMenuCommand(colour, m.name, m.text, [] {});
        connect(a, &QAction::triggered, this, [this, a] { applyMask(a->objectName().toStdString()); });
    }
    colour->addSeparator();
    auto simple = [this](void (*f)(pictures::Bitmap32&)) {
        return [this, f] {
            remember();
            f(m_picture);
            refresh();
        };
    };
    addMenuCommand(colour, "Invertiere1", "Invertiere Farben", simple(ed::invertColours));
    addMenuCommand(colour, "Grautoene1", "Nur Grautöne", [this] { greyTones(); });
    addMenuCommand(colour, "SchwarzWeiss1", "Schwarz-Weiß", [this] { blackAndWhite(); });
    addMenuCommand(colour, "GraustufenSW1", "Graustufen in Schwarz-weiss umwandeln", simple(ed::greyToBlackWhite));
    addMenuCommand(colour, "SchwarzWirdWeiss1", "schwarz wird weiß (wegen Druckertinte)", [this] {
        const auto n = askInteger("Dunkles wird weiß und spart Druckertinte",
                                  "Ab welcher Dunkelheit (0=sehr dunkel, 4 = dunkel (empfohlen), ...", 4);
        if (!n) return;
        remember();
        ed::darkToWhite(m_picture, static_cast<int>(std::clamp<long long>(*n, 0, 256)));
        refresh();
    });
    colour->addSeparator();
    addMenuCommand(colour, "Farbe1Auswaehlen1", "Farbe 1 auswählen", [this] { m_pick = Pick::Colour1; });
    addMenuCommand(colour, "Farbe2Auswaehlen1", "Farbe 2 auswählen", [this] { m_pick = Pick::Colour2; });
    addMenuCommand(colour, "Farbcode1", "Farbcode zeigen", [this] { m_pick = Pick::Code; });

    auto degree = [this](const char* prompt, int value, void (*f)(pictures::Bitmap32&, int)) {
        return [this, prompt, value, f] {
            const auto d = askInteger("Bis zu welchem Grad?", prompt, value);
            if (!d) return;
            remember();
            f(m_picture, static_cast<int>(std::clamp<long long>(*d, -1, 768)));
            refresh();
        };
    };
    addMenuCommand(correction, "DunkleAufhellen1", "Dunkle Flächen aufhellen",
                   degree("0 = gar nicht  767= alles (empfohlen: 128)", 128, ed::brightenDark));
    addMenuCommand(correction, "HelleAbdunkeln1", "Helle Flächen abdunkeln",
                   degree("767 = gar nicht  0= alles (empfohlen: 512)", 512, ed::darkenBright));
    addMenuCommand(correction, "WeichAendern1", "Einzelne Farbe weich ändern", [this] { changeOneColour(true); });
    addMenuCommand(correction, "HartAendern1", "Einzelne Farbe hart ändern", [this] { changeOneColour(false); });
    addMenuCommand(correction, "Farbkorrektur1", "Farbkorrektur für gesamtes Bild ", [this] { colourCorrection(false); });
    addMenuCommand(correction, "FarbkorrekturVorauswahl1", "Farbkorrektur für gesamtes Bild mit Vorauswahl",
                   [this] { colourCorrection(true); });
    addMenuCommand(correction, "FarbeErsetzen1",
                   "Einzelne Farbe durch weiss (oder Farbe des rechten Mausklickes + Strg)  ersetzen",
                   [this] { replaceColourUnderPointer(); }, QKeySequence("Ctrl+Alt+X"));
    addMenuCommand(correction, "Toleranzfaktor1", "Toleranzfaktor ändern für Strg+Alt+X)", [this] {
        if (const auto t = askInteger("Toleranzfaktor", "Empfehlung: 16-96", m_tolerance)) {
            m_tolerance = static_cast<int>(std::clamp<long long>(*t, 0, 256));
        }
    });

    addMenuCommand(effects, "Glaetten1", "Glätten", simple(ed::smooth));
    addMenuCommand(effects, "Schaerfen1", "Schärfen", [this] {
        const auto a = askDecimal("Faktor zum Schärfen", "Bitte Zahl zwischen 1 und 6 (Maximum) eingeben", 3);
        if (!a) return;
        remember();
        m_picture = ed::sharpened(m_picture, *a);
        refresh();
    });
    addMenuCommand(effects, "Cartoon1", "Ein Cartoon machen", [this] {
        const auto f = askInteger("Min:2 (schwach) Max: 128 (stark)", "Geben Sie den Faktor ein!", 64);
        if (!f) return;
        if (*f < 1 || *f > 255) {
            m_dialogs.inform("Der Faktor muss zwischen 1 und 255 liegen.");
            return;
        }
        remember();
        ed::cartoon(m_picture, static_cast<int>(*f));
        refresh();
    });
    addMenuCommand(effects, "Spiegeln1", "Spiegeln", simple(ed::mirror));
    addMenuCommand(effects, "SpiegelVertikal1", "Spiegelbildlich zur Mitte vertikal", [this] {
        remember();
        ed::mirrorToMiddleVertical(m_picture);
        refresh();
        m_dialogs.inform("fertig");
    });
    addMenuCommand(effects, "SpiegelHorizontal1", "Spiegelbildlich zur Mitte horizontal", [this] {
        remember();
        ed::mirrorToMiddleHorizontal(m_picture);
        refresh();
        m_dialogs.inform("fertig");
    });
    addMenuCommand(effects, "Konturen1", "Konturen zeichnen", [this] { contours(); });
    addMenuCommand(effects, "Kacheln1", "Kacheln", [this] { tiles(); });
}

void PictureEditor::greyTones() {
    remember();
    try {
        m_picture = greyRoundTrip(m_picture);
    } catch (const std::exception&) {
        m_dialogs.inform("Hat nicht geklappt!");
    }
    refresh();
}

void PictureEditor::blackAndWhite() {
    std::mt19937 engine(std::random_device{}());
    const int t = ed::blackWhiteThreshold(m_picture, [&engine](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(engine);
    });
    const auto chosen = askInteger("Grau wird - je nach dem - schwarz oder weiß", "Intensität (0= alles Weiß)", t);
    if (!chosen) return;
    remember();
    ed::blackWhite(m_picture, static_cast<int>(std::clamp<long long>(*chosen, 0, 256)));
    refresh();
}

void PictureEditor::changeOneColour(bool soft) {
    if (!m_colour1->isVisible() || !m_colour2->isVisible()) {
        m_dialogs.inform("Sie müssen zunächst Menü \"Farbe 1 auswählen\"  und \"Farbe 2 auswählen\" anklicken!");
        return;
    }
    const auto c1 = static_cast<pictures::Color32>(m_colour1->property("colour").toUInt());
    const auto c2 = static_cast<pictures::Color32>(m_colour2->property("colour").toUInt());
    const auto t = askInteger("Toleranzfaktor (empfohlen 16)", "Eine Zahl zwischen 0 und 255 eingeben!", 16);
    if (!t) return;
    const int tolerance = static_cast<int>(std::clamp<long long>(*t, 0, 255));
    // Without soft transitions the change is the hard one over the two colours' range.
    const bool weich = soft && m_dialogs.ask("Weiche Übergänge?") == Answer::Yes;
    const pictures::Color32 preset = weich ? ed::meanColour(c1, c2) : c2;
    const auto chosen = m_dialogs.chooseColour(windowsColour(preset));
    if (!chosen) return;
    remember();
    if (weich) {
        ed::softChange(m_picture, c1, c2, tolerance, fromWindows(*chosen));
    } else {
        ed::hardChange(m_picture, c1, c2, tolerance, fromWindows(*chosen));
    }
    refresh();
}

void PictureEditor::colourCorrection(bool preselected) {
    int defaults[3] = {0, 0, 0};
    if (preselected) {
        if (!m_colour1->isVisible() || !m_colour2->isVisible()) {
            m_dialogs.inform("Sie müssen zunächst Farbe 1 wählen (alte Farbe) und dann Farbe 2 wählen (neue Farbe)");
            return;
        }
        const auto c1 = static_cast<pictures::Color32>(m_colour1->property("colour").toUInt());
        const auto c2 = static_cast<pictures::Color32>(m_colour2->property("colour").toUInt());
        defaults[0] = ed::redOf(c2) - ed::redOf(c1);
        defaults[1] = ed::greenOf(c2) - ed::greenOf(c1);
        defaults[2] = ed::blueOf(c2) - ed::blueOf(c1);
    }
    const struct {
        const char* title;
        const char* prompt;
    } questions[] = {{"Änderung des Rotanteils", "-255: Kein Rot +255: Alles rot"},
                     {"Änderung des Grünanteils", "-255: Kein Grün +255: Alles Grün"},
                     {"Änderung des Blauanteils", "-255: Kein Blau + 255: Alles Blau"}};
    int shift[3];
    for (int i = 0; i < 3; ++i) {
        const auto v = askInteger(questions[i].title, questions[i].prompt, defaults[i]);
        if (!v) return;
        shift[i] = static_cast<int>(std::clamp<long long>(*v, -255, 255));
    }
    remember();
    ed::shiftColours(m_picture, shift[0], shift[1], shift[2]);
    refresh();
}

void PictureEditor::replaceColourUnderPointer() {
    const QPoint at = m_image->mapFromGlobal(QCursor::pos());
    if (at.x() < 0 || at.y() < 0 || at.x() >= m_picture.width() || at.y() >= m_picture.height()) return;
    remember();
    ed::replaceColour(m_picture, m_picture.pixel(at.x(), at.y()), m_tolerance, m_replacement);
    refresh();
}

void PictureEditor::contours() {
    const auto input = askInteger("Schwärzungsgrad 0=weiß 256=schwarz", "Intensität (0= alles Weiß)", 128);
    if (!input) return;
    const int t = ed::contourThreshold(static_cast<int>(std::clamp<long long>(*input, -1000, 1000)));
    const pictures::Bitmap32 source = m_picture;
    pictures::Bitmap32 target(source.width(), source.height());
    target.clear(ed::kWhite);
    const struct {
        const char* question;
        pictures::Color32 mark;
    } channels[] = {{"Rot berücksichtigen", 0xFFFF0000u},
                    {"Grün berücksichtigen", 0xFF008000u},
                    {"blau berücksichtigen", 0xFF0000FFu}};
    for (int c = 0; c < 3; ++c) {
        if (m_dialogs.ask(channels[c].question) != Answer::Yes) continue;
        ed::contourRows(source, target, c, t, channels[c].mark);
        ed::contourColumns(source, target, c, t, channels[c].mark);
        m_part->setPicture(target);
    }
    if (m_dialogs.ask("Grau berücksichtigen") == Answer::Yes) {
        try {
            const pictures::Bitmap32 grey = greyRoundTrip(source);
            ed::contourGreyRows(grey, target, t);
            ed::contourGreyColumns(grey, target, t);
        } catch (const std::exception&) {
            m_dialogs.inform("Hat nicht geklappt!");
        }
    }
    m_part->setPicture(target);
    m_part->show();
    if (m_dialogs.ask("Ins Hauptbild übertragen") == Answer::Yes) {
        remember();
        ed::takeContours(target, m_picture);
        refresh();
    }
}

void PictureEditor::tiles() {
    if (m_part->picture().empty()) {
        m_dialogs.inform("Sie müssen zuerst ein Bild mit Strg+A ins zweite Bildfenster kopieren");
        return;
    }
    m_dialogs.inform("Das Bild des (kleinen) zweiten Bildfensters erscheint nun wiederholt als Hintergrund!");
    const pictures::Bitmap32 before = m_picture;
    for (int i = 1; i <= 15; ++i) {
        m_picture = before;
        ed::tile(m_picture, m_part->picture(), i, m_replacement);
        refresh();
        if (m_dialogs.ask(std::to_string(i) + ". von 15 Versuchen. So OK") == Answer::Yes) {
            m_history.remember(before);
            return;
        }
    }
    m_picture = before;
    refresh();
}

}  // namespace pictra::ui
