// The table and list conversions and the "Export/Import" converters of the main window.
#include "html/TableConversionMenu.h"

#include <QDate>
#include <QLocale>
#include <QMenu>

#include "common/UiText.h"
#include "html/HtmlRewrites.h"
#include "html/convert/TableCommands.h"
#include "html/convert/TableConversion.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "shell/QtEditorView.h"

namespace pictra::ui {

namespace convert = html::convert;

QAction* addItem(MainWindow& window, QMenu* menu, const char* name, const QString& text, std::function<void()> command,
                 const QKeySequence& key) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    if (!key.isEmpty()) action->setShortcut(key);
    QObject::connect(action, &QAction::triggered, &window, [command = std::move(command)] { command(); });
    return action;
}

namespace {

std::string skeletonDate() { return u(QLocale(QLocale::German).toString(QDate::currentDate(), QLocale::ShortFormat)); }

}  // namespace

void csvToHtmlPage(MainWindow& window) {
    QtEditorView view(*window.currentEditor());
    const std::string text = view.plainText();
    convert::ConversionWindow cancel(window.context().dialogs, text.size());
    const convert::Converted table = convert::csvToTable(text, cancel.keepGoing());
    cancel.close();
    if (!table.text) {
        if (!table.message.empty()) window.context().dialogs.inform(table.message);
        return;
    }
    view.setText(html::embedInSkeleton(*table.text, skeletonDate()));
    const std::string name = window.currentFileName();
    if (name != "?" && !name.empty()) window.setCurrentFileName(convert::htmlFileName(name));
    window.refreshCaption();
}

void wikiTableFromSelection(MainWindow& window) {
    QtEditorView view(*window.currentEditor());
    if (!convert::rewriteSelectedLines(view, window.context().dialogs, convert::wikiTable)) return;
    const std::string name = window.currentFileName();
    if (name != "?" && !name.empty()) window.setCurrentFileName(convert::wikiFileName(name));
    window.refreshCaption();
}

void convertSelectedTable(MainWindow& window, bool toHtml, bool confirm) {
    QtEditorView view(*window.currentEditor());
    Dialogs& dialogs = window.context().dialogs;
    if (toHtml) {
        convert::starTableToHtml(view, dialogs, confirm);
    } else {
        convert::htmlTableToStar(view, dialogs, confirm);
    }
}

void addTableConversionMenu(MainWindow& window, QMenu* html) {
    QMenu* menu = html->addMenu("Ausgewählte Tabellen und Listen umwandel");
    menu->setObjectName("TabellenUndListen1");
    Dialogs& dialogs = window.context().dialogs;
    addItem(window, menu, "SternInHtmlTabelle1", "\"* ...\" -Tablle in \"<table>-Tabelle\" umwandlen      Strg+A+t",
            [&window] { convertSelectedTable(window, true, true); });
    addItem(window, menu, "HtmlInSternTabelle1", "\"<table>-Tabelle\"  in \"*...\"-Tablle umwandlen      Strg+A+h",
            [&window] { convertSelectedTable(window, false, true); });
    addItem(window, menu, "HinweisTabellen1", "Hinweis dazu",
            [&dialogs] { dialogs.showText(convert::kHintTitle, convert::kTableHint); });
    addItem(window, menu, "TabelleUebersichtlich1", "<table>...</table> übersichtlich strukturieren", [&window] {
        QtEditorView view(*window.currentEditor());
        convert::structureTable(view, window.context().dialogs);
    });
    addItem(window, menu, "AusgewaehltesInUl1", "Das Ausgewählte in <ul> <li>...</li></ul> einschließen", [&window] {
        QtEditorView view(*window.currentEditor());
        convert::rewriteSelectedLines(view, window.context().dialogs, convert::wrapInList);
    }, QKeySequence("Ctrl+Alt+L"));
    addItem(window, menu, "HinweisListen1", "Hinweis dazu",
            [&dialogs] { dialogs.showText(convert::kHintTitle, convert::kListHint); });
}

void addLinePrefixItems(MainWindow& window, QMenu* fit) {
    addItem(window, fit, "BrVorJederZeile1", "<br> vor jeder Zeile (im Ausgewählten)", [&window] {
        QtEditorView view(*window.currentEditor());
        convert::rewriteSelectedLines(view, window.context().dialogs, convert::breakBeforeLines);
    });
    addItem(window, fit, "NbspVorJederZeile1", "&nbsp; vor jeder Zeile (im Ausgewählten)", [&window] {
        QtEditorView view(*window.currentEditor());
        convert::rewriteSelectedLines(view, window.context().dialogs, convert::spaceBeforeLines);
    });
}

}  // namespace pictra::ui
