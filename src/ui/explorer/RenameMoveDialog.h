#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "explorer/fileops/RenameMove.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace pictra {
class Dialogs;
class SettingsStore;
}  // namespace pictra

namespace pictra::ui {

// `Form10a`, "Datei umbenennen oder verschieben": new name, target folder and
// rename or copy for one file. The window only gathers the answer; the renaming
// itself is fileops::renameOrMove.
class RenameMoveDialog : public QDialog {
public:
    RenameMoveDialog(const std::string& path, SettingsStore& store, Dialogs& dialogs, QWidget* parent = nullptr);

    // Shows the window; nullopt when the user chose "Abbrechen".
    std::optional<fileops::RenameMoveRequest> ask();

private:
    void buildLayout();
    void relist();
    void showChoice();
    void showPreview(const std::string& name);
    void chooseFolder();
    std::string targetFolder() const;

    std::string m_path;
    std::string m_ownFolder;
    SettingsStore& m_store;
    Dialogs& m_dialogs;
    std::vector<std::string> m_folders;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_name = nullptr;
    QComboBox* m_target = nullptr;
    QListWidget* m_list = nullptr;
    QRadioButton* m_rename = nullptr;
    QRadioButton* m_copy = nullptr;
    QLabel* m_choice = nullptr;
    QLabel* m_preview = nullptr;
};

}  // namespace pictra::ui
