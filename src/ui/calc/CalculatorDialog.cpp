#include "CalculatorDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "calc/CalculatorLine.h"
#include "calc/Evaluator.h"
#include "common/Dialogs.h"
#include "common/Placement.h"
#include "common/UiText.h"

namespace pictra::ui {

namespace {
QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}
}  // namespace

CalculatorDialog::CalculatorDialog(Dialogs& dialogs, QWidget* parent) : QDialog(parent), m_dialogs(dialogs) {
    setObjectName("FormRechner");
    setWindowTitle("Geben Sie einen Rechenausdruck ein");
    setModal(false);
    auto* outer = new QVBoxLayout(this);
    m_panel = new QWidget(this);
    auto* form = new QFormLayout(m_panel);
    m_input = new QLineEdit(m_panel);
    m_input->setObjectName("Edit1");
    QFont fixed("Courier New", 11);
    fixed.setStyleHint(QFont::TypeWriter);
    m_input->setFont(fixed);
    m_result = new QLineEdit(m_panel);
    m_result->setObjectName("Edit2");
    m_result->setReadOnly(true);
    form->addRow("Rechenausdruck", m_input);
    form->addRow("Ergebnis", m_result);
    auto* buttons = new QHBoxLayout;
    auto* close = button(m_panel, "Button1", "Schließen");
    auto* calc = button(m_panel, "Button2", "Rechne");
    m_logButton = button(m_panel, "Button3", "Logdatei");
    auto* help = button(m_panel, "Button5", "?");
    auto* top = button(m_panel, "Button4", "Immer sichtbar");
    for (QPushButton* b : {calc, m_logButton, help, top, close}) buttons->addWidget(b);
    form->addRow(buttons);
    outer->addWidget(m_panel);
    m_log = new QPlainTextEdit(this);
    m_log->setObjectName("Memo1");
    m_log->setFont(fixed);
    m_log->hide();
    outer->addWidget(m_log, 1);
    connect(m_input, &QLineEdit::textChanged, this, &CalculatorDialog::updateLiveResult);
    connect(m_input, &QLineEdit::returnPressed, this, &CalculatorDialog::calculate);
    connect(calc, &QPushButton::clicked, this, &CalculatorDialog::calculate);
    connect(m_logButton, &QPushButton::clicked, this, &CalculatorDialog::toggleLog);
    connect(help, &QPushButton::clicked, this, &CalculatorDialog::showHelp);
    connect(top, &QPushButton::clicked, this, &CalculatorDialog::keepOnTop);
    connect(close, &QPushButton::clicked, this, &CalculatorDialog::closeDialog);
    resize(520, sizeHint().height());
}

void CalculatorDialog::updateLiveResult() {
    const QString input = m_input->text();
    if (input.isEmpty() || !input.back().isDigit()) {
        m_result->clear();
        return;
    }
    try {
        m_result->setText(fromCp1252(calc::FormatNumber(calc::EvaluateExpression(toCp1252(input)), calc::kResultPattern)));
    } catch (const calc::EvaluationError&) {
        m_result->clear();
    }
}

void CalculatorDialog::calculate() {
    calc::Value x = 0;
    try {
        x = calc::EvaluateExpression(toCp1252(m_input->text()));
    } catch (const calc::EvaluationError&) {
        m_dialogs.inform(calc::kMsgBadExpression);
        return;
    }
    m_result->setText(fromCp1252(calc::FormatNumber(x, calc::kResultPattern) + calc::FractionSuffix(x)));
    const QString entry = m_input->text() + " = " + m_result->text();
    if (!m_log->toPlainText().contains(entry)) m_log->appendPlainText(entry);
}

void CalculatorDialog::setLogOpen(bool open) {
    m_logOpen = open;
    m_log->setVisible(open);
    m_logButton->setText(open ? "Minimal" : "Logdatei");
    if (open) {
        resizeOnScreen(this, QSize(width(), m_panel->sizeHint().height() + 400 + 30));
        return;
    }
    // "Minimal": no empty grey area where the log was.
    layout()->activate();
    resize(width(), minimumSizeHint().height());
}

void CalculatorDialog::toggleLog() { setLogOpen(!m_logOpen); }

void CalculatorDialog::showHelp() {
    if (!m_logOpen) setLogOpen(true);
    if (width() < 600) resizeOnScreen(this, QSize(700, height()));
    m_log->moveCursor(QTextCursor::End);
    QString help = q(calc::kDialogHelp);
    help.replace("\r\n", "\n");
    // The help begins on a line of its own, not behind the last result.
    if (!m_log->toPlainText().isEmpty() && !m_log->toPlainText().endsWith('\n')) help.prepend('\n');
    m_log->insertPlainText(help);
}

void CalculatorDialog::keepOnTop() {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    show();
}

void CalculatorDialog::closeDialog() {
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    hide();
}

}  // namespace pictra::ui
