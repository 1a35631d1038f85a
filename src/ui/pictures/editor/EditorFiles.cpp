// The groups "Bild", "Kurven", "Extras" and "Chronik" of the picture editor:
// saving, halving, the temporary copy, the pixel pen and the recent pictures.
#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QMenu>
#include <filesystem>

#include "EditorWidgets.h"
#include "PictureEditor.h"
#include "common/Dialogs.h"
#include "common/MenuCommands.h"
#include "common/PathNames.h"
#include "common/UiText.h"
#include "explorer/BinBackup.h"
#include "pictures/PictureWindow.h"
#include "pictures/editing/Colours.h"
#include "platform/ProgramLocation.h"
#include "platform/pictures/LosslessTurn.h"
#include "platform/pictures/PictureExif.h"
#include "platform/pictures/PictureFiles.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

namespace pictra::ui {

namespace ed = pictures::editing;
namespace fs = std::filesystem;

namespace {

// The program's own path with the extension ".bmp".
std::string temporaryBmp() {
    const QString exe = QCoreApplication::applicationFilePath();
    return platform::programFolder(exe.toStdString()) + QFileInfo(exe).completeBaseName().toStdString() + ".bmp";
}

bool endsWithNoCase(const std::string& path, const std::string& ending) {
    return pathnames::lowerExtension(path) == ending;
}

}  // namespace

void PictureEditor::buildFileMenus(QMenu* picture, QMenu* curves, QMenu* extras, QMenu* chronicle) {
    addMenuCommand(picture, "BildSpeichern1", "Bild speichern", [this] { savePicture(); }, QKeySequence("Ctrl+S"));
    addMenuCommand(picture, "BildSpeichernKompression1", "Bild speichern mit Kompressionsgrad",
                   [this] { saveJpegWithCompression(); });
    addMenuCommand(picture, "AlsJpg1", "Als JPG-Bild speichern ...", [this] { saveJpegWithCompression(); });
    addMenuCommand(picture, "AlsPng1", "Als PNG-Bild speichern ...", [this] { saveAsFormat(".png"); });
    addMenuCommand(picture, "AlsBmp1", "Als BMP-Bild speichern ...", [this] { saveAsFormat(".bmp"); });
    addMenuCommand(picture, "AlsGif1", "Als GIF-Datei speichern ...", [this] { saveAsFormat(".gif"); });
    addMenuCommand(picture, "BeschriftungUebernehmen1", "Beschriftung ins Bild übernehmen", [this] { burnCaption(); });
    picture->addSeparator();
    addMenuCommand(picture, "Temporaer1", "Temporär speichern", [this] { saveTemporarily(); });
    addMenuCommand(picture, "VorTemporaer1", "Letztes Bild vor temporärer Speicherung", [this] { backToTemporary(); });
    addMenuCommand(picture, "Halbieren1", "Bild halbieren", [this] { halve(); });
    addMenuCommand(picture, "HalbeGroesse1", "Datei in halber Größe abspeichern", [this] { saveHalfSize(); });
    addMenuCommand(picture, "Rueckgaengig1", "Rückgängig", [this] { undo(); }, QKeySequence("Ctrl+Z"));
    picture->addSeparator();
    addMenuCommand(picture, "KleinesMenue1", "Umschalten zum kleinen (Standard-) Menü", [this] { backToSimpleMenu(); });

    const struct {
        const char* name;
        const char* text;
        int radius;
    } pens[] = {{"PixelFein1", "Pixel ändern  fein ", 0},
                {"PixelMittel1", "Pixel ändern mittel", 2},
                {"PixelGrob1", "Pixel ändern grob", 5}};
    for (const auto& p : pens) {
        addMenuCommand(curves, p.name, p.text, [this, r = p.radius] {
            m_penRadius = r;
            m_penColourChosen = false;
        });
    }
    addMenuCommand(curves, "PixelAus1", "Pixel ändern beenden", [this] { m_penRadius = -1; });
    addMenuCommand(curves, "PixelHinweis1", "Hinweis, wie die Farbe bei \"Pixel ändern\" gewählt wird", [this] {
        m_dialogs.inform("Der erste Mausklick nach \"Pixel ändern\" wählt die Farbe unter dem Mauszeiger (mit einem "
                         "Signal); jeder weitere Klick und jedes Ziehen malt in dieser Farbe.");
    });

    addMenuCommand(extras, "Abzeichnen1", "Farbe abzeichnen ins blaue - später braune - Feld", [this] { traceColour(); });
    addMenuCommand(extras, "AbzeichnenZurueck1", "Den letzten Schritt rückgängig", [this] {
        if (m_fieldBefore.empty()) return;
        m_field = m_fieldBefore;
        m_part->setPicture(m_field);
    });
    addMenuCommand(extras, "FeldUebernehmen1", "Das abgezeichnete Feld übernehmen", [this] {
        m_dialogs.inform("Starten Sie eine zweite Instanz von Pictra. Dann im (jetzt grünen statt gelben) Fenster:\rMenü "
                         "\"Extras|Screenshot\"");
    });
    addMenuCommand(extras, "Rahmen1", "Bildrahmen vergrößern", [this] {
        const auto n = askInteger("Bildrahmen vergrößern", "Breite des weißen Rahmens in Pixel", 20);
        if (!n || *n <= 0) return;
        remember();
        m_picture = ed::framed(m_picture, static_cast<int>(std::min<long long>(*n, 10000)), ed::kWhite);
        refresh();
    });
    addMenuCommand(extras, "Einfarbig1", "Einfarbiges Bild erzeugen", [this] {
        m_dialogs.inform("Format Din á 4 für HP-Drucker Color Laserjet 2605: 770px*1090px");
        const auto w = askInteger("Einfarbiges Bild erzeugen", "Breite in Pixel", 770);
        if (!w) return;
        const auto h = askInteger("Einfarbiges Bild erzeugen", "Höhe in Pixel", 1090);
        if (!h || *w < 1 || *h < 1 || *w > 30000 || *h > 30000) return;
        const auto colour = m_dialogs.chooseColour(0xFFFFFF);
        if (!colour) return;
        remember();
        m_picture = pictures::Bitmap32(static_cast<int>(*w), static_cast<int>(*h));
        m_picture.clear(ed::rgb(static_cast<int>(*colour & 0xFF), static_cast<int>(*colour >> 8 & 0xFF),
                                static_cast<int>(*colour >> 16 & 0xFF)));
        refresh();
    });
    addMenuCommand(extras, "OCR1", "OCR", [this] { recogniseText(); });
    addMenuCommand(extras, "KleinesMenue2", "Umschalten zum kleinen (Standard-) Menü", [this] { backToSimpleMenu(); });

    for (int i = 0; i < 3; ++i) {
        QAction* a = addMenuCommand(chronicle, ("Chronik" + std::to_string(i + 1)).c_str(), QString::number(i + 1),
                                    [this, i] { showChronicle(i); });
        a->setVisible(false);
    }
}

void PictureEditor::rememberInChronicle(const std::string& path) {
    if (path == temporaryBmp()) return;
    std::erase(m_recent, path);
    m_recent.insert(m_recent.begin(), path);
    if (m_recent.size() > 3) m_recent.resize(3);
    if (!m_chronicle) return;
    const auto actions = m_chronicle->actions();
    for (int i = 0; i < actions.size() && i < 3; ++i) {
        const bool used = static_cast<std::size_t>(i) < m_recent.size();
        actions[i]->setVisible(used);
        if (used) actions[i]->setText(QString::fromStdString(m_recent[static_cast<std::size_t>(i)]));
    }
}

void PictureEditor::showChronicle(int index) {
    if (static_cast<std::size_t>(index) >= m_recent.size()) return;
    const std::string path = m_recent[static_cast<std::size_t>(index)];
    showPicture(path);
}

bool PictureEditor::keepOldInBin(const std::string& target) {
    std::error_code ec;
    if (!fs::exists(target, ec) || !m_hooks.copyContext) return true;
    CopyContext context = m_hooks.copyContext();
    const QDate d = QDate::currentDate();
    const auto kept = binbackup::keepInBin(target, {d.year(), d.month(), d.day()}, context);
    if (!kept.kept) {
        if (!kept.message.empty()) m_dialogs.inform(kept.message);
        return false;
    }
    return true;
}

bool PictureEditor::writePicture(const std::string& target, const pictures::Bitmap32& bitmap, int quality) {
    try {
        // Changed pixels: upright, the new size, no stale thumbnail; date and camera kept.
        platform::pictures::savePicture(target, bitmap, quality,
                                        platform::pictures::exifForChangedPixels(m_exif, bitmap.width(), bitmap.height()));
    } catch (const std::exception&) {
        m_tones.errorTone();
        m_dialogs.inform("Konnte \"" + target + " nicht speichern.");
        return false;
    }
    m_tones.completionTone();
    if (m_hooks.refreshExplorer) m_hooks.refreshExplorer(target);
    return true;
}

// The name keeps its case and the bytes follow its extension; a picture smaller
// than the file it replaces is asked about first.
void PictureEditor::savePicture() {
    if (m_carriesText) {
        m_dialogs.inform("Bild kann nur ohne den eingeblendeten Text abgespeichert werden");
        load(m_path, true);
        return;
    }
    for (const char* ext : {".gif", ".bmp", ".png"}) {
        if (endsWithNoCase(m_path, ext)) {
            saveAsFormat(ext);
            return;
        }
    }
    const auto name = m_dialogs.askText("Dateiname", "Wollen Sie den Dateinamen ändern", m_path);
    if (!name || name->empty()) return;
    const std::string target = *name;
    std::error_code ec;
    if (fs::exists(target, ec) && target == m_path &&
        (m_picture.width() < m_originalWidth || m_picture.height() < m_originalHeight) &&
        m_dialogs.ask("Das Bild ist kleiner als das Original. Trotzdem überschreiben?") != Answer::Yes) {
        return;
    }
    const bool existed = fs::exists(target, ec);
    if (!keepOldInBin(target)) return;
    if (existed) hint("Originalbild im Papierkorb");
    if (!writePicture(target, m_picture, 75)) return;
    const std::string ext = pathnames::lowerExtension(target);
    hint(ext == ".bmp"   ? "Als BMP-Bild gespeichert. (Nicht empfohlen: Verbraucht viel Speicherplatz!)"
         : ext == ".gif" ? "Als GIF-Bild gespeichert. (Empfohlen, wenn reduzierte Farbtiefe ausreicht!"
         : ext == ".png" ? "Als PNG-Bild gespeichert."
                         : "Als JPG-Bild gespeichert.!");
    m_path = target;
    m_originalWidth = m_picture.width();
    m_originalHeight = m_picture.height();
    m_store.writeValue("SectBild", "SchlBild", target);
    setName(target);
}

// A caption shown over the picture is in its pixels: no save may write them into
// a picture file, whichever command asks.
bool PictureEditor::refusedWhileCaptionShown() {
    if (!m_carriesText) return false;
    m_dialogs.inform("Bild kann nur ohne den eingeblendeten Text abgespeichert werden");
    return true;
}

void PictureEditor::saveAsFormat(const std::string& extension) {
    if (refusedWhileCaptionShown()) return;
    if (extension == ".bmp") m_dialogs.inform("Bild wird ohne Kompression gespeichert.\rEmpfehlung: Speicherung als JPG-Datei.");
    const std::string proposed = m_path.substr(0, m_path.size() - pathnames::extensionOf(m_path).size()) + extension;
    const auto target = m_dialogs.chooseSaveFile(extension == ".png"   ? "PNG-Dateien (*.png)|*.png|Alle Dateien (*.*)|*.*"
                                                 : extension == ".bmp" ? "BMP-Dateien (*.bmp)|*.bmp|Alle Dateien (*.*)|*.*"
                                                                       : "GIF-Dateien (*.gif)|*.gif|Alle Dateien (*.*)|*.*",
                                                 proposed);
    if (!target) return;
    std::string path = *target;
    if (pathnames::extensionOf(path).empty()) path += extension;
    if (!keepOldInBin(path) || !writePicture(path, m_picture, 91)) return;
    m_path = path;
    m_store.writeValue("SectBild", "SchlBild", path);
    setName(path);
}

void PictureEditor::saveJpegWithCompression() {
    if (refusedWhileCaptionShown()) return;
    const auto n = askInteger("Kompressionsrate", "Empfohlen 90%", 90);
    if (!n) return;
    const int quality = static_cast<int>(std::clamp<long long>(*n, 1, 100));
    m_dialogs.inform("Bild wird mit Kompressionsrate " + std::to_string(quality) + " gespeichert.");
    const std::string base = m_path.substr(0, m_path.size() - pathnames::extensionOf(m_path).size());
    const auto target = m_dialogs.chooseSaveFile("JPG-Dateien (*.jpg)|*.jpg|Alle Dateien (*.*)|*.*", base + "_k.jpg");
    if (!target) return;
    std::string path = *target;
    if (pathnames::extensionOf(path).empty()) path += ".jpg";
    if (!keepOldInBin(path) || !writePicture(path, m_picture, quality)) return;
    hint("Als JPG-Bild gespeichert.!");
}

void PictureEditor::saveTemporarily() {
    if (refusedWhileCaptionShown()) return;
    const std::string temporary = temporaryBmp();
    m_temporaryFrom = m_path;
    try {
        platform::pictures::savePicture(temporary, m_picture);
    } catch (const std::exception&) {
        m_dialogs.inform("Kann temporäre Datei \"" + temporary + "\" nicht speichern.");
        return;
    }
    m_path = temporary;
    m_store.writeValue("SectBild", "SchlBild", temporary);
    setName(temporary);
}

void PictureEditor::backToTemporary() {
    if (m_temporaryFrom.empty()) {
        m_dialogs.inform("Noch kein Bild temporär gespeichert.");
        return;
    }
    showPicture(m_temporaryFrom);
}

// The halves keep the original's format; a half already there goes into the bin first.
void PictureEditor::halve() {
    const ed::Halves h = ed::halves(m_picture);
    if (h.left.empty() || h.right.empty()) return;
    const std::string left = ed::withBeforeExtension(m_path, "_l");
    const std::string right = ed::withBeforeExtension(m_path, "_r");
    if (!keepOldInBin(left) || !writePicture(left, h.left, 91)) return;
    if (!keepOldInBin(right) || !writePicture(right, h.right, 91)) return;
    const std::string kept = ed::withBeforeExtension(m_path, "_00");
    if (!keepOldInBin(kept)) return;
    std::error_code ec;
    fs::rename(m_path, kept, ec);
    if (ec) m_dialogs.inform("Konnte die Datei nicht umbennen.");
}

void PictureEditor::saveHalfSize() {
    const std::string target = pathnames::folderOf(m_path) + "/_" + pathnames::fileNamePart(m_path);
    try {
        auto full = platform::pictures::loadPicture(m_path);
        const ed::Scaled s = ed::scaledSize(full.bitmap.width(), full.bitmap.height(), 0.5);
        pictures::Bitmap32 half = ed::stretched(full.bitmap, s.width, s.height);
        full.bitmap = pictures::Bitmap32();
        if (!keepOldInBin(target) || !writePicture(target, half, 50)) return;
        remember();
        m_picture = std::move(half);
    } catch (const std::exception&) {
        m_dialogs.inform("Kann Bild nicht laden");
        return;
    }
    refresh();
}

void PictureEditor::turnAndSaveFullSize(bool right) {
    // A turn the JPEG blocks do not allow, and every other format, is written anew: the
    // original stays in the bin, as with every other save over a picture.
    if (!keepOldInBin(m_path)) return;
    try {
        if (pathnames::lowerExtension(m_path).find(".jp") != std::string::npos) {
            const bool lossless = platform::pictures::turnJpegFile(m_path, right);
            hint(lossless ? "Verlustfrei gedreht und gespeichert." : "Gedreht und gespeichert.");
            m_tones.completionTone();
            load(m_path, true);
            return;
        }
        auto full = platform::pictures::loadPicture(m_path);
        if (right) {
            pictures::turnRight(full.bitmap);
        } else {
            pictures::turnLeft(full.bitmap);
        }
        platform::pictures::savePicture(m_path, full.bitmap, 91);
    } catch (const std::exception&) {
        m_dialogs.inform("Hat nicht geklappt!");
        return;
    }
    m_tones.completionTone();
    load(m_path, true);
}

// "OCR": the working picture read by tesseract (German), the text into a new document.
void PictureEditor::recogniseText() {
    QTemporaryDir folder;
    const std::string picture = folder.path().toStdString() + "/ocr.png";
    try {
        platform::pictures::savePicture(picture, m_picture);
    } catch (const std::exception&) {
        m_dialogs.inform("Kann temporäre Datei \"" + picture + "\" nicht speichern.");
        return;
    }
    QProcess process;
    process.start("tesseract", {QString::fromStdString(picture), "stdout", "-l", "deu"});
    if (!process.waitForStarted()) {
        m_dialogs.inform("Kein Standardprogramm gefunden");
        return;
    }
    m_dialogs.beginCancelWindow("Texterkennung");
    int tenths = 0;
    while (!process.waitForFinished(100)) {
        if (m_dialogs.stepCancelWindow("Texterkennung " + std::to_string(++tenths / 10) + " s")) {
            process.kill();
            process.waitForFinished();
            m_dialogs.endCancelWindow();
            return;
        }
    }
    m_dialogs.endCancelWindow();
    const QString text = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    if (process.exitCode() != 0 || text.isEmpty()) {
        m_dialogs.inform("Kein Text erkannt.");
        return;
    }
    if (m_hooks.newDocumentWithText) m_hooks.newDocumentWithText(toCp1252(text));
}

void PictureEditor::traceColour() {
    if (m_field.empty()) {
        m_field = pictures::Bitmap32(m_picture.width(), m_picture.height());
        m_field.clear(ed::rgb(185, 115, 115));
    }
    const pictures::Color32 sample = m_picture.empty() ? ed::kWhite
                                     : m_picture.pixelChecked(m_lastClick.x(), m_lastClick.y());
    const auto t = askInteger("Toleranz", "Empfohlen: 10 - 50", 10);
    m_fieldBefore = m_field;
    ed::traceColour(m_field, m_picture, sample, t ? static_cast<int>(std::clamp<long long>(*t, 0, 256)) : 10);
    m_part->setPicture(m_field);
    m_part->show();
}

}  // namespace pictra::ui
