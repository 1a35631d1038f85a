#pragma once

#include <QDialog>
#include <optional>
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

// `TForm18speichern` "Speichern ...": where the picture goes (same name, with "_"
// in front, a sub-folder, any folder), its format and an optional fixed height.
class PictureSaveDialog : public QDialog {
    Q_OBJECT
public:
    PictureSaveDialog(const std::string& currentPath, const std::string& explorerFolder, int displayHeight,
                      QWidget* parent = nullptr);
    PictureSaveChoice choice() const;

private:
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
