#pragma once

#include <QMenu>
#include <vector>

#include "shell/Documents.h"

class QBoxLayout;

namespace pictra::ui {

// The right-click document menu, rebuilt for every click: one entry per
// document and "spezieller Dateienexplorer", laid out in columns of 30.
class DocumentMenu : public QMenu {
    Q_OBJECT
public:
    DocumentMenu(const std::vector<documents::MenuEntry>& entries, QWidget* parent = nullptr);

    int columnCount() const { return m_columns; }
    // Chooses entry `index` as a click would.
    void choose(int index);

signals:
    // The index of the chosen entry; the last index is the explorer entry.
    void chosen(int index);
    void hintShown(const QString& hint);

private:
    int m_columns = 0;
};

}  // namespace pictra::ui
