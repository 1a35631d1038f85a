#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace pictra {
class Dialogs;
}

namespace pictra::ui {

// "Geben Sie einen Rechenausdruck ein": input, live result, fraction and a log
// that lasts for the run.
class CalculatorDialog : public QDialog {
    Q_OBJECT
public:
    CalculatorDialog(Dialogs& dialogs, QWidget* parent = nullptr);

    void calculate();
    void toggleLog();
    void showHelp();
    void keepOnTop();
    void closeDialog();

    QLineEdit* input() const { return m_input; }
    QLineEdit* result() const { return m_result; }
    QPlainTextEdit* log() const { return m_log; }
    bool logOpen() const { return m_logOpen; }

private:
    void updateLiveResult();
    void setLogOpen(bool open);

    Dialogs& m_dialogs;
    QWidget* m_panel = nullptr;
    QLineEdit* m_input = nullptr;
    QLineEdit* m_result = nullptr;
    QPlainTextEdit* m_log = nullptr;
    QPushButton* m_logButton = nullptr;
    bool m_logOpen = false;
};

}  // namespace pictra::ui
