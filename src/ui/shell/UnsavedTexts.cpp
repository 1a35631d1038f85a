#include "UnsavedTexts.h"

#include <QCoreApplication>

#include "DocumentArea.h"
#include "MainWindow.h"
#include "QtEditorView.h"
#include "common/Text.h"
#include "shell/EmergencyCopy.h"

namespace pictra::ui {

std::string emergencyCopyName(const ProgramPaths& paths) {
    return emergency::copyFileName(paths, QCoreApplication::applicationPid());
}

bool secureUnsavedTexts(MainWindow& window) {
    DocumentArea& documents = window.documents();
    std::vector<emergency::UnsavedText> texts;
    for (int i = 0; i < documents.count(); ++i) {
        if (!documents.isModified(i)) continue;
        const DocumentSlot& slot = documents.slot(i);
        texts.push_back({slot.fileName, text::joinLines(QtEditorView(*slot.editor).lines())});
    }
    AppContext& context = window.context();
    return emergency::secureUnsavedTexts(emergencyCopyName(context.paths), texts, context.dialogs);
}

void offerEmergencyRestore(MainWindow& window) {
    AppContext& context = window.context();
    const auto texts = emergency::offerRestore(context.paths, emergencyCopyName(context.paths), context.dialogs);
    for (const auto& t : texts) {
        window.newDocumentUnlessEmpty();
        // The name first: the text then marks the tab as modified, so closing asks to save it.
        window.setCurrentFileName(t.fileName);
        QtEditorView(*window.currentEditor()).setText(t.text);
        window.refreshCaption();
    }
}

}  // namespace pictra::ui
