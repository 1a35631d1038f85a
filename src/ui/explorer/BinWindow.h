#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "explorer/CopyChecked.h"

class QListWidget;

namespace pictra::ui {

struct BinHooks {
    std::function<void(const std::string&)> showPicture;
    std::function<bool(const std::string&)> openDocument;
    std::function<void(const std::string&)> startExplorerAt;        // the first explorer at a folder
    std::function<void(const std::string&)> showInSecondExplorer;  // "Papierkorb im Explorer öffnen"
    std::function<bool()> matchCase;  // the search's case flag: respected when finding the folder's entries
};

// `Form32Papierkorb`: the program's own recycle bin with the original paths.
class BinWindow : public QDialog {
    Q_OBJECT
public:
    BinWindow(std::function<CopyContext()> copyContext, BinHooks hooks, QWidget* parent = nullptr);

    // Fills the list; entries holding `selectText` are selected. Shown modally by show().
    void fill(const std::string& selectText = {});
    QListWidget* list() const { return m_list; }

    void deleteSelected();
    void deleteAll();
    void search();
    void openSelectedAsDocument();
    void openSelected();
    void restoreSelected();
    void showInExplorer();

private:
    std::vector<std::string> selectedFiles() const;
    std::string binFolder();

    std::function<CopyContext()> m_copyContext;
    BinHooks m_hooks;
    QListWidget* m_list = nullptr;
    std::string m_searchWord;
};

}  // namespace pictra::ui
