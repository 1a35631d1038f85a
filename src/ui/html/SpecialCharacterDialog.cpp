#include "SpecialCharacterDialog.h"

#include <QScrollBar>

#include <QApplication>
#include <QDate>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "common/Placement.h"
#include "common/UiText.h"
#include "tools/Tones.h"

namespace pictra::ui {

std::string todayShortDate() { return u(QDate::currentDate().toString("dd.MM.yyyy")); }

SpecialCharacterDialog::SpecialCharacterDialog(Tones& tones, QWidget* parent) : QDialog(parent), m_tones(tones) {
    setObjectName("FormSonderzeichen");
    setWindowTitle("HTM- Sonderzeichen");
    auto* layout = new QVBoxLayout(this);
    m_grid = new QTableWidget(this);
    m_grid->setObjectName("StringGrid1");
    m_grid->setColumnCount(3);
    m_grid->setHorizontalHeaderLabels({"Taste", "HTML", "Bemerkung"});
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 4);
    m_grid->setWordWrap(false);
    m_grid->installEventFilter(this);
    layout->addWidget(m_grid);
    resizeOnScreen(this, QSize(620, 700));
}

void SpecialCharacterDialog::fill() {
    const auto rows = special::rows(todayShortDate());
    m_grid->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const auto& row = rows[static_cast<size_t>(i)];
        const bool heading = row.key == '_';
        m_grid->setItem(i, 0, new QTableWidgetItem(fromCp1252(std::string(1, row.key))));
        m_grid->setItem(i, 1, new QTableWidgetItem(fromCp1252(row.snippet)));
        m_grid->setItem(i, 2, new QTableWidgetItem(q(row.remark)));
        if (heading) {
            for (int c = 0; c < 3; ++c) {
                QFont f = m_grid->item(i, c)->font();
                f.setBold(true);
                m_grid->item(i, c)->setFont(f);
            }
        }
    }
    m_grid->resizeColumnsToContents();
    // The long table snippet would push the remarks out of sight.
    m_grid->setColumnWidth(1, std::min(m_grid->columnWidth(1), 160));
    // Wide enough for every remark and heading, as far as the screen allows.
    int width = 40 + m_grid->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < 3; ++c) width += m_grid->columnWidth(c);
    resizeOnScreen(this, QSize(width, height()));
}

special::Result SpecialCharacterDialog::choose(const std::string& selection) {
    m_selection = selection;
    m_result = {special::Outcome::Cancel, {}};
    fill();
    // At the right edge of the screen.
    const QRect s = availableArea(this);
    const QSize frame = frameGeometry().size();
    placeFrame(this, QRect(s.right() + 1 - frame.width(), s.top(), frame.width(), frame.height()));
    m_grid->setFocus();
    exec();
    return m_result;
}

void SpecialCharacterDialog::pressKey(char key) {
    const special::Result result = special::pressKey(key, m_selection, todayShortDate());
    switch (result.outcome) {
        case special::Outcome::Ignored:
            return;
        case special::Outcome::Unknown:
            m_tones.errorTone();
            return;
        default:
            m_result = result;
            accept();
    }
}

bool SpecialCharacterDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            pressKey(27);
            return true;
        }
        if (key->key() == Qt::Key_Tab) {
            pressKey(9);
            return true;
        }
        const std::string typed = toCp1252(key->text());
        if (typed.size() == 1) {
            pressKey(typed[0]);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace pictra::ui
