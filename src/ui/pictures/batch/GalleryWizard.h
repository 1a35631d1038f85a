#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace pictra {
class Dialogs;
class SettingsStore;
}  // namespace pictra

namespace pictra::ui {

// What the wizard does with a finished gallery: the explorer at its folder, the
// overview page as a document in the browser preview.
struct GalleryWizardHooks {
    std::function<void(const std::string&)> showFolder;
    std::function<void(const std::string&)> previewHtml;
};

// `Form11Bildergalerien`: small pictures, an overview page and, with navigation,
// one page per picture for the pictures of one folder.
class GalleryWizard : public QDialog {
    Q_OBJECT
public:
    GalleryWizard(SettingsStore& store, Dialogs& dialogs, std::string journalFolder, GalleryWizardHooks hooks,
                  QWidget* parent);
    // Shows the wizard modally at the folder; the folder is kept in the settings on closing.
    void openAt(const std::string& folder);
    void start();
    // "Reihenfolge der Bilder anpassen": the picture pages follow the overview's order.
    void reorder();

protected:
    void done(int result) override;

private:
    QSpinBox* spin(const char* name, int value, int maximum);

    SettingsStore& m_store;
    Dialogs& m_dialogs;
    std::string m_journalFolder;
    GalleryWizardHooks m_hooks;
    QLineEdit* m_folder = nullptr;
    QLineEdit* m_heading = nullptr;
    QLineEdit* m_name = nullptr;
    QSpinBox* m_quality = nullptr;
    QSpinBox* m_smallHeight = nullptr;
    QCheckBox* m_labels = nullptr;
    QSpinBox* m_perRow = nullptr;
    QSpinBox* m_border = nullptr;
    QWidget* m_labelRow = nullptr;
    QCheckBox* m_navigation = nullptr;
    QSpinBox* m_navigationHeight = nullptr;
    QCheckBox* m_headingsForAll = nullptr;
};

}  // namespace pictra::ui
