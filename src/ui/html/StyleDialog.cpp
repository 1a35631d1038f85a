#include "StyleDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "common/UiText.h"

namespace pictra::ui {

namespace {

std::vector<std::string> colourChoices() {
    std::vector<std::string> choices{html::kUnchanged};
    for (const std::string& row : html::colourTable()) choices.push_back(html::wordOf(row, 1));
    return choices;
}

QCheckBox* check(const char* name, const QString& text, bool grey = false) {
    auto* box = new QCheckBox(text);
    box->setObjectName(name);
    if (grey) box->setStyleSheet("background-color: #d0d0d0;");
    return box;
}

}  // namespace

QGroupBox* StyleDialog::group(const char* name, const QString& title, const std::vector<std::string>& choices,
                              QButtonGroup*& buttons, int perColumn) {
    auto* box = new QGroupBox(title);
    box->setObjectName(name);
    auto* layout = new QGridLayout(box);
    layout->setVerticalSpacing(0);
    buttons = new QButtonGroup(box);
    for (size_t i = 0; i < choices.size(); ++i) {
        auto* radio = new QRadioButton(q(choices[i]));
        buttons->addButton(radio, static_cast<int>(i));
        layout->addWidget(radio, static_cast<int>(i) % perColumn, static_cast<int>(i) / perColumn);
    }
    buttons->button(0)->setChecked(true);
    return box;
}

StyleDialog::StyleDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("Form2Font");
    setWindowTitle("Schrift und Farbe auswählen");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("(Die grau unterlegten Felder müssen stets neu aktiviert werden)"));
    // Two rows of groups, so that the whole dialog fits a screen of 1024 x 768.
    auto* groups = new QHBoxLayout;
    groups->addWidget(group("RadioGroup1", "Schriftgrad", html::sizeChoices(), m_size));
    groups->addWidget(group("RadioGroup2", "Schriftfarbe", colourChoices(), m_colour));
    groups->addWidget(group("RadioGroup5", "Hintergrundfarbe", colourChoices(), m_background));
    auto* right = new QVBoxLayout;
    QGroupBox* alignment = group("RadioGroup6", "Ausrichtung", html::alignmentChoices(), m_alignment);
    alignment->setStyleSheet("QGroupBox { background-color: #d0d0d0; }");
    right->addWidget(alignment);
    m_elementBox = group("RadioGroup7", "", {"<div>", "<span)", "(ohne)"}, m_element);
    m_element->button(1)->setChecked(true);
    right->addWidget(m_elementBox);
    m_left = check("CheckBox_linkerRand", "linker Rand 3%", true);
    m_right = check("CB_rechterRand", "Rechter Rand 3%", true);
    m_frame = check("CB_rahmen", "Umrahmen", true);
    m_bold = check("CBfett", "fett");
    m_italic = check("CBschraeg", "schräg");
    for (QCheckBox* box : {m_left, m_right, m_frame, m_bold, m_italic}) right->addWidget(box);
    right->addStretch();
    groups->addLayout(right);
    layout->addLayout(groups);
    auto* second = new QHBoxLayout;
    second->addWidget(group("RadioGroup3", "Schriftart", html::familyChoices(), m_family, 6));
    m_sample = new QTextBrowser;
    m_sample->setObjectName("WebBrowser1");
    m_sample->setMinimumSize(160, 120);
    second->addWidget(m_sample, 1);
    layout->addLayout(second);
    m_colourRow = new QComboBox;
    m_colourRow->setObjectName("ComboBox0");
    m_colourRow->addItem("Farbwert anzeigen");
    for (const std::string& row : html::colourTable()) m_colourRow->addItem(q(row));
    layout->addWidget(m_colourRow);
    auto* buttons = new QHBoxLayout;
    const auto add = [&](const char* name, const QString& text) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        buttons->addWidget(b);
        return b;
    };
    connect(add("BOK", "OK"), &QPushButton::clicked, this, [this] {
        m_outcome = Outcome::Replace;
        accept();
    });
    connect(add("BAbbruch", "Abbruch"), &QPushButton::clicked, this, &QDialog::reject);
    connect(add("BWurzel", "\"sqrt(2)\" einfügen"), &QPushButton::clicked, this, [this] {
        m_outcome = Outcome::Insert;
        m_insertion = html::sqrtTwoText();
        accept();
    });
    connect(add("BStyle", "\"<style> ... </style>\" einfügen"), &QPushButton::clicked, this, [this] {
        m_outcome = Outcome::Insert;
        m_insertion = html::styleBlockText();
        accept();
    });
    layout->addLayout(buttons);
    for (QButtonGroup* g : {m_size, m_colour, m_family, m_background, m_element}) {
        connect(g, &QButtonGroup::idClicked, this, [this] { updatePreview(); });
    }
    updatePreview();
}

QString StyleDialog::chosen(QButtonGroup* buttons) const { return buttons->checkedButton()->text(); }

html::StyleChoice StyleDialog::choice() const {
    html::StyleChoice c;
    c.size = u(chosen(m_size));
    c.colour = u(chosen(m_colour));
    c.family = u(chosen(m_family));
    c.background = u(chosen(m_background));
    c.alignment = u(chosen(m_alignment));
    const int element = m_element->checkedId();
    c.element = element == 0 ? html::Element::Div : element == 1 ? html::Element::Span : html::Element::None;
    c.leftMargin = m_left->isChecked();
    c.rightMargin = m_right->isChecked();
    c.frame = m_frame->isChecked();
    c.bold = m_bold->isChecked();
    return c;
}

void StyleDialog::updatePreview() {
    const html::StyleChoice c = choice();
    for (const std::string& row : html::colourTable()) {
        if (html::wordOf(row, 1) == c.colour) m_colourRow->setCurrentText(q(row));
    }
    const QString background = c.background == html::kUnchanged ? "#FFFFFF" : q(html::colourValue(c.background));
    const QString colour = c.colour == html::kUnchanged ? "#000000" : q(html::colourValue(c.colour));
    const QString family = c.family == html::kUnchanged ? QString() : "font-family:" + q(c.family) + ";";
    QString letters;
    for (char l = 'A'; l <= 'Z'; ++l) letters += QString("%1%2<br>").arg(QChar(l)).arg(QChar(l + 32));
    m_sample->setHtml(QString("<body style=\"background-color:%1\"><div style=\"%2 font-size:2em; font-weight:bold; "
                              "color:%3\">%4</div></body>")
                          .arg(background, family, colour, letters));
    m_elementBox->setStyleSheet(m_element->checkedId() == 0 ? "QRadioButton { color: red; }" : "");
}

StyleDialog::Result StyleDialog::chooseStyle(const std::string& text) {
    m_frame->setChecked(false);
    m_left->setChecked(false);
    m_right->setChecked(false);
    m_alignment->button(0)->setChecked(true);
    m_outcome = Outcome::Cancelled;
    exec();
    switch (m_outcome) {
    case Outcome::Replace: return {Outcome::Replace, html::applyStyle(choice(), text)};
    case Outcome::Insert: return {Outcome::Insert, m_insertion};
    case Outcome::Cancelled: break;
    }
    return {Outcome::Cancelled, text};
}

}  // namespace pictra::ui
