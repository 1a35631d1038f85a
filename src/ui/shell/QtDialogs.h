#pragma once

#include <QFont>
#include <QPointer>
#include <functional>
#include <memory>

#include "common/Dialogs.h"

class QWidget;

namespace pictra {
class Tones;
}

namespace pictra::ui {

class CancelWindow;
class TextWindow;

// The Dialogs port on Qt's message boxes and the program's own windows.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(Tones& tones);
    ~QtDialogs() override;

    // The main window: prompts belong to it when no other window of the program is
    // active. And the font of the text window.
    void setParentWindow(QWidget* parent) { m_parent = parent; }
    void setTextFont(std::function<QFont()> font) { m_textFont = std::move(font); }

    void inform(const std::string& text) override;
    Answer ask(const std::string& question) override;
    bool askNumber(const std::string& title, const std::string& prompt, long long& number) override;
    std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                       const std::string& value) override;
    std::string editText(const std::string& title, const std::string& text) override;
    void showText(const std::string& title, const std::string& text) override;
    bool confirmText(const std::string& caption, const std::string& upper, const std::string& lower) override;
    bool confirmTextEdited(const std::string& caption, const std::string& upper, const std::string& lower,
                           std::string& edited) override;
    std::optional<std::string> chooseOpenFile(const std::string& title, const std::string& folder) override;
    std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& path) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& folder) override;
    std::optional<FontSpec> chooseFont(const FontSpec& current) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t current) override;
    void beginCancelWindow(const std::string& text) override;
    bool stepCancelWindow(const std::string& text) override;
    void endCancelWindow() override;
    bool cancelWindowVisible() const override;
    void requestCancel() override;

    // The text window, created on first use and kept for the run.
    TextWindow* textWindow();
    bool hasTextWindow() const { return !m_textWindow.isNull(); }

    // The window a prompt asked now belongs to: the window the command came from.
    QWidget* origin() const;

private:
    class OriginScope;
    class InputWatch;
    bool runConfirmText(const std::string& caption, const std::string& upper, const std::string& lower,
                        std::string* edited);
    CancelWindow* cancelWindow();

    Tones& m_tones;
    QWidget* m_parent = nullptr;
    // The origin of the call under way, for the prompts it asks in turn.
    QPointer<QWidget> m_origin;
    // The window of the user's last key or mouse press.
    QPointer<QWidget> m_inputWindow;
    std::unique_ptr<InputWatch> m_inputWatch;
    // The window of the last call, while the next one finds no active window yet.
    QPointer<QWidget> m_lastOrigin;
    // The window whose long operation shows the cancel window.
    QPointer<QWidget> m_cancelOrigin;
    std::function<QFont()> m_textFont;
    QPointer<TextWindow> m_textWindow;
    QPointer<CancelWindow> m_cancelWindow;
};

}  // namespace pictra::ui
