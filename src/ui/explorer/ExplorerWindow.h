#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "explorer/CopyChecked.h"
#include "explorer/FolderChronicle.h"
#include "explorer/MarkedFiles.h"
#include "explorer/OpenDispatch.h"
#include "explorer/search/SearchSession.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QMenuBar;
class QPushButton;
class QSplitter;

namespace pictra::fileops {
struct RenameContext;
}
namespace pictra::folders {
struct FolderContext;
}
namespace pictra::converters {
struct ProgramCall;
}

namespace pictra {
class Dialogs;
class SettingsStore;
class Tones;
}  // namespace pictra

namespace pictra::ui {

class PictureWindow;

// What the explorer asks of the rest of the program.
struct ExplorerHooks {
    std::function<bool(const std::string&)> openDocument;  // loading as a document
    std::function<bool(const std::string&)> openRichText;
    std::function<void(const std::string&)> previewHtml;   // as a document, then the browser preview
    // The picture window shows a picture with its siblings; until it exists the
    // desktop's viewer does.
    std::function<void(const std::string&, const std::vector<std::string>&)> showPicture;
    // A new document holding this text (Windows-1252), or appended to the current empty one.
    std::function<void(const std::string&)> newDocumentWithText;
    // The current document's text as it would be saved (Windows-1252, CR LF).
    std::function<std::string()> currentDocumentText;
    // The current document's file name ("?" while it has none).
    std::function<std::string()> currentDocumentName;
    // The current document's text (Windows-1252, CR LF; with `readable` its entities
    // decoded first) through `change`; a result replaces the text, and with `readable`
    // the document is then shown in the browser preview.
    std::function<void(bool readable, const std::function<std::optional<std::string>(const std::string&)>& change)>
        rewriteCurrentDocument;
    std::function<void(const std::string&)> showStatus;
    std::function<void(int)> openSettings;
    std::function<bool()> htmlInStandardBrowser;
    std::function<void()> toggleSecondExplorer;
    std::function<void()> showOnlyThis;
    std::function<void(bool)> keepOnTop;
    std::function<void()> showMainWindow;
    // The bin window, with the entries holding this text selected (empty: none).
    std::function<void(const std::string&)> showBin;
    // "Suche in Dateien": the search window at this folder.
    std::function<void(const std::string&)> searchInFiles;
    // The picture window (made on first use), for the clipboard picture, the overview and the editor's settings.
    std::function<PictureWindow*()> pictureWindow;
};

struct ExplorerShared {
    SettingsStore& store;
    Dialogs& dialogs;
    Tones& tones;
    explorer::FolderChronicle& chronicle;
    std::string simpleSearchTerm;
    explorer::MarkedFiles marked;
    CopySession& copies;     // the one overwrite answer of the run, shared with saving
    std::string binFolder;
    filesearch::SearchSession search{};  // the search window's state of the run, the case flag among it

    CopyContext copyContext();
};

enum class ExplorerLayout { Stored, Large, Small };

// `Form10dummy`: drive list, folder tree and file list of one explorer instance.
class ExplorerWindow : public QWidget {
    Q_OBJECT
public:
    ExplorerWindow(ExplorerShared& shared, char number, ExplorerHooks hooks, QWidget* parent = nullptr);

    char number() const { return m_number; }
    std::string section() const { return std::string("Explorer") + m_number; }

    // `Form10explorerStart`: shows the window and goes to the path's folder, or to
    // the stored drive and folder when the path is empty.
    void start(const std::string& path);
    // `zeigeDateien`: the files of the folder into the file list, and the caption.
    void showFiles(const std::string& folder);
    // `AktuellDir`.
    std::string currentFolder() const { return m_folder; }
    // Makes the folder the tree's directory (its ancestors and subfolders listed).
    bool goToFolder(const std::string& folder);
    void fillDriveList();
    void place(ExplorerLayout layout);
    void storeLayout();

    // The double-click path for a file given by its path (the start request uses it).
    void openPath(const std::string& path, bool fromReadItem = false);
    void openSelected(bool fromReadItem = false);
    std::vector<std::string> selectedPaths() const;
    std::vector<std::string> allPaths() const;
    std::optional<std::vector<std::string>> selectedOrAll();
    // Marking, pasting and deleting into the bin.
    void markSelected(bool keep);
    void pasteMarked(explorer::PasteNames names);
    void copyMarkedWithFolders();
    void markFolder();
    void copyMarkedFolder();
    void deleteSelectedToBin();
    void deleteMarkedToBin();
    void deleteSelectedForGood();
    void showMarkedFiles();
    std::string pathOfRow(int row) const;
    void selectAll();
    void simpleSearch();
    // "Textvorschau (Erweitertes ASCII)" of one file.
    void textPreviewOf(const std::string& path);
    void addCurrentFolderToChronicle();
    void showChronicleMenu();
    QMenu* buildChronicleMenu();

    QListWidget* driveList() const { return m_drives; }
    QListWidget* folderTree() const { return m_tree; }
    QListWidget* fileList() const { return m_files; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildMenus(QMenuBar* bar);
    void buildExtrasMenu(QMenuBar* bar);
    void buildSelectionItems(QMenu* files);
    void renameSelected(fileops::RenameContext& context);
    std::function<void()> renaming(std::function<void(fileops::RenameContext&)> command);
    void buildFilePopup();
    void buildDeleteMenu(QMenuBar* bar);
    void buildMarkingItems(QMenu* menu);
    void buildFolderPopup();
    void driveClicked(QListWidgetItem* item);
    void folderClicked(QListWidgetItem* item);
    void fileClicked(QListWidgetItem* item);
    void searchFolder();
    void openDocumentsFolder();
    void rebuildTree(const std::string& opened, const std::string& selected);
    void rememberFolder(const std::string& folder);
    void dispatch(const std::string& path, bool fromReadItem);
    std::string renameByHeader(const std::string& path);
    std::vector<std::string> siblingPictures(const std::string& path) const;
    void handleSpecialLine(const std::string& line);
    void updateSelectionCaption();
    void showPreview(const std::string& path);
    void clearPreview();
    void placeTreeButtons();
    void adaptHeight();
    void showNote();
    // A short word written at the window's top left corner, gone after a few seconds.
    void writeAtTopLeft(const QString& text);
    void openAllSelected();
    void showProperties();
    void textPreview();
    void readSelectedIntoOneDocument();
    void readConsoleOutput();
    void startWithParameters();
    void openTerminalHere();
    void openFileManagerHere();
    void showDrivesReport(bool withFloppies);
    void tidySelected();
    // The folder commands (folders/ExplorerFolders.cpp).
    void addFolderExtras(QMenu* extras);
    void addNewSubfolderItem(QMenu* popup);
    void addFolderTreeItems(QMenu* popup);
    void withFolderContext(const std::function<void(folders::FolderContext&)>& command);
    void createFolderHere();
    void removeEmptyFoldersHere();
    void deleteFolderHere();
    void findLargestFiles();
    void addPictureRenameItems(QMenu* pictures);
    // Films and office documents of the double click (folders/ExplorerMedia.cpp).
    std::string officeProgram() const;
    bool openWithOffice(const std::string& path);
    void playFilm(const std::string& path, bool flash);
    // The outside converters of the Extras menu (folders/ExplorerConverters.cpp).
    void addPackerItems(QMenu* extras);
    void addSoundItems(QMenu* extras);
    std::vector<std::string> selectedOrAsk();
    bool runConverter(const converters::ProgramCall& call);
    void cutPiece();
    void makeIcon(const std::string& path);

    ExplorerShared& m_shared;
    char m_number;
    ExplorerHooks m_hooks;
    std::string m_folder;        // the folder whose files are listed
    std::string m_openedFolder;  // the folder whose subfolders the tree lists
    std::string m_lastClickedFolder;
    std::string m_lastClickedFile;
    QListWidget* m_drives = nullptr;
    QListWidget* m_tree = nullptr;
    QListWidget* m_files = nullptr;
    QSplitter* m_outer = nullptr;
    QSplitter* m_left = nullptr;
    QWidget* m_panel1 = nullptr;
    QWidget* m_panel2 = nullptr;
    QPushButton* m_chronicleButton = nullptr;
    QPushButton* m_noteButton = nullptr;
    QLabel* m_preview = nullptr;
    QLabel* m_cornerNote = nullptr;
    QMenu* m_filePopup = nullptr;
    QMenu* m_folderPopup = nullptr;
    bool m_shownOnce = false;  // a window never shown has no layout worth keeping
    bool m_refilling = false;  // the list is refilled or re-selected by the program, not by the user
};

}  // namespace pictra::ui
