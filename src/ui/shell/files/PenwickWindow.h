#pragma once

#include <QDialog>

namespace pictra::ui {

// "Bitte warten. bis Penwick fertig ist": waits while the sister program has the text.
class PenwickWindow : public QDialog {
    Q_OBJECT
public:
    explicit PenwickWindow(QWidget* parent = nullptr);
};

}  // namespace pictra::ui
