// The "Galerie" group of `PopupMenu1`: the explorer's gallery commands for the
// folder of the picture being edited, so that a gallery can be made, checked and
// prepared for uploading without going back to the explorer's menu first.
#include <QMenu>

#include "PictureEditor.h"
#include "common/MenuCommands.h"
#include "pictures/PictureWindow.h"

namespace pictra::ui {

void PictureEditor::buildGalleryMenu(QMenu* gallery) {
    const struct {
        const char* name;
        const char* text;
        const char* explorerItem;
    } items[] = {
        {"GalerieAssistent1", "Assistent zum Programm \"Bildergalerie erzeugen\"", "Bildergalerie1"},
        {"GalerieLinksEntfernen1", "Entferne in Bildergalerien die Links auf Vergrößerungen", "LinksEntfernen1"},
        {"GalerieHochladen1", "Bildergalerie zum Hochladen vorbereiten (Umlaute und Leerzeichen umschreiben)",
         "Hochladen1"},
        {"GalerieHochladen2", "Bildergalerie zum Hochladen vorbereiten (Neu Durchnummerieren)", "Hochladen2"},
        {"GalerieUeberblick1", "Überblick über Bilder des Ordners ", "UeberblickBilder1"},
    };
    for (const auto& item : items) {
        const char* explorerItem = item.explorerItem;
        addMenuCommand(gallery, item.name, QString::fromUtf8(item.text), [this, explorerItem] {
            if (m_hooks.explorerPictureCommand)
                m_hooks.explorerPictureCommand(m_path, explorerItem);
        });
    }
}

}  // namespace pictra::ui
