#include "SizePanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "common/UiText.h"

namespace pictra::ui {

namespace v = pictures::viewer;

SizePanel::SizePanel(QWidget* parent, Actions actions) : QFrame(parent), m_actions(std::move(actions)) {
    setObjectName("Pgross");
    setFrameShape(QFrame::Panel);
    setAutoFillBackground(true);
    auto* grid = new QGridLayout(this);
    m_caption = new QLabel(this);
    m_caption->setObjectName("Lgross");
    m_width = new QSpinBox(this);
    m_width->setObjectName("SpinEdit1");
    m_height = new QSpinBox(this);
    m_height->setObjectName("SpinEdit2");
    for (QSpinBox* box : {m_width, m_height}) box->setRange(1, 100000);
    m_percent = new QLineEdit(this);
    m_percent->setObjectName("Eprozent");
    grid->addWidget(m_caption, 0, 0, 1, 4);
    grid->addWidget(m_width, 1, 0);
    grid->addWidget(m_height, 1, 1);
    grid->addWidget(m_percent, 1, 2);
    grid->addWidget(new QLabel("%", this), 1, 3);
    const auto button = [this, grid](const char* name, const QString& text, int column, std::function<void()> act) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        grid->addWidget(b, 2, column);
        connect(b, &QPushButton::clicked, this, [act = std::move(act)] { act(); });
    };
    button("BZeigen", "Zeigen", 0, [this] {
        if (m_actions.show) m_actions.show(chosen());
    });
    button("BSoAbspeichern", "So abspeichern", 1, [this] {
        hide();
        if (m_actions.saveSo) m_actions.saveSo(chosen());
    });
    button("BAbbrechen", "Abbrechen", 2, [this] { hide(); });
    // The panel covers the picture's top left: ">" moves it to the right edge and back.
    button("BVerschieben", ">", 3, [this] {
        auto* b = findChild<QPushButton*>("BVerschieben");
        const bool toRight = b->text() == ">";
        move(toRight && parentWidget() ? std::max(0, parentWidget()->width() - width()) : 0, 0);
        b->setText(toRight ? "<" : ">");
    });
    connect(m_width, &QSpinBox::valueChanged, this, [this](int w) {
        if (!m_updating) apply(v::fromWidth(m_source, w), m_width);
    });
    connect(m_height, &QSpinBox::valueChanged, this, [this](int h) {
        if (!m_updating) apply(v::fromHeight(m_source, h), m_height);
    });
    connect(m_percent, &QLineEdit::textEdited, this, [this](const QString& text) {
        bool ok = false;
        const double percent = QString(text).replace(',', '.').toDouble(&ok);
        if (ok && percent > 0) apply(v::fromPercent(m_source, percent), m_percent);
    });
    hide();
}

void SizePanel::open(v::Size source, v::Size display) {
    m_source = source;
    m_caption->setText(q(v::sizeCaption(source)));
    apply(v::fromWidth(source, display.width), nullptr);
    findChild<QPushButton*>("BVerschieben")->setText(">");
    adjustSize();
    move(0, 0);
    show();
    raise();
}

// The fields other than the one being edited follow.
void SizePanel::apply(const v::PanelSize& size, QWidget* edited) {
    m_updating = true;
    if (edited != m_width) m_width->setValue(std::max(1, size.width));
    if (edited != m_height) m_height->setValue(std::max(1, size.height));
    if (edited != m_percent) m_percent->setText(q(size.percent));
    m_updating = false;
}

v::Size SizePanel::chosen() const { return {m_width->value(), m_height->value()}; }

}  // namespace pictra::ui
