#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace pictra::test {

namespace {
template <typename StepT>
StepT makeStepOf(std::string kind, std::string text) {
    StepT s;
    s.kind = std::move(kind);
    s.text = std::move(text);
    return s;
}
}  // namespace

ScriptedDialogs::Step ScriptedDialogs::makeStep(std::string kind, std::string text) {
    return makeStepOf<Step>(std::move(kind), std::move(text));
}

ScriptedDialogs::~ScriptedDialogs() {
    for (const auto& step : m_script) {
        ADD_FAILURE() << "scripted prompt never came: " << step.kind << " \"" << step.text << "\"";
    }
}

ScriptedDialogs& ScriptedDialogs::expectInform(const std::string& text) {
    m_script.push_back(makeStep("inform", text));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectAsk(const std::string& question, Answer answer) {
    Step s = makeStep("ask", question);
    s.answer = answer;
    m_script.push_back(s);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectAskNumber(const std::string& prompt, std::optional<long long> answer) {
    Step s = makeStep("askNumber", prompt);
    s.number = answer;
    m_script.push_back(s);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectAskText(const std::string& prompt, std::optional<std::string> answer) {
    Step s = makeStep("askText", prompt);
    s.value = std::move(answer);
    m_script.push_back(s);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectEditText(const std::string& title, const std::string& result) {
    Step s = makeStep("editText", title);
    s.value = result;
    m_script.push_back(s);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectConfirmText(const std::string& caption, bool ok,
                                                    std::optional<std::string> edited) {
    Step s = makeStep("confirmText", caption);
    s.answer = ok ? Answer::Yes : Answer::No;
    s.value = std::move(edited);
    m_script.push_back(s);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectShowText(const std::string& title) {
    m_script.push_back(makeStep("showText", title));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectOpenFile(std::optional<std::string> path) {
    Step s = makeStep("chooseOpenFile", "");
    s.value = std::move(path);
    m_script.push_back(s);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectSaveFile(std::optional<std::string> path) {
    Step s = makeStep("chooseSaveFile", "");
    s.value = std::move(path);
    m_script.push_back(s);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectFolder(std::optional<std::string> path) {
    Step s = makeStep("chooseFolder", "");
    s.value = std::move(path);
    m_script.push_back(s);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectFont(std::optional<FontSpec> font) {
    Step s = makeStep("chooseFont", "");
    s.font = std::move(font);
    m_script.push_back(s);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectColour(std::optional<std::uint32_t> colour) {
    Step s = makeStep("chooseColour", "");
    s.colour = colour;
    m_script.push_back(s);
    return *this;
}

const ScriptedDialogs::Step* ScriptedDialogs::next(const std::string& kind, const std::string& text) {
    m_log.push_back({kind, text});
    if (m_script.empty()) {
        ADD_FAILURE() << "unexpected prompt nobody answered: " << kind << " \"" << text << "\"";
        return nullptr;
    }
    const Step& step = m_script.front();
    if (step.kind != kind || (!step.text.empty() && step.text != text)) {
        ADD_FAILURE() << "prompt " << kind << " \"" << text << "\" came where the script has " << step.kind
                      << " \"" << step.text << "\"";
        m_script.pop_front();
        return nullptr;
    }
    m_current = step;
    m_script.pop_front();
    return &m_current;
}

void ScriptedDialogs::inform(const std::string& text) { next("inform", text); }

Answer ScriptedDialogs::ask(const std::string& question) {
    const Step* step = next("ask", question);
    if (!step) return Answer::No;
    if (step->answer == Answer::Cancel && !cancelMode()) {
        ADD_FAILURE() << "Cancel scripted for \"" << question << "\", which only offers Yes and No";
        return Answer::No;
    }
    return step->answer;
}

bool ScriptedDialogs::askNumber(const std::string&, const std::string& prompt, long long& number) {
    const Step* step = next("askNumber", prompt);
    if (!step || !step->number) return false;
    number = *step->number;
    return true;
}

std::optional<std::string> ScriptedDialogs::askText(const std::string&, const std::string& prompt,
                                                    const std::string&) {
    const Step* step = next("askText", prompt);
    return step ? step->value : std::nullopt;
}

std::string ScriptedDialogs::editText(const std::string& title, const std::string& text) {
    m_shownTexts.push_back(text);
    const Step* step = next("editText", title);
    return step && step->value ? *step->value : std::string(kCancelMarker);
}

bool ScriptedDialogs::confirmText(const std::string& caption, const std::string& upper, const std::string& lower) {
    m_shownTexts.push_back(upper + "\n----\n" + lower);
    const Step* step = next("confirmText", caption);
    return step && step->answer == Answer::Yes;
}

bool ScriptedDialogs::confirmTextEdited(const std::string& caption, const std::string& upper, const std::string& lower,
                                        std::string& edited) {
    m_shownTexts.push_back(upper + "\n----\n" + lower);
    const Step* step = next("confirmText", caption);
    edited = step && step->value ? *step->value : lower;
    return step && step->answer == Answer::Yes;
}

void ScriptedDialogs::showText(const std::string& title, const std::string& text) {
    m_shownTexts.push_back(text);
    next("showText", title);
}

std::optional<std::string> ScriptedDialogs::chooseOpenFile(const std::string& title, const std::string&) {
    const Step* step = next("chooseOpenFile", title);
    return step ? step->value : std::nullopt;
}

std::optional<std::string> ScriptedDialogs::chooseSaveFile(const std::string& title, const std::string&) {
    const Step* step = next("chooseSaveFile", title);
    return step ? step->value : std::nullopt;
}

std::optional<std::string> ScriptedDialogs::chooseFolder(const std::string& title, const std::string&) {
    const Step* step = next("chooseFolder", title);
    return step ? step->value : std::nullopt;
}

std::optional<FontSpec> ScriptedDialogs::chooseFont(const FontSpec&) {
    const Step* step = next("chooseFont", "");
    return step ? step->font : std::nullopt;
}

std::optional<std::uint32_t> ScriptedDialogs::chooseColour(std::uint32_t) {
    const Step* step = next("chooseColour", "");
    return step ? step->colour : std::nullopt;
}

void ScriptedDialogs::beginCancelWindow(const std::string&) {
    m_cancelVisible = true;
    m_cancelRequested = false;
    m_cancelSteps = 0;
}

bool ScriptedDialogs::stepCancelWindow(const std::string&) {
    ++m_cancelSteps;
    return m_cancelRequested || (m_cancelAtStep > 0 && m_cancelSteps >= m_cancelAtStep);
}

void ScriptedDialogs::endCancelWindow() { m_cancelVisible = false; }

}  // namespace pictra::test
