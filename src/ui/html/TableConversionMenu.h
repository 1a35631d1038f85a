#pragma once

#include <QKeySequence>
#include <QString>
#include <functional>

class QAction;
class QMenu;

namespace pictra::ui {

class MainWindow;

// A menu item with its object name, calling `command`.
QAction* addItem(MainWindow& window, QMenu* menu, const char* name, const QString& text, std::function<void()> command,
                 const QKeySequence& key = {});
// "Ausgewählte Tabellen und Listen umwandel" in the "HTML" menu.
void addTableConversionMenu(MainWindow& window, QMenu* html);
// The "<br>" and "&nbsp;" line prefixes of "Ausgewähltes passend für HTML machen ...".
void addLinePrefixItems(MainWindow& window, QMenu* fit);
// "Export/Import" in the "Bearbeiten" menu.
void addExportImportMenu(MainWindow& window, QMenu* edit);
// The CSV page and the wiki table of the current document.
void csvToHtmlPage(MainWindow& window);
void wikiTableFromSelection(MainWindow& window);
// Star table to HTML table (`toHtml`) or back on the current selection; the menu confirms first.
void convertSelectedTable(MainWindow& window, bool toHtml, bool confirm);

}  // namespace pictra::ui
