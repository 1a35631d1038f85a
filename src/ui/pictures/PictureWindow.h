#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "explorer/CopyChecked.h"
#include "pictures/Bitmap32.h"
#include "pictures/Viewer.h"
#include "platform/pictures/PictureFiles.h"
#include "platform/pictures/PictureJob.h"

class QMenu;

namespace pictra {
class SettingsStore;
}

namespace pictra::ui {

struct PictureHooks {
    std::function<CopyContext()> copyContext;                 // for the bin and overwritten files
    std::function<void(const std::string&)> markFile;          // "Bild zu den vorgemerkten Dateien"
    std::function<void(const std::string&)> refreshExplorer;   // the folder's list changed
    std::function<void()> showExplorer;
    std::function<void(const std::string&)> showStatus;
    std::function<void(const std::string&)> showInBrowser;  // a page file in the browser window
    std::function<void(const std::string&)> textPreview;    // "Textvorschau (Erweitertes ASCII)" of a file
    std::function<void(const std::string&)> newDocumentWithText;  // Windows-1252 text into a new document
    std::function<std::string()> textHistoryFile;  // the texts written into pictures so far
    // A gallery command of the explorer's "Bilder" menu, named by its item: the explorer goes to the
    // picture's folder with the picture's line selected first (an empty picture leaves it where it is).
    std::function<void(const std::string& picture, const char* item)> explorerPictureCommand;
};

// `TForm18image` "Bildbearbeitung seit September 2009": one picture of the
// explorer's folder, fitted to the screen, stepped, zoomed, cut, turned, coloured
// and saved. The next and previous pictures are prepared on worker threads,
// which are never waited for.
class PictureWindow : public QWidget {
    Q_OBJECT
public:
    PictureWindow(SettingsStore& store, Dialogs& dialogs, Tones& tones, PictureHooks hooks, QWidget* parent = nullptr);
    ~PictureWindow() override;

    // "Show picture file": stores it as the current picture, takes the list of the
    // folder's pictures, loads it and shows it fitted and centred.
    void showPictureFile(const std::string& path, const std::vector<std::string>& siblings);
    void stepPicture(bool forward);
    void zoom(pictures::viewer::ZoomKey key);
    // "G": the picture at its full size.
    void showFullSize();
    // The menu's `Bildgroesseroderkleiner`: full size when the display is narrower, else fitted.
    void toggleFullSize();
    // F7 "Sichtbares Bild belassen (Verdecktes wird abgeschnitten)".
    void keepVisiblePart();
    void markCorner(bool topLeft);
    // "Markierung für ganzes Bild".
    void markWholePicture();
    void cutMarked();
    void turn(bool right);
    // The edits alone, without the save dialog that follows them.
    bool cutMarkedOnly();
    void turnOnly(bool right);
    void brighter(int percent);
    void moveToBin();
    void rename();
    void reload();
    void saveAs();
    // A save without the dialog (the dialog's choice); false when nothing was written.
    bool saveTo(const std::string& target, int fixedHeight);

    // F3: the marking with the aspect ratio asked once per run ("again": asked anew).
    void markKeepingRatio(bool askAgain);
    // F6: the marked part of the displayed picture as an extra picture window.
    void markedAsExtraPicture(bool firstNote = true);
    void wholeAsExtraPicture();
    // Keys 1 … 9, 0: extra picture n (10 for 0) to the front, framed red.
    void showExtraPicture(int number);
    int extraPictureCount() const { return static_cast<int>(m_extras.size()); }
    QWidget* extraPicture(int number) const;
    // The colour steps: percents per channel; asks "Noch einmal?" after each pass.
    // Inside the marking only with `inMarking` (" Noch einmal innerhalb des Rechtecks?").
    void colourStep(int red, int green, int blue, bool inMarking = false);
    // "Dunkler, aber weiß bleibt weiß".
    void darkerKeepingWhite();
    void colourIn();
    // An extra picture put back where it was dragged to.
    void insertExtra(class ExtraPicture* extra, pictures::viewer::InsertMode mode);
    void editExtraAlone(class ExtraPicture* extra);
    void putEditedPartBack();
    void printInViewer();
    void rotateByAngle();
    void printInBrowser();
    // The correction pen: shown at the pointer, painting the remembered colour.
    void toggleCorrectionPen();
    void setPenSize(int diameter);
    void rememberPenColour();
    class CorrectionPen* correctionPen() const { return m_pen; }
    // Paints a dot of the pen's size at a window position into the picture.
    void paintDot(QPoint at);
    // "Überblick über alle Bilder des Ordners" and "Bild der Zwischenablage zeigen".
    void showOverview();
    void showClipboardPicture();
    // Drawing into the marking.
    enum class Figure { Horizontal, Vertical, DiagonalDown, DiagonalUp, Rectangle, Ellipse };
    void drawFigure(Figure figure);
    void makeMarkingSquare();
    // Shift+S: the size panel.
    void openSizePanel();
    class SizePanel* sizePanel() const { return m_sizePanel; }

    // The save dialog's own commands.
    void copyUnchanged(const std::string& target);
    void copyToClipboard();
    void keepAsExtraPicture();

    const std::string& currentPath() const { return m_path; }
    // Whether a decode of the file has been started ahead of being shown.
    bool prefetching(const std::string& path) const { return m_prefetched.count(path) > 0; }
    // For the tests: how a file is decoded for the screen (on a worker thread).
    using Loader = std::function<platform::pictures::LoadedPicture(const std::string& path, QSize screen, bool shrink)>;
    void setLoader(Loader loader) { m_loader = std::move(loader); }
    QWidget* background() const { return m_background; }
    // A picture is still being decoded and will be shown when it is ready.
    bool loading() const { return !m_pending.empty(); }
    const pictures::Bitmap32& displayed() const { return m_display; }
    pictures::viewer::Size sourceSize() const { return m_sourceSize; }
    QSize screenSize() const;
    void setScreenSize(QSize size) { m_screenOverride = size; }
    QMenu* contextMenu() const { return m_menu; }
    // `TForm17`, the detailed editor on the same current picture (made on first use).
    class PictureEditor* editor();
    // "Umschalten zum ausführlichen Menü (nur für Experten)": this window closes and the editor opens.
    void switchToEditor();
    // `TForm_text` at the screen point, writing into the picture shown at full size.
    void openTextDialog(QPoint global);
    class TextOnPictureDialog* textDialog() const { return m_textDialog; }

protected:
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    float sourceFactor() const;
    QPoint sourcePoint(QPoint shown) const;
    void buildMenu();
    void buildColourMenu(QMenu* menu);
    void buildFileMenu(QMenu* menu);
    // Starts the decode of the file (or takes one under way) and shows it when it is ready.
    void load(const std::string& path);
    std::shared_ptr<platform::pictures::PictureJob> startJob(const std::string& path);
    // Shows a decoded picture, with the questions that follow a load.
    void present(const std::string& path);
    void pollPending();
    void abandonPending(const std::string& message);
    void endLoadingWindow();
    void showMessagePicture(const std::string& line1, const std::string& line2);
    void checkExtension(const std::string& path);
    void cannotLoad(const std::string& path, const std::string& reason);
    void colourPasses(const std::function<void()>& pass, bool numbered, bool inMarking);
    void ensureSource();
    void redisplay(bool fullSize);
    void showSourceAt(pictures::viewer::Size size);
    void placeCentred();
    void prefetchNeighbours();
    void dropPrefetchesBut(const std::vector<std::string>& keep);
    QMenu* extraMenu(class ExtraPicture* extra);
    void buildDrawingMenu();
    void paintOverlay(class QPainter& painter);
    // Text goes into the pixels only at full size; else the message, and full size is shown.
    bool atFullSizeForText();

    SettingsStore& m_store;
    Dialogs& m_dialogs;
    Tones& m_tones;
    PictureHooks m_hooks;
    std::string m_path;
    std::vector<std::string> m_list;
    pictures::Bitmap32 m_source;  // full size; loaded when an edit needs it
    bool m_sourceLoaded = false;
    std::string m_exif;
    pictures::viewer::Size m_sourceSize;
    pictures::Bitmap32 m_display;
    QImage m_message;  // the drawn message picture, when a file cannot be shown
    QPoint m_mouse;
    QPoint m_corner0{-1, -1};
    QPoint m_corner1{-1, -1};
    bool m_markingValid = false;
    QSize m_screenOverride;
    QMenu* m_menu = nullptr;
    QPointer<QWidget> m_background;
    std::map<std::string, std::shared_ptr<platform::pictures::PictureJob>> m_prefetched;
    std::vector<class ExtraPicture*> m_extras;
    std::string m_pending;  // the picture waited for
    QElapsedTimer m_pendingSince;
    int m_pendingQuestions = 0;
    bool m_loadingWindow = false;  // "Bild wird geladen" is open  // "Datei ist wahrscheinlich keine Bilddatei …" asked so far
    Loader m_loader;
    class QTimer* m_poll = nullptr;
    class ExtraPicture* m_editedExtra = nullptr;  // the part being edited alone
    std::string m_returnPath;
    std::vector<std::string> m_returnList;
    QMenu* m_extrasMenu = nullptr;
    std::optional<std::pair<int, int>> m_ratio;
    float m_lastAngle = 0;
    bool m_shrinkLarge = true;
    bool m_noBackground = false;  // "Blauen Hintergrund nicht zeigen"
    bool m_fixedHeight = false;   // "Mit fester Höhe" as last chosen in the save dialog
    bool m_numberCuts = false;    // "Nächste Bildnummer beim Abspeichern eines Ausschnittes"
    bool m_cutMade = false;       // the picture is a cut not saved yet
    class CorrectionPen* m_pen = nullptr;
    class SizePanel* m_sizePanel = nullptr;
    class PictureEditor* m_editor = nullptr;
    class TextOnPictureDialog* m_textDialog = nullptr;
    pictures::Bitmap32 m_copyBuffer;  // the picture before the last drawing
    QColor m_drawColour = Qt::red;
    int m_drawWidth = 3;
    bool m_showName = false;
    bool m_showSize = false;
    pictures::Color32 m_penColour = 0xFFFFFFFF;
};

}  // namespace pictra::ui
