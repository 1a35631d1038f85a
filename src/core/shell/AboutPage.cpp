#include "AboutPage.h"

namespace pictra {

std::string aboutPage(const std::string& version) {
    return R"(<!DOCTYPE html>
<html lang="de"><head><meta charset="utf-8"><title>Über Pictra</title>
<style>body{font-family:sans-serif;margin:2em;max-width:50em;line-height:1.4}h1{color:#205080}</style>
</head><body>
<h1>Pictra</h1>
<p>Version )" + version + R"(</p>
<p>Pictra ist ein Programm für Lehrerinnen, Lehrer und alle, die Texte, HTML-Seiten und Bilder selbst
bearbeiten. Alles Wichtige steckt in einem Programm:</p>
<ul>
<li><b>Texteditor</b> für beliebig viele Dateien zugleich, jede in einem eigenen Reiter, mit vielen
Werkzeugen für Zeilen, Blöcke, Sortieren und Suchen.</li>
<li><b>HTML-Werkzeuge</b>: Umlaute und Sonderzeichen umwandeln, Tabellen und Listen erzeugen, Seiten prüfen
und sofort im Browser ansehen.</li>
<li><b>Dateienexplorer</b> mit eigenem Papierkorb: gelöschte Dateien bleiben zehn Tage lang erhalten.</li>
<li><b>Bilder</b> zeigen, zuschneiden, drehen, verkleinern, mit Filtern bearbeiten und als Galerie ins Netz
stellen.</li>
<li><b>Rechnen im Text</b>: Zahlen und Ausdrücke direkt im Text zusammenzählen und ausrechnen.</li>
<li><b>Tabellenblatt</b> für Notenlisten mit Summen, Durchschnitten und Noten.</li>
</ul>
<p>Vor jedem Speichern legt Pictra eine Sicherungskopie der alten Datei im Ordner
„papierkorb“ an; auf Wunsch wird jede gespeicherte Datei zusätzlich auf einen zweiten Datenträger kopiert.</p>
</body></html>
)";
}

}  // namespace pictra
