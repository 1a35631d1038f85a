// The groups "Größe", "Drehen", "Schneiden" and "Markierung" of the picture
// editor, the part pictures and the clipboard.
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <charconv>
#include <cmath>

#include "EditorWidgets.h"
#include "PictureEditor.h"
#include "common/Dialogs.h"
#include "common/MenuCommands.h"
#include "pictures/AffineTransformation.h"
#include "pictures/Resampler.h"
#include "pictures/editing/Colours.h"
#include "platform/pictures/QtPictureCodecs.h"
#include "settings/SettingsStore.h"

namespace pictra::ui {

namespace ed = pictures::editing;

namespace {

constexpr const char* kMarkersFirst =
    "1. Schritt Strg+E: \"Markierungsknöpfe für Auschnitt zeigen\" anklicken!\r2. Schritt: Die Begrenzungen \"links "
    "oben\" und \"rechts unten\" platzieren!\r3. Schritt: Dieses Menü nochmal\r\r1. Schritt (Str+E) bereits erfolgt "
    "(Rückgängig: Ebenfalls Strg+E)";

}  // namespace

void PictureEditor::buildCutMenus(QMenu* size, QMenu* turning, QMenu* cutting, QMenu* marking) {
    addMenuCommand(size, "Groesse150", "Größe ändern 150%", [this] { scaleBy(1.5); });
    addMenuCommand(size, "Groesse200", "Größe ändern 200%", [this] { scaleBy(2); });
    addMenuCommand(size, "Groesse50", "Größe ändern 50%", [this] { scaleBy(0.5); });
    addMenuCommand(size, "GroesseVorgabe1", "Größe ändern mit Vorgabe (in %)", [this] {
        const std::string stored = m_store.readValue("SectBild", "Göße in %");
        long long last = 200000;
        if (!stored.empty()) std::from_chars(stored.data(), stored.data() + stored.size(), last);
        const auto percent = askDecimal("Größe ändern", "Angabe in %", static_cast<double>(last) / 1000);
        if (!percent) return;
        const auto f = ed::usableFactor(*percent / 100);
        if (!f) {
            m_dialogs.inform("Konnte Bildgröße nicht ändern.");
            return;
        }
        m_store.writeValue("SectBild", "Göße in %", std::to_string(std::llround(*percent * 1000)));
        if (!load(m_path, false)) return;
        scaleBy(*f);
    });
    addMenuCommand(size, "GroesseHoehe1", "Größe ändern mit Vorgabe Höhe in Pixel", [this] {
        const auto h = askInteger("Größe in Pixel", "Wie hoch soll das Bild sein?", m_picture.height());
        if (!h || !load(m_path, false) || m_picture.height() == 0) return;
        const auto f = ed::usableFactor(static_cast<double>(*h) / m_picture.height());
        if (!f) {
            m_dialogs.inform("Konnte Bildgröße nicht ändern.");
            return;
        }
        if (*f < 0.9 || *f > 1.1) scaleBy(*f);
    });
    addMenuCommand(size, "GroesseBildschirm1", "Größe ändern auf Bildschirm-/Originalgröße", [this] {
        remember();
        fitToWorkingScreen();
        refresh();
    });
    addMenuCommand(size, "Strecken1", "Strecken", [this] {
        const auto f = askDecimal("Faktor zum Strecken", "Zahl", 1.5);
        if (!f) return;
        const auto usable = ed::usableFactor(*f);
        if (!usable) {
            m_dialogs.inform("Strecken nicht möglich");
            return;
        }
        remember();
        m_picture = ed::stretched(m_picture, ed::scaledSize(m_picture.width(), 1, *usable).width, m_picture.height());
        refresh();
    });
    QAction* smooth = addMenuCommand(size, "Glaetten2", "Beim Verkleinern glätten", [] {});
    smooth->setCheckable(true);
    connect(smooth, &QAction::toggled, this, [this](bool on) { m_smoothShrinking = on; });
    addMenuCommand(size, "Bildgroesse1", "Bildgröße", [this] {
        ScreenSizeDialog dialog(this, m_workingScreen);
        if (dialog.exec() == QDialog::Accepted) m_workingScreen = dialog.chosen();
    });

    addMenuCommand(turning, "RechtsDrehen1", "rechts drehen", [this] { turnPicture(1); });
    addMenuCommand(turning, "LinksDrehen1", "links drehen", [this] { turnPicture(3); });
    addMenuCommand(turning, "Drehen180", "um 180° drehen", [this] { turnPicture(2); });
    addMenuCommand(turning, "RechtsDrehenUm1", "rechts drehen um ...", [this] {
        const auto angle = askDecimal("Um rechts drehen", "Geben Sie den Winkel in Grad an", 45);
        if (!angle) return;
        remember();
        pictures::rotateInFrame(m_picture, static_cast<float>(-std::fmod(*angle, 360.0)));
        refresh();
    });
    QAction* right = addMenuCommand(turning, "RechtsOriginal1", "rechts drehen und in Originalgröße abspeichern",
                                    [this] { turnAndSaveFullSize(true); });
    QAction* left = addMenuCommand(turning, "LinksOriginal1", "links drehen und in Originalgröße abspeichern",
                                   [this] { turnAndSaveFullSize(false); });
    // The chosen one of the two takes Ctrl+F, so the next photo turns the same way with one key.
    right->setShortcut(QKeySequence("Ctrl+F"));
    connect(right, &QAction::triggered, this, [right, left] {
        left->setShortcut({});
        right->setShortcut(QKeySequence("Ctrl+F"));
    });
    connect(left, &QAction::triggered, this, [right, left] {
        right->setShortcut({});
        left->setShortcut(QKeySequence("Ctrl+F"));
    });

    const struct {
        const char* name;
        const char* text;
        ed::CutKind kind;
    } cuts[] = {{"Abschnitt1", "Bild auf Abschnitt verkleinern", ed::CutKind::Section},
                {"AbschnittLinksOben1", "Bild auf Abschnitt verkleinern (nur links-oben abschneiden)",
                 ed::CutKind::KeepFromTopLeft},
                {"AbschnittRechtsUnten1", "Bild auf Abschnitt verkleinern (nur rechts-unten abschneiden",
                 ed::CutKind::KeepToBottomRight},
                {"AbschnittRechts1", "Bild auf Abschnitt verkleinern (nur rechts abschneiden)", ed::CutKind::RightOnly},
                {"HorizontalSchneiden1", "Horizontal schneiden", ed::CutKind::Horizontal},
                {"VertikalSchneiden1", "Vertikal schneiden", ed::CutKind::Vertical}};
    for (const auto& c : cuts) addMenuCommand(cutting, c.name, c.text, [this, kind = c.kind] { cut(kind); });
    addMenuCommand(cutting, "HorizontalWeg1", "Horizontalen Teil wegschneiden", [this] { removeMarkedRows(); });
    addMenuCommand(cutting, "AbschnittBildschirm1", "Bild auf Abschnitt verkleinern und auf Bilschirmgröße anpassen",
                   [this] { cutAndFit(); }, QKeySequence("Shift+Home"));
    addMenuCommand(cutting, "Kopieren1", "Bildausschnitt für Export in Zwischenablage kopieren",
                   [this] { copyMarkedToClipboard(); }, QKeySequence("Ctrl+C"));
    addMenuCommand(cutting, "Einfuegen1", "Zwischenablage unter die  Markierung \"links oben\" einfügen",
                   [this] { pasteClipboard(); }, QKeySequence("Ctrl+V"));
    addMenuCommand(cutting, "Teilbild1", "Teilbild separat auschneiden", [this] { partPicture(false); },
                   QKeySequence("Ctrl+A"));
    addMenuCommand(cutting, "TeilbildSpeichern1", "Teilbild separat ausschneiden und speichern",
                   [this] { partPicture(true); }, QKeySequence("Ctrl+Shift+A"));

    addMenuCommand(marking, "Markierungsknoepfe1", "Markierungsknöpfe für Auschnitt zeigen bzw. verstecken",
                   [this] { toggleMarkers(); }, QKeySequence("Ctrl+E"));
    const struct {
        const char* name;
        const char* text;
        float q;
    } aspects[] = {{"Format43", "Bildausschnitt zu 4:3 skalieren (Breit- oder Hochformat)", 4.0f / 3.0f},
                   {"Format139", "Bildausschnitt zu 13:9 skalieren (Breit- oder Hochformat)", 13.0f / 9.0f},
                   {"Format1510", "Bildausschnitt zu 15:10 skalieren (Breit- oder Hochformat)", 3.0f / 2.0f}};
    for (const auto& a : aspects) {
        addMenuCommand(marking, a.name, a.text, [this, q = a.q] {
            if (!markersPlaced()) return;
            const QPoint tl = m_topLeft->pos();
            const QPoint br = m_bottomRight->geometry().bottomRight() + QPoint(1, 1);
            const int width = ed::aspectWidth(br.x() - tl.x(), br.y() - tl.y(), q);
            if (tl.x() + width > m_picture.width()) {
                m_dialogs.inform("Bild nicht breit genug!");
                return;
            }
            if (br.y() > m_picture.height()) {
                m_dialogs.inform("Bild nicht hoch genug genug!");
                return;
            }
            placeMarkers(tl, QPoint(tl.x() + width, br.y()));
        });
    }
    auto placeSized = [this](QSize s) {
        const QPoint origin(m_scroll->horizontalScrollBar()->value(), m_scroll->verticalScrollBar()->value());
        const QPoint far(std::min(origin.x() + s.width(), m_picture.width()),
                         std::min(origin.y() + s.height(), m_picture.height()));
        placeMarkers(origin, far);
    };
    addMenuCommand(marking, "Ausschnitt768", "Bildauschnitt 768x576", [placeSized] { placeSized({768, 576}); });
    addMenuCommand(marking, "AusschnittBildschirm1", "Bildauschnitt Bildschirmgröße", [this, placeSized] {
        const QSize screen = workingScreen();
        placeSized(markersVisible() ? QSize(screen.height() * 13 / 9, screen.height()) : screen);
    });
    const struct {
        const char* name;
        const char* text;
        int w, h;
    } sizes[] = {{"Skalieren384", "Bildausschnitt auf 384*512 (Hochformat) skalieren", 384, 512},
                 {"Skalieren480", "Bildausschnitt auf 480*640 (Hochformat) skalieren", 480, 640},
                 {"Skalieren512", "Bildausschnitt auf 512*384 (Breitformat) skalieren", 512, 384},
                 {"Skalieren640", "Bildausschnitt auf 640*480 (Breitformat)skalieren", 640, 480}};
    for (const auto& s : sizes) {
        addMenuCommand(marking, s.name, s.text, [this, w = s.w, h = s.h] {
            if (!markersPlaced()) return;
            const pictures::Rect r = markedRect();
            if (r.empty()) return;
            remember();
            ed::cutTo(m_picture, r);
            m_picture = pictures::resized(m_picture, w, h,
                                          w <= m_picture.width() ? pictures::StretchFilter::Lanczos
                                                                 : pictures::StretchFilter::Mitchell);
            toggleMarkers();
            refresh();
        });
    }
}

// A command on the marked rectangle needs the markers placed first: shown now, and the steps explained.
bool PictureEditor::markersPlaced() {
    if (markersVisible()) return true;
    toggleMarkers();
    m_dialogs.inform(kMarkersFirst);
    return false;
}

void PictureEditor::scaleBy(double f) {
    const ed::Scaled s = ed::scaledSize(m_picture.width(), m_picture.height(), f);
    try {
        pictures::Bitmap32 larger = m_smoothShrinking && f < 1
                                        ? pictures::resized(m_picture, s.width, s.height, pictures::StretchFilter::Lanczos)
                                        : ed::stretched(m_picture, s.width, s.height);
        remember();
        m_picture = std::move(larger);
    } catch (const std::exception&) {
        m_dialogs.inform("Konnte Bildgröße nicht ändern.");
        return;
    }
    m_name->setText(m_name->text() + QString::fromStdString(ed::percentLabel(f)));
    refresh();
}

void PictureEditor::turnPicture(int quarterTurns) {
    remember();
    if (quarterTurns == 1) pictures::turnRight(m_picture);
    if (quarterTurns == 2) pictures::turnHalf(m_picture);
    if (quarterTurns == 3) pictures::turnLeft(m_picture);
    refresh();
}

void PictureEditor::cut(ed::CutKind kind) {
    if (!markersPlaced()) return;
    const char* note = ed::cutNote(kind);
    if (*note) hint(note);
    const pictures::Rect r = ed::cutRect(kind, markedRect(), m_picture.width(), m_picture.height());
    if (r.empty()) return;
    remember();
    ed::cutTo(m_picture, r);
    toggleMarkers();
    refresh();
    if (kind == ed::CutKind::Section) move(0, 0);
    savePicture();
}

void PictureEditor::removeMarkedRows() {
    if (!markersPlaced()) return;
    const pictures::Rect r = markedRect();
    remember();
    ed::removeRows(m_picture, r.top, r.bottom);
    toggleMarkers();
    refresh();
}

void PictureEditor::cutAndFit() {
    if (!markersPlaced()) return;
    const pictures::Rect r = markedRect();
    if (r.empty()) return;
    remember();
    ed::cutTo(m_picture, r);
    toggleMarkers();
    fitToWorkingScreen();
    refresh();
    move(0, 0);
}

void PictureEditor::copyMarkedToClipboard() {
    const pictures::Rect r = markersVisible() ? markedRect() : m_picture.bounds();
    const pictures::Bitmap32 part = ed::copyRect(m_picture, r);
    if (!part.empty()) QApplication::clipboard()->setImage(platform::pictures::toQImage(part));
}

void PictureEditor::pasteClipboard() {
    const QImage image = QApplication::clipboard()->image();
    if (image.isNull()) {
        m_dialogs.inform("Kein Bild in der Zwischenablage!");
        return;
    }
    const pictures::Rect r = markedRect();
    const QPoint at = markersVisible() ? QPoint(r.left, r.top) : QPoint(0, 0);
    remember();
    ed::pasteAt(m_picture, platform::pictures::fromQImage(image), at.x(), at.y());
    refresh();
}

// The marked part (with hidden markers: from the visible top left to the last click) into the second window.
void PictureEditor::partPicture(bool save) {
    pictures::Rect r;
    if (markersVisible()) {
        r = markedRect();
    } else {
        const QPoint origin(m_scroll->horizontalScrollBar()->value(), m_scroll->verticalScrollBar()->value());
        r = {std::min(origin.x(), m_lastClick.x()), std::min(origin.y(), m_lastClick.y()),
             std::max(origin.x(), m_lastClick.x()), std::max(origin.y(), m_lastClick.y())};
    }
    pictures::Bitmap32 part = ed::copyRect(m_picture, r);
    if (part.empty()) {
        m_dialogs.inform("Zuerst Markierung des Rechtecks links oben und rechts unten setzen!");
        return;
    }
    m_parts.push_back(part);
    m_partOrigin = QPoint(r.left, r.top);
    m_part->setPicture(part);
    m_part->move(m_image->mapToGlobal(m_partOrigin));
    m_part->show();
    m_part->raise();
    if (markersVisible()) toggleMarkers();
    move(50, 50);
    if (save) savePartAsJpeg();
}

void PictureEditor::pastePartSoftly() {
    if (m_menuBar->isVisible()) {
        m_menuBar->hide();
        m_dialogs.inform(
            "Das Bildmenü wurde ausgeblendet, damit das Bild exakt gezeichnet werden kann.\rDas Bildmenü kann über das "
            "Kontextmenü (rechte Maustaste) über \"Datei\" oder Strg+X wieder eingeblendet werden.\r\rVersuchen Sie "
            "jetzt nochmal das Bild einzufügen.");
        return;
    }
    SoftEdgeDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    const QPoint target = m_image->mapFromGlobal(m_part->mapToGlobal(QPoint(0, 0)));
    remember();
    ed::softPaste(m_picture, m_part->picture(), target.x(), target.y(), dialog.edges());
    refresh();
}

}  // namespace pictra::ui
