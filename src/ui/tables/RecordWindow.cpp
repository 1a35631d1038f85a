#include "RecordWindow.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "common/Placement.h"
#include "common/UiText.h"

namespace pictra::ui {

RecordWindow::RecordWindow(tables::Sheet& sheet, QWidget* parent) : QDialog(parent), m_sheet(sheet) {
    setObjectName("TForm19taba");
    setWindowTitle("Datensatz ausführlich");
    auto* layout = new QVBoxLayout(this);
    auto* area = new QScrollArea;
    auto* inner = new QWidget;
    auto* form = new QFormLayout(inner);
    for (int f = 1; f <= m_sheet.columns(); ++f) {
        auto* field = new QLineEdit;
        field->setObjectName(QString("EFeld%1").arg(f));
        form->addRow(fromCp1252(m_sheet.cell(0, f)) + QString(" (%1)").arg(f), field);
        m_fields.push_back(field);
    }
    area->setWidget(inner);
    area->setWidgetResizable(true);
    layout->addWidget(area, 1);
    m_position = new QLabel;
    layout->addWidget(m_position);
    auto* buttons = new QHBoxLayout;
    const struct {
        const char* name;
        const char* text;
        int step;
    } moves[] = {{"BErster", "|<", -1000000000}, {"BVoriger", "<", -1}, {"BNaechster", ">", 1}, {"BLetzter", ">|", 1000000000}};
    for (const auto& m : moves) {
        auto* button = new QPushButton(m.text);
        button->setObjectName(m.name);
        connect(button, &QPushButton::clicked, this, [this, step = m.step] { showRecord(m_row + step); });
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(this, &QDialog::finished, this, [this] { keep(); });
    resizeOnScreen(this, QSize(500, 400));
    showRecord(1);
}

void RecordWindow::keep() {
    if (m_row < 1 || m_row >= m_sheet.recordEnd()) return;
    for (int f = 1; f <= m_sheet.columns(); ++f) {
        const std::string value = toCp1252Referenced(m_fields[static_cast<size_t>(f - 1)]->text());
        if (value != m_sheet.cell(m_row, f)) {
            m_sheet.cell(m_row, f) = value;
            m_changed = true;
        }
    }
}

void RecordWindow::showRecord(int row) {
    keep();
    m_row = std::clamp(row, 1, std::max(1, m_sheet.recordEnd() - 1));
    if (m_row >= m_sheet.recordEnd()) return;
    for (int f = 1; f <= m_sheet.columns(); ++f) m_fields[static_cast<size_t>(f - 1)]->setText(fromCp1252(m_sheet.cell(m_row, f)));
    m_position->setText(QString("Datensatz %1 von %2").arg(m_row).arg(m_sheet.recordEnd() - 1));
}

}  // namespace pictra::ui
