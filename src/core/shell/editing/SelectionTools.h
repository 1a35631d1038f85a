#pragma once

#include <string>

#include "common/Dialogs.h"
#include "settings/SettingsStore.h"
#include "shell/EditorView.h"

// "Zwischenablage, Ausgewähltes ..." (Ctrl+A): one key chooses a tool for the
// selection or the clipboard.
namespace pictra::selectiontools {

// The services of the desktop the tools hand text to.
class Services {
public:
    virtual ~Services() = default;
    virtual std::string clipboardText() = 0;  // Windows-1252
    virtual void setClipboardText(const std::string& text) = 0;
    virtual void print(const std::string& text) = 0;
    virtual void spellCheck(const std::string& text) = 0;
    virtual void tableConversion(bool toHtml) = 0;
};

// The tools in the order of the window, one line each ("a  ganzen Text auswählen").
const char* const* toolLines();

// Runs the tool of a normalised key; false for a key without a tool.
bool runTool(char key, EditorView& view, Dialogs& dialogs, SettingsStore& store, Services& services);

// The clipboard text for "v": lines wrapped at 80, tabs as blanks, "&shy;" gone.
std::string preparedClipboard(const std::string& text);

}  // namespace pictra::selectiontools
