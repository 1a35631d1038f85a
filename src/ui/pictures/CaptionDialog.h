#pragma once

#include <QDialog>
#include <string>

#include "pictures/captions/Captions.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;

namespace pictra {
class Dialogs;
class SettingsStore;
}  // namespace pictra

namespace pictra::ui {

// The default caption style: the settings "JP0Schriftgröße", `JP0Schriftfarbe`, `JP0Hintergrundfarbe`.
pictures::captions::CaptionStyle captionDefaults(const SettingsStore& store);

// `TForm6textInBild` "Bild wird beschriftet": the caption lines kept beside a picture in its ".jp0" file.
class CaptionDialog : public QDialog {
    Q_OBJECT
public:
    CaptionDialog(QWidget* parent, const SettingsStore& store, Dialogs& dialogs, const std::string& picturePath);
    const pictures::captions::CaptionStyle& style() const { return m_style; }
    // "Schliessen": writes the lines in the dialog's style (deletes the file when none remain) and closes;
    // a file it could not write, or could not read before, leaves the dialog open.
    void saveAndClose();

private:
    void applyStyle();
    Dialogs& m_dialogs;
    std::string m_path;  // the ".jp0"
    bool m_unreadable = false;
    pictures::captions::CaptionStyle m_style;
    QPlainTextEdit* m_memo;
    QLabel* m_sample;
    QCheckBox* m_transparent;
};

}  // namespace pictra::ui
