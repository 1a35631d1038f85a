#pragma once

// Dialogs for benchmark tools that run without a user: every question is
// declined, every choice cancelled and every message goes to standard error.
// A tool overrides only the answers its job needs.
#include <cstdio>

#include "common/Dialogs.h"

namespace pictra::bench {

class QuietDialogs : public Dialogs {
public:
    void inform(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    Answer ask(const std::string&) override { return Answer::No; }
    bool askNumber(const std::string&, const std::string&, long long&) override { return false; }
    std::optional<std::string> askText(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::string editText(const std::string&, const std::string&) override { return kCancelMarker; }
    void showText(const std::string&, const std::string&) override {}
    bool confirmText(const std::string&, const std::string&, const std::string&) override { return false; }
    std::optional<std::string> chooseOpenFile(const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> chooseSaveFile(const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return {}; }
    std::optional<FontSpec> chooseFont(const FontSpec&) override { return {}; }
    std::optional<std::uint32_t> chooseColour(std::uint32_t) override { return {}; }
    void beginCancelWindow(const std::string&) override { m_cancelWindow = true; }
    bool stepCancelWindow(const std::string&) override { return false; }
    void endCancelWindow() override { m_cancelWindow = false; }
    bool cancelWindowVisible() const override { return m_cancelWindow; }
    void requestCancel() override {}

private:
    bool m_cancelWindow = false;
};

}  // namespace pictra::bench
