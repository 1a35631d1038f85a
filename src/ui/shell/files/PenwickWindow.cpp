#include "shell/files/PenwickWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pictra::ui {

PenwickWindow::PenwickWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("FormPenwick");
    setWindowTitle("Penwick");
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel("Bitte warten. bis Penwick fertig ist", this);
    QFont font = label->font();
    font.setPointSize(font.pointSize() + 10);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label, 1);
    auto* buttons = new QHBoxLayout;
    auto* proceed = new QPushButton("Weiter mit Pictra", this);
    proceed->setObjectName("BWeiter");
    auto* cancel = new QPushButton("Abbrechen", this);
    cancel->setObjectName("BAbbrechen");
    connect(proceed, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(proceed);
    buttons->addWidget(cancel);
    buttons->addStretch();
    layout->addLayout(buttons);
}

}  // namespace pictra::ui
