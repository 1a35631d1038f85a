#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pictures/Bitmap32.h"
#include "pictures/editing/Composing.h"
#include "pictures/editing/Cuts.h"
#include "platform/pictures/PictureFiles.h"

class QLabel;
class QMenu;
class QMenuBar;
class QScrollArea;
class QTimer;

namespace pictra::platform::pictures {
class PictureJob;
}

namespace pictra {
class Dialogs;
class SettingsStore;
class Tones;
}  // namespace pictra

namespace pictra::ui {

struct PictureHooks;
class EditorImage;
class MarkerShape;
class PartWindow;
class HintWindow;

// `TForm17` "Bildbearbeitung": the detailed picture editor on the current picture.
// Every command works on the working picture (fitted to the working screen on
// loading); nothing reaches the disk before a save command.
class PictureEditor : public QWidget {
    Q_OBJECT
public:
    PictureEditor(SettingsStore& store, Dialogs& dialogs, Tones& tones, const PictureHooks& hooks,
                  std::function<void(const std::string&)> backToPictureWindow, QWidget* parent);
    ~PictureEditor() override;

    // Loads the file as the working picture, fitted to the working screen, and shows the window.
    void showPicture(const std::string& path);
    const std::string& currentPath() const { return m_path; }
    // A picture is still being decoded; the window shows it when it is ready.
    bool loading() const { return m_loading != nullptr; }
    const pictures::Bitmap32& picture() const { return m_picture; }
    QMenu* contextMenu() const { return m_menu; }
    QMenuBar* menuLine() const { return m_menuBar; }
    PartWindow* partWindow() const { return m_part; }
    HintWindow* hintWindow() const { return m_hint; }
    // The working screen: "Bildgröße" when it was set, else the screen.
    QSize workingScreen() const;
    void setWorkingScreen(QSize size) { m_workingScreen = size; }
    // The marked rectangle in picture coordinates (markers visible or not).
    pictures::Rect markedRect() const;
    void placeMarkers(QPoint topLeft, QPoint bottomRight);
    bool markersVisible() const;
    // True when the markers are shown; else shows them and tells the steps.
    bool markersPlaced();
    QPoint lastClick() const { return m_lastClick; }
    // The clicked gestures on the picture (picture coordinates).
    void pictureClicked(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void pictureDragged(QPoint at);
    // The hint window's text ("" when hidden).
    std::string hintText() const;

    // Commands the menus call.
    void undo();
    void applyMask(const std::string& itemName);
    void toggleMarkers();
    void cut(pictures::editing::CutKind kind);
    void removeMarkedRows();
    void cutAndFit();
    void scaleBy(double f);
    void turnPicture(int quarterTurns);
    void turnAndSaveFullSize(bool right);
    void savePicture();
    bool refusedWhileCaptionShown();
    void saveAsFormat(const std::string& extension);
    void saveJpegWithCompression();
    void saveTemporarily();
    void backToTemporary();
    void halve();
    void saveHalfSize();
    void partPicture(bool save);
    void pasteClipboard();
    void copyMarkedToClipboard();
    void pastePartSoftly();
    void toggleMenuLine();
    void backToSimpleMenu();
    void showChronicle(int index);
    void savePartAsJpeg();
    void notePart();
    void chooseAmongParts();
    void openExternally();
    // "Text vor Bild anzeigen": the caption file drawn over the picture, which then carries text.
    void showCaption();
    bool carriesText() const { return m_carriesText; }
    void editCaption();
    // `TForm_text` at the screen point, writing into the working picture (Ctrl+click).
    void openTextDialog(QPoint global);
    class TextOnPictureDialog* textDialog() const { return m_textDialog; }
    // "Beschriftung ins Bild übernehmen": the full picture with its caption drawn in, as "_" + name beside it.
    void burnCaption();
    // How "Bild mit externem Programm berabeiten" starts a program on the file (the desktop's by default).
    void setLauncher(std::function<bool(const std::string&)> launcher) { m_launcher = std::move(launcher); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class EditorMenus;
    void buildMenus();
    void buildColourMenus(QMenu* colour, QMenu* correction, QMenu* effects);
    void buildCutMenus(QMenu* size, QMenu* turning, QMenu* cutting, QMenu* marking);
    void buildFileMenus(QMenu* picture, QMenu* curves, QMenu* extras, QMenu* chronicle);
    void buildExtraMenus(QMenu* curves, QMenu* cutting, QMenu* extras);
    void buildGalleryMenu(QMenu* gallery);
    bool drawingClicked(QPoint at);
    void askStarParameters();
    QPoint partTarget() const;
    // Keeps the picture for "Rückgängig" before an edit changes it.
    void remember();
    // Shows the working picture after an edit.
    void refresh();
    void setName(const std::string& text);
    void hint(const std::string& text);
    // A number asked through the dialogs; the default for text that is no number.
    std::optional<long long> askInteger(const std::string& title, const std::string& prompt, long long value);
    std::optional<double> askDecimal(const std::string& title, const std::string& prompt, double value);
    bool load(const std::string& path, bool fit);
    void take(platform::pictures::LoadedPicture loaded, const std::string& path, bool fit);
    void pollLoading();
    void fitToWorkingScreen();
    bool writePicture(const std::string& target, const pictures::Bitmap32& bitmap, int quality);
    bool keepOldInBin(const std::string& target);
    void rememberInChronicle(const std::string& path);
    // The colour commands asking for two colours first.
    void changeOneColour(bool soft);
    void colourCorrection(bool preselected);
    void blackAndWhite();
    void greyTones();
    void contours();
    void tiles();
    void replaceColourUnderPointer();
    void traceColour();
    void recogniseText();

    SettingsStore& m_store;
    Dialogs& m_dialogs;
    Tones& m_tones;
    const PictureHooks& m_hooks;
    std::function<void(const std::string&)> m_back;
    std::string m_path;
    std::string m_temporaryFrom;  // the path before "Temporär speichern"
    pictures::Bitmap32 m_picture;
    std::string m_exif;
    int m_originalWidth = 0;
    int m_originalHeight = 0;
    pictures::editing::EditHistory m_history;
    EditorImage* m_image = nullptr;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_name = nullptr;
    QLabel* m_size = nullptr;
    MarkerShape* m_topLeft = nullptr;
    MarkerShape* m_bottomRight = nullptr;
    QWidget* m_colour1 = nullptr;  // `PFarbe1`
    QWidget* m_colour2 = nullptr;  // `PFarbe2`
    QMenu* m_menu = nullptr;
    QMenuBar* m_menuBar = nullptr;
    QMenu* m_chronicle = nullptr;
    PartWindow* m_part = nullptr;
    HintWindow* m_hint = nullptr;
    QSize m_workingScreen;
    QPoint m_lastClick;
    QPoint m_pointer;
    enum class Pick { None, Colour1, Colour2, Code, PenColour, ArrowStart, ArrowTip, StarCentre };
    Pick m_pick = Pick::None;
    int m_penRadius = -1;  // the pixel pen: -1 off, 0 fine, 2 medium, 5 coarse
    pictures::Color32 m_penColour = 0;
    bool m_penColourChosen = false;
    QPoint m_arrowFrom;
    int m_starRadius = 50;
    int m_starWidth = 3;  // the arrows' too
    bool m_starFilled = false;
    std::function<bool(const std::string&)> m_launcher;
    class TextOnPictureDialog* m_textDialog = nullptr;
    bool m_carriesText = false;  // a caption is drawn over the picture: no saving
    pictures::Color32 m_replacement = 0xFFFFFFFFu;
    int m_tolerance = 32;
    bool m_smoothShrinking = false;  // "Beim Verkleinern glätten"
    pictures::Bitmap32 m_field;       // the tracing field
    pictures::Bitmap32 m_fieldBefore;
    std::vector<pictures::Bitmap32> m_parts;
    QPoint m_partOrigin;
    std::vector<std::string> m_recent;
    std::shared_ptr<platform::pictures::PictureJob> m_loading;
    std::string m_loadingPath;
    QElapsedTimer m_loadingSince;
    QTimer* m_loadingPoll = nullptr;
    bool m_loadingWindow = false;  // "Bild wird geladen" is open
};

}  // namespace pictra::ui
