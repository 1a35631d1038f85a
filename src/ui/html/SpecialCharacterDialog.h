#pragma once

#include <QDialog>
#include <string>

#include "html/SpecialCharacters.h"

class QTableWidget;

namespace pictra {
class Tones;
}

namespace pictra::ui {

// "HTM- Sonderzeichen": the next key chooses a snippet for the selection.
class SpecialCharacterDialog : public QDialog {
    Q_OBJECT
public:
    SpecialCharacterDialog(Tones& tones, QWidget* parent = nullptr);

    // Shows the dialog modally for this selection; the result of the key pressed.
    special::Result choose(const std::string& selection);
    // One key press, as the grid receives it (also used by the tests).
    void pressKey(char key);

    QTableWidget* grid() const { return m_grid; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill();

    Tones& m_tones;
    QTableWidget* m_grid = nullptr;
    std::string m_selection;
    special::Result m_result;
};

// Today in the German short date format.
std::string todayShortDate();

}  // namespace pictra::ui
