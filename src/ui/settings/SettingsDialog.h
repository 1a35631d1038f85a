#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "settings/ProgramPaths.h"
#include "settings/SettingsForm.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace pictra {
class Dialogs;
class SettingsStore;
}  // namespace pictra

namespace pictra::ui {

// What the settings dialog asks of the rest of the program.
struct SettingsDialogHooks {
    std::function<void()> fontChanged;            // every editor's font is reset
    std::function<void(int)> numLockChanged;      // 0 on, 1 off, 2 unchanged
    std::function<void(const std::string&)> openFile;
    std::function<void()> openBin;
    std::function<bool()> openBrowserPageSetup;   // false: no browser
    std::function<void(bool)> printerMode;        // true: needle printer
    std::function<void()> printerLandscape;
    std::function<void(double)> tone;             // a signal tone of that frequency
    std::function<void()> chime;                  // the three-tone chime
};

// `Form6` "Einstellungen": every control is filled from the settings when the
// dialog opens and written back when it closes; some keys are written at once.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(SettingsStore& store, Dialogs& dialogs, ProgramPaths paths,
                   std::string defaultSecondFolder, SettingsDialogHooks hooks, QWidget* parent = nullptr);

    // Fills the controls, highlights one group (0 and 3: none) and shows the dialog modally.
    void openSettings(int group);
    // Fills the controls and highlights without showing (the tests drive the dialog this way).
    void prepare(int group);
    QGroupBox* groupOf(int group) const;

    void done(int result) override;

private:
    QGroupBox* addGroup(const QString& name, const QString& title);
    void orderTabsByColumns(QWidget* last);
    void buildToneGroup();
    void buildSampleGroup();
    void buildFolderGroups();
    void buildOptionGroups();
    void buildPrintGroups();
    void buildFontGroup();
    void fill();
    void writeBack();
    void highlight(int group);
    void updateSample();
    void chooseSampleText();
    void chooseSampleBackground();
    void chooseSecondFolder();
    void chooseTempFolder();
    void chooseAppointmentFile();
    void chooseEditorFont();
    void standardEditorFont();
    void showBrowserPageSetup();
    void marginsChanged();

    SettingsStore& m_store;
    Dialogs& m_dialogs;
    ProgramPaths m_paths;
    std::string m_defaultSecondFolder;
    SettingsDialogHooks m_hooks;
    SettingsFormValues m_values;
    bool m_filling = false;

    QWidget* m_columns[3] = {};
    int m_nextColumn = 0;
    QCheckBox* m_explorerHeight = nullptr;
    QSpinBox* m_toneDuration = nullptr;
    QSlider* m_volume = nullptr;
    QLabel* m_sample = nullptr;
    QLineEdit* m_bin = nullptr;
    QCheckBox* m_secondCopy = nullptr;
    QLineEdit* m_secondFolder = nullptr;
    QPushButton* m_secondBrowse = nullptr;
    QLineEdit* m_temp = nullptr;
    QCheckBox* m_appointments = nullptr;
    QLabel* m_appointmentFile = nullptr;
    QRadioButton* m_pictures12 = nullptr;
    QRadioButton* m_pictures48 = nullptr;
    QCheckBox* m_preview = nullptr;
    QSpinBox* m_marginTop = nullptr;
    QSpinBox* m_marginLeft = nullptr;
    QSpinBox* m_marginRight = nullptr;
    QSpinBox* m_blanksLeft = nullptr;
    QSpinBox* m_linesTop = nullptr;
    QComboBox* m_numLock = nullptr;
    QLabel* m_fontName = nullptr;
};

}  // namespace pictra::ui
