#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The port through which core commands talk to the user. All texts are UTF-8;
// callers convert document text (Windows-1252) before they put it into a message.
namespace pictra {

enum class Answer { Yes, No, Cancel };

// Marker returned by the text window when the user chose "Abbrechen".
inline constexpr const char* kCancelMarker = "^°Abbruch8°^";

struct FontSpec {
    std::string name = "Courier New";
    int size = 12;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Information box with OK, preceded by the chime.
    virtual void inform(const std::string& text) = 0;

    // Yes/No; in the program-wide cancel mode Yes/No/Cancel. Outside that mode
    // the answer is never Cancel (closing the box counts as No).
    virtual Answer ask(const std::string& question) = 0;

    // Input box prefilled with the number; false when cancelled.
    virtual bool askNumber(const std::string& title, const std::string& prompt, long long& number) = 0;

    // Input box for a line of text; nullopt when cancelled.
    virtual std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                               const std::string& value) = 0;

    // Text window: returns the text, or kCancelMarker when the user cancelled.
    virtual std::string editText(const std::string& title, const std::string& text) = 0;
    virtual void showText(const std::string& title, const std::string& text) = 0;
    // Two texts, one above the other, with "OK" and "Abbrechen"; false when cancelled.
    virtual bool confirmText(const std::string& caption, const std::string& upper, const std::string& lower) = 0;
    // The same window with the lower text open for editing (`Form12Meldung`): on OK
    // `edited` receives the lower text as the user left it.
    virtual bool confirmTextEdited(const std::string& caption, const std::string& upper, const std::string& lower,
                                   std::string& edited) {
        edited = lower;
        return confirmText(caption, upper, lower);
    }

    // File, folder, font and colour choosers; nullopt when cancelled.
    virtual std::optional<std::string> chooseOpenFile(const std::string& title, const std::string& folder) = 0;
    virtual std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& path) = 0;
    virtual std::optional<std::string> chooseFolder(const std::string& title, const std::string& folder) = 0;
    virtual std::optional<FontSpec> chooseFont(const FontSpec& current) = 0;
    // Colours are Windows colour numbers: red in the low byte, blue in the high byte.
    virtual std::optional<std::uint32_t> chooseColour(std::uint32_t current) = 0;

    // The cancel window of long operations.
    virtual void beginCancelWindow(const std::string& text) = 0;
    // Shows a new text, keeps the windows responsive, reports a click on the window.
    virtual bool stepCancelWindow(const std::string& text) = 0;
    virtual void endCancelWindow() = 0;
    virtual bool cancelWindowVisible() const = 0;
    // Makes the next step of the cancel window report a click (the program is closing).
    virtual void requestCancel() = 0;

    bool cancelMode() const { return m_cancelMode; }
    void setCancelMode(bool on) { m_cancelMode = on; }

private:
    bool m_cancelMode = false;
};

// Turns `ask` into Yes/No/Cancel for the lifetime of the guard.
class CancelModeScope {
public:
    explicit CancelModeScope(Dialogs& dialogs) : m_dialogs(dialogs), m_previous(dialogs.cancelMode()) {
        m_dialogs.setCancelMode(true);
    }
    ~CancelModeScope() { m_dialogs.setCancelMode(m_previous); }
    CancelModeScope(const CancelModeScope&) = delete;
    CancelModeScope& operator=(const CancelModeScope&) = delete;

private:
    Dialogs& m_dialogs;
    bool m_previous;
};

}  // namespace pictra
