#pragma once

#include <QDialog>

namespace pictra::ui {

// `Form18StrgA` ("Ausgewähltes"): lists the tools of Ctrl+A; the next key chooses one.
class SelectionToolWindow : public QDialog {
    Q_OBJECT
public:
    explicit SelectionToolWindow(QWidget* parent = nullptr);

    // Shows the window modally; the normalised key, or 0 for Esc.
    char chooseKey();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    char m_key = 0;
};

}  // namespace pictra::ui
