#pragma once

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <functional>

namespace pictra::ui {

// A menu entry named for the tests, running one command.
inline QAction* addMenuCommand(QMenu* menu, const char* name, const QString& text, std::function<void()> command,
                               const QKeySequence& key = {}) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    if (!key.isEmpty()) action->setShortcut(key);
    QObject::connect(action, &QAction::triggered, menu, [command = std::move(command)] { command(); });
    return action;
}

// The text a menu entry shows: its Alt mnemonic mark "&" dropped, "&&" back to "&".
inline QString shownMenuText(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

}  // namespace pictra::ui
