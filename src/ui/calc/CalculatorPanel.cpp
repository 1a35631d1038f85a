#include "CalculatorPanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "common/Dialogs.h"
#include "shell/EditorView.h"
#include "common/FlowLayout.h"
#include "common/UiText.h"

namespace pictra::ui {

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
    b->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    return b;
}

QLineEdit* field(QWidget* parent, const char* name, int width) {
    auto* f = new QLineEdit(parent);
    f->setObjectName(name);
    f->setReadOnly(true);
    f->setFixedWidth(width);
    f->setFocusPolicy(Qt::NoFocus);
    return f;
}

// A label that reacts to a click.
class ClickLabel : public QLabel {
public:
    ClickLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
        : QLabel(text, parent), m_onClick(std::move(onClick)) {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mousePressEvent(QMouseEvent*) override { m_onClick(); }

private:
    std::function<void()> m_onClick;
};

}  // namespace

CalculatorPanel::CalculatorPanel(Dialogs& dialogs, QWidget* parent) : QWidget(parent), m_dialogs(dialogs) {
    setObjectName("PRechnen");
    // The controls wrap into further rows where the window is narrow.
    auto* row = new FlowLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    auto* close = button(this, "BRechnenClose", "X");
    close->setStyleSheet("color: red; font-weight: bold;");
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    auto* help = button(this, "Button6", "?");
    connect(help, &QPushButton::clicked, this,
            [this] { m_dialogs.showText("Wie kann man im Text Rechnungen durchführen?", calc::kStepHelp); });
    auto* plus = button(this, "BRechnenplus", "+ (F4)");
    connect(plus, &QPushButton::clicked, this, [this] { step(+1); });
    auto* minus = button(this, "BRechneminus", "- (F5)");
    connect(minus, &QPushButton::clicked, this, [this] { step(-1); });
    auto* clear = button(this, "BRechnenloeschen", "Löschen");
    connect(clear, &QPushButton::clicked, this, &CalculatorPanel::resetSum);
    m_value = field(this, "ERechnendazu", 110);
    m_sum = field(this, "ERechnenSummeerlauf", 110);
    auto* insert = button(this, "BRechneneinfuegen", "Einfügen");
    connect(insert, &QPushButton::clicked, this, &CalculatorPanel::insertSum);
    m_average = field(this, "EDu", 70);
    m_count = new QLabel("0", this);
    m_count->setObjectName("Ldu");
    auto* f6 = button(this, "B_f6", "Rechenausdruck vor Cursor berechnen (F6)");
    connect(f6, &QPushButton::clicked, this, &CalculatorPanel::complete);
    auto* f6help = button(this, "Button1", "?");
    connect(f6help, &QPushButton::clicked, this, [this] { m_dialogs.inform(calc::kCompleteHelp); });
    auto* example = new ClickLabel("Beispiel: 12*465,04 =", this, [this] {
        m_dialogs.showText("Beispiel für mögliche Berechnungen", calc::kExampleSheet);
    });
    example->setObjectName("Label4");
    for (QWidget* w : std::initializer_list<QWidget*>{close, help, plus, minus, clear, new QLabel("plus/minus", this),
                                                      m_value, new QLabel("Summe", this), m_sum, insert,
                                                      new QLabel("Durchschnitt", this), m_average, m_count, f6,
                                                      f6help, example}) {
        row->addWidget(w);
    }
    refresh();
}

void CalculatorPanel::refresh() {
    m_value->setText(fromCp1252(m_line.lastValue));
    m_sum->setText(fromCp1252(m_line.sumText));
    m_average->setText(fromCp1252(m_line.averageText));
    m_count->setText(q(m_line.countText));
}

void CalculatorPanel::step(int sign) {
    if (!m_editor) return;
    auto view = m_editor();
    calc::addFromText(m_line, *view, sign);
    refresh();
}

void CalculatorPanel::complete() {
    if (!m_editor) return;
    auto view = m_editor();
    calc::completeSelection(*view);
    view->focus();
}

void CalculatorPanel::resetSum() {
    calc::reset(m_line);
    refresh();
    if (m_editor) m_editor()->focus();
}

void CalculatorPanel::insertSum() {
    if (!m_editor) return;
    auto view = m_editor();
    view->replaceSelection(calc::insertText(m_line));
    view->focus();
}

}  // namespace pictra::ui
