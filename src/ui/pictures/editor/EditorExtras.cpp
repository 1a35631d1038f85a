// Drawing arrows and stars, the second picture window's commands, noting and
// choosing part pictures, and handing the picture to an outside program.
#include <QMenu>
#include <filesystem>

#include "EditorWidgets.h"
#include "PictureEditor.h"
#include "common/Dialogs.h"
#include "common/MenuCommands.h"
#include "pictures/PictureWindow.h"
#include "pictures/Resampler.h"
#include "pictures/editing/Colours.h"
#include "pictures/editing/Composing.h"
#include "pictures/editing/Cuts.h"
#include "pictures/editing/Drawing.h"
#include "pictures/CaptionDialog.h"
#include "platform/Desktop.h"
#include "platform/pictures/CaptionDrawing.h"

namespace pictra::ui {

namespace ed = pictures::editing;
namespace fs = std::filesystem;

namespace {

constexpr const char* kPartFirst = "Sie müssen zuerst ein Bild mit Strg+A ins zweite Bildfenster kopieren";

// The desktop's program for the file's type; false when there is none.
bool openWithDesktop(const std::string& path) {
    if (platform::fileTypeOf(path).openCommand.empty()) return false;
    return platform::openWithAssociated(path);
}

}  // namespace

void PictureEditor::buildExtraMenus(QMenu* curves, QMenu* cutting, QMenu* extras) {
    curves->addSeparator();
    addMenuCommand(curves, "Pfeil1", "Pfeil zeichnen", [this] {
        m_pick = Pick::ArrowStart;
        hint("Pfeil: erst den Anfang, dann die Spitze anklicken");
    });
    addMenuCommand(curves, "Stern1", "Fünfeckstern einzeichnen", [this] {
        m_pick = Pick::StarCentre;
        hint("Stern: die Mitte anklicken");
    });
    addMenuCommand(curves, "SternParameter1", "Parameter für das Fünfeck", [this] { askStarParameters(); });

    addMenuCommand(cutting, "TeilbildVormerken1", "Teilbild auschneiden und vormerken", [this] { notePart(); });
    addMenuCommand(cutting, "TeilbildAuswahl1", "Auswahl aus allen Teilbildern", [this] { chooseAmongParts(); });

    addMenuCommand(extras, "TextVorBild1", "Text vor Bild anzeigen       Umsch+Mausklick links", [this] { showCaption(); });
    addMenuCommand(extras, "Begleittext1", "Begleittext des Bildes erstellen oder ändern", [this] { editCaption(); });
    addMenuCommand(extras, "ExternesProgramm1", "Bild mit externem Programm berabeiten", [this] { openExternally(); });

    // The second picture window's own menu, beside its soft-edged paste.
    QMenu* second = m_part->contextMenu();
    addMenuCommand(second, "InsBildfensterErsetzen1", "Ins 1. Bildfenster kopieren (ersetzen)", [this] {
        const QPoint at = partTarget();
        remember();
        ed::pasteAt(m_picture, m_part->picture(), at.x(), at.y());
        refresh();
    });
    const struct {
        const char* name;
        const char* text;
        ed::PartPaste how;
    } pastes[] = {{"InsBildfensterTransparent1", "Ins 1. Bildfenster tranparent zeichnen", ed::PartPaste::Transparent},
                  {"Mittelwert1", "Mittelwert bilden", ed::PartPaste::Average},
                  {"InsBildfensterGeschwaerzt1", "Ins 1. Bildfenster kopieren, Geschwärztes nicht",
                   ed::PartPaste::NotBlackened}};
    for (const auto& p : pastes) {
        addMenuCommand(second, p.name, p.text, [this, how = p.how] {
            const QPoint at = partTarget();
            remember();
            ed::pastePart(m_picture, m_part->picture(), at.x(), at.y(), how);
            refresh();
        });
    }
    second->addSeparator();
    addMenuCommand(second, "WeissesSchwaerzen1", "Weißes schwärzen", [this] {
        pictures::Bitmap32 part = m_part->picture();
        ed::blackenWhite(part);
        m_part->setPicture(part);
    });
    addMenuCommand(second, "AllesSchwaerzen1", "Alles schwärzen", [this] {
        pictures::Bitmap32 part = m_part->picture();
        part.clear(ed::kBlack);
        m_part->setPicture(part);
    });
    addMenuCommand(second, "BildKleiner1", "Bild kleiner", [this] {
        const pictures::Bitmap32& part = m_part->picture();
        if (part.empty()) return;
        const ed::Scaled s = ed::scaledSize(part.width(), part.height(), 0.5);
        m_part->setPicture(pictures::resized(part, s.width, s.height, pictures::StretchFilter::Lanczos));
    });
    addMenuCommand(second, "TeilAlsJpg1", "Als JPG-Bild speichern", [this] { savePartAsJpeg(); });
}

// Where the second window stands over the picture.
QPoint PictureEditor::partTarget() const {
    return m_image->mapFromGlobal(m_part->mapToGlobal(QPoint(0, 0)));
}

void PictureEditor::savePartAsJpeg() {
    if (m_part->picture().empty()) {
        m_dialogs.inform(kPartFirst);
        return;
    }
    const auto target = m_dialogs.chooseSaveFile("Als JPG-Bild speichern", ed::withBeforeExtension(m_path, "_teil"));
    if (target) writePicture(*target, m_part->picture(), 91);
}

// The arrow's two clicks and the star's one; true when the click was theirs.
bool PictureEditor::drawingClicked(QPoint at) {
    // Drawn in "Farbe 2" when it was chosen, else in red.
    const pictures::Color32 colour = m_colour2->isVisible()
                                         ? static_cast<pictures::Color32>(m_colour2->property("colour").toUInt())
                                         : ed::rgb(255, 0, 0);
    switch (m_pick) {
        case Pick::ArrowStart:
            m_arrowFrom = at;
            m_pick = Pick::ArrowTip;
            hint("Pfeil: jetzt die Spitze anklicken");
            return true;
        case Pick::ArrowTip:
            m_pick = Pick::None;
            remember();
            ed::drawArrow(m_picture, {m_arrowFrom.x(), m_arrowFrom.y()}, {at.x(), at.y()}, m_starWidth,
                          std::max(8, 4 * m_starWidth + 6), colour);
            refresh();
            return true;
        case Pick::StarCentre:
            m_pick = Pick::None;
            remember();
            ed::drawStar(m_picture, {at.x(), at.y()}, m_starRadius, m_starWidth, m_starFilled, colour);
            refresh();
            return true;
        default: return false;
    }
}

void PictureEditor::askStarParameters() {
    const auto radius = askInteger("Parameter für das Fünfeck", "Radius in Pixel", m_starRadius);
    if (!radius) return;
    const auto width = askInteger("Parameter für das Fünfeck", "Strichbreite in Pixel (auch für Pfeile)", m_starWidth);
    if (!width) return;
    m_starRadius = static_cast<int>(std::clamp<long long>(*radius, 1, 10000));
    m_starWidth = static_cast<int>(std::clamp<long long>(*width, 1, 100));
    m_starFilled = m_dialogs.ask("Stern ausfüllen?") == Answer::Yes;
}

// The part is written beside the picture under the next free "_teil" number and noted for the explorer.
void PictureEditor::notePart() {
    const std::size_t before = m_parts.size();
    partPicture(false);
    if (m_parts.size() == before) return;
    const fs::path picture(m_path);
    const fs::path folder = picture.has_parent_path() ? picture.parent_path() : fs::current_path();
    std::string target;
    for (int n = 1;; ++n) {
        target = (folder / (picture.stem().string() + "_teil" + std::to_string(n) + ".jpg")).string();
        std::error_code ec;
        if (!fs::exists(target, ec)) break;
    }
    if (!writePicture(target, m_parts.back(), 91)) return;
    if (m_hooks.markFile) m_hooks.markFile(target);
    hint("Teilbild vorgemerkt: " + target);
}

void PictureEditor::chooseAmongParts() {
    if (m_parts.empty()) {
        m_dialogs.inform(kPartFirst);
        return;
    }
    const auto count = static_cast<long long>(m_parts.size());
    const auto n = askInteger("Auswahl aus allen Teilbildern", "Nummer des Teilbildes (1 bis " + std::to_string(count) + ")",
                              count);
    if (!n || *n < 1 || *n > count) return;
    m_part->setPicture(m_parts[static_cast<std::size_t>(*n - 1)]);
    m_part->show();
    m_part->raise();
}

void PictureEditor::showCaption() {
    // Moved off the screen to the left or top, the caption follows into the visible corner.
    const int ox = std::max(0, -x());
    const int oy = std::max(0, -y());
    pictures::Bitmap32 before = m_picture;
    if (!platform::pictures::drawCaptionFile(m_picture, m_path, captionDefaults(m_store), ox, oy)) {
        hint("Kein Begleittext zum Bild vorhanden (Datei .jp0)");
        return;
    }
    m_history.remember(before);
    m_carriesText = true;
    refresh();
}

void PictureEditor::editCaption() {
    CaptionDialog dialog(this, m_store, m_dialogs, m_path);
    dialog.exec();
}

void PictureEditor::openExternally() {
    std::error_code ec;
    if (m_path.empty() || !fs::exists(m_path, ec)) {
        m_dialogs.inform("Datei \"" + m_path + "\" exitsiert nicht (mehr)!");
        return;
    }
    const bool started = m_launcher ? m_launcher(m_path) : openWithDesktop(m_path);
    if (!started) m_dialogs.inform("Kein Standardprogramm gefunden");
}

}  // namespace pictra::ui
