#include "CompareCommand.h"

#include <QPointer>

#include "CompareWindow.h"
#include "common/Dialogs.h"
#include "shell/DocumentArea.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "shell/QtEditorView.h"
#include "shell/Documents.h"
#include "tools/Tones.h"

namespace pictra::ui {

void compareCurrentDocument(MainWindow& window) {
    AppContext& context = window.context();
    PlainEditor* editor = window.currentEditor();
    if (!editor || !hasVisibleText(editor)) {
        context.dialogs.inform("Datei zuerst einlesen. Sie kann dann mit einer zweiten Datei, die nach Aufforderung "
                               "eingelesen wird, verglichen werden");
        return;
    }
    auto* compare = window.findChild<CompareWindow*>("Form16vergleich");
    if (!compare) compare = new CompareWindow(context.dialogs, context.tones, context.paths.binFolder(), &window);
    std::string fileName = window.documents().currentFileName();
    if (fileName == documents::kUnnamed) fileName.clear();
    // The left side goes back into the document it came from, even when another
    // tab is the current one by then.
    QPointer<PlainEditor> source(editor);
    compare->open(window.windowTitle(), QtEditorView(*editor).lines(), fileName,
                  [source, &context](const std::vector<std::string>& lines) {
                      if (!source) {
                          context.dialogs.inform("Die Datei ist nicht mehr geöffnet; die Änderungen wurden nicht "
                                                 "übernommen.");
                          return;
                      }
                      QtEditorView(*source).setLines(lines);
                  });
}

}  // namespace pictra::ui
