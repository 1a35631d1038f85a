// `PopupMenu1` of the picture editor: its twelve groups, also shown as the menu
// line ("Menüzeile aus(ein)blenden"). The keys are the actions' own shortcuts,
// added to the window so that they work with the menu closed.
#include <QMenu>
#include <QMenuBar>

#include "PictureEditor.h"
#include "common/MenuCommands.h"

namespace pictra::ui {

void PictureEditor::buildMenus() {
    m_menu = new QMenu(this);
    m_menu->setObjectName("PopupMenu1");
    const struct {
        const char* name;
        const char* text;
    } groups[] = {{"Bild1", "Bild"},           {"Groesse1", "Größe"},        {"Drehen1", "Drehen"},
                  {"Farbe1", "Farbe"},         {"Korrektur1", "Korrektur"},  {"Schneiden1", "Schneiden"},
                  {"Markierung1", "Markierung"}, {"Kurven1", "Kurven"},      {"Galerie1", "Galerie"},
                  {"Effekte1", "Effekte"},     {"Extras1", "Extras"},        {"Chronik1", "Chronik"}};
    QMenu* menus[12];
    for (int i = 0; i < 12; ++i) {
        menus[i] = m_menu->addMenu(groups[i].text);
        menus[i]->setObjectName(groups[i].name);
        m_menuBar->addMenu(menus[i]);
    }
    buildFileMenus(menus[0], menus[7], menus[10], menus[11]);
    buildCutMenus(menus[1], menus[2], menus[5], menus[6]);
    buildColourMenus(menus[3], menus[4], menus[9]);
    buildExtraMenus(menus[7], menus[5], menus[10]);
    buildGalleryMenu(menus[8]);
    m_chronicle = menus[11];
    QAction* line = addMenuCommand(m_menu, "Menuezeile1", "Menüzeile aus(ein)blenden", [this] { toggleMenuLine(); },
                                   QKeySequence("Ctrl+X"));
    addAction(line);
    for (QMenu* menu : menus) addActions(menu->actions());
    for (QMenu* sub : m_menu->findChildren<QMenu*>()) addActions(sub->actions());
}

}  // namespace pictra::ui
