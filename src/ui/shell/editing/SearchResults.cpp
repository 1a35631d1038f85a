#include "SearchResults.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Placement.h"

namespace pictra::ui {

SearchResults::SearchResults(Hooks hooks, QWidget* parent) : QDialog(parent, Qt::Window), m_hooks(std::move(hooks)) {
    setObjectName("Form4");
    setWindowTitle("Ergebnis Suche");
    auto* layout = new QVBoxLayout(this);
    m_list = new QPlainTextEdit;
    m_list->setObjectName("Memo1");
    m_list->setReadOnly(true);
    m_list->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_list->setFont(QFont("Courier New", 10));
    layout->addWidget(m_list, 1);
    auto* row = new QHBoxLayout;
    m_term = new QLineEdit;
    m_term->setObjectName("Edit1");
    row->addWidget(m_term, 1);
    const auto add = [&](const char* name, const QString& text) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        row->addWidget(b);
        return b;
    };
    connect(add("BSchliessen", "Schließen"), &QPushButton::clicked, this, &QDialog::close);
    connect(add("BAllesDurchsuchen", "Alles durchsuchen"), &QPushButton::clicked, this,
            [this] { m_hooks.searchAll(m_term->text()); });
    connect(add("BDateiDurchsuchen", "Datei durchsuchen"), &QPushButton::clicked, this,
            [this] { m_hooks.searchOne(m_term->text()); });
    auto* onTop = new QCheckBox("Fenster immer im Vordergrund");
    onTop->setObjectName("CBVordergrund");
    connect(onTop, &QCheckBox::toggled, this, [this](bool on) {
        setWindowFlag(Qt::WindowStaysOnTopHint, on);
        show();
    });
    row->addWidget(onTop);
    layout->addLayout(row);
    resizeOnScreen(this, QSize(700, 400));
}

void SearchResults::setTerm(const QString& term) { m_term->setText(term); }

QString SearchResults::term() const { return m_term->text(); }

void SearchResults::clearResults() { m_list->clear(); }

void SearchResults::addResult(const QString& line) { m_list->appendPlainText(line); }

}  // namespace pictra::ui
