#pragma once

#include <QPoint>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "PictureBoxes.h"
#include "explorer/folders/PictureRenaming.h"

class QLineEdit;
class QListWidget;
class QMenu;

namespace pictra::ui {

struct ExplorerShared;

// `Form10umb`, "Bilddateien umbenennen": the pictures of a folder in their order
// now and in the planned order, numbering in steps of ten, four picture boxes.
// Borderless; it is moved by its top panel.
class PictureOrderWindow : public QWidget {
public:
    PictureOrderWindow(const std::string& folder, ExplorerShared& shared, std::function<void()> closed,
                       QWidget* parent = nullptr);

    // Fills both lists; false (after the message) when the folder holds no picture.
    bool load();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    QMenu* buildListMenu(QListWidget* list, const char* name);
    void selected(int row);
    void planTyped();
    void apply();
    void number(QListWidget* list, bool all);
    void deleteSelected(QListWidget* list);
    void refillPlanned();

    std::string m_folder;
    ExplorerShared& m_shared;
    std::function<void()> m_closed;
    std::vector<folders::PlannedName> m_entries;
    PictureCache m_cache;
    QWidget* m_panel = nullptr;
    QLineEdit* m_folderEdit = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_newName = nullptr;
    QListWidget* m_before = nullptr;
    QListWidget* m_planned = nullptr;
    std::vector<PictureBox*> m_boxes;
    int m_nextBox = 0;
    int m_current = -1;
    QPoint m_dragFrom;
};

}  // namespace pictra::ui
