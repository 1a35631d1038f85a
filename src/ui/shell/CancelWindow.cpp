#include "CancelWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pictra::ui {

CancelWindow::CancelWindow(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("Form14abbrechen");
    setWindowTitle("Abbrechen?");
    auto* layout = new QVBoxLayout(this);
    auto* big = new QLabel("Abbrechen", this);
    big->setObjectName("Lgross");
    QFont font = big->font();
    font.setPointSize(font.pointSize() + 8);
    font.setBold(true);
    big->setFont(font);
    auto* patience = new QLabel("Bitte etwas Geduld", this);
    patience->setObjectName("Label1");
    m_text = new QLabel(this);
    m_text->setObjectName("LText");
    m_text->setMinimumWidth(320);
    auto* button = new QPushButton("Abbrechen", this);
    button->setObjectName("BAbbrechen");
    connect(button, &QPushButton::clicked, this, [this] { m_clicked = true; });
    layout->addWidget(big);
    layout->addWidget(patience);
    layout->addWidget(m_text);
    layout->addWidget(button);
}

void CancelWindow::begin(const QString& text) {
    m_clicked = false;
    m_text->setText(text);
    show();
    raise();
    QApplication::processEvents();
}

bool CancelWindow::step(const QString& text) {
    if (m_text->text() != text) m_text->setText(text);
    QApplication::processEvents();
    return m_clicked;
}

void CancelWindow::end() { hide(); }

void CancelWindow::mousePressEvent(QMouseEvent* event) {
    m_clicked = true;
    QWidget::mousePressEvent(event);
}

// Closing the window counts as the wish to stop; it stays until the operation ends.
void CancelWindow::closeEvent(QCloseEvent* event) {
    m_clicked = true;
    event->ignore();
}

}  // namespace pictra::ui
