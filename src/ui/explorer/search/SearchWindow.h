#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "explorer/CopyChecked.h"
#include "explorer/search/Criteria.h"
#include "explorer/search/SearchSession.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;

namespace pictra {
class Dialogs;
class SettingsStore;
class Tones;
namespace explorer {
struct MarkedFiles;
}
}  // namespace pictra

namespace pictra::ui {

class ContactSheetWindow;
class PictureWindow;
class ResultModel;

struct SearchHooks {
    std::function<bool(const std::string&)> openDocument;
    std::function<void(const std::string&, const std::vector<std::string>&)> showPicture;
    std::function<void(const std::string&)> newDocumentWithText;  // Windows-1252
    std::function<void(const std::string&)> showStatus;
    // T1 of a finished search becomes the main window's search text (UTF-8).
    std::function<void(const std::string&)> setSearchText;
    // "Ordner öffnen": the first explorer lists this folder.
    std::function<void(const std::string&)> showFolder;
    std::function<CopyContext()> copyContext;
    // While a search runs the first explorer moves to the top of the screen (true), and back afterwards (false).
    std::function<void(bool)> explorerToTop;
    // The picture window (made on first use): its overview in the simple picture mode, its editor for a thumbnail.
    std::function<PictureWindow*()> pictureWindow;
};

struct SearchShared {
    SettingsStore& store;
    Dialogs& dialogs;
    Tones& tones;
    explorer::MarkedFiles& marked;
    filesearch::SearchSession& session;
    std::string binFolder;
};

// `Form11_suchen`: search in files, and the result list as a working list.
class SearchWindow : public QWidget {
    Q_OBJECT
public:
    SearchWindow(SearchShared shared, SearchHooks hooks, QWidget* parent = nullptr);
    ~SearchWindow() override;

    // Opening from the main window: the folder becomes the stored one while the list is empty.
    void openFromMainWindow();
    // Opening from the explorer: the folder becomes the explorer's.
    void openAt(const std::string& folder);

    void startSearch();
    ResultModel* results() const { return m_model; }
    QListView* resultView() const { return m_list; }
    std::string folder() const;
    filesearch::Criteria criteria() const;
    bool searching() const { return m_searching; }

    // Result commands.
    void openResult(int row, bool alsoStart);
    void openResultWithHandler(const std::string& path);
    void openAllSelected();
    void markSelected();
    void moveSelectedToBin();
    void deleteSelectedForGood();
    void renameOne();
    void renameNumbered();
    void renameSelectedWithHelper();
    void copyWithFolders();
    void sortOutDuplicates();
    void findWrongLinks();
    void extensionsFromHeader();
    void copyPathsToClipboard();
    void openFolderOfSelected();
    void listAsText();
    void askReplacement();
    void askCaseFlag();
    // "Überblick über alle JPG-Bilder des Ordners": the contact sheet of the result list's JPEG pictures,
    // from the first selected line on.
    void showPictureOverview();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFields();
    void buildMenus();
    void buildPopup();
    void clearInput();
    void showClicked(int row);
    void chooseFolder();
    void updateCounters();
    void addLines(std::vector<std::string> lines, std::uintmax_t bytes);
    void searchWithReplacement(const filesearch::Criteria& criteria);
    bool chooseCopyMode();
    std::vector<int> selectedRows() const;
    std::vector<std::string> selectedPaths() const;
    std::vector<std::string> allPaths() const;
    void selectAll();
    void selectRows(const std::vector<int>& rows);
    void nextPictureSheet();
    void openSheetPicture(const std::string& path);

    SearchShared m_shared;
    SearchHooks m_hooks;
    QLineEdit* m_names[3]{};
    QLineEdit* m_nameExclusion = nullptr;
    QLineEdit* m_texts[3]{};
    QLineEdit* m_textExclusion = nullptr;
    QLineEdit* m_folder = nullptr;
    QLineEdit* m_maxAge = nullptr;
    QLineEdit* m_minAge = nullptr;
    QLineEdit* m_minKb = nullptr;
    QPushButton* m_andOr = nullptr;
    QPushButton* m_start = nullptr;
    QCheckBox* m_recursive = nullptr;
    QLabel* m_count = nullptr;
    QLabel* m_bytesLabel = nullptr;
    QLabel* m_shows = nullptr;
    QLabel* m_preview = nullptr;
    std::string m_previewPath;
    QListView* m_list = nullptr;
    ResultModel* m_model = nullptr;
    QAction* m_caseAction = nullptr;
    QMenu* m_popup = nullptr;
    std::uintmax_t m_hitBytes = 0;
    std::size_t m_hitCount = 0;
    bool m_searching = false;
    std::size_t m_sheetStart = 0;  // where the next contact sheet starts in the result list
    ContactSheetWindow* m_sheet = nullptr;
};

}  // namespace pictra::ui
