#pragma once

#include <atomic>
#include <csignal>
#include <iostream>
#include <mutex>

#include "common/Dialogs.h"

// The dialogs of the batch commands on a command line: nobody is asked, every message
// goes to stderr, and the cancel window's click is SIGINT, SIGTERM or a closed stdout.
namespace pictra::batchtool {

// The signal that stops the run, 0 while it goes on.
inline std::atomic<int>& stopSignal() {
    static std::atomic<int> signal{0};
    return signal;
}

class CommandLineDialogs : public Dialogs {
public:
    // `subject`: the path messages without a path of their own are about.
    explicit CommandLineDialogs(std::string subject = {}) : m_subject(std::move(subject)) {}

    void inform(const std::string& text) override { report(text); }
    Answer ask(const std::string&) override { return Answer::No; }
    bool askNumber(const std::string&, const std::string&, long long&) override { return false; }
    // A gallery's headings: what the wizard proposes, as "Für alle übernehmen" does.
    std::optional<std::string> askText(const std::string&, const std::string&, const std::string& value) override {
        return value;
    }
    std::string editText(const std::string&, const std::string& text) override { return text; }
    void showText(const std::string& title, const std::string& text) override { report(title + "\r" + text); }
    bool confirmText(const std::string&, const std::string&, const std::string&) override { return true; }
    std::optional<std::string> chooseOpenFile(const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> chooseSaveFile(const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return {}; }
    std::optional<FontSpec> chooseFont(const FontSpec&) override { return {}; }
    std::optional<std::uint32_t> chooseColour(std::uint32_t) override { return {}; }
    void beginCancelWindow(const std::string&) override {}
    bool stepCancelWindow(const std::string&) override { return stopSignal().load() != 0; }
    void endCancelWindow() override {}
    bool cancelWindowVisible() const override { return false; }
    void requestCancel() override { stopSignal().store(SIGTERM); }

    bool reported() const { return m_reported; }

private:
    void report(const std::string& text) {
        std::string line = text;
        for (std::size_t i = 0; (i = line.find('\r', i)) != std::string::npos;) line.replace(i, 1, "\n  ");
        static std::mutex lock;
        const std::lock_guard<std::mutex> guard(lock);
        std::cerr << "pictra-batch: " << (m_subject.empty() ? "" : m_subject + ": ") << line << "\n" << std::flush;
        m_reported = true;
    }

    std::string m_subject;
    bool m_reported = false;
};

}  // namespace pictra::batchtool
