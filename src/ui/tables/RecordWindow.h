#pragma once

#include <QDialog>
#include <vector>

#include "tables/Sheet.h"

class QLabel;
class QLineEdit;

namespace pictra::ui {

// `TForm19taba` ("Datensatz ausführlich"): one record at a time, each field under
// its title, with first/previous/next/last. Changes go straight into the sheet.
class RecordWindow : public QDialog {
    Q_OBJECT
public:
    RecordWindow(tables::Sheet& sheet, QWidget* parent = nullptr);

    void showRecord(int row);
    int record() const { return m_row; }
    bool changed() const { return m_changed; }

private:
    void keep();

    tables::Sheet& m_sheet;
    std::vector<QLineEdit*> m_fields;
    QLabel* m_position = nullptr;
    int m_row = 0;  // no record shown yet: nothing to keep
    bool m_changed = false;
};

}  // namespace pictra::ui
