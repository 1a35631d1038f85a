#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace pictra::ui {

struct PictureSaveChoice {
    std::string target;
    int fixedHeight = 0;  // 0: as it is
};

struct PictureSaveOptions {
    std::string currentPath;
    std::string explorerFolder;
    int displayHeight = 0;
    bool fixedHeight = false;  // "Mit fester Höhe" ticked
    std::string baseName;      // empty: the current picture's
    // The dialog's own commands; each closes the dialog when it returns true.
    std::function<bool(const std::string& targetWithoutExtension)> copyUnchanged;
    std::function<bool()> toClipboard;
    std::function<bool()> keepAsExtra;
};

// `TForm18speichern` "Speichern ...": where the picture goes (same name, with "_"
// in front, a sub-folder, any folder), its format and an optional fixed height;
// or the picture copied unchanged, into the clipboard, or kept as an extra picture.
class PictureSaveDialog : public QDialog {
    Q_OBJECT
public:
    // exec() gives Accepted for a save, Handled when one of the dialog's own commands did the work.
    static constexpr int Handled = 2;

    explicit PictureSaveDialog(const PictureSaveOptions& options, QWidget* parent = nullptr);
    PictureSaveChoice choice() const;
    bool fixedHeightTicked() const;

private:
    std::string targetBase() const;

    std::string m_folder;
    QButtonGroup* m_targets = nullptr;
    QButtonGroup* m_formats = nullptr;
    QLineEdit* m_same = nullptr;
    QLineEdit* m_underscore = nullptr;
    QLineEdit* m_subfolder = nullptr;
    QLineEdit* m_subName = nullptr;
    QLineEdit* m_otherFolder = nullptr;
    QLineEdit* m_otherName = nullptr;
    QCheckBox* m_fixed = nullptr;
    QSpinBox* m_height = nullptr;
};

}  // namespace pictra::ui
