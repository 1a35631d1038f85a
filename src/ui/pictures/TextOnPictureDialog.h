#pragma once

#include <QDialog>
#include <QPoint>
#include <functional>
#include <string>
#include <vector>

#include "pictures/Bitmap32.h"
#include "platform/pictures/TextDrawing.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace pictra {
class Dialogs;
}

namespace pictra::ui {

// The window whose picture the text goes into.
struct TextTarget {
    std::function<pictures::Bitmap32*()> picture;  // the pixels at full size
    std::function<QPoint()> origin;                // the screen position of the picture's top-left pixel
    std::function<void()> before;                  // keeps the picture for taking the text back
    std::function<void()> written;                 // shows the changed picture
    std::function<void(int)> moveUp;               // the picture window only: after "links"
};

// `TForm_text` "Es gibt keine Überschrift": a line of text written into the
// pixels where the dialog's top-left corner lies over the picture.
class TextOnPictureDialog : public QDialog {
    Q_OBJECT
public:
    enum class After { Close, Left, Top, Both };
    TextOnPictureDialog(QWidget* parent, Dialogs& dialogs, std::string historyFile);
    // Shows the dialog with its top-left corner at the screen point, writing into the target.
    void openAt(QPoint global, TextTarget target);
    // "Schreiben".
    void write();
    // The list buttons: the history shown (loaded with its note) or hidden (saved).
    void showHistory(bool show);
    // A click on a line of the list: its text goes into `Edit1`.
    void takeHistoryLine(int line);
    const std::vector<std::string>& history() const { return m_history; }
    platform::pictures::TextLook look() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyLook();
    std::vector<std::string> memoHistory() const;
    void saveHistory(bool tell);
    void fillMemo();

    Dialogs& m_dialogs;
    std::string m_historyFile;
    std::vector<std::string> m_history;
    TextTarget m_target;
    platform::pictures::TextLook m_look;
    QLineEdit* m_text;
    QComboBox* m_family;
    QSpinBox* m_size;
    QCheckBox* m_bold;
    QCheckBox* m_italic;
    QCheckBox* m_underline;
    QCheckBox* m_transparent;
    QCheckBox* m_threeD;
    QSpinBox* m_slant;
    QButtonGroup* m_after;
    QPlainTextEdit* m_memo;
};

}  // namespace pictra::ui
