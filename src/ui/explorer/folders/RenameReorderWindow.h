#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "PictureBoxes.h"

class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;

namespace pictra::ui {

struct ExplorerShared;

// `Form10umb2`, "Dateien umbenennen und umordnen": the pictures of a folder, with
// a new name planned per line (name + "->" + new name), carried out on "Schließen".
class RenameReorderWindow : public QWidget {
public:
    RenameReorderWindow(const std::string& folder, ExplorerShared& shared, std::function<void()> closed,
                        QWidget* parent = nullptr);

    // Fills the list from the folder; false (after the message) when it holds no picture.
    bool load();
    QListWidget* list() const { return m_list; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildMenu();
    void startRenaming();
    void acceptFineTuning();
    void finish();
    void deleteSelected();
    void showInSecondBox(int row);
    std::vector<int> selectedRows() const;
    std::string pathOf(int row) const;
    std::string nameOf(int row) const;
    void checkDuplicates();

    std::string m_folder;
    ExplorerShared& m_shared;
    std::function<void()> m_closed;
    std::vector<std::string> m_names;
    PictureCache m_cache;
    QListWidget* m_list = nullptr;
    QLineEdit* m_stem = nullptr;
    QWidget* m_fine = nullptr;
    QPlainTextEdit* m_fineLines = nullptr;
    std::vector<int> m_fineRows;
    PictureBox* m_first = nullptr;
    PictureBox* m_second = nullptr;
    QMenu* m_menu = nullptr;
};

}  // namespace pictra::ui
