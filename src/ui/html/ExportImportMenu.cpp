// "Bearbeiten" → "Export/Import": the small converters to and from other programs' formats.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>

#include "common/Codec.h"
#include "common/FileIo.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "html/TableConversionMenu.h"
#include "html/convert/TableCommands.h"
#include "html/exports/Exports.h"
#include "shell/DocumentFiles.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "shell/QtEditorView.h"
#include "tables/TableSheetWindow.h"

namespace pictra::ui {

namespace {

namespace exports = html::exports;

void timetable(MainWindow& window, exports::TimetableKey key) {
    Dialogs& dialogs = window.context().dialogs;
    dialogs.inform(exports::kTimetableFormat);
    const exports::Exported page = exports::timetablePage(QtEditorView(*window.currentEditor()).plainText(), key);
    if (!page.text) {
        dialogs.inform(page.message);
        return;
    }
    window.newDocument();
    QtEditorView(*window.currentEditor()).setText(*page.text);
    window.fullPreview();
}

void delphiExport(MainWindow& window) {
    Dialogs& dialogs = window.context().dialogs;
    dialogs.inform(exports::kDelphiIntro);
    const Answer fromFile = dialogs.ask(exports::kDelphiQuestion);
    std::string input;
    if (fromFile == Answer::Yes) {
        const auto path = dialogs.chooseOpenFile("Export für Delphi", pathnames::folderOf(window.currentFileName()));
        if (!path) return;
        // Read as it is: an RTF file is the usual case, and its bytes are what the literal must hold.
        const auto raw = fileio::readFile(*path);
        if (!raw) {
            dialogs.inform("Die Datei \"" + *path + "\" kann nicht gelesen werden.");
            return;
        }
        input = *raw;
        window.newDocumentUnlessEmpty();
        QtEditorView(*window.currentEditor()).setText(input);
        dialogs.showText("Export für Delphi", codec::cp1252ToUtf8(input));
    } else if (fromFile == Answer::No) {
        QtEditorView view(*window.currentEditor());
        if (view.selectionLength() == 0) {
            dialogs.inform(exports::kDelphiNothingSelected);
            return;
        }
        input = view.selectedText();
    } else {
        return;
    }
    QApplication::clipboard()->setText(fromCp1252(exports::delphiSource(input)));
    dialogs.inform(exports::kDelphiDone);
}

void mailFilter(MainWindow& window) {
    window.files().save();
    QtEditorView view(*window.currentEditor());
    view.setText(exports::mailAddresses(view.lines()));
    const std::string name = window.currentFileName();
    // A later save must not overwrite the source file.
    if (name != "?" && !name.empty()) window.setCurrentFileName(name + "0");
    window.refreshCaption();
}

void importSpreadsheet(MainWindow& window) {
    window.newDocumentUnlessEmpty();
    TableSheetWindow* sheet = window.tableSheet();
    sheet->openEmpty();
    if (auto* load = sheet->findChild<QAction*>("ExcelDazuladen1")) load->trigger();
}

void tableFromClipboard(MainWindow& window) {
    const exports::Exported table =
        exports::starTableFromTabs(toCp1252Referenced(QApplication::clipboard()->text()));
    if (!table.text) {
        window.context().dialogs.inform(table.message);
        return;
    }
    QtEditorView(*window.currentEditor()).replaceSelection(*table.text);
}

}  // namespace

void addExportImportMenu(MainWindow& window, QMenu* edit) {
    QMenu* menu = edit->addMenu("Export/Import");
    menu->setObjectName("ExportImport1");
    addItem(window, menu, "ExportDelphi1", "Export für Delphi", [&window] { delphiExport(window); });
    addItem(window, menu, "WikiTabelle1", "Wikipediatabelle: Im Ausgewählten   \"|-\" etc.",
            [&window] { wikiTableFromSelection(window); });
    addItem(window, menu, "WikiSpalte1", "Wikipediatabelle (An Cursor \"|\")", [&window] {
        QtEditorView view(*window.currentEditor());
        html::convert::insertWikiColumnAtCaret(view);
    });
    QMenu* untis = menu->addMenu("Export Stundenplan aus Untis");
    untis->setObjectName("StundenplanUntis1");
    addItem(window, untis, "StundenplanLehrer1", "Lehrer",
            [&window] { timetable(window, exports::TimetableKey::Teachers); });
    addItem(window, untis, "StundenplanKlassen1", "Klassen",
            [&window] { timetable(window, exports::TimetableKey::Classes); });
    addItem(window, untis, "StundenplanRaeume1", "Räume", [&window] { timetable(window, exports::TimetableKey::Rooms); });
    QMenu* excel = menu->addMenu("Import Excel");
    excel->setObjectName("ImportExcel1");
    addItem(window, excel, "ImportExcelTab1", "Import Excel Trennzeichen Tab", [&window] { importSpreadsheet(window); });
    addItem(window, excel, "ImportExcelSemikolon1", "Import Excel Trennzeichen ;",
            [&window] { importSpreadsheet(window); });
    addItem(window, menu, "TelefonbuchSortieren1", "Telefonbuch nach Nummern sortieren", [&window] {
        QtEditorView view(*window.currentEditor());
        view.setLines(exports::phoneBookLines(view.lines()));
    });
    addItem(window, menu, "EMailFiltern1", "E-Mail-Adressen herausfiltern", [&window] { mailFilter(window); });
    addItem(window, menu, "CsvInHtml1", "CSV-Datei (Trennzeichen:\";\") in HTML-Datei umwandeln",
            [&window] { csvToHtmlPage(window); });
    addItem(window, menu, "TabelleAusZwischenablage1", "Tabelle aus Zwischenablage einfügen",
            [&window] { tableFromClipboard(window); });
}

}  // namespace pictra::ui
