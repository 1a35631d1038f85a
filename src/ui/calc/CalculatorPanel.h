#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "calc/CalculatorLine.h"

class QLabel;
class QLineEdit;

namespace pictra {
class Dialogs;
class EditorView;
}  // namespace pictra

namespace pictra::ui {

// `PRechnen`, the calculator line at the top of the main window.
class CalculatorPanel : public QWidget {
    Q_OBJECT
public:
    CalculatorPanel(Dialogs& dialogs, QWidget* parent = nullptr);

    // The editor the steps work on.
    void setEditorProvider(std::function<std::unique_ptr<EditorView>()> provider) { m_editor = std::move(provider); }

    void step(int sign);
    void complete();
    void resetSum();
    void insertSum();
    const calc::CalculatorLine& state() const { return m_line; }

private:
    void refresh();

    Dialogs& m_dialogs;
    std::function<std::unique_ptr<EditorView>()> m_editor;
    calc::CalculatorLine m_line;
    QLineEdit* m_value = nullptr;
    QLineEdit* m_sum = nullptr;
    QLineEdit* m_average = nullptr;
    QLabel* m_count = nullptr;
};

}  // namespace pictra::ui
