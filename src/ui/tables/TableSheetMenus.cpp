// The menus of the table sheet and the commands behind them.
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTableView>
#include <QLineEdit>
#include <QPushButton>
#include <QButtonGroup>

#include "RecordWindow.h"
#include "common/MenuCommands.h"
#include "SheetModel.h"
#include "TableSheetWindow.h"
#include "common/Codec.h"
#include "common/FileIo.h"
#include "common/Text.h"
#include "common/TextFiles.h"
#include "common/UiText.h"
#include "platform/Desktop.h"
#include "tables/SheetComputing.h"
#include "tables/SheetDocument.h"
#include "tables/SheetFields.h"
#include "tables/SheetPrint.h"

namespace pictra::ui {

namespace {

// A text file as Windows-1252 lines, whichever of the two encodings it was written in.
std::optional<std::vector<std::string>> readCp1252Lines(const std::string& path) {
    const auto utf8 = textfiles::readText(path);
    if (!utf8) return std::nullopt;
    return text::splitLines(codec::utf8ToCp1252(*utf8));
}

}  // namespace

void TableSheetWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu("&Datei");
    file->setObjectName("Datei1");
    addMenuCommand(file, "Uebernehmen1", "Änderungen übernehmen [*-Darstellung]", [this] { writeBack(1); });
    addMenuCommand(file, "UebernehmenOhne1", "Änderungen übernehmen (ohne Leerstelle)", [this] { writeBack(0); });
    addMenuCommand(file, "Allesspeichern1", "Alles speichern", [this] { saveAll(); });
    addMenuCommand(file, "Abbrechen1", "Abbrechen", [this] { abandon(); });
    buildExchangeMenu();
    buildComputeMenu();
    QMenu* order = menuBar()->addMenu("&Ordnen");
    order->setObjectName("Ordnen1");
    const struct {
        const char* name;
        const char* text;
        bool numeric, descending;
    } sorts[] = {{"AlphabetischAuf1", "Alphabetisch ordnen <", false, false},
                 {"NumerischAuf1", "Numerisch Ordnen <", true, false},
                 {"AlphabetischAb1", "Alphabetisch ordnen >", false, true},
                 {"NumerischAb1", "Numerisch ordnen >", true, true}};
    for (const auto& s : sorts) {
        addMenuCommand(order, s.name, s.text, [this, numeric = s.numeric, descending = s.descending] {
            auto c = context();
            if (tables::sortRecords(c, numeric, descending)) sheetChanged();
        });
    }
    buildFieldMenu();
    buildPrintMenu();
    QMenu* options = menuBar()->addMenu("O&ptionen");
    options->setObjectName("Optionen1");
    m_enterDown = addMenuCommand(options, "EingabetasteUnten1", "Eingabetaste = Bewegung nach unten statt nach rechts", [] {});
    m_editHeader = addMenuCommand(options, "KopfzeileBearbeiten1", "Kopfzeile bearbeiten ermöglichen", [] {});
    m_editBorder = addMenuCommand(options, "RandspalteBearbeiten1", "Randspalte bearbeiten ermöglichen", [] {});
    for (QAction* a : {m_enterDown, m_editHeader, m_editBorder}) a->setCheckable(true);
}

void TableSheetWindow::buildComputeMenu() {
    QMenu* compute = menuBar()->addMenu("&Berechnen");
    compute->setObjectName("Berechnen1");
    addMenuCommand(compute, "SummenBerechnen1", "Summen berechnen ermöglichen", [this] {
        m_compute->setText("Berechne Summen");
        showPanel(m_sumPanel, true);
    });
    addMenuCommand(compute, "DurchschnittBerechnen1", "Durchschnitt berechnen ermöglichen", [this] {
        m_compute->setText("Berechne Durchschnitte");
        showPanel(m_sumPanel, true);
    });
    addMenuCommand(compute, "NotenBerechnen1", "Noten berechnen ermöglichen", [this] { showPanel(m_gradePanel, true); });
    QMenu* table = compute->addMenu("Notentabelle");
    table->setObjectName("Notentabelle1");
    const char* schemes[] = {"Note ab Kl.5", "Note Kursstufe", "Note nach Formel"};
    for (int i = 0; i < 3; ++i) {
        addMenuCommand(table, QString("Notentabelle%1").arg(i + 2).toUtf8().constData(), schemes[i], [this, i] { showGradeTable(i); });
    }
    addMenuCommand(compute, "HinweisNoten1", "Hinweis zur Berechnung der Notentabelle",
        [this] { m_dialogs.showText("Notenberechnung", tables::gradeExplanation()); });
    addMenuCommand(compute, "Rechenausdruck1", "Rechenausdruck", [this] {
        showPanel(m_formulaPanel, true);
        m_rowFormula->setFocus();
    });
    compute->addSeparator();
    addMenuCommand(compute, "SpalteSumme1", "Von einer Spalte die Summe berechnen", [this] {
        auto c = context();
        tables::oneColumnStatistics(c, tables::ColumnResult::Sum, m_host.toClipboard);
    });
    addMenuCommand(compute, "SpalteDurchschnitt1", "Von einer Spalte den Durchschnitt berechnen", [this] {
        auto c = context();
        tables::oneColumnStatistics(c, tables::ColumnResult::Average, m_host.toClipboard);
    });
    addMenuCommand(compute, "AlleSpalten1", "Von allen Spalten Summe und Durchschnitte berechnen", [this] {
        auto c = context();
        tables::allColumnStatistics(c);
    });
}

void TableSheetWindow::buildFieldMenu() {
    QMenu* fields = menuBar()->addMenu("&Felder");
    fields->setObjectName("Felder1");
    addMenuCommand(fields, "ZweiFelder1", "Zwei Felder zusammenfassen", [this] {
        auto c = context();
        if (tables::joinTwoFields(c)) sheetChanged();
    });
    addMenuCommand(fields, "FeldLoeschen1", "Feld löschen", [this] {
        auto c = context();
        if (tables::deleteField(c)) sheetChanged();
    });
    addMenuCommand(fields, "NamenZusammen1", "Feld 1 (Namen) und Feld 2 (Vornamen) zusammenfassen", [this] { joinNames(); });
    addMenuCommand(fields, "NamenAufteilen1", "Feld 1 in zwei Felder (Namen und Vornamen getrennt) aufteilen",
        [this] { splitNameField(); });
    addMenuCommand(fields, "Leerzeichen1", "Leerzeichen entfernen", [this] {
        tables::trimCells(m_sheet);
        sheetChanged();
    });
    addMenuCommand(fields, "NeueSpalte1", "Neue Spalte hinzufuegen", [this] {
        const int before = m_sheet.columns();
        m_sheet.setColumns(before + 5);
        sheetChanged();
        for (int c = before; c < before + 5; ++c) m_grid->setColumnWidth(c, 100);
    });
    addMenuCommand(fields, "NeueZeilen1", "Neue Zeilen hinzufügen (Taste nach unten)", [this] {
        m_sheet.addRecords(100);
        sheetChanged();
    });
    addMenuCommand(fields, "VertauschenZeilen1", "Vertauschen von Zeilen", [this] { swapHint(true); });
    addMenuCommand(fields, "VertauschenSpalten1", "Vertauschen von Spalten", [this] { swapHint(false); });
    addMenuCommand(fields, "Datensaetze1", "Datensätze ausführlich", [this] { showRecords(); });
    fields->addSeparator();
    addMenuCommand(fields, "ZweiteTabelleOeffnen1", "Zweite Tabelle öffnen ...", [this] { openSecondTable(); });
    addMenuCommand(fields, "FeldVonZweiter1", "Feld von zweiter Tabelle in die erste übertragen", [this] {
        auto c = context();
        const bool visible = m_splitter->sizes().value(1) > 20;
        if (tables::copyFieldFromSecond(c, m_second, visible)) sheetChanged();
    });
    addMenuCommand(fields, "ZweiteAnhaengen1", "gesamte zweite Tabelle an die erste anhängen", [this] {
        tables::appendSecond(m_sheet, m_second);
        sheetChanged();
    });
}

void TableSheetWindow::buildExchangeMenu() {
    QMenu* exchange = menuBar()->addMenu("&Austausch");
    exchange->setObjectName("Austausch1");
    addMenuCommand(exchange, "BLZ1", "BLZ überprüfen", [this] { checkBankCodes(); });
    addMenuCommand(exchange, "ExcelDazuladen1", "Excel-Datei (mit tabs getrennt) dazuladen", [this] { importSeparated(); });
    addMenuCommand(exchange, "ExportExcelTab1", "Export Excel-Tab-Datei", [this] { exportSeparated(); });
    addMenuCommand(exchange, "ExportExcel1", "Export direkt nach Excel", [this] { exportToSpreadsheet(); });
}

void TableSheetWindow::buildPrintMenu() {
    QMenu* print = menuBar()->addMenu("D&rucken");
    print->setObjectName("Drucken1");
    addMenuCommand(print, "DruckVorbereiten1", "Tabelle zum Drucken vorbereiten", [this] { preparePrint(); });
    addMenuCommand(print, "DruckBrowser1", "Druck über Browser", [this] { printThroughBrowser(false); });
    addMenuCommand(print, "SchuelerDruck1", "Schülerausdruck über Browser", [this] { printThroughBrowser(true); });
    addMenuCommand(print, "SchnellNadel1", "Schnelldruck auf Nadeldrucker", [this] { quickPrint(true); });
    addMenuCommand(print, "SchnellTinte1", "Schnelldruck auf Tintenstrahldrucker", [this] { quickPrint(false); });
}

void TableSheetWindow::computeSums() {
    auto c = context();
    const bool sums = m_compute->text() == "Berechne Summen";
    if (tables::computeSumsOrAverages(c, u(m_from->text()), u(m_to->text()), u(m_in->text()), sums)) sheetChanged();
}

void TableSheetWindow::computeGrades() {
    auto c = context();
    const tables::GradeRequest request{u(m_points->text()), u(m_gradeField->text()), u(m_maximum->text()),
                                       u(m_formula->text()), std::max(0, m_scheme->checkedId())};
    if (tables::computeGrades(c, request)) sheetChanged();
}

void TableSheetWindow::computeRowFormula() {
    auto c = context();
    if (tables::applyRowFormula(c, toCp1252(m_rowFormula->text()))) sheetChanged();
}

void TableSheetWindow::showGradeTable(int scheme) {
    const double maximum = static_cast<double>(text::toIntDef(u(m_maximum->text()), scheme == 1 ? 60 : 24));
    const std::string own = m_store.readValue(m_section, "Formel");
    m_dialogs.showText("Notentabelle", tables::gradeTable(scheme, maximum, own.empty() ? "7 - 6*p/max" : own));
}

void TableSheetWindow::joinNames() {
    if (m_dialogs.ask("Sind jetzt Name in Feld 1 und Vorname in Feld 2 getrennt. Stimmt das?") != Answer::Yes) return;
    tables::mergeNames(m_sheet);
    reopenAfterWriting();
}

void TableSheetWindow::splitNameField() {
    if (m_dialogs.ask("Sind jetzt Name und Vorname zusammen in Feld 1? Stimmt das?") != Answer::Yes) return;
    tables::splitNames(m_sheet);
    reopenAfterWriting();
}

void TableSheetWindow::swapHint(bool rows) {
    m_dialogs.inform(rows ? "Zeilen werden vertauscht, indem Sie die graue Nummer der Zeile am linken Rand mit der "
                            "Maus an die neue Stelle ziehen."
                          : "Spalten werden vertauscht, indem Sie die graue Feldnummer oben mit der Maus an die neue "
                            "Stelle ziehen.");
}

void TableSheetWindow::showRecords() {
    if (m_sheet.recordEnd() <= 1) return;
    RecordWindow window(m_sheet, this);
    window.exec();
    sheetChanged(window.changed());
}

void TableSheetWindow::openSecondTable() {
    const auto path = m_dialogs.chooseOpenFile("Zweite Tabelle öffnen", m_host.fileName());
    if (!path) return;
    const auto lines = readCp1252Lines(*path);
    if (!lines) {
        m_dialogs.inform("Die Datei \"" + *path + "\" kann nicht gelesen werden.");
        return;
    }
    if (lines->empty() || tables::classifySheetText(lines->front()) != tables::SheetOpening::Table) {
        m_dialogs.inform(tables::kMsgNotATable);
        return;
    }
    m_second.rows = tables::readStarTable(text::joinLines(*lines));
    m_secondModel->reload();
    m_splitter->setSizes({2 * height() / 3, height() / 3});
}

void TableSheetWindow::checkBankCodes() {
    const auto path = m_dialogs.chooseOpenFile("In welcher Datei stehen die BLZ der Bundesbank?", m_host.fileName());
    if (!path) return;
    long long field = 1;
    if (!m_dialogs.askNumber("BLZ", "In welchem Feld stehen die BLZ?", field)) return;
    if (!m_sheet.validField(field)) {
        m_dialogs.inform("Feld nicht vorhanden!");
        return;
    }
    const auto lines = readCp1252Lines(*path);
    if (!lines) {
        m_dialogs.inform("Die Datei \"" + *path + "\" kann nicht gelesen werden.");
        return;
    }
    const auto missing = tables::missingCodes(m_sheet, static_cast<int>(field), text::joinLines(*lines));
    // One window for all codes rather than one message box each.
    if (!missing.empty()) {
        std::string report;
        for (const auto& code : missing) report += codec::cp1252ToUtf8(code) + " ist nicht drin\r";
        m_dialogs.showText("BLZ", report);
    }
    m_dialogs.inform("Alle überprüft");
}

void TableSheetWindow::importSeparated() {
    const auto path = m_dialogs.chooseOpenFile("Excel-Datei (mit tabs getrennt) dazuladen", m_host.fileName());
    if (!path) return;
    const auto lines = readCp1252Lines(*path);
    if (!lines) {
        m_dialogs.inform("Die Datei \"" + *path + "\" kann nicht gelesen werden.");
        return;
    }
    const auto fieldOne = m_dialogs.askText("Abbrechen = Kein Extra Feld 1", "In Feld 1 soll stehen?", "");
    std::optional<std::string> cp1252FieldOne;
    if (fieldOne) cp1252FieldOne = codec::utf8ToCp1252(*fieldOne);
    if (m_sheet.rows.empty()) m_sheet.setColumns(1);
    tables::appendSeparated(m_sheet, *lines, cp1252FieldOne);
    sheetChanged();
}

void TableSheetWindow::exportSeparated() {
    std::string suggestion = m_host.fileName();
    suggestion = suggestion.empty() ? "tabelle.txt" : suggestion + ".txt";
    const auto path = m_dialogs.chooseSaveFile("Export Excel-Tab-Datei", suggestion);
    if (!path) return;
    if (!textfiles::writeCp1252(*path, text::joinLines(tables::separatedLines(m_sheet, '\t', true)) + "\r\n")) {
        m_dialogs.inform("Kann \"" + *path + "\" nicht speichern.");
    }
}

void TableSheetWindow::exportToSpreadsheet() {
    if (!platform::associatedProgram("text/csv")) {
        m_dialogs.inform("Excel nicht installiert. Abbruch!");
        return;
    }
    const std::string path = u(QDir::tempPath()) + "/pictra-tabelle.csv";
    const std::string table = text::joinLines(tables::separatedLines(m_sheet, ';', true)) + "\r\n";
    // UTF-8 with its mark: spreadsheets then read umlauts without asking.
    if (!fileio::writeFileAtomic(path, "\xEF\xBB\xBF" + codec::cp1252ToUtf8(table)) ||
        !platform::openWithAssociated(path)) {
        m_dialogs.inform("Excel nicht installiert. Abbruch!");
    }
}

void TableSheetWindow::preparePrint() {
    tables::addPrintRow(m_sheet);
    sheetChanged();
    m_dialogs.inform(tables::printPreparedMessage());
}

void TableSheetWindow::printThroughBrowser(bool pupils) {
    std::string page;
    if (pupils) {
        long long perPage = 3;
        if (!m_dialogs.askNumber("Schülerausdruck", "Wieviel Schüler passen auf eine Seite", perPage)) return;
        const auto comment = m_dialogs.askText("Schülerausdruck", "Kommentar (Durchschnitt etc.) unten eingeben", "");
        if (!comment) return;
        page = tables::pupilPrintPage(m_sheet, static_cast<int>(std::clamp(perPage, 1LL, 1000LL)),
                                      codec::utf8ToCp1252(*comment));
    } else {
        page = tables::browserPrintPage(m_sheet);
    }
    const std::string path = m_host.previewFile();
    if (!fileio::writeFileAtomic(path, page)) {
        m_dialogs.inform("Kann \"" + path + "\" nicht speichern.");
        return;
    }
    m_host.showInBrowser(path);
}

void TableSheetWindow::quickPrint(bool needle) {
    RawPrinter& printer = m_host.printer();
    const auto name = printer.defaultPrinter();
    if (!name) {
        m_dialogs.inform(kMsgNoPrinter);
        return;
    }
    if (!printer.printRaw(*name, "Pictra Tabelle", tables::quickPrintJob(m_sheet, needle))) {
        m_dialogs.inform("Der Drucker \"" + *name + "\" hat den Auftrag nicht angenommen.");
    }
}

}  // namespace pictra::ui
