#include "DocumentMenu.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidgetAction>

#include "common/UiText.h"

namespace pictra::ui {

namespace {

// A menu entry that reports its hint while the mouse is over it.
class EntryButton : public QPushButton {
public:
    EntryButton(const QString& text, QString hint, QWidget* parent, std::function<void(const QString&)> onHover)
        : QPushButton(text, parent), m_hint(std::move(hint)), m_onHover(std::move(onHover)) {
        setFlat(true);
        setFocusPolicy(Qt::NoFocus);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setStyleSheet(
            "QPushButton { text-align: left; padding: 3px 14px; border: none; }"
            "QPushButton:hover { background: palette(highlight); color: palette(highlighted-text); }");
    }

protected:
    void enterEvent(QEnterEvent* event) override {
        QPushButton::enterEvent(event);
        m_onHover(m_hint);
    }

private:
    QString m_hint;
    std::function<void(const QString&)> m_onHover;
};

}  // namespace

DocumentMenu::DocumentMenu(const std::vector<documents::MenuEntry>& entries, QWidget* parent) : QMenu(parent) {
    setObjectName("PopupMenuDokumente");
    auto* panel = new QWidget(this);
    auto* columns = new QHBoxLayout(panel);
    columns->setContentsMargins(2, 2, 2, 2);
    columns->setSpacing(4);
    QVBoxLayout* column = nullptr;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!column || entries[i].startsColumn) {
            column = new QVBoxLayout;
            column->setSpacing(0);
            columns->addLayout(column);
            ++m_columns;
        }
        // Automatic hot keys are off: "&" in a file name stays a character.
        QString text = q(entries[i].caption);
        text.replace("&", "&&");
        auto* entry = new EntryButton(text, q(entries[i].hint), panel, [this](const QString& h) { emit hintShown(h); });
        entry->setObjectName(QString("Eintrag%1").arg(i));
        connect(entry, &QPushButton::clicked, this, [this, i] { choose(static_cast<int>(i)); });
        column->addWidget(entry);
    }
    for (int c = 0; c < columns->count(); ++c) {
        if (auto* layout = qobject_cast<QVBoxLayout*>(columns->itemAt(c)->layout())) layout->addStretch();
    }
    auto* action = new QWidgetAction(this);
    action->setDefaultWidget(panel);
    addAction(action);
}

void DocumentMenu::choose(int index) {
    close();
    emit chosen(index);
}

}  // namespace pictra::ui
