#pragma once

#include <deque>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "tools/Tones.h"

namespace pictra::test {

// Dialogs answered from a script. Every prompt is recorded with its exact text;
// a prompt that does not match the next scripted one, or that nobody scripted,
// fails the test, and so does a scripted prompt that never came.
class ScriptedDialogs : public Dialogs {
public:
    struct Prompt {
        std::string kind;
        std::string text;
    };

    ~ScriptedDialogs() override;

    ScriptedDialogs& expectInform(const std::string& text);
    ScriptedDialogs& expectAsk(const std::string& question, Answer answer);
    ScriptedDialogs& expectAskNumber(const std::string& prompt, std::optional<long long> answer);
    ScriptedDialogs& expectAskText(const std::string& prompt, std::optional<std::string> answer);
    ScriptedDialogs& expectEditText(const std::string& title, const std::string& result);
    ScriptedDialogs& expectShowText(const std::string& title);
    // `edited`: the lower text as the user leaves it (confirmTextEdited); unchanged when absent.
    ScriptedDialogs& expectConfirmText(const std::string& caption, bool ok,
                                       std::optional<std::string> edited = std::nullopt);
    ScriptedDialogs& expectOpenFile(std::optional<std::string> path);
    ScriptedDialogs& expectSaveFile(std::optional<std::string> path);
    ScriptedDialogs& expectFolder(std::optional<std::string> path);
    ScriptedDialogs& expectFont(std::optional<FontSpec> font);
    ScriptedDialogs& expectColour(std::optional<std::uint32_t> colour);
    // stepCancelWindow reports a click from the n-th step on (counted from 1).
    void clickCancelAtStep(int step) { m_cancelAtStep = step; }

    const std::vector<Prompt>& log() const { return m_log; }
    // The texts given to editText/showText, in order.
    const std::vector<std::string>& shownTexts() const { return m_shownTexts; }
    bool scriptDone() const { return m_script.empty(); }
    int cancelSteps() const { return m_cancelSteps; }

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
    bool cancelWindowVisible() const override { return m_cancelVisible; }
    void requestCancel() override { m_cancelRequested = true; }
    bool cancelRequested() const { return m_cancelRequested; }

private:
    struct Step {
        std::string kind;
        std::string text;  // empty: any text
        Answer answer = Answer::No;
        std::optional<long long> number;
        std::optional<std::string> value;
        std::optional<FontSpec> font;
        std::optional<std::uint32_t> colour;
    };

    static Step makeStep(std::string kind, std::string text);
    // The next scripted step of this kind for this text; nullptr (and a failure) otherwise.
    const Step* next(const std::string& kind, const std::string& text);

    std::deque<Step> m_script;
    Step m_current;
    std::vector<Prompt> m_log;
    std::vector<std::string> m_shownTexts;
    bool m_cancelVisible = false;
    bool m_cancelRequested = false;
    int m_cancelSteps = 0;
    int m_cancelAtStep = 0;
};

// Sound that keeps what it was asked to play.
class RecordingSound : public Sound {
public:
    void play(std::vector<std::int16_t> samples) override { played.push_back(std::move(samples)); }
    std::vector<std::vector<std::int16_t>> played;
};

}  // namespace pictra::test
