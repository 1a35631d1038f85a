#include "SearchBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/UiText.h"

namespace pictra::ui {

namespace {

QPushButton* button(QHBoxLayout* row, const char* name, const QString& text, const QString& hint) {
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::NoFocus);
    row->addWidget(b);
    return b;
}

}  // namespace

SearchBarWidget::SearchBarWidget(Hooks hooks, QWidget* parent) : QWidget(parent), m_hooks(std::move(hooks)) {
    setObjectName("Psuchen");
    // The row never widens its window past a small screen: on a narrow one its
    // last check boxes are cut off instead.
    setSizePolicy(QSizePolicy::Ignored, sizePolicy().verticalPolicy());
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 1, 2, 1);
    auto* close = button(row, "BSuchenfensterFeg", "X", {});
    close->setStyleSheet("color: red; font-weight: bold;");
    connect(close, &QPushButton::clicked, this, [this] {
        m_hooks.resetFont();
        hide();
    });
    row->addWidget(new QLabel("Suchen"));
    m_combo = new QComboBox;
    m_combo->setObjectName("CBSuchen");
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->setFont(QFont("Courier New", 10));
    m_combo->setMinimumWidth(220);
    // The combo keeps the focus itself and hands keys to its line edit directly, so both are watched.
    m_combo->installEventFilter(this);
    m_combo->lineEdit()->installEventFilter(this);
    setComboColour(true);
    row->addWidget(m_combo, 1);

    m_buttons = new QWidget;
    m_buttons->setObjectName("PKnoepfe");
    auto* buttons = new QHBoxLayout(m_buttons);
    buttons->setContentsMargins(0, 0, 0, 0);
    connect(button(buttons, "Bfirst", "<<", "Sucht erstes Vorkommen"), &QPushButton::clicked, this,
            &SearchBarWidget::first);
    connect(button(buttons, "Babwaerts", "> F3", "Suche nächstes Vorkommen   F3"), &QPushButton::clicked, this,
            &SearchBarWidget::next);
    connect(button(buttons, "BAufwaerts", "<", "Suche vorhergehendes Vorkommen"), &QPushButton::clicked, this,
            &SearchBarWidget::previous);
    connect(button(buttons, "BSuchelast", ">>", "Sucht letztes Vorkommen"), &QPushButton::clicked, this,
            &SearchBarWidget::last);
    row->addWidget(m_buttons);

    m_big = new QCheckBox("Treffer groß schreiben");
    m_big->setObjectName("CbGross");
    connect(m_big, &QCheckBox::toggled, this, [this] { m_hooks.focusEditor(); });
    row->addWidget(m_big);

    m_replacePanel = new QWidget;
    m_replacePanel->setObjectName("Persetze");
    auto* replaceRow = new QHBoxLayout(m_replacePanel);
    replaceRow->setContentsMargins(0, 0, 0, 0);
    connect(button(replaceRow, "Bersetzte", "Ersetzte durch", {}), &QPushButton::clicked, this,
            &SearchBarWidget::replaceNext);
    m_replace = new QLineEdit;
    m_replace->setObjectName("Eersetze");
    replaceRow->addWidget(m_replace);
    // Enter replaces and keeps the focus in the field.
    connect(m_replace, &QLineEdit::returnPressed, this, &SearchBarWidget::replaceNext);
    row->addWidget(m_replacePanel);

    m_matchCase = new QCheckBox("Großschreibung berücks.");
    m_matchCase->setObjectName("CBberuecksichtigeGrossschr");
    row->addWidget(m_matchCase);
    hide();
}

std::string SearchBarWidget::term() const { return toCp1252Referenced(m_combo->currentText()); }

std::string SearchBarWidget::replacement() const { return toCp1252Referenced(m_replace->text()); }

bool SearchBarWidget::matchCase() const { return m_matchCase->isChecked(); }

void SearchBarWidget::setMatchCase(bool on) { m_matchCase->setChecked(on); }

bool SearchBarWidget::bigHits() const { return m_big->isChecked(); }

void SearchBarWidget::showBar(bool replacePanel) {
    m_replacePanel->setVisible(replacePanel);
    m_buttons->setVisible(!replacePanel);
    show();
    m_combo->lineEdit()->selectAll();
    m_combo->setFocus();
    if (replacePanel && m_combo->currentText().isEmpty()) setComboColour(true);
}

void SearchBarWidget::termSearched() {
    setComboColour(false);
    const QString t = m_combo->currentText();
    if (m_combo->findText(t, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) m_combo->addItem(t);
}

void SearchBarWidget::setTerm(const QString& term) { m_combo->setCurrentText(term); }

void SearchBarWidget::setHistory(const std::vector<std::string>& history) {
    m_combo->clear();
    for (const auto& t : history) m_combo->addItem(fromCp1252(t));
    m_combo->setCurrentText({});
}

void SearchBarWidget::setComboColour(bool red) {
    m_combo->setStyleSheet(red ? "QComboBox { background-color: red; }" : "QComboBox { background-color: white; }");
}

bool SearchBarWidget::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_combo || watched == m_combo->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            hide();
            m_hooks.statusBar();
            m_hooks.focusEditor();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (m_replacePanel->isVisible()) {
                m_replace->setFocus();
            } else {
                emit first();
                m_hooks.focusEditor();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pictra::ui
