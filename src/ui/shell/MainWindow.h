#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>
#include <string>

#include "AppContext.h"
#include "html/Entities.h"
#include "shell/DocumentFiles.h"
#include "shell/editing/LineTools.h"
#include "shell/editing/Search.h"
#include "html/HtmlRewrites.h"
#include "html/TagColours.h"
#include "shell/NumberedFiles.h"
#include "shell/RawPrint.h"

class QMenu;
class QTimer;

namespace pictra::ui {

class BrowserWindow;
class Browsers;
class CalculatorDialog;
class CalculatorPanel;
class BinWindow;
class PictureWindow;
class DocumentArea;
class Explorers;
class MainDocumentHost;
class PlainEditor;
class SettingsDialog;
class SpecialCharacterDialog;
class StatusBars;
class SearchBarWidget;
class SearchResults;
class SelectionToolWindow;
class StyleDialog;
class TableFormWindow;
class TableSheetWindow;

struct MainWindowOptions {
    // A second running instance shows its editors light green.
    bool secondInstance = false;
};

// `Form1`, the main window: a multi-document editor with the status and notice
// bars, the document menu and the main timer.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppContext& context, MainWindowOptions options = MainWindowOptions(),
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    AppContext& context() { return m_context; }
    DocumentArea& documents() { return *m_documents; }
    StatusBars& statusBars() { return *m_status; }

    // The document list as every other command reaches it.
    void ensureDocument();
    int currentIndex();
    PlainEditor* currentEditor();
    std::string currentFileName();
    void setCurrentFileName(const std::string& path);
    void newDocument();
    void switchTo(int index);
    int findOpen(const std::string& path) const;
    void refreshCaption();
    void removeDocument(int index);
    void removeAllDocuments();

    void showStatus(const QString& text);
    void showNotice(const QString& text);

    // Text shown once as the caption of the next new document.
    void setPendingCaption(const QString& caption) { m_pendingCaption = caption; }
    QString alarmTimes() const { return m_alarmTimes; }
    void setAlarmTimes(const QString& times) { m_alarmTimes = times; }

    // The file to open once the program runs (command line or "index.html").
    void setStartRequest(const std::string& path) { m_startRequest = path; }
    const std::string& startRequest() const { return m_startRequest; }
    // Who opens the start request (the explorer's double-click path); until one is
    // set the request waits.
    void setStartRequestHandler(std::function<void(const std::string&)> handler) {
        m_startRequestHandler = std::move(handler);
    }

    // Asks before a modified document is closed; false keeps it open.
    std::function<bool(int)> confirmClose;
    // Starts the program anew in the given working folder once this run lets go of its single-instance lock.
    std::function<void(const std::string&)> restartProgram;

    // Loading and saving of the documents.
    DocumentFiles& files() { return *m_files; }

    void openSettings(int group);
    SettingsDialog* settingsDialog();
    void editSettingsFile();
    QFont editorFont() const;
    void resetEditorFonts();
    void applyNumLock(int setting);

    // One tick of the main timer.
    void timerTick();
    QTimer* mainTimer() const { return m_timer; }

    // The document menu of a right click, rebuilt every time.
    void showDocumentMenu(const QPoint& globalPos);
    QMenu* buildDocumentMenu();

    void showCurrentFolder();
    // The two explorer windows; the first is shown at start.
    Explorers& explorers();
    void showExplorerAtCurrentDocument(const QString& caption = {});
    // "Öffnen...": the explorer at the current document's folder, files open by double click.
    void openWithExplorer();
    void textPreviewOfChosenFile();
    // The recent files: rebuilt when next shown after a load or save changed them.
    void rebuildRecentMenu();
    void noteRecordedFile();
    // The own recycle bin, with the entries holding `select` selected.
    void showBinWindow(const std::string& select = {});
    // The picture window, made on first use and kept.
    PictureWindow* pictureWindow();
    void showPicture(const std::string& path, const std::vector<std::string>& siblings);
    bool loadRtfFile(const std::string& path);
    // The entity table of the HTML commands, one for every document of the run.
    EntityTable& entities() { return m_entities; }
    void setMathMode(bool on);
    void toggleMathMode();
    void insertSpecialCharacter();
    // A notice for about a second.
    void showNoticeBriefly(const QString& text);

    // The calculator line ("Rechenblatt") and the calculator dialog ("Rechner").
    CalculatorPanel& calculatorPanel() { return *m_calculator; }
    void toggleCalculatorLine();
    CalculatorDialog* calculatorDialog();

    // Rich text.
    void readRtfFile();
    void saveRtfFile();
    void enableWordWrap();
    void alignSelection(Qt::Alignment alignment);
    void formatSelection();

    // Printing and the hand-off to Penwick.
    void printDirect();
    void printFair();
    void switchToPenwick();
    std::pair<int, int> printMargins() const;
    RawPrinter& rawPrinter();
    void setRawPrinter(std::unique_ptr<RawPrinter> printer) { m_rawPrinter = std::move(printer); }

    // The current browser window (one is made when there is none) and the list of them.
    BrowserWindow* browserWindow();
    Browsers& browsers();
    void showAbout();
    // The full preview ("Vollbild", F9); from Esc in the editor an open search panel only closes.
    void fullPreview(bool byEscape = false);
    void showPageInBrowser(const std::string& path);
    void printThroughBrowser();
    // "Alle schließen": with five or more browser windows the program starts afresh instead.
    void closeAllDocuments();
    bool htmlInStandardBrowser() const;

    // The table sheet ("Tabelle") and the table-writing form ("Tabellen").
    TableSheetWindow* tableSheet();
    TableFormWindow* tableForm();
    void showExampleTable();
    void tableFromNameList();
    void writeTableFromSelection();
    void newDocumentUnlessEmpty();

    // Search and replace, the line tools and the font and style dialog.
    SearchBarWidget& searchBar() { return *m_searchBar; }
    search::SearchSession& searchSession() { return m_search; }
    linetools::LineBuffer& lineBuffer() { return m_lineBuffer; }
    void openSearch(bool replacePanel);
    void searchNext();
    void removePaint(bool tabsToTable);
    void searchAllDocuments();
    void runSearchAll(const QString& term);
    void searchCurrentFromResults(QString term);
    SearchResults* searchResults();
    void takeRectangle(bool cut);
    void pasteRectangle();
    void toggleVirtualSpace();
    bool virtualSpace() const { return m_virtualSpace; }
    void sortDocument(bool numeric);
    void wrapLines();
    void runSelectionTool();
    StyleDialog* styleDialog();
    void styleSelectionOrWord();

    // HTML structuring and checks.
    void indentHtml();
    void structureAtCaret(bool list);
    void paragraphsFromBreaks();
    void checkWithTidy();
    void countTags();
    void checkSingleTag();
    void colourTags(const std::vector<html::ColourRule>& rules);
    void embedInSkeleton();
    void stampDoctypes();
    void addDescription();
    void pasteWithBreaks();
    void wikiToHtml();
    void playerToClipboard(bool video);

    // Window arrangement of the "Ansicht" menu.
    void arrangeFull();
    void arrangeLeft();
    void arrangeTop();
    void arrangeAllSameSize();
    void showAllWindows();
    void showTextWindowAgain();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildExplorers();
    void buildMakroMenu();
    void editFileSet();
    void buildRecentMenu(QMenu* file);
    void buildNumberedCommands(QMenu* file);
    numbered::Context numberedContext();
    void buildExplorerCommands(QMenu* view);
    void buildTableCommands(QMenu* view);
    void buildSearchBar(QWidget* parent);
    void buildHtmlStructureMenus(QMenu* menu);
    void buildHtmlSelectionMenu(QMenu* menu);
    bool selectionOrAll(EditorView& view, const std::string& question);
    void rewriteSelection(const std::string& question, const std::function<std::string(const std::string&)>& rewrite);
    void rewriteSelectedLines(const std::string& question,
                              const std::function<html::Lines(const html::Lines&)>& rewrite);
    void storeSearchHistory();
    void buildEditMenu();
    void buildLineToolCommands(QMenu* extras);
    bool editorKey(PlainEditor* editor, QKeyEvent* key);
    void escapeFromEditor(PlainEditor* editor);
    void keepSpareAndVirtualSpace(PlainEditor* editor, int key);
    void buildFileMenu();
    void fillSaveInFolderMenu(QMenu* menu);
    void buildRtfMenu(QMenu* file);
    void buildHtmlMenu();
    void buildBrowserMenus();
    void showNeighbourFile(BrowserWindow& browser, bool next);
    void fillFavourites(QMenu* menu);
    void livePreview();
    void buildAsciiMenu(QMenu* extras);
    QAction* addCommand(QMenu* menu, const char* name, const QString& text, std::function<void()> command,
                        const QKeySequence& key = {});
    void configureEditor(PlainEditor* editor);
    void updateCaret();
    void noteFirstEdit(PlainEditor* editor);
    bool calculatorKey(QKeyEvent* event);
    void ringAlarmIfDue();
    void handOverStartRequest();
    bool confirmAllDocuments();
    void saveAtExit();

    AppContext& m_context;
    MainWindowOptions m_options;
    DocumentArea* m_documents = nullptr;
    StatusBars* m_status = nullptr;
    QTimer* m_timer = nullptr;
    SettingsDialog* m_settingsDialog = nullptr;
    Browsers* m_browserList = nullptr;
    QAction* m_standardBrowserAction = nullptr;
    QAction* m_liveAction = nullptr;
    QTimer* m_liveTimer = nullptr;
    EntityTable m_entities;
    std::unique_ptr<MainDocumentHost> m_host;
    std::unique_ptr<DocumentFiles> m_files;
    std::unique_ptr<Explorers> m_explorers;
    BinWindow* m_binWindow = nullptr;
    PictureWindow* m_pictureWindow = nullptr;
    std::vector<QAction*> m_makroEntries;
    bool m_makroAdd = false;
    QMenu* m_recentMenu = nullptr;
    bool m_historyChanged = false;
    std::unique_ptr<RawPrinter> m_rawPrinter;
    bool m_settingsOpened = false;
    QAction* m_mathAction = nullptr;
    SpecialCharacterDialog* m_specialDialog = nullptr;
    CalculatorPanel* m_calculator = nullptr;
    CalculatorDialog* m_calculatorDialog = nullptr;
    TableSheetWindow* m_tableSheet = nullptr;
    TableFormWindow* m_tableForm = nullptr;
    SearchBarWidget* m_searchBar = nullptr;
    search::SearchSession m_search;
    linetools::LineBuffer m_lineBuffer;
    bool m_virtualSpace = true;
    QAction* m_cursorInText = nullptr;
    SearchResults* m_searchResults = nullptr;
    SelectionToolWindow* m_selectionTools = nullptr;
    StyleDialog* m_styleDialog = nullptr;
    std::string m_singleTag = "a";
    // The page skeleton's title: the day the window was made.
    std::string m_skeletonDate;
    QString m_pendingCaption;
    QString m_alarmTimes;
    std::string m_startRequest;
    std::function<void(const std::string&)> m_startRequestHandler;
    bool m_closing = false;
    bool m_closed = false;
};

}  // namespace pictra::ui
