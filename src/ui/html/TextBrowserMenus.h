#pragma once

class QMenu;

namespace pictra::ui {

class MainWindow;
class PlainEditor;
class TextBrowserWindow;

// The "Text und Browser" window of the main window (made on first use).
TextBrowserWindow& textBrowserWindow(MainWindow& window);
// "Halb Text halb Browser" (Ctrl+F5) and "Nur Ausgewähltes halb als Text halb im Browser".
void addTextBrowserCommands(MainWindow& window, QMenu* browserMenu);
// "Bausteine einfügen", "Hinweis dazu" and the picture and link commands of the "HTML" menu.
void addHtmlInsertCommands(MainWindow& window, QMenu* htmlMenu);
// Picture files dropped on a document's editor become the element "Bild einfügen" makes.
void acceptPictureDrops(MainWindow& window, PlainEditor& editor);

}  // namespace pictra::ui
